// The page's content stream: the symbol set at 35 points in the embedded
// symbol font, and the legend above it, turned by the orientation and painted
// by the protection mode.

#include "legende_interne.h"
#include "pdf_interne.h"
#include "valdorin.h"

namespace valdorin {

legende_pdf pdf_legende_utilisateur(const tableau_code_barres& t) {
    return {texte_winansi(t[entree_transporteur]) + QStringLiteral("\\240") +
                texte_winansi(t[entree_code_produit]) + QStringLiteral("\\240"),
            QStringLiteral("\\240") + texte_winansi(t[entree_entete_prix]),
            QStringLiteral("-\\240") + texte_winansi(t[entree_mode_reglement])};
}

void pdf_ajoute_contents(const QString& code, const tableau_code_barres& t) {
    const QString& protection = t[entree_protection];
    const QString& orientation = t[entree_orientation];
    const QString w = pdf_nombre(largeur);
    const QString h = pdf_nombre(hauteur);
    const bool reserves = protection != u"A";

    QString s;
    s.reserve(600);
    s += protection == u"A" || protection == u"R" ? QStringLiteral("% Surimpression\r")
                                                  : QStringLiteral("% Defonce\r");
    s += QStringLiteral("/GS1 gs\r");
    if (protection == u"F")
        s += QStringLiteral("% Fond blanc\r0 0 0 0 k\r0 0 ") + w + u' ' + h +
             QStringLiteral(" re f\r");
    else if (protection == u"C")
        s += QStringLiteral("% Fond blanc et cadre\r0 0 0 0 k\r0 0 0 1 K\r0 0 ") + w + u' ' + h +
             QStringLiteral(" re B\r");
    s += QStringLiteral("% Texte\r0 0 0 1 k\r0 0 0 0 K\r");

    s += QStringLiteral("% Code-barres\rBT\r/F_CB 1 Tf\r");
    if (orientation == u"=")
        s += QStringLiteral("35 0 0 35 0.8 7.2 Tm\r");
    else if (orientation == u"<")
        s += QStringLiteral("0 35 -35 0 41.9 0.8 Tm\r");
    else if (orientation == u">")
        s +=
            QStringLiteral("0 -35 35 0 7.1 ") + pdf_nombre(hauteur - 0.9) + QStringLiteral(" Tm\r");
    s += u'(' + code + QStringLiteral(") Tj\rET\r");

    s += QStringLiteral("% Legende\rBT\r70 Tz\r/F_HB 11.5 Tf\r");
    if (orientation == u"=")
        s += reserves ? QStringLiteral("1 0 0 1 15 37 Tm\r") : QStringLiteral("1 0 0 1 6 37 Tm\r");
    else if (orientation == u"<")
        s +=
            reserves ? QStringLiteral("0 1 -1 0 12 15 Tm\r") : QStringLiteral("0 1 -1 0 12 6 Tm\r");
    else if (orientation == u">")
        s += reserves ? QStringLiteral("0 -1 1 0 37 128 Tm\r")
                      : QStringLiteral("0 -1 1 0 37 122 Tm\r");

    // Legend texts are user text: escaped and written in the fonts' encoding.
    const legende_pdf legende = pdf_legende_utilisateur(t);
    s += u'(' + legende.transporteur + QStringLiteral(") Tj\r");
    s += QStringLiteral("/F_H 9.5 Tf\r(");
    if (!t[entree_parution].isEmpty()) {
        s += QStringLiteral("-\\240") + texte_winansi(t[entree_parution]);
        if (t[entree_sous_parution] == u"5")
            s += u'H';
        else if (t[entree_sous_parution] == u"6")
            s += u'S';
    }
    s += QStringLiteral("\\240-) Tj\r");
    if (!t[entree_entete_prix].isEmpty())
        s += QStringLiteral("/F_H 11.5 Tf\r(") + legende.entete_prix + QStringLiteral(") Tj\r");
    s += QStringLiteral("/F_HB 11.5 Tf\r(\\240") + texte_winansi(t[entree_prix]) +
         QStringLiteral("\\240\\200\\240) Tj\r");
    if (!t[entree_mode_reglement].isEmpty())
        s += QStringLiteral("/F_H 9.5 Tf\r(") + legende.mode_reglement + QStringLiteral(") Tj\r");
    s += QStringLiteral("ET");

    pdf_ajoute_stream(s);
}

} // namespace valdorin
