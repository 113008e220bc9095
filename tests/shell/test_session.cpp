#include "environnement.h"
#include "programme_valdorin.h"
#include "serveur_x.h"

#include <QElapsedTimer>
#include <QFile>
#include <QUrl>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <memory>

namespace {

// Waits until `condition` holds, 60 s at most.
template <typename Condition> bool attend(Condition condition) {
    for (int i = 0; i < 600 && !condition(); ++i)
        QTest::qWait(100);
    return condition();
}

// The environment of `serveur` with no session bus to reach.
QProcessEnvironment sans_bus(const test_support::serveur_x& serveur, const QString& dossier) {
    QProcessEnvironment environnement = serveur.environnement();
    environnement.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + dossier + "/aucun-bus");
    return environnement;
}

// Starts the program in `dossier`, as every start of one user's session.
std::unique_ptr<test_support::programme_valdorin>
lance(const QProcessEnvironment& env, const QString& dossier, const QStringList& arguments) {
    auto programme = std::make_unique<test_support::programme_valdorin>(VALDORIN, env, dossier);
    programme->processus.setWorkingDirectory(dossier);
    programme->lance(arguments);
    return programme;
}

// A later start, on the bus or without one, hands its documents to the program
// that runs and ends: they reach its window in order (a state restored, a
// refusal for each unreadable file), and that program alone writes preferences.
TEST(Session, LesDemarragesSuivantsDonnentLeursDocumentsALaFenetreOuverte) {
    test_support::serveur_x serveur;
    if (serveur.affichage.isEmpty())
        GTEST_SKIP() << serveur.raison.toStdString();
    const QString dossier = test_support::dossier_test();
    const QProcessEnvironment sans_bus = ::sans_bus(serveur, dossier);
    const QString etat = dossier + "/état n°2.valdorin";
    QFile fichier(etat);
    ASSERT_TRUE(fichier.open(QIODevice::WriteOnly));
    fichier.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<valdorin><unique_ch_prix>7,77</unique_ch_prix></valdorin>\n");
    fichier.close();
    const auto lance = [&](const QProcessEnvironment& env, const QStringList& arguments) {
        return ::lance(env, dossier, arguments);
    };

    // Two starts at the same moment make one program.
    auto premier = lance(serveur.environnement(), {});
    auto jumeau = lance(serveur.environnement(), {});
    const auto fini = [](const auto& p) { return p->processus.state() == QProcess::NotRunning; };
    ASSERT_TRUE(attend([&] { return fini(premier) || fini(jumeau); }));
    if (fini(premier))
        std::swap(premier, jumeau);
    test_support::programme_valdorin& programme = *premier;
    EXPECT_EQ(jumeau->attend_fin().comment, "exited with code 0");
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
        EXPECT_EQ(suivant->attend_fin().comment, "exited with code 0")
            << arguments.join(' ').toStdString();
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
    ASSERT_TRUE(attend([&] { return fenetres() == QByteArrayList{principale}; }));
    evenements.kill();
    evenements.waitForFinished();
    EXPECT_EQ(programme.preferences(), "") << "a later start wrote the preferences";

    serveur.lance("xdotool", {"windowactivate", "--sync", QString(principale), "key", "ctrl+q"});
    EXPECT_EQ(programme.attend_fin().comment, "exited with code 0");
    EXPECT_TRUE(programme.preferences().contains("<unique_ch_prix>7,77</unique_ch_prix>"));

    // A killed program's socket keeps no later start from being the session's
    // program, to which the next start hands over.
    auto tue = lance(sans_bus, {});
    ASSERT_TRUE(tue->attend_fenetres(1));
    tue->processus.kill();
    ASSERT_TRUE(attend([&] { return fenetres().isEmpty(); }));
    auto relance = lance(sans_bus, {});
    ASSERT_TRUE(relance->attend_fenetres(1));
    EXPECT_EQ(lance(sans_bus, {})->attend_fin().comment, "exited with code 0");
    EXPECT_EQ(relance->processus.state(), QProcess::Running);
}

// A later start facing a program that does not answer (stopped, as a frozen
// one is) waits for it once, 25 s, on the bus or on the socket, and then runs
// on its own: its window shows within twice that wait, where three calls on
// the bus and a wait on the socket took four times it.
TEST(Session, UnDemarrageSuivantAttendUneFoisUnProgrammeQuiNeRepondPas) {
    test_support::serveur_x serveur;
    if (serveur.affichage.isEmpty())
        GTEST_SKIP() << serveur.raison.toStdString();
    const QString dossier = test_support::dossier_test();
    auto fige = lance(serveur.environnement(), dossier, {});
    ASSERT_TRUE(fige->attend_fenetres(1));
    fige->signale(SIGSTOP);
    QElapsedTimer chrono;
    chrono.start();
    const std::array suivants{lance(serveur.environnement(), dossier, {}),
                              lance(sans_bus(serveur, dossier), dossier, {})};
    ASSERT_TRUE(attend([&] { return fige->fenetres().size() == 3; }));
    EXPECT_GE(chrono.elapsed(), 25000);
    EXPECT_LT(chrono.elapsed(), 50000);
    for (const auto& suivant : suivants)
        EXPECT_EQ(suivant->processus.state(), QProcess::Running);
}

} // namespace
