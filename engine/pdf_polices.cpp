// The page's three fonts: Helvetica and Helvetica-Bold named, not embedded,
// and the symbol font of the bar-width reduction embedded as a compressed CFF
// program.

#include "pdf_interne.h"
#include "valdorin.h"

namespace valdorin {

namespace {

// Advance widths of codes 33 to 251 in the symbol fonts, in thousandths of
// the font size: runs of (last code, width).
constexpr struct {
    int dernier;
    int largeur;
} largeurs_symboles[] = {
    {33, 280},   {45, 0},     {47, 280},   {57, 264},   {58, 72},    {59, 168},   {60, 264},
    {61, 120},   {62, 168},   {63, 312},   {64, 48},    {94, 168},   {95, 280},   {96, 0},
    {116, 168},  {126, 280},  {160, 1000}, {168, 280},  {170, 0},    {175, 280},  {176, 1000},
    {180, 280},  {181, 1000}, {185, 280},  {186, 0},    {189, 280},  {190, 1000}, {191, 280},
    {192, 1000}, {200, 280},  {201, 1000}, {203, 280},  {204, 1000}, {208, 280},  {224, 1000},
    {225, 280},  {226, 1000}, {227, 280},  {231, 1000}, {235, 280},  {240, 1000}, {241, 280},
    {244, 1000}, {245, 280},  {247, 1000}, {251, 280},
};

// "/Widths [" then each value and a blank, a CR after every 16th, "]" last.
QString tableau_largeurs() {
    QString texte = QStringLiteral("/Widths [");
    int rang = 0;
    int code = 33;
    for (const auto& suite : largeurs_symboles) {
        for (; code <= suite.dernier; ++code) {
            texte += QString::number(suite.largeur) + u' ';
            if (++rang % 16 == 0)
                texte += u'\r';
        }
    }
    return texte + u']';
}

} // namespace

void pdf_ajoute_police(const QString& genre, const tableau_code_barres& t) {
    if (genre == u"H") {
        pdf_ajoute_objet(QStringLiteral("/Type /Font\r/Subtype /Type1\r/Name /F_H\r"
                                        "/BaseFont /Helvetica\r/Encoding /WinAnsiEncoding"));
    } else if (genre == u"HB") {
        pdf_ajoute_objet(QStringLiteral("/Type /Font\r/Subtype /Type1\r/Name /F_HB\r"
                                        "/BaseFont /Helvetica-Bold\r/Encoding /WinAnsiEncoding"));
    } else if (genre == u"CB") {
        static const QString largeurs = tableau_largeurs();
        const QString nom = QStringLiteral("/EanP35N") + t[entree_engraissement];
        pdf_ajoute_objet(QStringLiteral("/Type /Font\r/Subtype /Type1\r/Name /F_CB\r"
                                        "/FirstChar 33\r/LastChar 251\r") +
                         largeurs + QStringLiteral("\r/BaseFont ") + nom +
                         QStringLiteral("\r/FontDescriptor ") + QString::number(nb_objets + 2) +
                         QStringLiteral(" 0 R"));
        // The descent and the FontBBox are those of the font programs
        // (tools/genere_polices.py): their lowest ink is the figures' feet.
        pdf_ajoute_objet(QStringLiteral("/Type /FontDescriptor\r/Ascent 734\r/CapHeight 734\r"
                                        "/Descent -176\r/Flags 32\r"
                                        "/FontBBox [-120 -176 312 857]\r/ItalicAngle 0\r"
                                        "/StemV 22.972\r/XHeight 390\r/FontName ") +
                         nom + QStringLiteral("\r/FontFile3 ") + QString::number(nb_objets + 2) +
                         QStringLiteral(" 0 R"));
        pdf_ajoute_police_stream(t);
    }
}

void pdf_ajoute_police_stream(const tableau_code_barres& t) {
    const QByteArray& programme = f_pdf_symbole(t[entree_engraissement]);
    pdf_debute_objet();
    ecrit(QStringLiteral("<<\r/Filter [/ASCII85Decode /FlateDecode]\r/Subtype /Type1C\r"
                         "/Length ") +
          QString::number(programme.size()) + QStringLiteral("\r>>\rstream\r\n"));
    ecrit(programme);
    ecrit(QStringLiteral("\rendstream\rendobj\r"));
}

} // namespace valdorin
