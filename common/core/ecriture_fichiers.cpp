#include "ecriture_fichiers.h"

#include <QFile>
#include <QFileInfo>

#include <QDateTime>
#include <QtEndian>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <tuple>

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace bibliotheque_v1 {

QString lien_refuse;
void (*essai_avant_renommage)(const QByteArray& temporaire) = nullptr;

QString raison_systeme(int erreur) {
    switch (erreur) {
    case erreur_lien_etranger:
        return QStringLiteral("le lien symbolique «\u00A0%1\u00A0» appartient à un autre "
                              "utilisateur, dans un dossier partagé\u00A0: il n'est pas suivi.")
            .arg(lien_refuse);
    case erreur_fichier_special:
        return QStringLiteral("ce n'est pas un fichier ordinaire.");
    case erreur_nom_refuse:
        return QStringLiteral("le disque refuse ce nom de fichier, qui contient peut-être un "
                              "caractère interdit sur ce disque.");
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

const QByteArray debut_temporaire = ".valdorin-inacheve-";
const QByteArray fin_temporaire = ".tmp";
// The letter a probe file of dossier_ouvert::comparaison adds to a
// temporary name, before its end.
const QByteArray lettre_sonde = "\xC3\xA9";

// This machine's name as a temporary name carries it: letters, digits,
// "." and "_" only, so that it never makes a path.
const QByteArray& machine() {
    static const QByteArray nom = [] {
        char brut[256] = {};
        QByteArray m;
        if (::gethostname(brut, sizeof brut - 1) == 0)
            m = QByteArray(brut).left(64);
        for (char& c : m)
            if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.')
                c = '_';
        return m.isEmpty() ? QByteArray("machine") : m;
    }();
    return nom;
}

// A temporary name that says what the file is, and which machine and
// process made it, should a killed process leave it behind; it does not
// repeat the destination's name, so that a name near the system's length
// limit can still be written.
QByteArray nom_temporaire() {
    static const QByteArray debut = debut_temporaire + machine() + '-' +
                                    QByteArray::number(static_cast<qint64>(::getpid())) + '-';
    static quint64 compteur = 0;
    return debut + QByteArray::number(++compteur) + fin_temporaire;
}

// The rights a file is created with: those of a new file (0666 less the
// umask, or what the folder's default ACL gives), or, for the temporary
// file of a replacement, this user's alone. The bytes that will replace a
// private file are then never readable by anyone else, not even by a
// reader who opens the file while it is written and keeps it open; the
// file takes the replaced one's rights just before its rename.
mode_t droits_creation(bool remplacement) {
    return remplacement ? 0600 : 0666;
}

// Whether something lies at the name `nom` of the folder `dossier` (a
// descriptor or AT_FDCWD), so that a write there replaces it: true too when
// the system cannot tell.
bool nom_pris(int dossier, const QByteArray& nom, int drapeaux) {
    struct stat etat = {};
    return ::fstatat(dossier, nom.constData(), &etat, drapeaux) == 0 || errno != ENOENT;
}

// Writes `octets` to a new temporary file of the folder `dossier` (a
// descriptor, or AT_FDCWD with `prefixe`, the folder part of a path, ending
// with "/"), created with `droits`, whose name `temporaire` receives. Every
// write and the closing are checked; on failure the file is removed.
int ecrit_temporaire(int dossier, const QByteArray& prefixe, const QByteArray& octets,
                     QByteArray& temporaire, mode_t droits) {
    int fd = -1;
    int erreur = 0;
    for (int essai = 0; essai < 100; ++essai) {
        temporaire = prefixe + nom_temporaire();
        fd = ::openat(dossier, temporaire.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                      droits);
        erreur = fd < 0 ? errno : 0;
        if (fd >= 0 || erreur != EEXIST)
            break;
    }
    if (fd < 0)
        return erreur;
    erreur = ecrit_tout(fd, octets);
    if (::close(fd) != 0 && erreur == 0)
        erreur = errno;
    if (erreur != 0)
        ::unlinkat(dossier, temporaire.constData(), 0);
    else if (essai_avant_renommage)
        essai_avant_renommage(temporaire);
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
    struct stat etat = {};
    if (::fstatat(dossier, destination.constData(), &etat, AT_SYMLINK_NOFOLLOW) == 0)
        return EEXIST;
    return ::renameat(dossier, temporaire.constData(), dossier, destination.constData()) == 0
               ? 0
               : errno;
}

QByteArray dossier_de(const QByteArray& chemin) {
    return chemin.left(chemin.lastIndexOf('/') + 1);
}

// The state of the folder that holds `nom` (a path when `dossier` is
// AT_FDCWD, else a name of the folder `dossier`).
int etat_dossier(int dossier, const QByteArray& nom, struct stat& etat) {
    if (dossier != AT_FDCWD)
        return ::fstat(dossier, &etat) == 0 ? 0 : errno;
    const QByteArray parent = dossier_de(nom);
    return ::stat(parent.isEmpty() ? "." : parent.constData(), &etat) == 0 ? 0 : errno;
}

// --- Access ACLs, as the system stores them in an extended attribute: a
// version, then entries of a tag, permissions and an id.

const char* const attribut_acl = "system.posix_acl_access";
constexpr quint16 acl_groupe_proprietaire = 0x04, acl_masque = 0x10, acl_autres = 0x20;
constexpr qsizetype acl_entete = 4, acl_taille_entree = 8;

// The access ACL of the file at `chemin`; empty when it has none.
QByteArray acl_de(const QByteArray& chemin) {
    QByteArray acl(128, '\0');
    for (int essai = 0; essai < 4; ++essai) {
        const ssize_t n = ::lgetxattr(chemin.constData(), attribut_acl, acl.data(),
                                      static_cast<size_t>(acl.size()));
        if (n >= 0)
            return acl.left(n);
        if (errno != ERANGE)
            break;
        const ssize_t taille = ::lgetxattr(chemin.constData(), attribut_acl, nullptr, 0);
        if (taille <= 0)
            break;
        acl.resize(taille);
    }
    return QByteArray();
}

// Where the permissions of the ACL's entry with `etiquette` lie; -1 when
// it has none. The system stores the fields little-endian.
qsizetype place_acl(const QByteArray& acl, quint16 etiquette) {
    for (qsizetype i = acl_entete; i + acl_taille_entree <= acl.size(); i += acl_taille_entree)
        if (qFromLittleEndian<quint16>(acl.constData() + i) == etiquette)
            return i + 2;
    return -1;
}

// The permissions (rwx as 0-7) of the ACL's entry with `etiquette`; -1 when
// it has none.
int droits_acl(const QByteArray& acl, quint16 etiquette) {
    const qsizetype i = place_acl(acl, etiquette);
    return i < 0 ? -1 : qFromLittleEndian<quint16>(acl.constData() + i) & 07;
}

void limite_droits_acl(QByteArray& acl, quint16 etiquette, int droits) {
    if (const qsizetype i = place_acl(acl, etiquette); i >= 0)
        qToLittleEndian<quint16>(qFromLittleEndian<quint16>(acl.constData() + i) & droits,
                                 acl.data() + i);
}

// Gives the temporary file the group, permissions and access ACL of the
// file `etat` describes at `destination`; `prefixe` makes the paths of the
// extended-attribute calls. The file never gets more rights than the one it
// replaces: where the group cannot be kept (the writer is not a member), the
// new group gets no right that others lack; where the ACL cannot be copied,
// the group keeps the rights of its own entry, not those of the ACL's mask
// that the permission bits show. A file without an ACL gives none, even
// where the folder would have the temporary file inherit one.
void reprend(int dossier, const QByteArray& prefixe, const QByteArray& temporaire,
             const QByteArray& destination, const struct stat& etat) {
    const QByteArray chemin_temporaire = prefixe + temporaire;
    QByteArray acl = acl_de(prefixe + destination);
    mode_t droits = etat.st_mode & 0777;
    if (::fchownat(dossier, temporaire.constData(), static_cast<uid_t>(-1), etat.st_gid,
                   AT_SYMLINK_NOFOLLOW) != 0) {
        const mode_t autres = droits & 07;
        droits = (droits & ~mode_t(070)) | (droits & (autres << 3));
        if (!acl.isEmpty())
            limite_droits_acl(acl, acl_groupe_proprietaire,
                              std::max(0, droits_acl(acl, acl_autres)));
    }
    if (acl.isEmpty()) {
        ::lremovexattr(chemin_temporaire.constData(), attribut_acl);
    } else if (::lsetxattr(chemin_temporaire.constData(), attribut_acl, acl.constData(),
                           static_cast<size_t>(acl.size()), 0) == 0) {
        return; // the ACL sets the permission bits with it
    } else {
        const int groupe = droits_acl(acl, acl_groupe_proprietaire);
        const int masque = droits_acl(acl, acl_masque);
        const mode_t propre = static_cast<mode_t>(std::max(0, groupe) & (masque < 0 ? 07 : masque));
        droits = (droits & ~mode_t(070)) | (propre << 3);
    }
    // Best effort: a file system without Unix permissions refuses it, and
    // gives all its files the same permissions anyway. The file then keeps
    // the rights it was made with, the writer's alone: never more than the
    // file it replaces had.
    std::ignore = ::fchmodat(dossier, temporaire.constData(), droits, 0);
}

// Writes the temporary file's bytes over the file at `destination` itself,
// which keeps its owner, group, permissions and ACL. Used only where the
// system refuses the rename: a sticky folder and another user's file that
// the writer may write. Space and size are checked before the first byte is
// written, so that a full disk or a size limit leaves the file as it was;
// only a process killed during the copy could leave it cut short.
int ecrit_sur_place(int dossier, const QByteArray& temporaire, const QByteArray& destination,
                    const struct stat& etat) {
    // Private while its bytes are copied. Where the system refuses, it keeps
    // the rights of the file it is copied over, which will show those bytes.
    std::ignore = ::fchmodat(dossier, temporaire.constData(), 0600, 0);
    const int source = ::openat(dossier, temporaire.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (source < 0)
        return errno;
    const int cible =
        ::openat(dossier, destination.constData(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (cible < 0) {
        const int erreur = errno;
        ::close(source);
        return erreur;
    }
    struct stat avant = {}, octets = {};
    int erreur = 0;
    if (::fstat(cible, &avant) != 0 || ::fstat(source, &octets) != 0)
        erreur = errno;
    else if (!S_ISREG(avant.st_mode) || identite_de(avant) != identite_de(etat))
        erreur = EEXIST; // something else took the name meanwhile
    rlimit limite{};
    if (erreur == 0 && ::getrlimit(RLIMIT_FSIZE, &limite) == 0 &&
        limite.rlim_cur != RLIM_INFINITY && static_cast<rlim_t>(octets.st_size) > limite.rlim_cur)
        erreur = EFBIG;
    if (erreur == 0 && octets.st_size > 0 &&
        ::fallocate(cible, FALLOC_FL_KEEP_SIZE, 0, octets.st_size) != 0 && errno != EOPNOTSUPP &&
        errno != ENOSYS)
        erreur = errno;
    char tampon[64 * 1024];
    for (off_t position = 0; erreur == 0 && position < octets.st_size;) {
        const ssize_t lus = ::read(source, tampon, sizeof tampon);
        if (lus < 0 && errno == EINTR)
            continue;
        if (lus <= 0) {
            erreur = lus < 0 ? errno : EIO;
            break;
        }
        for (ssize_t fait = 0; erreur == 0 && fait < lus;) {
            const ssize_t n =
                ::pwrite(cible, tampon + fait, static_cast<size_t>(lus - fait), position + fait);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                erreur = n < 0 ? errno : ENOSPC;
            else
                fait += n;
        }
        position += lus;
    }
    if (erreur == 0 && ::ftruncate(cible, octets.st_size) != 0)
        erreur = errno;
    if (::close(cible) != 0 && erreur == 0)
        erreur = errno;
    ::close(source);
    if (erreur == 0)
        ::unlinkat(dossier, temporaire.constData(), 0);
    return erreur;
}

// Replaces the file `etat` describes at `destination` by the temporary file,
// which takes its group, permissions and ACL first. In a sticky folder the
// system lets a user replace only their own files: another user's file that
// this one may write is written over in place.
int remplace(int dossier, const QByteArray& prefixe, const QByteArray& temporaire,
             const QByteArray& destination, const struct stat& etat) {
    if (S_ISDIR(etat.st_mode))
        return EISDIR;
    if (!S_ISREG(etat.st_mode))
        return erreur_fichier_special;
    reprend(dossier, prefixe, temporaire, destination, etat);
    if (::renameat(dossier, temporaire.constData(), dossier, destination.constData()) == 0)
        return 0;
    const int erreur = errno;
    struct stat parent = {};
    if (erreur == EPERM && etat.st_uid != ::geteuid() &&
        etat_dossier(dossier, destination, parent) == 0 && (parent.st_mode & S_ISVTX) &&
        ::faccessat(dossier, destination.constData(), W_OK, AT_EACCESS) == 0)
        return ecrit_sur_place(dossier, temporaire, destination, etat);
    return erreur;
}

// Follows the symbolic links that `chemin` names, if any, to the file that a
// write reaches, and gives 0 with its state, or the error number (ENOENT
// when it does not exist yet). As the system does when it opens a path, a
// link in a sticky folder that anyone may write is followed only when it
// belongs to this user or to the folder's owner: another user could make
// it point at any of this user's files.
int suit_liens(QByteArray& chemin, struct stat& etat) {
    for (int liens = 0;; ++liens) {
        if (::lstat(chemin.constData(), &etat) != 0)
            return errno;
        if (!S_ISLNK(etat.st_mode))
            return 0;
        if (liens == 40)
            return ELOOP;
        struct stat parent = {};
        if (const int erreur = etat_dossier(AT_FDCWD, chemin, parent))
            return erreur;
        if ((parent.st_mode & S_ISVTX) && (parent.st_mode & S_IWOTH) &&
            etat.st_uid != ::geteuid() && etat.st_uid != parent.st_uid) {
            lien_refuse = QFile::decodeName(chemin);
            return erreur_lien_etranger;
        }
        char vers[PATH_MAX];
        const ssize_t n = ::readlink(chemin.constData(), vers, sizeof vers);
        if (n < 0)
            return errno;
        if (n == static_cast<ssize_t>(sizeof vers))
            return ENAMETOOLONG;
        // An absolute link replaces the whole path, a relative one the last name.
        const QByteArray cible(vers, n);
        chemin = cible.startsWith('/') ? cible : dossier_de(chemin) + cible;
    }
}

// The numbers that a temporary name of this program (a probe file's too)
// carries after its beginning: machine, process; false for another name,
// one that only looks like it too (a copy "….-1 (2).tmp", a number written
// otherwise).
bool lit_temporaire(const QByteArray& nom, QByteArray& machine_nom, qint64& processus) {
    if (!nom.startsWith(debut_temporaire) || !nom.endsWith(fin_temporaire))
        return false;
    QByteArray milieu = nom.mid(debut_temporaire.size(),
                                nom.size() - debut_temporaire.size() - fin_temporaire.size());
    if (milieu.endsWith(lettre_sonde))
        milieu.chop(lettre_sonde.size());
    const qsizetype compteur = milieu.lastIndexOf('-');
    const qsizetype pid = compteur > 0 ? milieu.lastIndexOf('-', compteur - 1) : -1;
    if (pid <= 0)
        return false;
    // A number as QByteArray::number writes it, greater than 0.
    const auto nombre = [](const QByteArray& texte, qint64& valeur) {
        bool lu = false;
        valeur = texte.toLongLong(&lu);
        return lu && valeur > 0 && QByteArray::number(valeur) == texte;
    };
    qint64 rang = 0;
    machine_nom = milieu.left(pid);
    return nombre(milieu.mid(pid + 1, compteur - pid - 1), processus) &&
           nombre(milieu.mid(compteur + 1), rang);
}

} // namespace

// A new file costs one system call more than writing it in place, the look
// at its name that chooses the temporary file's rights: the temporary file
// is renamed without replacing anything, and only when a name is taken is
// what lies there looked at closely. A file that appears at the name while
// the bytes are written is replaced as any other, its rights given before
// the rename.
int enregistre_fichier(const QString& chemin, const QByteArray& octets) {
    QByteArray destination = QFile::encodeName(chemin);
    // "No such file" although the folder of the file to write (through a
    // link, of its target) exists: the file system refused the name.
    const auto explique = [&destination](int erreur) {
        struct stat parent = {};
        return erreur == ENOENT && etat_dossier(AT_FDCWD, destination, parent) == 0 &&
                       S_ISDIR(parent.st_mode)
                   ? erreur_nom_refuse
                   : erreur;
    };
    // Through a link, to the file it names.
    const mode_t droits = droits_creation(nom_pris(AT_FDCWD, destination, 0));
    QByteArray temporaire;
    if (const int erreur =
            ecrit_temporaire(AT_FDCWD, dossier_de(destination), octets, temporaire, droits))
        return explique(erreur);
    int erreur = nomme_nouveau(AT_FDCWD, temporaire, destination);
    if (erreur == EEXIST) {
        // A file to replace, or a link to write through to its target.
        struct stat etat = {};
        const QByteArray dossier = dossier_de(destination);
        erreur = suit_liens(destination, etat);
        if ((erreur == 0 || erreur == ENOENT) && dossier_de(destination) != dossier) {
            // The target lies in another folder, perhaps on another volume:
            // the bytes go beside it, so that the rename stays within it.
            ::unlink(temporaire.constData());
            if (const int ecriture =
                    ecrit_temporaire(AT_FDCWD, dossier_de(destination), octets, temporaire, droits))
                return explique(ecriture);
        }
        if (erreur == 0)
            erreur = remplace(AT_FDCWD, QByteArray(), temporaire, destination, etat);
        else if (erreur == ENOENT)
            erreur = nomme_nouveau(AT_FDCWD, temporaire, destination); // nothing there yet
    }
    if (erreur != 0)
        ::unlink(temporaire.constData());
    return explique(erreur);
}

// --- A temporary file -----------------------------------------------------------

fichier_temporaire::fichier_temporaire(const QString& dossier, const QString& debut,
                                       const QString& fin) {
    const QByteArray suffixe = QFile::encodeName(fin);
    QByteArray modele = QFile::encodeName(dossier.endsWith(u'/') ? dossier : dossier + u'/') +
                        QFile::encodeName(debut) + "XXXXXX" + suffixe;
    const int fd = ::mkostemps(modele.data(), static_cast<int>(suffixe.size()), O_CLOEXEC);
    if (fd < 0) {
        erreur_ = errno;
        return;
    }
    // Opened again by its name, which a QFile opened on a descriptor would
    // not know.
    ::close(fd);
    setFileName(QFile::decodeName(modele));
    if (!open(QIODevice::ReadWrite)) {
        erreur_ = EIO;
        ::unlink(modele.constData());
    }
}

fichier_temporaire::~fichier_temporaire() {
    close();
    if (erreur_ == 0)
        remove();
}

// --- A folder held open ---------------------------------------------------------

dossier_ouvert::~dossier_ouvert() {
    ferme();
}

int dossier_ouvert::ouvre(const QString& chemin) {
    ferme();
    const QByteArray nom = QFile::encodeName(chemin);
    // O_PATH: every call relative to the folder works without the right to
    // list it.
    const int fd = ::open(nom.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    // A folder that may not be written or searched can receive nothing:
    // said now, not once for every file.
    struct stat etat = {};
    if (::fstat(fd, &etat) != 0 || ::faccessat(fd, ".", W_OK | X_OK, AT_EACCESS) != 0) {
        const int erreur = errno;
        ::close(fd);
        return erreur;
    }
    fd_ = fd;
    identite_ = identite_de(etat);
    comparaison_.reset();
    chemin_ = chemin.endsWith(u'/') ? chemin : chemin + u'/';
    chemin_systeme_ = QFile::encodeName(chemin_);
    // The extended-attribute calls take paths: through the descriptor where
    // the system shows it, else by the folder's path.
    const QByteArray par_descripteur = "/proc/self/fd/" + QByteArray::number(fd_) + '/';
    prefixe_ = ::access(par_descripteur.constData(), X_OK) == 0 ? par_descripteur : chemin_systeme_;
    return 0;
}

void dossier_ouvert::ferme() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool dossier_ouvert::en_place() const {
    struct stat etat = {};
    return fd_ >= 0 && ::stat(chemin_systeme_.constData(), &etat) == 0 &&
           identite_de(etat) == identite_;
}

int dossier_ouvert::examine(const QString& nom, struct stat& etat) const {
    return ::fstatat(fd_, QFile::encodeName(nom).constData(), &etat, AT_SYMLINK_NOFOLLOW) == 0
               ? 0
               : errno;
}

QString dossier_ouvert::graphie_commune(const QString& nom) {
    // Unicode's caseless match of canonical equivalents.
    return nom.normalized(QString::NormalizationForm_D)
        .toCaseFolded()
        .normalized(QString::NormalizationForm_D);
}

dossier_ouvert::comparaison_noms dossier_ouvert::comparaison() const {
    if (comparaison_)
        return *comparaison_;
    // A probe file named as this program's temporary files (a later run
    // removes it, should this process be killed before it does), with a
    // letter "é" as one character: its name in capitals, and with the accent
    // as a combining character, are looked up. Where it cannot be made,
    // even without the letter (a file system that holds only ASCII names),
    // both are taken as one name, so that a file answering to another
    // spelling of a name is kept rather than replaced.
    comparaison_noms comparaison{true, true};
    for (const QByteArray& accent : {lettre_sonde, QByteArray()}) {
        QByteArray sonde = nom_temporaire();
        sonde.insert(sonde.size() - fin_temporaire.size(), accent);
        const int fd = ::openat(fd_, sonde.constData(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0)
            continue;
        ::close(fd);
        struct stat etat = {};
        comparaison.casse =
            ::fstatat(fd_, sonde.toUpper().constData(), &etat, AT_SYMLINK_NOFOLLOW) == 0;
        comparaison.forme =
            !accent.isEmpty() &&
            ::fstatat(fd_, QByteArray(sonde).replace(accent, "e\xCC\x81").constData(), &etat,
                      AT_SYMLINK_NOFOLLOW) == 0;
        ::unlinkat(fd_, sonde.constData(), 0);
        break;
    }
    comparaison_ = comparaison;
    return comparaison;
}

bool dossier_ouvert::meme_nom(const QString& a, const QString& b) const {
    if (a == b)
        return true;
    if (graphie_commune(a) != graphie_commune(b))
        return false;
    const comparaison_noms regles = comparaison();
    const auto graphie = [regles](QString nom) {
        if (regles.forme)
            nom = nom.normalized(QString::NormalizationForm_D);
        if (regles.casse)
            nom = nom.toCaseFolded();
        return regles.forme ? nom.normalized(QString::NormalizationForm_D) : nom;
    };
    return graphie(a) == graphie(b);
}

fichier_protege fichier_protege::de(const QString& chemin) {
    const auto identite = [](const QString& de) -> std::optional<identite_fichier> {
        struct stat etat = {};
        if (::stat(QFile::encodeName(de).constData(), &etat) != 0)
            return std::nullopt;
        return identite_de(etat);
    };
    const QFileInfo fichier(chemin);
    return {identite(chemin), identite(fichier.absolutePath()), fichier.fileName()};
}

bool fichier_protege::est(const dossier_ouvert& dans, const QString& nom_fichier,
                          const struct stat& etat) const {
    return identite_de(etat) == identite ||
           (dans.identite() == dossier && dans.meme_nom(nom_fichier, nom));
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
    if (const int erreur =
            ecrit_temporaire(fd_, QByteArray(), octets, temporaire,
                             droits_creation(nom_pris(fd_, destination, AT_SYMLINK_NOFOLLOW))))
        return explique(erreur);
    const int erreur = nomme(temporaire, destination, nom, true);
    if (erreur != 0)
        ::unlinkat(fd_, temporaire.constData(), 0);
    return explique(erreur);
}

int dossier_ouvert::explique(int erreur) const {
    return erreur == ENOENT && en_place() ? erreur_nom_refuse : erreur;
}

int dossier_ouvert::nomme(const QByteArray& source, const QByteArray& destination,
                          const QString& nom, bool avec_garde) const {
    int erreur = nomme_nouveau(fd_, source, destination);
    if (erreur == EEXIST) {
        struct stat etat = {};
        if (::fstatat(fd_, destination.constData(), &etat, AT_SYMLINK_NOFOLLOW) != 0)
            erreur = errno;
        else if (S_ISLNK(etat.st_mode))
            erreur = ELOOP;
        else if (S_ISDIR(etat.st_mode))
            erreur = EISDIR;
        else if (avec_garde && garde && !garde(nom, etat))
            erreur = EEXIST;
        else
            erreur = remplace(fd_, prefixe_, source, destination, etat);
    }
    return erreur;
}

int dossier_ouvert::cree(const QString& nom, bool remplacera) const {
    const int fd =
        ::openat(fd_, QFile::encodeName(nom).constData(),
                 O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, droits_creation(remplacera));
    return fd >= 0 ? fd : -explique(errno);
}

int dossier_ouvert::renomme(const QString& de, const QString& nom) const {
    return explique(nomme(QFile::encodeName(de), QFile::encodeName(nom), nom, false));
}

void dossier_ouvert::parcourt(const std::function<void(const QByteArray& nom)>& action) const {
    const int lecture = ::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (lecture < 0)
        return;
    DIR* liste = ::fdopendir(lecture);
    if (!liste) {
        ::close(lecture);
        return;
    }
    while (const dirent* entree = ::readdir(liste))
        action(QByteArray::fromRawData(entree->d_name, std::strlen(entree->d_name)));
    ::closedir(liste);
}

void dossier_ouvert::reprend_attributs(const QString& fichier, const QString& modele) const {
    const QByteArray destination = QFile::encodeName(modele);
    struct stat etat = {};
    if (::fstatat(fd_, destination.constData(), &etat, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(etat.st_mode))
        reprend(fd_, prefixe_, QFile::encodeName(fichier), destination, etat);
}

void dossier_ouvert::nettoie_temporaires(bool autres_machines) const {
    const qint64 maintenant = QDateTime::currentSecsSinceEpoch();
    const qint64 moi = ::getpid();
    parcourt([&](const QByteArray& nom) {
        QByteArray sa_machine;
        qint64 processus = 0;
        struct stat etat = {};
        if (!lit_temporaire(nom, sa_machine, processus) ||
            ::fstatat(fd_, nom.constData(), &etat, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(etat.st_mode) || (sa_machine != machine() && !autres_machines))
            return;
        // A process of this machine that still runs may be writing it; one
        // of another machine cannot be asked, but no file takes a day to
        // write.
        const bool abandonne = sa_machine == machine()
                                   ? processus != moi &&
                                         ::kill(static_cast<pid_t>(processus), 0) != 0 &&
                                         errno == ESRCH
                                   : maintenant - etat.st_mtim.tv_sec > 24 * 3600;
        if (abandonne)
            ::unlinkat(fd_, nom.constData(), 0);
    });
}

void dossier_ouvert::supprime(const QString& nom) const {
    ::unlinkat(fd_, QFile::encodeName(nom).constData(), 0);
}

} // namespace bibliotheque_v1
