#include "outils_eps.h"
#include "valdorin.h"

#include <gtest/gtest.h>

using namespace outils_eps;
using valdorin::tableau_code_barres;

namespace {

// The legend program and trailer, each line ending with CR.
const QByteArray legende = "/Helvetica-Bold findfont\r"
                           "[8.6 0 0 11.5 0 0] makefont setfont\r"
                           "Transporteur show             % Variable Transporteur\r"
                           "( ) show\r"
                           "CodeProduit show              % Variable Code Produit = numero de "
                           "titre\r"
                           "/Helvetica findfont\r"
                           "[6.6 0 0 9.5 0 0] makefont setfont\r"
                           "Parution length 0 gt\r"
                           "{\r"
                           " ( - ) show\r"
                           " Parution show\r"
                           "} if\r"
                           "( - ) show\r"
                           "EntetePrix length 0 gt\r"
                           "{  \r"
                           " /Helvetica findfont\r"
                           " [8.6 0 0 11.5 0 0] makefont setfont\r"
                           " EntetePrix show    % Variable Parution non transcodee\r"
                           " ( ) show\r"
                           "} if\r"
                           "/Helvetica-Bold findfont\r"
                           "[8.6 0 0 11.5 0 0] makefont setfont\r"
                           "PrixEuro show                     % Variable Prix\r"
                           "/VuraVaze findfont\r"
                           "[8.6 0 0 11.5 0 0] makefont setfont\r"
                           "( E) show\r"
                           "ModeReglement length 0 gt\r"
                           "{  \r"
                           " /Helvetica findfont\r"
                           " [6.6 0 0 9.5 0 0] makefont setfont\r"
                           " ( - ) show\r"
                           " ModeReglement show    % Variable Mode de reglement\r"
                           "} if\r"
                           "\r"
                           "showpage\r"
                           "end\r"
                           "%%EOF\r";

// Overprint mode 1 where the interpreter has it, whether it takes an integer
// or a boolean.
const QByteArray noir_surimprime = "\r% Noir surimprime\r/setcmykcolor where\r{\r pop\r"
                                   " 0 0 0 1 setcmykcolor\r true setoverprint\r"
                                   " /setoverprintmode where\r {\r  pop\r"
                                   "  mark { 1 setoverprintmode } stopped\r  {\r"
                                   "   cleartomark mark { true setoverprintmode } stopped pop\r"
                                   "   $error /newerror false put\r  }\r  if\r  cleartomark\r"
                                   " }\r if\r}\r{\r 0 setgray\r}\rifelse\r";

const QByteArray fond_blanc = "\r% Fond blanc\rRectangle\r/setcmykcolor where\r{\r pop\r"
                              " 0 0 0 0 setcmykcolor\r}\r{\r 1 setgray\r}\rifelse\rfill\r"
                              "\r% Noir\r/setcmykcolor where\r{\r pop\r 0 0 0 1 setcmykcolor\r}"
                              "\r{\r 0 setgray\r}\rifelse\r";

const QByteArray rectangle = "/Rectangle\r{\rnewpath\r0.25 0.25 moveto\r0 48.5 rlineto\r"
                             "143 0 rlineto\r0 -48.5 rlineto\rclosepath\r}\rdef\r";

// The whole-point box, then the exact one.
QByteArray commentaires(const QByteArray& boite, const QByteArray& boite_exacte) {
    return "%!PS-Adobe-3.0 EPSF-3.0\r%%BoundingBox: 0 0 " + boite + "\r%%HiResBoundingBox: 0 0 " +
           boite_exacte + "\r%%Title: (essai.eps)\r%%Creator: (Valdorin 2.2)\r%%Copyright: (" +
           valdorin::notice_editeur.toLatin1() + ")\r%%CreationDate: (";
}

QByteArray fin_commentaires(const QByteArray& police) {
    return ")\r%%For: ()\r%%Pages: 1\r%%DocumentFonts: Helvetica-Bold Helvetica " + police +
           " VuraVaze\r%%DocumentNeededFonts: Helvetica-Bold Helvetica\r"
           "%%DocumentSuppliedFonts: " +
           police +
           " VuraVaze\r%%DocumentData: Clean7Bit\r%%DocumentProcessColors: Black\r"
           "%%ColorUsage: Black&White\r%%EndComments\r\r";
}

QByteArray valeurs(const QByteArray& code, const QByteArray& parution = "42",
                   const QByteArray& mode = "", const QByteArray& entete = "") {
    return "/CodeBarres (" + code +
           ") def\n/Transporteur (L) def\n/CodeProduit (12345) def\n"
           "/Parution (" +
           parution + ") def\n/PrixEuro (1,50) def\n/ModeReglement (" + mode +
           ") def\n/EntetePrix (" + entete + ") def\n";
}

QByteArray symbole(const QByteArray& police) {
    return "\r% Code-barres\r/" + police +
           " findfont\r35 scalefont setfont\r0.8 7.3 moveto\rCodeBarres show\r";
}

// Splits a file made without preview at its date and its fonts, checks those,
// and returns the comments (date left out) and the program after the fonts.
struct Decoupe {
    QByteArray comments;
    QByteArray programme;
};

Decoupe decoupe(const QByteArray& fichier, const QByteArray& polices) {
    const qsizetype date = fichier.indexOf("%%CreationDate: (") + 17;
    const qsizetype fin_date = fichier.indexOf(")\r%%For:");
    const qsizetype fonts = fichier.indexOf("%%EndComments\r\r") + 15;
    EXPECT_EQ(fichier.mid(fonts, polices.size()), polices);
    return {fichier.left(date) + fichier.mid(fin_date, fonts - fin_date),
            fichier.mid(fonts + polices.size())};
}

} // namespace

