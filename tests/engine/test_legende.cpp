// The legend against the symbol's box and the legend's fonts, in both kinds
// of file: what does not fit or cannot be drawn is refused before any file is
// made; what is made is read back by Ghostscript (its ink, its text) and
// epstool.
#include "outils_eps.h"
#include "valdorin.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace outils_eps;
using namespace valdorin;

namespace {

// The ink of a file that Ghostscript draws 100 points inside a page larger
// than the file's own, so that nothing is cut at the file's edges: the exact
// box of Ghostscript's bbox device, in the file's coordinates.
struct boite {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

std::optional<boite> encre(const QString& fichier) {
    const sortie_programme s =
        execute("gs", {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=bbox", "-dFIXEDMEDIA",
                       "-dDEVICEWIDTHPOINTS=400", "-dDEVICEHEIGHTPOINTS=400", "-c",
                       "<</PageOffset [100 100]>> setpagedevice", "-f", fichier});
    static const QRegularExpression motif(
        "%%HiResBoundingBox: ([-0-9.]+) ([-0-9.]+) ([-0-9.]+) ([-0-9.]+)");
    const QRegularExpressionMatch m = motif.match(s.texte + s.erreur);
    if (s.code != 0 || !m.hasMatch())
        return std::nullopt;
    return boite{m.captured(1).toDouble() - 100, m.captured(2).toDouble() - 100,
                 m.captured(3).toDouble() - 100, m.captured(4).toDouble() - 100};
}

// The text that Ghostscript's txtwrite device reads in a file.
QString texte_lu(const QString& fichier) {
    QStringList arguments = {"-q",        "-dSAFER",           "-dBATCH",
                             "-dNOPAUSE", "-sDEVICE=txtwrite", "-sOutputFile=-"};
    if (fichier.endsWith(".eps"))
        arguments += "-dEPSCrop";
    const sortie_programme s = execute("gs", arguments + QStringList{fichier});
    EXPECT_EQ(s.code, 0) << s.erreur.toStdString();
    EXPECT_FALSE(s.texte.contains("rror")) << s.texte.toStdString();
    return s.texte;
}

QString trop_long(const char* champ, const char* depassement) {
    return QStringLiteral("Le texte «\u00A0%1\u00A0» est trop long\u00A0: la légende "
                          "dépasserait de %2 le bord droit du code-barres\u00A0; aucun fichier "
                          "n'est créé.")
        .arg(QString::fromUtf8(champ), QString::fromUtf8(depassement).replace(u' ', u'\u00A0'));
}

// Makes the file of `t` as `nom`; the engine's refusal, or "" when made.
QString refus(tableau_code_barres t, const QString& nom) {
    try {
        fabrique(t, false, nom);
    } catch (const erreur_creation& erreur) {
        return erreur.message();
    }
    return QString();
}

} // namespace

// Each legend is either refused, with the field to shorten and by how much
// the legend would pass the right edge of the symbol's box, or drawn with all
// its ink inside the box; each writer is measured at its own sizes, so one
// legend may fit in a PDF file and not in an EPS file. The box is the
// horizontal frame whatever the orientation.
TEST(Legende, ALegendPastTheBoxIsRefusedAndOneThatFitsStaysInside) {
    const struct {
        const char *transporteur, *code, *parution, *sous, *entete, *prix, *mode, *protection,
            *orientation;
        const char *eps, *pdf; // by how much each passes the edge; "" when it fits
        const char* champ;
    } cas[] = {
        {"L", "12345", "42", "5", "France", "150", "ABCD", "A", "=", "11,6 points", "6,8 points",
         "En-tête de prix"},
        {"L", "12345", "42", "5", "France", "150", "ABCD", "R", "=", "5,1 points", "0,3 point",
         "En-tête de prix"},
        {"L", "12345", "42", "5", "France", "150", "ABCD", "C", "<", "5,1 points", "0,3 point",
         "En-tête de prix"},
        {"L", "12345", "42", "5", "France", "150", "", "A", ">", "", "", ""},
        {"L", "12345", "42", "5", "Prix spécial week-end", "150", "", "A", "=", "44,3 points",
         "37,5 points", "En-tête de prix"},
        {"L", "12345", "9999", "5", "FR", "150", "ABCD", "A", "=", "3,6 points", "",
         "En-tête de prix"},
        {"L", "12345", "9999", "5", "FR", "150", "ABCD", "R", ">", "", "", ""},
        // An ordinary legend, never refused.
        {"L", "12345", "42", "0", "FR", "150", "A", "A", "=", "", "", ""},
        {"L", "12345", "42", "0", "FR", "150", "A", "R", "<", "", "", ""},
        {"L", "12345", "42", "0", "FR", "150", "A", "F", ">", "", "", ""},
        // Just inside, or just past, the edge.
        {"L", "12345", "42", "5", "Prix ferme", "150", "", "A", "=", "", "", ""},
        {"L", "12345", "42", "5", "Danemark", "150", "", "A", "=", "0,3 point", "",
         "En-tête de prix"},
        {"L", "12345", "42", "5", "Espagne", "150", "A", "A", "<", "4,8 points", "",
         "En-tête de prix"},
        {"L", "12345", "42", "5", "Canada", "150", "CB", "C", "=", "", "", ""},
        // Without a price header, the payment mode is the field to shorten.
        {"W", "99999", "9999", "5", "", "9999", "WWWW", "A", "=", "4,0 points", "0,7 point",
         "Mode de règlement"},
        {"W", "99999", "9999", "5", "", "9999", "WWWW", "R", "=", "", "", ""},
    };
    int n = 0;
    for (const auto& c : cas) {
        for (const char* type : {"E", "P"}) {
            SCOPED_TRACE(testing::Message() << c.entete << " / " << c.mode << " / " << c.parution
                                            << ' ' << c.protection << c.orientation << ' ' << type);
            tableau_code_barres d = {
                c.transporteur, c.code,    c.parution, c.sous, QString::fromUtf8(c.entete),
                c.prix,         c.mode,    type,       "0",    c.protection,
                c.orientation,  "legende", ""};
            const QString nom =
                QStringLiteral("legende-%1.%2").arg(n++).arg(*type == 'E' ? "eps" : "pdf");
            const char* attendu = *type == 'E' ? c.eps : c.pdf;
            const QString message = refus(d, nom);
            if (*attendu) {
                EXPECT_EQ(message, trop_long(c.champ, attendu));
                EXPECT_FALSE(QFile::exists(chemin(nom)));
                continue;
            }
            ASSERT_EQ(message, QString());
            const bool vertical = QByteArray(c.orientation) != "=";
            const double longueur = QByteArray(c.protection) == "A" ? 128 : 143.5;
            const double largeur = vertical ? 49 : longueur, hauteur = vertical ? longueur : 49;
            // The frame of a PDF "C" is stroked on the page's edge, half of it outside.
            const double marge = QByteArray(c.protection) == "C" && *type == 'P' ? 0.501 : 0.001;
            const std::optional<boite> b = encre(chemin(nom));
            ASSERT_TRUE(b);
            EXPECT_GE(b->x0, -marge);
            EXPECT_GE(b->y0, -marge);
            EXPECT_LE(b->x1, largeur + marge);
            EXPECT_LE(b->y1, hauteur + marge);
        }
    }
}

// A character that the legend's fonts lack is refused, named with its code
// and its field, in both kinds of file; nothing is drawn in its place.
TEST(Legende, ACharacterTheFontsLackIsRefusedWithItsField) {
    const struct {
        std::size_t entree;
        const char* texte;
        const char *champ, *caractere;
    } cas[] = {
        {entree_entete_prix, "日本", "En-tête de prix", "le caractère «\u00A0日\u00A0» (U+65E5)"},
        {entree_entete_prix, "Prix ★", "En-tête de prix", "le caractère «\u00A0★\u00A0» (U+2605)"},
        {entree_entete_prix, "a\tb", "En-tête de prix", "le caractère invisible U+0009"},
        // A C1 control character: WinAnsi gives its code to the euro sign.
        {entree_entete_prix, "\u0080", "En-tête de prix", "le caractère invisible U+0080"},
        {entree_transporteur, "Ω", "Transporteur", "le caractère «\u00A0Ω\u00A0» (U+03A9)"},
        {entree_mode_reglement, "\U0001F600", "Mode de règlement",
         "le caractère «\u00A0\U0001F600\u00A0» (U+1F600)"},
    };
    for (const auto& c : cas) {
        for (const char* type : {"E", "P"}) {
            SCOPED_TRACE(testing::Message() << c.texte << ' ' << type);
            tableau_code_barres t = exemple();
            t[entree_type_fichier] = type;
            t[c.entree] = QString::fromUtf8(c.texte);
            const QString nom = QStringLiteral("absent.") + (*type == 'E' ? "eps" : "pdf");
            EXPECT_EQ(refus(t, nom),
                      QStringLiteral("Le texte «\u00A0%1\u00A0» contient %2, que les polices de la "
                                     "légende n'ont pas\u00A0; aucun fichier n'est créé.")
                          .arg(QString::fromUtf8(c.champ), QString::fromUtf8(c.caractere)));
            EXPECT_FALSE(QFile::exists(chemin(nom)));
            EXPECT_EQ(verifie_legende(t).value_or(defaut_legende{}).entree, c.entree);
        }
    }
}

// A legend beyond ASCII is drawn as typed in both files: the EPS file
// re-encodes Helvetica and Helvetica-Bold to WinAnsi, as the PDF fonts are,
// and stays 7-bit and valid for epstool. A letter typed with a combining
// accent is drawn as the accented letter.
TEST(Legende, AccentedLettersAreDrawnAsTypedInBothFiles) {
    const struct {
        const char *entete, *lu;
    } cas[] = {
        {"Réduit", "Réduit"}, {"œuvre", "œuvre"},         {"Ç", "Ç"},
        {"ÿ", "ÿ"},           {"e\u0301te\u0301", "été"}, {"l'été", "l'été"},
    };
    for (const auto& c : cas) {
        for (const char* type : {"E", "P"}) {
            SCOPED_TRACE(testing::Message() << c.entete << ' ' << type);
            tableau_code_barres t = exemple();
            t[entree_type_fichier] = type;
            t[entree_entete_prix] = QString::fromUtf8(c.entete);
            t[entree_mode_reglement] = "A";
            const QString nom = QStringLiteral("accents.") + (*type == 'E' ? "eps" : "pdf");
            const QByteArray fichier = fabrique(t, false, nom);
            EXPECT_TRUE(texte_lu(chemin(nom))
                            .contains(QStringLiteral(" - %1 1,50 ").arg(QString::fromUtf8(c.lu))));
            if (*type == 'P')
                continue;
            for (const char b : fichier)
                ASSERT_GE(b, 0);
            const sortie_programme s = execute("epstool", {"--dump", chemin(nom)});
            EXPECT_EQ(s.code, 0);
            EXPECT_FALSE(s.texte.contains("DSC Error") || s.texte.contains("DSC Warning"))
                << s.texte.toStdString();
        }
    }
    // A plain ASCII legend keeps the fonts' own encoding, as before, where the
    // apostrophe is the typographic one.
    tableau_code_barres t = exemple();
    t[entree_entete_prix] = "l'ete";
    const QByteArray fichier = fabrique(t, false, "ascii.eps");
    EXPECT_FALSE(fichier.contains("WinAnsi"));
    EXPECT_TRUE(texte_lu(chemin("ascii.eps")).contains(" - l’ete 1,50 "));
}
