#pragma once

#include <QByteArray>
#include <QHashFunctions>
#include <QString>

#include <functional>
#include <optional>

#include <sys/stat.h>

// Atomic writes of whole user files, the folder a run of files is written
// into, and the French reason of a failed system call.
namespace bibliotheque_v1 {

// A file, whatever path names it: its device and inode.
struct identite_fichier {
    quint64 peripherique = 0;
    quint64 noeud = 0;
    friend bool operator==(const identite_fichier&, const identite_fichier&) = default;
};

inline size_t qHash(const identite_fichier& identite, size_t graine = 0) {
    return qHashMulti(graine, identite.peripherique, identite.noeud);
}

inline identite_fichier identite_de(const struct stat& etat) {
    return {static_cast<quint64>(etat.st_dev), static_cast<quint64>(etat.st_ino)};
}

// Writes `octets` to `chemin` so that a failure never leaves a partial file
// nor harms an earlier one: the bytes go to a temporary file beside the
// destination, every write and the closing are checked, and only then does
// the file take its name, new or replacing. A process killed in the middle
// leaves at worst a file named ".valdorin-inacheve-….tmp", never a short
// file under the destination's name. A symbolic link at `chemin` is written
// through: its target is created or replaced, the link stays. Gives 0, or
// the system's error number (ENOSPC for a full disk, EFBIG beyond the size a
// process may write...).
int enregistre_fichier(const QString& chemin, const QByteArray& octets);

// A folder held open while a run writes many files into it. Every file is
// looked at, created and replaced relative to the folder itself, never by
// its path: a folder renamed, removed or replaced by a link during the run
// cannot send a file anywhere else, and en_place() tells that it happened.
// Names are single path components; a symbolic link at a name is never
// followed. A new file costs the same system calls as writing it in place.
class dossier_ouvert {
public:
    dossier_ouvert() = default;
    ~dossier_ouvert();
    dossier_ouvert(const dossier_ouvert&) = delete;
    dossier_ouvert& operator=(const dossier_ouvert&) = delete;

    // Opens the folder at `chemin` (links on the way are followed, once,
    // here). Gives 0 or the error number; a folder already open is closed.
    int ouvre(const QString& chemin);
    void ferme();
    bool ouvert() const { return fd_ >= 0; }
    // The folder, whatever its path.
    identite_fichier identite() const { return identite_; }
    // The path the folder was opened by, ending with "/".
    const QString& chemin() const { return chemin_; }
    // Whether the path still names the folder held open.
    bool en_place() const;

    // What lies at `nom`, a link not followed: 0 with `etat` filled, or the
    // error number (ENOENT: nothing).
    int examine(const QString& nom, struct stat& etat) const;
    // Whether the process may write the file at `nom`: both a write
    // permission bit and the system's own check for this user.
    bool ecriture_permise(const QString& nom, const struct stat& etat) const;
    // The first `n` bytes of the regular file at `nom` (fewer when it is
    // shorter); none when it cannot be read.
    std::optional<QByteArray> debut(const QString& nom, qsizetype n) const;

    // Writes `octets` to `nom` as enregistre_fichier does, but refuses a
    // symbolic link there with ELOOP, and asks `garde` before it replaces a
    // file.
    int enregistre(const QString& nom, const QByteArray& octets) const;
    // Asked before enregistre replaces what lies at `nom` (neither a link
    // nor a folder), described by `etat`: false keeps it, and the write
    // fails with EEXIST. None: every such file is replaced.
    std::function<bool(const QString& nom, const struct stat& etat)> garde;

    // Creates the new file `nom` for writing, never over anything: gives its
    // descriptor, or minus the error number.
    int cree(const QString& nom) const;
    // Gives `nom` to the file `de` of the folder, replacing what was there.
    int renomme(const QString& de, const QString& nom) const;
    // Removes the file `nom`.
    void supprime(const QString& nom) const;

private:
    int fd_ = -1;
    QString chemin_;
    QByteArray chemin_systeme_;
    identite_fichier identite_;
};

// Writes every byte of `octets` to the descriptor `fd`, however many calls it
// takes. Gives 0 or the error number.
int ecrit_tout(int fd, const QByteArray& octets);

// The French reason for a system error number, as it ends a message
// ("le disque est plein.").
QString raison_systeme(int erreur);

// A process that writes more than its file-size limit allows is killed by
// the signal SIGXFSZ; ignored, the write fails with EFBIG instead, which the
// writes above report. Called once at start-up by every program.
void ignore_depassement_taille_fichier();

} // namespace bibliotheque_v1
