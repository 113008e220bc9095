#pragma once

#include <QString>

// Read and write rights of files and folders, and the silent report of a
// failed file operation.
namespace bibliotheque_v1 {

// Whether a file or folder can be read, or written. One that carries no read
// (or no write) permission bit at all counts as protected for every user.
bool lecture_permise(const QString& chemin);
bool ecriture_permise(const QString& chemin);

// Whether `dossier` exists, is a folder and can receive files.
bool check_savefolder(const QString& dossier);

// Whether the file `fichier` may be written as a whole: a file that does not
// exist yet when its folder can receive files; an existing one when it is a
// file (not a folder, pipe or device) writable itself, and its folder too,
// since the file is replaced.
bool enregistrement_permis(const QString& fichier);

// The silent report of a failed file operation at `lieu`.
void erreur_fichier(const QString& lieu);

} // namespace bibliotheque_v1
