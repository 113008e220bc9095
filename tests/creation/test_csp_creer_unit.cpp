// The single-barcode page as a user meets it: its controls, its checks with
// their messages and focus, the files it makes (read back by Ghostscript,
// poppler and a barcode scanner) and its settings.
#include "csp_creer_plusieurs.h"
#include "csp_creer_unit.h"
#include "disque_exfat.h"
#include "fenetre_essai.h"
#include "fichiers_parametres.h"
#include "lecture_accessible.h"
#include "outils_donnees.h"
#include "outils_eps.h"
#include "pages_creation.h"
#include "parametres_v1.h"
#include "participants_fichiers.h"
#include "services_coquille.h"
#include "types_fichiers.h"
#include "w_previsu_table.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using outils_eps::chemin;
using outils_eps::execute;

namespace {

// The main window with the page, whose settings it passes on.
class fenetre : public test_support::fenetre_essai {
public:
    void import_export_parametres(const QString& genre, const QString& sens) override {
        page.import_export_parametres(genre, sens);
    }
    csp_creer_unit page{this};
};

class application : public coquille::application {
public:
    application() { coquille::installe_App(this); }
    ~application() override { coquille::installe_App(nullptr); }
    void import_export_specifiques(const QString&, const QString&) override {}
};

// The codes that zbarimg reads off a picture, sorted.
QStringList scanne(const QString& png) {
    QStringList codes =
        execute("zbarimg", {"-q", "-Sean5.enable", png}).texte.split('\n', Qt::SkipEmptyParts);
    codes.sort();
    return codes;
}

class Page : public testing::Test {
protected:
    void SetUp() override {
        ensemble_fichiers_drop::Initialize();
        ensemble_fichiers_resultat::Initialize();
        parametres_v1::dictionnaire_parametres.emplace();
        f.page.Event_Open();
        f.show();
        f.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    }

    // Sets controls by name, "nom=valeur;...": a text, a row index, or "1" to tick a box.
    void remplit(const QString& valeurs) {
        for (const QString& saisie : valeurs.split(u';', Qt::SkipEmptyParts)) {
            const QString valeur = saisie.section(u'=', 1);
            QWidget* c = f.page.findChild<QWidget*>(saisie.section(u'=', 0, 0));
            if (auto* l = qobject_cast<QLineEdit*>(c))
                l->setText(valeur);
            else if (auto* z = qobject_cast<QPlainTextEdit*>(c))
                z->setPlainText(valeur);
            else if (auto* m = qobject_cast<QComboBox*>(c))
                m->setCurrentIndex(valeur.toInt());
            else
                qobject_cast<QCheckBox*>(c)->setChecked(valeur == "1");
        }
    }

    // Presses the create button; the alert that follows, if any, is read and closed.
    void cree(bool alerte) {
        if (alerte)
            alertes.attend();
        f.page.bt_creer->click();
    }

    repondeur::garde garde;
    participants::presentateur_essai dialogues;
    participants::lecteur_alertes alertes;
    application app;
    fenetre f;
};

} // namespace

TEST_F(Page, OpensWithEveryControlNamedAndNoCaptionCut) {
    csp_creer_unit& p = f.page;
    for (const QString& nom :
         QString("GroupBox1 GroupBox2 GroupBox3 st_titre st_commentaire st_orientation "
                 "st_protection st_engraissement st_type_fichier st_reglement st_prix "
                 "st_entete_prix st_sous_parution st_parution st_code_produit st_transporteur "
                 "ch_transporteur ch_code_produit ch_parution ch_entete_prix ch_prix ch_reglement "
                 "popup_type_fichier popup_engraissement popup_protection popup_orientation "
                 "popup_previsu ch_commentaire bt_enregistrer bt_creer cb_visualiser "
                 "popup_sous_parution")
             .split(' ')) {
        const QWidget* c = p.findChild<QWidget*>(nom);
        ASSERT_NE(c, nullptr) << nom.toStdString();
        const auto* l = qobject_cast<const QLabel*>(c);
        const auto* b = qobject_cast<const QAbstractButton*>(c);
        const int besoin = l   ? l->fontMetrics().horizontalAdvance(l->text())
                           : b ? b->sizeHint().width()
                               : 0;
        EXPECT_LE(besoin, c->width()) << nom.toStdString();
    }
    EXPECT_LE(p.popup_protection->sizeHint().width(), p.popup_protection->width());
    EXPECT_EQ(p.popup_orientation->currentText(), "horizontale");
    EXPECT_TRUE(p.bt_enregistrer->isEnabled());
    EXPECT_EQ(pages_creation::sp_creer_unit(), &p);

    EXPECT_TRUE(p.cb_visualiser->isHidden());
    p.popup_type_fichier->setCurrentIndex(1);
    EXPECT_FALSE(p.cb_visualiser->isHidden());
    p.cb_visualiser->setChecked(true);
    p.popup_type_fichier->setCurrentIndex(0);
    EXPECT_TRUE(p.cb_visualiser->isHidden() && p.cb_visualiser->isChecked());
}

