#include "controles_texte.h"
#include "cp_accueil.h"
#include "cp_apropos.h"
#include "cp_formation_memo.h"
#include "csp_contrat.h"
#include "csp_creer_plusieurs.h"
#include "csp_creer_unit.h"
#include "csp_version.h"
#include "fleche_droite.h"
#include "lecture_accessible.h"
#include "participants_fichiers.h"
#include "principale_essai.h"
#include "w_formation.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A form page of three controls; the third is hidden since its registration.
class page_formulaire : public classe_page {
public:
    page_formulaire() { cache->hide(); }
    QLineEdit* un = new QLineEdit(this);
    QLineEdit* deux = new QLineEdit(this);
    QLineEdit* cache = new QLineEdit(this);

protected:
    void formation_page(QString& message, QString&) override { message = "La page"; }
    void formation_controles() override {
        ajout_controle_formation(un, "Le premier", "");
        ajout_controle_formation(deux, "Le second", "format_fr.html");
        ajout_controle_formation(cache, "Le caché", "");
    }
};

class Formation : public testing::Test {
protected:
    void SetUp() override {
        principale.ajoute(coquille::ecran_creer_unit, formulaire);
        principale.ajoute(coquille::ecran_contrat, new csp_contrat);
        principale.ajoute(coquille::ecran_accueil, accueil);
        principale.ajoute(coquille::ecran_apropos, new classe_page);
        principale.montrer(coquille::ecran_creer_unit, coquille::origine_lancement);
    }
    void choisit(const QString& texte) {
        fenetre.popup_formation->setCurrentIndex(fenetre.popup_formation->findText(texte));
    }

    repondeur::garde garde;
    essai::principale principale;
    w_formation fenetre;
    page_formulaire* formulaire = new page_formulaire;
    cp_accueil* accueil = new cp_accueil;
};

} // namespace

TEST(PlacementFormation, BesideTheMainWindowWhereThereIsRoom) {
    // The screen's available area, the main window's frame, and where the
    // 300 x 430 frame of the training window goes.
    const QList<std::tuple<QRect, QRect, QPoint>> table = {
        // Room on the left: 10 points left of it, tops aligned, even where
        // the right has room too.
        {QRect(0, 22, 1440, 878), QRect(400, 200, 640, 430), QPoint(90, 200)},
        {QRect(0, 0, 1440, 900), QRect(311, 50, 640, 430), QPoint(1, 50)},
        // None on the left, room on the right: 10 points right of it, tops
        // aligned; the right edge may touch the screen's.
        {QRect(0, 0, 1024, 768), QRect(27, 150, 640, 470), QPoint(677, 150)},
        {QRect(0, 0, 1280, 800), QRect(155, 160, 640, 470), QPoint(805, 160)},
        {QRect(0, 24, 1280, 776), QRect(310, 50, 660, 430), QPoint(980, 50)},
        // Room on neither side, more room above: just above it, or at the
        // top of the screen, at its right edge where that covers less.
        {QRect(0, 0, 1440, 1100), QRect(100, 700, 1100, 300), QPoint(10, 238)},
        {QRect(0, 0, 1440, 900), QRect(100, 400, 1100, 430), QPoint(1130, 26)},
        // As much room below: just below it, or at the bottom of the screen.
        {QRect(0, 0, 1440, 1100), QRect(100, 20, 1100, 300), QPoint(10, 346)},
        {QRect(0, 0, 1440, 900), QRect(310, 50, 1100, 430), QPoint(10, 460)},
        // The same on a screen below another one.
        {QRect(0, 900, 1440, 900), QRect(310, 950, 1100, 430), QPoint(10, 1360)},
        // Where the bottom covers less, though above has more room.
        {QRect(0, 0, 910, 512), QRect(266, 31, 644, 453), QPoint(10, 72)},
        // One point short on the right.
        {QRect(0, 24, 1280, 776), QRect(310, 50, 661, 430), QPoint(10, 360)},
    };
    for (const auto& [ecran, principale, attendu] : table)
        EXPECT_EQ(w_formation::placement(ecran, principale, QSize(300, 430)),
                  QRect(attendu, QSize(300, 430)))
            << principale.x() << "," << principale.y() << " on " << ecran.width() << "x"
            << ecran.height();
}

