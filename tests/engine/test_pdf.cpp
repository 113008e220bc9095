// The PDF files byte by byte: object layout, cross-reference offsets, stream
// lengths, the page content, the fonts and the note, and the escaping of user
// text.

#include "bibliotheque_v1.h"
#include "pdf_interne.h"
#include "ressources.h"
#include "test_pdf_commun.h"

#include <QBuffer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTimeZone>

#include <vector>

using test_pdf::description;
using test_pdf::fabrique;

namespace {

// The file cut at its cross-reference table: object offsets and bodies.
struct Lecture {
    QByteArray octets;
    std::vector<qint64> decalages; // offset of object n at n - 1
    qint64 debut_xref = -1;

    // From the first digit of object n to the end of its "endobj" line.
    QByteArray objet(int n) const {
        const qint64 debut = decalages.at(n - 1);
        const qint64 fin = octets.indexOf("endobj\r", debut);
        return octets.mid(debut, fin + 7 - debut);
    }

    // The data of the stream of object n, checked against its /Length.
    QByteArray flux(int n) const {
        const QByteArray o = objet(n);
        static const QRegularExpression longueur(R"(/Length (\d+))");
        const auto m = longueur.match(QString::fromLatin1(o));
        EXPECT_TRUE(m.hasMatch()) << n;
        const qint64 l = m.captured(1).toLongLong();
        const qint64 debut = o.indexOf(">>\rstream\r\n") + 11;
        EXPECT_GT(debut, 11) << n;
        EXPECT_EQ(o.mid(debut + l), QByteArray("\rendstream\rendobj\r")) << n;
        return o.mid(debut, l);
    }
};

// Reads the trailer and the table, and checks what every file must hold.
Lecture lit(const QByteArray& octets, int nb_objets) {
    Lecture l;
    l.octets = octets;
    EXPECT_TRUE(octets.startsWith("%PDF-1.3\r"));
    EXPECT_TRUE(octets.endsWith("\rstartxref\r" +
                                QByteArray::number(octets.lastIndexOf("xref\r0 ")) + "\r%%EOF"));
    const qint64 startxref = octets.lastIndexOf("startxref\r");
    l.debut_xref = octets.mid(startxref + 10, octets.size() - 5 - startxref - 11).toLongLong();
    EXPECT_EQ(octets.mid(l.debut_xref - 2, 7), QByteArray("\r\rxref\r"));

    const QByteArray n = QByteArray::number(nb_objets + 1);
    const QByteArray tete = "xref\r0 " + n + "\r0000000000 65535 f \r";
    EXPECT_EQ(octets.mid(l.debut_xref, tete.size()), tete);
    qint64 p = l.debut_xref + tete.size();
    for (int i = 1; i <= nb_objets; ++i, p += 20) {
        const QByteArray entree = octets.mid(p, 20);
        EXPECT_TRUE(entree.endsWith(" 00000 n \r")) << i;
        const qint64 decalage = entree.left(10).toLongLong();
        l.decalages.push_back(decalage);
        // Each entry points at the first digit of "n 0 obj", after an empty line.
        EXPECT_EQ(octets.mid(decalage - 2, 2), QByteArray("\r\r")) << i;
        EXPECT_TRUE(octets.mid(decalage).startsWith(QByteArray::number(i) + " 0 obj\r")) << i;
    }
    EXPECT_EQ(octets.mid(p), "\rtrailer\r<<\r/Size " + n +
                                 "\r/Root 1 0 R\r/Info 2 0 R\r>>\rstartxref\r" +
                                 QByteArray::number(l.debut_xref) + "\r%%EOF");
    // No other object than those of the table.
    EXPECT_EQ(octets.count(" 0 obj\r"), nb_objets);
    return l;
}

QByteArray en_cr(const std::vector<const char*>& lignes) {
    QByteArray s;
    for (const char* ligne : lignes)
        s += QByteArray(ligne) + '\r';
    s.chop(1);
    return s;
}

// Width of symbol-font code c, from the font's metrics table.
int largeur_attendue(int c) {
    struct Suite {
        int premier, dernier, largeur;
    };
    static const Suite suites[] = {
        {34, 45, 0},      {48, 57, 264},    {58, 58, 72},     {59, 59, 168},    {60, 60, 264},
        {61, 61, 120},    {62, 62, 168},    {63, 63, 312},    {64, 64, 48},     {65, 94, 168},
        {96, 96, 0},      {97, 116, 168},   {127, 160, 1000}, {169, 170, 0},    {176, 176, 1000},
        {181, 181, 1000}, {186, 186, 0},    {190, 190, 1000}, {192, 192, 1000}, {201, 201, 1000},
        {204, 204, 1000}, {209, 224, 1000}, {226, 226, 1000}, {228, 231, 1000}, {236, 240, 1000},
        {242, 244, 1000}, {246, 247, 1000},
    };
    for (const Suite& s : suites)
        if (c >= s.premier && c <= s.dernier)
            return s.largeur;
    return 280;
}

} // namespace

