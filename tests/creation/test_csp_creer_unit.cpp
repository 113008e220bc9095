// The single-barcode page as a user meets it: its controls, its checks with
// their messages and focus, the files it makes (read back by Ghostscript,
// poppler and a barcode scanner) and its settings.
#include "csp_creer_unit.h"
#include "fichiers_parametres.h"
#include "outils_eps.h"
#include "pages_creation.h"
#include "parametres_v1.h"
#include "participants_fichiers.h"
#include "services_coquille.h"
#include "types_fichiers.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>

using outils_eps::chemin;
using outils_eps::execute;

namespace {

// The main window: shows screen `ecran` and keeps the page switches asked.
class fenetre : public QWidget, public coquille::fenetre_principale {
public:
    fenetre() { coquille::installe_w_main(this); }
    ~fenetre() override { coquille::installe_w_main(nullptr); }
    void import_export_parametres(const QString& genre, const QString& sens) override {
        page.import_export_parametres(genre, sens);
    }
    QRect geometrie() const override { return geometry(); }
    std::int32_t contenu_courant() const override { return ecran; }
    void montrer(std::int32_t numero, std::int32_t origine) override {
        montres.append({numero, origine});
        ecran = numero;
    }
    std::int32_t ecran = 0;
    QList<QPair<int, int>> montres;
    csp_creer_unit page{this};
};

// The application object, which binds no settings of its own here.
class application : public coquille::application {
public:
    application() { coquille::installe_App(this); }
    ~application() override { coquille::installe_App(nullptr); }
    void import_export_specifiques(const QString&, const QString&) override {}
};

// Takes the files that the page opens, in place of the system's viewer.
class visionneuse : public QObject {
    Q_OBJECT
public:
    visionneuse() { QDesktopServices::setUrlHandler("file", this, "ouvre"); }
    ~visionneuse() override { QDesktopServices::unsetUrlHandler("file"); }
    QStringList ouverts;
public slots:
    void ouvre(const QUrl& adresse) { ouverts.append(adresse.toLocalFile()); }
};

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

    // Sets a control by its name: a text, a row index or "1" for a ticked box.
    void saisit(const QString& nom, const QString& valeur) {
        QWidget* c = f.page.findChild<QWidget*>(nom);
        ASSERT_NE(c, nullptr) << nom.toStdString();
        if (auto* l = qobject_cast<QLineEdit*>(c))
            l->setText(valeur);
        else if (auto* z = qobject_cast<QPlainTextEdit*>(c))
            z->setPlainText(valeur);
        else if (auto* m = qobject_cast<QComboBox*>(c))
            m->setCurrentIndex(valeur.toInt());
        else if (auto* b = qobject_cast<QCheckBox*>(c))
            b->setChecked(valeur == "1");
    }
    void remplit(const QList<QPair<QString, QString>>& valeurs) {
        for (const auto& [nom, valeur] : valeurs)
            saisit(nom, valeur);
    }

    // Presses the create button; the next alert, if any, is read and closed.
    void cree(bool alerte) {
        if (alerte)
            alertes.attend();
        f.page.bt_creer->click();
    }

    // Scans an image file; the codes read, sorted.
    QStringList scanne(const QString& png) {
        const auto s = execute("zbarimg", {"-q", "-Sean5.enable", png});
        EXPECT_EQ(s.code, 0) << s.erreur.toStdString();
        QStringList codes = s.texte.split('\n', Qt::SkipEmptyParts);
        codes.sort();
        return codes;
    }

    repondeur::garde garde;
    participants::presentateur_essai dialogues;
    participants::lecteur_alertes alertes;
    application app;
    fenetre f;
};

} // namespace

