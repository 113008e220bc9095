#include "../core/outils_parametres.h"
#include "environnement.h"
#include "fichiers_parametres.h"
#include "parametres_v1.h"
#include "participants.h"
#include "participants_fichiers.h"
#include "repondeur.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <gtest/gtest.h>

#include <csignal>
#include <random>

#include <sys/resource.h>
#include <sys/stat.h>

using parametres_v1::dictionnaire;
using parametres_v1::dictionnaire_parametres;

using namespace outils_parametres;

TEST_F(FichiersParametres, FirstStartImportsNothingAndQuitWritesTheCurrentFile) {
    participants::application application;
    participants::fenetre fenetre;
    fenetre.page.ch_prix->setText("initial");
    fenetre.page.popup_engraissement->setCurrentIndex(2);
    dictionnaire_parametres.reset();

    parametres_v1::importe_preferences();
    EXPECT_TRUE(dictionnaire_parametres);
    EXPECT_EQ(parametres_v1::niveau_version_preferences, 7);
    EXPECT_TRUE(fenetre.passages.isEmpty());
    EXPECT_EQ(fenetre.page.ch_prix->text(), "initial");
    EXPECT_TRUE(QFileInfo(dossier_preferences()).isDir());

    parametres_v1::exporte_preferences();
    const QByteArray contenu = lit(dossier_preferences() + "/Valdorin_2_2.prefs");
    EXPECT_TRUE(contenu.startsWith(entete));
    EXPECT_TRUE(contenu.contains("<unique_ch_prix>initial</unique_ch_prix>"));
    EXPECT_TRUE(contenu.contains("<unique_popup_engraissement>2</unique_popup_engraissement>"));
    EXPECT_TRUE(contenu.contains("<globale_aide>false</globale_aide>"));
}

TEST_F(FichiersParametres, AnOlderFileIsReadAtItsLevelAndNeverChanged) {
    participants::application application;
    QDir().mkpath(dossier_preferences());
    const QString ancien = dossier_preferences() + "/Valdorin_2_1.prefs";
    const QByteArray contenu =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><valdorin><unique_ch_prix>250</unique_ch_prix>"
        "<main_contenu>3</main_contenu><globale_aide>true</globale_aide></valdorin>";
    ecrit(ancien, contenu);
    // The oldest file is not reached.
    ecrit(dossier_preferences() + "/Valdorin_2_0.prefs",
          "<valdorin><unique_ch_prix>999</unique_ch_prix></valdorin>");

    // The main window notes the level at which the owners bind, and what the
    // application object had bound before it.
    struct fenetre_niveau : participants::fenetre {
        std::int32_t niveau = -1;
        const QStringList* passages_application = nullptr;
        QStringList application_avant;
        void import_export_parametres(const QString& genre, const QString& sens) override {
            niveau = parametres_v1::niveau_version_preferences;
            application_avant = *passages_application;
            participants::fenetre::import_export_parametres(genre, sens);
        }
    } observee;
    observee.passages_application = &application.passages;

    parametres_v1::importe_preferences();
    EXPECT_EQ(observee.application_avant, QStringList{"init/import"});
    EXPECT_EQ(observee.niveau, 2);
    EXPECT_EQ(parametres_v1::niveau_version_preferences, 3);
    EXPECT_EQ(observee.page.ch_prix->text(), "250");
    EXPECT_EQ(observee.contenu, 3);
    EXPECT_TRUE(application.menu_aide_contextuelle.isChecked());
    EXPECT_TRUE(dictionnaire_parametres->isEmpty()); // emptied after the import

    parametres_v1::exporte_preferences();
    EXPECT_EQ(lit(ancien), contenu);
    EXPECT_TRUE(lit(dossier_preferences() + "/Valdorin_2_2.prefs")
                    .contains("<unique_ch_prix>250</unique_ch_prix>"));
}

