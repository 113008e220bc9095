#pragma once

// A display of the test's own, for what the offscreen platform does not show:
// Xvfb on a display number nobody uses, managed by openbox, and a session bus
// of its own, as a desktop has, all ended with the object. Programs run on it
// through the xcb platform.

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <string>

namespace test_support {

// How a program that a test watched ended, in words that tell a sanitizer's
// report (a leak, a bad access, undefined behaviour: the process then ends
// through abort or with the sanitizer's exit code) from a crash of its own.
// `erreurs`: what it wrote on its error output; `fini`: it ended in time.
inline std::string fin_processus(const QProcess& programme, bool fini, const QByteArray& erreurs) {
    if (!fini)
        return "did not end in time";
    for (const char* rapport :
         {"ERROR: LeakSanitizer", "ERROR: AddressSanitizer", "runtime error:"}) {
        const qsizetype place = erreurs.indexOf(rapport);
        if (place < 0)
            continue;
        const qsizetype resume = erreurs.indexOf("SUMMARY:", place);
        const QByteArray ligne = erreurs.mid(resume >= 0 ? resume : place).split('\n').constFirst();
        return "a sanitizer's report, not a crash of its own: " + ligne.toStdString();
    }
    if (programme.exitStatus() == QProcess::CrashExit)
        return "crashed (signal " + std::to_string(programme.exitCode()) + ")";
    return "exited with code " + std::to_string(programme.exitCode());
}

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
        // Without a session bus, Qt 6.8 leaves the watcher of its question
        // to the desktop portal pending for ever, which LeakSanitizer reports
        // when the program ends. Without dbus-daemon, programs run without one.
        const QString dbus = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (!dbus.isEmpty()) {
            bus.start(dbus, {"--session", "--nofork", "--print-address=1"});
            const QByteArray adresse = ligne(bus, nullptr).trimmed();
            if (adresse.isEmpty()) {
                raison = "dbus-daemon did not start: " +
                         QString::fromLocal8Bit(bus.readAllStandardError());
                return;
            }
            environnement_.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                                  QString::fromLocal8Bit(adresse));
        }
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

    // What a program run on the display did.
    struct issue {
        bool reussi = false; // ended in time with code 0
        QByteArray sortie;   // its standard output
        std::string rapport; // how it ended and what it wrote on its error output
    };

    // Runs `programme` on the display and waits for it, `delai` milliseconds at most.
    issue lance(const QString& programme, const QStringList& arguments, int delai = 60000) const {
        QProcess p;
        p.setProcessEnvironment(environnement_);
        p.start(programme, arguments);
        const bool fini = p.waitForFinished(delai);
        if (!fini)
            p.kill();
        p.waitForFinished();
        issue resultat;
        resultat.sortie = p.readAllStandardOutput();
        const QByteArray erreurs = p.readAllStandardError();
        resultat.reussi = fini && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        resultat.rapport = fin_processus(p, fini, erreurs) + "\n" + erreurs.toStdString();
        return resultat;
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
