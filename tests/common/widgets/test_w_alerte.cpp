#include "w_alerte.h"

#include "bibliotheque_v1.h"
#include "controles_texte.h"
#include "editfield_numerique.h"
#include "participants.h"
#include "repondeur.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

using repondeur::quand_visible;

namespace {

int largeur_bouton(const QString& legende) {
    return std::max(80, bibliotheque_v1::string_width(legende, "System", 13, true, false) + 30);
}

int largeur_case(const QString& legende) {
    return bibliotheque_v1::string_width(legende, "System", 13, false, false) + 20;
}

void clique(QWidget* controle) {
    QTest::mouseClick(controle, Qt::LeftButton, {}, QPoint(5, 5));
}

// The alert dialog over a main window of 711 × 500 at (100, 50). The one
// instance lives for the whole run, so every test uses keys of its own.
class Alerte : public testing::Test {
protected:
    void SetUp() override { fenetre.setGeometry(100, 50, 711, 500); }

    w_alerte& alerte = w_alerte::instance();
    participants::fenetre fenetre;
    repondeur::garde garde;
};

} // namespace

TEST_F(Alerte, AMessageShowsOneOkButtonCentredOverTheMainWindow) {
    bool vu = false;
    quand_visible([&](QWidget* modale) {
        vu = true;
        EXPECT_EQ(modale, &alerte);
        EXPECT_EQ(alerte.windowTitle(), "Valdorin");
        EXPECT_EQ(alerte.geometry(), QRect(220, 162, 471, 276));
        EXPECT_EQ(alerte.st_message_centre->Text, "Fichier enregistré !\rC'est fait.");
        EXPECT_TRUE(alerte.bt_un->isVisible());
        EXPECT_FALSE(alerte.bt_deux->isVisible());
        EXPECT_FALSE(alerte.cb_ne_plus->isVisible());
        EXPECT_FALSE(alerte.lien_un->isVisible());
        EXPECT_TRUE(alerte.canvas_logo->isVisible());
        clique(alerte.bt_un);
    });
    alerte.message("Fichier enregistré !\rC'est fait.", "");
    EXPECT_TRUE(vu);
    EXPECT_FALSE(alerte.isVisible());
    EXPECT_EQ(alerte.bt_un->text(), "OK");
    EXPECT_EQ(alerte.bt_un->geometry(),
              QRect(471 - 16 - largeur_bouton("OK"), 240, largeur_bouton("OK"), 20));
    EXPECT_EQ(alerte.controles, QList<QWidget*>{alerte.bt_un});
    EXPECT_EQ(alerte.retour_operateur, 1);
}

TEST_F(Alerte, OkCancelAnswersWhichButtonWasPressed) {
    quand_visible([&](QWidget*) { clique(alerte.bt_un); });
    EXPECT_TRUE(alerte.proposition_ok_annuler("Continuer ?", ""));
    // 80 pixels for a caption narrower than 50, else its width plus 30.
    const int annuler = largeur_bouton("Annuler");
    EXPECT_EQ(alerte.bt_un->geometry(),
              QRect(471 - 16 - largeur_bouton("OK"), 240, largeur_bouton("OK"), 20));
    EXPECT_EQ(alerte.bt_deux->geometry(),
              QRect(alerte.bt_un->x() - 16 - annuler, 240, annuler, 20));
    EXPECT_EQ(alerte.bt_deux->text(), "Annuler");
    EXPECT_EQ(alerte.width(), 471);

    quand_visible([&](QWidget*) { clique(alerte.bt_deux); });
    EXPECT_FALSE(alerte.proposition_ok_annuler("Continuer ?", ""));
    EXPECT_EQ(alerte.retour_operateur, 2);

    quand_visible([&](QWidget*) { QTest::keyClick(&alerte, Qt::Key_Return); });
    EXPECT_TRUE(alerte.proposition_ok_annuler("Continuer ?", "")) << "Return presses OK";
}

