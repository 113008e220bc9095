// The record parsers of the batch page: one record of a data file, already
// split into its fields, becomes the 13 entries of a tableau_code_barres, or
// the number of its first faulty column and the fault.

#include "csp_creer_plusieurs.h"

#include "bibliotheque_v1.h"
#include "verification_v1.h"

#include <QLineEdit>

#include <algorithm>

using lignes_rapport::faute;
using verification_v1::verifie_string;

namespace {

// Why an output file name would not name a file inside the result folder, or
// would hold a control character, or "" when it is sound. The name's own
// column has been checked already; what is added to it (the page's
// extension, which a settings header may set) has not.
QString verifie_nom_sortie(const QString& nom) {
    const QList<uint> caracteres = nom.toUcs4();
    if (!csp_creer_plusieurs::extension_acceptable(nom) ||
        std::any_of(caracteres.cbegin(), caracteres.cend(), verification_v1::caractere_de_controle))
        return QStringLiteral("présence d'un caractère invalide pour un nom de fichier");
    if (nom == u"." || nom == u"..")
        return QStringLiteral("nom de fichier invalide");
    return QString();
}

// The first `n` characters of `texte`: a character outside the BMP, two
// UTF-16 units, is kept whole or left out whole.
QString premiers_caracteres(const QString& texte, int n) {
    qsizetype fin = 0;
    for (int i = 0; i < n && fin < texte.size(); ++i)
        fin += texte.at(fin).isHighSurrogate() && fin + 1 < texte.size() &&
                       texte.at(fin + 1).isLowSurrogate()
                   ? 2
                   : 1;
    return texte.left(fin);
}

} // namespace

QString csp_creer_plusieurs::parse_format_v2(const QStringList& champs,
                                             valdorin::tableau_code_barres& tableau) {
    struct regle {
        int type, minimum, maximum;
        const char16_t* autorise;
        std::size_t entree;
    };
    // Columns 1 to 11, in their order; column 5 has no check.
    static constexpr regle regles[] = {
        {verification_v1::type_majuscules, 0, 1, u"", valdorin::entree_transporteur},
        {verification_v1::type_chiffres, 1, 5, u"", valdorin::entree_code_produit},
        {verification_v1::type_chiffres, 1, 4, u"", valdorin::entree_parution},
        {verification_v1::type_chiffres, 0, 1, u"", valdorin::entree_sous_parution},
        {-1, 0, 0, u"", valdorin::entree_entete_prix},
        {verification_v1::type_chiffres, 1, 4, u"", valdorin::entree_prix},
        {verification_v1::type_alphanumerique, 0, 4, u"", valdorin::entree_mode_reglement},
        {verification_v1::type_majuscules, 1, 1, u"EP", valdorin::entree_type_fichier},
        {verification_v1::type_chiffres, 1, 1, u"01234", valdorin::entree_engraissement},
        {verification_v1::type_majuscules, 1, 1, u"ARFC", valdorin::entree_protection},
        {verification_v1::type_caracteres, 1, 1, u"=<>", valdorin::entree_orientation},
    };
    for (int i = 0; i < 11; ++i) {
        const regle& r = regles[i];
        if (r.type >= 0) {
            const QString message = verifie_string(champs.at(i), r.type, r.minimum, r.maximum,
                                                   QString::fromUtf16(r.autorise));
            if (!message.isEmpty())
                return faute(i + 1, message);
        }
        tableau[r.entree] = champs.at(i);
    }
    if (tableau[valdorin::entree_sous_parution].isEmpty())
        tableau[valdorin::entree_sous_parution] = QStringLiteral("0");

    const QString message =
        verifie_string(champs.at(11), verification_v1::type_nom_fichier, 0, 50, QString());
    if (!message.isEmpty())
        return faute(12, message);
    const bool eps = tableau[valdorin::entree_type_fichier] == u"E";
    const QString nom = champs.at(11) + (eps ? ch_ext_eps->text() : QStringLiteral(".pdf"));
    const QString message_nom = verifie_nom_sortie(nom);
    if (!message_nom.isEmpty())
        return faute(12, message_nom);
    tableau[valdorin::entree_nom_fichier] = nom;

    valdorin::previsu_presence = champs.size() > 12;
    if (valdorin::previsu_presence) {
        const QString& commentaire = champs.at(12);
        tableau[valdorin::entree_commentaire] =
            eps ? premiers_caracteres(commentaire, 14)
                : QString(commentaire).replace(QStringLiteral("<CR>"), QStringLiteral("\r"));
    }
    return QString();
}