TEST_F(Page, OpensWithEveryControlInPlaceAndItsDefaults) {
    const std::pair<const char*, QRect> places[] = {
        {"GroupBox2", {13, 141, 617, 104}},
        {"GroupBox1", {13, 251, 617, 79}},
        {"GroupBox3", {13, 48, 617, 87}},
        {"st_titre", {13, 8, 621, 30}},
        {"st_commentaire", {141, 274, 94, 20}},
        {"st_orientation", {72, 218, 90, 20}},
        {"st_protection", {72, 191, 90, 20}},
        {"st_engraissement", {262, 164, 197, 20}},
        {"st_type_fichier", {51, 164, 111, 20}},
        {"st_reglement", {414, 104, 140, 20}},
        {"st_prix", {215, 104, 107, 20}},
        {"st_entete_prix", {23, 104, 108, 20}},
        {"st_sous_parution", {431, 74, 142, 20}},
        {"st_parution", {284, 74, 100, 20}},
        {"st_code_produit", {137, 74, 91, 20}},
        {"st_transporteur", {19, 74, 89, 20}},
        {"ch_transporteur", {114, 74, 18, 22}},
        {"ch_code_produit", {231, 74, 50, 22}},
        {"ch_parution", {387, 74, 40, 22}},
        {"ch_entete_prix", {135, 104, 57, 22}},
        {"ch_prix", {327, 104, 45, 22}},
        {"ch_reglement", {557, 104, 53, 22}},
        {"popup_type_fichier", {164, 164, 68, 20}},
        {"popup_engraissement", {463, 164, 147, 20}},
        {"popup_protection", {164, 191, 336, 20}},
        {"popup_orientation", {164, 218, 190, 20}},
        {"popup_previsu", {34, 274, 92, 20}},
        {"ch_commentaire", {239, 274, 371, 50}},
        {"bt_enregistrer", {95, 360, 330, 20}},
        {"bt_creer", {447, 360, 169, 20}},
        {"cb_visualiser", {437, 334, 193, 20}},
        {"popup_sous_parution", {575, 75, 47, 20}},
    };
    csp_creer_unit& p = f.page;
    EXPECT_EQ(p.size(), QSize(640, 400));
    for (const auto& [nom, place] : places) {
        const QWidget* c = p.findChild<QWidget*>(nom);
        ASSERT_NE(c, nullptr) << nom;
        EXPECT_EQ(c->geometry(), place) << nom;
        // No caption is cut: the text fits its control (a label, or a box's title).
        QString texte;
        int largeur = c->width();
        if (auto* l = qobject_cast<const QLabel*>(c))
            texte = l->text();
        else if (auto* g = qobject_cast<const QGroupBox*>(c))
            texte = g->title(), largeur -= 16;
        else if (auto* b = qobject_cast<const QAbstractButton*>(c))
            texte = b->text(), largeur -= qobject_cast<const QCheckBox*>(c) ? 24 : 8;
        else if (auto* m = qobject_cast<const QComboBox*>(c); m && m != p.popup_sous_parution)
            for (int i = 0; i < m->count(); ++i)
                if (m->itemText(i).size() > texte.size())
                    texte = m->itemText(i), largeur = m->width() - 24;
        EXPECT_LE(c->fontMetrics().horizontalAdvance(texte), largeur) << nom;
    }
    EXPECT_EQ(p.font().pixelSize(), 13);
    EXPECT_EQ(p.st_titre->font().pixelSize(), 24);
    EXPECT_EQ(p.st_titre->palette().color(QPalette::WindowText), QColor(120, 0, 0));
    for (QComboBox* m : {p.popup_type_fichier, p.popup_engraissement, p.popup_protection,
                         p.popup_orientation, p.popup_previsu, p.popup_sous_parution})
        EXPECT_EQ(m->currentIndex(), 0);
    EXPECT_EQ(p.popup_sous_parution->itemText(6), "6 parution spéciale « S »");
    EXPECT_TRUE(p.cb_visualiser->isHidden());
    EXPECT_TRUE(p.bt_enregistrer->isEnabled());
    EXPECT_EQ(pages_creation::sp_creer_unit(), &p);
    EXPECT_EQ(p.compose_nom_fichier(), "sans_titre");
    ASSERT_EQ(p.controles_formation.size(), 17);
    EXPECT_EQ(p.controles_formation[9], p.popup_engraissement);
    EXPECT_EQ(p.nom_documentation[9], "engraissement_fr.html");
    EXPECT_TRUE(p.messages_formation[8].contains(u"obtenir\u00A0:\r\r  EPS"));
    EXPECT_EQ(p.controles_formation[16], p.bt_enregistrer);

    p.popup_type_fichier->setCurrentIndex(1);
    EXPECT_FALSE(p.cb_visualiser->isHidden());
    p.cb_visualiser->setChecked(true);
    p.popup_type_fichier->setCurrentIndex(0);
    EXPECT_TRUE(p.cb_visualiser->isHidden());
    EXPECT_TRUE(p.cb_visualiser->isChecked()) << "hidden, the box keeps its tick";
}

