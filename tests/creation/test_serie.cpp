#include "csp_creer_plusieurs.h"
#include "ksp_partagees.h"
#include "limite_fichiers.h"
#include "outils_donnees.h"
#include "participants_fichiers.h"
#include "thread_creer_ensemble.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

const QByteArray bon = "L\t12345\t42\t0\tPrix\t150\tCB\tE\t4\tA\t=\tcode1\r\n";
const QByteArray refuse = "L\t123456\t42\t0\tPrix\t150\tCB\tE\t4\tA\t=\tcode2\r\n";
const QByteArray pdf = "L\t12345\t43\t0\tPrix\t150\tCB\tP\t4\tA\t=\tcode3\tnote<CR>deux";

QByteArray lit(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct issue_serie {
    int code;
    QStringList alertes;
    QStringList rapport;
    QStringList resultats;
};

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

// Records, report and summary when names repeat, links stand in the way, the
// report would replace the data file, names hold control characters or a
// quote is left open.
TEST(serie, noms_repetes_liens_controles_et_guillemets) {
    const QString d = test_support::dossier_test();
    const QString sortie = d + "/sortie";
    const QString lien_refuse = "\u00A0: Impossible d'écrire le fichier « " + sortie +
                                "/%1 » : le chemin passe par un lien symbolique refusé ou par une "
                                "boucle de liens.";
    const QString invalide =
        "erreur en colonne 12, présence d'un caractère invalide pour un nom de fichier";
    const QString un_fait = "Un fichier eps ou pdf a été généré\\ndans le répertoire spécifié";
    QByteArray virgules = "L,12345,42,0,Prix,150,CB,E,4,A,=,code1\r\nL,12345,42,0,\"Prix,150,"
                          "CB,E,4,A,=,code2\r\n";
    for (int i = 3; i < 200; ++i)
        virgules += "L,12345,42,0,Prix,150,CB,E,4,A,=,code" + QByteArray::number(i) + "\r\n";
    const QString guillemet =
        "Ligne 2, guillemet non fermé\u00A0: le reste du fichier n'a pas pu être lu";
    const QString une_erreur =
        un_fait + "\\n\\nUne erreur a été détectée.\\n\\nPour en savoir plus, ";
    auto lien = [&](const QString& cible, const QString& nom) {
        QDir().mkpath(QFileInfo(nom).absolutePath());
        EXPECT_TRUE(QFile::link(d + "/" + cible, nom));
    };
    struct cas {
        const char* quoi;
        QString nom;   // the data file, in the test's folder
        QString lance; // the path the run is given, when not the data file's
        QByteArray donnees;
        QStringList reglages;
        std::function<void()> prepare;
        QStringList alertes;
        QStringList rapport;
        QStringList resultats;
        std::function<void()> verifie = nullptr;
    };
    const QByteArray pdf_ligne = QByteArray(pdf) + "\r\n";
    const QList<cas> table = {
        {"a name used twice, with its case and as format_v1",
         "liste.txt",
         "",
         bon + "L\t12345\t43\t0\tPrix\t150\tCB\tE\t4\tA\t=\tcode1\tvu\r\n" +
             QByteArray(bon).replace("code1", "Code1") +
             "12345\t250\t678\tLM\tPA\t5\t3\tA\tCB\tP\r\n12345\t250\t679\tLM\tPA\t05\t03\tA\tCB\tP",
         {"popup_log=1"},
         {},
         {"3 fichiers eps ou pdf ont été générés\\ndans le répertoire spécifié\\n\\n2 erreurs ont "
          "été détectées.\\n\\nPour en savoir plus, consultez le fichier de rapport."},
         {"Ligne 1, fichier code1.eps OK",
          "Ligne 2, erreur en colonne 12, nom de fichier déjà utilisé ligne 1",
          "Ligne 3, fichier Code1.eps OK", "Ligne 4, fichier LMPA0503.pdf OK",
          "Ligne 5, erreur en colonne 4, nom de fichier déjà utilisé ligne 4", ""},
         {"Code1.eps", "LMPA0503.pdf", "code1.eps"},
         // The first record's file, without a preview, stays.
         [&] { EXPECT_TRUE(lit(sortie + "/code1.eps").startsWith("%!PS")); }},
        {"links at the records' names",
         "liste.txt",
         "",
         bon + pdf_ligne,
         {"popup_log=1", "cb_log=false"},
         [&] {
             lien("cible.eps", sortie + "/code1.eps");
             lien("absente.pdf", sortie + "/code3.pdf");
         },
         {},
         {"Ligne 1, fichier code1.eps non créé" + lien_refuse.arg("code1.eps"),
          "Ligne 2, fichier code3.pdf non créé" + lien_refuse.arg("code3.pdf"), ""},
         {"code1.eps"}},
        {"a link at the report's path",
         "liste.txt",
         "",
         bon,
         {"popup_log=1"},
         [&] { lien("cible.log", d + "/liste.log"); },
         {un_fait + "\\n\\nAucune erreur n'a été détectée.\\n\\nLe fichier de rapport «\u00A0" + d +
          "/liste.log\u00A0» n'a pas pu être enregistré\u00A0: le chemin passe par un lien "
          "symbolique refusé ou par une boucle de liens."},
         {"cible"},
         {"code1.eps"}},
        {"a data file named like its report",
         "liste.log",
         "",
         bon + refuse,
         {"popup_log=1"},
         {},
         {une_erreur +
          "recommencez en créant un fichier de rapport.\\n\\nLe fichier de rapport "
          "«\u00A0" +
          d +
          "/liste.log\u00A0» n'a pas été enregistré\u00A0: il aurait remplacé le fichier de "
          "données."},
         QString::fromLatin1(bon + refuse).split('\n'),
         {"code1.eps"}},
        {"a data file reached through a link named like its report",
         "liste.txt",
         d + "/lien.log",
         bon + refuse,
         {"popup_log=1"},
         [&] { lien("liste.txt", d + "/lien.log"); },
         {une_erreur +
          "recommencez en créant un fichier de rapport.\\n\\nLe fichier de rapport "
          "«\u00A0" +
          d +
          "/lien.log\u00A0» n'a pas été enregistré\u00A0: il aurait remplacé le fichier de "
          "données."},
         QString::fromLatin1(bon + refuse).split('\n'),
         {"code1.eps"}},
        {"control characters in names, and in a path echoed by the report",
         "d\x1B[2J/liste.txt",
         "",
         bon + QByteArray(bon).replace("code1", "a\x1B[31mb") +
             QByteArray(bon).replace("code1", "txt\u202Eeps.exe").replace("\tE\t", "\tP\t"),
         {"popup_log=1", "popup_resultats=1", "popup_codage=3", "cb_log=false"},
         [&] { QDir().mkpath(d + "/d\x1B[2J/code1.eps"); },
         {},
         {"Ligne 1, fichier code1.eps non créé\u00A0: Impossible d'écrire le fichier « " + d +
              "/d\\u{1B}[2J/code1.eps » : c'est un dossier.",
          "Ligne 2, " + invalide, "Ligne 3, " + invalide, ""},
         {}},
        {"an unbalanced quote",
         "liste.csv",
         "",
         virgules,
         {"popup_delimiteur=2", "popup_log=1"},
         {},
         {une_erreur + "consultez le fichier de rapport."},
         {"Ligne 1, fichier code1.eps OK", guillemet, ""},
         {"code1.eps"}},
        {"an unbalanced quote, with the preview",
         "liste.csv",
         "",
         virgules,
         {"popup_delimiteur=2", "popup_log=1", "cb_previsualiser=true"},
         {},
         {une_erreur + "consultez le fichier de rapport."},
         {"Ligne 1, fichier code1.eps OK", guillemet, ""},
         {"code1.eps"}},
    };
    outils_donnees::fichier("cible", "cible.eps");
    outils_donnees::fichier("cible", "cible.log");
    for (const cas& c : table) {
        QDir(sortie).removeRecursively();
        if (c.prepare)
            c.prepare();
        const QString donnees = outils_donnees::fichier(c.donnees, c.nom);
        ASSERT_FALSE(donnees.isEmpty()) << c.quoi;
        const issue_serie r = serie(c.lance.isEmpty() ? donnees : c.lance, c.reglages);
        EXPECT_EQ(r.code, 0) << c.quoi;
        EXPECT_EQ(r.alertes, c.alertes) << c.quoi;
        EXPECT_EQ(r.rapport, c.rapport) << c.quoi;
        EXPECT_EQ(r.resultats, c.resultats) << c.quoi;
        if (c.verifie)
            c.verifie();
        QFile::remove(d + "/liste.log");
        QFile::remove(d + "/lien.log");
    }
    // The targets of the links are as they were; no file came out of the folder.
    EXPECT_EQ(lit(d + "/cible.eps"), "cible");
    EXPECT_EQ(lit(d + "/cible.log"), "cible");
    EXPECT_FALSE(QFileInfo::exists(d + "/absente.pdf"));
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
    // The page shown again during the run keeps its settings disabled.
    page.montrer();
    for (QWidget* c : std::initializer_list<QWidget*>{
             page.popup_delimiteur, page.popup_codage, page.cb_previsualiser, page.popup_resultats,
             page.ch_ext_eps, page.popup_log, page.bt_verrouiller, page.bt_creer})
        EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
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
}

// A report cut short by the size a process may write: the report of the
// previous run stays whole, and the summary gives the system's reason.
TEST(serie, rapport_interrompu_garde_l_ancien_et_dit_pourquoi) {
    QByteArray lignes;
    for (int i = 0; i < 300; ++i)
        lignes += "x\r\n";
    const QString donnees = outils_donnees::fichier(lignes);
    const QString rapport = outils_donnees::fichier("ancien rapport\n", "donnees.log");
    QDir().mkpath(test_support::dossier_test() + "/sortie");
    participants::presentateur_essai dialogues;
    participants::lecteur_alertes alertes;
    csp_creer_plusieurs page;
    page.popup_log->setCurrentIndex(1);
    dialogues.reponses = {test_support::dossier_test() + "/sortie"};

    {
        const test_support::limite_fichiers limite(4096);
        ASSERT_TRUE(limite.pose);
        alertes.attend();
        page.fi_lecture_officiel = donnees;
        page.creer_serie();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !page.travail_en_cours; }, 30000));
    }
    EXPECT_EQ(alertes.textes,
              QStringList{"Aucun fichier eps ou pdf n'a été généré\ndans le répertoire spécifié\n\n"
                          "300 erreurs ont été détectées.\n\nPour en savoir plus, recommencez en "
                          "créant un fichier de rapport.\n\nLe fichier de rapport «\u00A0" +
                          rapport +
                          "\u00A0» n'a pas pu être enregistré\u00A0: le fichier dépasse la taille "
                          "permise."});
    EXPECT_EQ(lit(rapport), "ancien rapport\n");
}

TEST(serie, nom_du_rapport) {
    for (const QString& cas :
         QString("liste.txt=liste liste=liste a.b.csv=a.b liste.=liste .csv=").split(' '))
        EXPECT_EQ(csp_creer_plusieurs::nom_rapport("/d/" + cas.section('=', 0, 0)),
                  cas.section('=', 1) + ".log");
}
