#include "environnement.h"
#include "programme_valdorin.h"
#include "serveur_x.h"

#include <QFile>
#include <QUrl>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace {

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
    QProcessEnvironment sans_bus = serveur.environnement();
    sans_bus.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + dossier + "/aucun-bus");
    const QString etat = dossier + "/état n°2.valdorin";
    QFile fichier(etat);
    ASSERT_TRUE(fichier.open(QIODevice::WriteOnly));
    fichier.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<valdorin><unique_ch_prix>7,77</unique_ch_prix></valdorin>\n");
    fichier.close();
    // Every start in the same folders, as one user's.
    const auto lance = [&](const QProcessEnvironment& env, const QStringList& arguments) {
        auto programme = std::make_unique<test_support::programme_valdorin>(VALDORIN, env, dossier);
        programme->processus.setWorkingDirectory(dossier);
        programme->lance(arguments);
        return programme;
    };
    const auto fin = [](test_support::programme_valdorin& programme) {
        return programme.attend_fin().comment;
    };

    // Two starts at the same moment make one program.
    auto premier = lance(serveur.environnement(), {});
    auto jumeau = lance(serveur.environnement(), {});
    const auto fini = [](const auto& p) { return p->processus.state() == QProcess::NotRunning; };
    ASSERT_TRUE(attend([&] { return fini(premier) || fini(jumeau); }));
    if (fini(premier))
        std::swap(premier, jumeau);
    test_support::programme_valdorin& programme = *premier;
    EXPECT_EQ(fin(*jumeau), "exited with code 0");
    const auto fenetres = [&] { return programme.fenetres(); };
    ASSERT_TRUE(attend([&] { return fenetres().size() == 1; }));
    const QByteArray principale = fenetres().constFirst();

    const QString uri = QString::fromLatin1(QUrl::fromLocalFile(etat).toEncoded());
    for (const auto& [env, arguments] : {
             std::pair{serveur.environnement(), QStringList{uri, "absent.valdorin"}},
             std::pair{sans_bus, QStringList{"http://www.valdorin.invalid/a.valdorin"}},
             std::pair{serveur.environnement(), QStringList{}},
             std::pair{sans_bus, QStringList{}},
         }) {
        auto suivant = lance(env, arguments);
        EXPECT_EQ(fin(*suivant), "exited with code 0") << arguments.join(' ').toStdString();
    }
    // The restored state's message, then the two refusals: the alert shows
    // again at once for each, so its hiding is told by the display itself.
    ASSERT_TRUE(attend([&] { return fenetres().size() == 2; }));
    const QByteArrayList ouvertes = fenetres();
    const QByteArray alerte = ouvertes[ouvertes[0] == principale];
    QProcess evenements;
    evenements.setProcessEnvironment(serveur.environnement());
    evenements.start("stdbuf", {"-oL", "xev", "-id", QString(alerte), "-event", "structure"});
    QByteArray vus;
    for (int n = 1; n <= 3; ++n) {
        ASSERT_TRUE(attend([&] { return fenetres().contains(alerte); })) << n;
        serveur.lance("xdotool", {"windowactivate", "--sync", QString(alerte), "key", "Return"});
        ASSERT_TRUE(attend([&] {
            vus += evenements.readAllStandardOutput();
            return vus.count("UnmapNotify") == n;
        })) << n;
    }
    ASSERT_TRUE(attend([&] { return fenetres().size() == 1; }));
    evenements.kill();
    evenements.waitForFinished();
    EXPECT_EQ(fenetres(), QByteArrayList{principale});
    EXPECT_EQ(programme.preferences(), "") << "a later start wrote the preferences";

    serveur.lance("xdotool", {"windowactivate", "--sync", QString(principale), "key", "ctrl+q"});
    EXPECT_EQ(fin(programme), "exited with code 0");
    EXPECT_TRUE(programme.preferences().contains("<unique_ch_prix>7,77</unique_ch_prix>"));

    // The socket of a killed program keeps no later start from being the
    // session's program.
    for (int depart = 0; depart < 2; ++depart) {
        auto relance = lance(sans_bus, {});
        ASSERT_TRUE(attend([&] { return fenetres().size() == 1; })) << depart;
        EXPECT_EQ(fin(*lance(sans_bus, {})), "exited with code 0") << depart;
        EXPECT_FALSE(fini(relance)) << depart;
        relance->processus.kill();
        relance->processus.waitForFinished();
        ASSERT_TRUE(attend([&] { return fenetres().isEmpty(); })) << depart;
    }
}

} // namespace
