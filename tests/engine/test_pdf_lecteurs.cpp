// The PDF files through real readers: qpdf, poppler (pdfinfo, pdffonts,
// pdftoppm) and Ghostscript, and the rendered pages through a barcode scanner.

#include "outils_eps.h"
#include "test_pdf_commun.h"

#include <QDir>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <vector>

using test_pdf::description;

namespace {

using Sortie = outils_eps::sortie_programme;
using outils_eps::execute;

// One variant of every reduction, protection, orientation and note, with
// digits that change from one variant to the next.
struct Variante {
    valdorin::tableau_code_barres t;
    bool note;
    QString ean13; // what a scanner must read
    QString ean5;
};

QString cle_ean13(const QString& douze) {
    int somme = 0;
    for (int i = 0; i < 12; ++i)
        somme += (douze[i].unicode() - u'0') * (i % 2 ? 3 : 1);
    return douze + QChar(u'0' + (10 - somme % 10) % 10);
}

std::vector<Variante> variantes() {
    std::vector<Variante> v;
    int i = 0;
    for (const char* reduction : {"0", "1", "2", "3", "4"})
        for (const char* protection : {"A", "R", "F", "C"})
            for (const char* orientation : {"=", "<", ">"})
                for (const bool note : {false, true}) {
                    Variante x;
                    x.note = note;
                    x.t = description(protection, orientation, reduction);
                    const int produit = 1 + (i * 7919) % 99999;
                    const int prix = (i * 389) % 10000;
                    const int parution = (i * 97) % 10000;
                    x.t[valdorin::entree_code_produit] = QString::number(produit);
                    x.t[valdorin::entree_prix] = QString::number(prix);
                    x.t[valdorin::entree_parution] = QString::number(parution);
                    x.t[valdorin::entree_sous_parution] = QString::number(i % 10);
                    x.t[valdorin::entree_commentaire] =
                        note ? QStringLiteral("Variante %1").arg(i) : QString();
                    x.ean13 = cle_ean13(QStringLiteral("378%1%2")
                                            .arg(produit, 5, 10, QChar(u'0'))
                                            .arg(prix, 4, 10, QChar(u'0')));
                    x.ean5 = QStringLiteral("%1%2").arg(parution, 4, 10, QChar(u'0')).arg(i % 10);
                    v.push_back(x);
                    ++i;
                }
    return v;
}

// Writes the variant's file with the make_barcode tool, as a reviewer would.
void fabrique_outil(const Variante& x, const QString& chemin) {
    QStringList arguments = {chemin, x.note ? "1" : "0"};
    for (const QString& entree : x.t)
        arguments << entree;
    const Sortie s = execute(MAKE_BARCODE, arguments);
    ASSERT_EQ(s.code, 0) << qPrintable(s.erreur);
}

QString nom_variante(const Variante& x) {
    return QStringLiteral("k%1 %2 %3 %4")
        .arg(x.t[valdorin::entree_engraissement], x.t[valdorin::entree_protection],
             x.t[valdorin::entree_orientation],
             x.note ? QStringLiteral("note") : QStringLiteral("-"));
}

// Makes the variants' files (all of them, or with `moitie` each reduction,
// protection and orientation once, with and without note in turn), renders
// each with `rendu` (file, image) and scans the image.
void scanne(const std::function<Sortie(const QString&, const QString&)>& rendu, bool moitie) {
    const QString dossier = test_support::dossier_test();
    int n = 0;
    for (const Variante& x : variantes()) {
        const int i = n++;
        if (moitie && i % 2 != i / 2 % 2)
            continue;
        const QString nom = QStringLiteral("v%1.pdf").arg(i);
        fabrique_outil(x, dossier + "/" + nom);
        const QString image = dossier + "/" + nom + ".png";
        const Sortie r = rendu(dossier + "/" + nom, image);
        ASSERT_EQ(r.code, 0) << qPrintable(nom_variante(x) + r.erreur);
        const Sortie z = execute("zbarimg", {"-q", "-Sean5.enable", image});
        EXPECT_EQ(z.code, 0) << qPrintable(nom_variante(x));
        QStringList lus = z.texte.split(u'\n', Qt::SkipEmptyParts);
        lus.sort();
        EXPECT_EQ(lus, QStringList({"EAN-13:" + x.ean13, "EAN-5:" + x.ean5}))
            << qPrintable(nom_variante(x));
        QFile::remove(image);
    }
}

} // namespace

