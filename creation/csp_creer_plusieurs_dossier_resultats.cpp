// The result folder of a batch run: the default folder and its dialog, the
// folder of a run in each result mode, and the checks that refuse a folder
// that cannot receive files.

#include "csp_creer_plusieurs.h"

#include "bibliotheque_v1.h"
#include "controles_texte.h"
#include "dialogues_fichiers.h"
#include "droits_fichiers.h"
#include "messages.h"
#include "services_coquille.h"

#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

const QString refus_protege =
    QStringLiteral("Ce répertoire semble être protégé en écriture !\rLa saisie est annulée !");

// A folder's path as the page keeps it: absolute, ending with "/", so that a
// file name appended to it names a file inside.
QString chemin_dossier(const QString& dossier) {
    QString chemin = QFileInfo(dossier).absoluteFilePath();
    if (!chemin.endsWith(u'/'))
        chemin += u'/';
    return chemin;
}

// A folder that can receive the files: an absolute path to a folder this
// user may write into. A relative path, which a data file's settings, a
// state file or the preferences may hold, would name a folder of the
// process's working folder, wherever the program was started from.
bool dossier_utilisable(const QString& dossier) {
    return QDir::isAbsolutePath(dossier) && bibliotheque_v1::check_savefolder(dossier);
}

} // namespace

bool csp_creer_plusieurs::get_dossier_resultats_defaut() {
    bibliotheque_v1::demande_dialogue demande;
    demande.genre = bibliotheque_v1::demande_dialogue::choisir_dossier;
    demande.proprietaire = coquille::w_main_qt();
    demande.titre = bibliotheque_v1::nom_produit;
    demande.invite = QStringLiteral("Choisissez un répertoire par défaut !");
    demande.legende_bouton = QStringLiteral("OK");
    const QString actuel = texte_zone(*ch_repertoire);
    if (dossier_utilisable(actuel))
        demande.dossier_depart = actuel;
    else
        demande.dossier_depart = bibliotheque_v1::dossier_documents();
    const QString choix = bibliotheque_v1::montre_demande(demande);
    if (choix.isEmpty())
        return false;
    if (!bibliotheque_v1::check_savefolder(choix)) {
        message_creer_plusieurs(refus_protege);
        return false;
    }
    ch_repertoire->setPlainText(chemin_dossier(choix));
    bt_ouvrir_repertoire->setEnabled(true);
    return true;
}

QString csp_creer_plusieurs::get_path_dossier_resultats() {
    const QString mode = mode_resultats();
    QString dossier;
    if (mode == u"D") {
        dossier = bibliotheque_v1::get_savefolder(coquille::w_main_qt(), QStringLiteral("ecriture"),
                                                  QString());
        if (dossier.isEmpty())
            return QString();
    } else if (mode == u"C") {
        dossier = fi_lecture_officiel.isEmpty() ? QString()
                                                : QFileInfo(fi_lecture_officiel).absolutePath();
        if (!check_folderitem_resultat(dossier))
            return QString();
    } else if (mode == u"R") {
        dossier = texte_zone(*ch_repertoire);
        if (dossier.isEmpty() || !check_folderitem_resultat(dossier))
            return QString();
    } else {
        return QString();
    }
    return chemin_dossier(dossier);
}

QString csp_creer_plusieurs::get_message_dossier_resultat() {
    const QString mode = mode_resultats();
    if (mode == u"D")
        return QStringLiteral("dans le répertoire spécifié");
    if (mode == u"C")
        return QStringLiteral("à côté du fichier de données.");
    if (mode == u"R")
        return QStringLiteral("dans un répertoire par défaut.");
    return QString();
}

QString csp_creer_plusieurs::get_folderitem_ch_repertoire() {
    const QString dossier = texte_zone(*ch_repertoire);
    if (!check_folderitem_resultat(dossier))
        return QString();
    return dossier;
}

bool csp_creer_plusieurs::check_folderitem_resultat(const QString& dossier) {
    const bool utilisable = dossier_utilisable(dossier);
    if (!utilisable)
        message_creer_plusieurs(messages::dossier_resultats_inutilisable);
    return utilisable;
}

bool csp_creer_plusieurs::check_popup_ch_resultat() {
    if (mode_resultats() != u"R")
        return true;
    const QString dossier = texte_zone(*ch_repertoire);
    return !dossier.isEmpty() && QDir::isAbsolutePath(dossier);
}