TEST_F(Alerte, EscapeAndTheCloseBoxStandForTheCancellingButton) {
    const auto echappe = [&](QWidget* modale) { QTest::keyClick(modale, Qt::Key_Escape); };
    const auto ferme = [&](QWidget* modale) { modale->close(); };
    for (const auto& action :
         {std::function<void(QWidget*)>(echappe), std::function<void(QWidget*)>(ferme)}) {
        quand_visible(action);
        alerte.message("m", "");
        EXPECT_EQ(alerte.retour_operateur, 0);
        quand_visible(action);
        EXPECT_FALSE(alerte.proposition_ok_annuler("q", ""));
        quand_visible(action);
        EXPECT_EQ(alerte.proposition_bouton_lien("q", "Télécharger", "Historique", ""), "");
        quand_visible(action);
        EXPECT_EQ(alerte.proposition_multi_boutons("q", "Réglages et données", "Données seules",
                                                   "Annuler"),
                  "Annuler");
        quand_visible(action);
        EXPECT_EQ(alerte.proposition_multi_boutons("q", "Réglages et données", "Annuler", ""),
                  "Annuler")
            << "the last button shown, never an empty answer taken for another choice";
        QString texte = "inchangé";
        quand_visible([&](QWidget* modale) {
            QTest::keyClicks(alerte.ch_texte, "abc");
            action(modale);
        });
        EXPECT_FALSE(alerte.saisie_texte("Nom ?", texte));
        EXPECT_EQ(texte, "inchangé");
        double valeur = 2.5;
        QString valeur_texte;
        quand_visible([&](QWidget* modale) {
            QTest::keyClicks(alerte.ch_nombre, "7");
            action(modale);
        });
        EXPECT_FALSE(alerte.saisie_nombre("Nombre ?", valeur, valeur_texte));
        EXPECT_EQ(valeur, 2.5);
        EXPECT_EQ(valeur_texte, "");
    }
}

TEST_F(Alerte, ButtonsAndCheckBoxFollowTheirMeasuredWidths) {
    const QString longue = "Enregistrer les réglages et toutes les données dans un fichier";
    const QString moyenne = "Données seules, sans aucun réglage";
    quand_visible([&](QWidget*) { clique(alerte.bt_trois); });
    EXPECT_EQ(alerte.proposition_multi_boutons("Choisir", longue, moyenne, "Annuler"), "Annuler");
    const int l1 = largeur_bouton(longue), l2 = largeur_bouton(moyenne),
              l3 = largeur_bouton("Annuler");
    EXPECT_EQ(alerte.bt_un->width(), l1);
    EXPECT_EQ(alerte.bt_deux->width(), l2);
    EXPECT_EQ(alerte.bt_trois->width(), l3);
    // Right to left, 16 pixels apart; the window widens by what the row lacks.
    const int gauche3 = 471 - 16 - l1 - 16 - l2 - 16 - l3;
    const int d = std::max(0, 16 - gauche3);
    EXPECT_EQ(alerte.width(), 471 + d);
    EXPECT_EQ(alerte.bt_un->x(), 471 - 16 - l1 + d);
    EXPECT_EQ(alerte.bt_deux->x(), alerte.bt_un->x() - 16 - l2);
    EXPECT_EQ(alerte.bt_trois->x(), gauche3 + d);
    ASSERT_GT(d, 0) << "the captions are meant to overflow";
    EXPECT_EQ(alerte.bt_trois->x(), 16);
    EXPECT_EQ(alerte.st_message_centre->geometry(), QRect(99, 0, 372, 226));

    quand_visible([&](QWidget*) { clique(alerte.bt_un); });
    alerte.message("Le suivant repart de 471 pixels", "");
    EXPECT_EQ(alerte.width(), 471);
    EXPECT_EQ(alerte.bt_un->geometry(),
              QRect(471 - 16 - largeur_bouton("OK"), 240, largeur_bouton("OK"), 20));
}