TEST_F(Page, EachFaultIsShownWithItsFieldFocused) {
    const struct {
        QString saisies;
        QString message;
        QWidget* focus;
    } cas[] = {
        {"", "Le Code produit doit être renseigné par 1 à 5 chiffres !", f.page.ch_code_produit},
        {"ch_code_produit=1", "Le Prix en euros doit être renseigné !", f.page.ch_prix},
        // A separator alone holds no price.
        {"ch_prix=,", "Le Prix en euros doit être renseigné !", f.page.ch_prix},
        {"ch_prix=.", "Le Prix en euros doit être renseigné !", f.page.ch_prix},
        {"ch_prix=1;popup_previsu=1;ch_commentaire=abcde\nfghij",
         "Les fichiers de type EPS n'acceptent pas les commentaires de prévisualisation "
         "multilignes !",
         f.page.ch_commentaire},
        {"ch_commentaire=12345678901234567890",
         "La longueur maximale d'un commentaires de prévisualisation d'un fichier EPS est de 14 "
         "caractères !",
         f.page.ch_commentaire},
    };
    for (const auto& c : cas) {
        remplit(c.saisies);
        valdorin::tableau_code_barres t;
        t[valdorin::entree_sous_parution] = "inchangé";
        valdorin::previsu_presence = true;
        alertes.attend();
        EXPECT_FALSE(f.page.alimente_verifie_tableau(t));
        EXPECT_EQ(alertes.textes.takeLast(), c.message);
        EXPECT_EQ(f.focusWidget(), c.focus) << c.message.toStdString();
        EXPECT_TRUE(t[valdorin::entree_sous_parution] == "inchangé" && valdorin::previsu_presence);
    }
    EXPECT_EQ(f.page.ch_commentaire->textCursor().selectedText(), "567890");
    EXPECT_TRUE(dialogues.demandes.isEmpty()) << "no file is asked for a refused form";

    // Found from the batch page: the way back is told, and the page shown.
    f.ecran = coquille::ecran_creer_plusieurs;
    remplit("ch_code_produit=");
    cree(true);
    EXPECT_EQ(alertes.textes.takeLast(),
              "Le Code produit doit être renseigné par 1 à 5 chiffres !\n\nCorrigez ce défaut "
              "dans l'onglet «\u00A0Créer un code-barres\u00A0»\u00A0!");
    EXPECT_EQ(f.bascules, (QList<QPair<std::int32_t, std::int32_t>>{
                              {coquille::ecran_creer_unit, coquille::origine_page}}));
    EXPECT_EQ(f.focusWidget(), f.page.ch_code_produit);
}

