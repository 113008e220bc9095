#include "CustomTab.h"
#include "CustomTabGlobals.h"
#include "LittleMiscButton.h"
#include "illustrations_onglets.h"
#include "rapports.h"
#include "ressources.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using Accesseur = PictureRef (*)();

QSize taille(Accesseur a) {
    return QSize(a()->Width(), a()->Height());
}
int gris(const Picture& p, int x, int y) {
    return qGray(p.pixel(x, y));
}

// A picture of one colour.
PictureRef aplat(int l, int h, QRgb couleur) {
    PictureRef p = Picture::NewPicture(l, h);
    p->graphics().setForeColor(couleur);
    p->graphics().FillRect(0, 0, l, h);
    return p;
}

// A strip of two tabs, "Autre" and "Titre", side by side, each overlapping the
// last by the right end cap's width, over the band along the page edge.
struct bande_essai {
    int facing;
    bool verticale = facing >= CustomTab::E;
    std::vector<std::unique_ptr<CustomTab>> tabs;
    PictureRef image;

    bande_essai(int f, bool fermeture_seconde) : facing(f) {
        const int recouvrement = rightTabOutline::rightTabOutline()->Width();
        int position = 0;
        for (auto [titre, fermeture] : {std::pair{"Autre", true}, {"Titre", fermeture_seconde}}) {
            CustomTab& tab = *tabs.emplace_back(std::make_unique<CustomTab>(titre, fermeture, f));
            if (verticale) {
                tab.setX(f == CustomTab::E ? tabSeparatorW::tabSeparatorW()->Width() : 0);
                tab.setY(position);
                position += tab.height() - recouvrement;
            } else {
                tab.setX(position);
                tab.setY(f == CustomTab::S ? tabSeparatorS::tabSeparatorS()->Height() : 0);
                position += tab.width() - recouvrement;
            }
        }
        const int epaisseur =
            tabBackground::tabBackground()->Height() + tabSeparator::tabSeparator()->Height();
        image = Picture::NewPicture(verticale ? epaisseur : 300, verticale ? 300 : epaisseur);
    }

    // Paints the band, then the tabs back to front, tab `devant` last.
    Picture& peins(size_t devant) {
        Graphics& g = image->graphics();
        const int l = g.Width(), h = g.Height();
        g.setForeColor(0xDEDDDA);
        g.FillRect(0, 0, l, h);
        const Accesseur separateurs[] = {tabSeparator::tabSeparator, tabSeparatorS::tabSeparatorS,
                                         tabSeparatorE::tabSeparatorE,
                                         tabSeparatorW::tabSeparatorW};
        const Picture& s = *separateurs[facing]();
        const QRect ou[] = {{0, h - s.Height(), l, s.Height()},
                            {0, 0, l, s.Height()},
                            {0, 0, s.Width(), h},
                            {l - s.Width(), 0, s.Width(), h}};
        const QRect& r = ou[facing];
        g.DrawPicture(s, r.x(), r.y(), r.width(), r.height(), 0, 0, s.Width(), s.Height());
        for (size_t i = 0; i < tabs.size(); ++i)
            if (i != devant)
                tabs[i]->paint(g, false);
        tabs[devant]->paint(g, true);
        return *image;
    }
};

} // namespace

