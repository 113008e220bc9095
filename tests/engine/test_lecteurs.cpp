// Checks with real readers: Ghostscript renders the EPS files, zbarimg reads
// the EAN-13 and its EAN-5 add-on off the rendering, epstool checks the
// structuring comments and extracts the preview, tiffinfo reads that preview,
// Ghostscript's tiffsep separates the inks of a file placed over a colour.
#include "outils_eps.h"
#include "valdorin.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace outils_eps;
using namespace valdorin;

namespace {

// The 13 digits of the EAN-13 of a description (check digit included).
QString ean13(const tableau_code_barres& t) {
    const QString d = "378" + t[entree_code_produit].rightJustified(5, '0') +
                      t[entree_prix].rightJustified(4, '0');
    int somme = 0;
    for (int i = 0; i < 12; ++i)
        somme += d[i].digitValue() * (i % 2 ? 3 : 1);
    return d + QString::number((10 - somme % 10) % 10);
}

// One file made for the readers, with what they should find in it.
struct variante {
    QString nom;
    QString orientation;
    QString reduction;
    bool previsu = false;
    QStringList codes; // what zbarimg reads, sorted
};

// Makes a file for every orientation and reduction, each with and without
// preview, with the protection `protection`; `n` numbers the files of all
// protections so that their digits bring in every symbol character at some
// point, the backslash of a right-half 7 included.
std::vector<variante> fabrique_variantes(const QString& protection, int n) {
    std::vector<variante> variantes;
    for (const char* orientation : {"=", "<", ">"}) {
        for (int reduction = 0; reduction < 5; ++reduction) {
            for (const bool previsu : {false, true}) {
                tableau_code_barres t = exemple();
                t[entree_protection] = protection;
                t[entree_orientation] = orientation;
                t[entree_engraissement] = QString::number(reduction);
                t[entree_code_produit] = QString::number(10000 + n * 7919 % 90000);
                t[entree_prix] = QString::number(n * 837 % 10000);
                t[entree_parution] = QString::number(n * 1373 % 10000);
                t[entree_sous_parution] = QString::number(n % 10);
                t[entree_transporteur] = n % 2 ? "Q" : "";
                t[entree_entete_prix] = n % 3 ? "(é)" : "";
                t[entree_mode_reglement] = n % 4 ? "R\\" : "";
                variante v{QStringLiteral("code-%1.eps").arg(n),
                           orientation,
                           t[entree_engraissement],
                           previsu,
                           {}};
                v.codes = QStringList{"EAN-13:" + ean13(t),
                                      "EAN-5:" + t[entree_parution].rightJustified(4, '0') +
                                          t[entree_sous_parution]};
                v.codes.sort();
                fabrique(t, previsu, v.nom);
                variantes.push_back(v);
                ++n;
            }
        }
    }
    return variantes;
}

// Renders the EPS files at 600 dpi in one Ghostscript run, checks that it
// reports no error and substitutes no font (it says so only when not quiet),
// and returns each rendering with a white margin round it.
std::vector<QImage> rend(const std::vector<variante>& variantes) {
    QStringList arguments = {
        "-q",        "-dSAFER", "-dBATCH",          "-dNOPAUSE",
        "-dEPSCrop", "-r600",   "-sDEVICE=pnggray", "-sOutputFile=" + chemin("rendu-%03d.png")};
    for (const variante& v : variantes)
        arguments += chemin(v.nom);
    QString sortie;
    EXPECT_EQ(lance("gs", arguments, &sortie), 0) << sortie.toStdString();
    for (const char* signe : {"Substitut", "Can't find", "Didn't find", "Error", "error"})
        EXPECT_FALSE(sortie.contains(signe)) << sortie.toStdString();
    std::vector<QImage> images;
    for (std::size_t i = 0; i < variantes.size(); ++i) {
        const QImage image(chemin(QStringLiteral("rendu-%1.png").arg(i + 1, 3, 10, QChar('0'))));
        EXPECT_FALSE(image.isNull()) << i;
        QImage marge(image.width() + 400, image.height() + 400, QImage::Format_RGB32);
        marge.fill(Qt::white);
        QPainter(&marge).drawImage(200, 200, image);
        images.push_back(marge);
    }
    return images;
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

// epstool's reading of the structuring comments: no error or warning, the
// whole-point and the exact box, one page, and the TIFF preview when there is
// one, which it extracts byte for byte as the header points at it.
void verifie_epstool(const variante& v, const QString& protection) {
    const bool vertical = v.orientation != u"=";
    const double longueur = protection == u"A" ? 128 : 143.5;
    const double largeur = vertical ? 49 : longueur, hauteur = vertical ? longueur : 49;
    QString sortie;
    EXPECT_EQ(lance("epstool", {"--dump", chemin(v.nom)}, &sortie), 0) << sortie.toStdString();
    EXPECT_FALSE(sortie.contains("DSC Error")) << sortie.toStdString();
    EXPECT_FALSE(sortie.contains("DSC Warning")) << sortie.toStdString();
    EXPECT_TRUE(sortie.contains(QStringLiteral("\nboundingbox 0 0 %1 %2\n")
                                    .arg(std::ceil(largeur))
                                    .arg(std::ceil(hauteur))))
        << sortie.toStdString();
    EXPECT_TRUE(sortie.contains(QStringLiteral("\nhiresboundingbox 0.000000 0.000000 %1 %2\n")
                                    .arg(largeur, 0, 'f', 6)
                                    .arg(hauteur, 0, 'f', 6)))
        << sortie.toStdString();
    EXPECT_TRUE(sortie.contains("\npages 1\npage 1 1 ")) << sortie.toStdString();
    EXPECT_EQ(sortie.contains("\npreview type TIFF\n"), v.previsu) << sortie.toStdString();
    if (!v.previsu)
        return;

    const QString tiff = chemin(v.nom + ".tif");
    EXPECT_EQ(lance("epstool", {"--extract-preview", chemin(v.nom), tiff}, &sortie), 0)
        << sortie.toStdString();
    EXPECT_EQ(lit(tiff), section_tiff(lit(chemin(v.nom))));
    EXPECT_EQ(lance("tiffinfo", {tiff}, &sortie), 0) << sortie.toStdString();
    const int pixels = protection == u"A" ? 170 : 191;
    const QString taille = QStringLiteral("Image Width: %1 Image Length: %2")
                               .arg(vertical ? 65 : pixels)
                               .arg(vertical ? pixels : 65);
    EXPECT_TRUE(sortie.contains(taille)) << sortie.toStdString();
    EXPECT_TRUE(sortie.contains("Resolution: 96, 96 pixels/inch")) << sortie.toStdString();
    EXPECT_TRUE(sortie.contains("Bits/Sample: 8")) << sortie.toStdString();
    EXPECT_FALSE(sortie.contains("rror")) << sortie.toStdString();
}

// Where a plate of a tiffsep separation holds ink: tiffsep writes each plate
// as a grey picture, dark where the ink is.
std::vector<bool> encre(const QString& chemin_tiff) {
    const QImage plaque = QImage(chemin_tiff).convertToFormat(QImage::Format_Grayscale8);
    EXPECT_FALSE(plaque.isNull()) << chemin_tiff.toStdString();
    std::vector<bool> encre;
    for (int y = 0; y < plaque.height(); ++y)
        for (int x = 0; x < plaque.width(); ++x)
            encre.push_back(qGray(plaque.pixel(x, y)) < 128);
    return encre;
}

// The extended graphics states of a PDF file that turn fill overprint on,
// with their overprint mode (0 when they give none).
std::vector<int> modes_surimpression(const QString& pdf) {
    std::vector<int> modes;
    for (const QJsonValue& objet : objets_pdf(pdf)) {
        const QJsonObject d = objet["value"].toObject();
        if (d["/Type"] == QStringLiteral("/ExtGState") && d["/op"] == true)
            modes.push_back(d["/OPM"].toInt());
    }
    return modes;
}

class LecteursEps : public testing::TestWithParam<const char*> {};

} // namespace

TEST_P(LecteursEps, EveryOrientationReductionAndPreviewPassesEveryReader) {
    const QString protection = QString::fromLatin1(GetParam());
    const int premier = static_cast<int>(QStringLiteral("ARFC").indexOf(protection)) * 30;
    const std::vector<variante> variantes = fabrique_variantes(protection, premier);
    const std::vector<QImage> images = rend(variantes);
    ASSERT_EQ(images.size(), variantes.size());
    for (std::size_t i = 0; i < variantes.size(); ++i) {
        const variante& v = variantes[i];
        SCOPED_TRACE(testing::Message() << v.nom.toStdString() << ' ' << protection.toStdString()
                                        << v.orientation.toStdString() << " reduction "
                                        << v.reduction.toStdString() << " previsu " << v.previsu);
        EXPECT_EQ(lit_codes(images[i], chemin(v.nom + "-scan.png")), v.codes);
        verifie_epstool(v, protection);
    }
}

INSTANTIATE_TEST_SUITE_P(Protections, LecteursEps, testing::Values("A", "R", "F", "C"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param);
                         });

