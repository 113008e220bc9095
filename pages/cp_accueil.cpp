#include "cp_accueil.h"

#include "bibliotheque_divers.h"
#include "controles_texte.h"
#include "csp_version.h"
#include "kit_pages.h"
#include "parametres_v1.h"
#include "services_coquille.h"
#include "services_guidage.h"
#include "w_alerte.h"
#include "w_formation.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

const QString cp_accueil::texte_page = QStringLiteral(
    "Choisissez ce que vous voulez faire dans le menu de la fenêtre «\u00A0Autoformation\u00A0» "
    "ou fermez la pour travailler en mode «\u00A0expert\u00A0»\u00A0!");

cp_accueil::cp_accueil(QWidget* parent)
    : classe_page(parent),
      bt_formation(kit_pages::bouton(this, QStringLiteral("bt_formation"), QRect(335, 390, 170, 20),
                                     QStringLiteral("Mode d'autoformation"), true)),
      st_message(kit_pages::texte_centre(this, QStringLiteral("st_message"),
                                         QRect(102, 79, 440, 307), 0xF1F1F1)),
      st_titre(kit_pages::texte_statique(this, QStringLiteral("st_titre"), QRect(15, 15, 610, 60),
                                         QString(), 24, true, 0x780000, Qt::AlignCenter)),
      bt_lancement(kit_pages::case_a_cocher(this, QStringLiteral("bt_lancement"),
                                            QRect(10, 390, 210, 19),
                                            QStringLiteral("ne pas afficher au démarrage"))),
      bt_expert(kit_pages::bouton(this, QStringLiteral("bt_expert"), QRect(517, 390, 103, 20),
                                  QStringLiteral("Mode expert"), true)),
      bt_ok(kit_pages::bouton(this, QStringLiteral("bt_ok"), QRect(517, 358, 103, 20),
                              QStringLiteral("OK"), true)),
      lien_maj(kit_pages::lien(this, QStringLiteral("lien_maj"), QRect(225, 390, 104, 20),
                               QStringLiteral("Mise à jour"), Qt::AlignHCenter)) {
    setObjectName(QStringLiteral("cp_accueil"));
    setFixedSize(640, 430);
    setAutoFillBackground(true);
    bt_expert->setToolTip(QStringLiteral("Cliquez sur ce bouton pour aller à l'étape suivante"));
    bt_ok->hide();
    st_message_Open();
    connect(bt_formation, &QPushButton::clicked, this, &cp_accueil::bt_formation_Action);
    connect(bt_expert, &QPushButton::clicked, this, &cp_accueil::bt_expert_Action);
    connect(bt_ok, &QPushButton::clicked, this, &cp_accueil::bt_ok_Action);
    connect(lien_maj, &st_lien::Action, this, &cp_accueil::lien_maj_Action);
    // Raised by the user and by code alike, only when the value changes.
    connect(bt_lancement, &QCheckBox::toggled, this, &cp_accueil::bt_lancement_Action);
    kit_pages::ordre_lecture(this);
}

void cp_accueil::st_message_Open() {
    st_message->Bold = true;
    st_message->BackColor = QColor::fromRgb(0xF1F1F1);
    st_message->TextColor = QColor::fromRgb(0x000000);
}

void cp_accueil::formation_page(QString& message, QString&) {
    message = texte_page;
}

void cp_accueil::Open() {
    bt_ok->move(bt_ok->x(), bt_expert->y());
    selectionne_init();
}

void cp_accueil::showEvent(QShowEvent* evenement) {
    classe_page::showEvent(evenement);
    Event_Activate();
}

void cp_accueil::Event_Activate() {
    selectionne(stade);
}

void cp_accueil::keyPressEvent(QKeyEvent* evenement) {
    // "OK" is the default button while it shows.
    if ((evenement->key() == Qt::Key_Return || evenement->key() == Qt::Key_Enter) &&
        bt_ok->isVisible()) {
        bt_ok->click();
        return;
    }
    classe_page::keyPressEvent(evenement);
}

