#include "csp_creer_plusieurs.h"
#include "ksp_partagees.h"
#include "limite_fichiers.h"
#include "outils_donnees.h"
#include "participants_fichiers.h"
#include "thread_creer_ensemble.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QByteArray bon = "L\t12345\t42\t0\tPrix\t150\tCB\tE\t4\tA\t=\tcode1\r\n";
const QByteArray refuse = "L\t123456\t42\t0\tPrix\t150\tCB\tE\t4\tA\t=\tcode2\r\n";
const QByteArray pdf = "L\t12345\t43\t0\tPrix\t150\tCB\tP\t4\tA\t=\tcode3\tnote<CR>deux";

struct issue_serie {
    int code;
    QStringList alertes;
    QStringList rapport;
    QStringList resultats;
};

QByteArray lit(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs the test tool on `donnees` into the folder "sortie" of the test.
issue_serie serie(const QString& donnees, const QStringList& reglages,
                  const QString& tmpdir = QString()) {
    const QString sortie = test_support::dossier_test() + "/sortie";
    QDir().mkpath(sortie);
    QProcess outil;
    if (!tmpdir.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TMPDIR", tmpdir);
        outil.setProcessEnvironment(env);
    }
    outil.start(SERIE_DONNEES, QStringList{donnees, sortie} + reglages);
    outil.waitForFinished(60000);
    issue_serie r;
    r.code = outil.exitCode();
    r.alertes = QString::fromUtf8(outil.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    QFile rapport(QFileInfo(donnees).absolutePath() + "/" +
                  csp_creer_plusieurs::nom_rapport(donnees));
    if (rapport.open(QIODevice::ReadOnly))
        r.rapport = QString::fromUtf8(rapport.readAll()).split('\n');
    r.resultats = QDir(sortie).entryList(QDir::Files, QDir::Name);
    return r;
}

} // namespace

TEST(serie, fichiers_rapport_et_bilan) {
    const QString trois =
        "3 fichiers eps ou pdf ont été générés\\ndans le répertoire spécifié\\n\\n"
        "Une erreur a été détectée.\\n\\nPour en savoir plus, consultez le "
        "fichier de rapport.";
    const QStringList lignes = {"Ligne 1, fichier code1.eps OK",
                                "Ligne 2, erreur en colonne 2, nombre de chiffres supérieur à 5",
                                "Ligne 3, fichier code3.pdf OK", "Ligne 4, fichier code4.eps OK",
                                ""};
    const QByteArray quatre = bon + refuse + pdf + "\n" + QByteArray(bon).replace("code1", "code4");
    ksp_partagees::contenu exemple = ksp_partagees::contenu_fichier_donnees(
        {"L", "12345", "42", "0", "Prix", "150", "", "E", "4", "A", "=", "", ""}, false, u';',
        codage_texte::utf16,
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><valdorin><multiples_popup_delimiteur>1"
        "</multiples_popup_delimiteur><multiples_popup_codage>4</multiples_popup_codage>"
        "<multiples_popup_log>1</multiples_popup_log><multiples_ch_ext_eps>.epsf"
        "</multiples_ch_ext_eps></valdorin>");
    struct cas {
        QByteArray donnees;
        QStringList reglages;
        QStringList alertes;
        QStringList rapport;
        QStringList resultats;
    };
    const QStringList faits = {"code1.eps", "code3.pdf", "code4.eps"};
    const QList<cas> table = {
        {quatre, {"popup_log=1"}, {trois}, lignes, faits},
        {quatre, {"popup_log=1", "cb_previsualiser=true"}, {trois}, lignes, faits},
        {"",
         {"popup_log=1"},
         {"Aucun fichier eps ou pdf n'a été généré\\ndans le répertoire spécifié\\n\\nUne erreur a "
          "été détectée.\\n\\nPour en savoir plus, consultez le fichier de rapport."},
         {"Ligne 1, erreur dans le nombre de colonnes", ""},
         {}},
        // The header's settings (semicolon, UTF-16, report, extension) apply.
        {exemple.octets,
         {},
         {"Un fichier eps ou pdf a été généré\\ndans le répertoire spécifié\\n\\nAucune erreur n'a "
          "été détectée."},
         {"Ligne 1, fichier Nom_du_fichier_a_obtenir.epsf OK", ""},
         {"Nom_du_fichier_a_obtenir.epsf"}},
        // A header without settings leaves the page's settings as they were.
        {"<?xml version=\"1.0\"?><autre/>\n" + bon,
         {"ch_ext_eps=.epsi", "cb_log=false"},
         {},
         {},
         {"code1.epsi"}},
    };
    for (const cas& c : table) {
        QDir(test_support::dossier_test() + "/sortie").removeRecursively();
        const issue_serie r = serie(outils_donnees::fichier(c.donnees, "liste.txt"), c.reglages);
        EXPECT_EQ(r.code, 0);
        EXPECT_EQ(r.alertes, c.alertes) << c.donnees.left(20).toStdString();
        EXPECT_EQ(r.rapport, c.rapport) << c.donnees.left(20).toStdString();
        EXPECT_EQ(r.resultats, c.resultats) << c.donnees.left(20).toStdString();
        QFile::remove(test_support::dossier_test() + "/liste.log");
    }
}

// Names used twice, links, a report that would replace its data file or cannot
// be written, control characters, an open quote: each refused or told, nothing lost.
TEST(serie, refus_et_rapports) {
    const QString d = test_support::dossier_test(), s = d + "/sortie/";
    auto ligne = [](const char* nom, const char* fin = "") {
        return QByteArray(bon).replace("code1\r", QByteArray(nom) + fin + "\r");
    };
    const QString lien = "\u00A0: Impossible d'écrire le fichier « " + s +
                         "%1.eps » : le chemin passe par un lien symbolique refusé ou par une "
                         "boucle de liens.";
    const QString pas_de_rapport =
        "\\n\\nLe fichier de rapport «\u00A0" + d + "/%1\u00A0» n'a pas ";
    const QByteArray ouvert = "L,1,42,0,P,150,CB,E,4,A,=,q1\r\nL,1,42,0,\"P,150,CB,E,4,A,=,q2\r\n" +
                              QByteArray("L,1,42,0,P,150,CB,E,4,A,=,q\r\n").repeated(200);
    const QString non_ferme = "Ligne 1, fichier q1.eps OK|Ligne 2, guillemet non fermé\u00A0: le "
                              "reste du fichier n'a pas pu être lu|";
    QDir().mkpath(d + "/e\x1B[2J/e1.eps"); // a folder in the way
    QDir().mkpath(s);
    outils_donnees::fichier("ancien\n", "gros.log");
    outils_donnees::fichier("cible", "cible");
    for (const char* nom : {"sortie/lien1.eps", "lie.log"})
        ASSERT_TRUE(QFile::link(d + "/cible", d + "/" + nom));
    ASSERT_TRUE(QFile::link(d + "/absente", s + "lien2.eps"));
    const struct {
        QString nom;
        QByteArray donnees;
        QString reglages, rapport, fin_bilan = {};
        bool disque_plein = false; // files may not grow past 4 KB
    } cas[] = {
        {"noms.txt",
         ligne("code1") + ligne("code1", "\tvu") + ligne("Code1") +
             "1\t250\t6\tLM\tPA\t5\t3\tA\tCB\tP\r\n1\t250\t7\tLM\tPA\t05\t03\tA\tCB\tP\r\n",
         "",
         "Ligne 1, fichier code1.eps OK|Ligne 2, erreur en colonne 12, nom de fichier déjà utilisé "
         "ligne 1|Ligne 3, fichier Code1.eps OK|Ligne 4, fichier LMPA0503.pdf OK|"
         "Ligne 5, erreur en colonne 4, nom de fichier déjà utilisé ligne 4|"},
        {"lien.txt", ligne("lien1") + ligne("lien2"), "",
         "Ligne 1, fichier lien1.eps non créé" + lien.arg("lien1") +
             "|Ligne 2, fichier lien2.eps non créé" + lien.arg("lien2") + "|"},
        {"lie.txt", ligne("r1"), "", "cible",
         pas_de_rapport.arg("lie.log") + "pu être enregistré\u00A0: le chemin passe par un lien "
                                         "symbolique refusé ou par une boucle de liens."},
        {"donnees.log", ligne("d1") + "x\r\n", "",
         "L\t12345\t42\t0\tPrix\t150\tCB\tE\t4\tA\t=\td1\r|x\r|",
         pas_de_rapport.arg("donnees.log") +
             "été enregistré\u00A0: il aurait remplacé le fichier de données."},
        {"e\x1B[2J/liste.txt", ligne("e1") + ligne("a\x1B[31mb"),
         "popup_resultats=1 popup_codage=3",
         "Ligne 1, fichier e1.eps non créé\u00A0: Impossible d'écrire le fichier « " + d +
             "/e\\u{1B}[2J/e1.eps » : c'est un dossier.|Ligne 2, erreur en colonne 12, présence "
             "d'un caractère invalide pour un nom de fichier|"},
        {"meme.txt", ligne("meme") + ligne("m2"), "popup_resultats=1 ch_ext_eps=.txt",
         "Ligne 1, fichier meme.txt non créé\u00A0: il aurait remplacé le fichier de données.|"
         "Ligne 2, fichier m2.txt OK|"},
        {"ouvert.csv", ouvert, "popup_delimiteur=2", non_ferme},
        {"ouvert.csv", ouvert, "popup_delimiteur=2 cb_previsualiser=true", non_ferme},
        {"gros.txt", QByteArray("x\r\n").repeated(300), "", "ancien|",
         pas_de_rapport.arg("gros.log") +
             "pu être enregistré\u00A0: le fichier dépasse la taille permise.",
         true},
    };
    for (const auto& c : cas) {
        const test_support::limite_fichiers limite(c.disque_plein ? 4096 : RLIM_INFINITY);
        const issue_serie r =
            serie(outils_donnees::fichier(c.donnees, c.nom),
                  QStringList{"popup_log=1"} + c.reglages.split(' ', Qt::SkipEmptyParts));
        EXPECT_EQ(r.rapport.join('|'), c.rapport) << qPrintable(c.nom);
        EXPECT_TRUE(r.alertes.value(0).endsWith(c.fin_bilan)) << qPrintable(r.alertes.value(0));
    }
    // A report named like a file of the run leaves that file alone.
    const issue_serie rap = serie(outils_donnees::fichier(ligne("rap"), "rap.txt"),
                                  {"popup_log=1", "popup_resultats=1", "ch_ext_eps=.log"});
    EXPECT_TRUE(rap.alertes.value(0).endsWith(pas_de_rapport.arg("rap.log") +
                                              "été enregistré\u00A0: il aurait remplacé le "
                                              "fichier créé ligne 1."))
        << qPrintable(rap.alertes.value(0));
    // That file and the first file of a name stay; no target of a link was touched.
    EXPECT_TRUE(lit(d + "/rap.log").startsWith("%!PS") && lit(s + "code1.eps").startsWith("%!PS"));
    EXPECT_EQ(lit(d + "/cible"), "cible");
    EXPECT_FALSE(QFileInfo::exists(d + "/absente"));
}

TEST(serie, destination_impossible_et_copie_impossible) {
    // A folder in the way of the first file: that record is refused with the
    // engine's message, the next one is made.
    QDir().mkpath(test_support::dossier_test() + "/sortie/code1.eps");
    const issue_serie r =
        serie(outils_donnees::fichier(bon + pdf), {"popup_log=1", "cb_log=false"});
    ASSERT_EQ(r.rapport.size(), 3);
    EXPECT_TRUE(r.rapport[0].startsWith("Ligne 1, fichier code1.eps non créé\u00A0: "));
    EXPECT_GT(r.rapport[0].size(), QString("Ligne 1, fichier code1.eps non créé : ").size());
    EXPECT_EQ(r.rapport[1], "Ligne 2, fichier code3.pdf OK");

    // The temporary copy of a data file with a header: removed after the run,
    // and a run that cannot make it starts nothing.
    const QString entete = outils_donnees::fichier("<?xml version=\"1.0\"?><valdorin/>\n" + bon);
    const QString temporaire = test_support::dossier_test() + "/temporaire";
    QDir().mkpath(temporaire);
    EXPECT_EQ(serie(entete, {"cb_log=false"}, temporaire).code, 0);
    EXPECT_TRUE(QDir(temporaire).entryList({"valdorin*"}).isEmpty());
    // A temporary folder that is a file: no copy can be made there.
    const issue_serie sans = serie(entete, {}, entete);
    EXPECT_EQ(sans.code, 1);
    EXPECT_EQ(sans.alertes,
              QStringList{"Fichier ou répertoire protégé !\\n\\nOuverture annulée !"});
}

TEST(serie, annulation_et_exception_remettent_la_page_au_repos) {
    QByteArray lignes;
    for (int i = 0; i < 3000; ++i)
        lignes += QByteArray(bon).replace("code1", "c" + QByteArray::number(i));
    const QString donnees = outils_donnees::fichier(lignes);
    QDir().mkpath(test_support::dossier_test() + "/sortie");
    participants::presentateur_essai dialogues;
    csp_creer_plusieurs page;
    page.popup_log->setCurrentIndex(1);
    auto au_repos = [&page] {
        EXPECT_TRUE(!page.travail_en_cours && page.bt_creer->isEnabled() &&
                    page.bt_enregistrer->isEnabled() && page.popup_delimiteur->isEnabled() &&
                    page.bt_annuler->isHidden() && page.pb_jauge->isHidden());
    };

    // Cancelled after the first step: no summary, the report keeps its lines.
    dialogues.reponses = {test_support::dossier_test() + "/sortie"};
    page.fi_lecture_officiel = donnees;
    page.creer_serie();
    ASSERT_TRUE(page.travail_en_cours);
    page.montrer(); // shown again during the run: the settings stay disabled
    EXPECT_FALSE(page.popup_delimiteur->isEnabled());
    QSignalSpy fin(page.thread_creer_ensemble, &thread_creer_ensemble::termine);
    QTimer::singleShot(0, &page, [&page] { page.bt_annuler->click(); });
    ASSERT_TRUE(fin.wait(30000));
    au_repos();
    QFile rapport(test_support::dossier_test() + "/donnees.log");
    ASSERT_TRUE(rapport.open(QIODevice::ReadOnly));
    const int faits = rapport.readAll().count('\n');
    EXPECT_GT(faits, 0);
    EXPECT_LT(faits, 3000);

    // The data file gone when the folder was chosen: the run still ends with
    // its summary and the page at rest.
    participants::lecteur_alertes alertes;
    struct efface : participants::presentateur_essai {
        QString donnees;
        QString montre(const bibliotheque_v1::demande_dialogue& d) override {
            QFile::remove(donnees);
            return presentateur_essai::montre(d);
        }
    } effaceur;
    effaceur.donnees = donnees;
    effaceur.reponses = {test_support::dossier_test() + "/sortie"};
    alertes.attend();
    page.creer_serie();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !page.travail_en_cours; }, 10000));
    EXPECT_EQ(alertes.textes, QStringList{"Aucun fichier eps ou pdf n'a été généré\n"
                                          "dans le répertoire spécifié\n\n"
                                          "Aucune erreur n'a été détectée."});
    au_repos();

    // A header that locks the page: at the end the lock applies whole, caption and cb_log too.
    page.fi_lecture_officiel = outils_donnees::fichier(
        "<?xml version=\"1.0\"?><valdorin><multiples_actif>0</multiples_actif></valdorin>\n" + bon,
        "verrou.txt");
    effaceur.reponses = {test_support::dossier_test() + "/sortie"};
    alertes.attend();
    page.creer_serie();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !page.travail_en_cours; }, 10000));
    EXPECT_FALSE(page.interface_active || page.cb_log->isEnabled());
    EXPECT_EQ(page.bt_verrouiller->text(), "Déverrouiller");
}

TEST(serie, nom_du_rapport) {
    for (const QString& cas :
         QString("liste.txt=liste liste=liste a.b.csv=a.b liste.=liste .csv=").split(' '))
        EXPECT_EQ(csp_creer_plusieurs::nom_rapport("/d/" + cas.section('=', 0, 0)),
                  cas.section('=', 1) + ".log");
}
