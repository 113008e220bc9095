#pragma once

#include <QList>
#include <QPointer>
#include <QStringList>
#include <QWidget>

// Base of every page of the main window. A page registers, once, a help and
// training text for itself and one for each control that help and training
// cover; it shows them as tooltips while context help is on, and frames the
// current control while the training window walks through them.
//
// A page is opened in two phases: the owner builds it, then calls Event_Open()
// once. Registration happens there, because the page's own virtual methods
// cannot be reached from the base constructor.
class classe_page : public QWidget {
    Q_OBJECT

public:
    explicit classe_page(QWidget* parent = nullptr);

    // Help and training text of each entry; entry 0 is the page itself.
    QStringList messages_formation;
    // The registered controls; entry 0 is null and stands for the page.
    QList<QPointer<QWidget>> controles_formation;
    // Index of the current training step (0 = the page).
    int stade_formation = 0;
    // Documentation page of each entry ("" = none).
    QStringList nom_documentation;
    // Whether the training frame is shown.
    bool affichage_formation = false;

    // Second phase of construction: registers the page's texts and controls,
    // sets the help tags, then runs the page's own Open. Runs once.
    void Event_Open();

    // Sets or clears the help tags from the context-help switch.
    virtual void maj_aide_contextuelle();

    // Moves the training step: "+" next, "-" previous, "=" show again, ""
    // back to the page with the frame off. Fills the training window.
    virtual void maj_formation(const QString& direction);

    // Registers one of the page's controls as the next training step.
    void ajout_controle_formation(QWidget* controle, const QString& message,
                                  const QString& documentation);

    // Colour of the training frame.
    static constexpr QRgb couleur_cadre = 0x780000;

protected:
    // The page's summary text and documentation page; both come in empty.
    virtual void formation_page(QString& message, QString& documentation);
    // Calls ajout_controle_formation for each covered control, in walking order.
    virtual void formation_controles();
    // The page's own opening work, after registration and help tags.
    virtual void Open();
    // The page's own drawing, under its controls and the training frame.
    virtual void Paint(QPainter& g);

    void Event_Paint(QPainter& g);
    void Event_DropObject();

    // Follows the hiding of the control of the current training step.
    bool eventFilter(QObject* objet, QEvent* evenement) override;
    void paintEvent(QPaintEvent* evenement) override;
    void dropEvent(QDropEvent* evenement) override;
    // Return and Enter that no control took press a button, as in a dialog:
    // the push button that has the focus, else the page's default button.
    void keyPressEvent(QKeyEvent* evenement) override;

private:
    bool ouverte = false;

    // Whether the control of training step `stade` shows on the page (the
    // page itself, step 0, always does).
    bool etape_montree(int stade) const;
    // The frame round the control of the current step, while training shows
    // it, in the page's coordinates: the part under the control's place, or
    // the part round it, which a layer above the page's controls draws.
    void dessine_cadre_formation(QPainter& g, bool sous_le_controle) const;
    // The arrows of the current step: 1 the page, 3 the last step, 2 between.
    int fleches_etape() const;
    // The control of the current step has hidden: the walk moves to the
    // nearest step whose control shows, the later one of two as near, and
    // to the page itself when no control shows.
    void controle_formation_cache();
};
