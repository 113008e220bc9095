#include "../common/core/outils_parametres.h"
#include "CustomTab.h"
#include "CustomTabPanelTabs.h"
#include "app.h"
#include "cp_accueil.h"
#include "cp_apropos.h"
#include "cp_formation_memo.h"
#include "cp_onglets.h"
#include "csp_contrat.h"
#include "csp_creer_plusieurs.h"
#include "csp_creer_unit.h"
#include "csp_version.h"
#include "environnement.h"
#include "fichiers_parametres.h"
#include "lecture_accessible.h"
#include "menu_operateur.h"
#include "participants.h"
#include "participants_fichiers.h"
#include "repondeur.h"
#include "w_formation.h"
#include "w_main.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTimer>
#include <QUrl>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Brings a window in front, as a click on it would; a transient window counts
// as active already while its parent is, so the window system is asked itself.
void premier_plan(QWidget* fenetre) {
    fenetre->windowHandle()->requestActivate();
    EXPECT_TRUE(QTest::qWaitFor([fenetre] { return QApplication::activeWindow() == fenetre; }));
}

using coquille::ecran_accueil;
using coquille::ecran_apropos;
using coquille::ecran_contrat;
using coquille::ecran_creer_plusieurs;
using coquille::ecran_creer_unit;
using coquille::ecran_formation_memo;
using coquille::ecran_version;
using coquille::origine_formation;
using coquille::origine_lancement;
using coquille::origine_page;

const QString ligne_marque = "Consulter la documentation";

class FenetrePrincipale : public testing::Test {
protected:
    void SetUp() override { parametres_v1::niveau_version_preferences = 0; }
    void TearDown() override {
        formation.cacher();
        w_main::detruit();
    }

    // Marks the training window's step text and popup row, so that
    // origine_recue tells what the next page switch told it.
    void marque() {
        formation.message = "?";
        const int ligne = formation.popup_formation->findText(ligne_marque);
        if (formation.popup_formation->currentIndex() != ligne) {
            formation.popup_changed_interne = true;
            formation.popup_formation->setCurrentIndex(ligne);
        }
    }
    // 0 the window was not told; 1 it showed the step again and followed the
    // screen in its popup; 2 it showed the step again and kept its popup.
    std::int32_t origine_recue() const {
        const bool popup_garde = formation.popup_formation->currentText() == ligne_marque;
        if (formation.message == "?")
            return popup_garde ? origine_lancement : -1;
        return popup_garde ? origine_formation : origine_page;
    }

    // Writes the preferences file that the next start reads.
    static void preferences(const QByteArray& entrees) {
        QFile fichier(parametres_v1::chemin_preferences(0));
        ASSERT_TRUE(fichier.open(QIODevice::WriteOnly));
        fichier.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?><valdorin>" + entrees +
                      "</valdorin>");
    }

    // Starts the application as the event loop does and waits for the end
    // of the splash.
    static w_main& demarre() {
        App()->Event_Open();
        EXPECT_EQ(w_main::instance().contenu_courant(), ecran_apropos);
        EXPECT_TRUE(w_main::instance().p_apropos->isVisible());
        EXPECT_FALSE(w_main::instance().p_apropos->lien_web->isVisible());
        return w_main::instance();
    }
    static void attend_fin_splash() {
        QTRY_VERIFY_WITH_TIMEOUT(!w_main::instance().thread_lancement.isActive(), 10000);
    }

    static QStringList legendes(const cp_onglets& onglets) {
        QStringList resultat;
        for (int i = 0; i < onglets.bt_onglets->tabCount(); ++i)
            resultat.append(onglets.bt_onglets->caption(i));
        return resultat;
    }

    static QString fichier(const QString& nom) {
        const QString chemin = test_support::dossier_test() + "/" + nom;
        QFile sortie(chemin);
        sortie.open(QIODevice::WriteOnly);
        sortie.write(nom.endsWith(".valdorin")
                         ? "<?xml version=\"1.0\" encoding=\"UTF-8\"?><valdorin>"
                           "<multiples_ch_ext_eps>.ps</multiples_ch_ext_eps></valdorin>"
                         : "a\tb\n");
        return chemin;
    }

    static void depose(w_main& fenetre, const QStringList& fichiers) {
        QMimeData donnees;
        QList<QUrl> adresses;
        for (const QString& f : fichiers)
            adresses.append(QUrl::fromLocalFile(f));
        donnees.setUrls(adresses);
        // The drop goes to the window that took the drag when it entered.
        QDragEnterEvent entree(QPoint(10, 10), Qt::CopyAction, &donnees, Qt::LeftButton,
                               Qt::NoModifier);
        QCoreApplication::sendEvent(&fenetre, &entree);
        QDropEvent depot(QPointF(10, 10), Qt::CopyAction, &donnees, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&fenetre, &depot);
    }

    w_formation& formation = w_formation::instance();
    repondeur::garde garde;
};

