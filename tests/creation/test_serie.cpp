#include "autre_utilisateur.h"
#include "csp_creer_plusieurs.h"
#include "csp_creer_unit.h"
#include "disque_exfat.h"
#include "fenetre_essai.h"
#include "fichiers_memo.h"
#include "fin_processus.h"
#include "ksp_partagees.h"
#include "outils_donnees.h"
#include "outils_eps.h"
#include "parametres_v1.h"
#include "participants_fichiers.h"
#include "thread_creer_ensemble.h"
#include "types_fichiers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

#include <cctype>
#include <csignal>

#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>

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

using outils_eps::lit;

// Runs the test tool on `donnees` into the folder "sortie" of the test.
// `limite`: the tool may write files of that many bytes at most, and is
// killed by the system's signal unless it ignores it.
// `travail`: the folder it runs in, the test's own when empty.
issue_serie serie(const QString& donnees, const QStringList& reglages,
                  const QString& tmpdir = QString(), rlim_t limite = RLIM_INFINITY,
                  const QString& travail = QString()) {
    const QString sortie = test_support::dossier_test() + "/sortie";
    QDir().mkpath(sortie);
    QProcess outil;
    if (!travail.isEmpty())
        outil.setWorkingDirectory(travail);
    outil.setChildProcessModifier([limite] {
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit taille{limite, limite};
        ::setrlimit(RLIMIT_FSIZE, &taille);
    });
    if (!tmpdir.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TMPDIR", tmpdir);
        outil.setProcessEnvironment(env);
    }
    outil.start(SERIE_DONNEES, QStringList{donnees, sortie} + reglages);
    const bool fini = outil.waitForFinished(60000);
    if (const QByteArray erreurs = outil.readAllStandardError(); erreurs.contains("SUMMARY: "))
        ADD_FAILURE() << test_support::fin_processus(outil, fini, erreurs) << "\n"
                      << erreurs.toStdString();
    issue_serie r;
    r.code = outil.exitStatus() == QProcess::NormalExit ? outil.exitCode() : -1;
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
         {"ch_ext_eps=.epsi", "cb_log=false", "popup_log=1"},
         {},
         {"Ligne 1, fichier code1.epsi OK", ""},
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

// The example file with its settings, saved again as text by a spreadsheet
// (LibreOffice Calc, Python's csv module) with each delimiter: the header,
// now one quoted cell with its quotes doubled and empty cells after it,
// still brings the batch page's settings (delimiter, report, extension), and
// every record is made. The page's own settings (TAB) would read none.
TEST(serie, exemple_reenregistre_par_un_tableur) {
    const QString soffice = QStandardPaths::findExecutable("soffice");
    if (soffice.isEmpty())
        GTEST_SKIP() << "soffice missing (Debian package libreoffice-calc-nogui)";
    const QString d = test_support::dossier_test();
    // Calc reads every column as text, keeping the fields as typed; the
    // script pads each row to 12 cells, as spreadsheets do.
    const QString texte = "1/2/2/2/3/2/4/2/5/2/6/2/7/2/8/2/9/2/10/2/11/2/12/2";
    const QString script = "import csv, sys\nd = sys.argv[3]\n"
                           "l = list(csv.reader(open(sys.argv[1]), delimiter=d))\n"
                           "csv.writer(open(sys.argv[2], 'w'), delimiter=d)"
                           ".writerows(r + [''] * (12 - len(r)) for r in l)";
    for (const char delimiteur : {';', ',', '\t'}) {
        const QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><valdorin>"
                               "<multiples_popup_delimiteur>" +
                               QByteArray::number(QByteArray("\t;,").indexOf(delimiteur)) +
                               "</multiples_popup_delimiteur><multiples_popup_log>1"
                               "</multiples_popup_log><multiples_ch_ext_eps>.epsf"
                               "</multiples_ch_ext_eps></valdorin>";
        const QByteArray exemple =
            ksp_partagees::contenu_fichier_donnees(
                {"L", "12345", "42", "0", "Prix", "150", "CB", "E", "4", "A", "=", "", ""}, false,
                QChar(delimiteur), codage_texte::utf8, xml)
                .octets;
        const QByteArray code1 = QByteArray(exemple).replace("Nom_du_fichier_a_obtenir", "code1");
        const QString source = outils_donnees::fichier(
            code1 + code1.mid(code1.indexOf('\n')).replace("code1", "code2"), "exemple.txt");
        const QString n = QString::number(delimiteur);
        QString dit;
        ASSERT_EQ(
            outils_eps::lance(
                soffice,
                {"-env:UserInstallation=" + QUrl::fromLocalFile(d + "/profil").toString(),
                 "--headless", "--infilter=Text - txt - csv (StarCalc):" + n + ",34,76,1," + texte,
                 "--convert-to", "csv:Text - txt - csv (StarCalc):" + n + ",34,76", "--outdir", d,
                 source},
                &dit),
            0)
            << dit.toStdString();
        ASSERT_EQ(outils_eps::lance(
                      "python3",
                      {"-c", script, source, d + "/python.csv", QString(QChar(delimiteur))}, &dit),
                  0)
            << dit.toStdString();
        for (const QString& exporte : {d + "/exemple.csv", d + "/python.csv"}) {
            SCOPED_TRACE(exporte.toStdString() + " " + delimiteur);
            EXPECT_TRUE(outils_eps::lit(exporte).startsWith("\"<?xml version=\"\"1.0\"\""));
            QDir(d + "/sortie").removeRecursively();
            const issue_serie r = serie(exporte, {});
            EXPECT_EQ(r.alertes, QStringList{"2 fichiers eps ou pdf ont été générés\\ndans le "
                                             "répertoire spécifié\\n\\nAucune erreur n'a été "
                                             "détectée."});
            EXPECT_EQ(r.resultats, (QStringList{"code1.epsf", "code2.epsf"}));
        }
    }
}

// A relative default folder, from the settings or from a data file's
// header, would name a folder of wherever the program was started: refused
// as an unusable folder, and nothing is written, there or anywhere.
TEST(serie, dossier_par_defaut_relatif_refuse) {
    const QString d = test_support::dossier_test();
    QDir().mkpath(d + "/travail/r");
    const QByteArray entete = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><valdorin>"
                              "<multiples_popup_resultats>2</multiples_popup_resultats>"
                              "<multiples_ch_repertoire>r</multiples_ch_repertoire></valdorin>\n";
    const struct {
        QByteArray donnees;
        QStringList reglages;
    } cas[] = {
        {bon, {"popup_resultats=2", "ch_repertoire=r", "popup_log=1"}},
        {entete + bon, {"popup_log=1"}},
    };
    for (const auto& c : cas) {
        const QString donnees = outils_donnees::fichier(c.donnees, "liste.txt");
        const issue_serie r = serie(donnees, c.reglages, QString(), RLIM_INFINITY, d + "/travail");
        EXPECT_EQ(r.alertes, QStringList{"Le répertoire de réception des fichiers générés n'est "
                                         "pas utilisable !"})
            << c.donnees.left(10).toStdString();
        EXPECT_EQ(QDir(d + "/travail/r")
                      .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                  QStringList());
        EXPECT_EQ(QDir(d).entryList(QDir::Files | QDir::Hidden), QStringList{"liste.txt"});
        EXPECT_TRUE(r.resultats.isEmpty());
    }
}

// A private file replaced by the single form, by a batch run again (its
// barcode file and its report) or by the state file: while the new bytes are
// written, no one else may read them, nor open the file to read them later.
// Once named, the file has the rights it had.
TEST(serie, remplacement_prive_pendant_l_ecriture) {
    const QString d = test_support::dossier_test() + "/prive";
    QDir().mkpath(d);
    ensemble_fichiers_drop::Initialize();
    ensemble_fichiers_resultat::Initialize();
    test_support::fenetre_essai fenetre;
    participants::presentateur_essai dialogues;
    participants::lecteur_alertes alertes;
    csp_creer_unit unique;
    unique.cb_visualiser->setChecked(false);
    unique.ch_code_produit->setText("12345");
    unique.ch_prix->setText("1,50");
    csp_creer_plusieurs plusieurs;
    plusieurs.cb_log->setChecked(false);
    plusieurs.popup_log->setCurrentIndex(2); // beside the barcode files
    const QString donnees = outils_donnees::fichier(bon, "liste.txt");

    // Every file of the folder at the moment a written file would take its
    // name: the temporary file, the partial report, those to replace.
    static QString dossier;
    static int appels;
    static QStringList lisibles;
    dossier = d;
    const mode_t masque = ::umask(022);
    const auto retour = qScopeGuard([masque] {
        ::umask(masque);
        bibliotheque_v1::essai_avant_renommage = nullptr;
    });
    const struct {
        const char* cas;
        std::function<void()> ecrit;
    } cas[] = {
        {"formulaire",
         [&] {
             dialogues.reponses = {d + "/unique.eps"};
             unique.bt_creer->click();
         }},
        {"série",
         [&] {
             dialogues.reponses = {d};
             plusieurs.fi_lecture_officiel = donnees;
             plusieurs.creer_serie();
             ASSERT_TRUE(QTest::qWaitFor([&] { return !plusieurs.travail_en_cours; }, 10000));
         }},
        {"état",
         [&] {
             dialogues.reponses = {d + "/etat.valdorin"};
             parametres_v1::dictionnaire_parametres.emplace();
             alertes.attend();
             parametres_v1::exporte_fichier_memo();
         }},
    };
    for (const auto& c : cas) {
        // Made once, then made private.
        bibliotheque_v1::essai_avant_renommage = nullptr;
        c.ecrit();
        for (const QString& nom : QDir(d).entryList(QDir::Files))
            ASSERT_TRUE(QFile::setPermissions(d + "/" + nom, QFile::ReadOwner | QFile::WriteOwner));
        const QStringList prives = QDir(d).entryList(QDir::Files);
        appels = 0;
        lisibles.clear();
        bibliotheque_v1::essai_avant_renommage = [](const QByteArray&) {
            ++appels;
            for (const QString& nom : QDir(dossier).entryList(QDir::Files | QDir::Hidden)) {
                struct stat etat = {};
                if (::stat(QFile::encodeName(dossier + "/" + nom).constData(), &etat) != 0 ||
                    (etat.st_mode & 077) != 0)
                    lisibles.append(nom);
            }
        };
        c.ecrit();
        EXPECT_GT(appels, 0) << c.cas;
        EXPECT_EQ(lisibles, QStringList()) << c.cas;
        for (const QString& nom : prives)
            EXPECT_EQ(QFileInfo(d + "/" + nom).permissions(),
                      QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser)
                << c.cas << " " << qPrintable(nom);
    }
    EXPECT_EQ(QDir(d).entryList(QDir::Files),
              (QStringList{"code1.eps", "etat.valdorin", "liste.log", "unique.eps"}));
}

// Names used twice, links, a report that would replace its data file or cannot
// be written, control characters, an open quote, files the user may not
// write or that are no barcode files, text the reader could not read, a file
// size limit: each refused or told, nothing lost.
TEST(serie, refus_et_rapports) {
    const QString d = test_support::dossier_test(), s = d + "/sortie/", m = d + "/maison/";
    auto ligne = [](const char* nom, const char* fin = "") {
        return QByteArray(bon).replace("code1\r", QByteArray(nom) + fin + "\r");
    };
    const QString lien = "\u00A0: Impossible d'écrire le fichier « " + s +
                         "%1.eps » : le chemin passe par un lien symbolique refusé ou par une "
                         "boucle de liens.";
    const QString pas_de_rapport =
        "\\n\\nLe fichier de rapport «\u00A0" + d + "/%1\u00A0» n'a pas ";
    const QString plus = "\\n\\nPour en savoir plus, consultez le fichier de rapport.";
    const QString une = "Une erreur a été détectée." + plus,
                  deux = "2 erreurs ont été détectées." + plus;
    const QByteArray ouvert = "L,1,42,0,P,150,CB,E,4,A,=,q1\r\nL,1,42,0,\"P,150,CB,E,4,A,=,q2\r\n" +
                              QByteArray("L,1,42,0,P,150,CB,E,4,A,=,q\r\n").repeated(200);
    const QString non_ferme = "Ligne 1, fichier q1.eps OK|Ligne 2, guillemet non fermé\u00A0: le "
                              "reste du fichier n'a pas pu être lu|";
    const QString existant = "Ligne %1, erreur en colonne 12, le fichier existant %2 %3\u00A0: il "
                             "n'est pas remplacé|";
    const QString illisible = "Ligne %1, erreur en colonne %2, caractère illisible dans le codage "
                              "choisi\u00A0: vérifiez le réglage «\u00A0Codage\u00A0»|";
    QDir().mkpath(d + "/e\x1B[2J/e1.eps"); // a folder in the way
    QDir().mkpath(s);
    QDir().mkpath(m);
    outils_donnees::fichier("ancien\n", "gros.log");
    outils_donnees::fichier("cible", "cible");
    for (const char* nom : {"sortie/lien1.eps", "lie.log"})
        ASSERT_TRUE(QFile::link(d + "/cible", d + "/" + nom));
    ASSERT_TRUE(QFile::link(d + "/absente", s + "lien2.eps"));
    // Files already there: read-only, not barcodes, and earlier barcodes.
    const QList<QPair<QString, QByteArray>> deja = {{s + "ro.eps", "%!PS-Adobe-3.0 EPSF-3.0\r"},
                                                    {m + ".bashrc", "export X=1\n"},
                                                    {m + "epsrc", "%!PS-Adobe-3.0 EPSF-3.0\r"},
                                                    {m + "dosrc", "\xC5\xD0\xD3\xC6\x1E"},
                                                    {m + "pdfrc", "%PDF-1.3\r"},
                                                    {m + "viderc", ""}};
    for (const auto& [chemin, octets] : deja)
        ASSERT_FALSE(outils_donnees::fichier(octets, chemin.mid(d.size() + 1)).isEmpty());
    ASSERT_TRUE(QFile::setPermissions(s + "ro.eps",
                                      QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const struct {
        QString nom;
        QByteArray donnees;
        QString reglages, rapport, fin_bilan;
        rlim_t limite = RLIM_INFINITY; // the largest file the tool may write
    } cas[] = {
        {"noms.txt",
         ligne("code1") + ligne("code1", "\tvu") + ligne("Code1") +
             "1\t250\t6\tLM\tPA\t5\t3\tA\tCB\tP\r\n1\t250\t7\tLM\tPA\t05\t03\tA\tCB\tP\r\n",
         "",
         "Ligne 1, fichier code1.eps OK|Ligne 2, erreur en colonne 12, nom de fichier déjà utilisé "
         "ligne 1|Ligne 3, fichier Code1.eps OK|Ligne 4, fichier LMPA0503.pdf OK|"
         "Ligne 5, erreur en colonne 4, nom de fichier déjà utilisé ligne 4|",
         deux},
        {"lien.txt", ligne("lien1") + ligne("lien2"), "",
         "Ligne 1, fichier lien1.eps non créé" + lien.arg("lien1") +
             "|Ligne 2, fichier lien2.eps non créé" + lien.arg("lien2") + "|",
         deux},
        {"lie.txt", ligne("r1"), "", "cible",
         pas_de_rapport.arg("lie.log") + "pu être enregistré\u00A0: le chemin passe par un lien "
                                         "symbolique refusé ou par une boucle de liens."},
        {"donnees.log", ligne("d1") + "x\r\n", "",
         "L\t12345\t42\t0\tPrix\t150\tCB\tE\t4\tA\t=\td1\r|x\r|",
         pas_de_rapport.arg("donnees.log") +
             "été enregistré\u00A0: il aurait remplacé le fichier de données."},
        {"e\x1B[2J/liste.txt", ligne("e1") + ligne("a\x1B[31mb") + ligne("c\u200Ed"),
         "popup_resultats=1 popup_codage=3",
         "Ligne 1, fichier e1.eps non créé\u00A0: Impossible d'écrire le fichier « " + d +
             "/e\\u{1B}[2J/e1.eps » : c'est un dossier.|Ligne 2, erreur en colonne 12, présence "
             "d'un caractère invalide pour un nom de fichier|Ligne 3, erreur en colonne 12, "
             "présence d'un caractère invalide pour un nom de fichier|",
         "3 erreurs ont été détectées." + plus},
        {"meme.txt", ligne("meme") + ligne("m2"), "popup_resultats=1 ch_ext_eps=.txt",
         "Ligne 1, fichier meme.txt non créé\u00A0: il aurait remplacé le fichier de données.|"
         "Ligne 2, fichier m2.txt OK|",
         une},
        {"ouvert.csv", ouvert, "popup_delimiteur=2", non_ferme, une},
        {"ouvert.csv", ouvert, "popup_delimiteur=2 cb_previsualiser=true", non_ferme, une},
        {"gros.txt", QByteArray("x\r\n").repeated(300), "", "ancien|",
         pas_de_rapport.arg("gros.log") +
             "pu être enregistré\u00A0: le fichier dépasse la taille permise.",
         4096},
        {"plein.txt", QByteArray(bon).replace("\tE\t", "\tP\t").repeated(300), "cb_log=false", "",
         pas_de_rapport.arg("plein.log").mid(4) +
             "pu être enregistré\u00A0: le fichier dépasse la taille permise.",
         8192},
        {"limite.txt", ligne("l1"), "",
         "Ligne 1, fichier l1.eps non créé\u00A0: Impossible d'écrire le fichier « " + s +
             "l1.eps » : le fichier dépasse la taille permise.|",
         une, 5120},
        {"ro.txt", ligne("ro") + ligne("ro2"), "",
         existant.arg(1).arg("ro.eps", "est protégé en écriture") + "Ligne 2, fichier ro2.eps OK|",
         une},
        // A data file's settings may choose any folder and extension: only
        // barcode files, and empty ones, are replaced there.
        {"maison.txt", ligne(".bash") + ligne("eps") + ligne("dos") + ligne("pdf") + ligne("vide"),
         "popup_resultats=2 ch_ext_eps=rc ch_repertoire=" + m,
         existant.arg(1).arg(".bashrc", "n'est pas un fichier eps ou pdf") +
             "Ligne 2, fichier epsrc OK|Ligne 3, fichier dosrc OK|Ligne 4, fichier pdfrc OK|"
             "Ligne 5, fichier viderc OK|",
         "Une erreur a été détectée." + plus},
        {"guillemet.csv", "L;12345;42;0;Prix \"TTC\";150;CB;E;4;A;=;q1\r\n", "popup_delimiteur=1",
         "Ligne 1, erreur en colonne 5, guillemet dans un champ qui n'est pas entre guillemets|",
         une},
        {"cafe.txt", ligne("Caf\x8E") + QByteArray(bon).replace("Prix", "Prix\xFF"), "",
         illisible.arg(1).arg(12) + illisible.arg(2).arg(5), deux},
        // A U+FFFD of the text is no unreadable byte.
        {"utf8.txt", QByteArray(ligne("Caf\xC3\x28")).replace("Prix", "Prix\xEF\xBF\xBD"),
         "popup_codage=3", illisible.arg(1).arg(12), une},
        // A legend past the symbol's edge, or with a character its fonts lack:
        // the engine's refusal, and no file.
        {"legende.txt",
         "L\t12345\t42\t5\tFrance\t150\tABCD\tE\t4\tA\t=\tlong1\r\n"
         "L\t12345\t42\t0\t\xE6\x97\xA5\xE6\x9C\xAC\t150\tCB\tP\t4\tR\t=\tjapon\r\n"
         "L\t12345\t42\t0\tPrix \xE2\x98\x85\t150\t\tE\t4\tR\t<\tetoile\r\n"
         "L\t12345\t42\t0\tFR\t150\tA\tE\t4\tA\t=\tfr\r\n"
         "L\t12345\t9999\t5\tFR\t150\tABCD\tP\t4\tA\t=\tfr2\r\n"
         "L\t12345\t9999\t5\tFR\t150\tABCD\tE\t4\tA\t=\tfr3\r\n"
         "L\t12345\t42\t0\tR\xC3\xA9"
         "duit\t150\tA\tE\t4\tC\t>\treduit\r\n",
         "popup_codage=3",
         "Ligne 1, fichier long1.eps non créé\u00A0: Le texte «\u00A0En-tête de prix\u00A0» est "
         "trop long\u00A0: la légende dépasserait de 11,6\u00A0points le bord droit du "
         "code-barres\u00A0; aucun fichier n'est créé.|"
         "Ligne 2, fichier japon.pdf non créé\u00A0: Le texte «\u00A0En-tête de prix\u00A0» "
         "contient le caractère «\u00A0日\u00A0» (U+65E5), que les polices de la légende n'ont "
         "pas\u00A0; aucun fichier n'est créé.|"
         "Ligne 3, fichier etoile.eps non créé\u00A0: Le texte «\u00A0En-tête de prix\u00A0» "
         "contient le caractère «\u00A0★\u00A0» (U+2605), que les polices de la légende n'ont "
         "pas\u00A0; aucun fichier n'est créé.|"
         "Ligne 4, fichier fr.eps OK|Ligne 5, fichier fr2.pdf OK|"
         "Ligne 6, fichier fr3.eps non créé\u00A0: Le texte «\u00A0En-tête de prix\u00A0» est "
         "trop long\u00A0: la légende dépasserait de 3,6\u00A0points le bord droit du "
         "code-barres\u00A0; aucun fichier n'est créé.|"
         "Ligne 7, fichier reduit.eps OK|",
         "4 erreurs ont été détectées." + plus},
        {"long.txt", QByteArray(bon).replace("Prix", QByteArray(1100000, 'x')) + ligne("court"), "",
         "Ligne 1, enregistrement trop long\u00A0: plus de 1048576 caractères|Ligne 2, fichier "
         "court.eps OK|",
         une},
    };
    for (const auto& c : cas) {
        const issue_serie r =
            serie(outils_donnees::fichier(c.donnees, c.nom),
                  QStringList{"popup_log=1"} + c.reglages.split(' ', Qt::SkipEmptyParts), QString(),
                  c.limite);
        EXPECT_EQ(r.code, 0) << qPrintable(c.nom);
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
    // That file and the first file of a name stay; no target of a link was
    // touched, no file refused changed, and no temporary file remains.
    EXPECT_TRUE(lit(d + "/rap.log").startsWith("%!PS") && lit(s + "code1.eps").startsWith("%!PS"));
    EXPECT_EQ(lit(d + "/cible"), "cible");
    EXPECT_FALSE(QFileInfo::exists(d + "/absente"));
    for (const auto& [chemin, octets] : deja)
        EXPECT_EQ(lit(chemin).startsWith("%!PS-Adobe-3.0 EPSF-3.0\r%%"),
                  !chemin.endsWith("ro.eps") && !chemin.endsWith(".bashrc"))
            << qPrintable(chemin);
    EXPECT_EQ(lit(s + "ro.eps"), "%!PS-Adobe-3.0 EPSF-3.0\r");
    for (const char* nom : {"long1.eps", "japon.pdf", "etoile.eps", "fr3.eps"})
        EXPECT_FALSE(QFileInfo::exists(s + nom)) << nom;
    for (const char* nom : {"fr.eps", "fr2.pdf", "reduit.eps"})
        EXPECT_TRUE(QFileInfo::exists(s + nom)) << nom;
    EXPECT_TRUE(lit(s + "reduit.eps").contains("/EntetePrix (R\\351duit) def"));
    EXPECT_EQ(lit(m + ".bashrc"), "export X=1\n");
    for (const QString& dossier : {s, m, d})
        EXPECT_EQ(QDir(dossier).entryList({".valdorin*", "*partiel*"}, QDir::Files | QDir::Hidden),
                  QStringList())
            << qPrintable(dossier);
}

// Names that a disk takes for one. In the test's own folder, which tells
// case apart, every file is made, and made again by a second run. On an exFAT
// disk, whose driver gives each spelling of a name its own inode number, a
// record named in another spelling of a file made, of the data file or of the
// partial report is refused and that file stays, a report so named is not
// kept, and a name holding a character the disk forbids is told as such.
TEST(serie, noms_que_le_disque_confond) {
    const QString d = test_support::dossier_test(), distincts = d + "/distincts",
                  exfat = d + "/exfat";
    const QString plus = "\\n\\nPour en savoir plus, consultez le fichier de rapport.",
                  deja = "erreur en colonne 12, nom de fichier déjà utilisé ligne ",
                  non_cree = "fichier %2 non créé\u00A0: ",
                  disque_refuse = "le disque refuse ce nom de fichier, qui contient peut-être un "
                                  "caractère interdit sur ce disque.",
                  rapport_refuse = "Aucune erreur n'a été détectée.\\n\\nLe fichier de rapport "
                                   "«\u00A0%1/%2\u00A0» n'a pas été enregistré\u00A0: il aurait "
                                   "remplacé le ";
    const QString une = "Une erreur a été détectée." + plus;
    // The records' names; on exFAT, the lines of the records refused after
    // "Ligne N, " ("|" between records) and the summary's end: %1 stands for
    // the folder, %2 for the file or the report.
    const struct {
        QString donnees, extension, noms, refus_exfat, fin_exfat;
    } cas[] = {
        {"jours.txt", ".eps", "Lundi lundi Rapport RAPPORT \u00E9 e\u0301",
         "|" + deja + "1||" + deja + "3", "2 erreurs ont été détectées." + plus},
        {"Donnees.txt", ".txt", "DONNEES suite",
         non_cree + "il aurait remplacé le fichier de données.", une},
        {"liste.txt", ".log", "LISTE.PARTIEL l2",
         non_cree + "il aurait remplacé le fichier de rapport.", une},
        {"rapport.txt", ".log", "RAPPORT", "", rapport_refuse + "fichier créé ligne 1."},
        {"liste.LOG", ".eps", "l1", "", rapport_refuse + "fichier de données."},
        {"refus.txt", ":x.eps", "a",
         non_cree + "Impossible d'écrire le fichier « %1/%2 » : " + disque_refuse, une},
    };
    QDir().mkpath(distincts);
    test_support::disque_exfat disque(exfat);
    for (const QString& dossier : {distincts, exfat}) {
        const bool confond = dossier == exfat;
        if (confond && !disque.absent().isEmpty())
            GTEST_SKIP() << qPrintable(disque.absent());
        for (const auto& c : cas) {
            for (const QString& nom : QDir(dossier).entryList(QDir::Files | QDir::Hidden))
                QFile::remove(dossier + "/" + nom);
            QByteArray lignes;
            QStringList rapport;
            const QStringList noms = c.noms.split(' ');
            for (int i = 0; i < noms.size(); ++i) {
                lignes += QByteArray(bon).replace("code1", noms[i].toUtf8());
                const QString refus = confond ? c.refus_exfat.split('|').value(i) : QString();
                rapport << QString("Ligne %1, ").arg(i + 1) +
                               QString(refus.isEmpty() ? "fichier %2 OK" : refus)
                                   .replace("%1", dossier)
                                   .replace("%2", noms[i] + c.extension);
            }
            const QString donnees =
                outils_donnees::fichier(lignes, dossier.mid(d.size() + 1) + "/" + c.donnees);
            const QString fin = QString(confond ? c.fin_exfat : "Aucune erreur n'a été détectée.")
                                    .replace("%1", dossier)
                                    .replace("%2", csp_creer_plusieurs::nom_rapport(donnees));
            // A second run finds every name taken by the first.
            for (const int passe : {1, 2}) {
                const std::string quoi = qPrintable(c.donnees + " " + QString::number(passe));
                const issue_serie r =
                    serie(donnees, {"popup_log=1", "popup_resultats=1", "popup_codage=3",
                                    "ch_ext_eps=" + c.extension});
                // A report that is not kept: its name reaches another file.
                if (!fin.contains("Le fichier de rapport")) {
                    EXPECT_EQ(r.rapport, rapport + QStringList{""}) << quoi;
                }
                EXPECT_TRUE(r.alertes.value(0).endsWith(fin))
                    << quoi << " " << qPrintable(r.alertes.value(0));
                // Read from the disk, not from what was kept of a file replaced.
                if (confond) {
                    ASSERT_TRUE(disque.remonte()) << qPrintable(disque.absent());
                }
                EXPECT_EQ(lit(donnees), lignes) << quoi;
                // Each file made holds its own record, whose title is its name.
                for (const QString& l : r.rapport) {
                    const QString nom = QRegularExpression("^Ligne \\d+, fichier ([ -~]+) OK$")
                                            .match(l)
                                            .captured(1);
                    EXPECT_TRUE(nom.isEmpty() ||
                                lit(dossier + "/" + nom).contains("%%Title: (" + nom.toUtf8()))
                        << quoi << " " << qPrintable(nom);
                }
            }
        }
    }
    // A report whose name holds a character the disk forbids.
    const issue_serie r = serie(outils_donnees::fichier(bon, "distincts/x:y.txt"),
                                {"popup_log=2", "popup_resultats=2", "ch_repertoire=" + exfat});
    EXPECT_TRUE(r.alertes.value(0).endsWith(
        "\\n\\nLe fichier de rapport «\u00A0" + exfat +
        "/x:y.log\u00A0» n'a pas pu être enregistré\u00A0: " + disque_refuse))
        << qPrintable(r.alertes.value(0));
}

// A TAB inside a quoted field of a comma or semicolon file is a fault of that
// field: the record is refused at its own column and makes no file, in an
// 8-bit encoding as in UTF-16 of either byte order, with or without the
// preview; the records after it are made.
TEST(serie, tabulation_entre_guillemets) {
    const QStringList enregistrements = {"L,12345,42,0,Prix,150,CB,P,0,A,=,\"nom\tsuite\"",
                                         "L,12345,42,0,\"Prix\tTTC\",150,CB,P,0,A,=,prix",
                                         "L,12345,42,0,Réduit,150,CB,P,0,A,=,bon"};
    const QString rapport = "Ligne 1, erreur en colonne 12, tabulation dans un champ entre "
                            "guillemets|Ligne 2, erreur en colonne 5, tabulation dans un champ "
                            "entre guillemets|Ligne 3, fichier bon.pdf OK|";
    const struct {
        QString delimiteur, reglages;
    } delimiteurs[] = {{",", "popup_delimiteur=2"}, {";", "popup_delimiteur=1"}};
    const struct {
        const char* codage;
        QByteArray (*code)(const QString&);
    } codages[] = {
        {"popup_codage=2",
         [](const QString& t) -> QByteArray { return QStringEncoder("windows-1252").encode(t); }},
        {"popup_codage=4", [](const QString& t) { return "\xFE\xFF" + outils_donnees::utf16(t); }},
        {"popup_codage=4",
         [](const QString& t) { return "\xFF\xFE" + outils_donnees::utf16(t, false); }},
    };
    for (const auto& d : delimiteurs)
        for (const auto& c : codages)
            for (const char* previsualiser : {"cb_previsualiser=false", "cb_previsualiser=true"}) {
                const QString texte = enregistrements.join("\r\n").replace(u',', d.delimiteur);
                QDir(test_support::dossier_test() + "/sortie").removeRecursively();
                const issue_serie r =
                    serie(outils_donnees::fichier(c.code(texte), "tab.csv"),
                          {"popup_log=1", "cb_log=false", d.reglages, c.codage, previsualiser});
                const std::string quoi = (d.reglages + ' ' + c.codage + ' ' + previsualiser + ' ' +
                                          QString::fromLatin1(c.code(texte).left(2).toHex()))
                                             .toStdString();
                EXPECT_EQ(r.code, 0) << quoi;
                EXPECT_EQ(r.rapport.join('|'), rapport) << quoi;
                EXPECT_EQ(r.resultats, QStringList{"bon.pdf"}) << quoi;
            }
}

// A cell typed on Windows holds CR LF: one line end of the note, as between
// records; the other line ends inside quotes each stay one.
TEST(serie, fin_de_ligne_entre_guillemets) {
    const QByteArray texte = "L;12345;42;0;Prix;150;CB;P;0;A;=;note1;\"un\r\ndeux\"\r\n"
                             "L;12345;42;0;Prix;150;CB;P;0;A;=;note2;\"un\ndeux\rtrois\r\n\r\n\"";
    const issue_serie r = serie(outils_donnees::fichier(texte, "note.csv"),
                                {"popup_log=1", "cb_log=false", "popup_delimiteur=1"});
    EXPECT_EQ(r.rapport.join('|'), "Ligne 1, fichier note1.pdf OK|Ligne 2, fichier note2.pdf OK|");
    const QString sortie = test_support::dossier_test() + "/sortie/";
    EXPECT_TRUE(lit(sortie + "note1.pdf").contains("(un\\r\\ndeux\\r\\n--\\r\\n"));
    EXPECT_TRUE(
        lit(sortie + "note2.pdf").contains("(un\\r\\ndeux\\r\\ntrois\\r\\n\\r\\n\\r\\n--\\r\\n"));
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
    // No copy can be made: the message names the cause.
    const QByteArray gros = "<?xml version=\"1.0\"?><valdorin/>\n" + bon.repeated(200);
    const struct {
        QString donnees, temporaire, raison;
        rlim_t limite = RLIM_INFINITY;
    } impossibles[] = {
        {entete, temporaire + "/absent", "son dossier n'existe pas."},
        {outils_donnees::fichier(gros, "gros.txt"), temporaire,
         "le fichier dépasse la taille permise.", 4096},
    };
    for (const auto& c : impossibles) {
        const issue_serie sans = serie(c.donnees, {}, c.temporaire, c.limite);
        EXPECT_EQ(sans.code, 1);
        EXPECT_EQ(sans.alertes, QStringList{"Les enregistrements du fichier de données n'ont pas "
                                            "pu être copiés dans le dossier temporaire «\u00A0" +
                                            c.temporaire + "\u00A0»\u00A0: " + c.raison +
                                            "\\n\\nOuverture annulée !"});
    }
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

    // The data file gone when the folder was chosen: the run says that it
    // stopped, where and why, and the page is at rest.
    participants::lecteur_alertes alertes;
    struct efface : participants::presentateur_essai {
        QString donnees;
        QString montre(const bibliotheque_v1::demande_dialogue& d) override {
            if (!donnees.isEmpty())
                QFile::remove(donnees);
            return presentateur_essai::montre(d);
        }
    } effaceur;
    effaceur.donnees = donnees;
    effaceur.reponses = {test_support::dossier_test() + "/sortie"};
    alertes.attend();
    page.creer_serie();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !page.travail_en_cours; }, 10000));
    EXPECT_EQ(alertes.textes,
              QStringList{"Aucun fichier eps ou pdf n'a été généré\ndans le répertoire "
                          "spécifié\n\nLa création a été interrompue à la ligne 1\u00A0: le "
                          "fichier de données n'a pas pu être ouvert\u00A0: il n'existe pas."});
    au_repos();

    // The data file changed while it was read, directly or for the preview:
    // told as such, never as a complete run.
    // A file longer than the reader's first chunk, so that it changes while
    // it is read; its few long records are refused quickly, made of one column.
    for (const bool apercu : {false, true}) {
        outils_donnees::fichier((QByteArray(1000, 'x') + "\r\n").repeated(300));
        page.cb_previsualiser->setChecked(apercu);
        effaceur.donnees.clear();
        effaceur.reponses = {test_support::dossier_test() + "/sortie"};
        alertes.textes.clear();
        alertes.attend();
        page.creer_serie();
        QFile ajout(donnees);
        ASSERT_TRUE(ajout.open(QIODevice::Append) && ajout.write(bon) > 0);
        ajout.close();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !page.travail_en_cours; }, 60000));
        const QString texte = alertes.textes.value(0);
        EXPECT_TRUE(texte.startsWith(apercu ? "La lecture du fichier de données a été interrompue "
                                            : "Aucun fichier eps ou pdf n'a été généré"))
            << qPrintable(texte);
        EXPECT_TRUE(texte.contains("\u00A0: le fichier de données a changé pendant la lecture."))
            << qPrintable(texte);
        au_repos();
    }
    page.cb_previsualiser->setChecked(false);

    // A header that locks the page: at the end the lock applies whole, caption and cb_log too.
    page.fi_lecture_officiel = outils_donnees::fichier(
        "<?xml version=\"1.0\"?><valdorin><multiples_actif>0</multiples_actif></valdorin>\n" + bon,
        "verrou.txt");
    alertes.textes.clear();
    effaceur.reponses = {test_support::dossier_test() + "/sortie"};
    alertes.attend();
    page.creer_serie();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !page.travail_en_cours; }, 10000));
    EXPECT_FALSE(page.interface_active || page.cb_log->isEnabled());
    EXPECT_EQ(page.bt_verrouiller->text(), "Déverrouiller");
}