TEST_F(Page, EachFaultIsShownWithItsFieldFocused) {
    const QString multi = "Les fichiers de type EPS n'acceptent pas les commentaires de "
                          "prévisualisation multilignes !";
    const QString long14 = "La longueur maximale d'un commentaires de prévisualisation d'un "
                           "fichier EPS est de 14 caractères !";
    const struct {
        QList<QPair<QString, QString>> saisies;
        QString message;
        QWidget* focus;
    } cas[] = {
        {{}, "Le Code produit doit être renseigné par 1 à 5 chiffres !", f.page.ch_code_produit},
        {{{"ch_code_produit", "1"}}, "Le Prix en euros doit être renseigné !", f.page.ch_prix},
        {{{"ch_prix", "1"}, {"popup_previsu", "1"}, {"ch_commentaire", "abcde\nfghij"}},
         multi,
         f.page.ch_commentaire},
        {{{"ch_commentaire", "12345678901234567890"}}, long14, f.page.ch_commentaire},
    };
    for (const auto& c : cas) {
        remplit(c.saisies);
        valdorin::tableau_code_barres t;
        t[3] = "inchangé";
        valdorin::previsu_presence = true;
        alertes.attend();
        EXPECT_FALSE(f.page.alimente_verifie_tableau(t));
        EXPECT_EQ(alertes.textes.takeLast(), c.message);
        EXPECT_EQ(f.focusWidget(), c.focus) << c.message.toStdString();
        EXPECT_EQ(t[3], "inchangé");
        EXPECT_TRUE(valdorin::previsu_presence);
    }
    EXPECT_EQ(f.page.ch_commentaire->textCursor().selectedText(), "567890");
    EXPECT_TRUE(dialogues.demandes.isEmpty()) << "no file is asked for a refused form";

    // Found from the batch page: the way back is told, and the page shown.
    f.ecran = 1;
    saisit("ch_code_produit", "");
    cree(true);
    EXPECT_EQ(alertes.textes.takeLast(),
              "Le Code produit doit être renseigné par 1 à 5 chiffres !\n\nCorrigez ce défaut "
              "dans l'onglet «\u00A0Créer un code-barres\u00A0»\u00A0!");
    EXPECT_EQ(f.montres, (QList<QPair<int, int>>{{0, 1}}));
    EXPECT_EQ(f.focusWidget(), f.page.ch_code_produit);
}

TEST_F(Page, TheFormFillsTheDescription) {
    const struct {
        QString prix;
        QString centimes;
    } prix[] = {{"12,34", "1234"}, {"5", "500"},  {"0,5", "50"},  {"0,29", "29"},
                {"99,99", "9999"}, {"0,05", "5"}, {"7", "700"},   {"0", "0"},
                {"1.15", "115"},   {",5", "50"},  {"0,57", "57"}, {"4,35", "435"},
                {"8,7", "870"},    {"2,", "200"}};
    for (const auto& [texte, centimes] : prix)
        EXPECT_EQ(csp_creer_unit::prix_en_centimes(texte), centimes) << texte.toStdString();

    remplit({{"ch_transporteur", "L"},
             {"ch_code_produit", "123"},
             {"ch_parution", "0042"},
             {"popup_sous_parution", "6"},
             {"ch_entete_prix", "FR"},
             {"ch_prix", "0,29"},
             {"ch_reglement", "ab1"},
             {"popup_engraissement", "3"},
             {"popup_protection", "2"},
             {"popup_orientation", "1"},
             {"popup_previsu", "1"},
             {"ch_commentaire", QStringLiteral("14 caractères\u00A0")}});
    valdorin::tableau_code_barres t;
    t[11] = "le nom";
    ASSERT_TRUE(f.page.alimente_verifie_tableau(t));
    EXPECT_EQ(
        t, (valdorin::tableau_code_barres{"L", "123", "0042", "6", "FR", "29", "ab1", "E", "3", "F",
                                          "<", "le nom", QStringLiteral("14 caractères\u00A0")}));
    EXPECT_TRUE(valdorin::previsu_presence);

    // A PDF note takes any comment; without a preview the comment is left out.
    remplit({{"popup_type_fichier", "1"}, {"ch_commentaire", "deux\nlignes bien trop longues"}});
    ASSERT_TRUE(f.page.alimente_verifie_tableau(t));
    EXPECT_EQ(t[7], "P");
    EXPECT_EQ(t[12], "deux\nlignes bien trop longues");
    valdorin::tableau_code_barres u;
    remplit({{"popup_type_fichier", "0"}, {"popup_previsu", "0"}});
    ASSERT_TRUE(f.page.alimente_verifie_tableau(u));
    EXPECT_EQ(u[12], "");
    EXPECT_FALSE(valdorin::previsu_presence);
}

