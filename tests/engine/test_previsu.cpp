#include "outils_eps.h"
#include "valdorin.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace outils_eps;
using valdorin::tableau_code_barres;

namespace {

QImage image_essai(int largeur, int hauteur) {
    QImage image(largeur, hauteur, QImage::Format_RGB32);
    for (int y = 0; y < hauteur; ++y)
        for (int x = 0; x < largeur; ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x * 7 + y * 3) % 256));
    image.setDotsPerMeterX(3780); // 96 dots per inch, as QImage stores it
    image.setDotsPerMeterY(3780);
    return image;
}

// The 15 directory entries: tag, type, count and value field.
struct Entree {
    quint16 etiquette, genre;
    quint32 nombre, valeur;
};

bool sombre(QRgb c) {
    return qGray(c) < 80;
}

// Dark pixels in the columns [debut, fin) of a picture, frame left out.
int sombres_colonnes(const QImage& image, int debut, int fin) {
    int n = 0;
    for (int y = 2; y < image.height() - 2; ++y)
        for (int x = debut; x < fin; ++x)
            n += sombre(image.pixel(x, y));
    return n;
}

} // namespace

TEST(Tiff, FixedLayoutFromWidthAndHeight) {
    const struct {
        int w, h;
        quint32 taille, premier, pas;
    } cas[] = {{191, 65, 37997, 752, 573}, {65, 191, 39005, 1760, 195}, {170, 65, 0, 0, 510}};
    for (const auto& c : cas) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        const QImage image = image_essai(c.w, c.h);
        const QByteArray t = valdorin::eps_picture_to_tiff(image);
        const quint32 W = c.w, H = c.h;
        ASSERT_EQ(static_cast<quint32>(t.size()), 232 + 8 * H + 3 * W * H);
        if (c.taille) {
            EXPECT_EQ(static_cast<quint32>(t.size()), c.taille);
        }
        EXPECT_EQ(t.left(8), QByteArray("MM\x00\x2A\x00\x00\x00\x08", 8));
        EXPECT_EQ(be16(t, 8), 15);

        const Entree attendues[] = {
            {254, 4, 1, 0},           {256, 3, 1, W << 16},  {257, 3, 1, H << 16},
            {258, 3, 3, 194},         {259, 3, 1, 1u << 16}, {262, 3, 1, 2u << 16},
            {273, 4, H, 232},         {277, 3, 1, 3u << 16}, {278, 3, 1, 1u << 16},
            {279, 4, H, 232 + 4 * H}, {282, 5, 1, 200},      {283, 5, 1, 208},
            {284, 3, 1, 1u << 16},    {296, 3, 1, 2u << 16}, {305, 2, 16, 216},
        };
        for (int i = 0; i < 15; ++i) {
            const qsizetype p = 10 + 12 * i;
            EXPECT_EQ(be16(t, p), attendues[i].etiquette) << i;
            EXPECT_EQ(be16(t, p + 2), attendues[i].genre) << i;
            EXPECT_EQ(be32(t, p + 4), attendues[i].nombre) << i;
            EXPECT_EQ(be32(t, p + 8), attendues[i].valeur) << i;
        }
        EXPECT_EQ(be32(t, 190), 0u);
        EXPECT_EQ(t.mid(194, 6), QByteArray("\0\x08\0\x08\0\x08", 6));
        // 96 dots per inch exactly, though QImage keeps 3780 dots per metre.
        EXPECT_EQ(be32(t, 200), 960000u);
        EXPECT_EQ(be32(t, 204), 10000u);
        EXPECT_EQ(be32(t, 208), 960000u);
        EXPECT_EQ(be32(t, 212), 10000u);
        EXPECT_EQ(t.mid(216, 16), QByteArray("Brimlow Systems\0", 16));

        const quint32 debut = 232 + 8 * H;
        for (quint32 r = 0; r < H; ++r) {
            EXPECT_EQ(be32(t, 232 + 4 * r), debut + r * 3 * W);
            EXPECT_EQ(be32(t, 232 + 4 * H + 4 * r), 3 * W);
        }
        if (c.premier) {
            EXPECT_EQ(be32(t, 232), c.premier);
        }
        EXPECT_EQ(be32(t, 232 + 4 * H), c.pas);

        bool pixels_justes = true;
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x) {
                const QRgb p = image.pixel(x, y);
                const qsizetype o = debut + (y * W + x) * 3;
                pixels_justes &= static_cast<uchar>(t[o]) == qRed(p) &&
                                 static_cast<uchar>(t[o + 1]) == qGreen(p) &&
                                 static_cast<uchar>(t[o + 2]) == qBlue(p);
            }
        EXPECT_TRUE(pixels_justes);
    }
}