TEST(PdfDocument, ObjectsTableAndTrailerWithAndWithoutNote) {
    for (const bool note : {false, true}) {
        const int n = note ? 15 : 13;
        const QByteArray octets = fabrique(description("R"), note);
        const Lecture l = lit(octets, n);
        // Object 1 follows the six header lines.
        const qsizetype entete = octets.indexOf("\r%For: \r") + 8;
        EXPECT_EQ(l.decalages[0], entete + 1);
        EXPECT_EQ(l.objet(1),
                  en_cr({"1 0 obj", "<<", "/Type /Catalog", "/OpenAction 3 0 R", "/Pages 4 0 R",
                         "/ViewerPreferences << /FitWindow true /CenterWindow true >>", ">>",
                         "endobj", ""}));
        EXPECT_EQ(l.objet(3), en_cr({"3 0 obj", "<<", "/S /GoTo ",
                                     "/D [ 5 0 R /XYZ -32768 -32768 3 ]", ">>", "endobj", ""}));
        EXPECT_EQ(l.objet(4), en_cr({"4 0 obj", "<<", "/Type /Pages", "/Count 1", "/Kids [5 0 R]",
                                     ">>", "endobj", ""}));
        QByteArray page = en_cr({"5 0 obj", "<<", "/Type /Page", "/Parent 4 0 R", "/Contents 6 0 R",
                                 "/Resources 7 0 R", "/MediaBox [0 0 143.5 49]"});
        page += note ? "\r/Annots 14 0 R\r>>\rendobj\r" : "\r>>\rendobj\r";
        EXPECT_EQ(l.objet(5), page);
        EXPECT_EQ(l.objet(7), en_cr({"7 0 obj", "<<", "/ProcSet [/PDF /Text]", "/Font", "<<",
                                     "/F_H 8 0 R", "/F_HB 9 0 R", "/F_CB 10 0 R", ">>",
                                     "/ExtGState", "<<", "/GS1 13 0 R", ">>", ">>", "endobj", ""}));
        EXPECT_EQ(l.objet(13), en_cr({"13 0 obj", "<<", "/Type /ExtGState", "/op true", "/OPM 1",
                                      ">>", "endobj", ""}));
        if (note) {
            EXPECT_EQ(l.objet(14), QByteArray("14 0 obj\r[15 0 R]\rendobj\r"));
        }
        // Every stream: CR LF after "stream", /Length bytes of data, CR before "endstream".
        l.flux(6);
        l.flux(12);
    }
}

