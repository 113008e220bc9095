#include "controles_texte.h"
#include "csp_version.h"
#include "parametres_v1.h"
#include "serveur_essai.h"
#include "w_web.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

using conduite = essai::serveur_web::conduite;

// A version page asking a local server, the network reported up or down.
struct banc {
    essai::serveur_web serveur;
    w_web connexion;
    explicit banc(bool reseau = true) {
        connexion.interroge = [reseau] { return reseau; };
        csp_version::serveur_essai = serveur.adresse();
    }
    ~banc() { csp_version::serveur_essai.clear(); }

    // Opens the page and waits for its first check to end.
    void ouvre(csp_version& page) {
        page.attente_ms = 500;
        page.plafond_ms = 1500;
        QSignalSpy fin(&page, &csp_version::verification_terminee);
        page.Event_Open();
        if (page.requete_en_cours()) {
            EXPECT_TRUE(fin.wait(20000));
        }
    }
};

} // namespace

TEST(VersionWeb, OnlyThreeTokensWithANumberAboveZeroAreAnAnswer) {
    struct cas {
        QByteArray corps;
        bool valable;
        QString texte;
        double nombre;
    };
    const cas table[] = {
        {"version = 2.9", true, "2.9", 2.9},   {"VERSION = 3", true, "3", 3},
        {"Version = 2.10", true, "2.10", 2.1}, {"version = 2.9\r\n", true, "2.9\r\n", 2.9},
        {"version = 2.5b", true, "2.5b", 2.5}, {"version=2.9", false, "", 0},
        {"version  = 2.9", false, "", 0},      {"version = 2.9 beta", false, "", 0},
        {" version = 2.9", false, "", 0},      {"numero = 2.9", false, "", 0},
        {"version : 2.9", false, "", 0},       {"version = abc", false, "", 0},
        {"version = 0", false, "", 0},         {"version = -1", false, "", 0},
        {"version = -3.5", false, "", 0},      {"", false, "", 0},
    };
    for (const cas& c : table) {
        QString texte;
        double nombre = 0;
        EXPECT_EQ(csp_version::lit_reponse_version(c.corps, texte, nombre), c.valable)
            << c.corps.constData();
        EXPECT_EQ(texte, c.texte) << c.corps.constData();
        EXPECT_DOUBLE_EQ(nombre, c.nombre) << c.corps.constData();
    }
    EXPECT_EQ(csp_version::depuis_windows_1252("\x80 \x85 \xE9 \x9F \x81"),
              QStringView(u"\u20AC \u2026 \u00E9 \u0178 \u0081").toString());
}

TEST(VersionWeb, ThePageSaysWhatTheServerAnswered) {
    struct cas {
        conduite comportement;
        QByteArray corps;
        QString champ;
        QString titre;
        QString debut_message;
        bool telecharger, acheter;
    };
    const QString a_jour = "Versions du logiciel";
    const QString nouvelle = "Nouvelle version disponible !";
    const QString defaut = "Défaut du serveur Internet.\rVeuillez nous en excuser !";
    const cas table[] = {
        {conduite::repond, "version = 2.10", "2.10", a_jour,
         "Ce logiciel se trouve actuellement\rdans sa version la plus récente !", false, false},
        {conduite::repond, "version = 2.2", "2.2", a_jour, "Ce logiciel se trouve", false, false},
        {conduite::repond, "version = 2.9", "2.9", nouvelle,
         "La mise à jour vers cette nouvelle sous-version\rest gratuite", true, false},
        {conduite::repond, "version = 3", "3", nouvelle,
         "La mise à jour vers cette nouvelle version est payante\rmais hautement recommandée.",
         true, true},
        // Stalled after a whole answer: what came is the answer.
        {conduite::se_tait, "version = 3", "3", nouvelle, "La mise à jour vers cette", true, true},
        {conduite::se_tait, "", "?", a_jour, defaut, false, false},
        {conduite::egrene, "", "?", a_jour, defaut, false, false},
        {conduite::coupe, "version = 3", "?", a_jour, defaut, false, false},
        {conduite::introuvable, "version = 3", "?", a_jour, defaut, false, false},
        {conduite::repond, "<html>Not here</html>", "?", a_jour, defaut, false, false},
        {conduite::repond, "version = -1", "?", a_jour, defaut, false, false},
        // A quick answer longer than the cap.
        {conduite::se_tait, "version = 3" + QByteArray(5000, '0'), "?", a_jour, defaut, false,
         false},
    };
    for (const cas& c : table) {
        banc b;
        b.serveur.comportement = c.comportement;
        b.serveur.corps = c.corps;
        csp_version page;
        b.ouvre(page);
        const std::string nom = c.corps.left(20).toStdString();
        EXPECT_EQ(b.serveur.demandes,
                  QStringList{"/serveur/version.html?cp=valdorin&plateforme=mac"})
            << nom;
        EXPECT_EQ(page.ch_version_executee->text(), "2.2") << nom;
        EXPECT_EQ(page.ch_version_disponible->text(), c.champ) << nom;
        EXPECT_EQ(page.st_titre->text(), c.titre) << nom;
        EXPECT_TRUE(page.st_message->Text.startsWith(c.debut_message))
            << nom << " " << page.st_message->Text.toStdString();
        EXPECT_TRUE(page.lien_historique->isEnabled()) << nom;
        EXPECT_EQ(page.lien_telecharger->isEnabled(), c.telecharger) << nom;
        EXPECT_EQ(page.lien_acheter->isEnabled(), c.acheter) << nom;
    }
}