TEST_F(Alerte, TheCheckBoxSitsLeftAndPushesTheRowWhenTooClose) {
    quand_visible([&](QWidget*) {
        EXPECT_TRUE(alerte.cb_ne_plus->isVisible());
        EXPECT_FALSE(alerte.cb_ne_plus->isChecked());
        clique(alerte.bt_un);
    });
    alerte.message("Avec une case", "essai_case_1");
    const int lc = largeur_case("ne plus afficher");
    EXPECT_EQ(alerte.cb_ne_plus->geometry(), QRect(16, 240, lc, 20));
    EXPECT_EQ(alerte.cb_ne_plus->text(), "ne plus afficher");
    EXPECT_EQ(alerte.controles.last(), alerte.cb_ne_plus);

    const QString large = "Télécharger la nouvelle version";
    quand_visible([&](QWidget*) { clique(alerte.bt_un); });
    EXPECT_EQ(alerte.proposition_bouton_lien("Serré", large, "Historique", "essai_case_2"), large);
    const int lb = largeur_bouton(large);
    const int ll = bibliotheque_v1::string_width("Historique", "System", 13, true, false);
    const int gauche_lien = 471 - 16 - lb - 16 - ll;
    const int ecart = gauche_lien - lc - 16;
    ASSERT_GE(gauche_lien, 16) << "the link alone fits";
    ASSERT_LT(ecart, 16) << "the check box comes too close";
    const int d = 16 - ecart;
    EXPECT_EQ(alerte.width(), 471 + d);
    EXPECT_EQ(alerte.cb_ne_plus->x(), 16);
    EXPECT_EQ(alerte.lien_un->geometry(), QRect(gauche_lien + d, 240, ll, 20));
    EXPECT_EQ(alerte.lien_un->x() - (16 + lc), 16);
    EXPECT_EQ(alerte.bt_un->geometry(), QRect(471 - 16 - lb + d, 240, lb, 20));
}

namespace {

// Counts the times a window is shown.
class compteur_affichages : public QObject {
public:
    explicit compteur_affichages(QWidget* fenetre) { fenetre->installEventFilter(this); }
    int nombre = 0;

protected:
    bool eventFilter(QObject*, QEvent* evenement) override {
        if (evenement->type() == QEvent::Show)
            ++nombre;
        return false;
    }
};

} // namespace

TEST_F(Alerte, ATickedBoxKeepsTheAnswerGivenWithIt) {
    compteur_affichages affichages(&alerte);
    quand_visible([&](QWidget*) {
        clique(alerte.cb_ne_plus);
        clique(alerte.bt_deux);
    });
    EXPECT_FALSE(alerte.proposition_ok_annuler("Écraser le fichier ?", "essai_annule"));
    EXPECT_TRUE(alerte.clefs_consigne.contains("essai_annule"));
    EXPECT_EQ(affichages.nombre, 1);
    EXPECT_FALSE(alerte.proposition_ok_annuler("Écraser le fichier ?", "essai_annule"))
        << "a cancel is never replayed as OK";
    alerte.message("Même clef", "essai_annule");
    EXPECT_EQ(affichages.nombre, 1) << "suppressed: not shown again";

    quand_visible([&](QWidget*) {
        clique(alerte.cb_ne_plus);
        clique(alerte.bt_un);
    });
    EXPECT_TRUE(alerte.proposition_ok_annuler("Continuer ?", "essai_ok"));
    EXPECT_TRUE(alerte.proposition_ok_annuler("Continuer ?", "essai_ok"));
    EXPECT_EQ(affichages.nombre, 2);

    quand_visible([&](QWidget*) {
        clique(alerte.cb_ne_plus);
        clique(alerte.bt_un);
    });
    alerte.message("Bienvenue", "essai_message");
    EXPECT_TRUE(alerte.proposition_ok_annuler("Même clef", "essai_message"))
        << "one key for both kinds of dialog";
    quand_visible([&](QWidget*) {
        clique(alerte.cb_ne_plus);
        clique(alerte.bt_un);
    });
    EXPECT_EQ(
        alerte.proposition_bouton_lien("Mise à jour", "Télécharger", "Plus tard", "essai_lien"),
        "Télécharger");
    EXPECT_EQ(
        alerte.proposition_bouton_lien("Mise à jour", "Télécharger", "Plus tard", "essai_lien"),
        "");
    EXPECT_EQ(affichages.nombre, 4);
}

