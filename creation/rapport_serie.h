#pragma once

#include "ecriture_fichiers.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <cstdint>
#include <functional>

// The report of a batch run: every form of its lines, and the file they go to.
//
// Every line of the report is made here, whoever refuses the record: a
// parser, a check of the page, the engine or the worker gives only the
// column and the reason.
namespace lignes_rapport {

// A column's fault as a parser gives it: "12, nombre de caractères
// supérieur à 50".
QString faute(int colonne, const QString& raison);
// "Ligne 3, erreur en colonne " + a fault made by faute().
QString erreur_colonne(std::int32_t ligne, const QString& faute);
// "Ligne 3, erreur en colonne 12, " + reason.
QString erreur_colonne(std::int32_t ligne, int colonne, const QString& raison);
// "Ligne 3, " + reason: a record refused as a whole.
QString erreur(std::int32_t ligne, const QString& raison);
// "Ligne 3, fichier x.eps OK".
QString fait(std::int32_t ligne, const QString& nom);
// "Ligne 3, fichier x.eps non créé : " + reason.
QString non_cree(std::int32_t ligne, const QString& nom, const QString& raison);

// A line as the report file holds it: the characters that would act on the
// screen of whoever reads it, rather than show, are written as "\u{" + their
// code in hexadecimal + "}".
QString texte_fichier(const QString& ligne);

} // namespace lignes_rapport

// The report file of one run. Each line goes to disk as it is added, into a
// file beside the report whose name says it is partial ("liste.partiel.log"),
// so that memory stays flat and a killed process leaves the line of every
// record it went through; when the run ends, that file takes the report's
// name, replacing the report of an earlier run only then, and removing the
// partial files of runs of the same report that were killed (a run still
// going keeps its partial file locked).
class rapport_serie {
public:
    rapport_serie() = default;
    ~rapport_serie();
    rapport_serie(const rapport_serie&) = delete;
    rapport_serie& operator=(const rapport_serie&) = delete;

    // Starts the report `nom` in `dossier`; `donnees` is the data file, which
    // the report may never replace. False when it cannot be made; echec()
    // then gives the sentence of the summary.
    bool ouvre(const QString& dossier, const QString& nom,
               const bibliotheque_v1::fichier_protege& donnees);
    bool ouvert() const { return fd >= 0; }
    // Adds one line: it is in the file when this returns.
    void ecrit(const QString& ligne);
    // Ends the report: it takes its name, unless that would replace the data
    // file or a file that the run made (`fait_par` gives the record that
    // made the file at a name of the report's folder, 0 for none), or pass
    // through a symbolic link. True when the report is kept; otherwise the
    // partial file is removed, the earlier report stays, and echec() gives
    // the sentence of the summary.
    bool termine(
        const std::function<std::int32_t(bibliotheque_v1::identite_fichier dossier,
                                         const QString& nom, const struct stat& etat)>& fait_par);
    // Why the report was not made or kept; "" when it was.
    const QString& echec() const { return echec_; }
    // The extended attribute that marks a partial file until it becomes the
    // report: only a file so marked is ever removed as a dead run's.
    static constexpr const char* marque_partiel = "user.valdorin.partiel";
    // Whether the file `etat` describes at `nom` of the folder `dans` is the
    // one the lines go to until the run ends: the same file, or another
    // spelling of its name in its folder where the folder takes both for one.
    bool est_partiel(const bibliotheque_v1::dossier_ouvert& dans, const QString& nom,
                     const struct stat& etat) const;
    // The report's path.
    QString chemin() const { return chemin_dossier + nom; }

private:
    // Removes the partial files of this report that no run holds.
    void nettoie_partiels() const;
    // Removes the partial file; `echec` is the summary's sentence.
    void abandonne(const QString& echec);
    // "Le fichier de rapport « … » n'a pas " + the end of the sentence.
    QString refus(const QString& raison) const;
    // The sentence for a failed system call.
    QString echec_systeme(int erreur) const;

    bibliotheque_v1::dossier_ouvert dossier;
    QString chemin_dossier; // ending with "/"
    QString nom;
    QString nom_partiel;
    bibliotheque_v1::fichier_protege donnees;
    // The partial file the lines go to.
    bibliotheque_v1::fichier_protege partiel;
    int fd = -1;
    int erreur = 0;
    QString echec_;
};
