#include "../common/core/outils_parametres.h"
#include "app.h"
#include "bibliotheque_divers.h"
#include "classe_page.h"
#include "cp_accueil.h"
#include "cp_apropos.h"
#include "cp_onglets.h"
#include "csp_version.h"
#include "fichiers_parametres.h"
#include "fleche_droite.h"
#include "parametres_v1.h"
#include "serveur_essai.h"
#include "w_formation.h"
#include "w_main.h"
#include "w_web.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QNetworkProxy>
#include <QPushButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace {

// Starts the whole application with its guidance pages, the network
// reported down so that nothing leaves the machine.
w_main& demarre() {
    parametres_v1::niveau_version_preferences = 0;
    w_web::instance().interroge = [] { return false; };
    App()->Event_Open();
    EXPECT_TRUE(
        QTest::qWaitFor([] { return !w_main::instance().thread_lancement.isActive(); }, 10000));
    return w_main::instance();
}

} // namespace

TEST(GuidageCoquille, SelfTrainingWalksTheScreensAndTheStartUpBoxCarriesOver) {
    w_main& principale = demarre();
    ASSERT_EQ(principale.contenu_courant(), coquille::ecran_accueil);
    cp_accueil* accueil = principale.p_accueil;
    accueil->bt_formation->click();
    w_formation& fenetre = w_formation::instance();
    ASSERT_TRUE(fenetre.isVisible());
    EXPECT_EQ(fenetre.message, cp_accueil::texte_page);
    // Rows, their screens, and the steps of their pages (the page included).
    const QList<std::tuple<QString, int, int>> table = {
        {"Consulter le contrat de licence", coquille::ecran_contrat, 1},
        {"Vérifier la version de ce logiciel", coquille::ecran_version, 8},
        {"Enregistrer l'état du logiciel", coquille::ecran_formation_memo, 1},
    };
    for (const auto& [ligne, ecran, pas_attendus] : table) {
        fenetre.popup_formation->setCurrentIndex(fenetre.popup_formation->findText(ligne));
        EXPECT_EQ(principale.contenu_courant(), ecran);
        int pas = 1;
        for (; fenetre.bt_plus->isEnabled() && pas < 20; ++pas)
            emit fenetre.bt_plus->Action();
        EXPECT_EQ(pas, pas_attendus) << ligne.toStdString();
    }
    EXPECT_EQ(principale.p_onglets->sp_version->version_disponible_num, -1);

    accueil->bt_lancement->setChecked(true);
    fenetre.cacher();
    App()->Event_CancelClose();
    w_main::detruit();
    // Only the preferences carry the box to the next start.
    fenetre.bt_lancement->setChecked(false);
    EXPECT_NE(demarre().contenu_courant(), coquille::ecran_accueil);
    EXPECT_TRUE(fenetre.bt_lancement->isChecked());
    w_main::detruit();
}

// A group box that the style fills (KDE's Breeze does, as this style sheet
// does) hides no part of the training frame round a control on it.
TEST(GuidageCoquille, TheTrainingFrameShowsOverAGroupBoxThatTheStyleFills) {
    w_main& principale = demarre();
    principale.setStyleSheet(QStringLiteral("QGroupBox { background: #C8D8E8; }"));
    w_formation& formation = w_formation::instance();
    formation.montrer();
    principale.montrer(coquille::ecran_creer_unit, coquille::origine_page);
    classe_page* page = principale.page(coquille::ecran_creer_unit);
    QWidget* controle = page->findChild<QWidget*>("ch_code_produit");
    while (page->controles_formation.value(page->stade_formation) != controle &&
           formation.bt_plus->isEnabled())
        emit formation.bt_plus->Action();
    ASSERT_EQ(page->controles_formation.value(page->stade_formation), controle);
    EXPECT_EQ(page->childAt(controle->geometry().center()), controle); // takes the mouse
    // The middle of each side of the 4-pixel ring.
    const QRect r =
        bibliotheque_v1::cadre_controle(controle, page, 0).rectangle - QMargins(2, 2, 2, 2);
    const QImage image = page->grab().toImage();
    for (const QPoint& p : {QPoint(r.center().x(), r.top()), QPoint(r.center().x(), r.bottom()),
                            QPoint(r.left(), r.center().y()), QPoint(r.right(), r.center().y())})
        EXPECT_EQ(image.pixel(p) & 0xFFFFFF, classe_page::couleur_cadre) << p.x() << "," << p.y();
    w_formation::instance().cacher();
    App()->Event_CancelClose();
    w_main::detruit();
}

// An answer that comes after the splash's two seconds still opens the version
// page: the first screen waits for the check, the about page showing, unless
// a click or Escape cuts the wait short or the welcome page comes first.
TEST(GuidageCoquille, TheFirstScreenWaitsForAVersionCheckStillRunning) {
    using conduite = essai::serveur_web::conduite;
    enum geste { aucun, echap, clic };
    const struct {
        conduite serveur; // an answer in 3 s, or one that never ends
        const char* accueil_cache;
        geste coupe;
        std::int32_t premier;
    } table[] = {
        {conduite::lent, "true", aucun, coquille::ecran_version},
        {conduite::egrene, "true", echap, coquille::ecran_creer_unit},
        {conduite::egrene, "true", clic, coquille::ecran_creer_unit},
        {conduite::egrene, "false", aucun, coquille::ecran_accueil},
    };
    w_web& connexion = w_web::instance();
    const auto horloge = connexion.horloge;
    std::int64_t temps = 0; // no answer of the connection test is kept
    connexion.horloge = [&temps] { return temps += 10000; };
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    for (const auto& c : table) {
        essai::serveur_web serveur;
        serveur.comportement = c.serveur;
        serveur.corps = "version = 3";
        csp_version::serveur_essai = serveur.adresse();
        connexion.interroge = [] { return true; };
        w_formation::instance().bt_lancement->setChecked(false); // as at a real start
        parametres_v1::niveau_version_preferences = 0;
        outils_parametres::ecrit(parametres_v1::chemin_preferences(0),
                                 QByteArray(outils_parametres::entete) +
                                     "<valdorin><accueil_bt_lancement>" + c.accueil_cache +
                                     "</accueil_bt_lancement></valdorin>");
        App()->Event_Open();
        w_main& principale = w_main::instance();
        if (c.coupe != aucun) {
            QTest::qWait(2500);
            EXPECT_EQ(principale.contenu_courant(), coquille::ecran_apropos);
            EXPECT_TRUE(principale.thread_lancement.isActive());
            if (c.coupe == echap)
                QTest::keyClick(&principale, Qt::Key_Escape);
            else
                QTest::mouseClick(principale.p_apropos->canvas_fond, Qt::LeftButton);
        }
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return !principale.thread_lancement.isActive(); }, 20000));
        EXPECT_EQ(principale.contenu_courant(), c.premier);
        EXPECT_EQ(principale.p_onglets->sp_version->requete_en_cours(),
                  c.serveur == conduite::egrene);
        connexion.interroge = [] { return false; };
        csp_version::serveur_essai.clear();
        w_main::detruit();
    }
    w_formation::instance().bt_lancement->setChecked(false);
    connexion.horloge = horloge;
}
