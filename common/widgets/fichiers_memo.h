#pragma once

#include <QString>

struct type_fichier;

// The state file: the whole state of the forms, saved to a file the user
// names and restored from it.
namespace parametres_v1 {

// Saves the state of the forms to a file the user names.
void exporte_fichier_memo(const type_fichier* type = nullptr, const QString& nom = QString());

// Asks for a state file and restores it.
void choisit_importe_fichier_memo(const type_fichier* type = nullptr);

// Restores the state saved in `chemin`, and says how it went.
void importe_fichier_memo(const QString& chemin);

} // namespace parametres_v1
