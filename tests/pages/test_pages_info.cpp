#include "controles_texte.h"
#include "cp_formation_memo.h"
#include "csp_contrat.h"
#include "environnement.h"
#include "fichiers_inclus.h"
#include "parametres_v1.h"
#include "participants.h"
#include "participants_fichiers.h"
#include "types_fichiers.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

// The main window, noting the page switches it is asked for.
class fenetre_pages : public participants::fenetre {
public:
    std::int32_t contenu_onglet_precedent() const override { return 4; }
    void montrer(std::int32_t ecran, std::int32_t origine) override {
        switches.append({ecran, origine});
    }
    QList<QPair<int, int>> switches;
};

} // namespace

TEST(PageContrat, ShowsTheFrenchAgreementUnderItsTitle) {
    csp_contrat page;
    page.Event_Open();
    EXPECT_EQ(page.st_titre->text(), "Contrat de licence");
    const QString texte = fichiers_inclus::desincorpore_texte("licence", "");
    ASSERT_FALSE(texte.isEmpty());
    QString attendu = texte;
    // The field gives its no-break spaces back as blanks.
    attendu.replace("\r\n", "\n").replace('\r', '\n').replace(QChar(0xA0), ' ');
    EXPECT_EQ(page.ch_contrat->toPlainText(), attendu);
    EXPECT_EQ(page.ch_contrat->geometry(), QRect(13, 50, 614, 337));
    EXPECT_EQ(page.ch_contrat->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(page.ch_contrat->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_FALSE(page.ch_contrat->isReadOnly());
    // The page itself is the one training step.
    EXPECT_EQ(page.messages_formation,
              QStringList{"Cet écran présente les conditions générales du contrat de licence "
                          "que propose ou qu'a consenti Brimlow."});
    EXPECT_EQ(page.nom_documentation, QStringList{""});
}

class PageMemo : public testing::Test {
protected:
    void SetUp() override {
        ensemble_fichiers_drop::Initialize();
        parametres_v1::dictionnaire_parametres = parametres_v1::dictionnaire();
        dossier = test_support::dossier_test() + "/etats";
        QDir().mkpath(dossier);
        page.Event_Open();
    }
    void TearDown() override { parametres_v1::dictionnaire_parametres.reset(); }
    repondeur::garde garde;
    participants::application application;
    fenetre_pages fenetre;
    participants::presentateur_essai presentateur;
    participants::lecteur_alertes alertes;
    cp_formation_memo page;
    QString dossier;
};

TEST_F(PageMemo, SavesUnderTheStateExtensionEvenWhenTheUserTypedNone) {
    struct cas {
        QString choisi;
        QString ecrit;
    };
    const cas table[] = {
        {"/Etat de Valdorin.valdorin", "/Etat de Valdorin.valdorin"},
        {"/Etat", "/Etat.valdorin"},
        {"/Etat du 12.03", "/Etat du 12.03.valdorin"},
        {"/ETAT.VALDORIN", "/ETAT.VALDORIN"},
    };
    for (const cas& c : table) {
        presentateur.reponses = {dossier + c.choisi};
        alertes.attend();
        page.bt_enregistrer->click();
        EXPECT_TRUE(QFile::exists(dossier + c.ecrit)) << c.choisi.toStdString();
        EXPECT_EQ(alertes.textes.takeLast(), "L'état du logiciel a été correctement enregistré !");
    }
    EXPECT_FALSE(QFile::exists(dossier + "/Etat"));
    EXPECT_EQ(presentateur.demandes.first().nom_propose, "Etat de Valdorin");
}

TEST_F(PageMemo, AFileUnderTheCompletedNameIsReplacedOnlyWithTheUsersAgreement) {
    QFile ancien(dossier + "/Etat.valdorin");
    ASSERT_TRUE(ancien.open(QIODevice::WriteOnly));
    ancien.write("ancien");
    ancien.close();
    QStringList questions;
    presentateur.reponses = {dossier + "/Etat"};
    repondeur::quand_visible([&questions](QWidget* fenetre) {
        auto* alerte = qobject_cast<w_alerte*>(fenetre);
        ASSERT_NE(alerte, nullptr);
        questions.append(alerte->st_message_centre->Text);
        alerte->reject();
    });
    page.bt_enregistrer->click();
    EXPECT_EQ(questions,
              QStringList{"Le fichier « Etat.valdorin » existe déjà. Voulez-vous le remplacer ?"});
    ASSERT_TRUE(ancien.open(QIODevice::ReadOnly));
    EXPECT_EQ(ancien.readAll(), "ancien");
}

TEST_F(PageMemo, CancelledDialogsChangeNothingAndTheLinkLeadsBack) {
    page.bt_enregistrer->click();
    page.bt_restaurer->click();
    EXPECT_EQ(presentateur.demandes.size(), 2);
    EXPECT_TRUE(alertes.textes.isEmpty());
    EXPECT_TRUE(QDir(dossier).isEmpty());
    emit page.lien_revenir->Action();
    EXPECT_EQ(fenetre.switches, (QList<QPair<int, int>>{{4, 1}}));
    EXPECT_EQ(page.messages_formation,
              QStringList{"Cliquez un bouton ou choisissez un autre sujet dans le menu ci-dessus"});
    EXPECT_TRUE(page.st_message->Text.contains(
        "«\u00A0Fichier\u00A0:\u00A0Enregistrer l'état du logiciel sous…\u00A0» et "
        "«\u00A0Fichier\u00A0:\u00A0Restaurer un état enregistré du logiciel…\u00A0».\r\rNota 2 "
        ": "));
}
