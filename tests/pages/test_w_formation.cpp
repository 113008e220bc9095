#include "controles_texte.h"
#include "cp_accueil.h"
#include "csp_contrat.h"
#include "fleche_droite.h"
#include "parametres_v1.h"
#include "participants_fichiers.h"
#include "principale_essai.h"
#include "repondeur.h"
#include "w_formation.h"
#include "w_web.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

// A form page with three registered controls, the second with a
// documentation page; `cache` is hidden since its registration.
class page_formulaire : public classe_page {
public:
    page_formulaire() {
        un->setGeometry(10, 10, 100, 20);
        deux->setGeometry(10, 40, 100, 20);
        cache->setGeometry(10, 70, 100, 20);
        cache->hide();
    }
    QLineEdit* un = new QLineEdit(this);
    QLineEdit* deux = new QLineEdit(this);
    QLineEdit* cache = new QLineEdit(this);

protected:
    void formation_page(QString& message, QString& documentation) override {
        message = "La page";
        documentation = "page_fr.html";
    }
    void formation_controles() override {
        ajout_controle_formation(un, "Le premier", "");
        ajout_controle_formation(deux, "Le second", "format_fr.html");
        ajout_controle_formation(cache, "Le caché", "");
    }
};

// Receives the addresses the application asks the browser to open.
class navigateur : public QObject {
    Q_OBJECT
public:
    navigateur() { QDesktopServices::setUrlHandler("http", this, "ouvre"); }
    ~navigateur() override { QDesktopServices::unsetUrlHandler("http"); }
    QStringList adresses;
public slots:
    void ouvre(const QUrl& adresse) { adresses.append(adresse.fileName()); }
};

class Formation : public testing::Test {
protected:
    void SetUp() override {
        connexion.interroge = [] { return true; };
        principale.ajoute(0, formulaire);
        principale.ajoute(3, new csp_contrat);
        principale.ajoute(5, accueil);
        principale.ajoute(6, new classe_page);
        principale.montrer(0, 0);
    }
    // The popup row showing `texte`.
    void choisit(const QString& texte) {
        fenetre.popup_formation->setCurrentIndex(fenetre.popup_formation->findText(texte));
    }

    repondeur::garde garde;
    w_web connexion;
    ::navigateur navigateur_;
    essai::principale principale;
    w_formation fenetre;
    page_formulaire* formulaire = new page_formulaire;
    cp_accueil* accueil = new cp_accueil;
};

const QString navigation = "\n\nNaviguez avec les flèches ci-dessous\u00A0!";

} // namespace

TEST(PlacementFormation, BesideTheMainWindowWhereThereIsRoom) {
    struct cas {
        QRect principale;
        QRect ecran;
        QPoint attendu;
    };
    const QSize taille(300, 430);
    const cas table[] = {
        // Room on the left: 10 points left of it, tops aligned.
        {QRect(400, 200, 640, 430), QRect(0, 22, 1440, 878), QPoint(90, 200)},
        // No room on the left, more room above: just above the main window...
        {QRect(100, 700, 640, 300), QRect(0, 0, 1440, 1100), QPoint(10, 238)},
        // ...or at the top of the screen when it does not fit there.
        {QRect(100, 400, 640, 430), QRect(0, 0, 1440, 900), QPoint(10, 26)},
        // No room on the left, as much room below: just below it...
        {QRect(100, 20, 640, 300), QRect(0, 0, 1440, 1100), QPoint(10, 346)},
        // ...or at the bottom of the screen.
        {QRect(100, 50, 640, 430), QRect(0, 0, 1440, 900), QPoint(10, 460)},
        // Exactly at the screen's edge counts as no room.
        {QRect(310, 200, 640, 430), QRect(0, 0, 1440, 900), QPoint(10, 460)},
    };
    for (const cas& c : table)
        EXPECT_EQ(w_formation::placement(c.principale, c.ecran, taille), c.attendu)
            << c.principale.top();
}

TEST_F(Formation, TheArrowsWalkThePagesVisibleControls) {
    struct etape {
        void (*action)(w_formation&);
        QString texte;
        bool moins, plus, lien;
    };
    const auto plus = [](w_formation& f) { f.bt_plus->Action(); };
    const auto moins = [](w_formation& f) { f.bt_moins->Action(); };
    const etape etapes[] = {
        {[](w_formation& f) { f.montrer(); }, "La page" + navigation, false, true, false},
        {plus, "Le premier", true, true, false},
        {plus, "Le second", true, true, true},
        // The last control is hidden: the walk comes back to the page.
        {plus, "La page" + navigation, false, true, false},
        {plus, "Le premier", true, true, false},
        {moins, "La page" + navigation, false, true, false},
    };
    for (const etape& e : etapes) {
        e.action(fenetre);
        EXPECT_EQ(fenetre.st_message->Text, e.texte);
        EXPECT_EQ(fenetre.bt_moins->isEnabled(), e.moins) << e.texte.toStdString();
        EXPECT_EQ(fenetre.bt_plus->isEnabled(), e.plus) << e.texte.toStdString();
        EXPECT_EQ(!fenetre.st_lien_savoir_plus->isHidden(), e.lien) << e.texte.toStdString();
    }
    EXPECT_TRUE(fenetre.isVisible());
    EXPECT_TRUE(principale.menu_formation.isChecked());
    // With the last control shown, it is the last step.
    formulaire->cache->show();
    fenetre.bt_plus->Action();
    fenetre.bt_plus->Action();
    fenetre.bt_plus->Action();
    EXPECT_EQ(fenetre.st_message->Text, "Le caché");
    EXPECT_TRUE(fenetre.bt_moins->isEnabled());
    EXPECT_FALSE(fenetre.bt_plus->isEnabled());
    EXPECT_TRUE(formulaire->affichage_formation);
    // The close box turns training off and every page back to its start.
    fenetre.close();
    EXPECT_FALSE(fenetre.isVisible());
    EXPECT_FALSE(principale.menu_formation.isChecked());
    EXPECT_EQ(formulaire->stade_formation, 0);
    EXPECT_FALSE(formulaire->affichage_formation);
}