TEST_F(Page, MadeFilesRenderAndScan) {
    visionneuse viewer;
    remplit({{"ch_transporteur", "Q"},
             {"ch_code_produit", "4321"},
             {"ch_parution", "17"},
             {"popup_sous_parution", "5"},
             {"ch_prix", "2,9"},
             {"popup_protection", "1"},
             {"popup_previsu", "1"},
             {"ch_commentaire", "Essai"},
             {"cb_visualiser", "1"}});
    const QStringList attendu = {"EAN-13:3780432102905", "EAN-5:00175"};

    dialogues.reponses = {chemin("un.eps")};
    cree(false);
    ASSERT_EQ(dialogues.demandes.size(), 1);
    EXPECT_EQ(dialogues.demandes[0].nom_propose, "sans titre.eps");
    EXPECT_EQ(dialogues.demandes[0].proprietaire, &f);
    EXPECT_TRUE(alertes.textes.isEmpty());
    auto s =
        execute("gs", {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-dEPSCrop", "-r600",
                       "-sDEVICE=pnggray", "-sOutputFile=" + chemin("un.png"), chemin("un.eps")});
    EXPECT_EQ(s.code, 0) << s.erreur.toStdString();
    EXPECT_EQ(scanne(chemin("un.png")), attendu);
    EXPECT_TRUE(viewer.ouverts.isEmpty()) << "an EPS file is never opened";

    saisit("popup_type_fichier", "1");
    dialogues.reponses = {chemin("deux.pdf")};
    cree(false);
    EXPECT_EQ(dialogues.demandes.last().nom_propose, "sans titre.pdf");
    s = execute("pdftoppm",
                {"-r", "600", "-gray", "-png", "-singlefile", chemin("deux.pdf"), chemin("deux")});
    EXPECT_EQ(s.code, 0) << s.erreur.toStdString();
    EXPECT_EQ(scanne(chemin("deux.png")), attendu);
    EXPECT_EQ(viewer.ouverts, QStringList{chemin("deux.pdf")});
    EXPECT_TRUE(outils_eps::lit(chemin("deux.pdf")).contains("deux.pdf"));
}

TEST_F(Page, CancelAndRefusedFilesLeaveNothingBehind) {
    remplit({{"ch_code_produit", "12345"}, {"ch_prix", "1,50"}, {"ch_parution", "12"}});
    const QStringList avant = outils_eps::fichiers_du_dossier();
    cree(false); // no answer: the dialog is cancelled
    EXPECT_EQ(dialogues.demandes.size(), 1);
    EXPECT_TRUE(alertes.textes.isEmpty());

    // A name the system refuses: the engine's message, no file, the form as it was.
    const QString nom = QString(300, u'x') + ".eps";
    dialogues.reponses = {chemin(nom)};
    cree(true);
    ASSERT_EQ(alertes.textes.size(), 1);
    EXPECT_EQ(alertes.textes[0],
              "Impossible d'écrire le fichier « " + chemin(nom) + " » : le nom est trop long.");
    EXPECT_EQ(outils_eps::fichiers_du_dossier(), avant);
    EXPECT_EQ(f.page.ch_prix->text(), "1,50");
    EXPECT_EQ(f.page.ch_parution->text(), "12");
}

