#include "../core/outils_parametres.h"
#include "dialogues_fichiers.h"
#include "environnement.h"
#include "fichiers_parametres.h"
#include "limite_fichiers.h"
#include "messages.h"
#include "parametres_v1.h"
#include "participants.h"
#include "participants_fichiers.h"
#include "repondeur.h"
#include "types_fichiers.h"
#include "w_alerte.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>

using bibliotheque_v1::demande_dialogue;
using parametres_v1::dictionnaire_parametres;

namespace {

// The main window, which also notes its refreshes and can lose a folder
// while the state is being gathered.
class fenetre_memo : public participants::fenetre {
public:
    void import_export_parametres(const QString& genre, const QString& sens) override {
        participants::fenetre::import_export_parametres(genre, sens);
        if (!dossier_a_retirer.isEmpty())
            QDir(dossier_a_retirer).removeRecursively();
    }
    void maj(const QString& genre) override { mises_a_jour.append(genre); }
    QStringList mises_a_jour;
    QString dossier_a_retirer;
};

QStringList lignes(const QString& texte) {
    return texte.split(QRegularExpression("\r\n|\r|\n|\u2029"));
}

const QString enregistre = "L'état du logiciel a été correctement enregistré !";
const QString restaure = "L'état du logiciel a été correctement restauré !";
const QString restaure_partiel = "Le paramétrage a été correctement restauré !";
const QString pas_un_etat =
    "Ce fichier ne semble pas être un état enregistré de cette application !";

class FichiersMemo : public testing::Test {
protected:
    void SetUp() override {
        ensemble_fichiers_drop::Initialize();
        bibliotheque_v1::dossier_lecture.clear();
        bibliotheque_v1::dossier_ecriture.clear();
        bibliotheque_v1::dossier_courant.clear();
        parametres_v1::niveau_version_preferences = 0;
        dictionnaire_parametres = parametres_v1::dictionnaire();
        dossier = test_support::dossier_test() + "/etats";
        QDir().mkpath(dossier);
    }
    void TearDown() override { dictionnaire_parametres.reset(); }

    // Fills every bound control and value with something other than its default.
    void remplit() {
        application.menu_aide_contextuelle.setChecked(true);
        fenetre.contenu = 3;
        fenetre.onglets = {};
        fenetre.derniere_version = 2.2;
        fenetre.page.ch_prix->setText("1,50");
        fenetre.page.ch_commentaire->setPlainText("ligne 1\nligne 2\r\nligne <3> & \"fin\"");
        fenetre.page.popup_type_fichier->setCurrentIndex(1);
        fenetre.page.popup_engraissement->setCurrentIndex(4);
        fenetre.page.cb_visualiser->setChecked(true);
    }

    // Changes every one of them.
    void brouille() {
        application.menu_aide_contextuelle.setChecked(false);
        fenetre.contenu = 0;
        fenetre.onglets = {1, 4};
        fenetre.derniere_version = 0;
        fenetre.page.ch_prix->setText("9");
        fenetre.page.ch_commentaire->setPlainText("autre");
        fenetre.page.popup_type_fichier->setCurrentIndex(0);
        fenetre.page.popup_engraissement->setCurrentIndex(0);
        fenetre.page.cb_visualiser->setChecked(false);
    }

    repondeur::garde garde;
    participants::application application;
    fenetre_memo fenetre;
    participants::presentateur_essai presentateur;
    participants::lecteur_alertes alertes;
    QString dossier;
};

} // namespace

