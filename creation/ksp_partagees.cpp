#include "ksp_partagees.h"

#include "bibliotheque_v1.h"
#include "csp_creer_plusieurs.h"
#include "csp_creer_unit.h"
#include "dialogues_fichiers.h"
#include "ecriture_fichiers.h"
#include "entete_reglages.h"
#include "fichiers_parametres.h"
#include "messages.h"
#include "pages_creation.h"
#include "parametres_v1.h"
#include "services_coquille.h"
#include "types_fichiers.h"
#include "w_alerte.h"

#include <QComboBox>
#include <QStringEncoder>
#include <QStringList>

#include <algorithm>

#include <cerrno>

namespace ksp_partagees {

namespace {

const QString nbsp = QStringLiteral("\u00A0");
const QString nom_a_obtenir = QStringLiteral("Nom_du_fichier_a_obtenir");

const char* nom_iana(codage_texte codage) {
    switch (codage) {
    case codage_texte::ascii:
        return "US-ASCII";
    case codage_texte::mac_roman:
        return "macintosh";
    case codage_texte::windows_ansi:
        return "windows-1252";
    case codage_texte::utf16:
        return "UTF-16BE";
    default:
        return "UTF-8";
    }
}

bool huit_bits(codage_texte codage) {
    return codage == codage_texte::ascii || codage == codage_texte::mac_roman ||
           codage == codage_texte::windows_ansi;
}

// Every character beyond ASCII as a character reference: the header then
// reads the same in every 8-bit encoding and as UTF-8, which is how the
// header reader takes it.
QString references_xml(const QString& texte) {
    QString sortie;
    sortie.reserve(texte.size());
    for (const char32_t c : texte.toUcs4()) {
        if (c < 0x80)
            sortie.append(QChar(static_cast<char16_t>(c)));
        else
            sortie.append(QStringLiteral("&#%1;").arg(static_cast<quint32>(c)));
    }
    return sortie;
}

// Windows ANSI leaves five bytes undefined, which its encoder gives for the
// C1 controls of the same codes and the reader takes as unreadable. Every
// other C1 control fails in the encoder.
bool controle_c1(char32_t c) {
    return c >= 0x80 && c <= 0x9F;
}

// A character as a refusal names it: by its code when it shows nothing of
// itself (a space other than U+0020, a control, a format character, a line
// or paragraph separator), otherwise as it is.
QString nom_caractere(char32_t c) {
    if (c != u' ' && (QChar::isSpace(c) || !QChar::isPrint(c)))
        return QStringLiteral("U+%1").arg(static_cast<uint>(c), 4, 16, QChar(u'0')).toUpper();
    return QStringView(QChar::fromUcs4(c)).toString();
}

QString refus_colonne(int colonne) {
    return QStringLiteral("La colonne %1 contient une tabulation, le délimiteur ou une fin de "
                          "ligne, qu'un champ de ce fichier ne peut pas garder !\r\r"
                          "Enregistrement annulé !")
        .arg(colonne);
}

// Why the file could not be written (an earlier file of that name stays
// whole): a protection, or the system's reason for any other cause.
QString refus_ecriture(int erreur) {
    if (erreur == EACCES || erreur == EPERM || erreur == EROFS)
        return messages::fichier_protege_enregistrement;
    return QStringLiteral("Le fichier n'a pas pu être enregistré : ") +
           bibliotheque_v1::raison_systeme(erreur) + QStringLiteral("\r\rEnregistrement annulé !");
}

} // namespace

QString nom_codage(codage_texte codage) {
    static const QStringList noms = {
        QStringLiteral("Ascii"), QStringLiteral("Mac Roman"), QStringLiteral("Windows ANSI"),
        QStringLiteral("Unicode UTF-8"), QStringLiteral("Unicode UTF-16")};
    return noms.value(static_cast<int>(codage));
}

QByteArray encode(const QString& texte, codage_texte codage, QString& refuses) {
    refuses.clear();
    QStringEncoder encodeur(nom_iana(codage));
    QByteArray octets = encodeur.encode(texte);
    const bool windows = codage == codage_texte::windows_ansi;
    const bool c1 = windows && std::any_of(texte.cbegin(), texte.cend(),
                                           [](QChar c) { return controle_c1(c.unicode()); });
    if (!encodeur.hasError() && !c1)
        return octets;
    // Which characters failed: each one on its own.
    for (const char32_t c : texte.toUcs4()) {
        // Not QString::fromUcs4, which takes a lone U+FEFF for a byte-order mark.
        const auto un = QChar::fromUcs4(c);
        if (refuses.contains(QStringView(un)))
            continue;
        QStringEncoder seul(nom_iana(codage));
        // The conversion runs when its result is taken.
        const QByteArray essai = seul.encode(QStringView(un));
        if (seul.hasError() || essai.isEmpty() || (windows && controle_c1(c)))
            refuses.append(QStringView(un));
    }
    return octets;
}

contenu contenu_fichier_donnees(valdorin::tableau_code_barres t, bool previsu, QChar delimiteur,
                                codage_texte codage, const QByteArray& xml) {
    contenu resultat;
    const bool guillemets = delimiteur == u',' || delimiteur == u';';
    t[valdorin::entree_nom_fichier] = nom_a_obtenir;
    // The form takes an empty issue number for issue 0000; the data file
    // wants 1 to 4 digits there, and "0" is the same issue.
    if (t[valdorin::entree_parution].isEmpty())
        t[valdorin::entree_parution] = QStringLiteral("0");
    // One column per entry, in entry order; the comment, the last one, only
    // with the preview.
    const std::size_t nb_champs = previsu ? t.size() : valdorin::entree_commentaire;
    QStringList champs;
    for (std::size_t i = 0; i < nb_champs; ++i) {
        QString champ = t[i];
        if (i == valdorin::entree_commentaire && !guillemets) {
            champ.replace(QStringLiteral("\r\n"), QStringLiteral("<CR>"));
            champ.replace(u'\r', QStringLiteral("<CR>"));
            champ.replace(u'\n', QStringLiteral("<CR>"));
        }
        const bool fin_ligne = champ.contains(u'\r') || champ.contains(u'\n');
        if (champ.contains(u'\t') || (!guillemets && (champ.contains(delimiteur) || fin_ligne))) {
            resultat.refus = refus_colonne(static_cast<int>(i) + 1);
            return resultat;
        }
        if (guillemets && (champ.contains(delimiteur) || champ.contains(u'"') || fin_ligne))
            champ = u'"' + champ.replace(u'"', QStringLiteral("\"\"")) + u'"';
        champs.append(champ);
    }

    QString texte;
    if (!xml.isEmpty()) {
        texte = QString::fromUtf8(xml) + bibliotheque_v1::eol(1);
        if (codage == codage_texte::utf16) {
            texte = entete_reglages::renomme_codage(texte, QStringLiteral("UTF-8"),
                                                    QStringLiteral("UTF-16"));
        } else if (huit_bits(codage)) {
            texte = references_xml(texte);
        }
    }
    texte += champs.join(delimiteur);

    QString refuses;
    const QByteArray octets = encode(texte, codage, refuses);
    if (!refuses.isEmpty()) {
        QStringList noms;
        for (const char32_t c : refuses.toUcs4())
            noms.append(QStringLiteral("«%1%2%1»").arg(nbsp, nom_caractere(c)));
        resultat.refus = QStringLiteral("Le codage %1 ne permet pas d'enregistrer %2 %3 !\r\r"
                                        "Enregistrement annulé !")
                             .arg(nom_codage(codage),
                                  noms.size() == 1 ? QStringLiteral("le caractère")
                                                   : QStringLiteral("les caractères"),
                                  noms.join(QStringLiteral(", ")));
        return resultat;
    }
    if (codage == codage_texte::utf16)
        resultat.octets = QByteArrayLiteral("\xFE\xFF");
    resultat.octets += octets;
    return resultat;
}

void cree_fichier_donnees() {
    csp_creer_unit* unique = pages_creation::sp_creer_unit();
    csp_creer_plusieurs* plusieurs = pages_creation::sp_creer_plusieurs();
    if (!unique || !plusieurs) {
        bibliotheque_v1::msgdebug(QStringLiteral("cree_fichier_donnees : page absente"));
        return;
    }
    valdorin::tableau_code_barres tableau;
    if (!unique->alimente_verifie_tableau(tableau))
        return;
    const bool previsu = valdorin::previsu_presence;
    const codage_texte codage = static_cast<codage_texte>(std::max(0, plusieurs->codage()));
    w_alerte& alerte = w_alerte::instance();

    const QString reglages = QStringLiteral("Réglages et données");
    const QString annuler = QStringLiteral("Annuler");
    const coquille::fenetre_principale* principale = coquille::w_main();
    const bool depuis_unique =
        !principale || principale->contenu_courant() == coquille::ecran_creer_unit;
    const QString question =
        QStringLiteral("Voulez-vous enregistrer un fichier des données courantes ?\r\r"
                       "Vous pourrez ensuite l'utiliser en tant qu'exemple pour la création "
                       "d'un ensemble de code-barres.");
    const QString reponse =
        depuis_unique ? alerte.proposition_multi_boutons(question, reglages,
                                                         QStringLiteral("Données seules"), annuler)
                      : alerte.proposition_multi_boutons(question, reglages, annuler, QString());
    if (reponse == annuler)
        return;

    QByteArray xml;
    QString conclusion = QStringLiteral("Adoptez ces réglages avant de générer les code-barres !");
    if (reponse == reglages) {
        if (!plusieurs->check_popup_ch_resultat()) {
            if (!alerte.proposition_ok_annuler(
                    QStringLiteral("Le répertoire de réception par défaut des fichiers générés "
                                   "n'est pas défini\u00A0!\r\r"
                                   "Voulez-vous le définir maintenant\u00A0?"),
                    QString()))
                return;
            if (!plusieurs->get_dossier_resultats_defaut())
                return;
        }
        parametres_v1::dictionnaire_parametres.emplace();
        plusieurs->import_export_parametres(QStringLiteral("memo"), QStringLiteral("export"));
        const std::optional<QByteArray> document = parametres_v1::cree_xml();
        if (!document)
            return;
        xml = *document;
        conclusion = QStringLiteral(
            "Ces réglages seront automatiquement restaurés lorsque vous générerez les "
            "code-barres !");
    }

    const QString delimiteur = plusieurs->delimiteur();
    const QChar separateur = delimiteur.isEmpty() ? QChar(u'\t') : delimiteur.at(0);
    // Refused before the file is asked for: nothing is written that would not
    // read back as the form holds it.
    const contenu fichier = contenu_fichier_donnees(tableau, previsu, separateur, codage, xml);
    if (!fichier.refus.isEmpty()) {
        alerte.message(fichier.refus, QString());
        return;
    }
    const QString chemin = bibliotheque_v1::get_savefolderitem(
        coquille::w_main_qt(), file_table_type::filetype_table(separateur.unicode()),
        QStringLiteral("ecriture"), QString());
    if (chemin.isEmpty())
        return;
    if (const int erreur = bibliotheque_v1::enregistre_fichier(chemin, fichier.octets)) {
        alerte.message(refus_ecriture(erreur), QString());
        return;
    }
    const QString deux = bibliotheque_v1::eol(2);
    alerte.message(QStringLiteral("Le fichier a été enregistré :") + deux +
                       QStringLiteral("  - au codage ") + plusieurs->popup_codage->currentText() +
                       QStringLiteral(" ;") + deux + QStringLiteral("  - avec séparateur ") +
                       plusieurs->popup_delimiteur->currentText() + QStringLiteral(" ;") + deux +
                       QStringLiteral("conformément aux réglages de l'onglet :") + deux +
                       QStringLiteral("  «\u00A0Créer un ensemble de code-barres\u00A0».") + deux +
                       conclusion,
                   QString());
}

} // namespace ksp_partagees