TEST_F(Page, SettingsRoundTripAndRefuseWhatTheFieldsCannotHold) {
    csp_creer_unit& p = f.page;
    remplit({{"ch_transporteur", "T"},
             {"ch_code_produit", "99"},
             {"ch_prix", "3,5"},
             {"popup_type_fichier", "1"},
             {"popup_orientation", "2"},
             {"popup_previsu", "1"},
             {"ch_commentaire", "a\nb"},
             {"cb_visualiser", "1"},
             {"popup_sous_parution", "9"}});
    parametres_v1::exporte_preferences();
    ASSERT_TRUE(parametres_v1::exporte_xml(chemin("etat.valdorin")));
    EXPECT_EQ(parametres_v1::dictionnaire_parametres->value("unique_ch_prix").toString(), "3,5");

    fenetre g;
    g.page.Event_Open();
    parametres_v1::niveau_version_preferences = 0;
    parametres_v1::importe_preferences();
    EXPECT_EQ(g.page.ch_transporteur->text(), "T");
    EXPECT_EQ(g.page.ch_prix->text(), "3,5");
    EXPECT_EQ(g.page.popup_orientation->currentIndex(), 2);
    EXPECT_EQ(g.page.popup_sous_parution->currentIndex(), 9);
    EXPECT_EQ(g.page.ch_commentaire->toPlainText(), "a\nb");
    EXPECT_TRUE(g.page.cb_visualiser->isChecked());
    EXPECT_FALSE(g.page.cb_visualiser->isHidden());

    // A hand-edited state file: what the fields refuse is not applied.
    parametres_v1::dictionnaire_parametres.emplace();
    ASSERT_GT(parametres_v1::importe_xml_preferences(chemin("etat.valdorin"), ""), 0);
    auto& d = *parametres_v1::dictionnaire_parametres;
    d["unique_ch_code_produit"] = "123456";
    d["unique_ch_prix"] = "1,5x";
    d["unique_ch_parution"] = "12\r3";
    d["unique_ch_transporteur"] = "q";
    d["unique_ch_reglement"] = "é";
    d["unique_popup_orientation"] = "7";
    d.remove("unique_ch_entete_prix");
    p.ch_entete_prix->setText("avant");
    p.import_export_parametres("memo", "import");
    EXPECT_EQ(p.ch_code_produit->text(), "");
    EXPECT_EQ(p.ch_prix->text(), "");
    EXPECT_EQ(p.ch_parution->text(), "");
    EXPECT_EQ(p.ch_transporteur->text(), "Q");
    EXPECT_EQ(p.ch_reglement->text(), "");
    EXPECT_EQ(p.ch_entete_prix->text(), "");
    EXPECT_EQ(p.popup_orientation->currentIndex(), 2) << "an index out of range changes nothing";
    EXPECT_EQ(p.ch_code_produit->maxLength(), 5);

    // An older version's preferences name the sub-issue menu as a field.
    parametres_v1::dictionnaire_parametres.emplace();
    parametres_v1::dictionnaire_parametres->insert("unique_ch_sous_parution", "5");
    const QString ancien = parametres_v1::chemin_preferences(1);
    ASSERT_TRUE(parametres_v1::exporte_xml(ancien));
    QFile::remove(parametres_v1::chemin_preferences(0));
    parametres_v1::niveau_version_preferences = 0;
    parametres_v1::importe_preferences();
    EXPECT_EQ(g.page.popup_sous_parution->currentIndex(), 5);
}

TEST_F(Page, MaskedFieldsHoldPastedTextToTheirRule) {
    const struct {
        QLineEdit* champ;
        const char* colle;
        const char* attendu;
    } cas[] = {
        {f.page.ch_transporteur, "b", "B"},   {f.page.ch_transporteur, "7", ""},
        {f.page.ch_code_produit, "12a", ""},  {f.page.ch_code_produit, "123456", "12345"},
        {f.page.ch_parution, "2024", "2024"}, {f.page.ch_prix, "1,234", ""},
        {f.page.ch_prix, "12.5", "12.5"},     {f.page.ch_prix, "1e3", ""},
        {f.page.ch_reglement, "Ab9", "Ab9"},  {f.page.ch_reglement, "a-b", ""},
    };
    for (const auto& c : cas) {
        c.champ->clear();
        QGuiApplication::clipboard()->setText(c.colle);
        c.champ->paste();
        EXPECT_EQ(c.champ->text(), c.attendu) << c.colle;
    }
}

TEST(FormulaireUnique, FillsThePagePressesTheButtonAndReports) {
    const QString sortie = chemin("outil.pdf");
    auto s = execute(FORMULAIRE_UNIQUE, {sortie, "unique_ch_code_produit=777",
                                         "unique_ch_prix=1,50", "unique_popup_type_fichier=1"});
    EXPECT_EQ(s.code, 0) << s.erreur.toStdString();
    EXPECT_EQ(s.texte, "");
    EXPECT_TRUE(outils_eps::lit(sortie).startsWith("%PDF-1.3"));

    s = execute(FORMULAIRE_UNIQUE, {chemin("non.eps"), "unique_ch_code_produit=777"});
    EXPECT_EQ(s.code, 1);
    EXPECT_EQ(s.texte, "Le Prix en euros doit être renseigné !\n");
    EXPECT_FALSE(QFile::exists(chemin("non.eps")));

    EXPECT_EQ(execute(FORMULAIRE_UNIQUE, {sortie, "multiples_x=1"}).code, 2);
    EXPECT_EQ(execute(FORMULAIRE_UNIQUE, {}).code, 2);
}

#include "test_csp_creer_unit.moc"
