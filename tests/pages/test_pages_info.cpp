#include "controles_texte.h"
#include "cp_accueil.h"
#include "cp_formation_memo.h"
#include "csp_contrat.h"
#include "environnement.h"
#include "fichiers_inclus.h"
#include "parametres_v1.h"
#include "participants.h"
#include "participants_fichiers.h"
#include "types_fichiers.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

TEST(PageContrat, ShowsTheFrenchAgreementUnderItsTitle) {
    csp_contrat page;
    page.Event_Open();
    EXPECT_EQ(page.st_titre->text(), "Contrat de licence");
    QString attendu = fichiers_inclus::desincorpore_texte("licence", "");
    // The field gives its no-break spaces back as blanks.
    attendu.replace("\r\n", "\n").replace('\r', '\n').replace(QChar(0xA0), ' ');
    EXPECT_GT(attendu.size(), 100);
    EXPECT_EQ(page.ch_contrat->toPlainText(), attendu);
}

// The welcome page's texts after each choice, every sign as written.
TEST(PageAccueil, ShowsTheTextOfTheModeChosen) {
    cp_accueil page;
    page.Event_Open();
    page.selectionne_formation();
    EXPECT_EQ(page.st_message->Text,
              "Ce mode met à votre disposition une seconde fenêtre pour naviguer dans le logiciel "
              "et obtenir toutes explications sur chacune de ses fonctions.\r\rIl peut être "
              "délaissé en fermant sa fenêtre et retrouvé par le menu "
              "«\u00A0Aide\u00A0:\u00A0Mode d'autoformation\u00A0».");
    EXPECT_FALSE(page.st_message->Text.contains("être être"));
    page.selectionne_expert();
    EXPECT_EQ(
        page.st_message->Text,
        "Dans ce mode, vous naviguerez entre les différents écrans par les onglets, les menus "
        "ou les liens que vous trouverez dans les onglets.\r\rVous pouvez à tout moment "
        "revenir en mode d'autoformation en sélectionnant le menu "
        "«\u00A0Aide\u00A0:\u00A0Mode d'autoformation\u00A0».");
}

namespace {

// The main window, noting the page switches it is asked for.
class fenetre_pages : public participants::fenetre {
public:
    std::int32_t contenu_onglet_precedent() const override { return coquille::ecran_version; }
    void montrer(std::int32_t ecran, std::int32_t origine) override {
        switches.append({ecran, origine});
    }
    QList<QPair<int, int>> switches;
};

} // namespace

TEST(PageMemo, SavesUnderTheStateExtensionEvenWhenTheUserTypedNone) {
    repondeur::garde garde;
    participants::application application;
    fenetre_pages fenetre;
    participants::presentateur_essai presentateur;
    participants::lecteur_alertes alertes;
    ensemble_fichiers_drop::Initialize();
    parametres_v1::dictionnaire_parametres = parametres_v1::dictionnaire();
    const QString dossier = test_support::dossier_test();
    cp_formation_memo page;
    page.Event_Open();
    // Cancelled dialogs change nothing; the link leads back.
    page.bt_enregistrer->click();
    page.bt_restaurer->click();
    EXPECT_EQ(presentateur.demandes.first().nom_propose, "Etat de Valdorin");
    EXPECT_TRUE(alertes.textes.isEmpty());
    emit page.lien_revenir->Action();
    EXPECT_EQ(fenetre.switches,
              (QList<QPair<int, int>>{{coquille::ecran_version, coquille::origine_page}}));
    for (const QString nom : {"Etat", "Etat du 12.03", "ETAT.VALDORIN"}) {
        presentateur.reponses = {dossier + "/" + nom};
        alertes.attend();
        page.bt_enregistrer->click();
        const QString ecrit = nom.endsWith(".VALDORIN") ? nom : nom + ".valdorin";
        EXPECT_TRUE(QFile::exists(dossier + "/" + ecrit)) << nom.toStdString();
    }
    EXPECT_EQ(alertes.textes.last(), "L'état du logiciel a été correctement enregistré !");
    // A file already under the completed name stays when the user says no.
    presentateur.reponses = {dossier + "/Etat"};
    QString question;
    repondeur::quand_visible([&question](QWidget* alerte) {
        question = qobject_cast<w_alerte*>(alerte)->st_message_centre->Text;
        qobject_cast<w_alerte*>(alerte)->reject();
    });
    QFile(dossier + "/Etat.valdorin").resize(0);
    page.bt_enregistrer->click();
    EXPECT_EQ(question, "Le fichier « Etat.valdorin » existe déjà. Voulez-vous le remplacer ?");
    EXPECT_EQ(QFileInfo(dossier + "/Etat.valdorin").size(), 0);
    parametres_v1::dictionnaire_parametres.reset();
}