TEST_F(Formation, ThePopupFollowsTheScreenAndLeadsToOthers) {
    fenetre.montrer();
    EXPECT_EQ(fenetre.popup_formation->currentText(), "Créer un code-barres");
    choisit("Consulter le contrat de licence");
    EXPECT_EQ(principale.courant, 3);
    EXPECT_EQ(principale.switches.last(), (QPair<int, int>{3, 2}));
    // A page without controls: its own text, both arrows off.
    EXPECT_EQ(fenetre.st_message->Text, "Cet écran présente les conditions générales du contrat "
                                        "de licence que propose ou qu'a consenti Brimlow.");
    EXPECT_FALSE(fenetre.bt_moins->isEnabled());
    EXPECT_FALSE(fenetre.bt_plus->isEnabled());
    // A separator or the documentation leave the popup on the screen's row.
    fenetre.popup_formation->setCurrentIndex(2);
    EXPECT_EQ(fenetre.popup_formation->currentText(), "Consulter le contrat de licence");
    choisit("Consulter la documentation");
    EXPECT_EQ(fenetre.popup_formation->currentText(), "Consulter le contrat de licence");
    EXPECT_EQ(navigateur_.adresses, QStringList{"documentation_fr.html"});
    // Another route to a screen reselects its row; the about screen has none.
    principale.montrer(0, 1);
    EXPECT_EQ(fenetre.popup_formation->currentText(), "Créer un code-barres");
    principale.montrer(6, 1);
    EXPECT_EQ(fenetre.popup_formation->currentIndex(), -1);
    EXPECT_EQ(fenetre.st_message->Text, "");
    EXPECT_TRUE(fenetre.st_lien_savoir_plus->isHidden());
    EXPECT_FALSE(fenetre.popup_changed_interne);
    // Quitting from the popup on the welcome page shows its expert text.
    principale.montrer(5, 1);
    EXPECT_EQ(fenetre.popup_formation->currentIndex(), -1);
    choisit("Quitter le mode d'autoformation");
    EXPECT_FALSE(fenetre.isVisible());
    EXPECT_EQ(accueil->stade, 2);
}

TEST_F(Formation, WhileHiddenTheWindowFollowsNothing) {
    principale.montrer(3, 1);
    EXPECT_EQ(fenetre.popup_formation->currentIndex(), -1);
    fenetre.montrer();
    const QPoint place = fenetre.pos();
    fenetre.move(place + QPoint(5, 5));
    fenetre.cacher();
    fenetre.montrer();
    EXPECT_EQ(fenetre.pos(), place + QPoint(5, 5));
}

TEST_F(Formation, TheWelcomePageLeadsToEitherMode) {
    principale.montrer(5, 0);
    EXPECT_EQ(accueil->stade, 0);
    EXPECT_TRUE(accueil->st_message->Text.endsWith("les versions antérieures."));
    EXPECT_TRUE(accueil->st_message->Text.contains("version 2.2, nous"));
    EXPECT_TRUE(accueil->bt_ok->isHidden());
    EXPECT_FALSE(accueil->lien_maj->isHidden());
    accueil->bt_formation->click();
    EXPECT_TRUE(fenetre.isVisible());
    EXPECT_EQ(accueil->stade, 1);
    EXPECT_EQ(accueil->st_titre->text(), "Bienvenue dans\nle mode d'autoformation de Valdorin");
    EXPECT_EQ(fenetre.st_message->Text, cp_accueil::texte_page);
    participants::lecteur_alertes alertes;
    alertes.attend();
    accueil->bt_ok->click();
    EXPECT_EQ(alertes.textes, QStringList{cp_accueil::texte_page});
    // Closing the window on this page switches it to its expert text.
    fenetre.close();
    EXPECT_EQ(accueil->stade, 2);
    EXPECT_TRUE(accueil->bt_formation->isHidden());
    accueil->bt_ok->click();
    EXPECT_EQ(principale.switches.last(), (QPair<int, int>{1, 1}));
}

TEST_F(Formation, TheTwoStartUpBoxesHoldOneValueKeptInThePreferences) {
    accueil->bt_lancement->setChecked(true);
    EXPECT_TRUE(fenetre.bt_lancement->isChecked());
    EXPECT_TRUE(fenetre.ne_pas_afficher_au_demarrage());
    fenetre.bt_lancement->setChecked(false);
    EXPECT_FALSE(accueil->bt_lancement->isChecked());
    parametres_v1::dictionnaire_parametres = parametres_v1::dictionnaire{};
    accueil->import_export_parametres("memo", "export");
    EXPECT_TRUE(parametres_v1::dictionnaire_parametres->isEmpty());
    (*parametres_v1::dictionnaire_parametres)["accueil_bt_lancement"] = "true";
    accueil->import_export_parametres("memo", "import");
    EXPECT_FALSE(fenetre.ne_pas_afficher_au_demarrage());
    accueil->import_export_parametres("init", "import");
    EXPECT_TRUE(fenetre.ne_pas_afficher_au_demarrage());
    parametres_v1::dictionnaire_parametres.reset();
}

#include "test_w_formation.moc"
