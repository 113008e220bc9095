#include "bibliotheque_divers.h"
#include "classe_page.h"
#include "participants.h"
#include "services_coquille.h"
#include "services_guidage.h"

#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

// The training window as the pages fill it.
class formation : public guidage::fenetre_formation {
public:
    formation() { guidage::installe_w_formation(this); }
    ~formation() override { guidage::installe_w_formation(nullptr); }
};

// A page with a button, a popup menu and an edit field, registered in that order.
class page_essai : public classe_page {
public:
    explicit page_essai(bool avec_controles = true) : avec_controles(avec_controles) {
        resize(300, 200);
        bt_creer->setObjectName("bt_creer");
        bt_creer->setGeometry(10, 30, 80, 20);
        popup_type->setObjectName("popup_type");
        popup_type->setGeometry(120, 30, 100, 20);
        ch_prix->setObjectName("ch_prix");
        ch_prix->setGeometry(40, 120, 100, 22);
    }

    QPushButton* bt_creer = new QPushButton("Créer", this);
    QComboBox* popup_type = new QComboBox(this);
    QLineEdit* ch_prix = new QLineEdit(this);
    bool avec_controles;
    QStringList journal;

protected:
    void formation_page(QString& message, QString& documentation) override {
        journal.append("page:" + message + "|" + documentation);
        message = "Texte de la page";
        documentation = "documentation_fr.html";
    }
    void formation_controles() override {
        journal.append("controles");
        if (!avec_controles)
            return;
        ajout_controle_formation(bt_creer, "Bouton", "");
        ajout_controle_formation(popup_type, "Menu", "engraissement_fr.html");
        ajout_controle_formation(ch_prix, "Prix", "");
    }
    void Open() override {
        journal.append("open:" + bt_creer->toolTip() + "|" +
                       QString::number(controles_formation.size()));
    }
};

QRgb pixel(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}

} // namespace

TEST(ClassePage, OpenRegistersThenSetsHelpTagsThenRunsThePagesOwnOpen) {
    QAction aide;
    aide.setCheckable(true);
    aide.setChecked(true);
    coquille::installe_menu_aide_contextuelle(&aide);
    page_essai page;
    EXPECT_TRUE(page.controles_formation.isEmpty());
    page.Event_Open();
    coquille::installe_menu_aide_contextuelle(nullptr);

    EXPECT_EQ(page.journal, (QStringList{"page:|", "controles", "open:Bouton|4"}));
    ASSERT_EQ(page.controles_formation.size(), 4);
    EXPECT_EQ(page.controles_formation.at(0), nullptr);
    EXPECT_EQ(page.controles_formation.at(2), page.popup_type);
    EXPECT_EQ(page.messages_formation, (QStringList{"Texte de la page", "Bouton", "Menu", "Prix"}));
    EXPECT_EQ(page.nom_documentation,
              (QStringList{"documentation_fr.html", "", "engraissement_fr.html", ""}));
    EXPECT_EQ(page.stade_formation, 0);
    EXPECT_FALSE(page.affichage_formation);

    // A second call registers nothing more.
    page.Event_Open();
    EXPECT_EQ(page.controles_formation.size(), 4);
}

TEST(ClassePage, HelpTagsFollowTheMenuSwitchAtEachCall) {
    QAction aide;
    aide.setCheckable(true);
    coquille::installe_menu_aide_contextuelle(&aide);
    page_essai page;
    page.Event_Open();
    EXPECT_EQ(page.toolTip(), "");
    EXPECT_EQ(page.ch_prix->toolTip(), "");

    aide.setChecked(true);
    page.maj_aide_contextuelle();
    EXPECT_EQ(page.toolTip(), "Texte de la page");
    EXPECT_EQ(page.bt_creer->toolTip(), "Bouton");
    EXPECT_EQ(page.popup_type->toolTip(), "Menu");
    EXPECT_EQ(page.ch_prix->toolTip(), "Prix");

    aide.setChecked(false);
    page.maj_aide_contextuelle();
    EXPECT_EQ(page.toolTip(), "");
    EXPECT_EQ(page.bt_creer->toolTip(), "");
    EXPECT_EQ(page.ch_prix->toolTip(), "");

    // Without a menu item the switch counts as off.
    aide.setChecked(true);
    coquille::installe_menu_aide_contextuelle(nullptr);
    page.maj_aide_contextuelle();
    EXPECT_EQ(page.popup_type->toolTip(), "");
}

