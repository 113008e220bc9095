#pragma once

#include <QByteArray>
#include <QString>

// Atomic writes of whole user files, and the French reason of a failed system
// call.
namespace bibliotheque_v1 {

// What a write does with a symbolic link at its destination.
enum class liens_destination {
    suivis,  // the link's target is written, and the link stays as it is
    refuses, // the write fails with ELOOP, and neither the link nor its target changes
};

// Writes `octets` to `chemin` so that a failure never leaves a partial file
// nor harms an earlier one: every write, and the closing, is checked before
// the file takes its name. Gives 0, or the system's error number (ENOSPC for
// a full disk, EFBIG beyond the size a process may write...).
int enregistre_fichier(const QString& chemin, const QByteArray& octets,
                       liens_destination liens = liens_destination::suivis);

// The French reason for a system error number, as it ends a message
// ("le disque est plein.").
QString raison_systeme(int erreur);

} // namespace bibliotheque_v1