TEST(PdfLecteurs, QpdfPdfinfoAndPdffontsAcceptEveryKind) {
    const QString dossier = test_support::dossier_test();
    int n = 0;
    for (const Variante& x : variantes()) {
        // Each reduction, protection and orientation, with and without note,
        // over a third of the variants.
        if (n++ % 3 != 0 && !(x.t[valdorin::entree_engraissement] == u"0"))
            continue;
        const QString nom = dossier + "/lu.pdf";
        fabrique_outil(x, nom);
        const QString quoi = nom_variante(x);

        const Sortie q = execute("qpdf", {"--check", nom});
        EXPECT_EQ(q.code, 0) << qPrintable(quoi + q.texte + q.erreur);
        EXPECT_TRUE(q.erreur.isEmpty()) << qPrintable(quoi + q.erreur);
        EXPECT_TRUE(q.texte.contains("No syntax or stream encoding errors found"))
            << qPrintable(quoi + q.texte);

        const Sortie i = execute("pdfinfo", {nom});
        EXPECT_EQ(i.code, 0) << qPrintable(quoi + i.erreur);
        EXPECT_TRUE(i.erreur.isEmpty()) << qPrintable(quoi + i.erreur);
        EXPECT_TRUE(i.texte.contains(QRegularExpression("PDF version: +1\\.3\n")));
        EXPECT_TRUE(i.texte.contains(QRegularExpression("Pages: +1\n")));
        const QString cote = x.t[valdorin::entree_protection] == u"A" ? "128" : "143.5";
        const QString taille = x.t[valdorin::entree_orientation] == u"=" ? cote + " x 49 pts"
                                                                         : "49 x " + cote + " pts";
        EXPECT_TRUE(i.texte.contains(
            QRegularExpression("Page size: +" + QRegularExpression::escape(taille))))
            << qPrintable(quoi + i.texte);

        const Sortie f = execute("pdffonts", {nom});
        EXPECT_EQ(f.code, 0) << qPrintable(quoi + f.erreur);
        EXPECT_TRUE(f.erreur.isEmpty()) << qPrintable(quoi + f.erreur);
        const QStringList lignes = f.texte.split(u'\n', Qt::SkipEmptyParts);
        ASSERT_EQ(lignes.size(), 5) << qPrintable(f.texte);
        EXPECT_TRUE(lignes[2].contains(QRegularExpression("^Helvetica +Type 1 +WinAnsi +no ")))
            << qPrintable(lignes[2]);
        EXPECT_TRUE(lignes[3].contains(QRegularExpression("^Helvetica-Bold +Type 1 +WinAnsi +no ")))
            << qPrintable(lignes[3]);
        EXPECT_TRUE(lignes[4].contains(QRegularExpression(
            "^EanP35N" + x.t[valdorin::entree_engraissement] + " +Type 1C +\\S+ +yes ")))
            << qPrintable(lignes[4]);
    }
}

TEST(PdfLecteurs, PdfinfoReadsTheFileNameAsWritten) {
    // Accented letters and a no-break space (a plain space in the title).
    const QString nom = QString::fromUtf8("Prix\u00A0spécial (n°1).pdf");
    Variante x = variantes().front();
    x.t[valdorin::entree_nom_fichier] = nom;
    const QString chemin = test_support::dossier_test() + "/titre.pdf";
    fabrique_outil(x, chemin);
    const Sortie i = execute("pdfinfo", {chemin});
    ASSERT_EQ(i.code, 0) << qPrintable(i.erreur);
    EXPECT_TRUE(i.texte.contains(
        QRegularExpression(QString::fromUtf8("(^|\n)Title: +Prix spécial \\(n°1\\)\\.pdf\n"))))
        << qPrintable(i.texte);
}