TEST(VersionWeb, AFailedCheckIsAskedAgainAndAValidOneNever) {
    banc b;
    b.serveur.corps = "nonsense";
    csp_version page;
    b.ouvre(page);
    EXPECT_EQ(page.version_disponible_num, 0);
    b.serveur.corps = "version = 2.9";
    QSignalSpy fin(&page, &csp_version::verification_terminee);
    page.montrer();
    ASSERT_TRUE(fin.wait(20000));
    EXPECT_DOUBLE_EQ(page.version_disponible_num, 2.9);
    page.montrer();
    EXPECT_FALSE(page.requete_en_cours());
    EXPECT_EQ(b.serveur.demandes.size(), 2);
    EXPECT_EQ(page.ch_version_disponible->text(), "2.9");
}

TEST(VersionWeb, WithoutANetworkNoRequestGoesOut) {
    banc b(false);
    csp_version page;
    b.ouvre(page);
    EXPECT_EQ(page.version_disponible_num, -1);
    EXPECT_TRUE(b.serveur.demandes.isEmpty());
    EXPECT_EQ(page.st_message->Text, "Cette vérification nécessite\rune connection Internet !");
    EXPECT_FALSE(page.lien_historique->isEnabled());
    EXPECT_FALSE(page.lien_telecharger->isEnabled());
    EXPECT_FALSE(page.lien_acheter->isEnabled());
    EXPECT_FALSE(page.version_nouvelle());
}

TEST(VersionWeb, ANewVersionIsAnnouncedOnceWhenAskedTo) {
    struct cas {
        double disponible;
        bool prevenir;
        double observee;
        bool attendu;
        double observee_apres;
    };
    const cas table[] = {
        {2.9, false, 0, true, 2.9},  {2.9, false, 2.9, true, 2.9}, {2.9, true, 2.9, false, 2.9},
        {2.9, true, 2.5, true, 2.9}, {3, true, 0, true, 3},        {2.2, false, 0, false, 0},
        {2.10, false, 0, false, 0},  {0, false, 0, false, 0},      {-1, false, 0, false, 0},
    };
    for (const cas& c : table) {
        csp_version page;
        page.version_disponible_num = c.disponible;
        page.bt_prevenir->setChecked(c.prevenir);
        page.derniere_version_disponible_observee = c.observee;
        EXPECT_EQ(page.version_nouvelle(), c.attendu) << c.disponible << " " << c.prevenir;
        EXPECT_DOUBLE_EQ(page.derniere_version_disponible_observee, c.observee_apres);
    }
}

TEST(VersionWeb, TheBoxAndTheLastAnnouncedVersionAreKeptInThePreferencesOnly) {
    parametres_v1::dictionnaire_parametres = parametres_v1::dictionnaire{};
    {
        csp_version page;
        page.bt_prevenir->setChecked(true);
        page.derniere_version_disponible_observee = 2.9;
        page.import_export_parametres("memo", "export");
        EXPECT_TRUE(parametres_v1::dictionnaire_parametres->isEmpty());
        page.import_export_parametres("init", "export");
    }
    EXPECT_EQ(parametres_v1::dictionnaire_parametres->size(), 2);
    csp_version page;
    page.import_export_parametres("init", "import");
    EXPECT_TRUE(page.bt_prevenir->isChecked());
    EXPECT_DOUBLE_EQ(page.derniere_version_disponible_observee, 2.9);
    parametres_v1::dictionnaire_parametres.reset();
}
