#include "fleche_droite.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct point_attendu {
    int x, y;
    bool encre; // drawn in the arrow's colour, or left in the background colour
};

} // namespace

TEST(Fleches, DrawShaftAndHeadWhereTheyBelong) {
    struct cas {
        const char* nom;
        QString direction;
        std::vector<point_attendu> points;
    };
    const std::vector<cas> table = {
        {"right",
         "right",
         {{0, 6, true},
          {0, 18, true},
          {0, 5, false},
          {0, 19, false},
          {33, 6, true},
          {34, 0, true},
          {34, 23, true},
          {33, 2, false},
          {49, 12, true},
          {49, 9, false},
          {20, 12, true}}},
        {"any other text", "up", {{0, 6, true}, {49, 12, true}, {1, 1, false}}},
        {"left",
         "left",
         {{0, 12, true},
          {16, 0, true},
          {16, 23, true},
          {17, 2, false},
          {49, 6, true},
          {49, 18, true},
          {49, 5, false},
          {49, 19, false},
          {1, 9, false},
          {30, 12, true}}},
    };
    for (const cas& c : table) {
        fleche_droite fleche;
        fleche.resize(50, 24);
        fleche.direction = c.direction;
        fleche.BackColor = QColor(0x20, 0x80, 0x20);
        fleche.EnabledColor = QColor(0xFF, 0x00, 0x00);
        const QImage image = fleche.grab().toImage();
        for (const point_attendu& p : c.points)
            EXPECT_EQ(image.pixelColor(p.x, p.y), p.encre ? fleche.EnabledColor : fleche.BackColor)
                << c.nom << " at " << p.x << "," << p.y;
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