// The note and the title, read back by qpdf, which decodes text strings, and
// by pdfinfo, as typed (a line end as CR LF): in PDFDocEncoding, byte for
// byte as ever, when that encoding holds every character; in UTF-16BE
// otherwise. The file stays 7-bit and its offsets and lengths exact.
TEST(PdfLecteurs, NoteAndTitleReadBackAsTyped) {
    const struct {
        const char* texte;
        const char* litteral = nullptr; // as written, when in PDFDocEncoding
    } cas[] = {
        {"Essai", "Essai"},
        {"Réf. (n°1) \\ € — fin", "R\\351f. \\(n\\2601\\) \\\\ \\240 \\204 fin"},
        {"ligne 1\rligne 2", "ligne 1\\r\\nligne 2"},
        {"Réf. 日本 Ω ✓ →"},
        {"😀 (x) \\ 𝄞 ✓"},
        {"ligne ✓\rligne 2\r\nligne 3\n"},
        {"x\u0085y\u00ADz\u00A0"},    // that PDFDocEncoding lacks
        {"\u2928\u5C5C\u0D0A\u0A0D"}, // UTF-16 bytes "(", ")", backslash, CR, LF
        {"a\tb", "a\\tb"},
        {"esc\x1B accents\x18\x1F soh\x01 del\x7F tab\t"}, // controls it reads as accents or lacks
    };
    const QString pdf = test_support::dossier_test() + "/texte.pdf";
    for (const auto& c : cas) {
        const QString texte = QString::fromUtf8(c.texte);
        SCOPED_TRACE(c.texte);
        Variante x = variantes().front();
        x.t[valdorin::entree_commentaire] = texte;
        x.t[valdorin::entree_nom_fichier] = texte + ".pdf";
        x.note = true;
        fabrique_outil(x, pdf);
        QString lu = texte;
        lu.replace("\r\n", "\n").replace(u'\r', u'\n').replace("\n", "\r\n");

        const Sortie q = execute("qpdf", {"--check", pdf});
        EXPECT_EQ(q.code, 0) << qPrintable(q.texte + q.erreur);
        EXPECT_TRUE(q.erreur.isEmpty()) << qPrintable(q.erreur);
        const QJsonObject objets = outils_eps::objets_pdf(pdf);
        EXPECT_EQ(objets["obj:2 0 R"]["value"]["/Title"].toString(), "u:" + lu + ".pdf");
        const QString note = objets["obj:15 0 R"]["value"]["/Contents"].toString();
        EXPECT_TRUE(note.startsWith("u:" + lu + "\r\n--\r\nTransporteur : ")) << qPrintable(note);
        if (!lu.contains(u'\n')) {
            const Sortie i = execute("pdfinfo", {pdf});
            EXPECT_TRUE(i.texte.contains(QRegularExpression(
                "(^|\n)Title: +" + QRegularExpression::escape(lu + ".pdf") + "\n")))
                << qPrintable(i.texte);
        }

        const QByteArray octets = outils_eps::lit(pdf);
        EXPECT_TRUE(std::all_of(octets.begin(), octets.end(), [](char o) { return o >= 0; }));
        if (c.litteral) {
            EXPECT_TRUE(octets.contains("\r/Title (" + QByteArray(c.litteral) + ".pdf)\r"));
            EXPECT_TRUE(octets.contains("\r/Contents (" + QByteArray(c.litteral) + "\\r\\n--"));
        } else {
            EXPECT_TRUE(octets.contains("\r/Title (\\376\\377"));
            EXPECT_TRUE(octets.contains("\r/Contents (\\376\\377"));
        }
    }
}

TEST(PdfLecteurs, PopplerRenderingScansEveryVariant) {
    scanne(
        [](const QString& pdf, const QString& image) {
            Sortie s = execute(
                "pdftoppm", {"-r", "600", "-gray", "-png", "-singlefile", pdf, image.chopped(4)});
            // Any complaint of the reader (a broken font program, a bad stream) fails.
            if (!s.erreur.isEmpty())
                s.code = s.code == 0 ? 1 : s.code;
            return s;
        },
        false);
}

TEST(PdfLecteurs, GhostscriptRenderingScansEveryKind) {
    scanne(
        [](const QString& pdf, const QString& image) {
            Sortie s = execute("gs", {"-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-sDEVICE=pnggray",
                                      "-r600", "-o", image, pdf});
            // Ghostscript reports a damaged file or a substituted font on its output.
            if (!s.erreur.isEmpty() || !s.texte.isEmpty())
                s.code = s.code == 0 ? 1 : s.code;
            s.erreur += s.texte;
            return s;
        },
        true);
}
