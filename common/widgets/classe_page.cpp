#include "classe_page.h"

#include "bibliotheque_divers.h"
#include "bibliotheque_v1.h"
#include "controles_texte.h"
#include "services_coquille.h"
#include "services_guidage.h"

#include <QAction>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>

namespace {

// The context-help switch: the checked state of the Help menu's item, read
// anew at each call.
bool aide_contextuelle_active() {
    const QAction* element = coquille::menu_aide_contextuelle();
    return element && element->isChecked();
}

// A button that a key may press now.
bool pressable(const QPushButton* bouton) {
    return bouton && bouton->isVisible() && bouton->isEnabled();
}

} // namespace

classe_page::classe_page(QWidget* parent) : QWidget(parent) {}

void classe_page::formation_page(QString&, QString&) {}
void classe_page::formation_controles() {}
void classe_page::Open() {}
void classe_page::Paint(QPainter&) {}

void classe_page::Event_Open() {
    if (ouverte)
        return;
    ouverte = true;
    QString message;
    QString documentation;
    formation_page(message, documentation);
    controles_formation.append(nullptr);
    messages_formation.append(message);
    nom_documentation.append(documentation);
    formation_controles();
    maj_aide_contextuelle();
    Open();
}

void classe_page::ajout_controle_formation(QWidget* controle, const QString& message,
                                           const QString& documentation) {
    controles_formation.append(controle);
    messages_formation.append(message);
    nom_documentation.append(documentation);
}

void classe_page::maj_aide_contextuelle() {
    if (messages_formation.isEmpty())
        return;
    const bool aide = aide_contextuelle_active();
    setToolTip(aide ? messages_formation.at(0) : QString());
    for (qsizetype i = 1; i < controles_formation.size(); ++i) {
        if (QWidget* controle = controles_formation.at(i))
            controle->setToolTip(aide ? messages_formation.at(i) : QString());
    }
}

void classe_page::maj_formation(const QString& direction) {
    if (messages_formation.isEmpty())
        return; // not opened yet: nothing to show
    const int dernier = static_cast<int>(controles_formation.size()) - 1;
    guidage::fenetre_formation* fenetre = guidage::w_formation();
    if (dernier < 1) {
        if (fenetre)
            fenetre->fleches = 0;
    } else {
        if (direction.isEmpty()) {
            stade_formation = 0;
            affichage_formation = false;
        } else {
            affichage_formation = true;
        }
        if (direction == u"+" && stade_formation < dernier)
            ++stade_formation;
        else if (direction == u"-" && stade_formation > 0)
            --stade_formation;
        // Skip the controls hidden since they were registered. Going up, the
        // last entry falls back to the page; going down, entry 0 stops.
        for (;;) {
            const QWidget* controle = controles_formation.at(stade_formation);
            if (stade_formation == 0 || (controle && !controle->isHidden()))
                break;
            if (stade_formation == dernier)
                stade_formation = 0;
            else if (direction == u"-")
                --stade_formation;
            else
                ++stade_formation;
        }
        if (fenetre)
            fenetre->fleches = stade_formation == 0 ? 1 : stade_formation == dernier ? 3 : 2;
    }
    if (fenetre) {
        fenetre->message = messages_formation.at(stade_formation);
        fenetre->nom_fichier_documentation = nom_documentation.at(stade_formation);
    }
    update();
}

void classe_page::Event_Paint(QPainter& g) {
    Paint(g);
    if (controles_formation.size() < 2 || !affichage_formation)
        return;
    const QWidget* controle = controles_formation.value(stade_formation);
    // Only a control inside the page has a place in its coordinates.
    if (!controle || !isAncestorOf(controle))
        return;
    bibliotheque_v1::dessine_cadre(g, bibliotheque_v1::cadre_controle(controle, this, 0),
                                   QColor::fromRgb(couleur_cadre));
}

void classe_page::Event_DropObject() {
    bibliotheque_v1::msgdebug(QStringLiteral("Drop object classe-page"));
}

void classe_page::paintEvent(QPaintEvent*) {
    QPainter g(this);
    Event_Paint(g);
}

void classe_page::dropEvent(QDropEvent*) {
    Event_DropObject();
}

void classe_page::keyPressEvent(QKeyEvent* evenement) {
    // A push button outside a dialog leaves Return to its page, and only the
    // keys that no control took come here: not those of an open popup, which
    // is a window of its own, nor those of a multi-line field.
    if (touche_action(*evenement, false)) {
        auto* bouton = qobject_cast<QPushButton*>(window()->focusWidget());
        if (!pressable(bouton) || !isAncestorOf(bouton)) {
            bouton = nullptr;
            for (QPushButton* candidat : findChildren<QPushButton*>()) {
                if (candidat->isDefault() && pressable(candidat)) {
                    bouton = candidat;
                    break;
                }
            }
        }
        if (bouton) {
            bouton->click();
            return;
        }
    }
    QWidget::keyPressEvent(evenement);
}