TEST(Dessin, MasksTransparencyLinesAndCondensedText) {
    Picture fond(200, 20);
    const PictureRef rouge = aplat(4, 1, 0xFF0000);
    rouge->Mask().pixels().setPixel(1, 0, qRgb(255, 255, 255));
    rouge->Mask().pixels().setPixel(2, 0, qRgb(0x88, 0x88, 0x88));
    rouge->pixels().setPixel(3, 0, qRgb(255, 255, 255));
    rouge->Transparent = 1;
    fond.graphics().setForeColor(0x000000);
    fond.graphics().FillRect(0, 0, 200, 20);
    fond.graphics().DrawPicture(*rouge, 0, 0);
    EXPECT_EQ(fond.pixel(0, 0), 0xFF0000u);
    EXPECT_EQ(fond.pixel(1, 0), 0x000000u);
    EXPECT_NEAR(qRed(fond.pixel(2, 0)), 119, 2);
    EXPECT_EQ(fond.pixel(3, 0), 0x000000u);
    QImage alpha(2, 1, QImage::Format_ARGB32);
    alpha.setPixel(0, 0, qRgba(0, 0, 255, 0));
    alpha.setPixel(1, 0, qRgba(0, 0, 255, 255));
    const Picture icone(alpha);
    EXPECT_EQ(icone.opacite(0, 0), 0);
    EXPECT_EQ(icone.opacite(1, 0), 255);
    EXPECT_EQ(icone.pixel(1, 0), 0x0000FFu);
    Graphics& g = fond.graphics();
    g.setForeColor(0xFFFFFF);
    g.DrawLine(5, 3, 9, 3);
    EXPECT_EQ(fond.pixel(5, 3), 0xFFFFFFu);
    EXPECT_EQ(fond.pixel(9, 3), 0xFFFFFFu);
    EXPECT_EQ(fond.pixel(10, 3), 0x000000u);
    g.setTextSize(13);
    const QString texte = "Un titre bien trop long";
    g.DrawString(texte, 0, 18, g.StringWidth(texte) / 2, true);
    ASSERT_LT(g.StringWidth(texte), 200);
    bool ecrit = false;
    for (int y = 5; y < 20; ++y)
        ecrit = ecrit || fond.pixel(3, y) != 0;
    EXPECT_TRUE(ecrit);
    for (int x = g.StringWidth(texte) / 2 + 1; x < 200; ++x)
        for (int y = 5; y < 20; ++y)
            ASSERT_EQ(fond.pixel(x, y), 0x000000u) << x;
}

TEST(Illustrations, AllThereAndMasksAgreeInSize) {
    for (int numero = 172; numero <= 205; ++numero)
        EXPECT_FALSE(ressources::image(numero).isNull()) << numero;
    // Masks as large as their images; E and W end shapes turned.
    const std::vector<std::pair<Accesseur, Accesseur>> memes = {
        {closeBoxData::closeBoxData, closeBoxMask::closeBoxMask},
        {closeBoxData::closeBoxData, closeBoxMaskOver::closeBoxMaskOver},
        {closeBoxData::closeBoxData, closeBoxMaskClicked::closeBoxMaskClicked},
        {moreTabsData::moreTabsData, moreTabsMask::moreTabsMask},
        {moreTabsData::moreTabsData, moreTabsMaskOver::moreTabsMaskOver},
        {moreTabsData::moreTabsData, moreTabsMaskClicked::moreTabsMaskClicked},
        {leftTabOutline::leftTabOutline, leftTabOutlineMask::leftTabOutlineMask},
        {leftTabOutlineS::leftTabOutlineS, leftTabOutlineMaskS::leftTabOutlineMaskS},
        {rightTabOutline::rightTabOutline, rightTabOutlineMask::rightTabOutlineMask},
        {rightTabOutlineS::rightTabOutlineS, rightTabOutlineMaskS::rightTabOutlineMaskS},
        {leftTabOutline::leftTabOutline, leftTabMask::leftTabMask},
        {leftTabOutline::leftTabOutline, leftTabMaskS::leftTabMaskS},
        {rightTabOutline::rightTabOutline, rightTabMask::rightTabMask},
        {rightTabOutline::rightTabOutline, rightTabMaskS::rightTabMaskS}};
    for (const auto& [image, masque] : memes)
        EXPECT_EQ(taille(image), taille(masque));
    for (Accesseur a : {leftTabMaskE::leftTabMaskE, leftTabMaskW::leftTabMaskW,
                        rightTabMaskE::rightTabMaskE, rightTabMaskW::rightTabMaskW})
        EXPECT_EQ(taille(a), taille(leftTabOutline::leftTabOutline).transposed());
}

