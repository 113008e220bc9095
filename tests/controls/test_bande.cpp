// The mouse goes through the window system, as a real pointer's would: the
// application then knows which buttons are down, and enter and leave follow.
#define QTEST_QPA_MOUSE_HANDLING

#include "CustomTabPanelTabs.h"
#include "illustrations_onglets.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QMenu>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// A strip of 636 x 27 at (2, 2) of a container at (10, 40) of a window whose
// client area lies at (100, 80) of the screen, with every signal written down.
struct banc {
    QWidget fenetre;
    QWidget conteneur{&fenetre};
    CustomTabPanelTabs bande{&conteneur};
    std::vector<std::string> evenements;
    bool veto = false;
    int ouvertures = 0;

    explicit banc(bool montrer = true) {
        fenetre.setGeometry(100, 80, 660, 120);
        conteneur.setGeometry(10, 40, 640, 60);
        bande.setGeometry(2, 2, 636, 27);
        auto note = [this](const char* nom, int i) {
            evenements.push_back(std::string(nom) + " " + std::to_string(i));
        };
        QObject::connect(&bande, &CustomTabPanelTabs::TabChanged,
                         [=](int i) { note("changed", i); });
        QObject::connect(&bande, &CustomTabPanelTabs::TabRemoved,
                         [=](int i) { note("removed", i); });
        QObject::connect(&bande, &CustomTabPanelTabs::CancelRemoveTab,
                         [this](int, bool& annuler) { annuler = veto; });
        QObject::connect(&bande, &CustomTabPanelTabs::Open, [this] { ++ouvertures; });
        if (montrer) {
            fenetre.show();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&fenetre));
        }
    }
    void trois() {
        for (const char* titre : {"Un", "Deux", "Trois"})
            bande.appendTab(titre, true);
    }
    std::vector<std::string> releve() { return std::exchange(evenements, {}); }
    QImage image() { return bande.grab().toImage(); }
    CustomTab& onglet(int i) { return *bande.tabs[i]; }
    QPoint milieu(int i) { return {onglet(i).x() + 30, onglet(i).y() + 10}; }
    QPoint case_fermeture(int i) {
        const LittleMiscButton& b = *onglet(i).closeBoxButton;
        return {onglet(i).x() + b.x + b.width() / 2, onglet(i).y() + b.y + b.height() / 2};
    }
    void clic(QPoint p) { QTest::mouseClick(&bande, Qt::LeftButton, {}, p); }
    void fin_glissement() {
        EXPECT_TRUE(QTest::qWaitFor([this] { return !bande.glissement_en_cours(); }));
    }
};

} // namespace

TEST(Bande, FrontTabFollowsAppendSelectAndRemoveWithoutMovingTabs) {
    banc b;
    EXPECT_EQ(b.ouvertures, 1);
    EXPECT_EQ(b.bande.value(), -1);
    b.trois();
    EXPECT_EQ(b.releve(), (std::vector<std::string>{"changed 0", "changed 1", "changed 2"}));

    struct cas {
        int v, front;
        std::vector<std::string> attendus;
    };
    const std::vector<cas> table = {
        {2, 2, {}},             // already in front: nothing
        {0, 0, {"changed 0"}},  // a back tab
        {3, 0, {"changed 0"}},  // past the end: tab 0, raised although in front
        {-1, 2, {"changed 2"}}, // below 0: the last tab
    };
    for (const cas& c : table) {
        b.bande.setValue(c.v);
        EXPECT_EQ(b.bande.value(), c.front) << c.v;
        EXPECT_EQ(b.releve(), c.attendus) << c.v;
    }
    b.bande.setEnabled(1, false);
    b.bande.setValue(1);
    EXPECT_EQ(b.bande.value(), 2) << "a disabled tab does not come to the front";
    EXPECT_EQ(b.bande.caption(1), "Deux") << "selecting never moves a tab";
    EXPECT_EQ(b.bande.drawOrder.front(), &b.onglet(1)) << "the back-most: selected first";

    b.veto = true;
    b.bande.removeTab(2);
    EXPECT_EQ(b.bande.tabCount(), 3) << "vetoed";
    b.veto = false;
    b.bande.removeTab(-1);
    b.bande.removeTab(2); // the last tab: no slide
    EXPECT_EQ(b.releve(), (std::vector<std::string>{"removed 2"}));
    EXPECT_EQ(b.bande.value(), 0) << "the tab in front before it";

    EXPECT_EQ(b.bande.caption(5), "");
    EXPECT_FALSE(b.bande.closeBox(5));
    b.bande.clear();
    EXPECT_EQ(b.bande.value(), -1);
    EXPECT_TRUE(b.releve().empty());
}