TEST_F(Formation, TheArrowsWalkThePagesVisibleControls) {
    const QString navigation = "\n\nNaviguez avec les flèches ci-dessous\u00A0!";
    // Text, then whether "-", "+" and the link are on, after each press.
    const QList<std::tuple<QString, bool, bool, bool>> etapes = {
        {"La page" + navigation, false, true, false},
        {"Le premier", true, true, false},
        {"Le second", true, true, true},
        // The last control is hidden: the walk comes back to the page.
        {"La page" + navigation, false, true, false},
    };
    fenetre.montrer();
    for (const auto& [texte, moins, plus, lien] : etapes) {
        EXPECT_EQ(fenetre.st_message->Text, texte);
        EXPECT_EQ(fenetre.bt_moins->isEnabled(), moins) << texte.toStdString();
        EXPECT_EQ(fenetre.bt_plus->isEnabled(), plus) << texte.toStdString();
        EXPECT_EQ(!fenetre.st_lien_savoir_plus->isHidden(), lien) << texte.toStdString();
        emit fenetre.bt_plus->Action();
    }
    emit fenetre.bt_moins->Action();
    EXPECT_EQ(fenetre.st_message->Text, "La page" + navigation);
    EXPECT_TRUE(principale.menu_formation.isChecked());
    // The close box turns training off and every page back to its start.
    fenetre.close();
    EXPECT_FALSE(fenetre.isVisible());
    EXPECT_FALSE(principale.menu_formation.isChecked());
    EXPECT_FALSE(formulaire->affichage_formation);
}

TEST_F(Formation, ThePopupFollowsTheScreenAndLeadsToOthers) {
    fenetre.montrer();
    EXPECT_EQ(fenetre.popup_formation->currentText(), "Créer un code-barres");
    choisit("Consulter le contrat de licence");
    EXPECT_EQ(principale.bascules.last(),
              (QPair<int, int>{coquille::ecran_contrat, coquille::origine_formation}));
    // A page without controls: its own text, both arrows off.
    EXPECT_TRUE(fenetre.st_message->Text.startsWith("Cet écran présente les conditions"));
    EXPECT_FALSE(fenetre.bt_moins->isEnabled() || fenetre.bt_plus->isEnabled());
    fenetre.popup_formation->setCurrentIndex(2); // a separator
    EXPECT_EQ(fenetre.popup_formation->currentText(), "Consulter le contrat de licence");
    // The about screen has no row and no text.
    principale.montrer(coquille::ecran_apropos, coquille::origine_page);
    EXPECT_EQ(fenetre.popup_formation->currentIndex(), -1);
    EXPECT_EQ(fenetre.st_message->Text, "");
    // Quitting from the popup on the welcome page shows its expert text.
    principale.montrer(coquille::ecran_accueil, coquille::origine_page);
    choisit("Quitter le mode d'autoformation");
    EXPECT_FALSE(fenetre.isVisible());
    EXPECT_EQ(accueil->stade, 2);
    EXPECT_FALSE(fenetre.popup_changed_interne);
}

TEST_F(Formation, ThePopupsSeparatorsAreLinesThatNothingSelects) {
    fenetre.montrer();
    QComboBox* popup = fenetre.popup_formation;
    QAccessibleInterface* liste = QAccessible::queryAccessibleInterface(popup->view());
    ASSERT_NE(liste, nullptr);
    // The rows' texts; the separators have none.
    const QStringList lignes = {"Créer un code-barres",
                                "Créer un ensemble de code-barres",
                                "",
                                "Enregistrer l'état du logiciel",
                                "",
                                "Consulter le contrat de licence",
                                "",
                                "Vérifier la version de ce logiciel",
                                "",
                                "Consulter la documentation",
                                "",
                                "Quitter le mode d'autoformation"};
    ASSERT_EQ(popup->count(), lignes.size());
    ASSERT_EQ(liste->childCount(), lignes.size());
    for (int ligne = 0; ligne < lignes.size(); ++ligne) {
        const bool separateur = lignes.at(ligne).isEmpty();
        EXPECT_EQ(popup->itemText(ligne), lignes.at(ligne)) << ligne;
        const QAccessibleInterface* element = liste->child(ligne);
        ASSERT_NE(element, nullptr) << ligne;
        EXPECT_EQ(element->role(), separateur ? QAccessible::Separator : QAccessible::ListItem)
            << ligne;
        EXPECT_EQ(element->text(QAccessible::Name), lignes.at(ligne)) << ligne;
        EXPECT_EQ(element->state().selectable, !separateur) << ligne;
    }
    // The arrow keys step over a separator to the next screen's row.
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Down);
    EXPECT_EQ(popup->currentText(), "Enregistrer l'état du logiciel");
    EXPECT_EQ(principale.bascules.last(),
              (QPair<int, int>{coquille::ecran_formation_memo, coquille::origine_formation}));
    QTest::keyClick(popup, Qt::Key_Up);
    EXPECT_EQ(popup->currentText(), "Créer un ensemble de code-barres");
}