TEST(Illustrations, MissingPictureIsNothingAndTheTabKeepsWhatItHad) {
    test_support::rapports r;
    CustomTab tab("Onglet", true, CustomTab::N);
    const PictureRef image = tab.tabPicture, rendu = tab.tabData;
    const auto source = illustrations_onglets::source;
    illustrations_onglets::source = [&](int n) {
        return n == 196 || n == 172 ? QImage() : source(n);
    };
    const PictureRef corps = tabBackground::_permapic, boite = closeBoxData::_permapic;
    tabBackground::_permapic = closeBoxData::_permapic = nullptr;
    EXPECT_FALSE(tabBackground::tabBackground());
    tab.setCaption("Autre titre");
    tab.setWidth(200);
    EXPECT_EQ(tab.tabPicture, image);
    EXPECT_EQ(tab.tabData, rendu);
    CustomTab nouveau("Nouveau", false, CustomTab::E);
    EXPECT_FALSE(nouveau.tabPicture);
    CustomTab sans_boite("Boîte", true, CustomTab::N);
    EXPECT_FALSE(sans_boite.closeBox());
    Picture fond(100, 30);
    nouveau.paint(fond.graphics(), true);
    EXPECT_FALSE(nouveau.hit(0, 0));
    EXPECT_GE(r.textes.size(), 3);
    EXPECT_TRUE(r.textes.first().startsWith("Exception en CustomTab.buildTab"));
    illustrations_onglets::source = source;
    EXPECT_EQ(tabBackground::tabBackground()->Height(), 22);
    tabBackground::_permapic = corps;
    closeBoxData::_permapic = boite;
}

TEST(CustomTabGlobals, EndCapsAreSharedPerSlot) {
    using namespace CustomTabGlobals;
    ASSERT_TRUE(leftTabImg(0));
    EXPECT_EQ(leftTabImg(2), leftTabImg(0));
    EXPECT_EQ(leftTabImg(3), leftTabImg(0));
    EXPECT_NE(leftTabImg(1), leftTabImg(0));
    EXPECT_NE(rightTabImg(1), rightTabImg(0));
    EXPECT_FALSE(leftTabImg(4));
    EXPECT_FALSE(rightTabImg(-1));
    EXPECT_EQ(leftTabImg(0)->Width(), leftTabOutline::leftTabOutline()->Width());
    EXPECT_EQ(rightTabImg(1)->Height(), rightTabOutlineS::rightTabOutlineS()->Height());
}

TEST(CustomTabGlobals, ScaleToFitCentresAndShrinks) {
    struct cas {
        int l, h, transparent;
        QRect attendu; // where the red lands in 16 x 16
        int fond;      // grey of a corner
    };
    for (const cas& c :
         {cas{10, 12, 0, QRect(3, 2, 10, 12), 255}, cas{32, 16, 0, QRect(0, 4, 16, 8), 0},
          cas{20, 40, 0, QRect(4, 0, 8, 16), 0}, cas{20, 40, 1, QRect(4, 0, 8, 16), 255}}) {
        const PictureRef r = CustomTabGlobals::scaleToFit(aplat(c.l, c.h, 0xFF0000), 16, 16,
                                                          c.transparent, 0x000000);
        ASSERT_EQ(r->Width(), 16);
        EXPECT_EQ(r->Transparent, c.transparent);
        QRect rouge;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                if (r->pixel(x, y) == 0xFF0000)
                    rouge |= QRect(x, y, 1, 1);
        EXPECT_EQ(rouge, c.attendu) << c.l << "x" << c.h;
        EXPECT_EQ(gris(*r, 15, 15) == 255 ? 255 : 0, c.fond) << c.l << "x" << c.h;
    }
    EXPECT_FALSE(CustomTabGlobals::scaleToFit(nullptr, 16, 16, 0, 0));
}

