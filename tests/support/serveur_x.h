#pragma once

// A display of the test's own, for what the offscreen platform does not show:
// Xvfb on a display number nobody uses, managed by openbox, and a session bus
// of its own, as a desktop has, all ended with the object. Programs run on it
// through the xcb platform.

#include "fin_processus.h"

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <string>

namespace test_support {

class serveur_x {
public:
    serveur_x() {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
        if (xvfb.isEmpty() || openbox.isEmpty()) {
            raison = QStringLiteral("Xvfb or openbox missing (Debian packages xvfb, openbox)");
            return;
        }
        // Xvfb takes the first free display and writes its number on the
        // descriptor given, here its output.
        serveur.start(xvfb,
                      {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
        const QByteArray numero = ligne(serveur, nullptr).trimmed();
        if (numero.isEmpty()) {
            raison =
                "Xvfb did not start: " + QString::fromLocal8Bit(serveur.readAllStandardError());
            return;
        }
        environnement_ = environnement_xcb(":" + numero);
        // Without a session bus Qt 6.8 leaves its question to the desktop
        // portal pending, a leak that LeakSanitizer reports at the end.
        bus.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
        if (const QByteArray adresse = ligne(bus, nullptr).trimmed(); !adresse.isEmpty())
            environnement_.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), adresse);
        gestionnaire.setProcessEnvironment(environnement_);
        // openbox runs its startup command once it manages the screen.
        gestionnaire.start(openbox, {"--sm-disable", "--startup", "echo pret"});
        if (ligne(gestionnaire, "pret").isEmpty()) {
            raison = "openbox did not start: " +
                     QString::fromLocal8Bit(gestionnaire.readAllStandardError());
            return;
        }
        affichage = ":" + numero;
    }

    ~serveur_x() {
        for (QProcess* programme : {&gestionnaire, &bus, &serveur}) {
            programme->terminate();
            programme->waitForFinished();
        }
    }

    // ":N" once the display is ready; empty otherwise, and `raison` says why.
    QString affichage;
    QString raison;

    // The environment of a program shown on the display through xcb.
    QProcessEnvironment environnement() const { return environnement_; }

    // Runs `programme` on the display, `delai` ms at most: whether it ended
    // with code 0, its output, and how it ended with its error output.
    struct issue {
        bool reussi;
        QByteArray sortie;
        std::string rapport;
    };
    issue lance(const QString& programme, const QStringList& arguments, int delai = 60000) const {
        QProcess p;
        p.setProcessEnvironment(environnement_);
        p.start(programme, arguments);
        const bool fini = p.waitForFinished(delai);
        if (!fini) {
            p.kill();
            p.waitForFinished();
        }
        const QByteArray erreurs = p.readAllStandardError();
        return {fini && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0,
                p.readAllStandardOutput(),
                fin_processus(p, fini, erreurs) + "\n" + erreurs.toStdString()};
    }

private:
    // The environment of a program shown on `affichage` through xcb.
    static QProcessEnvironment environnement_xcb(const QString& affichage) {
        QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment();
        environnement.insert(QStringLiteral("DISPLAY"), affichage);
        environnement.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        return environnement;
    }

    // The first line `programme` writes (that starts with `debut`), or ""
    // when it ends or stays silent first.
    static QByteArray ligne(QProcess& programme, const char* debut) {
        while (programme.canReadLine() || programme.waitForReadyRead(30000)) {
            if (!programme.canReadLine())
                continue;
            const QByteArray lue = programme.readLine();
            if (!debut || lue.startsWith(debut))
                return lue;
        }
        return {};
    }

    QProcessEnvironment environnement_;
    QProcess serveur;
    QProcess bus;
    QProcess gestionnaire;
};

} // namespace test_support
