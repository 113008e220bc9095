#include "app.h"
#include "cp_accueil.h"
#include "csp_version.h"
#include "fleche_droite.h"
#include "guidage_pages.h"
#include "parametres_v1.h"
#include "w_formation.h"
#include "w_main.h"
#include "w_web.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace {

// The whole application with its guidance pages, the network reported down
// so that nothing leaves the machine.
class GuidageCoquille : public testing::Test {
protected:
    void SetUp() override {
        parametres_v1::niveau_version_preferences = 0;
        guidage_pages::installe();
        w_web::instance().interroge = [] { return false; };
        App()->Event_Open();
        QTRY_VERIFY_WITH_TIMEOUT(!w_main::instance().thread_lancement.isActive(), 10000);
    }
    void TearDown() override {
        w_formation::instance().cacher();
        w_main::detruit();
    }
};

// Steps through the current page with the arrow until it comes back to the
// page itself; the number of steps.
int pas_de_la_page(w_formation& fenetre) {
    int pas = 1;
    while (fenetre.bt_plus->isEnabled() && pas < 50) {
        fenetre.bt_plus->Action();
        ++pas;
        if (fenetre.fleches == 1)
            return pas - 1;
    }
    return pas;
}

} // namespace

TEST_F(GuidageCoquille, SelfTrainingWalksEveryScreenFromTheWelcomePage) {
    w_main& principale = w_main::instance();
    ASSERT_EQ(principale.contenu_courant(), 5);
    auto* accueil = dynamic_cast<cp_accueil*>(principale.p_accueil);
    ASSERT_NE(accueil, nullptr);
    accueil->bt_formation->click();
    w_formation& fenetre = w_formation::instance();
    ASSERT_TRUE(fenetre.isVisible());
    EXPECT_TRUE(coquille::menu_formation()->isChecked());
    EXPECT_EQ(fenetre.message, cp_accueil::texte_page);
    struct cas {
        QString ligne;
        int ecran;
        int pas; // steps of the page, itself included
    };
    const cas table[] = {
        {"Consulter le contrat de licence", 3, 1},
        {"Vérifier la version de ce logiciel", 4, 8},
        {"Enregistrer l'état du logiciel", 7, 1},
        {"Créer un ensemble de code-barres", 1, -1},
    };
    for (const cas& c : table) {
        fenetre.popup_formation->setCurrentIndex(fenetre.popup_formation->findText(c.ligne));
        EXPECT_EQ(principale.contenu_courant(), c.ecran) << c.ligne.toStdString();
        if (c.pas > 0)
            EXPECT_EQ(pas_de_la_page(fenetre), c.pas) << c.ligne.toStdString();
        else
            EXPECT_GT(pas_de_la_page(fenetre), 1) << c.ligne.toStdString();
    }
    // Minimised, the main window takes the training window along.
    principale.Event_Minimize();
    EXPECT_FALSE(fenetre.isVisible());
    EXPECT_TRUE(fenetre.minimisee);
    principale.Event_Restore();
    EXPECT_TRUE(fenetre.isVisible());
    EXPECT_FALSE(fenetre.minimisee);
    // Without a network the version page says so.
    auto* version = dynamic_cast<csp_version*>(principale.page(4));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->version_disponible_num, -1);
}

TEST_F(GuidageCoquille, TheStartUpBoxSkipsTheWelcomePageAtTheNextStart) {
    auto* accueil = dynamic_cast<cp_accueil*>(w_main::instance().p_accueil);
    ASSERT_NE(accueil, nullptr);
    accueil->bt_lancement->setChecked(true);
    EXPECT_TRUE(w_formation::instance().bt_lancement->isChecked());
    App()->Event_CancelClose();
    w_main::detruit();
    // Only the preferences carry the box to the next start.
    w_formation::instance().bt_lancement->setChecked(false);
    parametres_v1::niveau_version_preferences = 0;
    App()->Event_Open();
    QTRY_VERIFY_WITH_TIMEOUT(!w_main::instance().thread_lancement.isActive(), 10000);
    EXPECT_NE(w_main::instance().contenu_courant(), 5);
    EXPECT_TRUE(w_formation::instance().ne_pas_afficher_au_demarrage());
}
