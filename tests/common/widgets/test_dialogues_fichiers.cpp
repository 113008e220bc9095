#include "dialogues_fichiers.h"
#include "environnement.h"
#include "participants.h"
#include "participants_fichiers.h"
#include "repondeur.h"
#include "serveur_x.h"
#include "types_fichiers.h"
#include "w_alerte.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <stdexcept>

using bibliotheque_v1::demande_dialogue;

namespace {

const QString refus_ouverture = "Fichier ou répertoire protégé !\r\rOuverture annulée !";
const QString refus_enregistrement = "Fichier ou répertoire protégé !\r\rEnregistrement annulé !";

QString cree_dossier(const QString& nom) {
    const QString chemin = test_support::dossier_test() + "/" + nom;
    QDir().mkpath(chemin);
    return chemin;
}

QString cree_fichier(const QString& chemin) {
    QFile fichier(chemin);
    EXPECT_TRUE(fichier.open(QIODevice::WriteOnly));
    fichier.write("contenu");
    return chemin;
}

void lecture_seule(const QString& chemin, bool dossier) {
    QFile::setPermissions(chemin, dossier ? QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                                QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther
                                          : QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
}

void rend_inscriptible(const QString& chemin) {
    QFile::setPermissions(chemin, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString documents() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

class DialoguesFichiers : public testing::Test {
protected:
    void SetUp() override {
        bibliotheque_v1::dossier_lecture.clear();
        bibliotheque_v1::dossier_ecriture.clear();
        bibliotheque_v1::dossier_courant.clear();
        ensemble_fichiers_drop::Initialize();
        ensemble_fichiers_resultat::Initialize();
    }
    repondeur::garde garde;
    participants::presentateur_essai presentateur;
    participants::lecteur_alertes alertes;
};

} // namespace

TEST_F(DialoguesFichiers, FirstDialogsStartInTheDocumentsFolder) {
    EXPECT_EQ(bibliotheque_v1::get_dossier("lecture"), documents());
    EXPECT_EQ(bibliotheque_v1::get_dossier("ecriture"), documents());
    EXPECT_EQ(bibliotheque_v1::get_dossier("courant"), documents());
    EXPECT_EQ(bibliotheque_v1::get_dossier("autre"), documents());
}

TEST_F(DialoguesFichiers, OpeningAFileRemembersItsFolderForTheNextDialogs) {
    const QString dossier = cree_dossier("donnees");
    const QString fichier = cree_fichier(dossier + "/etat.valdorin");
    presentateur.reponses = {fichier};
    const auto type = *ensemble_fichiers_drop::type_etat();
    EXPECT_EQ(bibliotheque_v1::get_readfolderitem(nullptr, &type, "courant"), fichier);

    ASSERT_EQ(presentateur.demandes.size(), 1);
    const demande_dialogue& demande = presentateur.demandes.first();
    EXPECT_EQ(demande.genre, demande_dialogue::ouvrir_fichier);
    EXPECT_EQ(demande.titre, "Valdorin");
    EXPECT_EQ(demande.invite, "Sélectionnez le fichier à ouvrir !");
    EXPECT_EQ(demande.dossier_depart, documents());
    EXPECT_EQ(demande.filtre, "Valdorin State (*.valdorin)");

    EXPECT_EQ(bibliotheque_v1::dossier_courant, dossier);
    EXPECT_EQ(bibliotheque_v1::dossier_lecture, dossier);
    EXPECT_EQ(bibliotheque_v1::dossier_ecriture, "");
    EXPECT_EQ(bibliotheque_v1::get_dossier("lecture"), dossier);
    EXPECT_EQ(bibliotheque_v1::get_dossier("courant"), dossier);
    EXPECT_EQ(bibliotheque_v1::get_dossier("ecriture"), dossier); // through "courant"

    // Without a type every file is offered; a cancel returns nothing and
    // changes nothing.
    EXPECT_EQ(bibliotheque_v1::get_readfolderitem(nullptr, nullptr, "lecture"), "");
    EXPECT_EQ(presentateur.demandes.last().filtre, "");
    EXPECT_EQ(presentateur.demandes.last().dossier_depart, dossier);
    EXPECT_EQ(bibliotheque_v1::dossier_lecture, dossier);
    EXPECT_TRUE(alertes.textes.isEmpty());
}

TEST_F(DialoguesFichiers, AFileThatCannotBeReadIsRefusedButItsFolderIsRemembered) {
    const QString dossier = cree_dossier("protege");
    const QString fichier = cree_fichier(dossier + "/donnees.txt");
    QFile::setPermissions(fichier, QFile::WriteOwner);
    presentateur.reponses = {fichier, dossier + "/absent.txt"};
    alertes.attend();
    EXPECT_EQ(bibliotheque_v1::get_readfolderitem(nullptr, nullptr, "lecture"), "");
    alertes.attend();
    EXPECT_EQ(bibliotheque_v1::get_readfolderitem(nullptr, nullptr, "lecture"), "");
    EXPECT_EQ(alertes.textes, (QStringList{refus_ouverture, refus_ouverture}));
    EXPECT_EQ(bibliotheque_v1::dossier_courant, dossier);
    EXPECT_EQ(bibliotheque_v1::dossier_lecture, dossier);
    rend_inscriptible(fichier);
}

TEST_F(DialoguesFichiers, RememberedFoldersThatLostTheirRightsAreSkipped) {
    const QString lecture = cree_dossier("lecture");
    const QString courant = cree_dossier("courant");
    bibliotheque_v1::dossier_lecture = lecture;
    bibliotheque_v1::dossier_courant = courant;
    EXPECT_EQ(bibliotheque_v1::get_dossier("lecture"), lecture);

    QFile::setPermissions(lecture, QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(bibliotheque_v1::get_dossier("lecture"), courant);
    lecture_seule(courant, true);
    EXPECT_EQ(bibliotheque_v1::get_dossier("lecture"), documents());
    EXPECT_EQ(bibliotheque_v1::get_dossier("courant"), documents());
    rend_inscriptible(lecture);
    rend_inscriptible(courant);

    QDir(courant).removeRecursively();
    EXPECT_EQ(bibliotheque_v1::get_dossier("ecriture"), documents());
}

TEST_F(DialoguesFichiers, ChoosingAFolderAcceptsOnlyOneThatCanReceiveFiles) {
    const QString accepte = cree_dossier("resultats");
    const QString protege = cree_dossier("protege");
    lecture_seule(protege, true);

    presentateur.reponses = {accepte};
    EXPECT_EQ(bibliotheque_v1::get_savefolder(nullptr, "ecriture", "Choisir"), accepte);
    const demande_dialogue& demande = presentateur.demandes.first();
    EXPECT_EQ(demande.genre, demande_dialogue::choisir_dossier);
    EXPECT_EQ(demande.titre, "Valdorin");
    EXPECT_EQ(demande.invite, "Choisissez un répertoire pour le ou les fichiers à enregistrer !");
    EXPECT_EQ(demande.legende_bouton, "Choisir");
    EXPECT_EQ(bibliotheque_v1::dossier_courant, accepte);
    EXPECT_EQ(bibliotheque_v1::dossier_ecriture, accepte);

    presentateur.reponses = {protege};
    alertes.attend();
    EXPECT_EQ(bibliotheque_v1::get_savefolder(nullptr, "ecriture", ""), "");
    EXPECT_EQ(alertes.textes, QStringList{refus_enregistrement});
    EXPECT_EQ(presentateur.demandes.last().dossier_depart, accepte);
    EXPECT_EQ(bibliotheque_v1::dossier_courant, accepte);
    EXPECT_EQ(bibliotheque_v1::dossier_ecriture, accepte);
    rend_inscriptible(protege);
}

TEST_F(DialoguesFichiers, SaveDialogProposesANameAfterTheType) {
    const auto eps = *ensemble_fichiers_resultat::type_eps();
    const auto pdf = *ensemble_fichiers_resultat::type_pdf();
    const auto etat = *ensemble_fichiers_drop::type_etat();
    bibliotheque_v1::get_savefolderitem(nullptr, eps, "ecriture", "");
    bibliotheque_v1::get_savefolderitem(nullptr, pdf, "ecriture", "code");
    bibliotheque_v1::get_savefolderitem(nullptr, etat, "courant", "");
    bibliotheque_v1::get_savefolderitem(nullptr, etat, "courant", "Etat de Valdorin");
    bibliotheque_v1::get_savefolderitem(nullptr, file_table_type::filetype_table(44), "ecriture",
                                        "exemple");
    // The name itself is not examined.
    bibliotheque_v1::get_savefolderitem(nullptr, eps, "ecriture", "code.eps");
    ASSERT_EQ(presentateur.demandes.size(), 6);
    const auto& d = presentateur.demandes;
    EXPECT_EQ(d[0].genre, demande_dialogue::enregistrer_fichier);
    EXPECT_EQ(d[0].titre, "Valdorin");
    EXPECT_EQ(d[0].invite, "Choisissez un nom et un répertoire pour le fichier à enregistrer !");
    EXPECT_EQ(d[0].nom_propose, "sans titre.eps");
    EXPECT_EQ(d[0].filtre, "EPS (*.eps)");
    EXPECT_EQ(d[1].nom_propose, "code.pdf");
    EXPECT_EQ(d[2].nom_propose, "sans titre");
    EXPECT_EQ(d[2].suffixe_defaut, "valdorin");
    EXPECT_EQ(d[3].nom_propose, "Etat de Valdorin");
    EXPECT_EQ(d[4].nom_propose, "exemple");
    EXPECT_EQ(d[4].filtre, "Texte (séparateur: virgule) (*.txt *.csv)");
    EXPECT_EQ(d[5].nom_propose, "code.eps.eps");
    EXPECT_TRUE(alertes.textes.isEmpty());
}

TEST_F(DialoguesFichiers, SavingAcceptsANewFileInAWritableFolderAndRefusesProtectedOnes) {
    const auto etat = *ensemble_fichiers_drop::type_etat();
    const QString dossier = cree_dossier("etats");
    const QString nouveau = dossier + "/nouveau.valdorin";
    presentateur.reponses = {nouveau};
    EXPECT_EQ(bibliotheque_v1::get_savefolderitem(nullptr, etat, "courant", ""), nouveau);
    EXPECT_EQ(bibliotheque_v1::dossier_courant, dossier);
    EXPECT_EQ(bibliotheque_v1::dossier_ecriture, dossier);

    const QString existant = cree_fichier(dossier + "/existant.valdorin");
    presentateur.reponses = {existant};
    EXPECT_EQ(bibliotheque_v1::get_savefolderitem(nullptr, etat, "courant", ""), existant);

    // An existing read-only file, a file in a read-only folder, a file in a
    // folder that does not exist.
    lecture_seule(existant, false);
    const QString protege = cree_dossier("protege");
    lecture_seule(protege, true);
    presentateur.reponses = {existant, protege + "/nouveau.valdorin",
                             dossier + "/absent/nouveau.valdorin"};
    for (int i = 0; i < 3; ++i) {
        alertes.attend();
        EXPECT_EQ(bibliotheque_v1::get_savefolderitem(nullptr, etat, "courant", ""), "");
    }
    EXPECT_EQ(alertes.textes,
              (QStringList{refus_enregistrement, refus_enregistrement, refus_enregistrement}));
    // The folder of a refused file is remembered all the same.
    EXPECT_EQ(bibliotheque_v1::dossier_ecriture, dossier + "/absent");
    EXPECT_EQ(bibliotheque_v1::get_dossier("ecriture"), documents());
    rend_inscriptible(existant);
    rend_inscriptible(protege);
}

TEST_F(DialoguesFichiers, FolderCheck) {
    const QString dossier = cree_dossier("sortie");
    const QString fichier = cree_fichier(dossier + "/fichier.txt");
    EXPECT_TRUE(bibliotheque_v1::check_savefolder(dossier));
    EXPECT_FALSE(bibliotheque_v1::check_savefolder(""));
    EXPECT_FALSE(bibliotheque_v1::check_savefolder(dossier + "/absent"));
    EXPECT_FALSE(bibliotheque_v1::check_savefolder(fichier));
    lecture_seule(dossier, true);
    EXPECT_FALSE(bibliotheque_v1::check_savefolder(dossier));
    rend_inscriptible(dossier);
}

TEST_F(DialoguesFichiers, FailuresAreReportedSilentlyAndCountAsACancel) {
    participants::rapports rapports;
    presentateur.echoue = true;
    const auto eps = *ensemble_fichiers_resultat::type_eps();
    EXPECT_EQ(bibliotheque_v1::get_readfolderitem(nullptr, nullptr, "lecture"), "");
    EXPECT_EQ(bibliotheque_v1::get_savefolder(nullptr, "ecriture", ""), "");
    EXPECT_EQ(bibliotheque_v1::get_savefolderitem(nullptr, eps, "ecriture", ""), "");
    const QString debut = "Une erreur est survenue pendant\rune opération sur un fichier !" +
                          bibliotheque_v1::eol(2) + "debug dans le module « bibliotheque : ";
    EXPECT_EQ(rapports.textes,
              (QStringList{debut + "get_readfolderitem »", debut + "get_savefolder »",
                           debut + "get_savefolderitem »"}));
}

TEST_F(DialoguesFichiers, QtDialogIsNonNativeWithOurTitlePromptAndCaptions) {
    demande_dialogue demande;
    demande.genre = demande_dialogue::enregistrer_fichier;
    demande.titre = "Valdorin";
    demande.invite = "Choisissez un nom et un répertoire pour le fichier à enregistrer !";
    demande.dossier_depart = cree_dossier("depart");
    demande.filtre = "Valdorin State (*.valdorin)";
    demande.nom_propose = "Etat de Valdorin";
    demande.suffixe_defaut = "valdorin";
    demande.legende_bouton = "Garder";
    QWidget proprietaire;
    demande.proprietaire = &proprietaire;
    std::unique_ptr<QFileDialog> dialogue(bibliotheque_v1::prepare_dialogue(demande));
    EXPECT_TRUE(dialogue->testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(dialogue->windowTitle(), "Valdorin");
    EXPECT_EQ(dialogue->parentWidget(), &proprietaire);
    EXPECT_EQ(dialogue->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialogue->directory().absolutePath(), demande.dossier_depart);
    EXPECT_EQ(dialogue->nameFilters(), QStringList{"Valdorin State (*.valdorin)"});
    EXPECT_EQ(dialogue->defaultSuffix(), "valdorin");
    EXPECT_EQ(dialogue->labelText(QFileDialog::Accept), "Garder");
    auto* invite = dialogue->findChild<QLabel*>("st_invite");
    ASSERT_NE(invite, nullptr);
    // Shown with the "!" held to the word before it.
    EXPECT_EQ(invite->text(),
              "Choisissez un nom et un répertoire pour le fichier à enregistrer\u00A0!");

    demande.genre = demande_dialogue::choisir_dossier;
    demande.legende_bouton.clear();
    dialogue.reset(bibliotheque_v1::prepare_dialogue(demande));
    EXPECT_EQ(dialogue->fileMode(), QFileDialog::Directory);
    EXPECT_TRUE(dialogue->testOption(QFileDialog::ShowDirsOnly));
    EXPECT_EQ(dialogue->labelText(QFileDialog::Accept), "Choisir");
    EXPECT_EQ(dialogue->labelText(QFileDialog::Reject), "Annuler");
    EXPECT_EQ(dialogue->labelText(QFileDialog::FileName), "Nom :");

    demande.genre = demande_dialogue::ouvrir_fichier;
    dialogue.reset(bibliotheque_v1::prepare_dialogue(demande));
    EXPECT_EQ(dialogue->fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(dialogue->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(dialogue->labelText(QFileDialog::Accept), "Ouvrir");
}

TEST_F(DialoguesFichiers, QtsOwnDialogAnswersTheRealFunctions) {
    bibliotheque_v1::installe_presentateur_dialogues(nullptr);
    const QString dossier = cree_dossier("reel");
    const QString fichier = cree_fichier(dossier + "/donnees.txt");
    bibliotheque_v1::dossier_lecture = dossier;
    repondeur::quand_visible([&](QWidget* fenetre) {
        auto* dialogue = qobject_cast<QFileDialog*>(fenetre);
        ASSERT_NE(dialogue, nullptr);
        EXPECT_EQ(dialogue->windowTitle(), "Valdorin");
        dialogue->selectFile(fichier);
        static_cast<QDialog*>(dialogue)->accept();
    });
    EXPECT_EQ(bibliotheque_v1::get_readfolderitem(nullptr, nullptr, "lecture"), fichier);

    repondeur::quand_visible([](QWidget* fenetre) { qobject_cast<QDialog*>(fenetre)->reject(); });
    EXPECT_EQ(bibliotheque_v1::get_savefolder(nullptr, "lecture", ""), "");
}

// Without a Documents folder, the first dialog opens the home folder, with
// nothing typed in its name field.
TEST_F(DialoguesFichiers, WithoutADocumentsFolderTheFirstDialogOpensTheHome) {
    bibliotheque_v1::installe_presentateur_dialogues(nullptr);
    ASSERT_TRUE(QDir(documents()).removeRecursively());
    repondeur::quand_visible([](QWidget* fenetre) {
        auto* dialogue = qobject_cast<QFileDialog*>(fenetre);
        ASSERT_NE(dialogue, nullptr);
        EXPECT_EQ(dialogue->directory().absolutePath(), QDir::homePath());
        const auto* nom = dialogue->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(nom, nullptr);
        EXPECT_EQ(nom->text(), "");
        static_cast<QDialog*>(dialogue)->reject();
    });
    EXPECT_EQ(bibliotheque_v1::get_readfolderitem(nullptr, nullptr, "lecture"), "");
}

TEST_F(DialoguesFichiers, AnOwnerWindowClosedDuringTheDialogCountsAsACancel) {
    // The owner goes away while its dialog is on screen (and takes the dialog
    // with it): the dialog is not deleted a second time.
    bibliotheque_v1::installe_presentateur_dialogues(nullptr);
    auto* proprietaire = new QWidget;
    proprietaire->show();
    repondeur::quand_visible([proprietaire](QWidget*) { delete proprietaire; });
    EXPECT_EQ(bibliotheque_v1::get_savefolder(proprietaire, "ecriture", ""), "");
    EXPECT_TRUE(alertes.textes.isEmpty());
}

// Typed in Qt's own dialog, a name with the other kind's extension, in any
// letter case, takes the kind's own, and Qt asks about replacing the file
// that will be written; a name without one gets the kind's, any other stays.
TEST_F(DialoguesFichiers, ABarcodeFileTakesTheExtensionOfItsKind) {
    const auto eps = *ensemble_fichiers_resultat::type_eps();
    const auto pdf = *ensemble_fichiers_resultat::type_pdf();
    const QString dossier = cree_dossier("codes");
    cree_fichier(dossier + "/x.eps");
    cree_fichier(dossier + "/y.pdf");
    bibliotheque_v1::dossier_ecriture = dossier;
    bibliotheque_v1::installe_presentateur_dialogues(nullptr);
    const struct {
        const type_fichier& type;
        QString tape, attendu;
        bool question;
    } cas[] = {{pdf, "x.eps", "x.pdf", false},
               {pdf, "y.EPS", "y.pdf", true},
               {eps, "z.Pdf", "z.eps", false},
               {eps, "sans", "sans.eps", false},
               {pdf, "notes.txt", "notes.txt", false}};
    for (const auto& c : cas) {
        QString question;
        repondeur::quand_visible([&](QWidget* fenetre) {
            auto* nom = fenetre->findChild<QLineEdit*>("fileNameEdit");
            nom->setText(c.tape);
            if (c.question)
                repondeur::quand_visible([&](QWidget* boite) {
                    question = qobject_cast<QMessageBox*>(boite)->text();
                    qobject_cast<QMessageBox*>(boite)->button(QMessageBox::Yes)->click();
                });
            QTest::keyClick(nom, Qt::Key_Return);
        });
        EXPECT_EQ(bibliotheque_v1::get_savefolderitem(nullptr, c.type, "ecriture", ""),
                  dossier + "/" + c.attendu);
        EXPECT_EQ(question.contains(c.attendu), c.question) << c.tape.toStdString();
    }
}

// On a real display, driven by keys: a choose-folder dialog answers the
// existing folder its name field names, absolute or relative to the folder
// shown, else the folder shown. Typed from a folder straight into its
// one-letter child, a path left that child selected, unseen, in Qt's list
// (Qt undoes a selection by row number alone), and Qt answered it; an open
// or a save dialog, which answers the file it names, went into it.
TEST(DialoguesAuClavier, LeNomSaisiEstLaReponse) {
    test_support::serveur_x serveur;
    if (serveur.affichage.isEmpty() || QStandardPaths::findExecutable("xdotool").isEmpty())
        GTEST_SKIP() << "Xvfb, openbox and xdotool needed: " << serveur.raison.toStdString();
    // Each folder the only one in its parent: all of them row 0.
    const QString g = test_support::dossier_test() + "/x/ab/G";
    QDir().mkpath(g + "/lot");
    QDir().mkpath(g + "/lot2");
    cree_fichier(g + "/donnees.csv");
    const QString cas[][2] = {{"dossier", g + "/lot"},
                              {"dossier", "lot2"},
                              {"dossier", ""},
                              {"ouvrir", g + "/donnees.csv"},
                              {"enregistrer", g + "/donnees.csv"}};
    for (const auto& [genre, tape] : cas) {
        QProcess dialogue;
        dialogue.setProcessEnvironment(serveur.environnement());
        dialogue.start(DIALOGUE_CLAVIER, {genre, g});
        const auto fenetre =
            serveur.lance("xdotool", {"search", "--sync", "--onlyvisible", "--name", "^Valdorin$",
                                      "windowactivate", "--sync", "getactivewindow"});
        ASSERT_TRUE(fenetre.reussi) << fenetre.rapport;
        QTest::qWait(500); // Qt reads the folder on a thread of its own
        ASSERT_TRUE(
            serveur.lance("xdotool", {"key", "ctrl+a", "type", "--delay", "12", tape}).reussi);
        ASSERT_TRUE(serveur.lance("xdotool", {"key", "Return"}).reussi);
        if (genre == "enregistrer") { // yes to the question whether to replace it, once it shows
            for (int i = 0;
                 i < 300 && serveur.lance("xdotool", {"getactivewindow"}).sortie == fenetre.sortie;
                 ++i)
                QTest::qWait(100);
            ASSERT_TRUE(serveur.lance("xdotool", {"key", "Tab", "space"}).reussi);
        }
        const bool fini = dialogue.waitForFinished(30000);
        EXPECT_EQ(dialogue.readAllStandardOutput().toStdString(),
                  QDir(g).filePath(tape).toStdString() + "\n")
            << test_support::fin_processus(dialogue, fini, dialogue.readAllStandardError());
    }
}
