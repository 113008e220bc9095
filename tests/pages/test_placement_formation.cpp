// The training window beside the real main window, on the screens that the
// test's environment gives the platform: the main window opens centred on the
// primary screen and moved left, which leaves no room on its left. On two
// screens the test then moves it onto the other one, 20 points from the edge
// they share, as a user drags it there.

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
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

TEST(PlacementFormationEcran, BesideTheMainWindowElseWhereItCoversTheLeastOfIt) {
    // The training window's corner from the main window's frame: 10 points
    // right or left of it, tops aligned.
    const auto a_droite = [](const QRect& p) { return QPoint(p.right() + 1 + 10, p.top()); };
    const auto a_gauche = [](const QRect& p) { return QPoint(p.left() - 10 - 304, p.top()); };
    const struct {
        QList<QRect> ecrans; // the primary one first
        std::function<QPoint(const QRect&)> coin;
    } lignes[] = {
        {{QRect(0, 0, 1280, 800)}, a_droite},
        // Neither side has room: 10 points from the screen's right and bottom.
        {{QRect(0, 0, 910, 512)}, [](const QRect&) { return QPoint(596, 68); }},
        // Room on the main window's screen only on the side away from the
        // primary screen.
        {{QRect(0, 0, 1280, 800), QRect(1280, 0, 1280, 800)}, a_droite},
        {{QRect(1280, 0, 1280, 800), QRect(0, 0, 1280, 800)}, a_gauche},
    };
    QList<QRect> ecrans;
    for (const QScreen* ecran : QGuiApplication::screens())
        ecrans.append(ecran->availableGeometry());
    const auto ligne = std::find_if(std::begin(lignes), std::end(lignes),
                                    [&](const auto& l) { return l.ecrans == ecrans; });
    ASSERT_NE(ligne, std::end(lignes));
    parametres_v1::niveau_version_preferences = 0;
    w_web::instance().interroge = [] { return false; };
    App()->Event_Open();
    w_main& principale = w_main::instance();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !principale.thread_lancement.isActive(); }, 10000));
    ASSERT_EQ(principale.contenu_courant(), coquille::ecran_accueil);
    if (ecrans.size() == 2) {
        const QRect& autre = ecrans[1];
        const int largeur = principale.frameGeometry().width();
        principale.move(autre.left() > ecrans[0].left() ? autre.left() + 20
                                                        : autre.right() + 1 - 20 - largeur,
                        principale.y());
    }
    QScreen* ecran_principale = QGuiApplication::screens().back();
    ASSERT_TRUE(QTest::qWaitFor([&] { return principale.screen() == ecran_principale; }));
    principale.p_accueil->bt_formation->click();
    w_formation& fenetre = w_formation::instance();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fenetre));
    EXPECT_EQ(fenetre.frameGeometry(),
              QRect(ligne->coin(principale.frameGeometry()), QSize(304, 434)));
    EXPECT_TRUE(ecran_principale->availableGeometry().contains(fenetre.frameGeometry()));
    fenetre.cacher();
    App()->Event_CancelClose();
    w_main::detruit();
}