TEST_F(Alerte, TickingAndUntickingLeavesTheKeyFree) {
    quand_visible([&](QWidget*) {
        clique(alerte.cb_ne_plus);
        EXPECT_TRUE(alerte.clefs_consigne.contains("essai_hesite")) << "counts at once";
        clique(alerte.cb_ne_plus);
        clique(alerte.bt_un);
    });
    EXPECT_TRUE(alerte.proposition_ok_annuler("Sûr ?", "essai_hesite"));
    EXPECT_FALSE(alerte.clefs_consigne.contains("essai_hesite"));
    quand_visible([&](QWidget*) {
        EXPECT_FALSE(alerte.cb_ne_plus->isChecked()) << "unticked at each keyed dialog";
        clique(alerte.bt_deux);
    });
    EXPECT_FALSE(alerte.proposition_ok_annuler("Sûr ?", "essai_hesite"));
    quand_visible([&](QWidget*) {
        EXPECT_FALSE(alerte.cb_ne_plus->isVisible());
        clique(alerte.bt_un);
    });
    alerte.message("Sans clef", "");
    EXPECT_FALSE(alerte.clefs_consigne.contains(""));
}

TEST_F(Alerte, ASecondAlertOpensOverTheFirstWithoutRebuildingIt) {
    bool second_vu = false;
    quand_visible([&](QWidget*) {
        quand_visible([&](QWidget* second) {
            second_vu = true;
            auto* autre = qobject_cast<w_alerte*>(second);
            ASSERT_NE(autre, nullptr);
            EXPECT_NE(autre, &alerte);
            EXPECT_EQ(autre->st_message_centre->Text, "Seconde");
            EXPECT_TRUE(alerte.isVisible());
            clique(autre->cb_ne_plus);
            clique(autre->bt_un);
        });
        alerte.message("Seconde", "essai_par_dessus");
        EXPECT_EQ(alerte.st_message_centre->Text, "Première");
        EXPECT_EQ(alerte.controles, (QList<QWidget*>{alerte.bt_un, alerte.bt_deux}));
        EXPECT_EQ(alerte.bt_deux->text(), "Annuler");
        EXPECT_TRUE(alerte.bt_deux->isVisible());
        EXPECT_FALSE(alerte.cb_ne_plus->isVisible());
        EXPECT_EQ(alerte.width(), 471);
        EXPECT_TRUE(alerte.isVisible());
        clique(alerte.bt_deux);
    });
    EXPECT_FALSE(alerte.proposition_ok_annuler("Première", ""));
    EXPECT_TRUE(second_vu);
    EXPECT_TRUE(alerte.clefs_consigne.contains("essai_par_dessus"))
        << "the dialog on top shares the memory of the one instance";
}

TEST_F(Alerte, TheLinkClosesOnlyWhenReleasedOverIt) {
    quand_visible([&](QWidget*) {
        st_lien* lien = alerte.lien_un;
        EXPECT_TRUE(lien->isVisible());
        EXPECT_EQ(lien->text(), "Historique");
        QTest::mousePress(lien, Qt::LeftButton, {}, QPoint(3, 3));
        EXPECT_EQ(lien->TextColor(), QColor(120, 0, 0));
        QTest::mouseRelease(lien, Qt::LeftButton, {}, QPoint(lien->width() + 40, 3));
        EXPECT_TRUE(alerte.isVisible());
        EXPECT_EQ(lien->TextColor(), QColor(38, 38, 38));
        QTest::mousePress(lien, Qt::LeftButton, {}, QPoint(3, 3));
        QTest::mouseRelease(lien, Qt::LeftButton, {}, QPoint(lien->width(), lien->height()));
    });
    EXPECT_EQ(alerte.proposition_bouton_lien("Nouvelle version", "Télécharger", "Historique", ""),
              "Historique");
    EXPECT_EQ(alerte.retour_operateur, 2);
    EXPECT_EQ(alerte.lien_un->x(), alerte.bt_un->x() - 16 - alerte.lien_un->width());
}