void cp_accueil::selectionne(std::int32_t nouveau_stade) {
    const QString bienvenue = QStringLiteral("Bienvenue dans\r");
    QString message;
    if (nouveau_stade == 0) {
        st_titre->setText(kit_pages::lignes_qt(bienvenue + QStringLiteral("Valdorin")));
        message =
            QStringLiteral(
                "Ce logiciel propose deux modes de fonctionnement.\r\rUn mode d'autoformation, "
                "qui vous aidera à le découvrir et à l'utiliser au mieux. Ce mode est facile et "
                "pleinement opérationnel, nous le recommandons fortement pour vos premiers "
                "pas.\r\rUn mode expert, que vous préférerez probablement dans un second "
                "temps.\r\rVous pourrez choisir entre ces deux modes à tout moment.\r\rAvant ce "
                "choix, si vous réalisez une mise à jour depuis une version antérieure à la "
                "version ") +
            csp_version::version_executee +
            QStringLiteral(", nous vous conseillons de cliquer le lien «\u00A0Mise à "
                           "jour\u00A0» pour prendre connaissance des différences avec les "
                           "versions antérieures.");
        lien_maj->show();
        bt_formation->show();
        bt_expert->show();
        bt_ok->hide();
        bt_ok->setDefault(false);
    } else {
        if (nouveau_stade == 1) {
            st_titre->setText(kit_pages::lignes_qt(
                bienvenue + QStringLiteral("le mode d'autoformation de Valdorin")));
            message = QStringLiteral(
                "Ce mode met à votre disposition une seconde fenêtre pour naviguer dans le "
                "logiciel et obtenir toutes explications sur chacune de ses fonctions.\r\rIl "
                "peut être délaissé en fermant sa fenêtre et retrouvé par le menu "
                "«\u00A0Aide\u00A0:\u00A0Mode d'autoformation\u00A0».");
        } else {
            st_titre->setText(
                kit_pages::lignes_qt(bienvenue + QStringLiteral("le mode expert de Valdorin")));
            message = QStringLiteral(
                "Dans ce mode, vous naviguerez entre les différents écrans par les onglets, les "
                "menus ou les liens que vous trouverez dans les onglets.\r\rVous pouvez à tout "
                "moment revenir en mode d'autoformation en sélectionnant le menu "
                "«\u00A0Aide\u00A0:\u00A0Mode d'autoformation\u00A0».");
        }
        lien_maj->hide();
        bt_formation->hide();
        bt_expert->hide();
        bt_ok->show();
        bt_ok->setDefault(true);
    }
    st_message->Text = message;
    st_message->update();
    update();
    stade = nouveau_stade;
}

void cp_accueil::selectionne_expert() {
    selectionne(2);
}

void cp_accueil::selectionne_formation() {
    selectionne(1);
}

void cp_accueil::selectionne_init() {
    selectionne(0);
}

void cp_accueil::bt_formation_Action() {
    if (auto* fenetre = dynamic_cast<w_formation*>(guidage::w_formation()))
        fenetre->montrer();
    selectionne_formation();
}

void cp_accueil::bt_expert_Action() {
    selectionne_expert();
}

void cp_accueil::bt_ok_Action() {
    if (stade == 1) {
        w_alerte::instance().message(texte_page, QString());
    } else if (stade == 2) {
        if (coquille::fenetre_principale* principale = coquille::w_main())
            principale->montrer(principale->contenu_onglet_precedent(), coquille::origine_page);
    }
}

void cp_accueil::lien_maj_Action() {
    bibliotheque_v1::lance_documentation_html(QStringLiteral("historique_fr.html"));
}

void cp_accueil::bt_lancement_Action() {
    // Setting the other box to the value it holds raises nothing, which ends
    // the exchange after one pass.
    if (auto* fenetre = dynamic_cast<w_formation*>(guidage::w_formation()))
        fenetre->bt_lancement->setChecked(bt_lancement->isChecked());
}

void cp_accueil::import_export_parametres(const QString& genre, const QString& sens) {
    if (genre == u"init")
        parametres_v1::parametre_checkbox(bt_lancement, sens, QStringLiteral("accueil"), false);
}