// The result folder renamed and a link put in its place during a run: the
// records left fail with their reason, and nothing reaches the link's target.
TEST(serie, dossier_remplace_pendant_la_serie) {
    const QString d = test_support::dossier_test();
    QByteArray lignes;
    for (int i = 0; i < 3000; ++i)
        lignes += QByteArray(bon).replace("code1", "c" + QByteArray::number(i));
    QDir().mkpath(d + "/sortie");
    QDir().mkpath(d + "/cible");
    participants::presentateur_essai dialogues;
    dialogues.reponses = {d + "/sortie"};
    participants::lecteur_alertes alertes;
    alertes.attend();
    csp_creer_plusieurs page;
    page.popup_log->setCurrentIndex(1);
    page.fi_lecture_officiel = outils_donnees::fichier(lignes);
    // Once the 100th file is written, before it takes its name.
    int fichiers = 0;
    static std::function<void()> deplace;
    deplace = [&] {
        if (++fichiers != 100)
            return;
        EXPECT_TRUE(QDir().rename(d + "/sortie", d + "/deplace"));
        EXPECT_TRUE(QFile::link(d + "/cible", d + "/sortie"));
    };
    bibliotheque_v1::essai_avant_renommage = [](const QByteArray&) { deplace(); };
    const auto retour = qScopeGuard([] { bibliotheque_v1::essai_avant_renommage = nullptr; });
    page.creer_serie();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !page.travail_en_cours; }, 60000));
    EXPECT_EQ(QDir(d + "/cible").entryList(QDir::Files | QDir::Hidden), QStringList());
    const QStringList rapport = QString::fromUtf8(lit(d + "/donnees.log")).split('\n');
    const QString raison = "\u00A0: le répertoire des résultats «\u00A0" + d +
                           "/sortie/\u00A0» a été déplacé, supprimé ou remplacé pendant la "
                           "création.";
    const qsizetype faits = rapport.filter(QRegularExpression(" OK$")).size();
    EXPECT_EQ(rapport.filter(QRegularExpression(" non créé" + raison + "$")).size(), 3000 - faits);
    EXPECT_GE(faits, 100);
    EXPECT_GT(3000 - faits, 0);
    EXPECT_EQ(QDir(d + "/deplace").entryList(QDir::Files).size(), faits);
    EXPECT_TRUE(alertes.textes.value(0).contains(QString::number(3000 - faits) + " erreurs"));
}