TEST(LittleMiscButton, HitPressDragAndPaint) {
    LittleMiscButton b(closeBoxData::closeBoxData(), closeBoxMask::closeBoxMask(),
                       closeBoxMaskOver::closeBoxMaskOver(),
                       closeBoxMaskClicked::closeBoxMaskClicked());
    b.x = 100;
    b.y = 4;
    EXPECT_TRUE(b.hit(100, 4));
    EXPECT_TRUE(b.hit(113, 17));
    EXPECT_FALSE(b.hit(99, 4));
    EXPECT_FALSE(b.hit(114, 4));
    // Down, drag out, drag back: pressed follows the pointer.
    EXPECT_TRUE(b.mouseDown(105, 8));
    EXPECT_FALSE(b.mouseDrag(200, 8));
    EXPECT_FALSE(b.clicked);
    EXPECT_TRUE(b.mouseDrag(105, 8));
    EXPECT_TRUE(b.clicked);
    // A move out ends hover and the press for good.
    EXPECT_TRUE(b.mouseMove(105, 8));
    EXPECT_TRUE(b.clicked);
    EXPECT_TRUE(b.mouseMove(200, 8));
    EXPECT_FALSE(b.clicked);
    EXPECT_TRUE(b.mouseMove(105, 8));
    EXPECT_FALSE(b.clicked);
    EXPECT_TRUE(b.mouseUp(-1, -1));
    // Painting keeps the context's colour; each look has its own mask.
    Picture fond(130, 30);
    fond.graphics().setForeColor(0x123456);
    std::vector<int> centres;
    for (auto [survol, presse] : {std::pair{false, false}, {true, false}, {true, true}}) {
        b.toggle = survol;
        b.clicked = presse;
        b.paint(fond.graphics(), 0, 0);
        centres.push_back(gris(fond, 102, 6));
    }
    EXPECT_EQ(fond.graphics().ForeColor(), 0x123456u);
    EXPECT_GT(centres[0], centres[1]);
    EXPECT_GT(centres[1], centres[2]);
    b.visible = false;
    EXPECT_FALSE(b.mouseDown(105, 8));
    EXPECT_FALSE(b.mouseMove(105, 8));
}

TEST(CustomTab, OptimumSizeAndLengthRule) {
    const int bouts =
        leftTabOutline::leftTabOutline()->Width() + rightTabOutline::rightTabOutline()->Width() + 7;
    CustomTab vide("", false, CustomTab::N);
    EXPECT_EQ(vide.optimumSize(), bouts);
    EXPECT_EQ(vide.width(), bouts);
    // Icons count 16; a larger one is replaced once by its fitted copy.
    const PictureRef petite = aplat(8, 8, 0x0000FF);
    CustomTab icone("", petite, true, CustomTab::N);
    EXPECT_EQ(icone.optimumSize(), bouts + 16 + 13);
    EXPECT_EQ(icone.icon(), petite);
    icone.setIcon(aplat(17, 10, 0x0000FF));
    EXPECT_EQ(icone.icon()->Width(), 16);
    EXPECT_EQ(icone.icon()->Height(), 16);
    icone.setCloseBox(false);
    EXPECT_EQ(icone.optimumSize(), bouts + 16);
    // A requested length is cut to the optimum size and raised to 80.
    CustomTab tab("Une légende assez longue", true, CustomTab::S);
    const int optimum = tab.optimumSize();
    ASSERT_GT(optimum, 110);
    for (auto [demande, longueur] : {std::pair{50, 80}, {100, 100}, {optimum * 2, optimum}}) {
        tab.setWidth(demande);
        EXPECT_EQ(tab.width(), longueur) << demande;
    }
}

TEST(CustomTab, RebuildsOnlyWhenSomethingChanges) {
    CustomTab tab("Créer", true, CustomTab::N);
    tab.setWidth(90);
    PictureRef avant = tab.tabData;
    tab.setWidth(90);
    tab.setCaption("Créer");
    tab.setCloseBox(true);
    EXPECT_EQ(tab.tabData, avant);
    // Captions differing by letter case are different captions.
    tab.setCaption("créer");
    EXPECT_NE(tab.tabData, avant);
    // A new icon at the same length shows.
    tab.setIcon(aplat(16, 16, 0xFF0000));
    const int longueur = tab.width();
    avant = tab.tabData;
    tab.setIcon(aplat(16, 16, 0x00FF00));
    EXPECT_EQ(tab.width(), longueur);
    EXPECT_NE(tab.tabData, avant);
    EXPECT_EQ(tab.tabData->pixel(leftTabOutline::leftTabOutline()->Width() + 8, 12), 0x00FF00u);
    // Dropping the close box at the same length gives its room to the caption.
    CustomTab long_titre("Une légende assez longue", false, CustomTab::N);
    const int sans_boite = long_titre.width();
    long_titre.setCloseBox(true);
    long_titre.setWidth(sans_boite);
    avant = long_titre.tabData;
    long_titre.setCloseBox(false);
    EXPECT_EQ(long_titre.width(), sans_boite);
    EXPECT_NE(long_titre.tabData, avant);
}

