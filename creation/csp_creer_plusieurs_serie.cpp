// The batch page's run: the settings header, the start and finish steps, the
// conversion of one record and the report file.
#include "csp_creer_plusieurs.h"

#include "bibliotheque_v1.h"
#include "dialogues_fichiers.h"
#include "ecriture_fichiers.h"
#include "entete_reglages.h"
#include "fichiers_parametres.h"
#include "ksp_partagees.h"
#include "messages.h"
#include "parametres_v1.h"
#include "thread_creer_ensemble.h"
#include "verification_v1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

// The file a path names, as its device and inode; none when it names
// nothing. A symbolic link is followed, or taken as itself.
std::optional<QPair<quint64, quint64>> identite(const QString& chemin, bool suivre_liens) {
    struct stat etat {};
    const QByteArray nom = QFile::encodeName(chemin);
    if ((suivre_liens ? ::stat(nom.constData(), &etat) : ::lstat(nom.constData(), &etat)) != 0)
        return std::nullopt;
    return QPair<quint64, quint64>(etat.st_dev, etat.st_ino);
}

// A report line as it is written: the characters that would act on the
// screen of whoever reads the report, rather than show, are written as
// "\u{" + their code in hexadecimal + "}".
QString texte_rapport(const QString& ligne) {
    QString texte;
    texte.reserve(ligne.size());
    for (const QChar c : ligne) {
        if (verification_v1::caractere_de_controle(c.unicode()))
            texte += QStringLiteral("\\u{") + QString::number(c.unicode(), 16).toUpper() + u'}';
        else
            texte += c;
    }
    return texte;
}

} // namespace

void csp_creer_plusieurs::demarre_thread() {
    if (extraire_reglages())
        thread_creer_ensemble_Run();
}

void csp_creer_plusieurs::cree_fichier_donnees() {
    ksp_partagees::cree_fichier_donnees();
}

bool csp_creer_plusieurs::extraire_reglages() {
    fi_lecture_reel = fi_lecture_officiel;
    copie_reglages.reset();
    // Opened now, used only when the file has a header: a copy that cannot be
    // made matters only then.
    auto copie = std::make_unique<QTemporaryFile>(
        QDir(QDir::tempPath()).filePath(QStringLiteral("valdorin-XXXXXX.txt")));
    (void)copie->open();
    QString xml;
    switch (entete_reglages::extrait(fi_lecture_officiel, xml, *copie)) {
    case entete_reglages::issue::sans_entete:
        return true;
    case entete_reglages::issue::illisible:
    case entete_reglages::issue::copie_impossible:
        message_creer_plusieurs(messages::fichier_protege_ouverture);
        return false;
    case entete_reglages::issue::entete:
        break;
    }
    copie->close();
    parametres_v1::dictionnaire_parametres.emplace();
    // A first line that looks like a header but holds no setting leaves the
    // page's settings as they were.
    if (parametres_v1::importe_xml_preferences(QString(), xml) > 0)
        import_export_parametres(QStringLiteral("memo"), QStringLiteral("import"));
    copie_reglages = std::move(copie);
    fi_lecture_reel = copie_reglages->fileName();
    return true;
}

void csp_creer_plusieurs::thread_creer_ensemble_Run() {
    if (!thread_creer_ensemble)
        thread_creer_ensemble = new ::thread_creer_ensemble(*this);
    thread_creer_ensemble->Run();
}

QString csp_creer_plusieurs::nom_rapport(const QString& fichier_donnees) {
    QStringList morceaux = QFileInfo(fichier_donnees).fileName().split(u'.');
    if (morceaux.size() >= 2)
        morceaux.removeLast();
    return morceaux.join(u'.') + QStringLiteral(".log");
}