// The page switch keeps the last tab screen left and tells the training
// window, except when the screen asked for is already shown.
TEST_F(FenetrePrincipale, BasculeDePages) {
    w_main& fenetre = w_main::instance();
    formation.montrer();
    csp_version& version = *fenetre.p_onglets->sp_version;
    version.version_disponible_num = 0;
    struct pas {
        std::int32_t ecran, precedent;
        QWidget* visible;
    };
    const pas suite[] = {
        {ecran_creer_plusieurs, ecran_creer_unit, fenetre.p_onglets},
        {ecran_creer_unit, ecran_creer_plusieurs, fenetre.p_onglets},
        {ecran_accueil, ecran_creer_unit, fenetre.p_accueil},
        {ecran_formation_memo, ecran_creer_unit, fenetre.p_formation_memo},
        {ecran_version, ecran_creer_unit, fenetre.p_onglets},
        {ecran_creer_plusieurs, ecran_version, fenetre.p_onglets},
        {ecran_apropos, ecran_creer_plusieurs, fenetre.p_apropos},
    };
    // Each switch comes from the next origin in turn.
    const std::int32_t origines[] = {origine_lancement, origine_page, origine_formation};
    std::size_t n = 0;
    for (const pas& p : suite) {
        const std::int32_t origine = origines[n++ % std::size(origines)];
        marque();
        fenetre.montrer(p.ecran, origine);
        EXPECT_EQ(fenetre.contenu_courant(), p.ecran);
        EXPECT_EQ(fenetre.contenu_onglet_precedent(), p.precedent) << p.ecran;
        const QList<QWidget*> conteneurs = {fenetre.p_onglets, fenetre.p_accueil, fenetre.p_apropos,
                                            fenetre.p_formation_memo};
        for (QWidget* conteneur : conteneurs)
            EXPECT_EQ(conteneur->isVisible(), conteneur == p.visible) << p.ecran;
        EXPECT_EQ(origine_recue(), origine) << p.ecran;
    }
    marque();
    fenetre.montrer(ecran_apropos, origine_page);
    EXPECT_EQ(origine_recue(), origine_lancement);
    // The version page's show hook ran its check (no network here).
    EXPECT_EQ(version.version_disponible_num, -1);
    EXPECT_EQ(fenetre.page(2), nullptr); // 2 names no screen
    EXPECT_EQ(fenetre.page(ecran_accueil), fenetre.p_accueil);
    EXPECT_EQ(fenetre.size(), QSize(640, 430 + fenetre.menuBar()->height()));
}