// A legend that would pass the symbol's edge, or hold a character that its
// fonts lack, is refused as the engine refuses it, before any file is asked
// for, with the focus on the field to change. Each kind of file is measured
// as it is drawn: a legend too wide for an EPS file may fit in a PDF file.
TEST_F(Page, ALegendTheEngineRefusesIsShownBeforeTheFileIsAskedFor) {
    const QString long_ = "Le texte «\u00A0%1\u00A0» est trop long\u00A0: la légende "
                          "dépasserait de %2\u00A0points le bord droit du code-barres\u00A0; "
                          "aucun fichier n'est créé.";
    const QString absent = "Le texte «\u00A0En-tête de prix\u00A0» contient le caractère "
                           "«\u00A0%1\u00A0» (%2), que les polices de la légende n'ont "
                           "pas\u00A0; aucun fichier n'est créé.";
    const struct {
        QString saisies;
        QString message; // "" when the form is accepted
        QWidget* focus;
    } cas[] = {
        {"ch_transporteur=L;ch_code_produit=12345;ch_parution=42;popup_sous_parution=5;"
         "ch_prix=1,50;ch_entete_prix=France;ch_reglement=ABCD",
         long_.arg("En-tête de prix", "11,6"), f.page.ch_entete_prix},
        {"ch_entete_prix=FR;ch_parution=9999;ch_reglement=ABCD",
         long_.arg("En-tête de prix", "3,6"), f.page.ch_entete_prix},
        {"popup_type_fichier=1", "", nullptr},
        {"popup_type_fichier=0;ch_parution=42;popup_sous_parution=0;ch_reglement=A", "", nullptr},
        {"ch_transporteur=W;ch_code_produit=99999;ch_parution=9999;popup_sous_parution=5;"
         "ch_prix=99,99;ch_entete_prix=;ch_reglement=WWWW",
         long_.arg("Mode de règlement", "4,0"), f.page.ch_reglement},
        {"ch_transporteur=L;ch_code_produit=12345;ch_prix=1,50;ch_reglement=;ch_entete_prix=日本",
         absent.arg("日", "U+65E5"), f.page.ch_entete_prix},
        {"popup_type_fichier=1;ch_entete_prix=Prix ★", absent.arg("★", "U+2605"),
         f.page.ch_entete_prix},
        {"ch_entete_prix=Réduit", "", nullptr},
    };
    for (const auto& c : cas) {
        remplit(c.saisies);
        valdorin::tableau_code_barres t;
        t[valdorin::entree_sous_parution] = "inchangé";
        if (!c.message.isEmpty())
            alertes.attend();
        f.page.setFocus();
        EXPECT_EQ(f.page.alimente_verifie_tableau(t), c.message.isEmpty())
            << c.saisies.toStdString();
        if (c.message.isEmpty())
            continue;
        EXPECT_EQ(alertes.textes.takeLast(), c.message);
        EXPECT_EQ(f.focusWidget(), c.focus) << c.message.toStdString();
        EXPECT_EQ(t[valdorin::entree_sous_parution], "inchangé");
    }
    // The button asks for no file.
    remplit("popup_type_fichier=1;ch_transporteur=L;ch_code_produit=12345;ch_parution=42;"
            "popup_sous_parution=5;ch_prix=1,50;ch_entete_prix=France;ch_reglement=ABCD");
    cree(true);
    EXPECT_EQ(alertes.textes.takeLast(), long_.arg("En-tête de prix", "6,8"));
    EXPECT_TRUE(dialogues.demandes.isEmpty());
}

TEST_F(Page, TheFormFillsTheDescriptionAndHoldsPastedText) {
    for (const QString& cas :
         QString("12,34=1234 5=500 0,5=50 0,29=29 99,99=9999 0,05=5 0=0 1.15=115 ,5=50 2,=200")
             .split(' '))
        EXPECT_EQ(csp_creer_unit::prix_en_centimes(cas.section('=', 0, 0)), cas.section('=', 1));

    const QString quatorze = QStringLiteral("14 caractères\u00A0");
    remplit("ch_transporteur=L;ch_code_produit=123;ch_parution=0042;popup_sous_parution=6;"
            "ch_entete_prix=FR;ch_prix=0,29;ch_reglement=ab1;popup_engraissement=3;"
            "popup_protection=2;popup_orientation=1;popup_previsu=1;ch_commentaire=" +
            quatorze);
    valdorin::tableau_code_barres t;
    t[valdorin::entree_nom_fichier] = "le nom";
    ASSERT_TRUE(f.page.alimente_verifie_tableau(t));
    EXPECT_EQ(t, (valdorin::tableau_code_barres{"L", "123", "0042", "6", "FR", "29", "ab1", "E",
                                                "3", "F", "<", "le nom", quatorze}));
    EXPECT_TRUE(valdorin::previsu_presence);
    // A PDF note takes any comment.
    remplit("popup_type_fichier=1;ch_commentaire=deux\nlignes bien trop longues");
    ASSERT_TRUE(f.page.alimente_verifie_tableau(t));
    EXPECT_EQ(t[valdorin::entree_commentaire], "deux\nlignes bien trop longues");

    // Pasted text: field, text, what the field keeps.
    QLineEdit* const champs[] = {f.page.ch_transporteur, f.page.ch_code_produit, f.page.ch_prix,
                                 f.page.ch_reglement};
    for (const QString& cas : QString("0b=B 07= 112a= 21,234= 212.5=12.5 3a-b=").split(' ')) {
        QLineEdit* champ = champs[cas.left(1).toInt()];
        champ->clear();
        QGuiApplication::clipboard()->setText(cas.mid(1).section('=', 0, 0));
        champ->paste();
        EXPECT_EQ(champ->text(), cas.section('=', 1)) << cas.toStdString();
    }
}

