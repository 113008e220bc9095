#include "app.h"
#include "bibliotheque_divers.h"
#include "csp_creer_plusieurs.h"
#include "dialogues_fichiers.h"
#include "environnement.h"
#include "fichiers_parametres.h"
#include "menu_operateur.h"
#include "pages_creation.h"
#include "participants.h"
#include "participants_fichiers.h"
#include "repondeur.h"
#include "w_main.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

namespace globales_generiques {
extern std::int32_t Stade_debug;
}

namespace {

const QString entete = "Exception reportée dans app.EventHandler.UnhandledException\n\n";
const QString attention = "ATTENTION : pour préciser l'endroit de l'exception, affectez la "
                          "globale Stade_debug = 1 puis 2, etc au long des sources suspectés\n\n";

// An exception thrown from a handler on the event loop never ends the
// program: it is reported, and the next events are handled.
TEST(Application, ExceptionNonAttrapeeRapporteeEtLeProgrammeContinue) {
    struct cas {
        std::function<void()> lance;
        int stade;
        QString rapport;
    };
    const cas cas_testes[] = {
        {[] { std::optional<int>().value(); }, 0,
         entete + attention +
             "NilObjectException : An attempt was made to access an object that does not exist."},
        {[] { throw std::out_of_range("x"); }, 2,
         entete + "Stade_debug = 2\n\n" +
             "OutOfBoundsException : An attempt was made to read from or write to a value, "
             "character, or element outside the bounds of the object or data type, i.e., you tried "
             "to access an array element that doesn't exist."},
        {[] { throw std::runtime_error("autre"); }, 0, QString()},
        {[] { throw 3; }, 0, QString()},
    };
    for (const cas& c : cas_testes) {
        participants::rapports rapports;
        globales_generiques::Stade_debug = c.stade;
        bool suite = false;
        QTimer::singleShot(0, c.lance);
        QTimer::singleShot(0, [&] { suite = true; });
        QTRY_VERIFY_WITH_TIMEOUT(suite, 2000);
        globales_generiques::Stade_debug = 0;
        EXPECT_EQ(rapports.textes, c.rapport.isEmpty() ? QStringList() : QStringList{c.rapport});
    }
}

// The menu bar, menu by menu, item by item: name, caption, shortcut; a
// separator ("---") carries no caption.
TEST(Application, BarreDeMenus) {
    const QStringList attendu = {
        "menu_fichier &Fichier",
        "  menu_creer_plusieurs Créer un ensemble de code-barres ",
        "  menu_separation --- ",
        "  menu_enregistrer_memo Enregistrer l'état du logiciel sous… ",
        "  menu_ouvrir_memo Restaurer un état enregistré du logiciel… ",
        "  menu_separation --- ",
        "  menu_quitter &Quitter Ctrl+Q",
        "menu_edition Édition",
        "  EditCut Couper Ctrl+X",
        "  EditCopy &Copier Ctrl+C",
        "  EditPaste Coller Ctrl+V",
        "  EditClear Effacer ",
        "  UntitledMenu0 --- ",
        "  EditSelectAll Tout sélectionner Ctrl+A",
        "menu_code_barres Code-barres",
        "  menu_creer_unit Créer un code-barres ",
        "  menu_creer_plusieurs Créer un ensemble de code-barres ",
        "menu_gestion Gestion",
        "  menu_version Vérifier la version de ce logiciel ",
        "menu_aide Aide",
        "  menu_formation Mode d'autoformation ",
        "  menu_aide_contextuelle Aide contextuelle ",
        "  menu_documentation Consulter la documentation ",
        "  UntitledSeparator --- ",
        "  menu_apropos À propos… ",
    };
    QStringList lu;
    for (const QAction* entree : menu_operateur::instance().actions()) {
        lu.append(entree->menu()->objectName() + " " + entree->text());
        for (const QAction* element : entree->menu()->actions())
            lu.append("  " + element->objectName() + " " + (element->isSeparator() ? "---" : "") +
                      element->text() + " " + element->shortcut().toString());
    }
    EXPECT_EQ(lu, attendu);
    EXPECT_EQ(menu_operateur::instance().element("menu_creer_plusieurs", 1)->parent(),
              &menu_operateur::instance());
    EXPECT_EQ(menu_aide_contextuelle(), coquille::menu_aide_contextuelle());
    EXPECT_EQ(menu_formation(), coquille::menu_formation());
}

// "Aide contextuelle" chosen twice comes back; its state is saved at quit,
// whatever starts the quit, and read back at the next start.
TEST(Application, AideContextuelleEnregistreeALaFermeture) {
    QAction* aide = menu_aide_contextuelle();
    aide->setChecked(false);
    w_main::instance();
    parametres_v1::niveau_version_preferences = 0;
    parametres_v1::importe_preferences();
    aide->trigger();
    EXPECT_TRUE(aide->isChecked());
    // "&Quitter", or closing the main window, quits; every quit saves.
    QFile fichier(parametres_v1::chemin_preferences(0));
    const std::function<void()> quitte[] = {
        [] { menu_operateur::instance().element("menu_quitter")->trigger(); },
        [] { w_main::instance().close(); }};
    for (const auto& action : quitte) {
        fichier.remove();
        QTimer::singleShot(0, action);
        EXPECT_EQ(App()->exec(), 0);
        ASSERT_TRUE(fichier.open(QIODevice::ReadOnly));
        EXPECT_TRUE(fichier.readAll().contains("<globale_aide>true</globale_aide>"));
        fichier.close();
    }
    aide->trigger();
    EXPECT_FALSE(aide->isChecked());
    parametres_v1::niveau_version_preferences = 0;
    parametres_v1::importe_preferences();
    EXPECT_TRUE(aide->isChecked());
    aide->setChecked(false);
    w_main::detruit();
}

// Quitting during a batch run, by the menu or the main window's close box,
// ends the run as the cancel button does: its report holds a line for each
// record handled before the application ends.
TEST(Application, QuitterPendantUneSerieLaisseSonRapport) {
    const QString d = test_support::dossier_test();
    QByteArray lignes;
    for (int i = 0; i < 20000; ++i)
        lignes += "L\t12345\t42\t0\tPrix\t150\tCB\tE\t4\tA\t=\tq" + QByteArray::number(i) + "\n";
    QFile donnees(d + "/donnees.txt");
    ASSERT_TRUE(donnees.open(QIODevice::WriteOnly) && donnees.write(lignes) == lignes.size());
    donnees.close();
    w_main::instance();
    csp_creer_plusieurs* page = pages_creation::sp_creer_plusieurs();
    ASSERT_NE(page, nullptr);
    page->popup_log->setCurrentIndex(1);
    participants::presentateur_essai dialogues;
    const std::function<void()> quitte[] = {
        [] { menu_operateur::instance().element("menu_quitter")->trigger(); },
        [] { w_main::instance().close(); }};
    for (const auto& action : quitte) {
        QDir(d + "/sortie").removeRecursively();
        QDir().mkpath(d + "/sortie");
        QFile::remove(d + "/donnees.log");
        dialogues.reponses = {d + "/sortie"};
        page->fi_lecture_officiel = donnees.fileName();
        page->creer_serie();
        ASSERT_TRUE(page->travail_en_cours);
        QTimer::singleShot(50, action);
        EXPECT_EQ(App()->exec(), 0);
        EXPECT_FALSE(page->travail_en_cours);
        QFile rapport(d + "/donnees.log");
        ASSERT_TRUE(rapport.open(QIODevice::ReadOnly));
        const qsizetype faits = rapport.readAll().count('\n');
        EXPECT_EQ(faits, page->nbLignesOK + page->nbLignesNonOK);
        EXPECT_EQ(faits, QDir(d + "/sortie").entryList(QDir::Files).size());
    }
    w_main::detruit();
}

// The editing commands act on the focused text field.
TEST(Application, CommandesEditionSurLeChampActif) {
    QWidget fenetre;
    auto* champ = new QLineEdit("abc", &fenetre);
    fenetre.show();
    fenetre.activateWindow();
    champ->setFocus();
    QTRY_VERIFY(champ->hasFocus());
    menu_operateur::instance().element("EditSelectAll")->trigger();
    EXPECT_EQ(champ->selectedText(), "abc");
    menu_operateur::instance().element("EditClear")->trigger();
    EXPECT_EQ(champ->text(), "");
}

} // namespace