// A process killed at the worst moment, a file written under its temporary
// name and not yet named, leaves no file cut short under a name and the
// report's lines so far in its partial file. A writer that wrote in place
// would never reach that moment, and the process would end normally. A
// complete run again over the same files makes them all and removes what the
// killed run left.
TEST(serie, arret_brutal) {
    const QString d = test_support::dossier_test(), s = d + "/sortie/";
    QByteArray lignes;
    for (int i = 0; i < 400; ++i)
        lignes += QByteArray(bon).replace("code1", "k" + QByteArray::number(i));
    const QString donnees = outils_donnees::fichier(lignes);
    QDir().mkpath(s);
    QProcess outil;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VALDORIN_ARRET_AVANT_NOMMAGE", "300");
    outil.setProcessEnvironment(env);
    outil.start(SERIE_DONNEES, {donnees, s, "popup_log=1"});
    ASSERT_TRUE(outil.waitForFinished(60000));
    EXPECT_EQ(outil.exitStatus(), QProcess::CrashExit);
    const QStringList faits = QDir(s).entryList(QDir::Files);
    EXPECT_EQ(faits.size(), 299);
    for (const QString& nom : faits)
        EXPECT_TRUE(lit(s + nom).endsWith("%%EOF\r")) << qPrintable(nom);
    const QStringList restes =
        QDir(s).entryList({".valdorin-inacheve-*.tmp"}, QDir::Files | QDir::Hidden);
    ASSERT_EQ(restes.size(), 1);
    EXPECT_TRUE(lit(s + restes[0]).endsWith("%%EOF\r"));
    EXPECT_FALSE(QFileInfo::exists(d + "/donnees.log"));
    const QStringList partiel =
        QString::fromUtf8(lit(d + "/donnees.partiel.log")).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(partiel.size(), 299);
    for (int i = 0; i < partiel.size(); ++i)
        EXPECT_EQ(partiel[i], QString("Ligne %1, fichier k%2.eps OK").arg(i + 1).arg(i));

    const issue_serie encore = serie(donnees, {"popup_log=1", "cb_log=false"});
    EXPECT_EQ(encore.rapport.filter(QRegularExpression(" OK$")).size(), 400);
    EXPECT_EQ(QDir(s).entryList(QDir::Files | QDir::Hidden).size(), 400);
    EXPECT_EQ(QDir(d).entryList({"donnees.*"}, QDir::Files),
              (QStringList{"donnees.log", "donnees.txt"}));
}

