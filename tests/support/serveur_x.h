#pragma once

// A display of the test's own, for what the offscreen platform does not show:
// Xvfb on a display number nobody uses, managed by openbox, both ended with
// the object. Programs run on it through the xcb platform.

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QString>

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
        gestionnaire.setProcessEnvironment(environnement_xcb(":" + numero));
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
        for (QProcess* programme : {&gestionnaire, &serveur}) {
            programme->terminate();
            programme->waitForFinished();
        }
    }

    // ":N" once the display is ready; empty otherwise, and `raison` says why.
    QString affichage;
    QString raison;

    // The environment of a program shown on `affichage` through xcb.
    static QProcessEnvironment environnement_xcb(const QString& affichage) {
        QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment();
        environnement.insert(QStringLiteral("DISPLAY"), affichage);
        environnement.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        return environnement;
    }

private:
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

    QProcess serveur;
    QProcess gestionnaire;
};

} // namespace test_support