TEST_F(Page, CancelOrAFailedFileLeavesNothingAndTheFormAsItWas) {
    remplit("ch_code_produit=4321;ch_prix=2,9;popup_type_fichier=1");
    const QStringList avant = outils_eps::fichiers_du_dossier();
    cree(false); // no answer: the dialog is cancelled
    EXPECT_EQ(dialogues.demandes.last().nom_propose, "sans titre.pdf");
    EXPECT_EQ(dialogues.demandes.last().proprietaire, &f);
    EXPECT_TRUE(alertes.textes.isEmpty());
    // A name the system refuses: the engine's message, and nothing written.
    const QString nom = chemin(QString(300, u'x') + ".pdf");
    dialogues.reponses = {nom};
    cree(true);
    EXPECT_EQ(alertes.textes, QStringList{"Impossible d'écrire le fichier « " + nom +
                                          " » : le nom est trop long."});
    EXPECT_EQ(outils_eps::fichiers_du_dossier(), avant);
    EXPECT_EQ(f.page.ch_prix->text(), "2,9");
}

// On an exFAT disk, whose driver answers "no such file" for a name holding
// a character the disk forbids, the message says that the disk refused the
// name, not that its folder is missing; a sound name is made.
TEST_F(Page, ANameTheDiskRefusesIsNotToldAsAMissingFolder) {
    test_support::disque_exfat disque(chemin("exfat"));
    if (!disque.absent().isEmpty())
        GTEST_SKIP() << qPrintable(disque.absent());
    remplit("ch_code_produit=4321;ch_prix=2,9");
    for (const QString nom : {"a:b.eps", "a.eps"}) {
        alertes.textes.clear();
        dialogues.reponses = {chemin("exfat/" + nom)};
        cree(nom == "a:b.eps");
        EXPECT_EQ(alertes.textes.join(""),
                  nom == "a.eps" ? ""
                                 : "Impossible d'écrire le fichier « " + chemin("exfat/" + nom) +
                                       " » : le disque refuse ce nom de fichier, qui contient "
                                       "peut-être un caractère interdit sur ce disque.");
    }
    EXPECT_EQ(QDir(chemin("exfat")).entryList(QDir::Files | QDir::Hidden), QStringList{"a.eps"});
}

TEST_F(Page, SettingsRoundTripAndRefuseWhatTheFieldsCannotHold) {
    remplit("ch_transporteur=T;ch_prix=3,5;popup_type_fichier=1;popup_orientation=2;ch_commentaire="
            "a\nb;cb_visualiser=1");
    parametres_v1::exporte_preferences();
    ASSERT_TRUE(parametres_v1::exporte_xml(chemin("etat.valdorin")));

    fenetre g;
    g.page.Event_Open();
    parametres_v1::niveau_version_preferences = 0;
    parametres_v1::importe_preferences();
    csp_creer_unit& p = g.page;
    EXPECT_EQ(p.ch_transporteur->text() + p.ch_prix->text() + p.ch_commentaire->toPlainText(),
              "T3,5a\nb");
    EXPECT_EQ(p.popup_orientation->currentIndex(), 2);
    EXPECT_TRUE(p.cb_visualiser->isChecked() && !p.cb_visualiser->isHidden());

    // A hand-edited state file: what a field refuses is not applied.
    parametres_v1::dictionnaire_parametres.emplace();
    ASSERT_GT(parametres_v1::importe_xml_preferences(chemin("etat.valdorin"), ""), 0);
    auto& d = *parametres_v1::dictionnaire_parametres;
    d["unique_ch_code_produit"] = "123456";
    d["unique_ch_prix"] = "1,5x";
    d["unique_ch_parution"] = "12\r3";
    d["unique_ch_transporteur"] = "q";
    d["unique_popup_orientation"] = "7";
    p.import_export_parametres("memo", "import");
    EXPECT_EQ(p.ch_code_produit->text() + p.ch_prix->text() + p.ch_parution->text(), "");
    EXPECT_EQ(p.ch_transporteur->text(), "Q");
    EXPECT_EQ(p.popup_orientation->currentIndex(), 2) << "an index out of range changes nothing";

    // An older version's preferences name the sub-issue menu as a field.
    parametres_v1::dictionnaire_parametres.emplace();
    parametres_v1::dictionnaire_parametres->insert("unique_ch_sous_parution", "5");
    ASSERT_TRUE(parametres_v1::exporte_xml(parametres_v1::chemin_preferences(1)));
    QFile::remove(parametres_v1::chemin_preferences(0));
    parametres_v1::niveau_version_preferences = 0;
    parametres_v1::importe_preferences();
    EXPECT_EQ(p.popup_sous_parution->currentIndex(), 5);
}