TEST(serie, nom_du_rapport) {
    for (const QString& cas :
         QString("liste.txt=liste liste=liste a.b.csv=a.b liste.=liste .csv=").split(' '))
        EXPECT_EQ(csp_creer_plusieurs::nom_rapport("/d/" + cas.section('=', 0, 0)),
                  cas.section('=', 1) + ".log");
}

// Runs made by a user in folders shared with others: a hot folder that may
// be written and not listed, a sticky team folder where a colleague's files
// and report are written over in place, and reports that keep their mode,
// group and owner however the run replaces them.
TEST(serie, dossiers_partages) {
    using namespace test_support;
    if (const std::string raison = sans_autres_utilisateurs(SERIE_DONNEES); !raison.empty())
        GTEST_SKIP() << raison;
    const QString d = dossier_test();
    ::chmod(QFile::encodeName(d).constData(), 0755);
    const utilisateur membre{moi, moi, {equipe}};
    const struct {
        const char* cas;
        gid_t groupe_sortie;
        mode_t mode_sortie;
        int place_rapport; // 1 beside the data file, 2 beside the results
        proprietes rapport_avant, rapport_apres;
    } cas[] = {
        {"dépôt sans lecture", 0, 0733, 1, {moi, moi, 0644}, {moi, moi, 0644}},
        {"dossier d'équipe collant",
         equipe,
         03775,
         2,
         {collegue, equipe, 0664},
         {collegue, equipe, 0664}},
        {"rapport privé", moi, 0755, 1, {moi, moi, 0600}, {moi, moi, 0600}},
        {"rapport d'équipe", moi, 0755, 1, {moi, equipe, 0664}, {moi, equipe, 0664}},
    };
    int n = 0;
    for (const auto& c : cas) {
        const QString ici = d + "/cas" + QString::number(++n), sortie = ici + "/sortie";
        dossier_de(ici, moi, moi, 0755);
        dossier_de(sortie, c.groupe_sortie == moi ? moi : 0, c.groupe_sortie, c.mode_sortie);
        const QString donnees = ici + "/donnees.txt";
        fichier_de(donnees, bon + pdf, moi, moi, 0644);
        // In the team folder, a colleague's file of an earlier run at the
        // first record's name.
        const bool equipe_seule = c.groupe_sortie == equipe;
        if (equipe_seule)
            fichier_de(sortie + "/code1.eps", "%!PS-Adobe-3.0 ancien", collegue, equipe, 0664);
        const QString rapport = (c.place_rapport == 1 ? ici : sortie) + "/donnees.log";
        fichier_de(rapport, "ancien rapport", c.rapport_avant.uid, c.rapport_avant.gid,
                   c.rapport_avant.mode);
        QString texte;
        const int code = lance_en_tant_que(
            membre, SERIE_DONNEES,
            {donnees, sortie, "cb_log=false", "popup_log=" + QString::number(c.place_rapport)},
            &texte);
        EXPECT_EQ(code, 0) << c.cas << qPrintable(texte);
        EXPECT_EQ(lit(rapport), "Ligne 1, fichier code1.eps OK\nLigne 2, fichier code3.pdf OK\n")
            << c.cas;
        EXPECT_EQ(proprietes_de(rapport), c.rapport_apres) << c.cas;
        EXPECT_TRUE(lit(sortie + "/code1.eps").startsWith("%!PS-Adobe-3.0 EPSF-3.0")) << c.cas;
        EXPECT_EQ(proprietes_de(sortie + "/code1.eps").uid, equipe_seule ? collegue : moi) << c.cas;
        EXPECT_TRUE(lit(sortie + "/code3.pdf").startsWith("%PDF-1.3")) << c.cas;
        EXPECT_EQ(QDir(sortie).entryList(QDir::Files | QDir::Hidden),
                  (QStringList{"code1.eps", "code3.pdf"} +
                   (c.place_rapport == 2 ? QStringList{"donnees.log"} : QStringList())))
            << c.cas;
    }
}

