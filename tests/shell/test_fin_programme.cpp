#include "environnement.h"
#include "programme_valdorin.h"
#include "serveur_x.h"

#include <QStandardPaths>
#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <vector>

namespace {

using test_support::programme_valdorin;

const char aide[] = "<valdorin><globale_aide>true</globale_aide></valdorin>";

// Starts the program with the preferences file `nom` holding `preferences`,
// and when `alerte` a state file that is not one, whose alert shows over the
// window: whether its windows show.
bool demarre(programme_valdorin& programme, const QString& nom, const char* preferences,
             bool alerte) {
    const auto ecrit = [](const QString& chemin, const char* texte) {
        QFile fichier(chemin);
        return fichier.open(QIODevice::WriteOnly) && fichier.write(texte) >= 0;
    };
    const QString etat = programme.dossier() + "/etat.valdorin";
    if ((preferences && !ecrit(programme.dossier_preferences() + "/" + nom, preferences)) ||
        (alerte && !ecrit(etat, "pas un état")))
        return false;
    programme.lance(alerte ? QStringList{etat} : QStringList{});
    return programme.attend_fenetres(alerte ? 2 : 1);
}

// A quit that the system asks for (shutdown, end of the session, the terminal
// gone, Ctrl+C) quits as "&Quitter" does: the preferences read from a file of
// an earlier version are written under the current name, and the program ends
// with status 0; so too under an alert and with a second signal while the
// quit runs.
TEST(FinDemandee, LesPreferencesSontEcritesEtLeProgrammeFinitBien) {
    const std::pair<std::vector<int>, bool> cas[] = {{{SIGTERM}, false},
                                                     {{SIGHUP}, false},
                                                     {{SIGINT}, false},
                                                     {{SIGTERM, SIGTERM}, false},
                                                     {{SIGTERM}, true}};
    test_support::serveur_x serveur;
    if (serveur.affichage.isEmpty() || QStandardPaths::findExecutable("xdotool").isEmpty())
        GTEST_SKIP() << "Xvfb, openbox and xdotool needed: " << serveur.raison.toStdString();
    int n = 0;
    for (const auto& [signaux, alerte] : cas) {
        programme_valdorin programme(VALDORIN, serveur.environnement(),
                                     test_support::dossier_test() + "/" + QString::number(++n));
        ASSERT_TRUE(demarre(programme, "Valdorin_2_11.prefs", aide, alerte)) << n;
        for (const int numero : signaux)
            programme.signale(numero);
        const auto fin = programme.attend_fin();
        EXPECT_EQ(fin.comment, "exited with code 0") << n << fin.erreurs;
        EXPECT_TRUE(programme.preferences().contains("<globale_aide>true</globale_aide>")) << n;
    }
}

// When the display goes away (the X session ends), the program ends as a Qt
// program does, with status 1 and Qt's message, not a crash: just shown, in
// expert mode (the start-up box ticked), on the welcome page with the
// training window open, under an alert.
TEST(FinAffichage, LeProgrammeFinitCommeUnProgrammeQt) {
    const std::tuple<const char*, bool, bool> cas[] = {
        {aide, false, false},
        {"<valdorin><accueil_bt_lancement>true</accueil_bt_lancement></valdorin>", false, false},
        {nullptr, false, true},
        {aide, true, false}};
    int n = 0;
    for (const auto& [preferences, alerte, formation] : cas) {
        std::optional<test_support::serveur_x> serveur(std::in_place);
        if (serveur->affichage.isEmpty() || QStandardPaths::findExecutable("xdotool").isEmpty())
            GTEST_SKIP() << "Xvfb, openbox and xdotool needed: " << serveur->raison.toStdString();
        // Qt ends the program with exit(1), which skips every destructor by
        // design: what it then holds is no leak of the program's.
        QProcessEnvironment environnement = serveur->environnement();
        environnement.insert("ASAN_OPTIONS",
                             environnement.value("ASAN_OPTIONS") + ":detect_leaks=0");
        programme_valdorin programme(VALDORIN, environnement,
                                     test_support::dossier_test() + "/" + QString::number(++n));
        ASSERT_TRUE(demarre(programme, "Valdorin_2_2.prefs", preferences, alerte)) << n;
        // Clicks where the welcome page has "Mode d'autoformation" until the
        // training window shows; the first click ends the splash.
        const QByteArray fenetre = programme.fenetres().value(0);
        const QByteArray geometrie =
            serveur->lance("xdotool", {"getwindowgeometry", "--shell", fenetre}).sortie;
        const QString y = geometrie.mid(geometrie.indexOf("HEIGHT=") + 7).split('\n')[0];
        const auto montree = [&] { return programme.attend_fenetres(1, "^Autoformation", 1000); };
        for (int i = 0; formation && i < 30 && !montree(); ++i)
            serveur->lance("xdotool", {"mousemove", "--window", fenetre, "420",
                                       QString::number(y.toInt() - 30), "click", "1"});
        ASSERT_TRUE(!formation || montree()) << n;
        serveur.reset();
        const auto fin = programme.attend_fin();
        EXPECT_EQ(fin.comment, "exited with code 1") << n << fin.erreurs;
        EXPECT_NE(fin.erreurs.find("The X11 connection broke"), std::string::npos) << n;
    }
}

} // namespace