bool csp_creer_plusieurs::initialise_thread(int total) {
    chemin_dossier_ecriture = get_path_dossier_resultats();
    if (chemin_dossier_ecriture.isEmpty())
        return false;
    buffer_log.reset();
    chemin_log.clear();
    fichiers_faits.clear();
    const int place = popup_log->currentIndex();
    if (place == 1 || place == 2) {
        const QString dossier = place == 1 ? QFileInfo(fi_lecture_officiel).absolutePath() + u'/'
                                           : chemin_dossier_ecriture;
        chemin_log = dossier + nom_rapport(fi_lecture_officiel);
        const QFileInfo existant(chemin_log);
        if (bibliotheque_v1::ecriture_permise(dossier) &&
            (!existant.exists() || existant.isSymLink() ||
             bibliotheque_v1::ecriture_permise(chemin_log)))
            buffer_log.emplace();
    }
    nbLignesOK = 0;
    nbLignesNonOK = 0;
    initialise_jauge(total);
    return true;
}

QString csp_creer_plusieurs::enregistre_rapport() {
    if (!buffer_log)
        return QString();
    const QByteArray octets = std::move(*buffer_log);
    buffer_log.reset();
    // A data file named like its report ("liste.log"), under any spelling of
    // its path: replacing it would lose the data.
    const auto rapport = identite(chemin_log, true);
    if (rapport && rapport == identite(fi_lecture_officiel, true))
        return QStringLiteral(
                   "Le fichier de rapport «\u00A0%1\u00A0» n'a pas été enregistré\u00A0: "
                   "il aurait remplacé le fichier de données.")
            .arg(chemin_log);
    // Nor a file that a record of this run made under the same name.
    if (const auto lieu = identite(chemin_log, false); lieu && fichiers_faits.contains(*lieu))
        return QStringLiteral(
                   "Le fichier de rapport «\u00A0%1\u00A0» n'a pas été enregistré\u00A0: "
                   "il aurait remplacé le fichier créé ligne %2.")
            .arg(chemin_log)
            .arg(fichiers_faits.value(*lieu));
    // A link in the folder would have the report written elsewhere.
    if (const int erreur = bibliotheque_v1::enregistre_fichier(
            chemin_log, octets, bibliotheque_v1::liens_destination::refuses))
        return QStringLiteral("Le fichier de rapport «\u00A0%1\u00A0» n'a pas pu être "
                              "enregistré\u00A0: %2")
            .arg(chemin_log, bibliotheque_v1::raison_systeme(erreur));
    return QString();
}

void csp_creer_plusieurs::termine_thread() {
    // A report that could not be written counts as not made.
    const bool demande = buffer_log.has_value();
    const QString echec_rapport = enregistre_rapport();
    const bool rapport = demande && echec_rapport.isEmpty();
    if (!fi_lecture_reel.isEmpty()) {
        fi_lecture_reel.clear();
        if (cb_log->isChecked()) {
            const QString eol = bibliotheque_v1::eol(1);
            QString texte;
            if (nbLignesOK == 0)
                texte = QStringLiteral("Aucun fichier eps ou pdf n'a été généré");
            else if (nbLignesOK == 1)
                texte = QStringLiteral("Un fichier eps ou pdf a été généré");
            else
                texte = QString::number(nbLignesOK) +
                        QStringLiteral(" fichiers eps ou pdf ont été générés");
            texte += eol + get_message_dossier_resultat() + eol + eol;
            if (nbLignesNonOK == 0)
                texte += QStringLiteral("Aucune erreur n'a été détectée.");
            else if (nbLignesNonOK == 1)
                texte += QStringLiteral("Une erreur a été détectée.");
            else
                texte +=
                    QString::number(nbLignesNonOK) + QStringLiteral(" erreurs ont été détectées.");
            if (nbLignesNonOK > 0)
                texte += eol + eol + QStringLiteral("Pour en savoir plus, ") +
                         (rapport ? QStringLiteral("consultez le fichier de rapport.")
                                  : QStringLiteral("recommencez en créant un fichier de rapport."));
            if (!chemin_log.isEmpty() && !rapport)
                texte += eol + eol +
                         (echec_rapport.isEmpty()
                              ? QStringLiteral("Le fichier de rapport n'a pas pu être enregistré "
                                               "dans un répertoire protégé !")
                              : echec_rapport);
            message_creer_plusieurs(texte);
        }
    }
}