TEST_F(Alerte, MultipleChoiceReadsRightToLeft) {
    quand_visible([&](QWidget*) {
        EXPECT_FALSE(alerte.bt_trois->isVisible());
        clique(alerte.bt_deux);
    });
    EXPECT_EQ(alerte.proposition_multi_boutons("Deux", "Oui", "Non", ""), "Non");
    quand_visible([&](QWidget*) {
        EXPECT_TRUE(alerte.bt_trois->isVisible());
        EXPECT_GT(alerte.bt_un->x(), alerte.bt_deux->x());
        EXPECT_GT(alerte.bt_deux->x(), alerte.bt_trois->x());
        EXPECT_EQ(alerte.bt_trois->text(), "Plus tard");
        clique(alerte.bt_un);
    });
    EXPECT_EQ(alerte.proposition_multi_boutons("Trois", "Oui", "Non", "Plus tard"), "Oui");
    quand_visible([&](QWidget*) { clique(alerte.bt_trois); });
    EXPECT_EQ(alerte.proposition_multi_boutons("Trois", "Oui", "Non", "Plus tard"), "Plus tard");
}

TEST_F(Alerte, NumberEntryFillsTypesAndRestores) {
    double valeur = 0;
    QString valeur_texte;
    quand_visible([&](QWidget*) {
        EXPECT_EQ(alerte.st_message_bas->geometry(), QRect(99, 0, 372, 113));
        EXPECT_EQ(alerte.st_message_bas->Text, "Combien ?");
        EXPECT_EQ(QAccessible::queryAccessibleInterface(alerte.ch_nombre)->text(QAccessible::Name),
                  "Combien ?");
        EXPECT_EQ(alerte.ch_nombre->geometry(), QRect(227, 119, 116, 22));
        EXPECT_EQ(alerte.st_message_centre->y(), 484);
        EXPECT_EQ(alerte.ch_nombre->text(), "");
        EXPECT_FALSE(alerte.ch_nombre->isReadOnly());
        EXPECT_EQ(alerte.focusWidget(), alerte.ch_nombre);
        EXPECT_FALSE(alerte.ch_nombre->hasSelectedText());
        QTest::keyClicks(alerte.ch_nombre, "3a,7.5-");
        clique(alerte.bt_un);
    });
    EXPECT_TRUE(alerte.saisie_nombre("Combien ?", valeur, valeur_texte));
    EXPECT_EQ(valeur_texte, "3,75");
    EXPECT_EQ(valeur, 3.75);
    EXPECT_EQ(alerte.st_message_centre->geometry(), QRect(99, 0, 372, 226));
    EXPECT_EQ(alerte.st_message_bas->geometry().top(), 484);
    EXPECT_EQ(alerte.st_message_bas->height(), 100);
    EXPECT_EQ(alerte.ch_nombre->y(), 297);
    EXPECT_TRUE(alerte.ch_nombre->isReadOnly());

    valeur = 2.5;
    valeur_texte.clear();
    quand_visible([&](QWidget*) {
        EXPECT_EQ(alerte.ch_nombre->text(), "2,5");
        EXPECT_EQ(alerte.ch_nombre->cursorPosition(), 3);
        QTest::keyClick(alerte.ch_nombre, '0');
        QTest::keyClick(alerte.ch_nombre, Qt::Key_Return);
    });
    EXPECT_TRUE(alerte.saisie_nombre("Combien ?", valeur, valeur_texte)) << "Return presses OK";
    EXPECT_EQ(valeur_texte, "2,50");
    EXPECT_EQ(valeur, 2.5);

    valeur_texte = "12";
    valeur = 99;
    quand_visible([&](QWidget*) {
        EXPECT_EQ(alerte.ch_nombre->text(), "12");
        clique(alerte.bt_deux);
    });
    EXPECT_FALSE(alerte.saisie_nombre("Combien ?", valeur, valeur_texte));
    EXPECT_EQ(valeur_texte, "12");
    EXPECT_EQ(valeur, 99);

    valeur_texte.clear();
    quand_visible([&](QWidget*) {
        alerte.ch_nombre->clear();
        clique(alerte.bt_un);
    });
    EXPECT_TRUE(alerte.saisie_nombre("Combien ?", valeur, valeur_texte));
    EXPECT_EQ(valeur, 0) << "an empty field reads as 0";
}

