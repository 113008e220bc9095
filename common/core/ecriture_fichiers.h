#pragma once

#include <QByteArray>
#include <QFile>
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

// Errors of the writes below that are no system error numbers.
// A symbolic link that the write may not follow: in a sticky folder that
// anyone may write into, a link owned by another user than the writer and
// the folder's owner (the rule the system itself applies to opening such a
// link). lien_refuse names it.
inline constexpr int erreur_lien_etranger = 0x10001;
// Something at the destination that is neither a file nor a folder (a pipe,
// a device, a socket): it is not replaced.
inline constexpr int erreur_fichier_special = 0x10002;
// A name that the file system refused although its folder exists: exFAT
// through FUSE answers "no such file" (ENOENT) for a name holding a
// character it forbids (: ? * " < > | \).
inline constexpr int erreur_nom_refuse = 0x10003;
// The link of the last erreur_lien_etranger.
extern QString lien_refuse;

// Writes `octets` to `chemin` so that a failure never leaves a partial file
// nor harms an earlier one: the bytes go to a temporary file beside the
// destination, every write and the closing are checked, and only then does
// the file take its name, new or replacing. A process killed in the middle
// leaves at worst a file named ".valdorin-inacheve-<machine>-<process>-….tmp",
// never a short file under the destination's name.
//
// A file replaced passes on its group, its permissions and its access ACL,
// never more rights than it had (see remplace in the source); while its
// replacement is written, only this user may read it. In a sticky
// folder, where the system forbids replacing another user's file, a file
// that may be written is written over in place instead.
//
// A symbolic link at `chemin` is written through, its target created or
// replaced and the link kept, unless it is another user's link in a shared
// sticky folder (erreur_lien_etranger). Gives 0, or the system's error
// number (ENOSPC for a full disk, EFBIG beyond the size a process may
// write...) or one of the errors above; ENOENT only when the folder does
// not exist.
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
    // here). Gives 0 or the error number (EACCES for a folder this user may
    // not write into or search); a folder already open is closed.
    // The folder need not be readable: writing and searching are enough,
    // as in a hot folder that may not be listed.
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
    // Whether the folder takes `a` and `b` for one name: the same name, or
    // two spellings of one where its file system tells neither case (exFAT,
    // FAT, some network shares) or Unicode normalization forms apart. Some
    // drivers (exfat-fuse, fusefat) give each spelling of one file its own
    // inode number, so the folder itself is asked how it compares names,
    // with a probe file, once while it is open, and only when two names
    // equal by graphie_commune are compared.
    bool meme_nom(const QString& a, const QString& b) const;
    // `nom` with its case and its Unicode normalization form set aside: two
    // names that any file system takes for one give the same.
    static QString graphie_commune(const QString& nom);
    // Whether the process may write the file at `nom`: both a write
    // permission bit and the system's own check for this user.
    bool ecriture_permise(const QString& nom, const struct stat& etat) const;
    // The first `n` bytes of the regular file at `nom` (fewer when it is
    // shorter); none when it cannot be read.
    std::optional<QByteArray> debut(const QString& nom, qsizetype n) const;

    // Writes `octets` to `nom` as enregistre_fichier does, but refuses a
    // symbolic link there with ELOOP, and asks `garde` before it replaces a
    // file. ENOENT only when the folder no longer exists.
    int enregistre(const QString& nom, const QByteArray& octets) const;
    // Asked before enregistre replaces what lies at `nom` (neither a link
    // nor a folder), described by `etat`: false keeps it, and the write
    // fails with EEXIST. None: every such file is replaced.
    std::function<bool(const QString& nom, const struct stat& etat)> garde;

    // Creates the new file `nom` for writing, never over anything: gives its
    // descriptor, or minus the error number. A file that will replace
    // another (`remplacera`) is readable by this user alone until it takes
    // the other's rights (reprend_attributs).
    int cree(const QString& nom, bool remplacera = false) const;
    // Gives `nom` to the file `de` of the folder, replacing what was there
    // as enregistre does (a link there is refused with ELOOP).
    int renomme(const QString& de, const QString& nom) const;
    // Gives the file `fichier` the group, the permissions and the access ACL
    // of the file `modele`, if there is one, as a replacement gets them.
    void reprend_attributs(const QString& fichier, const QString& modele) const;
    // The folder's own descriptor, for the calls relative to it; -1 when
    // closed.
    int descripteur() const { return fd_; }
    // Calls `action` with the system name of every entry of the folder;
    // nothing when the folder may not be listed.
    void parcourt(const std::function<void(const QByteArray& nom)>& action) const;
    // Removes the temporary files that killed processes left in the folder:
    // on this machine those of processes that no longer run, and, with
    // `autres_machines`, those of another machine untouched for a day. Only
    // regular files named exactly as this program names them go. Nothing
    // happens in a folder that may not be listed.
    void nettoie_temporaires(bool autres_machines = true) const;
    // Removes the file `nom`.
    void supprime(const QString& nom) const;