TEST(Previsu, SizeTurnAndFrameFollowTheFile) {
    const struct {
        const char *protection, *orientation;
        int w, h;
    } cas[] = {
        {"A", "=", 170, 65}, {"R", "=", 191, 65}, {"F", "<", 65, 191}, {"C", "<", 65, 191},
        {"A", ">", 65, 170}, {"C", "=", 191, 65}, {"R", ">", 65, 191},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(testing::Message() << c.protection << c.orientation);
        tableau_code_barres t = exemple();
        t[valdorin::entree_protection] = c.protection;
        t[valdorin::entree_orientation] = c.orientation;
        t[valdorin::entree_commentaire] = "COMMENTAIRE";
        valdorin::cree_previsu_tiff(t);
        const QImage& image = valdorin::previsu_picture;
        ASSERT_EQ(image.size(), QSize(c.w, c.h));
        EXPECT_EQ(qRound(image.dotsPerMeterX() * 0.0254), 96);
        EXPECT_EQ(valdorin::previsu_bloc, valdorin::eps_picture_to_tiff(image));

        // The frame of "C" is the outermost ring of pixels, after the turn.
        bool cadre = true;
        for (int x = 0; x < c.w; ++x)
            cadre &= sombre(image.pixel(x, 0)) && sombre(image.pixel(x, c.h - 1));
        for (int y = 0; y < c.h; ++y)
            cadre &= sombre(image.pixel(0, y)) && sombre(image.pixel(c.w - 1, y));
        EXPECT_EQ(cadre, QByteArray(c.protection) == "C");

        // The legend sits along the top of the drawing: on the left once turned
        // for "<" (read bottom to top), on the right for ">".
        if (QByteArray(c.orientation) == "=") {
            int haut = 0, bas = 0;
            for (int x = 2; x < c.w - 2; ++x) {
                for (int y = 2; y < 18; ++y)
                    haut += sombre(image.pixel(x, y));
                for (int y = 47; y < 63; ++y)
                    bas += sombre(image.pixel(x, y));
            }
            EXPECT_GT(haut, 50);
            EXPECT_EQ(bas, 0);
        } else {
            const int gauche = sombres_colonnes(image, 2, 18);
            const int droite = sombres_colonnes(image, 47, 63);
            if (QByteArray(c.orientation) == "<") {
                EXPECT_GT(gauche, 50);
                EXPECT_EQ(droite, 0);
            } else {
                EXPECT_GT(droite, 50);
                EXPECT_EQ(gauche, 0);
            }
        }
    }
}

TEST(Previsu, TextsChangeThePicture) {
    tableau_code_barres t = exemple();
    t[valdorin::entree_parution] = "";
    t[valdorin::entree_mode_reglement] = "";
    t[valdorin::entree_commentaire] = "";
    valdorin::cree_previsu_tiff(t);
    const QImage nu = valdorin::previsu_picture;
    // An empty comment draws nothing: the comment band is the same as with "".
    t[valdorin::entree_commentaire] = "   ";
    valdorin::cree_previsu_tiff(t);
    EXPECT_EQ(valdorin::previsu_picture, nu);
    for (const int entree : {2, 6, 12}) {
        tableau_code_barres u = t;
        u[entree] = "42";
        valdorin::cree_previsu_tiff(u);
        EXPECT_NE(valdorin::previsu_picture, nu) << entree;
    }
}

TEST(Previsu, LegendAndCommentPositions) {
    for (const char* protection : {"A", "R"}) {
        SCOPED_TRACE(protection);
        tableau_code_barres t = exemple();
        t[valdorin::entree_protection] = protection;
        t[valdorin::entree_commentaire] = "MMMM";
        valdorin::cree_previsu_tiff(t);
        const QImage& image = valdorin::previsu_picture;
        const int w = image.width();
        // Ink boxes of the legend band (above y 24) and of the comment band.
        int legende_x = w, legende_bas = -1;
        int commentaire_gauche = w, commentaire_droite = -1, commentaire_bas = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < w; ++x) {
                if (!sombre(image.pixel(x, y)))
                    continue;
                if (y < 24) {
                    legende_x = std::min(legende_x, x);
                    legende_bas = std::max(legende_bas, y);
                } else {
                    commentaire_gauche = std::min(commentaire_gauche, x);
                    commentaire_droite = std::max(commentaire_droite, x);
                    commentaire_bas = std::max(commentaire_bas, y);
                }
            }
        // The legend starts at x 6 without reserves, 20 with them, on the
        // baseline y 15 (only the comma of the price goes below it).
        const int debut = QByteArray(protection) == "A" ? 6 : 20;
        EXPECT_GE(legende_x, debut);
        EXPECT_LE(legende_x, debut + 2);
        EXPECT_GE(legende_bas, 14);
        EXPECT_LE(legende_bas, 17);
        // The comment is centred, on the baseline y 43.
        EXPECT_NEAR(commentaire_gauche + commentaire_droite + 1, w, 3);
        EXPECT_GE(commentaire_bas, 41);
        EXPECT_LE(commentaire_bas, 43);
    }

    // The sub-issue adds "H" for 5 and "S" for 6 after the issue, nothing for
    // the others; with no issue it shows nothing.
    const auto image = [](const char* parution, const char* sous) {
        tableau_code_barres t = exemple();
        t[valdorin::entree_parution] = parution;
        t[valdorin::entree_sous_parution] = sous;
        valdorin::cree_previsu_tiff(t);
        return valdorin::previsu_picture;
    };
    EXPECT_EQ(image("42", "0"), image("42", "9"));
    EXPECT_NE(image("42", "5"), image("42", "0"));
    EXPECT_NE(image("42", "6"), image("42", "5"));
    EXPECT_NE(image("42", "6"), image("42", "0"));
    EXPECT_EQ(image("", "5"), image("", "0"));
    EXPECT_EQ(image("", "6"), image("", "0"));
}
