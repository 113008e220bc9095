// The legend as each writer draws it: the characters its fonts can draw, and
// where it ends, measured with the standard widths of Helvetica and
// Helvetica-Bold and of our euro font, never with the fonts of the machine.

#include "bibliotheque_v1.h"
#include "legende_interne.h"
#include "pdf_interne.h"
#include "valdorin.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace valdorin {

namespace {

#include "largeurs_helvetica.inc"

constexpr int helvetica = 0;
constexpr int helvetica_gras = 1;

// Lengths in hundred-thousandths of a point. The widths are thousandths of
// the type's size and the sizes are hundredths of a point, so that a legend
// adds up exactly and its end compares exactly with the box's edge.
using longueur = qint64;
constexpr longueur point = 100000;

// The horizontal sizes of the legend's type, in hundredths of a point: the
// EPS font matrices are 8.6 and 6.6 wide; the PDF sets 11.5 and 9.5 points at
// a horizontal scaling of 70 %.
struct corps {
    int grand, petit;
};
constexpr corps corps_eps{860, 660};
constexpr corps corps_pdf{805, 665};

const QString espace_insecable = QStringLiteral("\u00A0");

// The end of a legend drawn piece after piece on one baseline.
class mesure {
public:
    mesure(bool winansi, longueur debut) : winansi(winansi), fin(debut) {}

    void ajoute(int police, const QString& texte, int taille) {
        for (const QChar c : texte)
            fin += longueur{largeur(police, c.unicode())} * taille;
    }
    void ajoute_largeur(int largeur, int taille) { fin += longueur{largeur} * taille; }
    longueur position() const { return fin; }

private:
    // The text is drawable (verifie_legende has looked at it): printable
    // ASCII in the fonts' own encoding, or WinAnsi.
    int largeur(int police, char16_t c) const {
        if (!winansi)
            return c < 128 ? largeurs_standard[police][c] : 0;
        const int code = bibliotheque_v1::code_windows_1252(c);
        return code < 0 ? 0 : largeurs_winansi[police][code];
    }

    bool winansi;
    longueur fin;
};

// A user's text as the legend draws it.
QString forme(const QString& texte, bool winansi) {
    return winansi ? texte.normalized(QString::NormalizationForm_C) : texte;
}

// Where the legend of `t` ends, from the left edge of the horizontal frame,
// as the writer of its file type draws it: the same pieces, fonts and sizes.
longueur fin_legende(const tableau_code_barres& t) {
    const bool pdf = t[entree_type_fichier] == u"P";
    const bool winansi = pdf || !legende_ascii(t);
    const corps c = pdf ? corps_pdf : corps_eps;
    const QString transporteur = forme(t[entree_transporteur], winansi);
    const QString entete = forme(t[entree_entete_prix], winansi);
    const QString mode = forme(t[entree_mode_reglement], winansi);
    const QString& code = t[entree_code_produit];
    QString parution = bibliotheque_v1::zeros_retire(t[entree_parution]);
    if (!parution.isEmpty() && t[entree_sous_parution] == u"5")
        parution += u'H';
    else if (!parution.isEmpty() && t[entree_sous_parution] == u"6")
        parution += u'S';
    const QString prix = prix_euros(t[entree_prix]);

    mesure m(winansi, t[entree_protection] == u"A" ? 6 * point : 15 * point);
    if (pdf) {
        const QString& e = espace_insecable;
        m.ajoute(helvetica_gras, transporteur + e + code + e, c.grand);
        m.ajoute(helvetica, parution.isEmpty() ? e + u'-' : u'-' + e + parution + e + u'-',
                 c.petit);
        if (!entete.isEmpty())
            m.ajoute(helvetica, e + entete, c.grand);
        m.ajoute(helvetica_gras, e + prix + e + u'€' + e, c.grand);
        if (!mode.isEmpty())
            m.ajoute(helvetica, u'-' + e + mode, c.petit);
    } else {
        m.ajoute(helvetica_gras, transporteur + u' ' + code, c.grand);
        if (!parution.isEmpty())
            m.ajoute(helvetica, QStringLiteral(" - ") + parution, c.petit);
        m.ajoute(helvetica, QStringLiteral(" - "), c.petit);
        if (!entete.isEmpty())
            m.ajoute(helvetica, entete + u' ', c.grand);
        m.ajoute(helvetica_gras, prix, c.grand);
        m.ajoute_largeur(largeur_vuravaze_espace + largeur_vuravaze_euro, c.grand);
        if (!mode.isEmpty())
            m.ajoute(helvetica, QStringLiteral(" - ") + mode, c.petit);
    }
    return m.position();
}

// The user's texts of the legend, in the order it draws them.
struct champ_legende {
    std::size_t entree;
    const char16_t* nom;
};
constexpr champ_legende champs[] = {
    {entree_transporteur, u"Transporteur"},
    {entree_entete_prix, u"En-tête de prix"},
    {entree_mode_reglement, u"Mode de règlement"},
};

bool dessinable(char32_t c) {
    const int code = bibliotheque_v1::code_windows_1252(c);
    return code >= 32 && code != 127;
}

// The first character of the texts that the legend's fonts cannot draw.
std::optional<defaut_legende> caractere_refuse(const tableau_code_barres& t) {
    for (const champ_legende& champ : champs) {
        const QString& texte = t[champ.entree];
        bool ascii = true;
        for (const QChar c : texte)
            ascii = ascii && c.unicode() >= 32 && c.unicode() < 127;
        if (ascii)
            continue;
        for (const char32_t c : texte.normalized(QString::NormalizationForm_C).toUcs4()) {
            if (dessinable(c))
                continue;
            const QString code =
                QStringLiteral("U+%1").arg(static_cast<uint>(c), 4, 16, QChar(u'0')).toUpper();
            // A character that shows nothing of itself is named by its code alone.
            const QString caractere = QChar::isPrint(c)
                                          ? QStringLiteral("le caractère «\u00A0%1\u00A0» (%2)")
                                                .arg(QString::fromUcs4(&c, 1), code)
                                          : QStringLiteral("le caractère invisible %1").arg(code);
            return defaut_legende{
                champ.entree,
                QStringLiteral("Le texte «\u00A0%1\u00A0» contient %2, que les polices de la "
                               "légende n'ont pas\u00A0; aucun fichier n'est créé.")
                    .arg(QString::fromUtf16(champ.nom), caractere)};
        }
    }
    return std::nullopt;
}

} // namespace