TEST_F(FichiersMemo, PreferencesRoundTripRestoresEveryBindersValue) {
    remplit();
    parametres_v1::exporte_preferences();
    const auto premier = *dictionnaire_parametres;
    brouille();

    parametres_v1::niveau_version_preferences = 0;
    parametres_v1::importe_preferences();
    EXPECT_TRUE(application.menu_aide_contextuelle.isChecked());
    EXPECT_EQ(fenetre.contenu, 3);
    EXPECT_TRUE(fenetre.onglets.isEmpty());
    EXPECT_EQ(fenetre.derniere_version, 2.2);
    EXPECT_EQ(fenetre.page.ch_prix->text(), "1,50");
    EXPECT_EQ(lignes(fenetre.page.ch_commentaire->toPlainText()),
              (QStringList{"ligne 1", "ligne 2", "ligne <3> & \"fin\""}));
    EXPECT_EQ(fenetre.page.popup_type_fichier->currentIndex(), 1);
    EXPECT_EQ(fenetre.page.popup_engraissement->currentIndex(), 4);
    EXPECT_TRUE(fenetre.page.cb_visualiser->isChecked());

    // Exported again, the state is the one that was saved.
    parametres_v1::import_export_parametres("init", "export");
    EXPECT_EQ(*dictionnaire_parametres, premier);
}

