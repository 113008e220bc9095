// The note annotation of a PDF barcode file: an open text annotation that
// lists what the barcode encodes and how it was made.

#include "bibliotheque_v1.h"
#include "pdf_interne.h"
#include "valdorin.h"

namespace valdorin {

namespace {

// PDFDocEncoding byte of a character: its own code up to 255, the
// encoding's byte beyond, or -1 when the encoding lacks it. The encoding
// gives 0xA0 to the euro sign and leaves 0x80-0x9F (its own signs there
// are other characters) and 0xAD undefined: the no-break space becomes a
// space, the others -1.
int code_pdfdoc(char32_t c) {
    if (c == 0xA0)
        return 0x20;
    if ((c >= 0x80 && c <= 0x9F) || c == 0xAD)
        return -1;
    if (c <= 255)
        return static_cast<int>(c);
    static const struct {
        char32_t unicode;
        int code;
    } table[] = {
        {0x02D8, 0x18}, {0x02C7, 0x19}, {0x02C6, 0x1A}, {0x02D9, 0x1B}, {0x02DD, 0x1C},
        {0x02DB, 0x1D}, {0x02DA, 0x1E}, {0x02DC, 0x1F}, {0x2022, 0x80}, {0x2020, 0x81},
        {0x2021, 0x82}, {0x2026, 0x83}, {0x2014, 0x84}, {0x2013, 0x85}, {0x0192, 0x86},
        {0x2044, 0x87}, {0x2039, 0x88}, {0x203A, 0x89}, {0x2212, 0x8A}, {0x2030, 0x8B},
        {0x201E, 0x8C}, {0x201C, 0x8D}, {0x201D, 0x8E}, {0x2018, 0x8F}, {0x2019, 0x90},
        {0x201A, 0x91}, {0x2122, 0x92}, {0xFB01, 0x93}, {0xFB02, 0x94}, {0x0141, 0x95},
        {0x0152, 0x96}, {0x0160, 0x97}, {0x0178, 0x98}, {0x017D, 0x99}, {0x0131, 0x9A},
        {0x0142, 0x9B}, {0x0153, 0x9C}, {0x0161, 0x9D}, {0x017E, 0x9E}, {0x20AC, 0xA0},
    };
    for (const auto& entree : table)
        if (entree.unicode == c)
            return entree.code;
    return -1;
}

// The note's lines for each bar-width reduction.
QString ligne_engraissement(const QString& reduction) {
    static const char* const lignes[] = {
        "Code-barres pour impression avec engraissement négligeable",
        "Code-barres pour impression avec engraissement 0,01 mm",
        "Code-barres pour impression avec engraissement 0,02 mm",
        "Code-barres pour impression avec engraissement 0,03 mm",
        "Code-barres pour impression avec engraissement 0,04 mm",
    };
    if (reduction.size() != 1 || reduction[0] < u'0' || reduction[0] > u'4')
        return QString();
    return QString::fromUtf8(lignes[reduction[0].unicode() - u'0']);
}

// A text string in UTF-16BE after its byte-order mark FE FF, for a text that
// PDFDocEncoding cannot hold; characters beyond the Basic Multilingual Plane
// take their surrogate pair. A line end becomes CR LF, as in the
// PDFDocEncoding form. Every byte but printable ASCII is written as a
// three-digit octal escape, and "(", ")" and "\\" take a backslash, so that
// the file stays 7-bit and no byte can end the literal or its line.
QString texte_utf16(const QString& texte) {
    const QList<uint> points = texte.toUcs4();
    QString litteral = QStringLiteral("\\376\\377");
    litteral.reserve(8 + 8 * points.size());
    const auto ajoute = [&litteral](char16_t unite) {
        for (const int octet : {unite >> 8, unite & 0xFF}) {
            if (octet == '(' || octet == ')' || octet == '\\')
                litteral.append(u'\\').append(QChar(octet));
            else if (octet >= 32 && octet < 127)
                litteral += QChar(octet);
            else
                litteral += u'\\' + bibliotheque_v1::zeros_ajoute(QString::number(octet, 8), 3);
        }
    };
    for (qsizetype i = 0; i < points.size(); ++i) {
        const char32_t c = points[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < points.size() && points[i + 1] == u'\n')
                ++i; // CR LF is one line end
            ajoute(u'\r');
            ajoute(u'\n');
        } else if (QChar::requiresSurrogates(c)) {
            ajoute(QChar::highSurrogate(c));
            ajoute(QChar::lowSurrogate(c));
        } else {
            ajoute(static_cast<char16_t>(c));
        }
    }
    return litteral;
}

// Whether PDFDocEncoding lacks `c`. Of the controls it holds only TAB, LF
// and CR: it gives 0x18-0x1F to accents (ESC would read as a dot above) and
// leaves the others and DEL undefined. A surrogate is half of a character
// beyond the Basic Multilingual Plane, which it never holds.
bool hors_pdfdoc(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x20)
        return u != u'\t' && u != u'\n' && u != u'\r';
    if (u < 0x7F)
        return false;
    return u == 0x7F || c.isSurrogate() || code_pdfdoc(u) < 0;
}

} // namespace

QString pdf_texte_document(const QString& texte) {
    for (const QChar c : texte)
        if (hors_pdfdoc(c))
            return texte_utf16(texte);
    return pdf_texte_code(texte, code_pdfdoc);
}

QString pdf_texte_commentaire(const QString& texte) {
    return pdf_texte_code(texte, code_pdfdoc);
}

QString pdf_texte_note(const tableau_code_barres& t, const tableau_entete& entete) {
    const QString cr = QStringLiteral("\r");
    const QString separation = QStringLiteral("\r--\r");
    QString note;
    if (!t[entree_commentaire].isEmpty())
        note = t[entree_commentaire] + separation;
    if (!t[entree_transporteur].isEmpty())
        note += QStringLiteral("Transporteur : ") + t[entree_transporteur];
    note += QStringLiteral("\rCode produit : ") + t[entree_code_produit];
    note += QStringLiteral("\rParution : ") + bibliotheque_v1::zeros_ajoute(t[entree_parution], 4);
    note += QStringLiteral("\rSous-parution : ") + t[entree_sous_parution];
    if (!t[entree_entete_prix].isEmpty())
        note += QStringLiteral("\rEn-tête de prix : ") + t[entree_entete_prix];
    note += QStringLiteral("\rPrix : ") + t[entree_prix] + QStringLiteral(" euros");
    if (!t[entree_mode_reglement].isEmpty())
        note += QStringLiteral("\rMode de règlement : ") + t[entree_mode_reglement];
    const QString engraissement = ligne_engraissement(t[entree_engraissement]);
    if (!engraissement.isEmpty())
        note += separation + engraissement;
    note += separation + QStringLiteral("Auteur : ") + entete[3];
    note += separation + texte_createur + cr + entete[1];
    return note;
}

void pdf_ajoute_annot(const QString& texte, const QString& date) {
    pdf_debute_objet();
    ecrit(u'[' + QString::number(nb_objets + 1) + QStringLiteral(" 0 R]\rendobj\r"));
    pdf_ajoute_objet(QStringLiteral("/Type /Annot\r/Subtype /Text\r/C [1 1 0]\r/Open true\r"
                                    "/Rect [0 0 20 ") +
                     pdf_nombre(hauteur) + QStringLiteral("]\r/T (") +
                     bibliotheque_v1::nom_produit + QStringLiteral(")\r/M (") + date +
                     QStringLiteral(")\r/Contents (") + pdf_texte_document(texte) +
                     QStringLiteral(")"));
}

} // namespace valdorin
