// Checks with real readers: Ghostscript renders the EPS files, zbarimg reads
// the EAN-13 and its EAN-5 add-on off the rendering, tiffinfo reads the
// preview cut out of the DOS EPS file.
#include "outils_eps.h"
#include "valdorin.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace outils_eps;
using valdorin::tableau_code_barres;

namespace {

// The 13 digits of the EAN-13 of a description (check digit included).
QString ean13(const tableau_code_barres& t) {
    const QString d = "378" + t[1].rightJustified(5, '0') + t[5].rightJustified(4, '0');
    int somme = 0;
    for (int i = 0; i < 12; ++i)
        somme += d[i].digitValue() * (i % 2 ? 3 : 1);
    return d + QString::number((10 - somme % 10) % 10);
}

// Renders an EPS file at 600 dpi, checks that Ghostscript reports no error and
// substitutes no font (it says so only when not quiet), and returns the
// rendering with a white margin round it.
QImage rend(const QString& eps) {
    const QString png = eps + ".png";
    QString sortie;
    const int code = lance("gs",
                           {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-dEPSCrop", "-r600",
                            "-sDEVICE=pnggray", "-sOutputFile=" + png, eps},
                           &sortie);
    EXPECT_EQ(code, 0) << sortie.toStdString();
    for (const char* signe : {"Substitut", "Can't find", "Didn't find", "Error", "error"})
        EXPECT_FALSE(sortie.contains(signe)) << sortie.toStdString();
    const QImage image(png);
    EXPECT_FALSE(image.isNull());
    QImage marge(image.width() + 400, image.height() + 400, QImage::Format_RGB32);
    marge.fill(Qt::white);
    QPainter(&marge).drawImage(200, 200, image);
    return marge;
}

QStringList lit_codes(const QImage& image, const QString& chemin_png) {
    image.save(chemin_png);
    QString sortie;
    const int code = lance("zbarimg", {"-q", "-Sean5.enable", chemin_png}, &sortie);
    EXPECT_EQ(code, 0) << sortie.toStdString();
    // zbarimg may also print diagnostics of its own (a missing session bus).
    QStringList codes;
    for (const QString& ligne : sortie.split('\n', Qt::SkipEmptyParts))
        if (ligne.startsWith("EAN-"))
            codes += ligne.trimmed();
    codes.sort();
    return codes;
}

} // namespace

TEST(Lecteurs, EveryReductionProtectionAndOrientationRendersAndScans) {
    const char* protections[] = {"A", "R", "F", "C"};
    const char* orientations[] = {"=", "<", ">"};
    int n = 0;
    for (const char* protection : protections) {
        for (const char* orientation : orientations) {
            tableau_code_barres t = exemple();
            t[9] = protection;
            t[10] = orientation;
            t[8] = QString::number(n % 5);
            // Digits that bring in every symbol character at some point, the
            // backslash of a right-half 7 included.
            t[1] = QString::number(10000 + n * 7919 % 90000);
            t[5] = QString::number(n * 837 % 10000);
            t[2] = QString::number(n * 1373 % 10000);
            t[3] = QString::number(n % 10);
            t[0] = n % 2 ? "Q" : "";
            t[4] = n % 3 ? "Prix (été)" : "";
            t[6] = n % 4 ? "Rgl\\" : "";
            const bool previsu = n % 2 == 0;
            const QString nom = QStringLiteral("code-%1.eps").arg(n);
            SCOPED_TRACE(testing::Message() << protection << orientation << " reduction "
                                            << t[8].toStdString() << " previsu " << previsu);
            const QString ajout = t[2].rightJustified(4, '0') + t[3];
            const QString attendu_ean = ean13(t);

            fabrique(t, previsu, nom);
            const QImage image = rend(chemin(nom));
            EXPECT_EQ(lit_codes(image, chemin(nom + "-scan.png")),
                      (QStringList{"EAN-13:" + attendu_ean, "EAN-5:" + ajout}));

            if (previsu) {
                const QString tiff = chemin(nom + ".tif");
                QFile f(tiff);
                ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                f.write(section_tiff(lit(chemin(nom))));
                f.close();
                QString sortie;
                EXPECT_EQ(lance("tiffinfo", {tiff}, &sortie), 0) << sortie.toStdString();
                const bool vertical = QByteArray(orientation) != "=";
                const int longueur = QByteArray(protection) == "A" ? 170 : 191;
                const QString taille = QStringLiteral("Image Width: %1 Image Length: %2")
                                           .arg(vertical ? 65 : longueur)
                                           .arg(vertical ? longueur : 65);
                EXPECT_TRUE(sortie.contains(taille)) << sortie.toStdString();
                EXPECT_TRUE(sortie.contains("Resolution: 96, 96 pixels/inch"))
                    << sortie.toStdString();
                EXPECT_TRUE(sortie.contains("Bits/Sample: 8")) << sortie.toStdString();
                EXPECT_FALSE(sortie.contains("rror")) << sortie.toStdString();
            }
            ++n;
        }
    }
}

TEST(Lecteurs, MakeBarcodeTool) {
    const QString sortie_eps = chemin("outil.eps");
    QStringList arguments = {sortie_eps, "1", "L", "12345", "42", "5",         "",     "150",
                             "",         "E", "2", "C",     ">",  "outil.eps", "Essai"};
    QString sortie;
    EXPECT_EQ(lance(MAKE_BARCODE, arguments, &sortie), 0) << sortie.toStdString();
    const QByteArray fichier = lit(sortie_eps);
    EXPECT_TRUE(fichier.startsWith("\xC5\xD0\xD3\xC6"));
    EXPECT_TRUE(section_postscript(fichier).contains("/Parution (42H) def"));

    // A refused description: exit 1, the French message, the file untouched.
    arguments[3] = "1234567";
    EXPECT_EQ(lance(MAKE_BARCODE, arguments, &sortie), 1);
    EXPECT_TRUE(sortie.contains(u"Le code produit doit compter de 1 à 5 chiffres."))
        << sortie.toStdString();
    EXPECT_EQ(lit(sortie_eps), fichier);

    // Wrong number of arguments.
    EXPECT_EQ(lance(MAKE_BARCODE, {sortie_eps}, &sortie), 2);
}
