#include "csp_creer_plusieurs.h"
#include "csp_creer_unit.h"
#include "outils_donnees.h"
#include "parametres_v1.h"
#include "participants_fichiers.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include <string_view>

namespace {

const QString inutilisable =
    "Le répertoire de réception des fichiers générés n'est pas utilisable !";

// The page with its run start counted instead of a worker.
class page_essai : public csp_creer_plusieurs {
public:
    int departs = 0;

protected:
    void demarre_thread() override { ++departs; }
};

QString dossier(const QString& nom, bool protege = false) {
    const QString chemin = test_support::dossier_test() + u'/' + nom;
    QDir().mkpath(chemin);
    if (protege)
        QFile::setPermissions(chemin, QFile::ReadOwner | QFile::ExeOwner);
    return chemin;
}

} // namespace

// Takes down the folder opened through the desktop services.
class ouvreur : public QObject {
    Q_OBJECT
public:
    ouvreur() { QDesktopServices::setUrlHandler("file", this, "ouvre"); }
    ~ouvreur() override { QDesktopServices::unsetUrlHandler("file"); }
    QList<QUrl> ouverts;
public slots:
    void ouvre(const QUrl& adresse) { ouverts.append(adresse); }
};

TEST(BatchPage, TheLockDisablesTheSettingsAndNotTheRunButtons) {
    csp_creer_plusieurs page;
    page.montrer();
    const QList<QWidget*> reglages = {
        page.popup_delimiteur,      page.popup_codage, page.cb_previsualiser, page.popup_resultats,
        page.bt_choisir_repertoire, page.ch_ext_eps,   page.cb_log,           page.popup_log};
    page.popup_resultats->setCurrentIndex(2);
    for (const bool verrou : {true, false}) {
        page.bt_verrouiller->click();
        EXPECT_EQ(page.bt_verrouiller->text(), verrou ? "Déverrouiller" : "Verrouiller");
        for (QWidget* c : reglages)
            EXPECT_EQ(c->isEnabled(), !verrou) << c->objectName().toStdString();
        EXPECT_TRUE(page.bt_creer->isEnabled() && page.bt_enregistrer->isEnabled());
    }
    // At rest the export button sits on the run row.
    EXPECT_EQ(page.bt_enregistrer->y(), page.bt_annuler->y());
}

TEST(BatchPage, TheEpsExtensionIsTypedOnlyAfterAClickAndRefusedWhenItLeavesTheFolder) {
    csp_creer_plusieurs page;
    EXPECT_TRUE(page.ch_ext_eps->isReadOnly());
    QTest::mouseClick(page.ch_ext_eps, Qt::LeftButton);
    EXPECT_FALSE(page.ch_ext_eps->isReadOnly());
    page.ch_ext_eps->setText(".epsf");
    QFocusEvent sortie(QEvent::FocusOut);
    QApplication::sendEvent(page.ch_ext_eps, &sortie);
    EXPECT_TRUE(page.ch_ext_eps->isReadOnly());
    EXPECT_EQ(page.ch_ext_eps->text(), ".epsf");

    participants::lecteur_alertes alertes;
    alertes.attend();
    page.ch_ext_eps->setText("/../x");
    QApplication::sendEvent(page.ch_ext_eps, &sortie);
    ASSERT_EQ(alertes.textes.size(), 1);
    EXPECT_TRUE(alertes.textes[0].startsWith("L'extension des fichiers eps"));
    EXPECT_EQ(page.ch_ext_eps->text(), ".epsf");
}