TEST(Eps, WholeFileByteForByteForEachProtectionAndOrientation) {
    const QByteArray sans_reserves = "&':HILMNE=ZUVZU\\\\:?k@k@e@c@a\"";
    const QByteArray avec_reserves = "3':HILMNE=ZUVZU\\\\:?k@k@e@c@a\";";
    const struct {
        const char *protection, *orientation, *reduction, *boite, *boite_exacte, *police;
        QByteArray programme;
        const char *entete = "", *mode = "";
    } cas[] = {
        {"A", "=", "0", "128 49", "128 49", "EanP35N0",
         "%%Page: 1 1\r/EpsDict 7 dict def\rEpsDict begin\r" + valeurs(sans_reserves) +
             noir_surimprime + symbole("EanP35N0") + "\r% Legende\r6 37 moveto\r" + legende},
        {"C", "<", "3", "49 144", "49 143.5", "EanP35N3",
         "%%Page: 1 1\r/EpsDict 8 dict def\rEpsDict begin\r" + rectangle + valeurs(avec_reserves) +
             "\n% Orientation\n90 rotate 0 -49 translate\n" + fond_blanc +
             "\r% Cadre\rRectangle\r0.5 setlinewidth\rstroke\r" + symbole("EanP35N3") +
             "\r% Legende\r15 37 moveto\r" + legende},
        {"R", ">", "1", "49 144", "49 143.5", "EanP35N1",
         "%%Page: 1 1\r/EpsDict 7 dict def\rEpsDict begin\r" + valeurs(avec_reserves) +
             "\n% Orientation\n-90 rotate -143.5 0 translate\n" + noir_surimprime +
             symbole("EanP35N1") + "\r% Legende\r15 37 moveto\r" + legende},
        {"F", "=", "4", "144 49", "143.5 49", "EanP35N4",
         "%%Page: 1 1\r/EpsDict 8 dict def\rEpsDict begin\r" + rectangle + valeurs(avec_reserves) +
             fond_blanc + symbole("EanP35N4") + "\r% Legende\r15 37 moveto\r" + legende},
        {"A", ">", "2", "49 128", "49 128", "EanP35N2",
         "%%Page: 1 1\r/EpsDict 7 dict def\rEpsDict begin\r" + valeurs(sans_reserves) +
             "\n% Orientation\n-90 rotate -128 0 translate\n" + noir_surimprime +
             symbole("EanP35N2") + "\r% Legende\r6 37 moveto\r" + legende},
        // A plain ASCII price header and payment mode: the fonts' own encoding.
        {"R", "=", "0", "144 49", "143.5 49", "EanP35N0",
         "%%Page: 1 1\r/EpsDict 7 dict def\rEpsDict begin\r" +
             valeurs(avec_reserves, "42", "CB", "d'`\\(1\\)") + noir_surimprime +
             symbole("EanP35N0") + "\r% Legende\r15 37 moveto\r" + legende,
         "d'`(1)", "CB"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(testing::Message() << c.protection << c.orientation << c.reduction);
        tableau_code_barres t = exemple();
        t[valdorin::entree_protection] = c.protection;
        t[valdorin::entree_orientation] = c.orientation;
        t[valdorin::entree_engraissement] = c.reduction;
        t[valdorin::entree_entete_prix] = c.entete;
        t[valdorin::entree_mode_reglement] = c.mode;
        const QByteArray fichier = fabrique(t, false);
        const QByteArray polices =
            valdorin::f_eps_symbole(t[valdorin::entree_engraissement]) + valdorin::f_eps_vuravaze();
        const Decoupe d = decoupe(fichier, polices);
        EXPECT_EQ(d.comments, commentaires(c.boite, c.boite_exacte) + fin_commentaires(c.police));
        EXPECT_EQ(d.programme, c.programme);
        // The fonts are the right ones for the reduction and end with a line end.
        EXPECT_TRUE(polices.contains("/" + QByteArray(c.police)));
        EXPECT_TRUE(valdorin::f_eps_symbole(t[valdorin::entree_engraissement]).endsWith('\n') ||
                    valdorin::f_eps_symbole(t[valdorin::entree_engraissement]).endsWith('\r'));
        // Every byte is 7-bit, as %%DocumentData: Clean7Bit says.
        for (const char b : fichier)
            ASSERT_GE(b, 0);
    }
}

TEST(Eps, IssueLetterAndEmptyEntries) {
    const struct {
        const char *parution, *sous, *attendu;
    } cas[] = {
        {"42", "5", "/Parution (42H) def\n"}, {"42", "6", "/Parution (42S) def\n"},
        {"42", "0", "/Parution (42) def\n"},  {"0000", "5", "/Parution () def\n"},
        {"", "6", "/Parution () def\n"},      {"0105", "9", "/Parution (105) def\n"},
    };
    for (const auto& c : cas) {
        tableau_code_barres t = exemple();
        t[valdorin::entree_parution] = c.parution;
        t[valdorin::entree_sous_parution] = c.sous;
        EXPECT_TRUE(fabrique(t, false).contains(c.attendu)) << c.attendu;
    }
    tableau_code_barres t = exemple();
    t[valdorin::entree_transporteur] = "";
    const QByteArray fichier = fabrique(t, false);
    EXPECT_TRUE(fichier.contains("\n/Transporteur () def\n"));
    EXPECT_TRUE(fichier.contains("\n/ModeReglement () def\n/EntetePrix () def\n"));
}

TEST(Eps, UserTextIsEscapedAndSevenBit) {
    tableau_code_barres t = exemple();
    t[valdorin::entree_transporteur] = "(";
    t[valdorin::entree_entete_prix] = QStringLiteral("Prix ) \\ é");
    t[valdorin::entree_mode_reglement] = QStringLiteral("Çœ");
    t[valdorin::entree_nom_fichier] = QStringLiteral("résumé (1)\r%%EOF.eps");
    const QByteArray fichier = fabrique(t, true, "résumé.eps");
    const QByteArray ps = section_postscript(fichier);
    EXPECT_TRUE(ps.contains("\n/Transporteur (\\() def\n"));
    EXPECT_TRUE(ps.contains("\n/EntetePrix (Prix \\) \\\\ \\351) def\n"));
    EXPECT_TRUE(ps.contains("\n/ModeReglement (\\307\\234) def\n"));
    // The title stays on its comment line.
    EXPECT_TRUE(ps.contains("\r%%Title: (r\\351sum\\351 \\(1\\)\\r\\n%%EOF.eps)\r%%Creator:"));
    for (const char b : ps)
        ASSERT_GE(b, 0);
    EXPECT_EQ(ps.count("%%EOF"), 2); // the escaped one in the title, and the end
    EXPECT_TRUE(ps.endsWith("showpage\rend\r%%EOF\r"));
}

TEST(Eps, DosHeaderPointsAtBothSections) {
    quint32 sans_accent = 0;
    for (const bool accent : {false, true}) {
        tableau_code_barres t = exemple();
        t[valdorin::entree_nom_fichier] =
            accent ? QStringLiteral("café.eps") : QStringLiteral("cafe.eps");
        const QByteArray fichier = fabrique(t, true);
        ASSERT_GE(fichier.size(), 30);
        EXPECT_EQ(fichier.left(8), QByteArray("\xC5\xD0\xD3\xC6\x1E\x00\x00\x00", 8));
        EXPECT_EQ(fichier.mid(12, 8), QByteArray(8, '\0'));
        EXPECT_EQ(fichier.mid(28, 2), QByteArray("\xFF\xFF", 2));
        const quint32 longueur_ps = le32(fichier, 8);
        EXPECT_EQ(le32(fichier, 20), 30 + longueur_ps);
        EXPECT_EQ(static_cast<quint32>(fichier.size()), 30 + longueur_ps + le32(fichier, 24));
        EXPECT_EQ(le32(fichier, 24), static_cast<quint32>(valdorin::previsu_bloc.size()));

        const QByteArray ps = section_postscript(fichier);
        EXPECT_TRUE(ps.startsWith("%!PS-Adobe-3.0 EPSF-3.0\r"));
        EXPECT_TRUE(ps.endsWith("%%EOF\r"));
        EXPECT_EQ(section_tiff(fichier), valdorin::previsu_bloc);
        EXPECT_TRUE(section_tiff(fichier).startsWith("MM\x00\x2A"));

        // The escape of "é" is three bytes longer than "e".
        if (!accent)
            sans_accent = longueur_ps;
        else
            EXPECT_EQ(longueur_ps, sans_accent + 3);
    }

    // Without preview the file is the PostScript section alone.
    tableau_code_barres t = exemple();
    const QByteArray fichier = fabrique(t, false);
    EXPECT_TRUE(fichier.startsWith("%!PS-Adobe-3.0 EPSF-3.0\r%%BoundingBox: 0 0 144 49\r"
                                   "%%HiResBoundingBox: 0 0 143.5 49\r%%Title: "));
    EXPECT_TRUE(fichier.endsWith("%%EOF\r"));
}

TEST(Eps, HeaderNumbersPackLeastSignificantFirst) {
    EXPECT_EQ(valdorin::eps_integer_to_hexa_inverse(0), QByteArray(4, '\0'));
    EXPECT_EQ(valdorin::eps_integer_to_hexa_inverse(30), QByteArray("\x1E\x00\x00\x00", 4));
    EXPECT_EQ(valdorin::eps_integer_to_hexa_inverse(0x01020304), QByteArray("\x04\x03\x02\x01", 4));
    EXPECT_EQ(valdorin::eps_integer_to_hexa_inverse(0xFFFFFFFF), QByteArray(4, '\xFF'));
}