void csp_creer_plusieurs::ecrit_rapport(const QString& ligne) {
    if (buffer_log)
        buffer_log->append((texte_rapport(ligne) + bibliotheque_v1::eol(1)).toUtf8());
}

void csp_creer_plusieurs::cree_fichier_depuis_ligne(const QString& ligne, std::int32_t indice,
                                                    bool guillemet_non_ferme) {
    const QString numero = QStringLiteral("Ligne ") + QString::number(indice + 1);
    if (guillemet_non_ferme) {
        ++nbLignesNonOK;
        ecrit_rapport(numero + QStringLiteral(", guillemet non fermé\u00A0: le reste du fichier "
                                              "n'a pas pu être lu"));
        return;
    }
    const QStringList champs = ligne.split(u'\t');
    valdorin::tableau_code_barres tableau;
    QString erreur;
    bool previsu = false;
    QString chemin;
    if (champs.size() >= 10 && champs.size() <= 13) {
        const bool v1 = champs.size() <= 11;
        const QString faute =
            v1 ? parse_format_v1(champs, tableau) : parse_format_v2(champs, tableau);
        if (!faute.isEmpty()) {
            erreur = QStringLiteral(", erreur en colonne ") + faute;
        } else {
            previsu = valdorin::previsu_presence;
            chemin = chemin_dossier_ecriture + tableau[valdorin::entree_nom_fichier];
            // Two records of one run that name one file: the second is
            // refused, and the first record's file stays.
            const auto fichier = identite(chemin, false);
            if (fichier && fichiers_faits.contains(*fichier))
                erreur =
                    QStringLiteral(", erreur en colonne %1, nom de fichier déjà utilisé ligne %2")
                        .arg(v1 ? 4 : 12)
                        .arg(fichiers_faits.value(*fichier));
        }
    } else {
        erreur = QStringLiteral(", erreur dans le nombre de colonnes");
    }
    if (!erreur.isEmpty()) {
        ++nbLignesNonOK;
        ecrit_rapport(numero + erreur);
        return;
    }
    // The line says "OK" only once the file is made; a file the engine cannot
    // make is one refused record, and the run goes on. The engine's inputs
    // are set here, with the call: a name from a data file is never written
    // through a symbolic link, which could lead out of the result folder.
    const QString nom = tableau[valdorin::entree_nom_fichier];
    // Nor over the data file being read (a record named like it, with the
    // results beside it): its records would be lost.
    if (const auto lieu = identite(chemin, false);
        lieu && lieu == identite(fi_lecture_officiel, true)) {
        ++nbLignesNonOK;
        ecrit_rapport(numero + QStringLiteral(", fichier ") + nom +
                      QStringLiteral(" non créé\u00A0: il aurait remplacé le fichier de données."));
        return;
    }
    try {
        valdorin::fi_ecriture = chemin;
        valdorin::previsu_presence = previsu;
        valdorin::liens_ecriture = bibliotheque_v1::liens_destination::refuses;
        valdorin::cree_fichier(tableau);
        if (const auto fait = identite(chemin, false))
            fichiers_faits.insert(*fait, indice + 1);
    } catch (const valdorin::erreur_creation& echec) {
        ++nbLignesNonOK;
        ecrit_rapport(numero + QStringLiteral(", fichier ") + nom +
                      QStringLiteral(" non créé\u00A0: ") + echec.message());
        return;
    }
    ++nbLignesOK;
    ecrit_rapport(numero + QStringLiteral(", fichier ") + nom + QStringLiteral(" OK"));
}
