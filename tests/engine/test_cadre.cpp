// The frame of protection "C" and the figures under the symbol: Ghostscript
// renders the files at 2400 dpi without anti-aliasing, and white rows must lie
// between the frame's line under the symbol and the feet of the figures.
#include "outils_eps.h"
#include "valdorin.h"

#include <QImage>
#include <QTransform>
#include <gtest/gtest.h>

#include <vector>

using namespace outils_eps;
using namespace valdorin;

namespace {

constexpr int dpi = 2400;

int pixels(double points) {
    return static_cast<int>(points * dpi / 72);
}

// One "C" file, and its orientation, by which its rendering is turned upright:
// the symbol reads from left to right and the page's edge under it is the last
// row.
struct fichier_cadre {
    QString nom;
    QString orientation;
};

// What lies above the page's bottom edge, in rows of the upright rendering:
// the frame's line (rows black across the page), then white rows, then the
// first row with ink in the columns of the main symbol's figures (from the lead
// digit to the right guard, 1 to 90 points from the left edge). Through the
// colour management process black renders as a dark gray, which a one-bit
// device would dither: ink is any pixel darker than mid-gray.
struct coupe {
    int cadre = 0;
    int blanc = 0;
};

coupe mesure(const QImage& image) {
    coupe c;
    int y = image.height() - 1;
    for (; y >= 0; --y, ++c.cadre) {
        const uchar* ligne = image.constScanLine(y);
        int noirs = 0;
        for (int x = 0; x < image.width(); ++x)
            noirs += ligne[x] < 128;
        if (noirs < image.width() * 9 / 10)
            break;
    }
    for (; y >= 0; --y, ++c.blanc) {
        const uchar* ligne = image.constScanLine(y);
        bool encre = false;
        for (int x = pixels(1); x < pixels(90) && !encre; ++x)
            encre = ligne[x] < 128;
        if (encre)
            break;
    }
    return c;
}

} // namespace

TEST(Cadre, TheFiguresStandClearOfTheFrameInEveryKindOrientationAndReduction) {
    std::vector<fichier_cadre> fichiers;
    QStringList arguments = {"-q",
                             "-dSAFER",
                             "-dBATCH",
                             "-dNOPAUSE",
                             "-dEPSCrop",
                             "-dTextAlphaBits=1",
                             "-dGraphicsAlphaBits=1",
                             QStringLiteral("-r%1").arg(dpi),
                             "-sDEVICE=pnggray",
                             "-sOutputFile=" + chemin("cadre-%02d.png")};
    for (const char* type : {"E", "P"}) {
        for (const char* orientation : {"=", "<", ">"}) {
            for (int reduction = 0; reduction < 5; ++reduction) {
                tableau_code_barres t = exemple();
                t[entree_type_fichier] = type;
                t[entree_protection] = "C";
                t[entree_orientation] = orientation;
                t[entree_engraissement] = QString::number(reduction);
                const QString nom = QStringLiteral("cadre-%1.%2")
                                        .arg(fichiers.size())
                                        .arg(type == QStringLiteral("E") ? "eps" : "pdf");
                fabrique(t, false, nom);
                fichiers.push_back({nom, orientation});
                arguments += chemin(nom);
            }
        }
    }
    QString sortie;
    ASSERT_EQ(lance("gs", arguments, &sortie), 0) << sortie.toStdString();
    EXPECT_TRUE(sortie.isEmpty()) << sortie.toStdString();

    for (std::size_t i = 0; i < fichiers.size(); ++i) {
        const fichier_cadre& f = fichiers[i];
        SCOPED_TRACE(f.nom.toStdString() + ' ' + f.orientation.toStdString());
        QImage image(chemin(QStringLiteral("cadre-%1.png").arg(i + 1, 2, 10, QChar('0'))));
        ASSERT_FALSE(image.isNull());
        // "<" reads from bottom to top, so the symbol's foot is on the right.
        const int quart = f.orientation == u"<" ? 90 : f.orientation == u">" ? -90 : 0;
        image = image.transformed(QTransform().rotate(quart))
                    .convertToFormat(QImage::Format_Grayscale8);
        const int longueur = image.width(), hauteur = image.height();
        EXPECT_EQ(longueur, pixels(143.5));
        EXPECT_EQ(hauteur, pixels(49));
        const coupe c = mesure(image);
        // The frame covers half a point inside the page.
        EXPECT_NEAR(c.cadre, pixels(0.5), 1);
        // At least 0.3 pt of white, and the ink above it is the figures' feet:
        // nothing else of the symbol comes lower than 3.5 pt.
        EXPECT_GE(c.blanc, pixels(0.3));
        EXPECT_LT(c.cadre + c.blanc, pixels(3.5));
    }
}