TEST(ClassePage, BeforeOpenNothingChanges) {
    formation fenetre;
    fenetre.message = "avant";
    fenetre.fleches = 2;
    page_essai page;
    page.maj_formation("+");
    page.maj_aide_contextuelle();
    EXPECT_EQ(fenetre.message, "avant");
    EXPECT_EQ(fenetre.fleches, 2);
    EXPECT_EQ(page.stade_formation, 0);
}

TEST(ClassePage, PageWithoutControlsShowsItsTextWithoutArrows) {
    formation fenetre;
    page_essai page(false);
    page.Event_Open();
    page.stade_formation = 0;
    page.maj_formation("+");
    EXPECT_EQ(fenetre.fleches, 0);
    EXPECT_EQ(fenetre.message, "Texte de la page");
    EXPECT_EQ(fenetre.nom_fichier_documentation, "documentation_fr.html");
    EXPECT_EQ(page.stade_formation, 0);
    EXPECT_FALSE(page.affichage_formation);
}

TEST(ClassePage, StepsForwardAndBackWithinTheEntries) {
    formation fenetre;
    page_essai page;
    page.Event_Open();

    page.maj_formation("-");
    EXPECT_EQ(page.stade_formation, 0);
    EXPECT_EQ(fenetre.fleches, 1);
    EXPECT_TRUE(page.affichage_formation);

    page.maj_formation("+");
    EXPECT_EQ(page.stade_formation, 1);
    EXPECT_EQ(fenetre.fleches, 2);
    EXPECT_EQ(fenetre.message, "Bouton");
    page.maj_formation("+");
    EXPECT_EQ(fenetre.message, "Menu");
    EXPECT_EQ(fenetre.nom_fichier_documentation, "engraissement_fr.html");
    page.maj_formation("+");
    EXPECT_EQ(page.stade_formation, 3);
    EXPECT_EQ(fenetre.fleches, 3);
    page.maj_formation("+");
    EXPECT_EQ(page.stade_formation, 3);
    EXPECT_EQ(fenetre.fleches, 3);
    page.maj_formation("=");
    EXPECT_EQ(page.stade_formation, 3);
    EXPECT_EQ(fenetre.message, "Prix");

    page.maj_formation("");
    EXPECT_EQ(page.stade_formation, 0);
    EXPECT_FALSE(page.affichage_formation);
    EXPECT_EQ(fenetre.fleches, 1);
    EXPECT_EQ(fenetre.message, "Texte de la page");
}

TEST(ClassePage, HiddenControlsAreSkippedWhateverTheParent) {
    formation fenetre;
    page_essai page;
    page.Event_Open();
    // The page itself is never shown here: only the control's own state counts.
    page.popup_type->hide();
    page.maj_formation("+");
    page.maj_formation("+");
    EXPECT_EQ(page.stade_formation, 3);
    EXPECT_EQ(fenetre.message, "Prix");
    page.maj_formation("-");
    EXPECT_EQ(page.stade_formation, 1);
    EXPECT_EQ(fenetre.fleches, 2);

    // Every control after the current one hidden: "+" wraps to the page.
    page.ch_prix->hide();
    page.maj_formation("+");
    EXPECT_EQ(page.stade_formation, 0);
    EXPECT_EQ(fenetre.fleches, 1);

    // "-" onto hidden controls goes back to the nearest visible one.
    page.popup_type->show();
    page.stade_formation = 3;
    page.maj_formation("-");
    EXPECT_EQ(page.stade_formation, 2);
    page.popup_type->hide();
    page.stade_formation = 3;
    page.maj_formation("-");
    EXPECT_EQ(page.stade_formation, 1);
    page.bt_creer->hide();
    page.stade_formation = 3;
    page.maj_formation("-");
    EXPECT_EQ(page.stade_formation, 0);

    // "=" on a control hidden since moves forward as "+" would.
    page.bt_creer->show();
    page.ch_prix->show();
    page.stade_formation = 1;
    page.bt_creer->hide();
    page.maj_formation("=");
    EXPECT_EQ(page.stade_formation, 3);
}

