#include "ecriture_fichiers.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>

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
    case EEXIST:
        return QStringLiteral("un fichier de ce nom est apparu pendant l'écriture.");
    default:
        return QStringLiteral("erreur système %1 (%2).")
            .arg(erreur)
            .arg(QString::fromLocal8Bit(std::strerror(erreur)));
    }
}

void ignore_depassement_taille_fichier() {
    std::signal(SIGXFSZ, SIG_IGN);
}

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

namespace {

// A temporary name that says what the file is, should a killed process leave
// it behind, and does not repeat the destination's name, so that a name near
// the system's length limit can still be written.
QByteArray nom_temporaire() {
    static const QByteArray debut =
        ".valdorin-inacheve-" + QByteArray::number(static_cast<qint64>(::getpid())) + '-';
    static quint64 compteur = 0;
    return debut + QByteArray::number(++compteur) + ".tmp";
}

// Writes `octets` to a new temporary file of the folder `dossier` (a
// descriptor, or AT_FDCWD with `prefixe`, the folder part of a path, ending
// with "/"), whose name `temporaire` receives. Every write and the closing
// are checked; on failure the file is removed.
int ecrit_temporaire(int dossier, const QByteArray& prefixe, const QByteArray& octets,
                     QByteArray& temporaire) {
    int fd = -1;
    for (int essai = 0; essai < 100; ++essai) {
        temporaire = prefixe + nom_temporaire();
        fd = ::openat(dossier, temporaire.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                      0666);
        if (fd >= 0 || errno != EEXIST)
            break;
    }
    if (fd < 0)
        return errno;
    int erreur = ecrit_tout(fd, octets);
    if (::close(fd) != 0 && erreur == 0)
        erreur = errno;
    if (erreur != 0)
        ::unlinkat(dossier, temporaire.constData(), 0);
    return erreur;
}

// Gives the temporary file its name when nothing has it yet: 0, EEXIST when
// something is there, or the error number. On a file system that cannot
// refuse to replace, what is there is looked at first.
int nomme_nouveau(int dossier, const QByteArray& temporaire, const QByteArray& destination) {
    if (::renameat2(dossier, temporaire.constData(), dossier, destination.constData(),
                    RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return errno;
    struct stat etat {};
    if (::fstatat(dossier, destination.constData(), &etat, AT_SYMLINK_NOFOLLOW) == 0)
        return EEXIST;
    return ::renameat(dossier, temporaire.constData(), dossier, destination.constData()) == 0
               ? 0
               : errno;
}

// Replaces the file `etat` describes at `destination` by the temporary file,
// which takes its permissions.
int remplace(int dossier, const QByteArray& temporaire, const QByteArray& destination,
             const struct stat& etat) {
    if (S_ISDIR(etat.st_mode))
        return EISDIR;
    // Best effort: a file system without Unix permissions may refuse it, and
    // its files all have the same permissions anyway.
    ::fchmodat(dossier, temporaire.constData(), etat.st_mode & 0777, 0);
    return ::renameat(dossier, temporaire.constData(), dossier, destination.constData()) == 0
               ? 0
               : errno;
}

// Follows the symbolic links that `chemin` names, if any, to the file that a
// write reaches, and gives 0 with its state, or the error number (ENOENT
// when it does not exist yet).
int suit_liens(QByteArray& chemin, struct stat& etat) {
    for (int liens = 0;; ++liens) {
        if (::lstat(chemin.constData(), &etat) != 0)
            return errno;
        if (!S_ISLNK(etat.st_mode))
            return 0;
        if (liens == 40)
            return ELOOP;
        char vers[PATH_MAX];
        const ssize_t n = ::readlink(chemin.constData(), vers, sizeof vers);
        if (n < 0)
            return errno;
        if (n == static_cast<ssize_t>(sizeof vers))
            return ENAMETOOLONG;
        // An absolute link replaces the whole path, a relative one the last name.
        const QByteArray cible(vers, n);
        chemin = cible.startsWith('/') ? cible : chemin.left(chemin.lastIndexOf('/') + 1) + cible;
    }
}

QByteArray dossier_de(const QByteArray& chemin) {
    return chemin.left(chemin.lastIndexOf('/') + 1);
}

} // namespace

// A new file costs no more system calls than writing it in place: the
// temporary file is renamed without replacing anything, and only when a
// name is taken is what lies there looked at.
int enregistre_fichier(const QString& chemin, const QByteArray& octets) {
    QByteArray destination = QFile::encodeName(chemin);
    QByteArray temporaire;
    if (const int erreur = ecrit_temporaire(AT_FDCWD, dossier_de(destination), octets, temporaire))
        return erreur;
    int erreur = nomme_nouveau(AT_FDCWD, temporaire, destination);
    if (erreur == EEXIST) {
        // A file to replace, or a link to write through to its target.
        struct stat etat {};
        const QByteArray dossier = dossier_de(destination);
        erreur = suit_liens(destination, etat);
        if ((erreur == 0 || erreur == ENOENT) && dossier_de(destination) != dossier) {
            // The target lies in another folder, perhaps on another volume:
            // the bytes go beside it, so that the rename stays within it.
            ::unlink(temporaire.constData());
            if (const int ecriture =
                    ecrit_temporaire(AT_FDCWD, dossier_de(destination), octets, temporaire))
                return ecriture;
        }
        if (erreur == 0)
            erreur = remplace(AT_FDCWD, temporaire, destination, etat);
        else if (erreur == ENOENT)
            erreur = nomme_nouveau(AT_FDCWD, temporaire, destination); // nothing there yet
    }
    if (erreur != 0)
        ::unlink(temporaire.constData());
    return erreur;
}

// --- A folder held open ---------------------------------------------------------

dossier_ouvert::~dossier_ouvert() {
    ferme();
}

int dossier_ouvert::ouvre(const QString& chemin) {
    ferme();
    const QByteArray nom = QFile::encodeName(chemin);
    const int fd = ::open(nom.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat etat {};
    if (::fstat(fd, &etat) != 0) {
        const int erreur = errno;
        ::close(fd);
        return erreur;
    }
    fd_ = fd;
    identite_ = identite_de(etat);
    chemin_ = chemin.endsWith(u'/') ? chemin : chemin + u'/';
    chemin_systeme_ = QFile::encodeName(chemin_);
    return 0;
}

void dossier_ouvert::ferme() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool dossier_ouvert::en_place() const {
    struct stat etat {};
    return fd_ >= 0 && ::stat(chemin_systeme_.constData(), &etat) == 0 &&
           identite_de(etat) == identite_;
}

int dossier_ouvert::examine(const QString& nom, struct stat& etat) const {
    return ::fstatat(fd_, QFile::encodeName(nom).constData(), &etat, AT_SYMLINK_NOFOLLOW) == 0
               ? 0
               : errno;
}

bool dossier_ouvert::ecriture_permise(const QString& nom, const struct stat& etat) const {
    return (etat.st_mode & 0222) &&
           ::faccessat(fd_, QFile::encodeName(nom).constData(), W_OK, AT_EACCESS) == 0;
}

std::optional<QByteArray> dossier_ouvert::debut(const QString& nom, qsizetype n) const {
    const int fd = ::openat(fd_, QFile::encodeName(nom).constData(),
                            O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    QByteArray octets(n, '\0');
    qsizetype lus = 0;
    while (lus < n) {
        const ssize_t r = ::read(fd, octets.data() + lus, static_cast<size_t>(n - lus));
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (r == 0)
            break;
        lus += r;
    }
    ::close(fd);
    octets.truncate(lus);
    return octets;
}

int dossier_ouvert::enregistre(const QString& nom, const QByteArray& octets) const {
    const QByteArray destination = QFile::encodeName(nom);
    if (destination.isEmpty() || destination.contains('/'))
        return EINVAL;
    QByteArray temporaire;
    if (const int erreur = ecrit_temporaire(fd_, QByteArray(), octets, temporaire))
        return erreur;
    int erreur = nomme_nouveau(fd_, temporaire, destination);
    if (erreur == EEXIST) {
        struct stat etat {};
        if (::fstatat(fd_, destination.constData(), &etat, AT_SYMLINK_NOFOLLOW) != 0)
            erreur = errno;
        else if (S_ISLNK(etat.st_mode))
            erreur = ELOOP;
        else if (S_ISDIR(etat.st_mode))
            erreur = EISDIR;
        else if (garde && !garde(nom, etat))
            erreur = EEXIST;
        else
            erreur = remplace(fd_, temporaire, destination, etat);
    }
    if (erreur != 0)
        ::unlinkat(fd_, temporaire.constData(), 0);
    return erreur;
}

int dossier_ouvert::cree(const QString& nom) const {
    const int fd = ::openat(fd_, QFile::encodeName(nom).constData(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    return fd >= 0 ? fd : -errno;
}

int dossier_ouvert::renomme(const QString& de, const QString& nom) const {
    return ::renameat(fd_, QFile::encodeName(de).constData(), fd_,
                      QFile::encodeName(nom).constData()) == 0
               ? 0
               : errno;
}

void dossier_ouvert::supprime(const QString& nom) const {
    ::unlinkat(fd_, QFile::encodeName(nom).constData(), 0);
}

} // namespace bibliotheque_v1
