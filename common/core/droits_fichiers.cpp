#include "droits_fichiers.h"

#include "bibliotheque_v1.h"

#include <QFileInfo>

namespace bibliotheque_v1 {

bool lecture_permise(const QString& chemin) {
    const QFileInfo info(chemin);
    return info.exists() && info.isReadable() &&
           (info.permissions() & (QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
}

bool ecriture_permise(const QString& chemin) {
    const QFileInfo info(chemin);
    return info.exists() && info.isWritable() &&
           (info.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther));
}

bool check_savefolder(const QString& dossier) {
    try {
        return !dossier.isEmpty() && QFileInfo(dossier).isDir() && ecriture_permise(dossier);
    } catch (...) {
        erreur_fichier(QStringLiteral("bibliotheque : check_savefolder"));
        return false;
    }
}

bool enregistrement_permis(const QString& fichier) {
    const QFileInfo info(fichier);
    return check_savefolder(info.absolutePath()) &&
           (!info.exists() || (info.isFile() && ecriture_permise(fichier)));
}

void erreur_fichier(const QString& lieu) {
    msgdebug(QStringLiteral("Une erreur est survenue pendant\rune opération sur un fichier !") +
             eol(2) + QStringLiteral("debug dans le module « ") + lieu + QStringLiteral(" »"));
}

} // namespace bibliotheque_v1
