#include "fleche_droite.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>

TEST(Fleches, DrawShaftAndHeadWhereTheyBelong) {
    struct cas {
        QString direction;
        std::vector<QPoint> encre, fond; // in the arrow's colour, left in the background's
    };
    const std::vector<cas> table = {
        {"right",
         {{0, 6}, {0, 18}, {33, 6}, {34, 0}, {34, 23}, {49, 12}, {20, 12}},
         {{0, 5}, {0, 19}, {33, 2}, {49, 9}}},
        {"up", // any other text draws a right arrow
         {{0, 6}, {49, 12}},
         {{1, 1}}},
        {"left",
         {{0, 12}, {16, 0}, {16, 23}, {49, 6}, {49, 18}, {30, 12}},
         {{17, 2}, {49, 5}, {49, 19}, {1, 9}}},
    };
    for (const cas& c : table) {
        fleche_droite fleche;
        fleche.resize(50, 24);
        fleche.direction = c.direction;
        fleche.BackColor = QColor(0x20, 0x80, 0x20);
        fleche.EnabledColor = QColor(0xFF, 0x00, 0x00);
        const QImage image = fleche.grab().toImage();
        for (const QPoint& p : c.encre)
            EXPECT_EQ(image.pixelColor(p), fleche.EnabledColor)
                << c.direction.toStdString() << " at " << p.x() << "," << p.y();
        for (const QPoint& p : c.fond)
            EXPECT_EQ(image.pixelColor(p), fleche.BackColor)
                << c.direction.toStdString() << " at " << p.x() << "," << p.y();
    }
}

TEST(Fleches, ActsOnceAtThePressWhileEnabledOnly) {
    fleche_gauche fleche; // turned left before its owner's Open handler
    QString vue;
    QObject::connect(&fleche, &fleche_droite::Open, [&] { vue = fleche.direction; });
    fleche.direction = "right";
    fleche.resize(50, 24);
    fleche.show();
    EXPECT_EQ(vue, "left");
    int actions = 0;
    Qt::CursorShape pendant = Qt::ArrowCursor;
    QObject::connect(&fleche, &fleche_droite::Action, [&] {
        ++actions;
        pendant = fleche.cursor().shape();
        fleche.setEnabled(false); // the handler may disable the control
    });
    QTest::mousePress(&fleche, Qt::LeftButton, {}, QPoint(10, 12));
    EXPECT_EQ(pendant, Qt::BlankCursor);
    EXPECT_EQ(fleche.cursor().shape(), Qt::PointingHandCursor) << "back after the action";
    QTest::mouseRelease(&fleche, Qt::LeftButton, {}, QPoint(10, 12));
    EXPECT_EQ(actions, 1) << "the release raises nothing";

    EXPECT_EQ(fleche.grab().toImage().pixelColor(30, 12), fleche.DisabledColor);
    EXPECT_EQ(fleche.cursor().shape(), Qt::ArrowCursor) << "set by the paint";
    QTest::mouseClick(&fleche, Qt::LeftButton, {}, QPoint(10, 12));
    EXPECT_EQ(actions, 1);
}

TEST(Fleches, AssistiveTechnologyReadsAButtonNamedByItsWayAndPressesItWhileEnabled) {
    fleche_droite droite;
    fleche_gauche gauche;
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&droite)->text(QAccessible::Name), "Suivant");
    QAccessibleInterface* lu = QAccessible::queryAccessibleInterface(&gauche);
    EXPECT_EQ(lu->role(), QAccessible::Button);
    EXPECT_EQ(lu->text(QAccessible::Name), "Précédent");
    int actions = 0;
    QObject::connect(&gauche, &fleche_droite::Action, [&actions] { ++actions; });
    for (const bool active : {true, false}) {
        gauche.setEnabled(active);
        EXPECT_EQ(lu->state().disabled, !active);
        lu->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    }
    EXPECT_EQ(actions, 1);
}

// Tab reaches the arrows; Space, Return and Enter act at once, once per
// press; a frame shows the focus that the keyboard brought, not a click's.
TEST(Fleches, TheKeyboardReachesAndPressesThem) {
    QWidget fenetre;
    auto* gauche = new fleche_gauche(&fenetre);
    auto* droite = new fleche_droite(&fenetre);
    gauche->setGeometry(0, 0, 50, 30);
    droite->setGeometry(60, 0, 50, 30);
    fenetre.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fenetre));
    fenetre.activateWindow();
    gauche->setFocus(Qt::TabFocusReason);
    QTest::keyClick(gauche, Qt::Key_Tab);
    EXPECT_TRUE(droite->hasFocus());
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(droite)->state().focusable);
    int actions = 0;
    QObject::connect(droite, &fleche_droite::Action, [&] { ++actions; });
    QTest::keyClick(droite, Qt::Key_Space);
    QTest::keyClick(droite, Qt::Key_Return);
    QTest::keyClick(droite, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(droite, Qt::Key_A);
    QKeyEvent repetee(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ", true);
    QApplication::sendEvent(droite, &repetee);
    EXPECT_EQ(actions, 3);
    const QColor cadre = droite->palette().color(QPalette::Highlight);
    EXPECT_EQ(droite->grab().toImage().pixelColor(25, 1), cadre);
    QTest::mouseClick(gauche, Qt::LeftButton, {}, QPoint(10, 15));
    gauche->setFocus(Qt::MouseFocusReason);
    EXPECT_NE(gauche->grab().toImage().pixelColor(25, 1), cadre);
}