TEST(PdfDocument, HeaderInfoAndPageSizes) {
    struct Cas {
        const char* protection;
        const char* orientation;
        const char* boite;
        const char* etat;
    };
    for (const Cas& c : {Cas{"A", "=", "[0 0 128 49]", "/op true\r/OPM 1"},
                         Cas{"F", "=", "[0 0 143.5 49]", "/op false\r/OPM 0"},
                         Cas{"A", "<", "[0 0 49 128]", "/op true\r/OPM 1"},
                         Cas{"C", ">", "[0 0 49 143.5]", "/op false\r/OPM 0"}}) {
        const QByteArray octets = fabrique(description(c.protection, c.orientation), false);
        const Lecture l = lit(octets, 13);
        EXPECT_TRUE(l.objet(5).contains(QByteArray("/MediaBox ") + c.boite + "\r>>"));
        EXPECT_TRUE(l.objet(13).contains(c.etat));
    }

    // Header comments and the information dictionary carry the run's texts.
    const QByteArray octets = fabrique(description(), false);
    const Lecture l = lit(octets, 13);
    const QByteArray date = valdorin::pdf_date(valdorin::date_execution).toLatin1();
    const QTime h = valdorin::date_execution.time();
    const QByteArray texte_date = bibliotheque_v1::adapte_postscript(
                                      bibliotheque_v1::middle_date(valdorin::date_execution.date()))
                                      .toLatin1() +
                                  "  " + QByteArray::number(h.hour()) + "h " +
                                  QByteArray::number(h.minute()) + "mn " +
                                  QByteArray::number(h.second()) + "s";
    const QByteArray notice = valdorin::notice_editeur.toLatin1();
    EXPECT_EQ(octets.left(l.decalages[0] - 1),
              "%PDF-1.3\r%Title: essai.pdf\r%Creator: Valdorin 2.2\r%Copyright: " + notice +
                  "\r%CreationDate: " + texte_date + "\r%For: \r");
    EXPECT_EQ(l.objet(2), "2 0 obj\r<<\r/Title (essai.pdf)\r/Author ()\r/CreationDate (" + date +
                              ")\r/Creator (Valdorin 2.2, " + notice +
                              ")\r/Trapped /False\r>>\rendobj\r");
}

TEST(PdfDocument, DateFromTheRunsOneMoment) {
    const auto en = [](int secondes) {
        return QDateTime(QDate(2026, 1, 3), QTime(9, 5, 7), QTimeZone(secondes));
    };
    EXPECT_EQ(valdorin::pdf_date(en(3600)), "D:20260103090507+01'00'");
    EXPECT_EQ(valdorin::pdf_date(en(-5 * 3600)), "D:20260103090507-05'00'");
    EXPECT_EQ(valdorin::pdf_date(en(0)), "D:20260103090507Z00'00'");
    // Zones off the whole hour write their real minutes.
    EXPECT_EQ(valdorin::pdf_date(en(5 * 3600 + 1800)), "D:20260103090507+05'30'");
    EXPECT_EQ(valdorin::pdf_date(en(-(3 * 3600 + 1800))), "D:20260103090507-03'30'");
    EXPECT_EQ(valdorin::pdf_date(en(5 * 3600 + 45 * 60)), "D:20260103090507+05'45'");

    // The file's two dates (and the note's) name the same second.
    valdorin::tableau_code_barres t = description();
    const QByteArray octets = fabrique(t, true);
    static const QRegularExpression pdf(R"(/CreationDate \(D:(\d{8})(\d\d)(\d\d)(\d\d))");
    static const QRegularExpression texte(R"(%CreationDate: [^\r]* (\d+)h (\d+)mn (\d+)s\r)");
    const auto a = pdf.match(QString::fromLatin1(octets));
    const auto b = texte.match(QString::fromLatin1(octets));
    ASSERT_TRUE(a.hasMatch() && b.hasMatch());
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(a.captured(i + 1).toInt(), b.captured(i).toInt());
    EXPECT_TRUE(octets.contains("/M (D:" + a.captured(1).toLatin1()));
    EXPECT_EQ(octets.count(valdorin::pdf_date(valdorin::date_execution).toLatin1()), 2);
}

TEST(PdfDocument, TwoFilesInARowEachStartAtObjectOne) {
    fabrique(description(), true, "un.pdf");
    const QByteArray octets = fabrique(description("A"), false, "deux.pdf");
    lit(octets, 13);
    EXPECT_EQ(valdorin::nb_objets, 13);
    EXPECT_EQ(valdorin::xref.size(), 13 * 20);
}

