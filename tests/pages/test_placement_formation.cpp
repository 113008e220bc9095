// The training window beside the real main window, on the screen that the
// test's environment gives the platform: the main window opens centred and
// moved left, which leaves no room on its left.

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

TEST(PlacementFormationEcran, BesideTheMainWindowElseWhereItCoversTheLeastOfIt) {
    const QRect ecran = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_TRUE(ecran == QRect(0, 0, 1280, 800) || ecran == QRect(0, 0, 910, 512));
    parametres_v1::niveau_version_preferences = 0;
    w_web::instance().interroge = [] { return false; };
    App()->Event_Open();
    w_main& principale = w_main::instance();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !principale.thread_lancement.isActive(); }, 10000));
    ASSERT_EQ(principale.contenu_courant(), coquille::ecran_accueil);
    principale.p_accueil->bt_formation->click();
    w_formation& fenetre = w_formation::instance();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fenetre));
    const QRect p = principale.frameGeometry();
    // 10 points right of the main window, tops aligned; on 910 x 512, where
    // neither side has room, 10 points from the screen's right and bottom.
    const QPoint coin =
        ecran.width() == 1280 ? QPoint(p.right() + 1 + 10, p.top()) : QPoint(596, 68);
    EXPECT_EQ(fenetre.frameGeometry(), QRect(coin, QSize(304, 434)));
    fenetre.cacher();
    App()->Event_CancelClose();
    w_main::detruit();
}
