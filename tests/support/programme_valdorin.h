#pragma once

// The real program on a display of the test's own (`serveur_x`), with its
// home, configuration, data, cache, temporary and runtime folders under
// `dossier`: programs started on one folder share them, as one user's do.

#include "fin_processus.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <csignal>
#include <string>

namespace test_support {

class programme_valdorin {
public:
    programme_valdorin(const QString& programme, QProcessEnvironment environnement,
                       const QString& dossier)
        : programme_(programme), dossier_(dossier), environnement_(environnement) {
        const char* dossiers[][2] = {{"HOME", "home"},          {"XDG_CONFIG_HOME", "config"},
                                     {"XDG_DATA_HOME", "data"}, {"XDG_CACHE_HOME", "cache"},
                                     {"TMPDIR", "tmp"},         {"XDG_RUNTIME_DIR", "runtime"}};
        for (const auto& [variable, sous] : dossiers) {
            QDir(dossier).mkpath(sous);
            environnement.insert(variable, dossier + "/" + sous);
        }
        // Whole stacks in the sanitizer's leak reports: Qt's libraries keep no
        // frame pointers, and the suppressions of what Qt itself leaves
        // (.ci/lsan.supp) name Qt's own functions.
        if (environnement.contains("ASAN_OPTIONS"))
            environnement.insert("ASAN_OPTIONS",
                                 environnement.value("ASAN_OPTIONS") + ":fast_unwind_on_malloc=0");
        QDir(dossier).mkpath("config/Valdorin");
        QFile::setPermissions(dossier + "/runtime",
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        processus.setProcessEnvironment(environnement);
        // The quit signals as a desktop leaves them, whatever the test's own.
        processus.setChildProcessModifier([] {
            for (const int numero : {SIGHUP, SIGINT, SIGTERM})
                std::signal(numero, SIG_DFL);
        });
    }
    ~programme_valdorin() {
        processus.kill();
        processus.waitForFinished();
    }

    void lance(const QStringList& arguments = {}) { processus.start(programme_, arguments); }

    // The ids of the windows whose title matches `titre` shown on the display.
    QByteArrayList fenetres(const QString& titre = "^Valdorin$") const {
        QProcess recherche;
        recherche.setProcessEnvironment(environnement_);
        recherche.start("xdotool", {"search", "--onlyvisible", "--name", titre});
        recherche.waitForFinished();
        QByteArrayList ids = recherche.readAllStandardOutput().split('\n');
        ids.removeAll(QByteArray());
        return ids;
    }

    // Waits, while the program runs and `delai` ms at most, until `nombre`
    // windows whose title matches `titre` show: whether they did.
    bool attend_fenetres(int nombre, const QString& titre = "^Valdorin$", int delai = 60000) {
        for (int attente = 0; attente < delai; attente += 100) {
            if (fenetres(titre).size() >= nombre)
                return true;
            if (processus.state() == QProcess::NotRunning || processus.waitForFinished(100))
                return false;
        }
        return false;
    }

    void signale(int numero) { ::kill(static_cast<pid_t>(processus.processId()), numero); }

    // How it ended (`fin_processus`), a minute at most, and its error output.
    struct fin {
        std::string comment;
        std::string erreurs;
    };
    fin attend_fin() {
        const bool fini =
            processus.state() == QProcess::NotRunning || processus.waitForFinished(60000);
        const QByteArray erreurs = processus.readAllStandardError();
        return {fin_processus(processus, fini, erreurs), erreurs.toStdString()};
    }

    // Its folder, its preferences folder, and the preferences it writes ("").
    const QString& dossier() const { return dossier_; }
    QString dossier_preferences() const { return dossier_ + "/config/Valdorin"; }
    QByteArray preferences() const {
        QFile fichier(dossier_preferences() + "/Valdorin_2_2.prefs");
        return fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
    }

    QProcess processus;

private:
    QString programme_;
    QString dossier_;
    QProcessEnvironment environnement_;
};

} // namespace test_support
