#include "w_formation.h"

#include "bibliotheque_divers.h"
#include "bibliotheque_v1.h"
#include "controles_texte.h"
#include "cp_accueil.h"
#include "fleche_droite.h"
#include "kit_pages.h"
#include "services_coquille.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWindow>

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

} // namespace

w_formation& w_formation::instance() {
    static w_formation* fenetre = new w_formation;
    return *fenetre;
}

w_formation::w_formation(QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      st_lien_savoir_plus(kit_pages::lien(this, QStringLiteral("st_lien_savoir_plus"),
                                          QRect(12, 340, 280, 20), QStringLiteral("En savoir plus"),
                                          Qt::AlignHCenter)),
      bt_plus(new fleche_droite(this)),
      st_message(kit_pages::texte_centre(this, QStringLiteral("st_message"),
                                         QRect(14, 58, 272, 280), 0xF2F2F2)),
      bt_moins(new fleche_gauche(this)),
      st_question(kit_pages::texte_statique(this, QStringLiteral("st_question"),
                                            QRect(16, 9, 270, 17),
                                            QStringLiteral("Que souhaitez-vous faire ?"), 13, true,
                                            0x780000, Qt::AlignLeft | Qt::AlignVCenter)),
      popup_formation(new QComboBox(this)),
      bt_lancement(kit_pages::case_a_cocher(this, QStringLiteral("bt_lancement"),
                                            QRect(15, 398, 209, 19),
                                            QStringLiteral("ne pas afficher au démarrage"))) {
    setObjectName(QStringLiteral("w_formation"));
    setFixedSize(300, 430);
    setAutoFillBackground(true);
    QPalette fond = palette();
    fond.setColor(QPalette::Window, QColor::fromRgb(0xF2F2F2));
    setPalette(fond);
    setWindowTitle(QStringLiteral("Autoformation Valdorin"));
    kit_pages::place(bt_plus, QStringLiteral("bt_plus"), QRect(162, 363, 50, 30));
    kit_pages::place(bt_moins, QStringLiteral("bt_moins"), QRect(94, 363, 50, 30));
    kit_pages::place(popup_formation, QStringLiteral("popup_formation"), QRect(14, 33, 278, 20));
    popup_formation->setFont(kit_pages::police(13));
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
    // An ordinary row that can be chosen like any other.
    ajout_ligne_menu(popup, ligne, QStringLiteral("-"), coquille::aucun_ecran);
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

QPoint w_formation::placement(const QRect& principale, const QRect& ecran, const QSize& taille) {
    const int largeur = taille.width();
    const int hauteur = taille.height();
    int gauche = principale.left() - 10 - largeur;
    if (ecran.left() < gauche)
        return {gauche, principale.top()};
    gauche = ecran.left() + 10;
    const int dessous = ecran.height() - principale.top() - principale.height();
    const int dessus = principale.top() - ecran.top();
    int haut = 0;
    if (dessous < dessus) {
        haut = ecran.top() + 16 + 10;
        if (haut + hauteur + 10 < principale.top() - 22)
            haut = principale.top() - 22 - hauteur - 10;
    } else {
        haut = ecran.top() + ecran.height() - hauteur - 10;
        if (principale.top() + principale.height() + 10 < haut - 16)
            haut = principale.top() + principale.height() + 10 + 16;
    }
    return {gauche, haut};
}

void w_formation::montrer() {
    if (!positionnee) {
        positionnee = true;
        const coquille::fenetre_principale* principale = coquille::w_main();
        const QScreen* ecran = QGuiApplication::primaryScreen();
        if (principale && ecran)
            move(placement(principale->geometrie(), ecran->availableGeometry(), size()));
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
    switch (fleches) {
    case 0:
        bt_moins->setEnabled(false);
        bt_plus->setEnabled(false);
        break;
    case 1:
        bt_moins->setEnabled(false);
        bt_plus->setEnabled(true);
        break;
    case 2:
        bt_moins->setEnabled(true);
        bt_plus->setEnabled(true);
        break;
    case 3:
        bt_moins->setEnabled(true);
        bt_plus->setEnabled(false);
        break;
    default:
        break;
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
        if (texte == u"-") {
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
