#include "w_secondaire.h"

#include "participants.h"
#include "repondeur.h"

#include <gtest/gtest.h>

namespace {

class Secondaire : public testing::Test {
protected:
    void SetUp() override {
        fenetre.setGeometry(100, 50, 711, 500);
        dialogue.setGeometry(5, 7, 471, 276);
    }

    participants::fenetre fenetre;
    w_secondaire dialogue;
    repondeur::garde garde;
};

} // namespace

TEST_F(Secondaire, CentresOverTheMainWindowOrSitsAtItsCorner) {
    dialogue.positionner(1);
    EXPECT_EQ(dialogue.geometry(), QRect(220, 162, 471, 276));
    dialogue.positionner(2);
    EXPECT_EQ(dialogue.geometry(), QRect(121, 71, 471, 276));
    dialogue.resize(900, 601);
    dialogue.positionner(1);
    EXPECT_EQ(dialogue.geometry(), QRect(5, 0, 900, 601)) << "100 - 94.5 and 50 - 50.5, truncated";
    dialogue.resize(300, 200);
    fenetre.setGeometry(-400, 10, 301, 100);
    dialogue.positionner(1);
    EXPECT_EQ(dialogue.geometry().topLeft(), QPoint(-399, -40));
}

TEST_F(Secondaire, OtherCodesAndNoMainWindowMoveNothing) {
    for (int code : {0, 3, -1}) {
        dialogue.positionner(code);
        EXPECT_EQ(dialogue.geometry(), QRect(5, 7, 471, 276));
    }
    coquille::installe_w_main(nullptr);
    dialogue.positionner(1);
    dialogue.positionner(2);
    EXPECT_EQ(dialogue.geometry(), QRect(5, 7, 471, 276));
}

TEST_F(Secondaire, ModalShowReturnsOnceHidden) {
    bool vu = false;
    repondeur::quand_visible([&](QWidget* modale) {
        vu = true;
        EXPECT_EQ(modale, &dialogue);
        EXPECT_EQ(dialogue.geometry(), QRect(220, 162, 471, 276));
        dialogue.hide();
    });
    dialogue.montrer_modale(1);
    EXPECT_TRUE(vu);
    EXPECT_FALSE(dialogue.isVisible());
}

TEST_F(Secondaire, ModelessShowReturnsAtOnce) {
    dialogue.montrer_amodale(2);
    EXPECT_TRUE(dialogue.isVisible());
    EXPECT_FALSE(dialogue.isModal());
    EXPECT_EQ(dialogue.geometry(), QRect(121, 71, 471, 276));
}
