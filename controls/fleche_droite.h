#pragma once

#include "controles_texte.h"

#include <QColor>
#include <QString>
#include <QWidget>

// A push control drawn as a solid arrow (a shaft and a triangular head) that
// fires `Action` the moment the mouse goes down on it while it is enabled, or
// Space or Return is pressed while it has the focus. Tab reaches it as it
// reaches a button, and a frame shows the focus that the keyboard brought.
// It points right unless `direction` is "left". Assistive technology reads it
// as a button named "Suivant", or "Précédent" when it points left, unless it
// is given an accessible name.
class fleche_droite : public QWidget {
    Q_OBJECT

public:
    explicit fleche_droite(QWidget* parent = nullptr);

    // "left" points the arrow left; any other text points it right.
    QString direction = QStringLiteral("right");
    // Fills the whole control under the arrow.
    QColor BackColor = QColor(0xFF, 0xFF, 0xFF);
    // Arrow colour while the control is enabled, and while it is disabled.
    QColor EnabledColor = QColor(0x00, 0x00, 0x00);
    QColor DisabledColor = QColor(0xBB, 0xBB, 0xBB);

    // The arrow's outline for a control of `largeur` x `hauteur`, in the
    // control's coordinates, tip first for "left", shaft's top-left corner first
    // otherwise.
    static QPolygon contour(const QString& direction, int largeur, int hauteur);

signals:
    void Action();
    void Open();

protected:
    void paintEvent(QPaintEvent* evenement) override;
    void enterEvent(QEnterEvent* evenement) override;
    void leaveEvent(QEvent* evenement) override;
    void mousePressEvent(QMouseEvent* evenement) override;
    void keyPressEvent(QKeyEvent* evenement) override;
    void focusInEvent(QFocusEvent* evenement) override;
    void focusOutEvent(QFocusEvent* evenement) override;
    void showEvent(QShowEvent* evenement) override;

    // The control's own opening work; raises `Open`.
    virtual void Event_Open();

private:
    bool ouverte = false;
    cadre_focus cadre;
};

// The same arrow pointing left.
class fleche_gauche : public fleche_droite {
    Q_OBJECT

public:
    explicit fleche_gauche(QWidget* parent = nullptr);

protected:
    // Turns the arrow left before the owner's Open handler sees it.
    void Event_Open() override;
};