bool legende_ascii(const tableau_code_barres& t) {
    for (const champ_legende& champ : champs)
        for (const QChar c : t[champ.entree])
            if (c.unicode() >= 128)
                return false;
    return true;
}

QString texte_winansi(const QString& texte) {
    return pdf_texte_code(texte.normalized(QString::NormalizationForm_C),
                          bibliotheque_v1::code_windows_1252);
}

const char* glyphe_winansi(int code) {
    return code >= 0 && code < 256 ? noms_winansi[code] : "";
}

QString prix_euros(const QString& centimes) {
    const int valeur = centimes.toInt();
    return QString::number(valeur / 100) + u',' +
           bibliotheque_v1::zeros_ajoute(QString::number(valeur % 100), 2);
}

std::optional<defaut_legende> verifie_legende(const tableau_code_barres& t) {
    if (auto defaut = caractere_refuse(t))
        return defaut;
    const longueur bord = t[entree_protection] == u"A" ? 128 * point : 1435 * point / 10;
    const longueur depassement = fin_legende(t) - bord;
    if (depassement <= 0)
        return std::nullopt;
    // The field to shorten: the free text if there is one, else the last piece.
    std::size_t entree = entree_entete_prix;
    if (t[entree_entete_prix].isEmpty() && !t[entree_mode_reglement].isEmpty())
        entree = entree_mode_reglement;
    else if (t[entree_entete_prix].isEmpty() && !t[entree_transporteur].isEmpty())
        entree = entree_transporteur;
    const champ_legende& champ = *std::find_if(std::begin(champs), std::end(champs),
                                               [&](const auto& c) { return c.entree == entree; });
    // Rounded up to a tenth of a point, so that it never reads 0.
    const longueur dixiemes = (depassement + point / 10 - 1) / (point / 10);
    return defaut_legende{
        entree,
        QStringLiteral("Le texte «\u00A0%1\u00A0» est trop long\u00A0: la légende dépasserait de "
                       "%2\u00A0point%3 le bord droit du code-barres\u00A0; aucun fichier n'est "
                       "créé.")
            .arg(QString::fromUtf16(champ.nom),
                 bibliotheque_v1::str_format(static_cast<double>(dixiemes) / 10, 1),
                 dixiemes >= 20 ? QStringLiteral("s") : QString())};
}

} // namespace valdorin