TEST(CustomTab, EachFacingCutsItsEndsAndPlacesItsCloseBox) {
    struct cas {
        int facing;
        Accesseur debut, fin; // the mask's end shapes, at (0, 0) and at the far end
    };
    for (const cas& c :
         {cas{CustomTab::N, leftTabMask::leftTabMask, rightTabMask::rightTabMask},
          cas{CustomTab::S, leftTabMaskS::leftTabMaskS, rightTabMaskS::rightTabMaskS},
          cas{CustomTab::E, leftTabMaskE::leftTabMaskE, rightTabMaskE::rightTabMaskE},
          cas{CustomTab::W, rightTabMaskW::rightTabMaskW, leftTabMaskW::leftTabMaskW}}) {
        bande_essai bande(c.facing, true);
        CustomTab& tab = *bande.tabs[1];
        EXPECT_EQ(bande.verticale ? tab.height() : tab.width(), tab.optimumSize()) << c.facing;
        EXPECT_EQ(bande.verticale ? tab.width() : tab.height(), 22) << c.facing;
        const Picture& masque = tab.tabPicture->Mask();
        const Picture &debut = *c.debut(), &fin = *c.fin();
        const int fx = masque.Width() - fin.Width(), fy = masque.Height() - fin.Height();
        for (int y = 0; y < debut.Height(); ++y)
            for (int x = 0; x < debut.Width(); ++x) {
                ASSERT_EQ(gris(masque, x, y), gris(debut, x, y)) << c.facing;
                ASSERT_EQ(gris(masque, fx + x, fy + y), gris(fin, x, y)) << c.facing;
            }
        EXPECT_EQ(gris(masque, masque.Width() / 2, masque.Height() / 2), 0) << c.facing;
        const int W = tab.width(), H = tab.height();
        const QPoint attendu = c.facing == CustomTab::E   ? QPoint(4, H - 23)
                               : c.facing == CustomTab::W ? QPoint(5, 10)
                                                          : QPoint(W - 23, 5);
        EXPECT_EQ(QPoint(tab.closeBoxButton->x, tab.closeBoxButton->y), attendu) << c.facing;
        // Painted behind: the cross at the box's centre, the light disc
        // beside it, the tinted body outside it.
        const Picture& image = bande.peins(0);
        const int bx = tab.x() + attendu.x(), by = tab.y() + attendu.y();
        EXPECT_LT(gris(image, bx + 6, by + 6), 110) << c.facing;
        EXPECT_EQ(gris(image, bx + 2, by + 6), 0xEE) << c.facing;
        EXPECT_NEAR(
            gris(image, bande.verticale ? bx + 6 : bx - 2, bande.verticale ? by - 2 : by + 6), 191,
            3)
            << c.facing;
        if (!bande.verticale)
            continue;
        // E reads downward, W upward: the caption begins near the top for E
        // and near the bottom for W, the close box being at the other end.
        const Picture& rendu = *tab.tabData;
        int haut = rendu.Height(), bas = 0;
        for (int y = 0; y < rendu.Height(); ++y)
            for (int x = 0; x < rendu.Width(); ++x)
                if (gris(rendu, x, y) < 60) {
                    haut = std::min(haut, y);
                    bas = std::max(bas, y);
                }
        const int marge = c.facing == CustomTab::E ? haut : rendu.Height() - 1 - bas;
        EXPECT_GE(marge, 12) << c.facing;
        EXPECT_LE(marge, 15) << c.facing;
    }
    test_support::rapports r;
    CustomTab faux("Onglet", true, 7);
    EXPECT_FALSE(faux.tabPicture);
    EXPECT_EQ(faux.width(), 0);
    Picture fond(100, 30);
    faux.paint(fond.graphics(), true);
    EXPECT_TRUE(r.textes.first().contains("orientation 7"));
}

