// The training window beside the real main window, on a screen of 1280 x 800
// (the platform's screen is set by the test's environment): the main window
// opens centred and moved left, which leaves no room on its left.

#include "app.h"
#include "cp_accueil.h"
#include "parametres_v1.h"
#include "w_formation.h"
#include "w_main.h"
#include "w_web.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QtTest/QTest>
#include <gtest/gtest.h>

TEST(PlacementFormationEcran, OnA1280By800ScreenTheTrainingWindowGoesRightOfTheMainWindow) {
    ASSERT_EQ(QGuiApplication::primaryScreen()->availableGeometry(), QRect(0, 0, 1280, 800));
    parametres_v1::niveau_version_preferences = 0;
    w_web::instance().interroge = [] { return false; };
    App()->Event_Open();
    w_main& principale = w_main::instance();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !principale.thread_lancement.isActive(); }, 10000));
    ASSERT_EQ(principale.contenu_courant(), coquille::ecran_accueil);
    principale.p_accueil->bt_formation->click();
    w_formation& fenetre = w_formation::instance();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fenetre));
    const QRect cadre_principal = principale.frameGeometry();
    const QRect cadre_formation = fenetre.frameGeometry();
    EXPECT_FALSE(cadre_principal.intersects(cadre_formation));
    // 10 points right of it, tops aligned, on the screen.
    EXPECT_EQ(cadre_formation.left(), cadre_principal.right() + 1 + 10);
    EXPECT_EQ(cadre_formation.top(), cadre_principal.top());
    EXPECT_TRUE(QRect(0, 0, 1280, 800).contains(cadre_formation));
    fenetre.cacher();
    App()->Event_CancelClose();
    w_main::detruit();
}
