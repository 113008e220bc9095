#pragma once

// Test programs run as other users, as colleagues sharing a folder would:
// the test, as root, lays out files with their owners, groups and modes,
// then a program acts on them with a user's rights only.

#include "environnement.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace test_support {

// Numeric users and groups that need not exist on the machine.
inline constexpr uid_t moi = 4244, collegue = 4243;
inline constexpr gid_t equipe = 4242;

struct utilisateur {
    uid_t uid = moi;
    gid_t gid = moi;
    std::vector<gid_t> groupes; // supplementary groups
};

// Gives `nom` to `uid` and `gid`; a test whose files do not get their
// owners tests nothing, so it fails.
inline void donne_a(const QByteArray& nom, uid_t uid, gid_t gid) {
    if (::chown(nom.constData(), uid, gid) != 0)
        ADD_FAILURE() << "chown " << nom.constData() << ": " << std::strerror(errno);
}

// Creates `chemin` as a folder (or a file holding `contenu`) owned by `uid`
// and `gid` with `mode`.
inline void dossier_de(const QString& chemin, uid_t uid, gid_t gid, mode_t mode) {
    const QByteArray nom = QFile::encodeName(chemin);
    ::mkdir(nom.constData(), 0700);
    donne_a(nom, uid, gid);
    ::chmod(nom.constData(), mode);
}
inline void fichier_de(const QString& chemin, const QByteArray& contenu, uid_t uid, gid_t gid,
                       mode_t mode) {
    QFile f(chemin);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(contenu);
    f.close();
    const QByteArray nom = QFile::encodeName(chemin);
    donne_a(nom, uid, gid);
    ::chmod(nom.constData(), mode);
}

// The owner, group and permission bits of what lies at `chemin`.
struct proprietes {
    uid_t uid = 0;
    gid_t gid = 0;
    mode_t mode = 0;
    friend bool operator==(const proprietes&, const proprietes&) = default;
};
inline proprietes proprietes_de(const QString& chemin) {
    struct stat etat = {};
    ::lstat(QFile::encodeName(chemin).constData(), &etat);
    return {etat.st_uid, etat.st_gid, etat.st_mode & 07777};
}

// The copy of the test program `programme` that other users run: the build
// tree may lie where only its owner goes (a clone under /root), so the
// program is copied, once per test, into a folder of the test's own that
// every user may go through.
inline QString programme_pour_tous(const QString& programme) {
    const QString dossier = dossier_test() + "/programmes";
    const QString copie = dossier + u'/' + QFileInfo(programme).fileName();
    if (!QFileInfo::exists(copie)) {
        ::chmod(QFile::encodeName(dossier_test()).constData(), 0755);
        dossier_de(dossier, 0, 0, 0755);
        QFile::copy(programme, copie);
        ::chmod(QFile::encodeName(copie).constData(), 0755);
    }
    return copie;
}

// Runs `programme` as `qui` in an offscreen session and waits for it:
// its exit code (-1 when it did not end normally), and in `sortie` what it
// printed. The child gives up before the program starts when it cannot
// become that user.
inline int lance_en_tant_que(const utilisateur& qui, const QString& programme,
                             const QStringList& arguments, QString* sortie = nullptr,
                             QProcess::ProcessError* erreur = nullptr) {
    QProcess p;
    p.setChildProcessModifier([qui] {
        if (::setgroups(qui.groupes.size(), qui.groupes.data()) != 0 ||
            ::setresgid(qui.gid, qui.gid, qui.gid) != 0 ||
            ::setresuid(qui.uid, qui.uid, qui.uid) != 0)
            ::_exit(126);
    });
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(programme_pour_tous(programme), arguments);
    p.waitForFinished(120000);
    if (sortie)
        *sortie = QString::fromUtf8(p.readAll());
    if (erreur)
        *erreur = p.error();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// Why tests acting as other users through `programme` cannot run here;
// empty when they can. They need root, to lay out other users' files and
// act as them, and a copy of the program that another user may start: a
// temporary folder mounted without execution, say, forbids it.
inline std::string sans_autres_utilisateurs(const QString& programme) {
    if (::geteuid() != 0)
        return "only root can lay out other users' files and act as them";
    QProcess::ProcessError erreur = QProcess::UnknownError;
    QString sortie;
    const int code = lance_en_tant_que(utilisateur{}, programme, {}, &sortie, &erreur);
    if (erreur == QProcess::FailedToStart || code == 126)
        return "another user cannot start the test program copied to " +
               programme_pour_tous(programme).toStdString() + ": " + sortie.toStdString();
    return {};
}

} // namespace test_support