// The black of protections "A" and "R" overprints what lies under the
// symbol, as in the PDF file of the same symbol; that of "F" and "C" knocks it
// out, on their own white background. Each file is placed over a magenta
// ground, as a layout program places an EPS, and its inks separated by
// Ghostscript's tiffsep: under every bar and letter (the black plate) the
// magenta plate keeps its ink for "A" and "R" and has none for "F" and "C".
// A PDF distilled from the EPS by ps2pdf asks for overprint mode 1 as the
// PDF file does.
TEST(Lecteurs, BlackOverprintsTheGroundForAAndRAndKnocksItOutForFAndC) {
    const struct {
        const char *protection, *orientation;
        bool previsu, surimpression;
    } cas[] = {
        {"A", "=", false, true}, {"R", "<", true, true},   {"A", ">", true, true},
        {"F", "=", true, false}, {"C", ">", false, false}, {"R", "=", false, true},
    };
    if (!QImageReader::supportedImageFormats().contains("tiff"))
        GTEST_SKIP() << "Qt reads no TIFF here (package qt6-image-formats-plugins)";
    for (const auto& c : cas) {
        SCOPED_TRACE(testing::Message()
                     << c.protection << c.orientation << " previsu " << c.previsu);
        tableau_code_barres t = exemple();
        t[entree_protection] = c.protection;
        t[entree_orientation] = c.orientation;
        const QByteArray eps = fabrique(t, c.previsu, "pose.eps");
        const QByteArray postscript = c.previsu ? section_postscript(eps) : eps;
        QFile pose(chemin("pose.ps"));
        ASSERT_TRUE(pose.open(QIODevice::WriteOnly));
        pose.write("%!PS\n<< /PageSize [170 170] >> setpagedevice\n"
                   "0 1 0 0 setcmykcolor 0 0 170 170 rectfill\n"
                   "save /showpage {} def 10 10 translate\n" +
                   postscript + "\nrestore showpage\n");
        pose.close();
        QString sortie;
        ASSERT_EQ(lance("gs",
                        {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=tiffsep", "-r150",
                         "-sCompression=none", "-o", chemin("pose.tif"), chemin("pose.ps")},
                        &sortie),
                  0)
            << sortie.toStdString();
        EXPECT_TRUE(sortie.isEmpty()) << sortie.toStdString();
        const std::vector<bool> noir = encre(chemin("pose(Black).tif"));
        const std::vector<bool> magenta = encre(chemin("pose(Magenta).tif"));
        ASSERT_EQ(noir.size(), magenta.size());
        std::size_t barres = 0, sous_barres = 0;
        for (std::size_t i = 0; i < noir.size(); ++i)
            if (noir[i]) {
                ++barres;
                sous_barres += magenta[i];
            }
        EXPECT_GT(barres, 10000u); // the bars and the legend, at 150 dpi
        EXPECT_EQ(sous_barres, c.surimpression ? barres : 0u);

        // The same symbol distilled asks for what the PDF file asks for.
        QFile::remove(chemin("pose.pdf"));
        ASSERT_EQ(lance("ps2pdf", {"-dEPSCrop", chemin("pose.eps"), chemin("pose.pdf")}, &sortie),
                  0)
            << sortie.toStdString();
        const std::vector<int> distille = modes_surimpression(chemin("pose.pdf"));
        EXPECT_EQ(distille.empty(), !c.surimpression);
        EXPECT_EQ(std::count(distille.begin(), distille.end(), 1), distille.size());
    }
}