TEST(ClassePage, AControlRegisteredTwiceIsVisitedTwice) {
    formation fenetre;
    class page_double : public page_essai {
    protected:
        void formation_controles() override {
            ajout_controle_formation(ch_prix, "Prix", "");
            ajout_controle_formation(ch_prix, "Prix encore", "");
        }
    } page;
    page.Event_Open();
    page.maj_formation("+");
    EXPECT_EQ(fenetre.message, "Prix");
    page.maj_formation("+");
    EXPECT_EQ(fenetre.message, "Prix encore");
    EXPECT_EQ(page.stade_formation, 2);
}

TEST(ClassePage, TrainingFrameSurroundsTheCurrentControlInDarkRed) {
    formation fenetre;
    page_essai page;
    page.Event_Open();
    const QRgb rouge = 0x780000;

    // Step 0 and a hidden highlight draw no frame.
    QImage image = page.grab().toImage();
    EXPECT_NE(pixel(image, 50, 27), rouge);

    // The button: ring 4 pixels wide from (6, 26), 88 x 28, with round ends.
    page.maj_formation("+");
    image = page.grab().toImage();
    EXPECT_EQ(pixel(image, 50, 27), rouge); // top edge
    EXPECT_EQ(pixel(image, 50, 52), rouge); // bottom edge
    EXPECT_NE(pixel(image, 50, 30), rouge); // the button itself
    EXPECT_NE(pixel(image, 6, 26), rouge);  // rounded corner left empty
    EXPECT_NE(pixel(image, 50, 24), rouge); // outside the frame

    // The edit field: square corners.
    page.maj_formation("+");
    page.maj_formation("+");
    image = page.grab().toImage();
    EXPECT_EQ(pixel(image, 36, 116), rouge);
    EXPECT_EQ(pixel(image, 143, 145), rouge);
    EXPECT_NE(pixel(image, 50, 27), rouge);

    // Training ended: no frame.
    page.maj_formation("");
    image = page.grab().toImage();
    EXPECT_NE(pixel(image, 36, 116), rouge);
}

TEST(ClassePage, FrameShapeByKindOfControl) {
    page_essai page;
    auto cadre = bibliotheque_v1::cadre_controle(page.bt_creer, &page, 0);
    EXPECT_EQ(cadre.rectangle, QRect(6, 26, 88, 28));
    EXPECT_EQ(cadre.arc, 28);
    cadre = bibliotheque_v1::cadre_controle(page.popup_type, &page, 0);
    EXPECT_EQ(cadre.rectangle, QRect(116, 26, 108, 28));
    EXPECT_EQ(cadre.arc, 4);
    cadre = bibliotheque_v1::cadre_controle(page.ch_prix, &page, 5);
    EXPECT_EQ(cadre.rectangle, QRect(36, 111, 108, 30));
    EXPECT_EQ(cadre.arc, 0);
}

TEST(ClassePage, DropOnAPageOnlyReportsSilently) {
    participants::rapports rapports;
    class page_depot : public page_essai {
    public:
        using classe_page::Event_DropObject;
    } page;
    page.Event_DropObject();
    EXPECT_EQ(rapports.textes, QStringList{"Drop object classe-page"});
}

TEST(ClassePage, AControlOutsideThePageIsWalkedButNeverFramed) {
    // A control that left the page (moved to another window) cannot be
    // framed in the page's coordinates: painting draws no frame and goes on.
    formation fenetre;
    QWidget autre_fenetre;
    page_essai page;
    page.Event_Open();
    page.popup_type->setParent(&autre_fenetre);
    page.popup_type->show();
    page.maj_formation("+");
    page.maj_formation("+");
    EXPECT_EQ(page.stade_formation, 2);
    EXPECT_EQ(fenetre.message, "Menu");
    const QImage image = page.grab().toImage();
    EXPECT_NE(pixel(image, 116, 40), 0x780000u);
}
