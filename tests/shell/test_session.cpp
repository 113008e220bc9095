#include "environnement.h"
#include "serveur_x.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QUrl>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace {

// The windows titled as the program's that show on the display.
QStringList fenetres(const test_support::serveur_x& serveur) {
    QProcess xdotool;
    xdotool.setProcessEnvironment(serveur.environnement());
    xdotool.start("xdotool", {"search", "--onlyvisible", "--name", "^Valdorin$"});
    xdotool.waitForFinished();
    return QString::fromLatin1(xdotool.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

// Waits until `condition` holds, 60 s at most.
template <typename Condition> bool attend(Condition condition) {
    for (int i = 0; i < 600 && !condition(); ++i)
        QTest::qWait(100);
    return condition();
}

// The program started again, with documents or none, on the session bus or
// without one, hands them to the program that runs and ends: the documents
// reach its window in order (a state restored, a refusal for each file that
// cannot be read), one window remains, and only that program writes the
// preferences, at its quit.
TEST(Session, LesDemarragesSuivantsDonnentLeursDocumentsALaFenetreOuverte) {
    test_support::serveur_x serveur;
    if (serveur.affichage.isEmpty())
        GTEST_SKIP() << serveur.raison.toStdString();
    const QString dossier = test_support::dossier_test();
    QDir(dossier).mkdir("run");
    QFile::setPermissions(dossier + "/run", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment environnement = serveur.environnement();
    environnement.insert("XDG_RUNTIME_DIR", dossier + "/run");
    QProcessEnvironment sans_bus = environnement;
    sans_bus.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + dossier + "/aucun-bus");
    const QString etat = dossier + "/état n°2.valdorin";
    QFile fichier(etat);
    ASSERT_TRUE(fichier.open(QIODevice::WriteOnly));
    fichier.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<valdorin><unique_ch_prix>7,77</unique_ch_prix></valdorin>\n");
    fichier.close();
    const auto lance = [&](const QProcessEnvironment& env, const QStringList& arguments) {
        auto programme = std::make_unique<QProcess>();
        programme->setProcessEnvironment(env);
        programme->setWorkingDirectory(dossier);
        programme->start(VALDORIN, arguments);
        return programme;
    };
    const auto fin = [](QProcess& programme) {
        const bool fini =
            programme.state() == QProcess::NotRunning || programme.waitForFinished(60000);
        return test_support::fin_processus(programme, fini, programme.readAllStandardError());
    };

    // Two starts at the same moment make one program.
    auto premier = lance(environnement, {});
    auto jumeau = lance(environnement, {});
    ASSERT_TRUE(attend([&] {
        return premier->state() == QProcess::NotRunning || jumeau->state() == QProcess::NotRunning;
    }));
    QProcess& second = premier->state() == QProcess::NotRunning ? *premier : *jumeau;
    QProcess& programme = &second == premier.get() ? *jumeau : *premier;
    EXPECT_EQ(fin(second), "exited with code 0");
    ASSERT_TRUE(attend([&] { return fenetres(serveur).size() == 1; }));
    const QString principale = fenetres(serveur).constFirst();

    const QString uri = QString::fromLatin1(QUrl::fromLocalFile(etat).toEncoded());
    for (const auto& [env, arguments] : {
             std::pair{environnement, QStringList{uri, "absent.valdorin"}},
             std::pair{sans_bus, QStringList{"http://www.valdorin.invalid/a.valdorin"}},
             std::pair{environnement, QStringList{}},
             std::pair{sans_bus, QStringList{}},
         }) {
        auto suivant = lance(env, arguments);
        EXPECT_EQ(fin(*suivant), "exited with code 0") << arguments.join(' ').toStdString();
    }
    // The restored state's message, then the two refusals: the alert shows
    // again at once for each, so its hiding is told by the display itself.
    ASSERT_TRUE(attend([&] { return fenetres(serveur).size() == 2; }));
    const QStringList ouvertes = fenetres(serveur);
    const QString alerte = ouvertes[ouvertes[0] == principale];
    QProcess evenements;
    evenements.setProcessEnvironment(serveur.environnement());
    evenements.start("stdbuf", {"-oL", "xev", "-id", alerte, "-event", "structure"});
    QByteArray vus;
    for (int n = 1; n <= 3; ++n) {
        ASSERT_TRUE(attend([&] { return fenetres(serveur).contains(alerte); })) << n;
        serveur.lance("xdotool", {"windowactivate", "--sync", alerte, "key", "Return"});
        ASSERT_TRUE(attend([&] {
            vus += evenements.readAllStandardOutput();
            return vus.count("UnmapNotify") == n;
        })) << n;
    }
    ASSERT_TRUE(attend([&] { return fenetres(serveur).size() == 1; }));
    evenements.kill();
    evenements.waitForFinished();
    EXPECT_EQ(fenetres(serveur), QStringList{principale});
    EXPECT_TRUE(QDir(dossier + "/config").entryList({"*.prefs"}, QDir::Files, QDir::Name).isEmpty())
        << "a later start wrote the preferences";

    serveur.lance("xdotool", {"windowactivate", "--sync", principale, "key", "ctrl+q"});
    EXPECT_EQ(fin(programme), "exited with code 0");
    QFile preferences(dossier + "/config/Valdorin/" +
                      QDir(dossier + "/config/Valdorin").entryList({"*.prefs"}).value(0));
    ASSERT_TRUE(preferences.open(QIODevice::ReadOnly)) << preferences.fileName().toStdString();
    EXPECT_TRUE(preferences.readAll().contains("<unique_ch_prix>7,77</unique_ch_prix>"));

    // The socket of a killed program keeps no later start from being the
    // session's program.
    for (int depart = 0; depart < 2; ++depart) {
        auto relance = lance(sans_bus, {});
        ASSERT_TRUE(attend([&] { return fenetres(serveur).size() == 1; })) << depart;
        EXPECT_EQ(fin(*lance(sans_bus, {})), "exited with code 0") << depart;
        EXPECT_EQ(relance->state(), QProcess::Running) << depart;
        relance->kill();
        relance->waitForFinished();
        ASSERT_TRUE(attend([&] { return fenetres(serveur).isEmpty(); })) << depart;
    }
}

} // namespace