TEST_F(Formation, TheWelcomePageLeadsToEitherModeAndSharesItsBox) {
    principale.montrer(coquille::ecran_accueil, coquille::origine_lancement);
    EXPECT_TRUE(accueil->st_message->Text.endsWith("avec les versions antérieures."));
    EXPECT_TRUE(accueil->bt_ok->isHidden());
    accueil->bt_formation->click();
    EXPECT_TRUE(fenetre.isVisible());
    EXPECT_EQ(accueil->stade, 1);
    participants::lecteur_alertes alertes;
    alertes.attend();
    accueil->bt_ok->click();
    EXPECT_EQ(alertes.textes, QStringList{cp_accueil::texte_page});
    accueil->selectionne_expert();
    accueil->bt_ok->click();
    EXPECT_EQ(principale.bascules.last(),
              (QPair<int, int>{coquille::ecran_creer_plusieurs, coquille::origine_page}));
    accueil->bt_lancement->setChecked(true);
    EXPECT_TRUE(fenetre.bt_lancement->isChecked());
    fenetre.bt_lancement->setChecked(false);
    EXPECT_FALSE(accueil->bt_lancement->isChecked());
}

// Space on the focused arrow walks the steps. At the last step the right
// arrow goes grey and hands the focus to the left one; at the first step the
// left one hands it back. The start-up box never takes it, and stays unticked.
TEST_F(Formation, AnArrowThatGoesGreyHandsTheFocusToTheOther) {
    formulaire->cache->show(); // three steps after the page
    fenetre.montrer();
    fenetre.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fenetre));
    fenetre.bt_plus->setFocus(Qt::TabFocusReason);
    for (int pas = 0; pas < 3; ++pas)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(fenetre.st_message->Text, "Le caché");
    EXPECT_FALSE(fenetre.bt_plus->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), fenetre.bt_moins);
    for (int pas = 0; pas < 3; ++pas)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_TRUE(fenetre.st_message->Text.startsWith("La page"));
    EXPECT_FALSE(fenetre.bt_moins->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), fenetre.bt_plus);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(fenetre.st_message->Text, "Le premier");
    EXPECT_FALSE(fenetre.bt_lancement->isChecked());
}

// The control of the current step hides (a button that a run shows only
// while it goes on): the walk moves to the nearest step whose control shows,
// the later one of two as near, and the window follows.
TEST_F(Formation, AStepWhoseControlHidesGivesWayToTheNearestShown) {
    formulaire->cache->show();
    fenetre.montrer();
    emit fenetre.bt_plus->Action();
    emit fenetre.bt_plus->Action();
    ASSERT_EQ(fenetre.st_message->Text, "Le second");
    formulaire->deux->hide();
    EXPECT_EQ(formulaire->stade_formation, 3);
    EXPECT_EQ(fenetre.st_message->Text, "Le caché");
    EXPECT_FALSE(fenetre.bt_plus->isEnabled());
    EXPECT_TRUE(fenetre.st_lien_savoir_plus->isHidden());
    formulaire->cache->hide();
    EXPECT_EQ(formulaire->stade_formation, 1);
    EXPECT_EQ(fenetre.st_message->Text, "Le premier");
    EXPECT_TRUE(fenetre.bt_plus->isEnabled() && fenetre.bt_moins->isEnabled());
}

