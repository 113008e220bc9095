#include "app.h"
#include "cp_accueil.h"
#include "cp_onglets.h"
#include "csp_version.h"
#include "fleche_droite.h"
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

// Starts the whole application with its guidance pages, the network
// reported down so that nothing leaves the machine.
w_main& demarre() {
    parametres_v1::niveau_version_preferences = 0;
    w_web::instance().interroge = [] { return false; };
    App()->Event_Open();
    EXPECT_TRUE(
        QTest::qWaitFor([] { return !w_main::instance().thread_lancement.isActive(); }, 10000));
    return w_main::instance();
}

} // namespace

TEST(GuidageCoquille, SelfTrainingWalksTheScreensAndTheStartUpBoxCarriesOver) {
    w_main& principale = demarre();
    ASSERT_EQ(principale.contenu_courant(), 5);
    cp_accueil* accueil = principale.p_accueil;
    accueil->bt_formation->click();
    w_formation& fenetre = w_formation::instance();
    ASSERT_TRUE(fenetre.isVisible());
    EXPECT_EQ(fenetre.message, cp_accueil::texte_page);
    // Rows, their screens, and the steps of their pages (the page included).
    const QList<std::tuple<QString, int, int>> table = {
        {"Consulter le contrat de licence", 3, 1},
        {"Vérifier la version de ce logiciel", 4, 8},
        {"Enregistrer l'état du logiciel", 7, 1},
    };
    for (const auto& [ligne, ecran, pas_attendus] : table) {
        fenetre.popup_formation->setCurrentIndex(fenetre.popup_formation->findText(ligne));
        EXPECT_EQ(principale.contenu_courant(), ecran);
        int pas = 1;
        for (; fenetre.bt_plus->isEnabled() && pas < 20; ++pas)
            emit fenetre.bt_plus->Action();
        EXPECT_EQ(pas, pas_attendus) << ligne.toStdString();
    }
    EXPECT_EQ(principale.p_onglets->sp_version->version_disponible_num, -1);

    accueil->bt_lancement->setChecked(true);
    fenetre.cacher();
    App()->Event_CancelClose();
    w_main::detruit();
    // Only the preferences carry the box to the next start.
    fenetre.bt_lancement->setChecked(false);
    EXPECT_NE(demarre().contenu_courant(), 5);
    EXPECT_TRUE(fenetre.bt_lancement->isChecked());
    w_main::detruit();
}