TEST(BatchPage, SettingsRoundTripAndHandEditedValuesAreAppliedOnlyWhereTheyFit) {
    parametres_v1::dictionnaire_parametres = parametres_v1::dictionnaire{};
    {
        csp_creer_plusieurs page;
        page.popup_delimiteur->setCurrentIndex(1);
        page.popup_codage->setCurrentIndex(4);
        page.popup_resultats->setCurrentIndex(2);
        page.ch_repertoire->setPlainText("/tmp/");
        page.ch_ext_eps->setText(".epsi");
        page.popup_log->setCurrentIndex(2);
        page.cb_log->setChecked(false);
        page.interface_active = false;
        page.import_export_parametres("init", "export");
    }
    auto& d = *parametres_v1::dictionnaire_parametres;
    {
        csp_creer_plusieurs page;
        page.import_export_parametres("memo", "import");
        EXPECT_EQ(page.delimiteur(), ";");
        EXPECT_EQ(page.codage(), 4);
        EXPECT_EQ(page.mode_resultats(), "R");
        EXPECT_TRUE(page.bt_ouvrir_repertoire->isEnabled());
        EXPECT_EQ(page.ch_ext_eps->text(), ".epsi");
        EXPECT_FALSE(page.cb_log->isChecked());
        EXPECT_FALSE(page.interface_active);
    }
    // Missing keys, a row out of range and an extension the field refuses.
    d = parametres_v1::dictionnaire{{"multiples_popup_codage", "9"},
                                    {"multiples_ch_ext_eps", "a/b"}};
    csp_creer_plusieurs page;
    page.popup_codage->setCurrentIndex(3);
    page.import_export_parametres("memo", "import");
    EXPECT_EQ(page.codage(), 3);
    EXPECT_EQ(page.ch_ext_eps->text(), ".eps");
    EXPECT_TRUE(page.interface_active);
    d.remove("multiples_ch_ext_eps");
    page.import_export_parametres("memo", "import");
    EXPECT_EQ(page.ch_ext_eps->text(), "");

    // An older preferences file gives the result mode from its old key.
    for (const int niveau : {1, 0}) {
        d = parametres_v1::dictionnaire{{"valdorin_rbt_resultats", "1"}};
        parametres_v1::niveau_version_preferences = niveau;
        csp_creer_plusieurs neuve;
        neuve.import_export_parametres("init", "import");
        EXPECT_EQ(neuve.mode_resultats(), niveau ? "C" : "D") << niveau;
    }
    parametres_v1::niveau_version_preferences = 0;
    parametres_v1::dictionnaire_parametres.reset();
}

TEST(BatchPage, CreateAsksForAFileAndRefusesWhatCannotRun) {
    page_essai page;
    participants::lecteur_alertes alertes;
    const QString donnees = outils_donnees::fichier("a;b");

    // No file yet: the open dialog offers the delimiter's file type, and cancelled runs nothing.
    participants::presentateur_essai presentateur;
    page.popup_delimiteur->setCurrentIndex(1);
    page.fi_lecture_officiel.clear();
    page.bt_creer->click();
    ASSERT_EQ(presentateur.demandes.size(), 1);
    EXPECT_TRUE(presentateur.demandes[0].filtre.startsWith("Texte (séparateur: point-virgule)"));
    EXPECT_EQ(page.departs, 0);

    // Default folder mode without a folder: refused before the file is looked at.
    page.popup_resultats->setCurrentIndex(2);
    page.fi_lecture_officiel = donnees;
    alertes.attend();
    page.creer_serie();
    page.popup_resultats->setCurrentIndex(0);

    page.fi_lecture_officiel = test_support::dossier_test() + "/absent.txt";
    alertes.attend();
    page.creer_serie();
    EXPECT_EQ(
        alertes.textes,
        QStringList({inutilisable, "Fichier ou répertoire protégé !\r\rOuverture annulée !"}));
    EXPECT_EQ(page.departs, 0);

    page.fi_lecture_officiel.clear();
    presentateur.reponses = {donnees};
    page.bt_creer->click();
    EXPECT_EQ(page.departs, 1);

    // A file dropped while the run goes on: refused, the run keeps its file.
    page.travail_en_cours = true;
    page.fi_lecture_officiel = outils_donnees::fichier("x", "autre.txt");
    alertes.attend();
    page.creer_serie();
    ASSERT_EQ(alertes.textes.size(), 3);
    EXPECT_TRUE(alertes.textes[2].contains("déjà en cours"));
    EXPECT_EQ(page.departs, 1);
    EXPECT_EQ(page.fi_lecture_officiel, donnees);
}

