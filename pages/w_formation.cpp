#include "w_formation.h"

#include "accessibilite.h"
#include "bibliotheque_divers.h"
#include "bibliotheque_v1.h"
#include "controles_texte.h"
#include "cp_accueil.h"
#include "fenetres_uniques.h"
#include "fleche_droite.h"
#include "kit_pages.h"
#include "palette_claire.h"
#include "services_coquille.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QHash>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

// The welcome page, when the main window has one.
cp_accueil* page_accueil() {
    coquille::fenetre_principale* principale = coquille::w_main();
    return principale ? dynamic_cast<cp_accueil*>(principale->page(coquille::ecran_accueil))
                      : nullptr;
}

void coche_menu_formation(bool coche) {
    if (QAction* element = coquille::menu_formation())
        element->setChecked(coche);
}

// Arrow colours: the window's background, dark red, light grey.
template <typename fleche> void habille_fleche(fleche* bouton) {
    bouton->BackColor = QColor::fromRgb(0xF2F2F2);
    bouton->EnabledColor = QColor::fromRgb(0x780000);
    bouton->DisabledColor = QColor::fromRgb(0xBFBFBF);
    bouton->update();
}

// A separator row of a popup, as Qt marks the rows it inserts as such.
bool separateur(const QModelIndex& ligne) {
    return ligne.data(Qt::AccessibleDescriptionRole).toString() == u"separator";
}

// What assistive technology reads of a row of the popup's list: named by its
// text and selectable, or, for a separator, a separator without a name that
// nothing selects.
class ligne_accessible : public QAccessibleInterface {
public:
    ligne_accessible(QAbstractItemView* liste, int rang) : liste_(liste), rang_(rang) {}

    QModelIndex ligne() const {
        return liste_ && liste_->model() ? liste_->model()->index(rang_, 0, liste_->rootIndex())
                                         : QModelIndex();
    }