// Tabs open in screen order, the last one keeps no close box, and a closed
// tab leaves its page; the open tabs go to the preferences.
TEST_F(FenetrePrincipale, Onglets) {
    w_main& fenetre = w_main::instance();
    cp_onglets& onglets = *fenetre.p_onglets;
    fenetre.montrer(ecran_version, origine_page);
    EXPECT_FALSE(onglets.bt_onglets->closeBox(0));
    fenetre.montrer(ecran_creer_plusieurs, origine_page);
    fenetre.montrer(ecran_creer_unit, origine_page);
    fenetre.montrer(ecran_contrat, origine_page);
    const QList<std::int32_t> tous = {ecran_creer_unit, ecran_creer_plusieurs, ecran_contrat,
                                      ecran_version};
    EXPECT_EQ(onglets.tableau_contenus_courants, tous);
    EXPECT_EQ(legendes(onglets),
              (QStringList{"Créer un code-barres", "Créer un ensemble de code-barres",
                           "Contrat de licence", "Version"}));
    EXPECT_EQ(onglets.bt_onglets->value(), 2);
    EXPECT_EQ(onglets.pp_onglets->currentIndex(), 2);
    EXPECT_TRUE(onglets.bt_onglets->closeBox(0) && onglets.bt_onglets->closeBox(3));
    // A click on a tab switches the screen.
    onglets.bt_onglets->setValue(1);
    EXPECT_EQ(fenetre.contenu_courant(), ecran_creer_plusieurs);
    // Closing the front tab shows the tab now in front.
    onglets.bt_onglets->removeTab(1);
    QTRY_COMPARE(onglets.tableau_contenus_courants,
                 (QList<std::int32_t>{ecran_creer_unit, ecran_contrat, ecran_version}));
    EXPECT_EQ(fenetre.contenu_courant(),
              onglets.tableau_contenus_courants.at(onglets.bt_onglets->value()));
    // The more-tabs menu lists every tab screen; a closed one reopens.
    QStringList lignes;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* ligne : menu->actions())
            lignes.append(ligne->text() + (ligne->isChecked() ? " *" : ""));
        menu->setActiveAction(menu->actions().at(1));
        QTest::keyClick(menu, Qt::Key_Return);
    });
    emit onglets.bt_onglets->MenuCustomTabBrimlow(100, 100);
    EXPECT_EQ(lignes, (QStringList{"Créer un code-barres", "Créer un ensemble de code-barres",
                                   "Contrat de licence *", "Version"}));
    EXPECT_EQ(fenetre.contenu_courant(), ecran_creer_plusieurs);
    EXPECT_EQ(onglets.tableau_contenus_courants, tous);
    onglets.maj("init"); // the saved tabs (none) are open again: the open ones are saved
    parametres_v1::dictionnaire_parametres = parametres_v1::dictionnaire();
    onglets.import_export_parametres("init", "export");
    EXPECT_EQ(parametres_v1::dictionnaire_parametres->value("onglets_contenu"), "0,1,3,4");
    parametres_v1::dictionnaire_parametres.reset();
}

// The menu bar's keys work from the training window; an editing key acts on
// the focused field of the window in front only. The strip greys out while
// another application is in front, not the training window: the first click
// on a tab then counts.
TEST_F(FenetrePrincipale, LaFenetreDAutoformationDevant) {
    w_main& fenetre = w_main::instance();
    fenetre.montrer(ecran_creer_plusieurs, origine_page);
    fenetre.montrer(ecran_creer_unit, origine_page);
    formation.montrer();
    QLineEdit& champ = *fenetre.p_onglets->sp_creer_unit->ch_code_produit;
    const auto appuie = [](QWidget* devant, Qt::Key touche) {
        premier_plan(devant);
        QWidget* cible = QApplication::focusWidget() ? QApplication::focusWidget() : devant;
        QTest::keyClick(cible, touche, Qt::ControlModifier);
    };
    for (QWidget* devant : std::initializer_list<QWidget*>{&formation, &fenetre}) {
        champ.setText("54321");
        premier_plan(&fenetre);
        champ.setFocus();
        champ.selectAll();
        appuie(devant, Qt::Key_X);
        EXPECT_EQ(champ.text(), devant == &fenetre ? "" : "54321");
    }
    QTimer garde; // Ctrl+Q ends the event loop with 0, a dead key with 1
    garde.callOnTimeout([] { QCoreApplication::exit(1); });
    garde.start(5000);
    QTimer::singleShot(0, [&] { appuie(&formation, Qt::Key_Q); });
    EXPECT_EQ(App()->exec(), 0);
    CustomTabPanelTabs& bande = *fenetre.p_onglets->bt_onglets;
    premier_plan(&formation);
    EXPECT_TRUE(bande.isEnabled());
    // The offscreen platform stays active: the toolkit's notice is given here.
    emit qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_FALSE(bande.isEnabled());
    emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
    EXPECT_TRUE(bande.isEnabled());
    bande.grab();
    const CustomTab& onglet = *bande.tabs.at(1);
    QTest::mouseClick(&bande, Qt::LeftButton, {}, QPoint(onglet.x() + 30, onglet.y() + 10));
    EXPECT_EQ(fenetre.contenu_courant(), ecran_creer_plusieurs);
}