TEST_F(FichiersMemo, SavingTheStateWritesTheFileAndConfirms) {
    remplit();
    const QString chemin = dossier + "/Etat de Valdorin.valdorin";
    presentateur.reponses = {chemin};
    alertes.attend();
    parametres_v1::exporte_fichier_memo();
    EXPECT_EQ(alertes.textes, QStringList{enregistre});

    ASSERT_EQ(presentateur.demandes.size(), 1);
    const demande_dialogue& demande = presentateur.demandes.first();
    EXPECT_EQ(demande.genre, demande_dialogue::enregistrer_fichier);
    EXPECT_EQ(demande.nom_propose, "Etat de Valdorin");
    EXPECT_EQ(demande.suffixe_defaut, "valdorin");
    EXPECT_EQ(demande.filtre, "Valdorin State (*.valdorin)");
    EXPECT_EQ(demande.proprietaire, &fenetre);
    EXPECT_EQ(demande.dossier_depart,
              QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    EXPECT_TRUE(fenetre.passages.contains("memo/export"));

    QFile fichier(chemin);
    ASSERT_TRUE(fichier.open(QIODevice::ReadOnly));
    const QByteArray contenu = fichier.readAll();
    EXPECT_TRUE(contenu.startsWith("<?xml"));
    EXPECT_TRUE(contenu.contains("<unique_ch_prix>1,50</unique_ch_prix>"));
    EXPECT_FALSE(dictionnaire_parametres->isEmpty()); // kept after a save
}

TEST_F(FichiersMemo, CancellingTheSaveDoesNothing) {
    parametres_v1::exporte_fichier_memo();
    EXPECT_TRUE(fenetre.passages.isEmpty());
    EXPECT_TRUE(alertes.textes.isEmpty());
    EXPECT_TRUE(QDir(dossier).isEmpty());
}

TEST_F(FichiersMemo, AStateThatCouldNotBeWrittenIsNeverConfirmed) {
    participants::rapports rapports;
    const QString disparu = dossier + "/disque";
    QDir().mkpath(disparu);
    fenetre.dossier_a_retirer = disparu; // the folder goes while the state is gathered
    presentateur.reponses = {disparu + "/etat.valdorin"};
    alertes.attend();
    parametres_v1::exporte_fichier_memo();
    EXPECT_EQ(alertes.textes, QStringList{"L'état du logiciel n'a pas pu être enregistré : son "
                                          "dossier n'existe pas.\r\rEnregistrement annulé !"});
    EXPECT_TRUE(rapports.textes.join("").contains("parametres : exporte_fichier_memo"));
}

// A comment too long for a settings file to be read back: the quit leaves it
// out and says so, the state is not saved, and a state that large is told so.
TEST_F(FichiersMemo, AValueTooLongToBeReadBackIsNeverWrittenWithoutAWord) {
    QLabel legende("Commentaire", &fenetre); // the field's caption, as the page has it
    legende.setBuddy(fenetre.page.ch_commentaire);
    remplit();
    fenetre.page.ch_commentaire->setPlainText(QString(175000, u'"')); // 6 bytes each in XML
    alertes.attend();
    parametres_v1::exporte_preferences();
    const QString etat = dossier + "/etat.valdorin";
    presentateur.reponses = {etat};
    alertes.attend();
    parametres_v1::exporte_fichier_memo();
    EXPECT_FALSE(QFile::exists(etat));
    ASSERT_TRUE(parametres_v1::exporte_xml(etat)); // as the save wrote it before
    alertes.attend();
    parametres_v1::importe_fichier_memo(etat);
    brouille();
    parametres_v1::importe_preferences();
    EXPECT_EQ(fenetre.page.ch_prix->text(), "1,50"); // the rest is read back
    ASSERT_EQ(alertes.textes.size(), 3);
    EXPECT_TRUE(
        alertes.textes[0].contains("sauf le contenu de «\u00A0Commentaire\u00A0», trop long"));
    EXPECT_TRUE(alertes.textes[1].contains(
        "de «\u00A0Commentaire\u00A0» est trop long pour un fichier d'état"));
    EXPECT_TRUE(alertes.textes[2].startsWith("Ce fichier est trop grand pour être un état"));
}

// On a full disk the state or the preferences written before stay as they
// were, and the user is told the system's reason.
TEST_F(FichiersMemo, AFullDiskKeepsTheFileWrittenBeforeAndSaysWhy) {
    const QString etat = dossier + "/etat.valdorin";
    for (const QString& chemin : {etat, parametres_v1::chemin_preferences(0)}) {
        outils_parametres::ecrit(chemin, "ancien contenu");
        alertes.attend();
        const test_support::limite_fichiers limite(0);
        if (chemin == etat) {
            presentateur.reponses = {etat};
            parametres_v1::exporte_fichier_memo();
        } else {
            parametres_v1::exporte_preferences();
        }
        EXPECT_EQ(outils_parametres::lit(chemin), "ancien contenu");
    }
    const QString raison = " : le fichier dépasse la taille permise.\r\r";
    EXPECT_EQ(alertes.textes,
              (QStringList{"L'état du logiciel n'a pas pu être enregistré" + raison +
                               "Enregistrement annulé !",
                           "Les réglages courants n'ont pas pu être enregistrés pour le prochain "
                           "lancement" +
                               raison + "Les réglages enregistrés auparavant sont conservés."}));
}

TEST_F(FichiersMemo, RestoringTheStateBringsBackEveryControl) {
    remplit();
    const QString chemin = dossier + "/etat.valdorin";
    presentateur.reponses = {chemin};
    alertes.attend();
    parametres_v1::exporte_fichier_memo();
    brouille();
    fenetre.passages.clear();

    presentateur.reponses = {chemin};
    alertes.attend();
    parametres_v1::choisit_importe_fichier_memo();
    EXPECT_EQ(alertes.textes, (QStringList{enregistre, restaure}));
    EXPECT_EQ(presentateur.demandes.last().genre, demande_dialogue::ouvrir_fichier);
    EXPECT_EQ(presentateur.demandes.last().dossier_depart, dossier); // remembered
    EXPECT_EQ(fenetre.passages, (QStringList{"memo/export", "memo/import"}));
    EXPECT_EQ(fenetre.mises_a_jour, QStringList{"memo"});
    EXPECT_EQ(fenetre.page.ch_prix->text(), "1,50");
    EXPECT_EQ(lignes(fenetre.page.ch_commentaire->toPlainText()),
              (QStringList{"ligne 1", "ligne 2", "ligne <3> & \"fin\""}));
    EXPECT_EQ(fenetre.page.popup_engraissement->currentIndex(), 4);
    EXPECT_TRUE(fenetre.page.cb_visualiser->isChecked());
    EXPECT_TRUE(dictionnaire_parametres->isEmpty());
}

TEST_F(FichiersMemo, AStateWithFewerEntriesEmptiesTheTextsItLacksAndSaysSo) {
    fenetre.page.ch_commentaire->setPlainText("");
    fenetre.page.ch_prix->setText("2,00");
    const QString chemin = dossier + "/etat.valdorin";
    presentateur.reponses = {chemin};
    alertes.attend();
    parametres_v1::exporte_fichier_memo();

    fenetre.page.ch_commentaire->setPlainText("commentaire actuel");
    fenetre.page.ch_prix->setText("3,00");
    alertes.attend();
    parametres_v1::importe_fichier_memo(chemin);
    EXPECT_EQ(alertes.textes.last(), restaure_partiel);
    EXPECT_EQ(fenetre.page.ch_commentaire->toPlainText(), "");
    EXPECT_EQ(fenetre.page.ch_prix->text(), "2,00");
}

TEST_F(FichiersMemo, HandEditedValuesApplyOnlyWhereTheControlAcceptsThem) {
    fenetre.page.popup_engraissement->setCurrentIndex(2);
    const QString chemin = dossier + "/modifie.valdorin";
    QFile fichier(chemin);
    ASSERT_TRUE(fichier.open(QIODevice::WriteOnly));
    fichier.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?><valdorin>"
                  "<unique_popup_engraissement>7</unique_popup_engraissement>"
                  "<unique_popup_type_fichier>-3</unique_popup_type_fichier>"
                  "<unique_ch_prix></unique_ch_prix></valdorin>");
    fichier.close();
    fenetre.page.ch_prix->setText("5,00");
    alertes.attend();
    parametres_v1::importe_fichier_memo(chemin);
    EXPECT_EQ(fenetre.page.popup_engraissement->currentIndex(), 2);
    EXPECT_EQ(fenetre.page.popup_type_fichier->currentIndex(), 0);
    EXPECT_EQ(fenetre.page.ch_prix->text(), ""); // an empty element is an empty value
}

