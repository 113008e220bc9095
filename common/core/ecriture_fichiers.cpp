#include "ecriture_fichiers.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bibliotheque_v1 {

QString raison_systeme(int erreur) {
    switch (erreur) {
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("son dossier n'existe pas.");
    case EACCES:
    case EPERM:
        return QStringLiteral("accès refusé.");
    case EROFS:
        return QStringLiteral("le volume est en lecture seule.");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("le disque est plein.");
    case EISDIR:
        return QStringLiteral("c'est un dossier.");
    case ENAMETOOLONG:
        return QStringLiteral("le nom est trop long.");
    case EFBIG:
        return QStringLiteral("le fichier dépasse la taille permise.");
    case ELOOP:
        return QStringLiteral("le chemin passe par un lien symbolique refusé ou par une boucle "
                              "de liens.");
    default:
        return QStringLiteral("erreur système %1 (%2).")
            .arg(erreur)
            .arg(QString::fromLocal8Bit(std::strerror(erreur)));
    }
}

namespace {

// Writes every byte to `fd`; gives 0 or the error number.
int ecrit_tout(int fd, const QByteArray& octets) {
    const char* p = octets.constData();
    qsizetype reste = octets.size();
    while (reste > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(reste));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : ENOSPC;
        p += n;
        reste -= n;
    }
    return 0;
}

// Follows the symbolic links that `chemin` names, if any, to the file that a
// write reaches (which need not exist yet). Gives 0 or the error number.
int suit_liens(QByteArray& chemin) {
    namespace fs = std::filesystem;
    fs::path p(chemin.toStdString());
    for (int liens = 0;; ++liens) {
        std::error_code erreur;
        if (!fs::is_symlink(fs::symlink_status(p, erreur)))
            break;
        if (liens == 40)
            return ELOOP;
        const fs::path vers = fs::read_symlink(p, erreur);
        if (erreur)
            return erreur.value();
        p = p.parent_path() / vers; // an absolute link replaces the whole path
    }
    chemin = QByteArray::fromStdString(p.native());
    return 0;
}

} // namespace

// Writes `octets` to `chemin` so that a failure never leaves a partial file
// nor harms an earlier one. A new file is created in place (exclusively) and
// removed again on failure; an existing one is replaced in one step by a
// temporary file written beside it, given the existing file's permissions and
// renamed over it. A symbolic link is written through (its target is the file
// created or replaced, and the link stays as it is), or refused with ELOOP,
// as `liens` says; a link made while a refused one is checked is replaced by
// the rename, not followed. The temporary name does not repeat the
// destination's, so that a name near the system's length limit can still be
// replaced. The data is not forced to disk: a batch writes
// thousands of files, and few system calls keep it fast.
int enregistre_fichier(const QString& chemin, const QByteArray& octets, liens_destination liens) {
    QByteArray destination = QFile::encodeName(chemin);
    if (liens == liens_destination::suivis) {
        if (const int erreur = suit_liens(destination))
            return erreur;
    } else {
        struct stat lien {};
        if (::lstat(destination.constData(), &lien) == 0 && S_ISLNK(lien.st_mode))
            return ELOOP;
    }
    constexpr int mode = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;

    QByteArray cible = destination;
    int fd = ::open(cible.constData(), mode, 0666);
    const bool remplace = fd < 0 && errno == EEXIST;
    if (remplace) {
        const qsizetype barre = destination.lastIndexOf('/');
        const QByteArray prefixe = destination.left(barre + 1) + ".valdorin-" +
                                   QByteArray::number(static_cast<qint64>(::getpid())) + '-';
        static quint64 compteur = 0;
        for (int essai = 0; fd < 0 && errno == EEXIST && essai < 100; ++essai) {
            cible = prefixe + QByteArray::number(++compteur);
            fd = ::open(cible.constData(), mode, 0666);
        }
        // Best effort: a file system without Unix permissions may refuse it,
        // and its files all have the same permissions anyway.
        struct stat existant {};
        if (fd >= 0 && ::stat(destination.constData(), &existant) == 0)
            ::fchmod(fd, existant.st_mode & 0777);
    }
    if (fd < 0)
        return errno;

    int erreur = ecrit_tout(fd, octets);
    if (::close(fd) != 0 && erreur == 0)
        erreur = errno;
    if (erreur == 0 && remplace && ::rename(cible.constData(), destination.constData()) != 0)
        erreur = errno;
    if (erreur != 0) {
        ::unlink(cible.constData());
        return erreur;
    }
    return 0;
}

} // namespace bibliotheque_v1