TEST(PdfContenu, StreamsByProtectionAndOrientation) {
    // The worked example: "=", "C", carrier P, 12345, issue 42 sub-issue 5, price 2,50, mode A.
    const QByteArray octets = fabrique(description("C", "="), false);
    const QString symbole =
        bibliotheque_v1::adapte_postscript(valdorin::ean13_valdorin("37812345025000425", true));
    EXPECT_EQ(lit(octets, 13).flux(6), en_cr({"% Defonce",
                                              "/GS1 gs",
                                              "% Fond blanc et cadre",
                                              "0 0 0 0 k",
                                              "0 0 0 1 K",
                                              "0 0 143.5 49 re B",
                                              "% Texte",
                                              "0 0 0 1 k",
                                              "0 0 0 0 K",
                                              "% Code-barres",
                                              "BT",
                                              "/F_CB 1 Tf",
                                              "35 0 0 35 0.8 7.2 Tm",
                                              qPrintable("(" + symbole + ") Tj"),
                                              "ET",
                                              "% Legende",
                                              "BT",
                                              "70 Tz",
                                              "/F_HB 11.5 Tf",
                                              "1 0 0 1 15 37 Tm",
                                              R"((P\24012345\240) Tj)",
                                              "/F_H 9.5 Tf",
                                              R"((-\24042H\240-) Tj)",
                                              "/F_HB 11.5 Tf",
                                              R"((\2402,50\240\200\240) Tj)",
                                              "/F_H 9.5 Tf",
                                              R"((-\240A) Tj)",
                                              "ET"}));

    struct Cas {
        const char* protection;
        const char* orientation;
        std::vector<const char*> attendu;
        std::vector<const char*> absent;
    };
    const std::vector<Cas> cas = {
        {"A", "=", {"% Surimpression\r/GS1 gs\r% Texte\r", "1 0 0 1 6 37 Tm"}, {" re ", "% Fond"}},
        {"R", "=", {"% Surimpression\r/GS1 gs\r% Texte\r", "1 0 0 1 15 37 Tm"}, {" re "}},
        {"F",
         "<",
         {"% Defonce\r/GS1 gs\r% Fond blanc\r0 0 0 0 k\r0 0 49 143.5 re f\r% Texte",
          "0 35 -35 0 41.9 0.8 Tm", "0 1 -1 0 12 15 Tm"},
         {" K\r0 0 49"}},
        {"A", "<", {"0 35 -35 0 41.9 0.8 Tm", "0 1 -1 0 12 6 Tm"}, {}},
        {"A", ">", {"0 -35 35 0 7.1 127.1 Tm", "0 -1 1 0 37 122 Tm"}, {}},
        {"R", ">", {"0 -35 35 0 7.1 142.6 Tm", "0 -1 1 0 37 128 Tm"}, {}},
        {"C", ">", {"0 0 0 1 K\r0 0 49 143.5 re B\r", "0 -1 1 0 37 128 Tm"}, {}},
    };
    for (const Cas& c : cas) {
        const QByteArray flux =
            lit(fabrique(description(c.protection, c.orientation), false), 13).flux(6);
        for (const char* a : c.attendu)
            EXPECT_TRUE(flux.contains(a)) << c.protection << c.orientation << " " << a;
        for (const char* a : c.absent)
            EXPECT_FALSE(flux.contains(a)) << c.protection << c.orientation << " " << a;
        EXPECT_TRUE(flux.endsWith("\rET"));
    }
}

TEST(PdfContenu, LegendRunsFollowTheEntries) {
    auto t = description("A");
    t[valdorin::entree_transporteur] = "";
    t[valdorin::entree_parution] = "000";
    t[valdorin::entree_sous_parution] = "6";
    t[valdorin::entree_entete_prix] = "Prix";
    t[valdorin::entree_mode_reglement] = "";
    QByteArray flux = lit(fabrique(t, false), 13).flux(6);
    // Empty carrier, issue emptied of its zeros (no letter), header, no payment mode.
    EXPECT_TRUE(flux.endsWith(
        en_cr({"(\\24012345\\240) Tj", "/F_H 9.5 Tf", "(\\240-) Tj", "/F_H 11.5 Tf",
               "(\\240Prix) Tj", "/F_HB 11.5 Tf", "(\\2402,50\\240\\200\\240) Tj", "ET"})));

    t = description("A");
    t[valdorin::entree_parution] = "7";
    t[valdorin::entree_sous_parution] = "6";
    t[valdorin::entree_prix] = "5";
    flux = lit(fabrique(t, false), 13).flux(6);
    EXPECT_TRUE(flux.contains("(-\\2407S\\240-) Tj\r/F_HB 11.5 Tf\r(\\2400,05\\240\\200\\240) Tj"));
}