TEST(BatchPage, TheDefaultFolderIsChosenCheckedAndOpened) {
    csp_creer_plusieurs page;
    page.popup_resultats->setCurrentIndex(2);
    participants::presentateur_essai presentateur;
    participants::lecteur_alertes alertes;

    EXPECT_FALSE(page.get_dossier_resultats_defaut());
    ASSERT_EQ(presentateur.demandes.size(), 1);
    EXPECT_EQ(presentateur.demandes[0].invite, "Choisissez un répertoire par défaut !");
    EXPECT_EQ(presentateur.demandes[0].legende_bouton, "OK");
    EXPECT_EQ(presentateur.demandes[0].dossier_depart,
              QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));

    presentateur.reponses = {dossier("protege", true)};
    alertes.attend();
    EXPECT_FALSE(page.get_dossier_resultats_defaut());
    EXPECT_EQ(alertes.textes.value(0),
              "Ce répertoire semble être protégé en écriture !\rLa saisie est annulée !");
    EXPECT_EQ(page.ch_repertoire->toPlainText(), "");

    const QString resultats = dossier("resultats");
    presentateur.reponses = {resultats};
    EXPECT_TRUE(page.get_dossier_resultats_defaut());
    EXPECT_EQ(page.ch_repertoire->toPlainText(), resultats + "/");
    EXPECT_TRUE(page.bt_ouvrir_repertoire->isEnabled());
    EXPECT_EQ(page.get_path_dossier_resultats(), resultats + "/");

    ouvreur bureau;
    page.bt_ouvrir_repertoire->click();
    EXPECT_EQ(bureau.ouverts, QList<QUrl>{QUrl::fromLocalFile(resultats + "/")});

    // The folder deleted since: the path still resolves, the run is refused.
    QDir(resultats).removeRecursively();
    EXPECT_TRUE(page.check_popup_ch_resultat());
    alertes.attend();
    EXPECT_EQ(page.get_path_dossier_resultats(), "");
    EXPECT_EQ(alertes.textes.value(1), inutilisable);
    page.ch_repertoire->clear();
    EXPECT_FALSE(page.check_popup_ch_resultat());
    EXPECT_EQ(page.get_path_dossier_resultats(), "");

    // A relative path, from the settings, names no folder: the dialog starts
    // in Documents, not in the working folder's "r".
    const QString travail = QDir::currentPath();
    const auto retour = qScopeGuard([travail] { QDir::setCurrent(travail); });
    QDir::setCurrent(dossier("travail"));
    QDir().mkdir("r");
    page.ch_repertoire->setPlainText("r");
    EXPECT_FALSE(page.get_dossier_resultats_defaut());
    EXPECT_EQ(presentateur.demandes.last().dossier_depart,
              QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

TEST(BatchPage, EachResultModeFindsItsFolder) {
    csp_creer_plusieurs page;
    participants::presentateur_essai presentateur;
    participants::lecteur_alertes alertes;
    const QString protege = dossier("protege");
    page.fi_lecture_officiel = outils_donnees::fichier("a", "protege/donnees.txt");
    QFile::setPermissions(protege, QFile::ReadOwner | QFile::ExeOwner);

    page.popup_resultats->setCurrentIndex(1);
    alertes.attend();
    EXPECT_EQ(page.get_path_dossier_resultats(), "");
    EXPECT_EQ(alertes.textes, QStringList{inutilisable});

    page.popup_resultats->setCurrentIndex(0);
    EXPECT_EQ(page.get_path_dossier_resultats(), ""); // cancelled, no message
    presentateur.reponses = {dossier("choisi")};
    EXPECT_EQ(page.get_path_dossier_resultats(), dossier("choisi") + "/");
    EXPECT_EQ(presentateur.demandes.size(), 2);
    EXPECT_EQ(alertes.textes.size(), 1);
}

// Return and keypad Enter in an open popup pick its row and press nothing
// else; anywhere else on the page they press "Créer l'ensemble", which asks
// for the data file.
TEST(BatchPage, ReturnInAnOpenPopupOnlyPicksItsRow) {
    page_essai page;
    participants::presentateur_essai presentateur;
    // The keys go to the window in front, as the user's do.
    page.show();
    page.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    QSignalSpy appuis(page.bt_creer, &QPushButton::clicked);
    const std::pair<Qt::Key, Qt::KeyboardModifiers> touches[] = {
        {Qt::Key_Return, Qt::NoModifier}, {Qt::Key_Enter, Qt::KeypadModifier}};
    for (QComboBox* popup :
         {page.popup_codage, page.popup_delimiteur, page.popup_resultats, page.popup_log}) {
        for (const auto& [touche, modificateurs] : touches) {
            const int ligne = popup->currentIndex() + 1;
            popup->showPopup();
            QTest::keyClick(popup->view(), Qt::Key_Down);
            QTest::keyClick(popup->view(), touche, modificateurs);
            EXPECT_EQ(popup->currentIndex(), ligne) << popup->objectName().toStdString();
            EXPECT_EQ(appuis.count(), 0) << popup->objectName().toStdString() << " " << touche;
        }
    }
    for (const auto& [touche, modificateurs] : touches)
        QTest::keyClick(page.popup_log, touche, modificateurs);
    EXPECT_EQ(appuis.count(), 2);
    EXPECT_EQ(presentateur.demandes.size(), 2);
}

// The keys of both creation pages, on the focused control: Return and keypad
// Enter press the push button that has the focus; on a one-line field, a
// check box or a closed popup they press the page's default button; a
// multi-line field keeps them. Every dialog that a button opens is cancelled.
TEST(CreationPages, ReturnPressesTheFocusedButtonElseTheDefaultOne) {
    repondeur::garde garde;
    csp_creer_unit unique;
    page_essai plusieurs;
    participants::presentateur_essai presentateur;
    participants::lecteur_alertes alertes;
    ouvreur bureau;
    // A form that passes its checks, and a default folder to open.
    unique.ch_code_produit->setText("12345");
    unique.ch_prix->setText("1,50");
    unique.popup_type_fichier->setCurrentIndex(1); // PDF shows the box
    plusieurs.popup_resultats->setCurrentIndex(2);
    plusieurs.ch_repertoire->setPlainText(dossier("resultats") + "/");
    plusieurs.montrer();
    QStringList appuis;
    for (QWidget* page : std::initializer_list<QWidget*>{&unique, &plusieurs})
        for (QPushButton* bouton : page->findChildren<QPushButton*>())
            QObject::connect(bouton, &QPushButton::clicked,
                             [&appuis, bouton] { appuis.append(bouton->objectName()); });

    const struct {
        QWidget* page;
        const char* controle;
        Qt::Key touche;
        const char* bouton; // "": none
    } table[] = {
        {&unique, "ch_code_produit", Qt::Key_Return, "bt_creer"},
        {&unique, "ch_commentaire", Qt::Key_Return, ""},
        {&unique, "popup_orientation", Qt::Key_Enter, "bt_creer"},
        {&unique, "cb_visualiser", Qt::Key_Return, "bt_creer"},
        {&unique, "bt_enregistrer", Qt::Key_Enter, "bt_enregistrer"},
        {&plusieurs, "cb_previsualiser", Qt::Key_Return, "bt_creer"},
        {&plusieurs, "ch_ext_eps", Qt::Key_Return, "bt_creer"},
        {&plusieurs, "bt_choisir_repertoire", Qt::Key_Return, "bt_choisir_repertoire"},
        {&plusieurs, "bt_ouvrir_repertoire", Qt::Key_Enter, "bt_ouvrir_repertoire"},
        {&plusieurs, "bt_enregistrer", Qt::Key_Return, "bt_enregistrer"},
        {&plusieurs, "bt_verrouiller", Qt::Key_Return, "bt_verrouiller"},
    };
    for (const auto& [page, nom, touche, bouton] : table) {
        page->show();
        page->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(page));
        auto* controle = page->findChild<QWidget*>(nom);
        controle->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), controle) << nom;
        appuis.clear();
        // The example file is offered first, then its dialog cancelled.
        if (std::string_view(bouton) == "bt_enregistrer")
            alertes.attend();
        QTest::keyClick(QApplication::focusWidget(), touche,
                        touche == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        EXPECT_EQ(appuis, *bouton ? QStringList{bouton} : QStringList{}) << nom << " " << touche;
    }
    EXPECT_EQ(unique.ch_commentaire->toPlainText(), "\n") << "a new line in the comment";
    EXPECT_EQ(alertes.textes.size(), 2);
}

// The run disables "Créer l'ensemble" while it goes on; once its summary is
// read, the focus is back on the button, and the next Return starts again.
TEST(BatchPage, AfterARunAndItsSummaryTheFocusIsBackOnCreate) {
    repondeur::garde garde;
    csp_creer_plusieurs page;
    participants::presentateur_essai presentateur;
    participants::lecteur_alertes alertes;
    page.popup_resultats->setCurrentIndex(1); // beside the data file
    presentateur.reponses = {
        outils_donnees::fichier("L\t12345\t42\t0\tPrix\t150\tCB\tE\t4\tA\t=\tcode1\r\n")};
    page.show();
    page.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    page.montrer();
    page.bt_creer->setFocus(Qt::TabFocusReason);
    alertes.attend();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !page.travail_en_cours; }, 10000));
    ASSERT_EQ(alertes.textes.size(), 1); // the summary
    // The window system gives the page its window back in its own time.
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    EXPECT_EQ(QApplication::focusWidget(), page.bt_creer);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(presentateur.demandes.size(), 2) << "the open dialog again";
}

#include "test_csp_creer_plusieurs.moc"