// Quitting before the splash has reopened the saved tabs writes them back as
// they were read.
TEST_F(FenetrePrincipale, QuitterPendantLeSplashGardeLesOnglets) {
    preferences("<onglets_contenu>0,3,4</onglets_contenu><main_contenu>3</main_contenu>"
                "<accueil_bt_lancement>true</accueil_bt_lancement>");
    demarre();
    QFile::remove(parametres_v1::chemin_preferences(0));
    QTimer::singleShot(0, [] { menu_operateur::instance().element("menu_quitter")->trigger(); });
    EXPECT_EQ(App()->exec(), 0);
    const QByteArray ecrit = outils_parametres::lit(parametres_v1::chemin_preferences(0));
    EXPECT_TRUE(ecrit.contains("<onglets_contenu>0,3,4</onglets_contenu>")) << ecrit.constData();
    EXPECT_TRUE(ecrit.contains("<main_contenu>3</main_contenu>")) << ecrit.constData();
    formation.bt_lancement->setChecked(false);
}

// The window moves left by half the training window's width plus 30, the
// fraction dropped, never past the screen's left edge.
TEST(FenetrePrincipaleOuverture, DecalageVersLaGauche) {
    for (const auto& [gauche, largeur, attendu] :
         {std::tuple{400, 201, 284}, {400, 200, 285}, {100, 200, 0}})
        EXPECT_EQ(w_main::gauche_decalee(gauche, largeur), attendu) << gauche << " " << largeur;
}

// The saved tabs reopen at the end of the splash; the first screen is the
// welcome page, the version page when a newer version is announced, or the
// last tab screen.
TEST_F(FenetrePrincipale, PremierEcran) {
    // The start-up box checked, as the welcome page stores it.
    const QByteArray cochee = "<accueil_bt_lancement>true</accueil_bt_lancement>";
    const QByteArray decochee = "<accueil_bt_lancement>false</accueil_bt_lancement>";
    struct cas {
        QByteArray preferences;
        // The newest version the server announced; the one recorded as
        // announced once the first screen is chosen.
        double disponible, observee;
        std::int32_t premier;
        QList<std::int32_t> onglets;
    };
    const cas cas_testes[] = {
        {decochee, 3, 0, ecran_accueil, {ecran_creer_unit, ecran_creer_plusieurs}},
        {cochee + "<onglets_contenu>4,0</onglets_contenu><main_contenu>0</main_contenu>",
         2,
         0,
         ecran_creer_unit,
         {ecran_creer_unit, ecran_version}},
        {cochee + "<onglets_contenu>0</onglets_contenu>",
         3,
         3,
         ecran_version,
         {ecran_creer_unit, ecran_version}},
        {cochee + "<onglets_contenu>7</onglets_contenu><main_contenu>3</main_contenu>"
                  "<version_bt_prevenir>true</version_bt_prevenir>"
                  "<version_derniere_version_disponible_observee>3"
                  "</version_derniere_version_disponible_observee>",
         3,
         3,
         ecran_contrat,
         {ecran_contrat}},
        {cochee + "<onglets_contenu></onglets_contenu><main_contenu>6</main_contenu>",
         0,
         0,
         ecran_creer_unit,
         {ecran_creer_unit, ecran_creer_plusieurs}},
    };
    for (const cas& c : cas_testes) {
        parametres_v1::niveau_version_preferences = 0;
        preferences(c.preferences);
        w_main& fenetre = demarre();
        csp_version& version = *fenetre.p_onglets->sp_version;
        if (c.disponible > 0)
            version.version_disponible_num = c.disponible;
        formation.montrer();
        marque();
        // A click on the splash ends it at once.
        QTest::mouseClick(fenetre.p_apropos->canvas_fond, Qt::LeftButton);
        attend_fin_splash();
        EXPECT_EQ(fenetre.contenu_courant(), c.premier);
        EXPECT_EQ(fenetre.p_onglets->tableau_contenus_courants, c.onglets);
        EXPECT_DOUBLE_EQ(version.derniere_version_disponible_observee, c.observee);
        EXPECT_TRUE(fenetre.p_apropos->lien_web->isVisibleTo(fenetre.p_apropos));
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        // The switch to the first screen leaves the training window alone.
        EXPECT_EQ(origine_recue(), origine_lancement);
        formation.cacher();
        w_main::detruit();
    }
}