    bool isValid() const override { return ligne().isValid(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return liste_ ? liste_->window()->windowHandle() : nullptr; }
    QAccessible::Role role() const override {
        return separateur(ligne()) ? QAccessible::Separator : QAccessible::ListItem;
    }

    QAccessible::State state() const override {
        QAccessible::State etat;
        const QModelIndex i = ligne();
        if (!i.isValid()) {
            etat.invalid = true;
            return etat;
        }
        etat.invisible = !liste_->isVisible();
        etat.disabled = !(i.flags() & Qt::ItemIsEnabled);
        if (i.flags() & Qt::ItemIsSelectable) {
            etat.selectable = true;
            etat.focusable = true;
            etat.selected = liste_->selectionModel()->isSelected(i);
            etat.focused = liste_->hasFocus() && liste_->currentIndex() == i;
        }
        return etat;
    }

    QRect rect() const override {
        const QModelIndex i = ligne();
        if (!i.isValid())
            return {};
        const QRect place = liste_->visualRect(i);
        return {liste_->viewport()->mapToGlobal(place.topLeft()), place.size()};
    }

    QString text(QAccessible::Text t) const override {
        const QModelIndex i = ligne();
        return t == QAccessible::Name && !separateur(i) ? i.data().toString() : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}

    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(liste_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

private:
    QPointer<QAbstractItemView> liste_;
    const int rang_;
};

// The popup's list: one child per row, in order.
class liste_accessible : public QAccessibleWidget {
public:
    explicit liste_accessible(QAbstractItemView* liste)
        : QAccessibleWidget(liste, QAccessible::List) {}

    ~liste_accessible() override {
        for (const QAccessible::Id id : std::as_const(lignes))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override {
        return liste()->model() ? liste()->model()->rowCount(liste()->rootIndex()) : 0;
    }

    QAccessibleInterface* child(int rang) const override {
        if (rang < 0 || rang >= childCount())
            return nullptr;
        // One interface per row, kept while the list lives, as Qt's
        // interfaces must not change under the tools that hold them.
        if (const auto trouve = lignes.constFind(rang); trouve != lignes.cend())
            return QAccessible::accessibleInterface(*trouve);
        auto* ligne = new ligne_accessible(liste(), rang);
        lignes.insert(rang, QAccessible::registerAccessibleInterface(ligne));
        return ligne;
    }

    int indexOfChild(const QAccessibleInterface* enfant) const override {
        for (auto i = lignes.cbegin(); i != lignes.cend(); ++i)
            if (QAccessible::accessibleInterface(i.value()) == enfant && i.key() < childCount())
                return i.key();
        return -1;
    }

private:
    QAbstractItemView* liste() const { return static_cast<QAbstractItemView*>(widget()); }
    mutable QHash<int, QAccessible::Id> lignes;
};

// Read so only in the popup of the training window; other popups keep Qt's
// reading.
QAccessibleInterface* liste_accessible_pour(QWidget* liste) {
    for (QWidget* ancetre = liste->parentWidget(); ancetre; ancetre = ancetre->parentWidget()) {
        if (const auto* fenetre = qobject_cast<const w_formation*>(ancetre))
            return fenetre->popup_formation->view() == liste
                       ? new liste_accessible(static_cast<QAbstractItemView*>(liste))
                       : nullptr;
    }
    return nullptr;
}

// The size of `fenetre` with its frame. Until the window has shown, the
// window system has not told its frame: the frame of `modele`, a window
// already shown, stands for it.
QSize taille_avec_cadre(const QWidget& fenetre, const QWidget& modele) {
    const QSize cadre = fenetre.frameGeometry().size() - fenetre.size();
    if (cadre.width() > 0 || cadre.height() > 0)
        return fenetre.frameGeometry().size();
    return fenetre.size() + (modele.frameGeometry().size() - modele.size());
}

} // namespace

w_formation& w_formation::instance() {
    static w_formation* fenetre = nullptr;
    return fenetres_uniques::unique(fenetre, [] { return new w_formation; });
}

w_formation::w_formation(QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      st_question(kit_pages::texte_statique(this, QStringLiteral("st_question"),
                                            QRect(16, 9, 270, 17),
                                            QStringLiteral("Que souhaitez-vous faire ?"), 13, true,
                                            0x780000, Qt::AlignLeft | Qt::AlignVCenter)),
      popup_formation(new QComboBox(this)),
      st_message(kit_pages::texte_centre(this, QStringLiteral("st_message"),
                                         QRect(14, 58, 272, 280), 0xF2F2F2)),
      st_lien_savoir_plus(kit_pages::lien(this, QStringLiteral("st_lien_savoir_plus"),
                                          QRect(12, 340, 280, 20), QStringLiteral("En savoir plus"),
                                          Qt::AlignHCenter)),
      bt_moins(new fleche_gauche(this)), bt_plus(new fleche_droite(this)),
      bt_lancement(kit_pages::case_a_cocher(this, QStringLiteral("bt_lancement"),
                                            QRect(15, 398, 209, 19),
                                            QStringLiteral("ne pas afficher au démarrage"))) {
    setObjectName(QStringLiteral("w_formation"));
    setFixedSize(300, 430);
    palette_claire::applique(this);
    setAutoFillBackground(true);
    QPalette fond = palette();
    fond.setColor(QPalette::Window, QColor::fromRgb(0xF2F2F2));
    setPalette(fond);
    setWindowTitle(QStringLiteral("Autoformation Valdorin"));
    kit_pages::place(bt_plus, QStringLiteral("bt_plus"), QRect(162, 363, 50, 30));
    kit_pages::place(bt_moins, QStringLiteral("bt_moins"), QRect(94, 363, 50, 30));
    kit_pages::place(popup_formation, QStringLiteral("popup_formation"), QRect(14, 33, 278, 20));
    popup_formation->setFont(kit_pages::police(13));
    accessibilite::enregistre("QComboBoxListView", &liste_accessible_pour);
    // The popup is announced by the question above it.
    st_question->setBuddy(popup_formation);
    st_message_Open();
    connect(bt_plus, &fleche_droite::Open, this, &w_formation::bt_plus_Open);
    connect(bt_moins, &fleche_droite::Open, this, &w_formation::bt_moins_Open);
    bt_plus_Open();
    bt_moins_Open();
    popup_formation_Open();
    connect(st_lien_savoir_plus, &st_lien::Action, this, &w_formation::st_lien_savoir_plus_Action);
    connect(bt_plus, &fleche_droite::Action, this, &w_formation::bt_plus_Action);
    connect(bt_moins, &fleche_droite::Action, this, &w_formation::bt_moins_Action);
    connect(popup_formation, &QComboBox::currentIndexChanged, this,
            &w_formation::popup_formation_Change);
    // Raised by the user and by code alike, only when the value changes.
    connect(bt_lancement, &QCheckBox::toggled, this, &w_formation::bt_lancement_Action);
    guidage::installe_w_formation(this);
}

w_formation::~w_formation() {
    if (guidage::w_formation() == this)
        guidage::installe_w_formation(nullptr);
}

void w_formation::st_message_Open() {
    // The longest steps, the single page's, fill the area at 12 pixels; at
    // 13 they would run past its bottom.
    st_message->TextSize = 12;
    st_message->Bold = true;
    st_message->BackColor = QColor::fromRgb(0xF2F2F2);
    st_message->TextColor = QColor::fromRgb(0x000000);
}

void w_formation::bt_plus_Open() {
    habille_fleche(bt_plus);
}

void w_formation::bt_moins_Open() {
    habille_fleche(bt_moins);
}

void w_formation::ajout_ligne_menu(QComboBox* popup, std::int32_t& ligne, const QString& texte,
                                   std::int32_t tag) {
    ++ligne;
    popup->addItem(texte, tag);
}

void w_formation::ajout_separateur_menu(QComboBox* popup, std::int32_t& ligne) {
    // A line without text, as the menus draw theirs: neither the mouse nor
    // the arrow keys choose it.
    ++ligne;
    popup->insertSeparator(ligne);
    popup->setItemData(ligne, coquille::aucun_ecran);
}

void w_formation::popup_formation_Open() {
    const bool bloque = popup_formation->blockSignals(true);
    std::int32_t ligne = -1;
    ajout_ligne_menu(popup_formation, ligne, QStringLiteral("Créer un code-barres"),
                     coquille::ecran_creer_unit);
    ajout_ligne_menu(popup_formation, ligne, QStringLiteral("Créer un ensemble de code-barres"),
                     coquille::ecran_creer_plusieurs);
    ajout_separateur_menu(popup_formation, ligne);
    ajout_ligne_menu(popup_formation, ligne, QStringLiteral("Enregistrer l'état du logiciel"),
                     coquille::ecran_formation_memo);
    ajout_separateur_menu(popup_formation, ligne);
    ajout_ligne_menu(popup_formation, ligne, QStringLiteral("Consulter le contrat de licence"),
                     coquille::ecran_contrat);
    ajout_separateur_menu(popup_formation, ligne);
    ajout_ligne_menu(popup_formation, ligne, QStringLiteral("Vérifier la version de ce logiciel"),
                     coquille::ecran_version);
    ajout_separateur_menu(popup_formation, ligne);
    ajout_ligne_menu(popup_formation, ligne, QStringLiteral("Consulter la documentation"),
                     coquille::aucun_ecran);
    ajout_separateur_menu(popup_formation, ligne);
    ajout_ligne_menu(popup_formation, ligne, QStringLiteral("Quitter le mode d'autoformation"),
                     coquille::aucun_ecran);
    // No row until a screen is shown.
    popup_formation->setCurrentIndex(-1);
    popup_formation->blockSignals(bloque);
}

QRect w_formation::placement(const QRect& ecran, const QRect& principale, const QSize& taille) {
    const int largeur = taille.width();
    const int hauteur = taille.height();
    int gauche = principale.left() - 10 - largeur;
    if (ecran.left() < gauche)
        return {QPoint(gauche, principale.top()), taille};
    // The window would cover the main window's left part, where its first
    // steps lie: on the right, when the screen has room there.
    gauche = principale.left() + principale.width() + 10;
    if (gauche + largeur <= ecran.left() + ecran.width())
        return {QPoint(gauche, principale.top()), taille};
    // Room on neither side: 10 points from the screen's left or right edge,
    // just above or below the main window, or at the top or bottom of the
    // screen; of these places, the one that covers the least of the main
    // window, the first of the list where several cover as much.
    const int dessous = ecran.top() + ecran.height() - principale.top() - principale.height();
    const int dessus = principale.top() - ecran.top();
    int haut_dessus = ecran.top() + 16 + 10;
    if (haut_dessus + hauteur + 10 < principale.top() - 22)
        haut_dessus = principale.top() - 22 - hauteur - 10;
    int haut_dessous = ecran.top() + ecran.height() - hauteur - 10;
    if (principale.top() + principale.height() + 10 < haut_dessous - 16)
        haut_dessous = principale.top() + principale.height() + 10 + 16;
    const int premier = dessous < dessus ? haut_dessus : haut_dessous;
    const int second = dessous < dessus ? haut_dessous : haut_dessus;
    const int droite = ecran.left() + ecran.width() - 10 - largeur;
    const QPoint places[] = {{ecran.left() + 10, premier},
                             {droite, premier},
                             {ecran.left() + 10, second},
                             {droite, second}};
    const auto couverte = [&](const QPoint& coin) {
        const QRect commun = QRect(coin, taille).intersected(principale);
        return qint64(commun.width()) * commun.height();
    };
    return {*std::min_element(
                std::begin(places), std::end(places),
                [&](const QPoint& a, const QPoint& b) { return couverte(a) < couverte(b); }),
            taille};
}

void w_formation::montrer() {
    if (!positionnee) {
        positionnee = true;
        const QWidget* principale = coquille::w_main_qt();
        // The screen the main window is on, which on several monitors need
        // not be the primary one.
        const QScreen* ecran = principale ? principale->screen() : nullptr;
        // The frames, title bars included, so that neither window covers the
        // other's; the place is the frame's, as move() takes it.
        if (principale && ecran)
            move(placement(ecran->availableGeometry(), principale->frameGeometry(),
                           taille_avec_cadre(*this, *principale))
                     .topLeft());
    }
    // Kept above the main window by the window system.
    if (const QWidget* fenetre = coquille::w_main_qt()) {
        winId();
        if (windowHandle() && fenetre->windowHandle())
            windowHandle()->setTransientParent(fenetre->windowHandle());
    }
    coche_menu_formation(true);
    maj_w_main(QStringLiteral("="));
    maj_popup();
    maj_autres();
    show();
}

void w_formation::cacher() {
    coquille::fenetre_principale* principale = coquille::w_main();
    if (principale && principale->contenu_courant() == coquille::ecran_accueil) {
        if (cp_accueil* accueil = page_accueil())
            accueil->selectionne_expert();
    }
    maj_w_main(QString());
    coche_menu_formation(false);
    hide();
    minimisee = false;
}

void w_formation::maj(std::int32_t origine) {
    if (isHidden() || origine == coquille::origine_lancement)
        return;
    if (origine == coquille::origine_page)
        maj_popup();
    maj_w_main(QStringLiteral("="));
    maj_autres();
}

void w_formation::maj_w_main(const QString& direction) {
    if (coquille::fenetre_principale* principale = coquille::w_main())
        principale->maj_formation(direction);
}

void w_formation::maj_autres() {
    if (fleches == 1) {
        st_message->Text = message + bibliotheque_v1::eol(2) +
                           QStringLiteral("Naviguez avec les flèches ci-dessous\u00A0!");
        st_lien_savoir_plus->hide();
    } else {
        st_message->Text = message;
        st_lien_savoir_plus->setVisible(!nom_fichier_documentation.isEmpty());
    }
    if (fleches >= 0 && fleches <= 3) {
        const bool moins = fleches == 2 || fleches == 3;
        const bool plus = fleches == 1 || fleches == 2;
        // An arrow that goes grey with the focus hands it to the other arrow,
        // or to the popup when both go grey; left to Qt, the focus would go on
        // to the start-up box, which the next Space would tick unseen.
        QWidget* relais = nullptr;
        if (focusWidget() == bt_plus && !plus)
            relais = moins ? static_cast<QWidget*>(bt_moins) : popup_formation;
        else if (focusWidget() == bt_moins && !moins)
            relais = plus ? static_cast<QWidget*>(bt_plus) : popup_formation;
        if (moins)
            bt_moins->setEnabled(true);
        if (plus)
            bt_plus->setEnabled(true);
        if (relais)
            relais->setFocus(Qt::OtherFocusReason);
        bt_moins->setEnabled(moins);
        bt_plus->setEnabled(plus);
    }
    st_message->update();
}

void w_formation::maj_popup() {
    const coquille::fenetre_principale* principale = coquille::w_main();
    const std::int32_t courant = principale ? principale->contenu_courant() : coquille::aucun_ecran;
    int cible = -1;
    for (int ligne = 0; ligne < popup_formation->count(); ++ligne) {
        if (popup_formation->itemData(ligne).toInt() == courant) {
            cible = ligne;
            break;
        }
    }
    if (cible != popup_formation->currentIndex()) {
        popup_changed_interne = true;
        popup_formation->setCurrentIndex(cible);
        // Cleared here too, should the toolkit raise no change.
        popup_changed_interne = false;
        popup_formation->update();
    }
}

void w_formation::popup_formation_Change() {
    if (!popup_changed_interne) {
        const QString texte = popup_formation->currentText();
        if (separateur(popup_formation->model()->index(popup_formation->currentIndex(), 0))) {
            // Only code can choose a separator: back to the screen's row.
            maj_popup();
        } else if (texte == u"Consulter la documentation") {
            bibliotheque_v1::lance_documentation_html(QStringLiteral("documentation_fr.html"));
            maj_popup();
        } else if (texte == u"Quitter le mode d'autoformation") {
            cacher();
        } else if (popup_formation->currentIndex() >= 0) {
            if (coquille::fenetre_principale* principale = coquille::w_main())
                principale->montrer(popup_formation->currentData().toInt(),
                                    coquille::origine_formation);
        }
    }
    popup_changed_interne = false;
}

void w_formation::st_lien_savoir_plus_Action() {
    bibliotheque_v1::lance_documentation_html(nom_fichier_documentation);
}

void w_formation::bt_plus_Action() {
    maj_w_main(QStringLiteral("+"));
    maj_autres();
}

void w_formation::bt_moins_Action() {
    maj_w_main(QStringLiteral("-"));
    maj_autres();
}

void w_formation::bt_lancement_Action() {
    if (cp_accueil* accueil = page_accueil())
        accueil->bt_lancement->setChecked(bt_lancement->isChecked());
}

bool w_formation::Event_CancelClose(bool appQuitting) {
    if (appQuitting)
        return false;
    cacher();
    return true;
}

void w_formation::closeEvent(QCloseEvent* evenement) {
    if (Event_CancelClose(QCoreApplication::closingDown()))
        evenement->ignore();
    else
        evenement->accept();
}
