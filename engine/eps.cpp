#include "bibliotheque_v1.h"
#include "legende_interne.h"
#include "valdorin.h"

#include <array>
#include <cmath>

namespace valdorin {

namespace {

// Legend program and trailer, each line followed by CR.
constexpr const char* legende[] = {
    "/Helvetica-Bold findfont",
    "[8.6 0 0 11.5 0 0] makefont setfont",
    "Transporteur show             % Variable Transporteur",
    "( ) show",
    "CodeProduit show              % Variable Code Produit = numero de titre",
    "/Helvetica findfont",
    "[6.6 0 0 9.5 0 0] makefont setfont",
    "Parution length 0 gt",
    "{",
    " ( - ) show",
    " Parution show",
    "} if",
    "( - ) show",
    "EntetePrix length 0 gt",
    "{  ",
    " /Helvetica findfont",
    " [8.6 0 0 11.5 0 0] makefont setfont",
    " EntetePrix show    % Variable Parution non transcodee",
    " ( ) show",
    "} if",
    "/Helvetica-Bold findfont",
    "[8.6 0 0 11.5 0 0] makefont setfont",
    "PrixEuro show                     % Variable Prix",
    "/VuraVaze findfont",
    "[8.6 0 0 11.5 0 0] makefont setfont",
    "( E) show",
    "ModeReglement length 0 gt",
    "{  ",
    " /Helvetica findfont",
    " [6.6 0 0 9.5 0 0] makefont setfont",
    " ( - ) show",
    " ModeReglement show    % Variable Mode de reglement",
    "} if",
    "",
    "showpage",
    "end",
    "%%EOF",
};

// Process black that overprints. Under overprint mode 0 the zero cyan,
// magenta and yellow of 0 0 0 1 would still knock out the inks below; mode 1
// leaves them, as the PDF file's graphics state asks. setoverprintmode is
// not in every interpreter, and its operand differs: an integer for most,
// a boolean for some Ghostscript releases. Each try runs under `stopped`
// over a mark, so that a refusal leaves neither operands nor a pending
// error behind, and a reader without the operator draws as before.
constexpr const char* noir_surimprime[] = {
    "",
    "% Noir surimprime",
    "/setcmykcolor where",
    "{",
    " pop",
    " 0 0 0 1 setcmykcolor",
    " true setoverprint",
    " /setoverprintmode where",
    " {",
    "  pop",
    "  mark { 1 setoverprintmode } stopped",
    "  {",
    "   cleartomark mark { true setoverprintmode } stopped pop",
    "   $error /newerror false put",
    "  }",
    "  if",
    "  cleartomark",
    " }",
    " if",
    "}",
    "{",
    " 0 setgray",
    "}",
    "ifelse",
};

constexpr const char* fond_blanc[] = {
    "",
    "% Fond blanc",
    "Rectangle",
    "/setcmykcolor where",
    "{",
    " pop",
    " 0 0 0 0 setcmykcolor",
    "}",
    "{",
    " 1 setgray",
    "}",
    "ifelse",
    "fill",
    "",
    "% Noir",
    "/setcmykcolor where",
    "{",
    " pop",
    " 0 0 0 1 setcmykcolor",
    "}",
    "{",
    " 0 setgray",
    "}",
    "ifelse",
};

constexpr const char* rectangle[] = {
    "/Rectangle",
    "{",
    "newpath",
    "0.25 0.25 moveto",
    "0 48.5 rlineto",
    "143 0 rlineto",
    "0 -48.5 rlineto",
    "closepath",
    "}",
    "def",
};

template <std::size_t N> void lignes(QByteArray& s, const char* const (&texte)[N]) {
    for (const char* ligne : texte) {
        s += ligne;
        s += '\r';
    }
}

// A page side in the shortest decimal form with a point: 128, 143.5, 49.
// Whole numbers, most of them, are written without the general conversion,
// which costs more than the rest of the header.
QByteArray nombre(double valeur) {
    const auto entier = static_cast<qint64>(valeur);
    if (static_cast<double>(entier) == valeur)
        return QByteArray::number(entier);
    return QByteArray::number(valeur, 'g', 10);
}

// The font resources of every EPS file for a reduction: the symbol font,
// then the legend font, joined once and kept, so that a batch copies them in
// one piece.
const QByteArray& polices(const QString& reduction) {
    static std::array<QByteArray, 5> jointes;
    const QByteArray& symbole = f_eps_symbole(reduction); // checks the reduction
    QByteArray& polices = jointes[static_cast<std::size_t>(reduction[0].unicode() - u'0')];
    if (polices.isEmpty())
        polices = symbole + f_eps_vuravaze();
    return polices;
}

// The legend program and trailer: in the fonts' own encoding, or in the
// fonts re-encoded to WinAnsi, whose names the prolog defines.
const QByteArray& programme_legende(bool winansi) {
    static const QByteArray standard = [] {
        QByteArray s;
        lignes(s, legende);
        return s;
    }();
    static const QByteArray recode =
        QByteArray(standard)
            .replace("/Helvetica findfont", "/Helvetica-WinAnsi findfont")
            .replace("/Helvetica-Bold findfont", "/Helvetica-Bold-WinAnsi findfont");
    return winansi ? recode : standard;
}

// The names of WinAnsi codes `premier` to `dernier` as a PostScript array,
// "/.notdef" where a code draws nothing, a few names to a line.
QByteArray noms_glyphes(int premier, int dernier) {
    QByteArray s = "[";
    qsizetype debut_ligne = 0;
    for (int code = premier; code <= dernier; ++code) {
        const QByteArray nom = *glyphe_winansi(code) ? glyphe_winansi(code) : ".notdef";
        if (s.size() - debut_ligne + nom.size() > 80) {
            s += '\r';
            debut_ligne = s.size();
        } else if (code > premier) {
            s += ' ';
        }
        s += '/' + nom;
    }
    return s + ']';
}

// Defines Helvetica-WinAnsi and Helvetica-Bold-WinAnsi: the two fonts with
// their dictionaries copied but for their /FID, and the WinAnsi encoding.
// Nothing is left in the current dictionary.
const QByteArray& codage_winansi() {
    static const QByteArray texte = "% Helvetica et Helvetica-Bold en codage WinAnsi\r"
                                    "/Helvetica-WinAnsi /Helvetica\r"
                                    "/Helvetica-Bold-WinAnsi /Helvetica-Bold\r"
                                    "2\r{\r"
                                    " findfont dup length dict begin\r"
                                    " { 1 index /FID ne { def } { pop pop } ifelse } forall\r"
                                    " /Encoding 256 array\r"
                                    " 0 1 255 { 1 index exch /.notdef put } for\r"
                                    " dup 32 " +
                                    noms_glyphes(32, 126) + " putinterval\r dup 128 " +
                                    noms_glyphes(128, 255) +
                                    " putinterval\r"
                                    " def\r"
                                    " currentdict\r"
                                    " end\r"
                                    " definefont pop\r"
                                    "}\rrepeat\r";
    return texte;
}

// A user entry for the legend: escaped, its characters in WinAnsi (the same
// bytes as typed for plain ASCII).
QByteArray legende_texte(const QString& texte) {
    return texte_winansi(texte).toLatin1();
}

// The string literals of the file that hold the user's entries, as written
// between their parentheses.
struct textes_eps {
    QByteArray titre, transporteur, mode_reglement, entete_prix;
};

textes_eps textes_utilisateur(const tableau_code_barres& t) {
    return {texte_litteral(t[entree_nom_fichier]).toLatin1(), legende_texte(t[entree_transporteur]),
            legende_texte(t[entree_mode_reglement]), legende_texte(t[entree_entete_prix])};
}

} // namespace

void eps_verifie_textes(const tableau_code_barres& t) {
    const textes_eps textes = textes_utilisateur(t);
    verifie_litteral(textes.titre, QStringLiteral("Nom du fichier"));
    verifie_litteral(textes.transporteur, QStringLiteral("Transporteur"));
    verifie_litteral(textes.entete_prix, QStringLiteral("En-tête de prix"));
    verifie_litteral(textes.mode_reglement, QStringLiteral("Mode de règlement"));
}

QByteArray eps_integer_to_hexa_inverse(quint32 n) {
    QByteArray octets(4, '\0');
    for (int i = 0; i < 4; ++i) {
        octets[i] = static_cast<char>(n % 256);
        n /= 256;
    }
    return octets;
}

void eps_cree_fichier(const QString& code, const tableau_code_barres& t,
                      const tableau_entete& entete) {
    const qint64 debut = position();
    if (previsu_presence) {
        QByteArray entete_dos("\xC5\xD0\xD3\xC6\x1E", 5);
        entete_dos.append(23, '\0');
        entete_dos.append("\xFF\xFF", 2);
        ecrit(entete_dos);
    }
    const qint64 debut_postscript = position();

    const QByteArray L = bibliotheque_v1::eol().toLatin1();
    const QByteArray W = nombre(largeur);
    const QByteArray H = nombre(hauteur);
    const QByteArray F = "EanP35N" + t[entree_engraissement].toLatin1();
    const QChar protection = t[entree_protection].isEmpty() ? QChar() : t[entree_protection][0];
    const bool fond = protection == u'F' || protection == u'C';
    const textes_eps textes = textes_utilisateur(t);

    QByteArray s;
    s.reserve(4096);
    s += "%!PS-Adobe-3.0 EPSF-3.0";
    // Readers of the structuring comments take whole points only in
    // %%BoundingBox: the sides are rounded up there and given exactly next.
    s += "\r%%BoundingBox: 0 0 " + nombre(std::ceil(largeur)) + ' ' + nombre(std::ceil(hauteur));
    s += "\r%%HiResBoundingBox: 0 0 " + W + ' ' + H;
    s += "\r%%Title: (" + textes.titre + ')';
    s += "\r%%Creator: (" + entete[0].toUtf8() + ')';
    s += "\r%%Copyright: (" + entete[1].toUtf8() + ')';
    s += "\r%%CreationDate: (" + entete[2].toUtf8() + ')';
    s += "\r%%For: (" + entete[3].toUtf8() + ')';
    s += "\r%%Pages: 1\r%%DocumentFonts: Helvetica-Bold Helvetica " + F +
         " VuraVaze\r%%DocumentNeededFonts: Helvetica-Bold Helvetica"
         "\r%%DocumentSuppliedFonts: " +
         F + " VuraVaze";
    s += "\r%%DocumentData: Clean7Bit\r%%DocumentProcessColors: Black"
         "\r%%ColorUsage: Black&White\r%%EndComments\r\r";
    ecrit(s);

    ecrit(polices(t[entree_engraissement]));
    const bool winansi = !legende_ascii(t);

    // The one page that %%Pages announces starts after the font resources
    // (and the re-encoded fonts of a legend beyond ASCII).
    s = winansi ? codage_winansi() : QByteArray();
    s += "%%Page: 1 1\r";
    if (fond) {
        s += "/EpsDict 8 dict def\rEpsDict begin\r";
        lignes(s, rectangle);
    } else {
        s += "/EpsDict 7 dict def\rEpsDict begin\r";
    }

    s += "/CodeBarres (" + code.toLatin1() + ") def" + L;
    s += "/Transporteur (" + textes.transporteur + ") def" + L;
    s += "/CodeProduit (" + t[entree_code_produit].toLatin1() + ") def" + L;
    s += "/Parution (";
    if (!t[entree_parution].isEmpty()) {
        s += t[entree_parution].toLatin1();
        if (t[entree_sous_parution] == u"5")
            s += 'H';
        else if (t[entree_sous_parution] == u"6")
            s += 'S';
    }
    s += ") def" + L;
    s += "/PrixEuro (" + t[entree_prix].toLatin1() + ") def" + L;
    s += "/ModeReglement (" + textes.mode_reglement + ") def" + L;
    s += "/EntetePrix (" + textes.entete_prix + ") def" + L;

    if (t[entree_orientation] == u"<")
        s += L + "% Orientation" + L + "90 rotate 0 -" + W + " translate" + L;
    else if (t[entree_orientation] == u">")
        s += L + "% Orientation" + L + "-90 rotate -" + H + " 0 translate" + L;

    if (fond)
        lignes(s, fond_blanc);
    else
        lignes(s, noir_surimprime);
    if (protection == u'C')
        s += "\r% Cadre\rRectangle\r0.5 setlinewidth\rstroke\r";
    s += "\r% Code-barres\r/" + F +
         " findfont\r35 scalefont setfont\r0.8 7.3 moveto"
         "\rCodeBarres show\r";
    s += "\r% Legende\r";
    s += protection == u'A' ? "6 37 moveto\r" : "15 37 moveto\r";
    s += programme_legende(winansi);
    ecrit(s);

    if (previsu_presence) {
        const qint64 longueur_postscript = position() - debut_postscript;
        ecrit(previsu_bloc);
        positionne(debut + 8);
        ecrit(eps_integer_to_hexa_inverse(static_cast<quint32>(longueur_postscript)));
        positionne(debut + 20);
        ecrit(eps_integer_to_hexa_inverse(static_cast<quint32>(longueur_postscript + 30)));
        ecrit(eps_integer_to_hexa_inverse(static_cast<quint32>(previsu_bloc.size())));
    }
}

} // namespace valdorin