TEST_F(FichiersParametres, ARefusedFileStopsTheSearchAndIsKeptAsideAndTold) {
    repondeur::garde garde;
    participants::application application;
    participants::fenetre fenetre;
    participants::lecteur_alertes alertes;
    fenetre.page.ch_prix->setText("initial");
    QDir().mkpath(dossier_preferences());
    ecrit(dossier_preferences() + "/Valdorin_2_1.prefs",
          "<valdorin><unique_ch_prix>111</unique_ch_prix></valdorin>");
    const struct {
        const char *fichier, *garde, *raison;
        QByteArray contenu;
    } cas[] = {{"2_2", "2_2 (refusé)", "endommagé", ""},
               {"2_2", "2_2 (refusé 2)", "endommagé", "<autre><a_b>1</a_b></autre>"},
               {"2_2", "2_2 (refusé 3)", "trop grand", "<valdorin>" + QByteArray(1 << 20, 'x')},
               {"2_11", "2_11", "endommagé", "<valdorin>"}}; // an older version's: left as it is
    for (const auto& c : cas) {
        ecrit(dossier_preferences() + "/Valdorin_" + c.fichier + ".prefs", c.contenu);
        parametres_v1::niveau_version_preferences = 0;
        alertes.textes.clear();
        alertes.attend();
        parametres_v1::importe_preferences();
        EXPECT_TRUE(fenetre.passages.isEmpty());
        EXPECT_EQ(fenetre.page.ch_prix->text(), "initial");
        EXPECT_EQ(lit(dossier_preferences() + "/Valdorin_" + c.garde + ".prefs"), c.contenu);
        const QString texte = alertes.textes.join("");
        EXPECT_TRUE(texte.contains(c.raison) && texte.contains(c.garde + QString(".prefs\u00A0»")))
            << texte.toStdString();
    }
}

TEST_F(FichiersParametres, NoEventRunsInsideTheSearchThePassTheReaderOrTheWriter) {
    participants::application application;
    // The main window notes whether a waiting event ran during the pass.
    struct fenetre_attentive : participants::fenetre {
        bool* evenement = nullptr;
        bool vu_pendant_passe = false;
        void import_export_parametres(const QString& genre, const QString& sens) override {
            vu_pendant_passe = vu_pendant_passe || *evenement;
            participants::fenetre::import_export_parametres(genre, sens);
        }
    } fenetre;
    bool evenement = false;
    fenetre.evenement = &evenement;
    QDir().mkpath(dossier_preferences());
    ecrit(dossier_preferences() + "/Valdorin_2_01.prefs",
          "<valdorin><unique_ch_prix>7</unique_ch_prix><onglets_contenu>1,2</onglets_contenu>"
          "</valdorin>");

    // An event is waiting (a quit, a drop) while each operation runs.
    QTimer::singleShot(0, [&evenement] { evenement = true; });
    parametres_v1::importe_preferences();
    EXPECT_FALSE(evenement);
    parametres_v1::exporte_preferences();
    EXPECT_FALSE(evenement);
    EXPECT_GT(parametres_v1::importe_xml_preferences(dossier_preferences() + "/Valdorin_2_2.prefs",
                                                     QString()),
              0);
    EXPECT_TRUE(parametres_v1::cree_xml());
    EXPECT_FALSE(evenement);
    EXPECT_FALSE(fenetre.vu_pendant_passe);
    EXPECT_EQ(fenetre.onglets, (QList<std::int32_t>{1, 2}));
    QCoreApplication::processEvents();
    EXPECT_TRUE(evenement);
}

TEST_F(FichiersParametres, TheStartRemovesTheTemporaryFilesOfKilledQuitsAndNothingElse) {
    static QString vivant; // this live process's temporary file, noted, its write then stopped
    bibliotheque_v1::essai_avant_renommage = [](const QByteArray& t) { throw vivant = t; };
    parametres_v1::exporte_preferences();
    bibliotheque_v1::essai_avant_renommage = nullptr;
    const QString ici = vivant.section('-', 0, -3), mort = ici + "-4194305-"; // above any pid
    const QStringList noms = {mort + "1.tmp",     ici + "-1-1.tmp", ici + "_x-4194305-1.tmp",
                              mort + "1 (2).tmp", mort + "2.tmp",   vivant}; // the first goes
    ASSERT_TRUE(vivant.startsWith('/') && QFile::link(vivant, noms[4]));
    ASSERT_FALSE(QProcess::execute("touch", QStringList{"-d@0"} + noms.first(4)));
    parametres_v1::importe_preferences();
    for (const QString& nom : noms)
        EXPECT_EQ(QFileInfo::exists(nom), nom != noms[0]) << nom.toStdString();
}