TEST_F(FichiersMemo, AFileThatIsNotAStateChangesNothing) {
    fenetre.page.ch_prix->setText("4,00");
    const QString chemin = dossier + "/texte.valdorin";
    QFile fichier(chemin);
    ASSERT_TRUE(fichier.open(QIODevice::WriteOnly));
    fichier.write("Ceci est un texte ordinaire.\n");
    fichier.close();
    alertes.attend();
    parametres_v1::importe_fichier_memo(chemin);
    EXPECT_EQ(alertes.textes, QStringList{pas_un_etat});
    EXPECT_EQ(fenetre.page.ch_prix->text(), "4,00");
    EXPECT_FALSE(fenetre.passages.contains("memo/import"));
    EXPECT_TRUE(fenetre.mises_a_jour.isEmpty());
    EXPECT_TRUE(dictionnaire_parametres->isEmpty());

    // Cancelling the open dialog does nothing at all.
    fenetre.passages.clear();
    parametres_v1::choisit_importe_fichier_memo();
    EXPECT_TRUE(fenetre.passages.isEmpty());
}

// A name typed without its extension gets it, and the completed name is
// refused as the dialog refuses a typed one: a read-only state, a pipe or a
// folder under it stays as it was, and no question comes first.
TEST_F(FichiersMemo, ACompletedNameIsRefusedAsATypedOneIs) {
    const QString chemin = dossier + "/Etat.valdorin";
    const QByteArray ancien = "<?xml version=\"1.0\"?><valdorin/>";
    const struct {
        const char* cas;
        std::function<void()> prepare;
        std::function<bool()> intact;
    } cas[] = {
        {"lecture seule",
         [&] {
             outils_parametres::ecrit(chemin, ancien);
             QFile::setPermissions(chemin, QFile::ReadOwner | QFile::ReadGroup);
         },
         [&] { return outils_parametres::lit(chemin) == ancien; }},
        {"tube", [&] { ::mkfifo(QFile::encodeName(chemin).constData(), 0666); },
         [&] { return QFileInfo(chemin).isFile() == false && QFileInfo::exists(chemin); }},
        {"dossier", [&] { QDir().mkpath(chemin); }, [&] { return QFileInfo(chemin).isDir(); }},
    };
    for (const auto& c : cas) {
        c.prepare();
        presentateur.reponses = {dossier + "/Etat"};
        alertes.textes.clear();
        alertes.attend();
        parametres_v1::exporte_fichier_memo();
        EXPECT_EQ(alertes.textes, QStringList{messages::fichier_protege_enregistrement}) << c.cas;
        EXPECT_TRUE(c.intact()) << c.cas;
        QFile::setPermissions(chemin, QFile::ReadOwner | QFile::WriteOwner);
        QDir(chemin).removeRecursively();
        QFile::remove(chemin);
    }
}