namespace {

// The state file saved from the File menu gets its extension when the user
// typed a name without one.
TEST(Application, EtatEnregistreDepuisLeMenuPrendSonExtension) {
    bibliotheque_v1::installe_presentateur_dialogues(nullptr);
    repondeur::garde garde;
    w_main::instance();
    parametres_v1::dictionnaire_parametres = parametres_v1::dictionnaire();
    const QString dossier = test_support::dossier_test() + "/home";
    bibliotheque_v1::dossier_courant = dossier;
    participants::lecteur_alertes alertes;
    repondeur::quand_visible([&](QWidget* modale) {
        auto* dialogue = qobject_cast<QFileDialog*>(modale);
        ASSERT_NE(dialogue, nullptr);
        dialogue->selectFile(dossier + "/mon etat");
        alertes.attend();
        static_cast<QDialog*>(dialogue)->accept();
    });
    menu_operateur::instance().element("menu_enregistrer_memo")->trigger();
    EXPECT_TRUE(QFileInfo::exists(dossier + "/mon etat.valdorin"));
    EXPECT_EQ(alertes.textes, QStringList{"L'état du logiciel a été correctement enregistré !"});
    parametres_v1::dictionnaire_parametres.reset();
    w_main::detruit();
}

} // namespace

namespace {

// Qt's own texts of the file dialogs: in French, or as Qt writes them.
void textes_de_qt(bool en_francais) {
    const struct {
        const char* contexte;
        const char* texte;
        QString traduction;
    } table[] = {
        {"QPlatformTheme", "Cancel", "Annuler"},
        {"QFileDialog", "Detail View", "Vue détaillée"},
        {"QFileSystemModel", "Date Modified", "Dernière modification"},
    };
    for (const auto& t : table)
        EXPECT_EQ(QCoreApplication::translate(t.contexte, t.texte),
                  en_francais ? t.traduction : QString(t.texte));
}

// Qt's texts are in French from start-up; on a system without Qt's
// translations nothing fails, and they stay in English.
TEST(Application, TextesDeQtEnFrancaisDesLeDemarrage) {
    textes_de_qt(true);
    const QTemporaryDir sans_traductions;
    EXPECT_FALSE(bibliotheque_v1::installe_traductions_qt(sans_traductions.path()));
    textes_de_qt(false);
    EXPECT_TRUE(bibliotheque_v1::installe_traductions_qt());
    textes_de_qt(true);
}

} // namespace