TEST_F(Alerte, TextEntryGivesBackTheTextTyped) {
    QString valeur = "Première ligne\r\nseconde";
    quand_visible([&](QWidget*) {
        EXPECT_EQ(alerte.st_message_bas->geometry(), QRect(99, 0, 372, 26));
        EXPECT_EQ(alerte.ch_texte->geometry(), QRect(99, 32, 362, 193));
        EXPECT_FALSE(alerte.ch_texte->isReadOnly());
        clique(alerte.bt_un);
    });
    EXPECT_TRUE(alerte.saisie_texte("Votre texte :", valeur));
    EXPECT_EQ(valeur, "Première ligne\r\nseconde") << "an untouched field gives the same text";
    EXPECT_EQ(alerte.ch_texte->y(), 329);
    EXPECT_TRUE(alerte.ch_texte->isReadOnly());
    EXPECT_EQ(alerte.st_message_centre->geometry(), QRect(99, 0, 372, 226));

    quand_visible([&](QWidget*) {
        alerte.ch_texte->setFocus();
        alerte.ch_texte->selectAll();
        QTest::keyClicks(alerte.ch_texte, "un");
        QTest::keyClick(alerte.ch_texte, Qt::Key_Return);
        QTest::keyClicks(alerte.ch_texte, "deux");
        EXPECT_TRUE(alerte.isVisible()) << "Return makes a new line here";
        clique(alerte.bt_un);
    });
    EXPECT_TRUE(alerte.saisie_texte("Votre texte :", valeur));
    EXPECT_EQ(valeur, "un\rdeux");

    quand_visible([&](QWidget*) {
        QTest::keyClicks(alerte.ch_texte, "trois");
        clique(alerte.bt_deux);
    });
    EXPECT_FALSE(alerte.saisie_texte("Votre texte :", valeur));
    EXPECT_EQ(valeur, "un\rdeux");
}

TEST_F(Alerte, ShowsTheApplicationLogo) {
    const QImage logo = coquille::logo_application();
    ASSERT_FALSE(logo.isNull());
    EXPECT_EQ(logo.size(), QSize(50, 63));
    EXPECT_EQ(alerte.canvas_logo->geometry(), QRect(20, 20, 50, 63));
    const auto premultipliee = QImage::Format_ARGB32_Premultiplied;
    EXPECT_EQ(alerte.canvas_logo->pixmap().toImage().convertToFormat(premultipliee),
              logo.convertToFormat(premultipliee));
}

TEST(AlerteSansFenetre, StaysWhereItIsWithoutAMainWindow) {
    repondeur::garde garde;
    w_alerte& alerte = w_alerte::instance();
    alerte.setGeometry(30, 40, alerte.width(), alerte.height());
    quand_visible([&](QWidget*) {
        EXPECT_EQ(alerte.geometry().topLeft(), QPoint(30, 40));
        clique(alerte.bt_un);
    });
    alerte.message("Pas de fenêtre principale", "");
}

TEST_F(Alerte, CaptionsAreShownExactlyAsPassed) {
    quand_visible([&](QWidget*) {
        EXPECT_EQ(alerte.bt_un->text(), "Réglages && données") << "one '&' shown, no shortcut";
        EXPECT_EQ(alerte.bt_un->width(), largeur_bouton("Réglages & données"));
        EXPECT_EQ(alerte.lien_un->textFormat(), Qt::PlainText);
        EXPECT_EQ(alerte.lien_un->text(), "<b>plus</b>");
        clique(alerte.bt_un);
    });
    EXPECT_EQ(alerte.proposition_bouton_lien("x", "Réglages & données", "<b>plus</b>", ""),
              "Réglages & données");
}

