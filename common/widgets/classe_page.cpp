#include "classe_page.h"

#include "accessibilite.h"
#include "bibliotheque_divers.h"
#include "bibliotheque_v1.h"
#include "controles_texte.h"
#include "services_coquille.h"
#include "services_guidage.h"

#include <QAction>
#include <QEvent>
#include <QFocusFrame>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegion>
#include <QTransform>

#include <functional>
#include <utility>

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

// A layer over the whole of its page and above the page's controls, where the
// page draws what must show over them: no control, nor a group box whose
// style fills its panel, hides it. Qt's focus frame is such a layer: it lets
// the mouse through, never takes the focus, and assistive technology leaves
// it out of the page's children.
class calque_page : public QFocusFrame {
public:
    calque_page(QWidget* page, std::function<void(QPainter&)> dessin)
        : QFocusFrame(page), dessin_(std::move(dessin)) {
        setObjectName(QStringLiteral("calque_formation"));
        setAcceptDrops(false);
        setGeometry(page->rect());
        page->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override {
        if (objet == parentWidget()) {
            if (evenement->type() == QEvent::Resize)
                setGeometry(parentWidget()->rect());
            else if (evenement->type() == QEvent::ChildAdded)
                raise(); // above every control, those made after it too
        }
        return QFocusFrame::eventFilter(objet, evenement);
    }

    void paintEvent(QPaintEvent*) override {
        QPainter g(this);
        dessin_(g);
    }

private:
    std::function<void(QPainter&)> dessin_;
};

} // namespace

classe_page::classe_page(QWidget* parent) : QWidget(parent) {
    new calque_page(this, [this](QPainter& g) { dessine_cadre_formation(g, false); });
}

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
    if (controle)
        controle->installEventFilter(this);
}

void classe_page::maj_aide_contextuelle() {
    if (messages_formation.isEmpty())
        return;
    const bool aide = aide_contextuelle_active();
    // A tooltip breaks its lines only at LF, and a screen reader reads it as
    // the control's description: the texts' CR line ends become LF there.
    const auto bulle = [&](qsizetype i) {
        return aide ? accessibilite::texte_annonce(messages_formation.at(i)) : QString();
    };
    setToolTip(bulle(0));
    for (qsizetype i = 1; i < controles_formation.size(); ++i) {
        if (QWidget* controle = controles_formation.at(i))
            controle->setToolTip(bulle(i));
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
            if (etape_montree(stade_formation))
                break;
            if (stade_formation == dernier)
                stade_formation = 0;
            else if (direction == u"-")
                --stade_formation;
            else
                ++stade_formation;
        }
        if (fenetre)
            fenetre->fleches = fleches_etape();
    }
    if (fenetre) {
        fenetre->message = messages_formation.at(stade_formation);
        fenetre->nom_fichier_documentation = nom_documentation.at(stade_formation);
    }
    update();
}

bool classe_page::etape_montree(int stade) const {
    const QWidget* controle = controles_formation.value(stade);
    return stade == 0 || (controle && !controle->isHidden());
}

int classe_page::fleches_etape() const {
    const int dernier = static_cast<int>(controles_formation.size()) - 1;
    return stade_formation == 0 ? 1 : stade_formation == dernier ? 3 : 2;
}

void classe_page::controle_formation_cache() {
    const int dernier = static_cast<int>(controles_formation.size()) - 1;
    int stade = 0;
    for (int ecart = 1; ecart <= dernier; ++ecart) {
        if (stade_formation + ecart <= dernier && etape_montree(stade_formation + ecart)) {
            stade = stade_formation + ecart;
            break;
        }
        if (stade_formation - ecart >= 1 && etape_montree(stade_formation - ecart)) {
            stade = stade_formation - ecart;
            break;
        }
    }
    stade_formation = stade;
    update();
    // The training window shows the steps of the screen in front only.
    coquille::fenetre_principale* principale = coquille::w_main();
    const classe_page* ecran =
        principale ? principale->page(principale->contenu_courant()) : nullptr;
    const bool devant = ecran ? ecran == this : isVisible();
    guidage::fenetre_formation* fenetre = guidage::w_formation();
    if (!devant || !fenetre)
        return;
    fenetre->fleches = fleches_etape();
    fenetre->message = messages_formation.at(stade_formation);
    fenetre->nom_fichier_documentation = nom_documentation.at(stade_formation);
    fenetre->maj_autres();
}

bool classe_page::eventFilter(QObject* objet, QEvent* evenement) {
    // Sent when a control is hidden itself, not when its page hides.
    if (evenement->type() == QEvent::HideToParent && affichage_formation && stade_formation > 0 &&
        objet == controles_formation.value(stade_formation))
        controle_formation_cache();
    return QWidget::eventFilter(objet, evenement);
}

void classe_page::Event_Paint(QPainter& g) {
    Paint(g);
    dessine_cadre_formation(g, true);
}

void classe_page::dessine_cadre_formation(QPainter& g, bool sous_le_controle) const {
    if (controles_formation.size() < 2 || !affichage_formation)
        return;
    const QWidget* controle = controles_formation.value(stade_formation);
    // Only a control inside the page has a place in its coordinates.
    if (!controle || !isAncestorOf(controle))
        return;
    // The rounded corners of a frame reach over the corners of its control's
    // place: that part lies under the control, drawn with the page; the rest,
    // round the control, lies above every control of the page. The control's
    // place is taken in device pixels, rounded as Qt rounds it to paint it.
    const QTransform vers_appareil = g.deviceTransform();
    const QRect place =
        vers_appareil.mapRect(QRectF(QRect(controle->mapTo(this, QPoint(0, 0)), controle->size())))
            .toRect();
    const bibliotheque_v1::forme_cadre cadre = bibliotheque_v1::cadre_controle(controle, this, 0);
    QRegion partie(place);
    if (!sous_le_controle) {
        const QRect tout = vers_appareil.mapRect(QRectF(cadre.rectangle)).toAlignedRect();
        partie = QRegion(tout.adjusted(-1, -1, 1, 1)).subtracted(partie);
    }
    // The clip set in device pixels, then the page's coordinates back.
    const QTransform monde = g.worldTransform();
    g.setWorldTransform(vers_appareil.inverted() * monde);
    g.setClipRegion(partie);
    g.setWorldTransform(monde);
    bibliotheque_v1::dessine_cadre(g, cadre, QColor::fromRgb(couleur_cadre));
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