TEST(PdfContenu, LegendTextIsEscapedInWindows1252) {
    auto t = description();
    t[valdorin::entree_entete_prix] = QString::fromUtf8("a(\\) é€œ");
    const QByteArray flux = lit(fabrique(t, false), 13).flux(6);
    // Literal stays whole; characters in the fonts' code page.
    EXPECT_TRUE(flux.contains("(\\240a\\(\\\\\\) \\351\\200\\234) Tj\r"));
    // Nothing but 7-bit text in the stream.
    for (const char c : flux)
        ASSERT_LT(static_cast<unsigned char>(c), 128);
}

TEST(PdfPolices, FontObjectsAndProgramOfEachReduction) {
    for (int k = 0; k <= 4; ++k) {
        const QString r = QString::number(k);
        const Lecture l = lit(fabrique(description("C", "=", r), false), 13);
        EXPECT_EQ(l.objet(8), en_cr({"8 0 obj", "<<", "/Type /Font", "/Subtype /Type1",
                                     "/Name /F_H", "/BaseFont /Helvetica",
                                     "/Encoding /WinAnsiEncoding", ">>", "endobj", ""}));
        EXPECT_EQ(l.objet(9), en_cr({"9 0 obj", "<<", "/Type /Font", "/Subtype /Type1",
                                     "/Name /F_HB", "/BaseFont /Helvetica-Bold",
                                     "/Encoding /WinAnsiEncoding", ">>", "endobj", ""}));
        const QByteArray police = l.objet(10);
        EXPECT_TRUE(police.startsWith(
            en_cr({"10 0 obj", "<<", "/Type /Font", "/Subtype /Type1", "/Name /F_CB",
                   "/FirstChar 33", "/LastChar 251", "/Widths ["})));
        EXPECT_TRUE(police.endsWith("280 280 280 280 ]\r/BaseFont /EanP35N" + r.toLatin1() +
                                    "\r/FontDescriptor 11 0 R\r>>\rendobj\r"));
        EXPECT_FALSE(police.contains("/Encoding"));

        // 219 widths on 14 lines: 13 of 16 values, then 11.
        const qsizetype debut = police.indexOf("/Widths [") + 9;
        const QByteArray tableau = police.mid(debut, police.indexOf(']') - debut);
        const QList<QByteArray> lignes = tableau.split('\r');
        ASSERT_EQ(lignes.size(), 14);
        int code = 33;
        for (int i = 0; i < 14; ++i) {
            const QList<QByteArray> valeurs = lignes[i].split(' ');
            ASSERT_EQ(valeurs.size(), (i < 13 ? 16 : 11) + 1) << i; // each value ends in a blank
            EXPECT_TRUE(valeurs.last().isEmpty());
            for (int j = 0; j + 1 < valeurs.size(); ++j, ++code)
                EXPECT_EQ(valeurs[j].toInt(), largeur_attendue(code)) << code;
        }
        EXPECT_EQ(code, 252);

        EXPECT_EQ(
            l.objet(11),
            en_cr({"11 0 obj", "<<", "/Type /FontDescriptor", "/Ascent 734", "/CapHeight 734",
                   "/Descent -176", "/Flags 32", "/FontBBox [-120 -176 312 857]", "/ItalicAngle 0",
                   "/StemV 22.972", "/XHeight 390", qPrintable("/FontName /EanP35N" + r),
                   "/FontFile3 12 0 R", ">>", "endobj", ""}));
        // The descriptor follows the font: the box of the same font's EPS form,
        // whose bottom is the descent.
        static const QRegularExpression boite(R"(/FontBBox \[(-?\d+) (-?\d+) (-?\d+) (-?\d+)\])");
        const auto police_eps = boite.match(QString::fromLatin1(ressources::texte(170 + k)));
        const auto descripteur = boite.match(QString::fromLatin1(l.objet(11)));
        ASSERT_TRUE(police_eps.hasMatch() && descripteur.hasMatch());
        EXPECT_EQ(descripteur.captured(), police_eps.captured());
        EXPECT_TRUE(l.objet(11).contains("/Descent " + police_eps.captured(2).toLatin1() + '\r'));
        const QByteArray programme = ressources::texte(176 + k);
        ASSERT_FALSE(programme.isEmpty());
        EXPECT_TRUE(l.objet(12).startsWith(
            "12 0 obj\r<<\r/Filter [/ASCII85Decode /FlateDecode]\r/Subtype /Type1C\r/Length " +
            QByteArray::number(programme.size()) + "\r>>\rstream\r\n"));
        EXPECT_EQ(l.flux(12), programme);
    }
}