// The cancel key ends the splash; a menu command during the splash shows its
// screen at once, and the end of the splash leaves the tab strip and the page
// shown in step with the current screen.
TEST_F(FenetrePrincipale, CommandePendantLeSplash) {
    preferences("<onglets_contenu>1</onglets_contenu><main_contenu>0</main_contenu>"
                "<accueil_bt_lancement>true</accueil_bt_lancement>");
    w_main& fenetre = demarre();
    menu_operateur::instance().element("menu_creer_unit")->trigger();
    EXPECT_EQ(fenetre.contenu_courant(), ecran_creer_unit);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(fenetre.thread_lancement.isActive());
    QTest::keyClick(&fenetre, Qt::Key_Escape);
    attend_fin_splash();
    cp_onglets& onglets = *fenetre.p_onglets;
    EXPECT_EQ(onglets.tableau_contenus_courants,
              (QList<std::int32_t>{ecran_creer_unit, ecran_creer_plusieurs}));
    EXPECT_EQ(onglets.bt_onglets->value(), 0);
    EXPECT_EQ(onglets.pp_onglets->currentIndex(), 0);
    // After the splash a click on the about page goes back to the last tab.
    fenetre.montrer(ecran_apropos, origine_page);
    QTest::mouseClick(fenetre.p_apropos->canvas_fond, Qt::LeftButton);
    EXPECT_EQ(fenetre.contenu_courant(), ecran_creer_unit);
}

// Drops: only the first file; a state file restores on any screen; a data
// file asks on the batch screen only; both are refused while a run is going.
TEST_F(FenetrePrincipale, Depots) {
    w_main& fenetre = w_main::instance();
    parametres_v1::dictionnaire_parametres = parametres_v1::dictionnaire();
    const QString etat = fichier("etat.valdorin");
    const QString donnees = fichier("donnees.txt");
    participants::lecteur_alertes alertes;
    fenetre.montrer(ecran_accueil, origine_page);
    QPlainTextEdit& commentaire = *fenetre.p_onglets->sp_creer_unit->ch_commentaire;
    commentaire.setPlainText("tapé");
    alertes.attend();
    depose(fenetre, {etat, donnees, donnees});
    EXPECT_EQ(alertes.textes.size(), 1);
    EXPECT_EQ(fenetre.contenu_courant(), ecran_accueil);
    EXPECT_EQ(fenetre.p_onglets->sp_creer_plusieurs->ch_ext_eps->text(), ".ps");
    EXPECT_EQ(commentaire.toPlainText(), ""); // a text that the state lacks is emptied
    fenetre.montrer(ecran_creer_unit, origine_page);
    depose(fenetre, {donnees});
    App()->Event_OpenDocument(donnees);
    fenetre.montrer(ecran_creer_plusieurs, origine_page);
    csp_creer_plusieurs& page = *fenetre.p_onglets->sp_creer_plusieurs;
    QString question;
    repondeur::quand_visible([&](QWidget* dialogue) {
        question = qobject_cast<w_alerte*>(dialogue)->st_message_centre->Text;
        dialogue->close();
    });
    depose(fenetre, {donnees, etat});
    EXPECT_EQ(question, "Créer un ensemble de code-barres à partir d'un fichier de données ?");
    EXPECT_EQ(page.fi_lecture_officiel, "");
    page.travail_en_cours = true;
    page.fi_lecture_officiel = "/en/cours.txt";
    alertes.attend();
    App()->Event_OpenDocument(donnees);
    ASSERT_EQ(alertes.textes.size(), 2);
    EXPECT_TRUE(alertes.textes.last().endsWith("Ouverture annulée !"));
    EXPECT_EQ(page.fi_lecture_officiel, "/en/cours.txt");
    // Nor is a state restored under a run, which reads the page's settings.
    page.ch_ext_eps->setText(".epsf");
    alertes.attend();
    depose(fenetre, {etat});
    EXPECT_TRUE(
        alertes.textes.last().endsWith("avant de restaurer un état.\r\rOuverture annulée !"));
    EXPECT_EQ(page.ch_ext_eps->text(), ".epsf");
    page.travail_en_cours = false;
    parametres_v1::dictionnaire_parametres.reset();
}

