#pragma once

// A real exFAT disk for the tests: an image file formatted by mkfs.exfat,
// put on a loop device and mounted through FUSE by exfat-fuse, as a USB
// stick is. Its driver takes names that differ only in case for one, gives
// each spelling of a name its own inode number, and answers "no such file"
// for a name holding a character that exFAT forbids.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <unistd.h>

namespace test_support {

class disque_exfat {
public:
    // Mounts a new disk on the folder `point`, created, with its image
    // beside it. absent() tells why it could not be done.
    explicit disque_exfat(const QString& point) : point_(point) {
        if (::geteuid() != 0)
            raison_ = "mounting a loop device needs root";
        else if (::access("/dev/fuse", R_OK | W_OK) != 0)
            raison_ = "no /dev/fuse on this machine";
        else if (::access("/dev/loop-control", R_OK | W_OK) != 0)
            raison_ = "no loop device on this machine";
        if (!raison_.isEmpty())
            return;
        QFile fichier(point + ".img");
        if (!fichier.open(QIODevice::WriteOnly) || !fichier.resize(8 * 1024 * 1024) ||
            !QDir().mkpath(point)) {
            raison_ = "no room for the disk image";
            return;
        }
        fichier.close();
        QString sortie;
        if (!lance("mkfs.exfat", {fichier.fileName()}, sortie)) {
            raison_ = "mkfs.exfat failed: " + sortie;
            return;
        }
        monte();
    }
    ~disque_exfat() { demonte(); }
    disque_exfat(const disque_exfat&) = delete;
    disque_exfat& operator=(const disque_exfat&) = delete;

    // Why no disk is mounted; empty when one is.
    const QString& absent() const { return raison_; }

    // Unmounts the disk and mounts it again, so that what is read next
    // comes from the disk and not from what the system and the driver kept
    // of files read under another spelling of their names.
    bool remonte() {
        demonte();
        monte();
        return monte_;
    }

private:
    void monte() {
        QString sortie;
        if (!lance("losetup", {"--find", "--show", point_ + ".img"}, sortie)) {
            raison_ = "losetup failed: " + sortie;
            return;
        }
        const QString peripherique = sortie.trimmed();
        const bool fait = lance("mount.exfat-fuse", {peripherique, point_}, sortie);
        // Detached now: the system frees the device once the driver lets it
        // go, at the unmount, even if this process dies first.
        QString ignore;
        lance("losetup", {"--detach", peripherique}, ignore);
        if (!fait)
            raison_ = "mount.exfat-fuse failed: " + sortie;
        monte_ = fait;
    }
    void demonte() {
        if (!monte_)
            return;
        QString sortie;
        if (!lance("umount", {point_}, sortie))
            lance("umount", {"--lazy", point_}, sortie);
        monte_ = false;
    }

    // Runs a system program, found in the administrator's folders too:
    // whether it ended with 0, and in `sortie` what it printed.
    static bool lance(const QString& programme, const QStringList& arguments, QString& sortie) {
        QString chemin = QStandardPaths::findExecutable(programme);
        if (chemin.isEmpty())
            chemin = QStandardPaths::findExecutable(programme, {"/usr/sbin", "/sbin"});
        if (chemin.isEmpty()) {
            sortie = programme + " is not installed";
            return false;
        }
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(chemin, arguments);
        const bool fini = p.waitForFinished(30000);
        sortie = QString::fromLocal8Bit(p.readAll());
        return fini && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }

    QString point_;
    QString raison_;
    bool monte_ = false;
};

} // namespace test_support
