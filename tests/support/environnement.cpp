#include "environnement.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace test_support {

namespace {

std::unique_ptr<QTemporaryDir> dossier_courant;

// Gives each test its own home, configuration and temporary folders.
class IsolationFichiers : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override {
        dossier_courant =
            std::make_unique<QTemporaryDir>(QDir::tempPath() + "/valdorin-test-XXXXXX");
        const QString racine = dossier_courant->path();
        // The home has its Documents folder, as a desktop session makes it.
        for (const char* sous : {"home", "home/Documents", "config", "tmp", "data", "cache"})
            QDir(racine).mkpath(sous);
        qputenv("HOME", (racine + "/home").toUtf8());
        qputenv("XDG_CONFIG_HOME", (racine + "/config").toUtf8());
        qputenv("XDG_DATA_HOME", (racine + "/data").toUtf8());
        qputenv("XDG_CACHE_HOME", (racine + "/cache").toUtf8());
        qputenv("TMPDIR", (racine + "/tmp").toUtf8());
    }
    void OnTestEnd(const testing::TestInfo&) override {
        // Restore the base temporary folder before the test's own one goes.
        qputenv("TMPDIR", base_temporaire.toUtf8());
        dossier_courant.reset();
    }

public:
    QString base_temporaire = QDir::tempPath();
};

} // namespace

QString dossier_test() {
    return dossier_courant ? dossier_courant->path() : QString();
}

void installe_isolation() {
    testing::UnitTest::GetInstance()->listeners().Append(new IsolationFichiers);
}

} // namespace test_support