private:
    // Gives `destination` to the file `source` of the folder: a new name,
    // or what lies there replaced, unless it is a link (ELOOP), a folder
    // (EISDIR) or, with `avec_garde`, a file that garde keeps (EEXIST).
    int nomme(const QByteArray& source, const QByteArray& destination, const QString& nom,
              bool avec_garde) const;
    // ENOENT from a call that made or named a file of the folder, while the
    // folder is still in place, is a name refused: erreur_nom_refuse.
    int explique(int erreur) const;

    // How the folder's file system compares names.
    struct comparaison_noms {
        bool casse = false; // "a" and "A" are one name
        bool forme = false; // "\u00E9" and "e\u0301" are one name
    };
    comparaison_noms comparaison() const;

    int fd_ = -1;
    QString chemin_;
    QByteArray chemin_systeme_;
    // What a name of the folder follows to make the path that the calls
    // without a folder descriptor (extended attributes) take.
    QByteArray prefixe_;
    identite_fichier identite_;
    // Learnt by comparaison() at its first call after ouvre().
    mutable std::optional<comparaison_noms> comparaison_;
};

// A file that a run must never replace: what it is and where it lies, its
// identity and its name in its folder. Some drivers (exfat-fuse, fusefat)
// give each spelling of a name its own inode number, so a file under
// another name of the same folder is also this one where the folder takes
// both names for one.
struct fichier_protege {
    std::optional<identite_fichier> identite;
    std::optional<identite_fichier> dossier;
    QString nom;

    // The file `chemin` names, links followed: nothing when it names none.
    static fichier_protege de(const QString& chemin);
    // Whether the file `etat` describes at `nom` of `dans` is this one.
    bool est(const dossier_ouvert& dans, const QString& nom, const struct stat& etat) const;
};

// A new temporary file, open for reading and writing, removed when the
// object goes. Unlike QTemporaryFile it tells why it could not be made.
class fichier_temporaire : public QFile {
public:
    // Creates "<dossier>/<debut>XXXXXX<fin>", the X made unique, readable
    // and writable by this user only.
    fichier_temporaire(const QString& dossier, const QString& debut, const QString& fin);
    ~fichier_temporaire() override;
    // 0, or the error number of the creation that failed.
    int erreur() const { return erreur_; }

private:
    int erreur_ = 0;
};

// Writes every byte of `octets` to the descriptor `fd`, however many calls it
// takes. Gives 0 or the error number.
int ecrit_tout(int fd, const QByteArray& octets);

// Called, when set, once a temporary file is written and closed, before it
// takes its name: a test stops the process there.
extern void (*essai_avant_renommage)(const QByteArray& temporaire);

// The French reason for a system error number, as it ends a message
// ("le disque est plein.").
QString raison_systeme(int erreur);

// A process that writes more than its file-size limit allows is killed by
// the signal SIGXFSZ; ignored, the write fails with EFBIG instead, which the
// writes above report. Called once at start-up by every program.
void ignore_depassement_taille_fichier();

} // namespace bibliotheque_v1