TEST(Bande, TabsShrinkToFitAndGrowBackAndTheRestOverflow) {
    banc b(false); // appending before the strip is shown works
    const QString titre = "Créer un ensemble de code-barres";
    const int chevauchement = rightTabOutline::rightTabOutline()->Width();
    for (int n = 1; n <= 9; ++n) {
        b.bande.appendTab(titre, true);
        int place = 0;
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(b.onglet(i).x(), place) << n << " tabs, tab " << i;
            EXPECT_GE(b.onglet(i).width(), 80);
            place += b.onglet(i).width() - chevauchement;
        }
        const CustomTab& derniere = b.onglet(n - 1);
        if (derniere.width() > 80) { // room was found for every tab
            EXPECT_LE(derniere.x() + derniere.width(), 636) << n << " tabs";
        }
    }
    b.fenetre.show();
    b.image();
    EXPECT_FALSE(b.onglet(8).visible) << "nine tabs of 80 do not fit in 636";
    EXPECT_EQ(b.bande.hiddenIndex, 8);

    const int optimum = b.onglet(0).optimumSize();
    while (b.bande.tabCount() > 1)
        b.bande.removeTab(0);
    b.fin_glissement();
    EXPECT_EQ(b.onglet(0).width(), optimum) << "grown back";
    EXPECT_EQ(b.onglet(0).x(), 0);
    EXPECT_EQ(b.bande.hiddenIndex, 0) << "kept within the tabs";
}

TEST(Bande, RemovalSlidesThenRaisesItsEventAndTheBoundPanelFollows) {
    banc b;
    QStackedWidget pages;
    std::vector<int> ajouts;
    QObject::connect(&b.bande, &CustomTabPanelTabs::PanelPageAdded,
                     [&](QStackedWidget* p, int i) { ajouts.push_back(p == &pages ? i : -1); });
    b.bande.attachPanel(&pages);
    b.trois();
    EXPECT_EQ(ajouts, (std::vector<int>{0, 1, 2}));
    b.bande.setValue(0);
    EXPECT_EQ(pages.currentIndex(), 0);
    b.bande.setValue(2);
    QWidget* troisieme = pages.widget(2);
    const int fin = b.onglet(1).x();
    const int depart = b.onglet(2).x();
    b.releve();
    b.bande.removeTab(1);
    EXPECT_TRUE(b.releve().empty()) << "the slide is still running";
    EXPECT_EQ(b.bande.value(), 1) << "the front tab is already renumbered";
    EXPECT_LT(b.onglet(1).x(), depart);
    b.fin_glissement();
    EXPECT_EQ(b.releve(), (std::vector<std::string>{"removed 1"}));
    EXPECT_EQ(b.onglet(1).x(), fin);
    EXPECT_EQ(pages.count(), 2);
    EXPECT_EQ(pages.widget(1), troisieme);
    EXPECT_EQ(pages.currentIndex(), 1);

    b.bande.removeTab(0);
    b.bande.appendTab("Quatre"); // ends the slide first
    EXPECT_EQ(b.releve(), (std::vector<std::string>{"removed 0", "changed 1"}));
    EXPECT_EQ(b.onglet(0).x(), 0);
}

TEST(Bande, MouseSelectsClosesAndAbandons) {
    banc b;
    b.trois();
    b.releve();

    b.clic(b.milieu(0));
    EXPECT_EQ(b.releve(), (std::vector<std::string>{"changed 0"}));
    b.clic(b.milieu(0));
    EXPECT_TRUE(b.releve().empty()) << "the front tab again";

    // Pressed on a close box, dragged away and released elsewhere: nothing.
    QTest::mousePress(&b.bande, Qt::LeftButton, {}, b.case_fermeture(1));
    QTest::mouseMove(&b.bande, QPoint(600, 25));
    QTest::mouseRelease(&b.bande, Qt::LeftButton, {}, QPoint(600, 25));
    EXPECT_TRUE(b.releve().empty());
    EXPECT_EQ(b.bande.tabCount(), 3);

    QTest::mouseMove(&b.bande, b.case_fermeture(1));
    b.clic(b.case_fermeture(1));
    EXPECT_EQ(b.bande.currentActionTab, nullptr) << "the pressed tab is gone";
    b.fin_glissement();
    EXPECT_EQ(b.releve(), (std::vector<std::string>{"removed 1"}));
    EXPECT_EQ(b.bande.caption(1), "Trois");

    b.bande.setEnabled(false);
    b.clic(b.milieu(1));
    EXPECT_TRUE(b.releve().empty()) << "a disabled strip takes no press";
}