// The last tab screen goes to the preferences: the tab shown, or the last
// one left when another screen shows; an out-of-range value reads as 0.
TEST_F(FenetrePrincipale, EcranEnregistre) {
    w_main& fenetre = w_main::instance();
    parametres_v1::dictionnaire_parametres = parametres_v1::dictionnaire();
    fenetre.montrer(ecran_version, origine_page);
    fenetre.montrer(ecran_apropos, origine_page);
    fenetre.import_export_parametres("init", "export");
    EXPECT_EQ(parametres_v1::dictionnaire_parametres->value("main_contenu"), "4");
    fenetre.montrer(ecran_creer_plusieurs, origine_page);
    fenetre.import_export_parametres("init", "export");
    EXPECT_EQ(parametres_v1::dictionnaire_parametres->value("main_contenu"), "1");
    for (const char* lu : {"6", "2", "x"}) {
        parametres_v1::dictionnaire_parametres->insert("main_contenu", lu);
        fenetre.import_export_parametres("init", "import");
        EXPECT_EQ(fenetre.contenu_onglet_precedent(), ecran_creer_unit) << lu;
    }
    parametres_v1::dictionnaire_parametres.reset();
}

// Minimising carries the training window along; the screen commands restore
// the window first, and the state-file commands lead to the state page while
// self-training is on.
TEST_F(FenetrePrincipale, MinimiserEtAutoformation) {
    w_main& fenetre = w_main::instance();
    menu_operateur& barre = menu_operateur::instance();
    fenetre.montrer(ecran_creer_unit, origine_page);
    barre.element("menu_formation")->trigger();
    EXPECT_TRUE(formation.isVisible());
    // The window manager minimises the training window with the main one:
    // restored, it comes back in its normal state.
    formation.setWindowState(Qt::WindowMinimized);
    fenetre.Event_Minimize();
    EXPECT_TRUE(fenetre.minimisee && formation.minimisee);
    EXPECT_FALSE(formation.isVisible());
    fenetre.Event_Restore();
    EXPECT_TRUE(formation.isVisible() && !fenetre.minimisee && !formation.minimisee);
    EXPECT_FALSE(formation.windowState() & Qt::WindowMinimized);
    fenetre.Event_Minimize();
    barre.element("menu_enregistrer_memo")->trigger();
    EXPECT_EQ(fenetre.contenu_courant(), ecran_formation_memo);
    EXPECT_FALSE(fenetre.minimisee || formation.minimisee);
    EXPECT_TRUE(formation.isVisible());
    barre.element("menu_formation")->trigger();
    EXPECT_FALSE(formation.isVisible());
    fenetre.Event_Minimize();
    EXPECT_FALSE(formation.minimisee);
    barre.element("menu_creer_plusieurs")->trigger();
    EXPECT_EQ(fenetre.contenu_courant(), ecran_creer_plusieurs);
    EXPECT_FALSE(fenetre.minimisee || formation.isVisible());
}

