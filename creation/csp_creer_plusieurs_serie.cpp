// The batch page's run: the settings header, the start and finish steps, the
// conversion of one record and the report file.
#include "csp_creer_plusieurs.h"

#include "TableInputStream.h"
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
#include <QScopeGuard>

#include <sys/stat.h>

namespace {

// Whether the first bytes of a file are those of a barcode file that a run
// may replace: EPS (also behind its DOS header) or PDF; an empty file too.
bool debut_code_barres(const QByteArray& debut) {
    return debut.isEmpty() || debut.startsWith("%!PS") || debut.startsWith("\xC5\xD0\xD3\xC6") ||
           debut.startsWith("%PDF-");
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
    QString temporaire = QDir::tempPath();
    // Qt gives no path for a temporary folder that does not exist: the copy
    // would land in the current folder.
    if (temporaire.isEmpty())
        temporaire = qEnvironmentVariable("TMPDIR", QStringLiteral("/tmp"));
    auto copie = std::make_unique<bibliotheque_v1::fichier_temporaire>(
        temporaire, QStringLiteral("valdorin-"), QStringLiteral(".txt"));
    const int erreur_ouverture = copie->erreur();
    int erreur_copie = EIO;
    QString xml;
    switch (entete_reglages::extrait(fi_lecture_officiel, xml, *copie, &erreur_copie)) {
    case entete_reglages::issue::sans_entete:
        return true;
    case entete_reglages::issue::illisible:
        message_creer_plusieurs(messages::fichier_protege_ouverture);
        return false;
    case entete_reglages::issue::copie_impossible:
        message_creer_plusieurs(
            QStringLiteral("Les enregistrements du fichier de données n'ont pas pu être copiés "
                           "dans le dossier temporaire «\u00A0%1\u00A0»\u00A0: %2\r\rOuverture "
                           "annulée !")
                .arg(QDir::toNativeSeparators(temporaire),
                     bibliotheque_v1::raison_systeme(erreur_ouverture ? erreur_ouverture
                                                                      : erreur_copie)));
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
    // Held open for the whole run, so that its files go nowhere else.
    if (dossier_resultats.ouvre(chemin_dossier_ecriture) != 0) {
        message_creer_plusieurs(messages::dossier_resultats_inutilisable);
        return false;
    }
    dossier_resultats.garde = [this](const QString& nom, const struct stat& etat) {
        refus_garde = refus_destination(nom, etat);
        return refus_garde.isEmpty();
    };
    buffer_log.reset();
    chemin_log.clear();
    echec_rapport.clear();
    interruption.reset();
    noms_faits.clear();
    noms_a_identifier.clear();
    fichiers_faits.clear();
    graphies_faites.clear();
    verification_dossier.invalidate();
    donnees = bibliotheque_v1::fichier_protege::de(fi_lecture_officiel);
    const int place = popup_log->currentIndex();
    if (place == 1 || place == 2) {
        const QString dossier = place == 1 ? QFileInfo(fi_lecture_officiel).absolutePath() + u'/'
                                           : chemin_dossier_ecriture;
        const QString nom = nom_rapport(fi_lecture_officiel);
        chemin_log = dossier + nom;
        buffer_log = std::make_unique<rapport_serie>();
        if (!buffer_log->ouvre(dossier, nom, donnees)) {
            echec_rapport = buffer_log->echec();
            buffer_log.reset();
        }
    }
    nbLignesOK = 0;
    nbLignesNonOK = 0;
    initialise_jauge(total);
    return true;
}

void csp_creer_plusieurs::serie_interrompue(std::int32_t ligne, const QString& raison) {
    interruption.emplace(ligne, raison);
    ecrit_rapport(
        lignes_rapport::erreur(ligne, QStringLiteral("création interrompue\u00A0: ") + raison));
    if (!dossier_resultats.ouvert())
        // Records read for the preview: nothing was made, and no finish
        // step will tell it.
        message_creer_plusieurs(
            QStringLiteral("La lecture du fichier de données a été interrompue à la ligne "
                           "%1\u00A0: %2\r\rAucun fichier n'a été créé.")
                .arg(ligne)
                .arg(raison));
}

void csp_creer_plusieurs::termine_thread() {
    // A run that went through its whole file clears what killed runs left
    // among the results.
    if (!fi_lecture_reel.isEmpty() && !interruption && dossier_resultats.ouvert())
        dossier_resultats.nettoie_temporaires();
    bool rapport = false;
    if (buffer_log) {
        rapport = buffer_log->termine([this](bibliotheque_v1::identite_fichier dossier,
                                             const QString& nom, const struct stat& etat) {
            return dossier == dossier_resultats.identite() ? ligne_ayant_fait(nom, etat) : 0;
        });
        if (!rapport)
            echec_rapport = buffer_log->echec();
        buffer_log.reset();
    }
    dossier_resultats.ferme();
    if (fi_lecture_reel.isEmpty())
        return; // cancelled: no summary
    fi_lecture_reel.clear();
    const bool rapport_perdu = !chemin_log.isEmpty() && !rapport;
    // A run that stopped early always says so. Without the summary, a report
    // asked for and not made is still told, in the summary's own sentence:
    // the user would otherwise take the run for a whole one.
    if (!cb_log->isChecked() && !interruption) {
        if (rapport_perdu)
            message_creer_plusieurs(echec_rapport);
        return;
    }
    const QString eol = bibliotheque_v1::eol(1);
    QString texte;
    if (nbLignesOK == 0)
        texte = QStringLiteral("Aucun fichier eps ou pdf n'a été généré");
    else if (nbLignesOK == 1)
        texte = QStringLiteral("Un fichier eps ou pdf a été généré");
    else
        texte =
            QString::number(nbLignesOK) + QStringLiteral(" fichiers eps ou pdf ont été générés");
    texte += eol + get_message_dossier_resultat() + eol + eol;
    if (interruption) {
        texte += QStringLiteral("La création a été interrompue à la ligne %1\u00A0: %2")
                     .arg(interruption->first)
                     .arg(interruption->second);
        if (nbLignesNonOK > 0)
            texte += eol;
    }
    if (nbLignesNonOK == 0 && !interruption)
        texte += QStringLiteral("Aucune erreur n'a été détectée.");
    else if (nbLignesNonOK == 1)
        texte += QStringLiteral("Une erreur a été détectée.");
    else if (nbLignesNonOK > 1)
        texte += QString::number(nbLignesNonOK) + QStringLiteral(" erreurs ont été détectées.");
    if (nbLignesNonOK > 0)
        texte += eol + eol + QStringLiteral("Pour en savoir plus, ") +
                 (rapport ? QStringLiteral("consultez le fichier de rapport.")
                          : QStringLiteral("recommencez en créant un fichier de rapport."));
    if (rapport_perdu)
        texte += eol + eol + echec_rapport;
    message_creer_plusieurs(texte);
}

void csp_creer_plusieurs::ecrit_rapport(const QString& ligne) {
    if (buffer_log)
        buffer_log->ecrit(ligne);
}

std::int32_t csp_creer_plusieurs::ligne_ayant_fait(const QString& nom, const struct stat& etat) {
    if (const auto fait = noms_faits.constFind(nom); fait != noms_faits.cend())
        return *fait;
    // Another spelling of a name made (a file system that ignores case):
    // the files made so far are looked at once each.
    for (const QString& fait : std::as_const(noms_a_identifier)) {
        struct stat etat_fait = {};
        if (dossier_resultats.examine(fait, etat_fait) == 0)
            fichiers_faits.insert(bibliotheque_v1::identite_de(etat_fait), noms_faits.value(fait));
        graphies_faites[bibliotheque_v1::dossier_ouvert::graphie_commune(fait)].append(fait);
    }
    noms_a_identifier.clear();
    if (const std::int32_t ligne = fichiers_faits.value(bibliotheque_v1::identite_de(etat), 0))
        return ligne;
    // Some drivers give each spelling of one file its own inode number: the
    // folder says whether it takes the name for one made.
    const auto semblables =
        graphies_faites.constFind(bibliotheque_v1::dossier_ouvert::graphie_commune(nom));
    if (semblables != graphies_faites.cend())
        for (const QString& fait : *semblables)
            if (dossier_resultats.meme_nom(nom, fait))
                return noms_faits.value(fait);
    return 0;
}

QString csp_creer_plusieurs::refus_destination(const QString& nom, const struct stat& etat) {
    const std::int32_t ligne = ligne_en_cours;
    const int colonne = colonne_nom_en_cours;
    // Two records of one run that name one file: the first record's file stays.
    if (const std::int32_t fait = ligne_ayant_fait(nom, etat))
        return lignes_rapport::erreur_colonne(
            ligne, colonne, QStringLiteral("nom de fichier déjà utilisé ligne %1").arg(fait));
    // The data file being read (a record named like it, with the results
    // beside it, in any spelling the folder takes for its name): its records
    // would be lost.
    if (donnees.est(dossier_resultats, nom, etat))
        return lignes_rapport::non_cree(
            ligne, nom, QStringLiteral("il aurait remplacé le fichier de données."));
    if (buffer_log && buffer_log->est_partiel(dossier_resultats, nom, etat))
        return lignes_rapport::non_cree(
            ligne, nom, QStringLiteral("il aurait remplacé le fichier de rapport."));
    // A file the user may not write, as the single page refuses it.
    if (!dossier_resultats.ecriture_permise(nom, etat))
        return lignes_rapport::erreur_colonne(
            ligne, colonne,
            QStringLiteral("le fichier existant %1 est protégé en écriture\u00A0: il n'est pas "
                           "remplacé")
                .arg(nom));
    // Nor any file that is no barcode file: a data file's settings may name
    // any folder and extension.
    const std::optional<QByteArray> debut =
        S_ISREG(etat.st_mode) ? dossier_resultats.debut(nom, 5) : std::optional<QByteArray>();
    if (!debut || !debut_code_barres(*debut))
        return lignes_rapport::erreur_colonne(
            ligne, colonne,
            QStringLiteral("le fichier existant %1 n'est pas un fichier eps ou pdf\u00A0: il "
                           "n'est pas remplacé")
                .arg(nom));
    return QString();
}

void csp_creer_plusieurs::cree_fichier_depuis_ligne(const QString& ligne, std::int32_t indice,
                                                    defaut_lecture defaut) {
    const std::int32_t numero = indice + 1;
    QString refus;
    if (defaut.genre == defaut_lecture::guillemet_non_ferme)
        refus = lignes_rapport::erreur(numero, QStringLiteral("guillemet non fermé\u00A0: le reste "
                                                              "du fichier n'a pas pu être lu"));
    else if (defaut.genre == defaut_lecture::trop_long)
        refus = lignes_rapport::erreur(
            numero, QStringLiteral("enregistrement trop long\u00A0: plus de %1 caractères")
                        .arg(TableInputStream::longueur_maximale_defaut));
    const QStringList champs = refus.isEmpty() ? ligne.split(u'\t') : QStringList();
    if (refus.isEmpty() && (champs.size() < 10 || champs.size() > 13))
        refus = lignes_rapport::erreur(numero, QStringLiteral("erreur dans le nombre de colonnes"));
    // Text the reader could not read, in any column.
    for (qsizetype i = 0; refus.isEmpty() && i < champs.size(); ++i) {
        if (champs[i].contains(TableInputStream::marque_erreur_csv))
            refus = lignes_rapport::erreur_colonne(
                numero, static_cast<int>(i + 1),
                QStringLiteral("guillemet dans un champ qui n'est pas entre guillemets"));
        else if (champs[i].contains(TableInputStream::marque_tabulation))
            refus = lignes_rapport::erreur_colonne(
                numero, static_cast<int>(i + 1),
                QStringLiteral("tabulation dans un champ entre guillemets"));
        else if (i + 1 == defaut.colonne_illisible)
            refus = lignes_rapport::erreur_colonne(
                numero, static_cast<int>(i + 1),
                QStringLiteral("caractère illisible dans le codage choisi\u00A0: vérifiez le "
                               "réglage «\u00A0Codage\u00A0»"));
    }
    const bool v1 = champs.size() <= 11;
    valdorin::tableau_code_barres tableau;
    if (refus.isEmpty()) {
        const QString faute =
            v1 ? parse_format_v1(champs, tableau) : parse_format_v2(champs, tableau);
        if (!faute.isEmpty())
            refus = lignes_rapport::erreur_colonne(numero, faute);
    }
    const bool previsu = valdorin::previsu_presence;
    const QString nom = tableau[valdorin::entree_nom_fichier];
    // The result folder must still be the one the run began with. Looked at
    // again every few milliseconds rather than for every record: a file made
    // meanwhile still goes into the folder held open, never elsewhere.
    if (refus.isEmpty() &&
        (!verification_dossier.isValid() || verification_dossier.hasExpired(5))) {
        dossier_en_place = dossier_resultats.en_place();
        verification_dossier.start();
    }
    if (refus.isEmpty() && !dossier_en_place)
        refus = lignes_rapport::non_cree(
            numero, nom,
            QStringLiteral("le répertoire des résultats «\u00A0%1\u00A0» a été déplacé, supprimé "
                           "ou remplacé pendant la création.")
                .arg(chemin_dossier_ecriture));
    if (!refus.isEmpty()) {
        ++nbLignesNonOK;
        ecrit_rapport(refus);
        return;
    }
    // The line says "OK" only once the file is made; a file the engine cannot
    // make is one refused record, and the run goes on. The engine's inputs
    // are set here, with the call: the name is made inside the result folder
    // held open, never through a symbolic link, and a file already there is
    // replaced only when refus_destination allows it.
    ligne_en_cours = numero;
    colonne_nom_en_cours = v1 ? 4 : 12;
    refus_garde.clear();
    try {
        const auto retour = qScopeGuard([] { valdorin::dossier_ecriture = nullptr; });
        valdorin::fi_ecriture = nom;
        valdorin::previsu_presence = previsu;
        valdorin::dossier_ecriture = &dossier_resultats;
        valdorin::cree_fichier(tableau);
        noms_faits.insert(nom, numero);
        noms_a_identifier.append(nom);
    } catch (const valdorin::erreur_creation& echec) {
        ++nbLignesNonOK;
        ecrit_rapport(refus_garde.isEmpty() ? lignes_rapport::non_cree(numero, nom, echec.message())
                                            : refus_garde);
        return;
    }
    ++nbLignesOK;
    ecrit_rapport(lignes_rapport::fait(numero, nom));
}