// An alert raised from the training window gives the focus back to the
// control that raised it, in the training window.
TEST_F(Formation, AfterAnAlertTheFocusIsBackInTheTrainingWindow) {
    principale.show();
    fenetre.montrer();
    fenetre.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fenetre));
    fenetre.bt_plus->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    ASSERT_FALSE(fenetre.st_lien_savoir_plus->isHidden()); // "Le second" has a page
    fenetre.st_lien_savoir_plus->setFocus(Qt::TabFocusReason);
    participants::lecteur_alertes alertes;
    alertes.attend();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(alertes.textes.size(), 1); // no connection
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fenetre));
    EXPECT_EQ(QApplication::focusWidget(), fenetre.st_lien_savoir_plus);
}

TEST_F(Formation, AssistiveTechnologyAnnouncesTheQuestionAndTheVersionsByTheirCaptions) {
    csp_version version;
    lecture_accessible::annonce_par(fenetre.popup_formation, "Que souhaitez-vous faire ?");
    lecture_accessible::annonce_par(version.ch_version_executee,
                                    "Version du logiciel en exécution");
}

TEST(FormationTextes, EveryTrainingTextOfEveryPageFitsTheMessageArea) {
    w_formation fenetre;
    std::vector<std::unique_ptr<classe_page>> pages;
    pages.push_back(std::make_unique<csp_creer_unit>());
    pages.push_back(std::make_unique<csp_creer_plusieurs>());
    pages.push_back(std::make_unique<cp_accueil>());
    pages.push_back(std::make_unique<cp_apropos>());
    pages.push_back(std::make_unique<cp_formation_memo>());
    pages.push_back(std::make_unique<csp_contrat>());
    pages.push_back(std::make_unique<csp_version>());
    for (const auto& page : pages) {
        page->Event_Open();
        const bool etapes = page->messages_formation.size() > 1;
        for (int entree = 0; entree < page->messages_formation.size(); ++entree) {
            // As the page hands the step over: its own entry first, with the
            // navigation sentence when it has controls to walk through.
            fenetre.message = page->messages_formation.at(entree);
            fenetre.fleches = !etapes ? 0 : entree == 0 ? 1 : 2;
            fenetre.maj_autres();
            EXPECT_LE(fenetre.st_message->calcule_disposition().hauteur_texte,
                      fenetre.st_message->height())
                << page->metaObject()->className() << " [" << entree
                << "]: " << fenetre.message.left(40).toStdString();
        }
    }
}

// The space before ":", ";", "!" and "?" does not break the line where the
// window shows a text (its text control draws it so); the page's text and
// the window's stay as written.
TEST(FormationTextes, TheSpaceBeforeAColonOrAMarkHoldsToTheWordBefore) {
    w_formation fenetre;
    csp_creer_unit page;
    page.Event_Open();
    const QString texte = page.messages_formation.at(4); // "N° de sous-parution"
    ASSERT_TRUE(texte.startsWith("Saisissez ici un chiffre correspondant :"));
    fenetre.message = texte;
    fenetre.fleches = 2;
    fenetre.maj_autres();
    EXPECT_EQ(fenetre.st_message->Text, texte);
    const QString dessine = signes_lies(fenetre.st_message->Text);
    EXPECT_TRUE(dessine.startsWith("Saisissez ici un chiffre correspondant\u00A0:"));
    EXPECT_FALSE(dessine.contains(QRegularExpression(" [:;!?]")));
    EXPECT_EQ(page.messages_formation.at(4), texte);
}

TEST(FormationClavier, TabFollowsTheReadingOrder) {
    w_formation fenetre;
    const QStringList lecture = {"st_question",         "popup_formation", "st_message",
                                 "st_lien_savoir_plus", "bt_moins",        "bt_plus",
                                 "bt_lancement"};
    QStringList chaine;
    QWidget* controle = fenetre.st_question;
    for (int pas = 0; pas < 100; ++pas) {
        if (controle->parentWidget() == &fenetre)
            chaine.append(controle->objectName());
        controle = controle->nextInFocusChain();
        if (controle == fenetre.st_question)
            break;
    }
    EXPECT_EQ(chaine.join(' ').toStdString(), lecture.join(' ').toStdString());
}
