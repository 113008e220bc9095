#include "fleche_droite.h"

#include "accessibilite.h"
#include "bibliotheque_divers.h"
#include "controles_texte.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace {

// Read as a button named by where it leads; its press action raises Action
// while it is enabled.
QAccessibleInterface* fleche_accessible(QWidget* controle) {
    auto* fleche = static_cast<fleche_droite*>(controle);
    return new accessibilite::controle_peint(
        fleche, QAccessible::Button,
        [fleche] {
            return fleche->direction == QStringLiteral("left") ? QStringLiteral("Précédent")
                                                               : QStringLiteral("Suivant");
        },
        [fleche] { emit fleche->Action(); });
}

} // namespace

fleche_droite::fleche_droite(QWidget* parent) : QWidget(parent) {
    accessibilite::enregistre("fleche_droite", &fleche_accessible);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(static_cast<Qt::FocusPolicy>(style()->styleHint(QStyle::SH_Button_FocusPolicy)));
}

QPolygon fleche_droite::contour(const QString& direction, int largeur, int hauteur) {
    const int s = hauteur / 4;  // half the shaft's thickness
    const int hh = hauteur / 2; // half the head's height
    QPolygon figure;
    if (direction == QStringLiteral("left")) {
        const int L = static_cast<int>(hauteur / 1.5); // the head's length
        figure << QPoint(0, 0) << QPoint(L, -hh) << QPoint(L, -s) << QPoint(largeur, -s)
               << QPoint(largeur, s) << QPoint(L, s) << QPoint(L, hh);
    } else {
        const int X = static_cast<int>(largeur - hauteur / 1.5); // the head's base
        figure << QPoint(0, -s) << QPoint(X, -s) << QPoint(X, -hh) << QPoint(largeur, 0)
               << QPoint(X, hh) << QPoint(X, s) << QPoint(0, s);
    }
    // The arrow's axis is the control's horizontal middle line.
    figure.translate(0, hh);
    return figure;
}

void fleche_droite::paintEvent(QPaintEvent*) {
    QPainter g(this);
    g.fillRect(rect(), BackColor);
    const QColor couleur = isEnabled() ? EnabledColor : DisabledColor;
    setCursor(isEnabled() ? Qt::PointingHandCursor : Qt::ArrowCursor);
    g.setPen(QPen(couleur, 1));
    g.setBrush(couleur);
    g.drawPolygon(contour(direction, width(), height()));
    cadre.dessine(g, *this, rect().adjusted(1, 1, -1, -1));
}

void fleche_droite::keyPressEvent(QKeyEvent* evenement) {
    if (!touche_action(*evenement, true)) {
        QWidget::keyPressEvent(evenement);
        return;
    }
    // Acts at once, as the mouse press does; a key held down steps once.
    evenement->accept();
    if (isEnabled() && !evenement->isAutoRepeat())
        emit Action();
}

void fleche_droite::focusInEvent(QFocusEvent* evenement) {
    cadre.entree(*evenement);
    QWidget::focusInEvent(evenement);
    update();
}

void fleche_droite::focusOutEvent(QFocusEvent* evenement) {
    QWidget::focusOutEvent(evenement);
    update();
}

void fleche_droite::enterEvent(QEnterEvent*) {
    setCursor(isEnabled() ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void fleche_droite::leaveEvent(QEvent*) {
    setCursor(Qt::ArrowCursor);
}

void fleche_droite::mousePressEvent(QMouseEvent* evenement) {
    // The press is taken here and nothing follows it: no drag, no release.
    evenement->accept();
    if (!isEnabled())
        return;
    setCursor(Qt::BlankCursor);
    emit Action();
    // A short pause after the action, so that one press steps once.
    bibliotheque_v1::tempo_secondes(0.1);
    setCursor(Qt::PointingHandCursor);
}

void fleche_droite::showEvent(QShowEvent*) {
    if (ouverte)
        return;
    ouverte = true;
    Event_Open();
}

void fleche_droite::Event_Open() {
    emit Open();
}

fleche_gauche::fleche_gauche(QWidget* parent) : fleche_droite(parent) {
    direction = QStringLiteral("left");
}

void fleche_gauche::Event_Open() {
    direction = QStringLiteral("left");
    emit Open();
}