TEST(CustomTab, PaintTintsByState) {
    struct cas {
        bool devant, presse, actif;
        int attendu; // grey of the body
    };
    for (const cas& c : {cas{true, false, true, 239}, cas{true, true, true, 239},
                         cas{false, false, true, 191}, cas{false, true, true, 127},
                         cas{true, false, false, 247}, cas{false, false, false, 221}}) {
        bande_essai bande(CustomTab::N, false);
        CustomTab& tab = *bande.tabs[0];
        tab.enabled = c.actif;
        tab.mouseHit = c.presse;
        const Picture& image = bande.peins(c.devant ? 0 : 1);
        EXPECT_NEAR(gris(image, tab.x() + 11, 12), c.attendu, 2) << c.devant << c.presse << c.actif;
        // The joining piece opens the band under the front tab only.
        EXPECT_EQ(gris(image, tab.x() + 30, 22), c.devant ? 239 : 168);
    }
    // A disabled paint leaves the overlay white; the next enabled one turns it black.
    bande_essai bande(CustomTab::N, false);
    CustomTab& tab = *bande.tabs[0];
    tab.enabled = false;
    bande.peins(1);
    tab.enabled = true;
    bande.peins(1);
    EXPECT_EQ(tab.hitOverlay->graphics().ForeColor(), 0x000000u);
    tab.visible = false;
    const Picture& image = bande.peins(0);
    EXPECT_EQ(image.pixel(11, 12), 0xDEDDDAu);
    EXPECT_EQ(gris(image, 30, 22), 168);
}

TEST(CustomTab, MouseSelectsAndCloses) {
    CustomTab tab("Titre", true, CustomTab::N);
    tab.setX(50);
    const QPoint boite(50 + tab.closeBoxButton->x + 6, tab.closeBoxButton->y + 6);
    EXPECT_TRUE(tab.hit(50 + tab.width(), tab.height()));
    EXPECT_FALSE(tab.hit(51 + tab.width(), 0));
    // Press the close box, drag off, release: nothing closes.
    EXPECT_TRUE(tab.mouseMove(boite.x(), boite.y()));
    EXPECT_TRUE(tab.mouseDown(boite.x(), boite.y()));
    EXPECT_TRUE(tab.isClosing());
    EXPECT_TRUE(tab.mouseDrag(300, 5));
    EXPECT_FALSE(tab.mouseUp(300, 5));
    EXPECT_FALSE(tab.isClosing());
    // Drag back onto it before releasing: the tab closes.
    tab.mouseDown(boite.x(), boite.y());
    tab.mouseDrag(300, 5);
    EXPECT_TRUE(tab.mouseDrag(boite.x(), boite.y()));
    EXPECT_TRUE(tab.mouseUp(boite.x(), boite.y()));
    // The body: released on the tab selects it, off it does nothing.
    EXPECT_TRUE(tab.mouseDown(60, 10));
    EXPECT_FALSE(tab.isClosing());
    EXPECT_FALSE(tab.mouseHit);
    EXPECT_TRUE(tab.mouseUp(60, 10));
    tab.mouseDown(60, 10);
    EXPECT_TRUE(tab.mouseDrag(61, 10));
    EXPECT_TRUE(tab.mouseHit);
    EXPECT_TRUE(tab.mouseDrag(20, 10));
    EXPECT_FALSE(tab.mouseUp(20, 10));
    tab.enabled = false;
    EXPECT_FALSE(tab.mouseDown(60, 10));
    EXPECT_FALSE(tab.mouseMove(boite.x(), boite.y()));
}