QString csp_creer_plusieurs::parse_format_v1(const QStringList& champs,
                                             valdorin::tableau_code_barres& tableau) {
    auto verifie = [&](int colonne, int type, int minimum, int maximum, const QString& autorise) {
        const QString message =
            verifie_string(champs.at(colonne - 1), type, minimum, maximum, autorise);
        return message.isEmpty() ? QString() : faute(colonne, message);
    };
    const QString& titre = champs.at(3);
    const QString& edition = champs.at(4);
    const QString& jour = champs.at(5);
    const QString& mois = champs.at(6);
    QString erreur;
    if (!(erreur = verifie(1, verification_v1::type_chiffres, 1, 5, {})).isEmpty())
        return erreur;
    tableau[valdorin::entree_code_produit] = champs.at(0);
    if (!(erreur = verifie(2, verification_v1::type_chiffres, 1, 4, {})).isEmpty())
        return erreur;
    tableau[valdorin::entree_prix] = champs.at(1);
    if (!(erreur = verifie(3, verification_v1::type_chiffres, 1, 4, {})).isEmpty())
        return erreur;
    tableau[valdorin::entree_parution] = champs.at(2);
    if (!(erreur = verifie(4, verification_v1::type_alphanumerique, 2, 2, {})).isEmpty())
        return erreur;
    if (!(erreur = verifie(5, verification_v1::type_alphanumerique, 2, 2, {})).isEmpty())
        return erreur;
    // The month comes before the day: the day's check needs it.
    if (!(erreur = verifie(7, verification_v1::type_mois, 0, 50, {})).isEmpty())
        return erreur;
    if (!(erreur = verifie(6, verification_v1::type_jour, mois.toInt(), 50, {})).isEmpty())
        return erreur;
    if (!(erreur = verifie(8, verification_v1::type_alphanumerique, 1, 1, {})).isEmpty())
        return erreur;
    tableau[valdorin::entree_transporteur] = champs.at(7);
    if (!(erreur = verifie(9, verification_v1::type_alphanumerique, 0, 4, {})).isEmpty())
        return erreur;
    tableau[valdorin::entree_mode_reglement] = champs.at(8);
    if (!(erreur = verifie(10, verification_v1::type_majuscules, 1, 1, QStringLiteral("EP")))
             .isEmpty())
        return erreur;
    tableau[valdorin::entree_type_fichier] = champs.at(9);
    if (champs.size() > 10) {
        if (!(erreur = verifie(11, verification_v1::type_caracteres, 0, 1, QStringLiteral("=<>")))
                 .isEmpty())
            return erreur;
        tableau[valdorin::entree_orientation] = champs.at(10);
    }
    if (tableau[valdorin::entree_orientation].isEmpty())
        tableau[valdorin::entree_orientation] = QStringLiteral("=");

    tableau[valdorin::entree_sous_parution] = QStringLiteral("0");
    tableau[valdorin::entree_entete_prix].clear();
    tableau[valdorin::entree_protection] = QStringLiteral("A");
    tableau[valdorin::entree_engraissement] = QStringLiteral("4");
    const QString nom = titre + edition + bibliotheque_v1::zeros_ajoute(jour, 2) +
                        bibliotheque_v1::zeros_ajoute(mois, 2);
    if (tableau[valdorin::entree_type_fichier] == u"P") {
        tableau[valdorin::entree_nom_fichier] = nom + QStringLiteral(".pdf");
        tableau[valdorin::entree_commentaire] =
            QStringLiteral("Titre : ") + titre + QStringLiteral("\rÉdition : ") + edition +
            QStringLiteral("\rDate de l'édition : ") + jour + QStringLiteral(" ") +
            bibliotheque_v1::format_mois(mois.toInt(), "fr");
    } else {
        tableau[valdorin::entree_nom_fichier] = nom + ch_ext_eps->text();
        const QString message_nom = verifie_nom_sortie(tableau[valdorin::entree_nom_fichier]);
        if (!message_nom.isEmpty())
            return faute(10, message_nom);
        tableau[valdorin::entree_commentaire] = tableau[valdorin::entree_nom_fichier];
    }
    valdorin::previsu_presence = true;
    return QString();
}