TEST_F(Alerte, EscapeInAnEntryFieldClosesTheDialog) {
    double valeur = 1;
    QString valeur_texte = "1";
    quand_visible([&](QWidget*) {
        QTest::keyClicks(alerte.ch_nombre, "5");
        QTest::keyClick(alerte.ch_nombre, Qt::Key_Escape);
    });
    EXPECT_FALSE(alerte.saisie_nombre("Nombre ?", valeur, valeur_texte));
    EXPECT_EQ(valeur_texte, "1");
    QString texte = "garde";
    quand_visible([&](QWidget*) {
        QTest::keyClicks(alerte.ch_texte, "x");
        QTest::keyClick(alerte.ch_texte, Qt::Key_Escape);
    });
    EXPECT_FALSE(alerte.saisie_texte("Texte ?", texte));
    EXPECT_EQ(texte, "garde");
}

TEST_F(Alerte, TheLinkPointsWhilePressedAndTurnsGreyWhenLeft) {
    quand_visible([&](QWidget*) {
        st_lien* lien = alerte.lien_un;
        QTest::mousePress(lien, Qt::LeftButton, {}, QPoint(3, 3));
        EXPECT_EQ(lien->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_EQ(lien->TextColor(), QColor(120, 0, 0));
        QEvent sortie(QEvent::Leave);
        QCoreApplication::sendEvent(lien, &sortie);
        EXPECT_EQ(lien->TextColor(), QColor(38, 38, 38));
        EXPECT_EQ(lien->cursor().shape(), Qt::ArrowCursor);
        QTest::mouseRelease(lien, Qt::LeftButton, {}, QPoint(-1, 3));
        clique(alerte.bt_un);
    });
    EXPECT_EQ(alerte.proposition_bouton_lien("x", "Fermer", "Voir", ""), "Fermer");
}

TEST_F(Alerte, TabKeepsTheFocusOnTheControlsInView) {
    // An entry first, so that its field has held the focus once.
    double valeur = 0;
    QString valeur_texte;
    quand_visible([&](QWidget*) { clique(alerte.bt_deux); });
    alerte.saisie_nombre("Nombre ?", valeur, valeur_texte);

    QList<QWidget*> focalises;
    quand_visible([&](QWidget*) {
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(alerte.focusWidget() ? alerte.focusWidget() : &alerte, Qt::Key_Tab);
            focalises.append(alerte.focusWidget());
        }
        QTest::keyClick(alerte.focusWidget(), Qt::Key_Space);
    });
    const bool reponse = alerte.proposition_ok_annuler("Tab", "");
    for (QWidget* controle : focalises) {
        ASSERT_NE(controle, nullptr);
        EXPECT_TRUE(controle == alerte.bt_un || controle == alerte.bt_deux)
            << controle->objectName().toStdString();
    }
    EXPECT_EQ(reponse, focalises.last() == alerte.bt_un) << "Space presses the button in focus";
    EXPECT_EQ(alerte.retour_operateur, 1 + alerte.controles.indexOf(focalises.last()));
}

TEST_F(Alerte, ReturnPressesTheButtonInFocus) {
    for (QPushButton* bouton : {alerte.bt_deux, alerte.bt_un}) {
        quand_visible([&](QWidget*) {
            bouton->setFocus(Qt::TabFocusReason);
            QTest::keyClick(alerte.focusWidget(), Qt::Key_Return);
        });
        EXPECT_EQ(alerte.proposition_ok_annuler("Continuer ?", ""), bouton == alerte.bt_un);
    }
}

TEST_F(Alerte, AnAlertBetweenTheCloseAndTheAnswerKeepsBoth) {
    // OK closes the first dialog; an alert that comes before the first call
    // has returned (a timer in the same turn of the loop) is shown on its own
    // and leaves the first answer as it was given.
    bool second_vu = false;
    quand_visible([&](QWidget*) {
        clique(alerte.bt_un);
        ASSERT_FALSE(alerte.isVisible());
        quand_visible([&](QWidget* second) {
            second_vu = true;
            EXPECT_EQ(qobject_cast<w_alerte*>(second)->st_message_centre->Text, "Seconde");
            clique(qobject_cast<w_alerte*>(second)->bt_un);
        });
        alerte.message("Seconde", "");
    });
    EXPECT_TRUE(alerte.proposition_ok_annuler("Première", ""));
    EXPECT_TRUE(second_vu);
    EXPECT_EQ(alerte.retour_operateur, 1);
    EXPECT_EQ(alerte.st_message_centre->Text, "Première");
}