TEST(PdfNote, NoteTextLineByLine) {
    auto t = description("R", "<", "3");
    t[valdorin::entree_entete_prix] = QString::fromUtf8("Spécial");
    t[valdorin::entree_commentaire] = "Ligne (1)\rLigne 2";
    const Lecture l = lit(fabrique(t, true), 15);
    const QByteArray date = valdorin::pdf_date(valdorin::date_execution).toLatin1();
    const QByteArray notice = valdorin::notice_editeur.toLatin1();
    EXPECT_EQ(l.objet(15),
              "15 0 obj\r<<\r/Type /Annot\r/Subtype /Text\r/C [1 1 0]\r/Open true\r"
              "/Rect [0 0 20 143.5]\r/T (Valdorin)\r/M (" +
                  date +
                  ")\r/Contents (Ligne \\(1\\)\\r\\nLigne 2\\r\\n--\\r\\nTransporteur : P"
                  "\\r\\nCode produit : 12345\\r\\nParution : 0042\\r\\nSous-parution : 5"
                  "\\r\\nEn-t\\352te de prix : Sp\\351cial\\r\\nPrix : 2,50 euros"
                  "\\r\\nMode de r\\350glement : A\\r\\n--\\r\\nCode-barres pour impression "
                  "avec engraissement 0,03 mm\\r\\n--\\r\\nAuteur : \\r\\n--\\r\\nValdorin 2.2"
                  "\\r\\n" +
                  notice + ")\r>>\rendobj\r");

    // No comment, no carrier: the note begins with a line end; empty issue,
    // header and payment mode; reduction 0.
    t = description("A", "=", "0");
    t[valdorin::entree_transporteur] = "";
    t[valdorin::entree_parution] = "";
    t[valdorin::entree_mode_reglement] = "";
    const QByteArray note = lit(fabrique(t, true), 15).objet(15);
    EXPECT_TRUE(note.contains("/Rect [0 0 20 49]\r"));
    EXPECT_TRUE(note.contains("/Contents (\\r\\nCode produit : 12345\\r\\nParution : 0000\\r\\n"
                              "Sous-parution : 5\\r\\nPrix : 2,50 euros\\r\\n--\\r\\n"
                              "Code-barres pour impression avec engraissement n\\351gligeable"
                              "\\r\\n--\\r\\nAuteur : "));

    // A comment without carrier: comment, "--", an empty line, then the product code.
    t[valdorin::entree_commentaire] = "Essai";
    EXPECT_TRUE(lit(fabrique(t, true), 15)
                    .objet(15)
                    .contains("/Contents (Essai\\r\\n--\\r\\n\\r\\nCode produit : 12345"));
}