// Tab visits the controls of every page and of the alert dialog in reading
// order: rows from top to bottom, each from left to right, the controls of a
// group box together.
// A fault of the single page found from the batch page: after the alert,
// the single page shows with the faulty field in focus.
TEST_F(FenetrePrincipale, DefautDuFormulaireDepuisLaSerie) {
    w_main& fenetre = w_main::instance();
    fenetre.show();
    premier_plan(&fenetre);
    fenetre.montrer(ecran_creer_plusieurs, origine_page);
    fenetre.p_onglets->sp_creer_plusieurs->bt_enregistrer->setFocus(Qt::TabFocusReason);
    participants::lecteur_alertes alertes;
    alertes.attend();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(alertes.textes.size(), 1);
    EXPECT_EQ(fenetre.contenu_courant(), ecran_creer_unit);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &fenetre; }));
    EXPECT_EQ(QApplication::focusWidget(), fenetre.p_onglets->sp_creer_unit->ch_code_produit);
}

// From the splash on, the keys go to the screen shown: to its first control in
// the Tab order, or to the screen itself, never to a control of a screen left.
TEST_F(FenetrePrincipale, LesTouchesVontALEcranMontre) {
    preferences("<accueil_bt_lancement>false</accueil_bt_lancement>");
    w_main& fenetre = demarre();
    premier_plan(&fenetre);
    csp_creer_unit& unit = *fenetre.p_onglets->sp_creer_unit;
    const auto clic = [](QWidget* controle) { QTest::mouseClick(controle, Qt::LeftButton); };
    const auto apropos = [] { menu_operateur::instance().element("menu_apropos")->trigger(); };
    const std::function<void()> bascules[] = {
        [] {},
        [&] { clic(fenetre.p_apropos->canvas_fond), attend_fin_splash(); },
        [&] { clic(fenetre.p_accueil->bt_expert), clic(fenetre.p_accueil->bt_ok); },
        [&] { clic(unit.ch_entete_prix), QTest::keyClicks(unit.ch_entete_prix, "AB"), apropos(); },
        [&] { clic(fenetre.p_apropos->canvas_fond); },
        [&] { fenetre.montrer(ecran_formation_memo, origine_page); },
        [&] { clic(fenetre.p_formation_memo->lien_revenir); },
        [&] { fenetre.montrer(ecran_contrat, origine_page); },
        [&] { clic(fenetre.p_onglets->sp_contrat->ch_contrat), apropos(); },
    };
    for (const auto& bascule : bascules) {
        bascule();
        const QWidget* montre = fenetre.page(fenetre.contenu_courant());
        QWidget* focus = QApplication::focusWidget();
        ASSERT_TRUE(focus && focus->isVisible() && (focus == montre || montre->isAncestorOf(focus)))
            << fenetre.contenu_courant();
        QTest::keyClicks(focus, "Z");
    }
    EXPECT_EQ(unit.ch_entete_prix->text(), "AB");
}