TEST(Bande, MoreTabsButtonGivesAScreenPointAndAMenuDoesNotLeaveItPressed) {
    banc b;
    b.bande.appendTab("Un");
    b.image(); // places the button at (619, 2)
    QPoint recu;
    bool presse = false;
    QObject::connect(&b.bande, &CustomTabPanelTabs::MenuCustomTabBrimlow, [&](int x, int y) {
        recu = {x, y};
        presse = b.bande.scrollRightIcn->clicked;
        QMenu menu;
        menu.addAction("Créer un code-barres");
        QTimer::singleShot(0, &menu, [&] {
            QTest::mouseRelease(menu.windowHandle(), Qt::LeftButton, {}, QPoint(-5, -5));
            menu.close();
        });
        menu.exec(QPoint(x, y));
    });
    QTest::mousePress(&b.bande, Qt::LeftButton, {}, QPoint(625, 8));
    EXPECT_EQ(recu, QPoint(748, 124));
    EXPECT_TRUE(presse);
    EXPECT_FALSE(b.bande.scrollRightIcn->clicked) << "the menu took the release";
    EXPECT_EQ(b.bande.currentActionTab, nullptr);
}

TEST(Bande, PaintsBandButtonAndVeil) {
    banc b(false);
    const QRgb sombre = 0x262626;
    QImage image = b.image();
    EXPECT_EQ(image.pixel(0, 26) & 0xFFFFFF, sombre);
    EXPECT_EQ(image.pixel(635, 22) & 0xFFFFFF, sombre);
    const QRgb fond = image.pixel(625, 8);
    EXPECT_EQ(fond, image.pixel(300, 8)) << "no tab, no button";

    b.bande.appendTab("Un");
    // Before any window is shown the application is not the active one.
    const bool inactive = QGuiApplication::applicationState() != Qt::ApplicationActive;
    const QColor voilee = b.image().pixelColor(300, 24);
    b.fenetre.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&b.fenetre));
    image = b.image();
    EXPECT_NE(image.pixel(625, 8), fond) << "the more-tabs button";
    const QColor bande = image.pixelColor(300, 24);
    EXPECT_EQ(voilee.lightness() > bande.lightness(), inactive);

    b.bande.setEnabled(false);
    EXPECT_GT(b.image().pixelColor(300, 24).lightness(), bande.lightness()) << "veiled";
    b.bande.setEnabled(true);
    EXPECT_EQ(b.image().pixelColor(300, 24), bande);
}

TEST(Bande, EachFacingPlacesItsTabsAndItsButton) {
    struct cas {
        int facing, largeur, hauteur;
        QPoint onglet, bouton;
    };
    const std::vector<cas> table = {
        {0, 636, 27, {0, 0}, {619, 2}},
        {1, 636, 27, {0, 5}, {619, 12}},
        {2, 27, 100, {5, 0}, {10, 85}},
        {3, 100, 100, {0, 0}, {77, 85}},
    };
    for (const cas& c : table) {
        banc b;
        b.bande.setFacing(c.facing + 4); // outside 0-3: refused
        b.bande.setFacing(-1);
        EXPECT_EQ(b.bande.Facing(), 0);
        b.bande.setFacing(c.facing);
        EXPECT_EQ(c.facing < 2 ? b.bande.height() : b.bande.width(), 27) << "the thickness";
        b.bande.resize(c.largeur, c.hauteur);
        b.bande.appendTab("Un");
        b.image();
        EXPECT_EQ(QPoint(b.onglet(0).x(), b.onglet(0).y()), c.onglet) << c.facing;
        EXPECT_EQ(QPoint(b.bande.scrollRightIcn->x, b.bande.scrollRightIcn->y), c.bouton)
            << c.facing;
    }
}

TEST(Bande, AssistiveTechnologyReadsEachTabAndSelectsItByItsPressAction) {
    banc b;
    b.trois();
    b.bande.setEnabled(1, false);
    b.releve();
    QAccessibleInterface* liste = QAccessible::queryAccessibleInterface(&b.bande);
    EXPECT_EQ(liste->role(), QAccessible::PageTabList);
    ASSERT_EQ(liste->childCount(), 3);
    // Pressed: a back tab, the disabled tab, any tab of a disabled strip.
    for (const auto& [presse, bande_active] : {std::pair{0, true}, {1, true}, {2, false}}) {
        b.bande.setEnabled(bande_active);
        liste->child(presse)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
        for (int i = 0; i < 3; ++i) {
            const QAccessibleInterface* onglet = liste->child(i);
            EXPECT_EQ(onglet->role(), QAccessible::PageTab);
            EXPECT_EQ(onglet->text(QAccessible::Name), QStringList({"Un", "Deux", "Trois"}).at(i));
            EXPECT_EQ(onglet->state().selected, i == 0) << presse << " " << i;
            EXPECT_EQ(onglet->state().disabled, i == 1 || !bande_active) << presse << " " << i;
        }
    }
    EXPECT_EQ(b.releve(), std::vector<std::string>{"changed 0"});
}