TEST(PdfNote, CharactersBeyondLatin1TakeTheirPdfDocEncodingByte) {
    auto t = description();
    t[valdorin::entree_commentaire] = QString::fromUtf8("€ … — – • œ Œ ˘ ﬁ é");
    const QByteArray note = lit(fabrique(t, true), 15).objet(15);
    EXPECT_TRUE(note.contains("/Contents (\\240 \\203 \\204 \\205 \\200 \\234 \\226 \\030 "
                              "\\223 \\351\\r\\n--"));

    // PDFDocEncoding's 0xA0 is the euro sign, so a no-break space is written
    // as a space. (A character that it lacks turns the whole text to UTF-16:
    // PdfLecteurs.NoteAndTitleReadBackAsTyped.)
    t[valdorin::entree_commentaire] = QString::fromUtf8("a\u00A0b\u00A1");
    EXPECT_TRUE(lit(fabrique(t, true), 15).objet(15).contains("/Contents (a b\\241\\r\\n--"));
}

TEST(PdfDocument, FileNameIsEscapedInTitleAndComment) {
    const QString nom = QString::fromUtf8("a(b\\c)) é€.pdf");
    auto t = description();
    t[valdorin::entree_nom_fichier] = nom;
    const QByteArray octets = fabrique(t, false, nom);
    const Lecture l = lit(octets, 13);
    const QByteArray echappe = "a\\(b\\\\c\\)\\) \\351\\240.pdf";
    EXPECT_TRUE(octets.contains("\r%Title: " + echappe + "\r%Creator: "));
    EXPECT_TRUE(l.objet(2).contains("\r/Title (" + echappe + ")\r"));

    // A line end in the name cannot end the comment line.
    t[valdorin::entree_nom_fichier] = "x\ry.pdf";
    EXPECT_TRUE(fabrique(t, false).contains("\r%Title: x\\r\\ny.pdf\r%Creator: "));

    // A name beyond PDFDocEncoding: the comment as before (the title, in
    // UTF-16BE: PdfLecteurs.NoteAndTitleReadBackAsTyped).
    t[valdorin::entree_nom_fichier] = QString::fromUtf8("note-日本.pdf");
    EXPECT_TRUE(fabrique(t, false).contains("\r%Title: note-??.pdf\r%Creator: "));
}

TEST(PdfDocument, FailureLeavesTheEarlierFileIntact) {
    const QByteArray avant = fabrique(description(), false);
    auto t = description();
    t[valdorin::entree_engraissement] = "7";
    EXPECT_THROW(fabrique(t, false), valdorin::erreur_creation);
    QFile f(valdorin::fi_ecriture);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), avant);

    // A destination that cannot be made: a French message, no file.
    valdorin::fi_ecriture = test_support::dossier_test() + "/absent/essai.pdf";
    valdorin::previsu_presence = true;
    t = description();
    try {
        valdorin::cree_fichier(t);
        ADD_FAILURE() << "no exception";
    } catch (const valdorin::erreur_creation& e) {
        EXPECT_FALSE(e.message().isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(valdorin::fi_ecriture));
}

TEST(PdfDocument, AppendingPiecesDirectly) {
    valdorin::buffer_ecriture = std::make_unique<QBuffer>();
    valdorin::buffer_ecriture->open(QIODevice::ReadWrite);
    valdorin::nb_objets = 0;
    valdorin::xref.clear();
    // A stream's /Length counts the bytes written, not the characters.
    valdorin::pdf_ajoute_stream(QString::fromUtf8("é€"));
    // An unknown font kind writes nothing.
    valdorin::pdf_ajoute_police("X", description());
    valdorin::pdf_ajoute_objet("/A 1");
    EXPECT_EQ(valdorin::buffer_ecriture->data(),
              "\r1 0 obj\r<< /Length 5 >>\rstream\r\n" + QString::fromUtf8("é€").toUtf8() +
                  "\rendstream\rendobj\r\r2 0 obj\r<<\r/A 1\r>>\rendobj\r");
    EXPECT_EQ(valdorin::xref.toStdString(), "0000000001 00000 n \r0000000057 00000 n \r");

    // Without an open stream, writing raises the engine's error.
    valdorin::buffer_ecriture->close();
    EXPECT_THROW(valdorin::pdf_ajoute_objet("/A 1"), valdorin::erreur_creation);
}
