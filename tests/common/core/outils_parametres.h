#pragma once

// What the tests of the settings files share: whole-file reads and writes,
// the preferences folder of the test's home, and a fixture that gives every
// test a fresh dictionary at the start-up level.

#include "dictionnaire_parametres.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>

namespace outils_parametres {

inline QByteArray lit(const QString& chemin) {
    QFile fichier(chemin);
    return fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
}

inline void ecrit(const QString& chemin, const QByteArray& contenu) {
    QFile fichier(chemin);
    ASSERT_TRUE(fichier.open(QIODevice::WriteOnly));
    fichier.write(contenu);
}

inline QString dossier_preferences() {
    return qEnvironmentVariable("XDG_CONFIG_HOME") + "/Valdorin";
}

inline const char* const entete = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

class FichiersParametres : public testing::Test {
protected:
    void SetUp() override {
        parametres_v1::dictionnaire_parametres = parametres_v1::dictionnaire();
        parametres_v1::niveau_version_preferences = 0;
    }
    void TearDown() override { parametres_v1::dictionnaire_parametres.reset(); }
};

} // namespace outils_parametres
