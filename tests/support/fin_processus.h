#pragma once

#include <QByteArray>
#include <QProcess>

#include <string>

namespace test_support {

// How a watched program ended, a sanitizer's report (every one ends with a
// SUMMARY line, and then the program with abort, as on a crash) told from a
// crash of its own. `erreurs`: its error output; `fini`: it ended in time.
inline std::string fin_processus(const QProcess& programme, bool fini, const QByteArray& erreurs) {
    const qsizetype resume = erreurs.indexOf("SUMMARY: ");
    if (!fini)
        return "did not end in time";
    if (resume >= 0)
        return "a sanitizer's report, not a crash: " +
               erreurs.mid(resume).split('\n')[0].toStdString();
    if (programme.exitStatus() == QProcess::CrashExit)
        return "crashed (signal " + std::to_string(programme.exitCode()) + ")";
    return "exited with code " + std::to_string(programme.exitCode());
}

} // namespace test_support