// What killed runs left is removed by a complete run, and nothing else: the
// partial reports of its own report that no run holds, and in its result
// folder the temporary files of processes that no longer run on this
// machine, or that another machine left a day ago. A partial report locked
// by a run still going, another report's, a recent file of another machine
// and files of other names stay. A hundred partial reports do not stop the
// report.
TEST(serie, restes_des_series_tuees) {
    const QString d = test_support::dossier_test(), s = d + "/sortie/";
    QDir().mkpath(s);
    const QString donnees = outils_donnees::fichier(bon);
    // A hundred partial reports of killed runs and one of a run still going,
    // marked as a run marks them; the complete report of a data file named
    // "donnees.partiel-102.txt" bears no mark.
    QStringList gardes = {"donnees.txt",
                          "donnees.log",
                          "autre.partiel.log",
                          "donnees.partiel-x.log",
                          "donnees.partiel-101.log",
                          "donnees.partiel-102.log"};
    for (int i = 1; i <= 101; ++i) {
        const QString partiel = outils_donnees::fichier(
            "Ligne 1, fichier code1.eps OK\n",
            i == 1 ? QString("donnees.partiel.log") : QString("donnees.partiel-%1.log").arg(i));
        ASSERT_EQ(::setxattr(QFile::encodeName(partiel).constData(), rapport_serie::marque_partiel,
                             "1", 1, 0),
                  0);
    }
    for (const char* nom :
         {"autre.partiel.log", "donnees.partiel-x.log", "donnees.partiel-102.log"})
        outils_donnees::fichier("", nom);
    QFile vivant(d + "/donnees.partiel-101.log");
    ASSERT_TRUE(vivant.open(QIODevice::ReadWrite));
    ASSERT_EQ(::flock(vivant.handle(), LOCK_EX | LOCK_NB), 0);

    QByteArray machine = QSysInfo::machineHostName().toUtf8().left(64);
    for (char& c : machine)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.')
            c = '_';
    QProcess fini;
    fini.start("true");
    ASSERT_TRUE(fini.waitForStarted());
    const QString mort = QString::number(fini.processId());
    ASSERT_TRUE(fini.waitForFinished());
    const struct {
        QString nom;
        qint64 age_s;
        bool garde;
    } temporaires[] = {
        {".valdorin-inacheve-" + machine + "-" + mort + "-1.tmp", 0, false},
        {".valdorin-inacheve-" + machine + "-1-1.tmp", 0, true}, // process 1 runs
        {".valdorin-inacheve-ailleurs-" + mort + "-1.tmp", 3600, true},
        {".valdorin-inacheve-ailleurs-" + mort + "-2.tmp", 2 * 86400, false},
        {".valdorin-inacheve-notes.tmp", 2 * 86400, true},
        {"notes.tmp", 2 * 86400, true},
    };
    QStringList restes = {"code1.eps"};
    for (const auto& t : temporaires) {
        QFile f(s + t.nom);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.setFileTime(QDateTime::currentDateTime().addSecs(-t.age_s),
                      QFileDevice::FileModificationTime);
        if (t.garde)
            restes << t.nom;
    }

    const issue_serie r = serie(donnees, {"popup_log=1", "cb_log=false"});
    EXPECT_EQ(r.rapport, (QStringList{"Ligne 1, fichier code1.eps OK", ""}));
    char marque = 0;
    EXPECT_LT(::getxattr(QFile::encodeName(d + "/donnees.log").constData(),
                         rapport_serie::marque_partiel, &marque, 1),
              0); // the report is no partial file any more
    gardes.sort();
    EXPECT_EQ(QDir(d).entryList(QDir::Files | QDir::Hidden, QDir::Name).join(' ').toStdString(),
              gardes.join(' ').toStdString());
    restes.sort();
    EXPECT_EQ(QDir(s).entryList(QDir::Files | QDir::Hidden, QDir::Name).join(' ').toStdString(),
              restes.join(' ').toStdString());
}

// A data file named up to the system's limit for a name gets its report:
// the partial report's name is cut to fit, whole characters only.
TEST(serie, nom_de_donnees_a_la_limite) {
    for (const QString& base : {QString(244, 'n'), QString(251, 'n'), QString(125, u'é') + 'x',
                                QString(124, u'é') + 'x'}) {
        const QString donnees = outils_donnees::fichier(bon + bon, base + ".txt");
        ASSERT_FALSE(donnees.isEmpty()) << base.size();
        const issue_serie r = serie(donnees, {"popup_log=1", "cb_log=false"});
        EXPECT_EQ(r.rapport, (QStringList{"Ligne 1, fichier code1.eps OK",
                                          "Ligne 2, erreur en colonne 12, nom de fichier déjà "
                                          "utilisé ligne 1",
                                          ""}))
            << base.size();
        EXPECT_EQ(
            QDir(test_support::dossier_test()).entryList({"*.partiel*"}, QDir::Files).join(' '), "")
            << base.size();
        QFile::remove(donnees);
        QFile::remove(test_support::dossier_test() + "/" + base + ".log");
    }
}