// A batch run going on while the save dialog is open changes nothing in the
// form's file: it has the preview the form asks for, and a link chosen in the
// dialog is written through.
TEST_F(Page, ABatchRunningDuringTheSaveDialogChangesNothingInTheFile) {
    struct pendant_serie : bibliotheque_v1::presentateur_dialogues {
        csp_creer_plusieurs serie;
        QString reponse;
        QString montre(const bibliotheque_v1::demande_dialogue&) override {
            EXPECT_TRUE(serie.travail_en_cours);
            EXPECT_TRUE(QTest::qWaitFor([this] { return !serie.travail_en_cours; }, 30000));
            return reponse;
        }
    } dialogue;
    bibliotheque_v1::installe_presentateur_dialogues(&dialogue);
    dialogue.serie.popup_resultats->setCurrentIndex(1); // beside the data file
    dialogue.serie.cb_log->setChecked(false);
    outils_donnees::fichier("ancien", "cible.eps");
    ASSERT_TRUE(QFile::link(chemin("cible.eps"), chemin("lien.eps")));
    // Preview of the form, of the batch's records, file chosen, file written.
    for (const char* cas : {"1 0 deux.eps deux.eps", "0 1 lien.eps cible.eps"}) {
        const QStringList c = QString(cas).split(' ');
        dialogue.serie.fi_lecture_officiel = outils_donnees::fichier(
            QByteArray("L\t1\t2\t0\t\t150\t\tE\t4\tA\t=\tn") + (c[1] == "1" ? "\tvu\r" : "\r"));
        remplit("ch_code_produit=4321;ch_prix=2,9;ch_commentaire=essai;popup_previsu=" + c[0]);
        dialogue.reponse = chemin(c[2]);
        dialogue.serie.creer_serie();
        cree(false);
        EXPECT_EQ(outils_eps::lit(chemin(c[3])).startsWith("\xC5\xD0\xD3\xC6"), c[0] == "1") << cas;
    }
    EXPECT_TRUE(QFileInfo(chemin("lien.eps")).isSymLink());
    bibliotheque_v1::installe_presentateur_dialogues(nullptr);
}

TEST(FormulaireUnique, MakesFilesThatRenderAndScanOrPrintsTheAlerts) {
    const QString eps = chemin("un.eps"), pdf = chemin("deux.pdf");
    const QStringList saisies = {"unique_ch_code_produit=4321", "unique_ch_prix=2,9",
                                 "unique_ch_parution=17",       "unique_popup_sous_parution=5",
                                 "unique_popup_protection=1",   "unique_cb_visualiser=true"};
    auto s = execute(FORMULAIRE_UNIQUE, QStringList{eps} + saisies);
    EXPECT_EQ(s.code, 0) << s.erreur.toStdString();
    EXPECT_EQ(s.texte, "");
    EXPECT_FALSE(s.erreur.contains("visualiser")) << "an EPS file is never opened";
    s = execute(FORMULAIRE_UNIQUE, QStringList{pdf, "unique_popup_type_fichier=1"} + saisies);
    EXPECT_EQ(s.code, 0) << s.erreur.toStdString();
    EXPECT_TRUE(s.erreur.contains("visualiser : " + pdf + "\n")) << s.erreur.toStdString();

    s = execute("gs", {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-dEPSCrop", "-r600",
                       "-sDEVICE=pnggray", "-sOutputFile=" + eps + ".png", eps});
    EXPECT_EQ(s.code, 0) << s.erreur.toStdString();
    s = execute("pdftoppm", {"-r", "600", "-gray", "-png", "-singlefile", pdf, chemin("deux")});
    EXPECT_EQ(s.code, 0) << s.erreur.toStdString();
    for (const QString& png : {eps + ".png", chemin("deux.png")})
        EXPECT_EQ(scanne(png), (QStringList{"EAN-13:3780432102905", "EAN-5:00175"}));

    s = execute(FORMULAIRE_UNIQUE, {chemin("non.eps"), "unique_ch_code_produit=777"});
    EXPECT_EQ(s.code, 1);
    EXPECT_EQ(s.texte, "Le Prix en euros doit être renseigné !\n");
    EXPECT_FALSE(QFile::exists(chemin("non.eps")));
    EXPECT_EQ(execute(FORMULAIRE_UNIQUE, {eps, "multiples_x=1"}).code, 2);
}

// One field of each page: a page pairs its captions and fields in one place.
TEST_F(Page, EachFieldOfBothCreationPagesIsAnnouncedByItsCaption) {
    csp_creer_plusieurs plusieurs;
    const std::pair<QWidget*, QString> table[] = {
        {f.page.ch_code_produit, "Code produit"},
        {plusieurs.popup_delimiteur, "Délimiteur"},
        {w_previsu_table::instance().ch_nb_colonnes_reel, "colonnes dans le fichier"},
    };
    for (const auto& [champ, legende] : table)
        lecture_accessible::annonce_par(champ, legende);
}