TEST_F(FenetrePrincipale, OrdreDeTabulation) {
    w_main& fenetre = w_main::instance();
    fenetre.montrer(ecran_accueil, origine_page);
    // Where Tab stops under `racine`, around its window from the window on.
    const auto parcours = [](QWidget* racine) {
        QStringList noms;
        QWidget* const haut = racine->window();
        for (QWidget* c = haut->nextInFocusChain(); c != haut; c = c->nextInFocusChain())
            if (racine->isAncestorOf(c) && c->window() == haut &&
                (c->focusPolicy() & Qt::TabFocus) && c->isVisible() && c->isEnabled())
                noms.append(c->objectName());
        return noms.join(' ').toStdString();
    };
    // Every control shown and enabled: PDF, results in a default folder, a
    // paid update, the splash over.
    fenetre.p_onglets->sp_creer_unit->popup_type_fichier->setCurrentIndex(1);
    csp_creer_plusieurs& plusieurs = *fenetre.p_onglets->sp_creer_plusieurs;
    plusieurs.ch_repertoire->setPlainText("/tmp/");
    plusieurs.popup_resultats->setCurrentIndex(2);
    fenetre.p_onglets->sp_version->version_disponible_num = 3;
    fenetre.p_apropos->lien_web->show();
    const std::pair<std::int32_t, const char*> ecrans[] = {
        {ecran_creer_unit, "ch_transporteur ch_code_produit ch_parution popup_sous_parution "
                           "ch_entete_prix ch_prix ch_reglement popup_type_fichier "
                           "popup_engraissement popup_protection popup_orientation popup_previsu "
                           "ch_commentaire cb_visualiser bt_enregistrer bt_creer"},
        {ecran_creer_plusieurs,
         "popup_delimiteur popup_codage cb_previsualiser lien_format popup_resultats "
         "bt_choisir_repertoire bt_ouvrir_repertoire ch_repertoire ch_ext_eps cb_log popup_log "
         "bt_enregistrer bt_verrouiller bt_creer"},
        {ecran_version, "lien_historique lien_telecharger lien_acheter bt_prevenir"},
        {ecran_accueil, "bt_lancement lien_maj bt_formation bt_expert"},
        {ecran_apropos, "lien_web"},
        {ecran_formation_memo, "bt_enregistrer lien_revenir bt_restaurer"},
    };
    for (const auto& [ecran, attendu] : ecrans) {
        fenetre.montrer(ecran, origine_page);
        EXPECT_EQ(parcours(fenetre.page(ecran)), attendu) << ecran;
    }
    // The alert dialog, its bottom row laid out for each kind of dialog.
    w_alerte& alerte = w_alerte::instance();
    QString texte;
    const std::pair<std::function<void()>, const char*> dialogues[] = {
        {[&] { alerte.proposition_ok_annuler("Continuer ?", "tab_ok"); },
         "cb_ne_plus bt_deux bt_un"},
        {[&] { alerte.proposition_bouton_lien("Voir ?", "Fermer", "Voir", "tab_lien"); },
         "cb_ne_plus lien_un bt_un"},
        {[&] { alerte.saisie_texte("Nom ?", texte); }, "ch_texte bt_deux bt_un"},
    };
    for (const auto& [ouvre, attendu] : dialogues) {
        std::string parcouru;
        repondeur::quand_visible([&](QWidget* dialogue) {
            parcouru = parcours(dialogue);
            qobject_cast<w_alerte*>(dialogue)->reject();
        });
        ouvre();
        EXPECT_EQ(parcouru, attendu);
    }
}

// A screen reader names the agreement text and the preview popup, which have no
// caption of their own, and reads a help tag as its tooltip shows it.
TEST_F(FenetrePrincipale, CeQuUnLecteurDEcranRecoit) {
    const cp_onglets& onglets = *w_main::instance().p_onglets;
    const auto lu = [](QWidget* controle, QAccessible::Text texte) {
        return QAccessible::queryAccessibleInterface(controle)->text(texte).toStdString();
    };
    menu_aide_contextuelle()->trigger();
    EXPECT_EQ(lu(onglets.sp_contrat->ch_contrat, QAccessible::Name), "Contrat de licence");
    EXPECT_EQ(lu(onglets.sp_creer_unit->ch_transporteur, QAccessible::Description),
              "Entrez ici, si vous le souhaitez, une lettre majuscule significative du "
              "transporteur.\n\nCette majuscule figurera en en-tête de la légende du code-barres.");
    lecture_accessible::annonce_par(onglets.sp_creer_unit->popup_previsu,
                                    "Prévisualisation EPS ou post-it PDF");
    menu_aide_contextuelle()->setChecked(false);
}

} // namespace
