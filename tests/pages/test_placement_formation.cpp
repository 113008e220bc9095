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
#include <QList>
#include <QPushButton>
#include <QScreen>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>

TEST(PlacementFormationEcran, BesideTheMainWindowElseWhereItCoversTheLeastOfIt) {
    // By the screen's available area, where the training window's frame goes
    // from the main window's frame (whose height follows the menu's font).
    const QList<std::pair<QRect, std::function<QPoint(const QRect&)>>> table = {
        // 10 points right of the main window, tops aligned.
        {QRect(0, 0, 1280, 800),
         [](const QRect& principale) {
             return QPoint(principale.right() + 1 + 10, principale.top());
         }},
        // 1366 x 768 at 150 %: no room beside it; 10 points from the screen's
        // right and bottom edges, over the main window's right 48 points.
        {QRect(0, 0, 910, 512), [](const QRect&) { return QPoint(596, 68); }},
    };
    const QRect ecran = QGuiApplication::primaryScreen()->availableGeometry();
    const auto ligne = std::find_if(table.cbegin(), table.cend(),
                                    [&](const auto& cas) { return cas.first == ecran; });
    ASSERT_NE(ligne, table.cend()) << ecran.width() << "x" << ecran.height();
    parametres_v1::niveau_version_preferences = 0;
    w_web::instance().interroge = [] { return false; };
    App()->Event_Open();
    w_main& principale = w_main::instance();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !principale.thread_lancement.isActive(); }, 10000));
    ASSERT_EQ(principale.contenu_courant(), coquille::ecran_accueil);
    principale.p_accueil->bt_formation->click();
    w_formation& fenetre = w_formation::instance();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fenetre));
    EXPECT_EQ(fenetre.frameGeometry(),
              QRect(ligne->second(principale.frameGeometry()), QSize(304, 434)));
    fenetre.cacher();
    App()->Event_CancelClose();
    w_main::detruit();
}