// The request for overprint mode 1 leaves every interpreter able to read the
// file, whatever its setoverprintmode takes (stood in for by a definition
// read before the file): nothing stays on the stack nor as a pending error,
// and the mode is set where the operator takes 1 or, failing that, true.
TEST(Lecteurs, OverprintModeRequestSuitsEveryFormOfTheOperator) {
    const QString garde = "dup type /%1 ne { /setoverprintmode cvx /typecheck signalerror } if";
    const struct {
        QString operateur;
        const char* mode; // as the file leaves it, or as the stand-in received it
    } cas[] = {
        {"", "(1|true)"}, // this Ghostscript's own
        {garde.arg("integertype") + " userdict /recu 3 -1 roll put", "1"},
        {garde.arg("booleantype") + " userdict /recu 3 -1 roll put", "true"},
        {"/setoverprintmode cvx /rangecheck signalerror", "-"},
        {"pop", "-"},
    };
    tableau_code_barres t = exemple();
    const QByteArray eps = fabrique(t, false, "mode.eps");
    for (const auto& c : cas) {
        SCOPED_TRACE(c.operateur.toStdString());
        QFile f(chemin("mode.ps"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        if (!c.operateur.isEmpty())
            f.write("/setoverprintmode { " + c.operateur.toLatin1() + " } bind def\n");
        f.write(eps +
                "\n(pile ) print count =only ( erreur ) print $error /newerror get =only"
                " ( mode ) print userdict /recu known { recu } { " +
                (c.operateur.isEmpty() ? "currentoverprintmode" : "(-)") + " } ifelse =\n");
        f.close();
        QString sortie;
        EXPECT_EQ(
            lance("gs",
                  {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=nullpage", chemin("mode.ps")},
                  &sortie),
            0);
        EXPECT_TRUE(
            QRegularExpression(
                QStringLiteral("^pile 0 erreur false mode %1\n$").arg(QLatin1String(c.mode)))
                .match(sortie)
                .hasMatch())
            << sortie.toStdString();
    }
}

// A text whose string literal would take more bytes than readers accept,
// escapes and encoding counted, is refused with the name of its field before
// any file is touched. At the limit the file is made, and Ghostscript reads it;
// a text of the legend is then refused still, its legend being far wider than
// the symbol.
TEST(Lecteurs, TextsBeyondTheReadersLimitAreRefusedAndTextsAtItAreRead) {
    const struct {
        std::size_t entree;
        bool previsu;
        // file type, the value's motif, what comes right before the literal, the field
        const char *type, *motif, *marque, *champ;
    } cas[] = {
        {entree_entete_prix, false, "E", "x", "/EntetePrix (", "En-tête de prix"},
        {entree_transporteur, true, "E", "(", "/Transporteur (", "Transporteur"},
        {entree_mode_reglement, false, "E", "œ", "/ModeReglement (", "Mode de règlement"},
        {entree_nom_fichier, false, "E", "é", "%%Title: (", "Nom du fichier"},
        {entree_entete_prix, false, "P", "é", "/F_H 11.5 Tf\r(", "En-tête de prix"},
        {entree_transporteur, false, "P", "\\", "Tm\r(", "Transporteur"},
        {entree_mode_reglement, false, "P", "x", "/F_H 9.5 Tf\r(", "Mode de règlement"},
        {entree_nom_fichier, false, "P", "€", "/Title (", "Nom du fichier"},
        {entree_commentaire, true, "P", "é\n", "/Contents (",
         "Post-it PDF (commentaire et légende)"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(testing::Message() << c.type << " entry " << c.entree);
        tableau_code_barres t = exemple();
        t[entree_type_fichier] = c.type;
        // The bytes between the parentheses of the literal, in a file made with `valeur`.
        auto mesure = [&](const QString& valeur) {
            tableau_code_barres u = t; // the engine rewrites the copy
            u[c.entree] = valeur;
            const QByteArray f = fabrique(u, c.previsu, "mesure");
            qsizetype debut = f.lastIndexOf(c.marque) + qstrlen(c.marque), fin = debut;
            while (fin < f.size() && f[fin] != ')')
                fin += f[fin] == '\\' ? 2 : 1;
            return fin - debut;
        };
        // A value of motifs and "x"s whose literal takes the most bytes allowed.
        const QString motif = QString::fromUtf8(c.motif);
        const qsizetype un = mesure(motif), unite = mesure(motif + motif) - un;
        const qsizetype fois = (taille_maximale_litteral - un) / unite + 1;
        const QString limite = motif.repeated(fois) +
                               QString(taille_maximale_litteral - un - (fois - 1) * unite, u'x');
        const QByteArray avant = lit(chemin("mesure"));
        t[c.entree] = limite + u'x';
        try {
            fabrique(t, c.previsu, "mesure");
            ADD_FAILURE() << "no refusal";
        } catch (const erreur_creation& erreur) {
            EXPECT_EQ(erreur.message(),
                      QStringLiteral("Le texte «\u00A0%1\u00A0» est trop long : il occuperait "
                                     "65536 octets dans le fichier, pour 65535 au plus ; aucun "
                                     "fichier n'est créé.")
                          .arg(QString::fromUtf8(c.champ)));
        }
        EXPECT_EQ(lit(chemin("mesure")), avant);
        if (c.entree == entree_transporteur || c.entree == entree_entete_prix ||
            c.entree == entree_mode_reglement) {
            t[c.entree] = limite;
            try {
                fabrique(t, c.previsu, "mesure");
                ADD_FAILURE() << "no refusal";
            } catch (const erreur_creation& erreur) {
                EXPECT_TRUE(erreur.message().startsWith(
                    QStringLiteral("Le texte «\u00A0%1\u00A0» est trop long\u00A0: la légende "
                                   "dépasserait de ")
                        .arg(QString::fromUtf8(c.champ))))
                    << erreur.message().toStdString();
            }
            EXPECT_EQ(lit(chemin("mesure")), avant);
        } else {
            EXPECT_EQ(mesure(limite), 65535);
        }
        QString sortie;
        const QStringList gs = {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=nullpage"};
        EXPECT_EQ(lance("gs", gs + QStringList{chemin("mesure")}, &sortie), 0);
        EXPECT_FALSE(sortie.contains("rror")) << sortie.toStdString();
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
