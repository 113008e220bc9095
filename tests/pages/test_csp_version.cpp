#include "controles_texte.h"
#include "csp_version.h"
#include "serveur_essai.h"
#include "w_web.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkProxy>
#include <QSignalSpy>
#include <QSslSocket>
#include <gtest/gtest.h>

namespace {

using conduite = essai::serveur_web::conduite;
const QString defaut = "Défaut du serveur Internet.\rVeuillez nous en excuser !";

// A version page asking a local server, the network reported up or down.
struct banc {
    essai::serveur_web serveur;
    w_web connexion;
    csp_version page;
    explicit banc(bool reseau = true) {
        connexion.interroge = [reseau] { return reseau; };
        // The local server is reached directly, whatever proxy the machine sets.
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        csp_version::serveur_essai = serveur.adresse();
        page.attente_ms = 500;
        page.plafond_ms = 1500;
    }
    ~banc() { csp_version::serveur_essai.clear(); }
    // Runs `demande` (opening or showing the page) and waits for its check.
    template <typename F> void attend(F demande) {
        QSignalSpy fin(&page, &csp_version::verification_terminee);
        demande();
        EXPECT_TRUE(!page.requete_en_cours() || fin.wait(20000));
    }
};

} // namespace

TEST(VersionWeb, OnlyThreeTokensWithANumberAboveZeroAreAnAnswer) {
    const QList<std::tuple<QByteArray, QString, double>> table = {
        {"version = 2.9", "2.9", 2.9},   {"VERSION = 3", "3", 3},
        {"Version = 2.10", "2.10", 2.1}, {"version = 2.9\r\n", "2.9\r\n", 2.9},
        {"version=2.9", "", 0},          {"version  = 2.9", "", 0},
        {"version = 2.9 beta", "", 0},   {"numero = 2.9", "", 0},
        {"version = abc", "", 0},        {"version = 0", "", 0},
        {"version = -1", "", 0},         {"", "", 0},
    };
    for (const auto& [corps, texte_attendu, nombre_attendu] : table) {
        QString texte;
        double nombre = 0;
        EXPECT_EQ(csp_version::lit_reponse_version(corps, texte, nombre), nombre_attendu > 0);
        EXPECT_EQ(texte, texte_attendu) << corps.constData();
        EXPECT_DOUBLE_EQ(nombre, nombre_attendu) << corps.constData();
    }
    EXPECT_EQ(csp_version::depuis_windows_1252("\x80\x85\xE9\x9F\x81"),
              QStringView(u"\u20AC\u2026\u00E9\u0178\u0081").toString());
}

TEST(VersionWeb, ThePageSaysWhatTheServerAnswered) {
    struct cas {
        conduite comportement;
        QByteArray corps;
        QString champ, debut_message;
        bool telecharger, acheter;
    };
    const QString plus_recente = "Ce logiciel se trouve actuellement\rdans sa version la";
    const QString gratuite = "La mise à jour vers cette nouvelle sous-version\rest gratuite";
    const QString payante = "La mise à jour vers cette nouvelle version est payante\rmais";
    const cas table[] = {
        {conduite::repond, "version = 2.10", "2.10", plus_recente, false, false},
        {conduite::repond, "version = 2.2", "2.2", plus_recente, false, false},
        {conduite::repond, "version = 2.9", "2.9", gratuite, true, false},
        {conduite::repond, "version = 3", "3", payante, true, true},
        // Stalled after a whole answer: what came is the answer.
        {conduite::se_tait, "version = 3", "3", payante, true, true},
        {conduite::se_tait, "", "?", defaut, false, false},
        {conduite::egrene, "", "?", defaut, false, false},
        {conduite::coupe, "version = 3", "?", defaut, false, false},
        {conduite::introuvable, "version = 3", "?", defaut, false, false},
        {conduite::repond, "version = -1", "?", defaut, false, false},
        {conduite::se_tait, "version = 3" + QByteArray(5000, '0'), "?", defaut, false, false},
    };
    for (const cas& c : table) {
        banc b;
        b.serveur.comportement = c.comportement;
        b.serveur.corps = c.corps;
        b.attend([&b] { b.page.Event_Open(); });
        const std::string nom = c.corps.left(20).toStdString();
        EXPECT_EQ(b.serveur.demandes,
                  QStringList{"/serveur/version.html?cp=valdorin&plateforme=mac"});
        EXPECT_EQ(b.page.ch_version_executee->text(), "2.2");
        EXPECT_EQ(b.page.ch_version_disponible->text(), c.champ) << nom;
        EXPECT_EQ(b.page.st_titre->text() == "Nouvelle version disponible !", c.telecharger) << nom;
        EXPECT_TRUE(b.page.st_message->Text.startsWith(c.debut_message)) << nom;
        EXPECT_TRUE(b.page.lien_historique->isEnabled()) << nom;
        EXPECT_EQ(b.page.lien_telecharger->isEnabled(), c.telecharger) << nom;
        EXPECT_EQ(b.page.lien_acheter->isEnabled(), c.acheter) << nom;
    }
}

TEST(VersionWeb, AnHttpsAddressIsAskedAsGivenThroughTheTlsBackend) {
    EXPECT_TRUE(QSslSocket::supportsSsl()) << "no TLS backend: https cannot be asked";
    csp_version::serveur_essai = "https://www.valdorin.invalid/";
    EXPECT_EQ(csp_version::adresse_requete(),
              "https://www.valdorin.invalid/serveur/version.html?cp=valdorin&plateforme=mac");
    csp_version::serveur_essai.clear();
}

TEST(VersionWeb, AFailedCheckIsAskedAgainAValidOneNeverAndNoNetworkSendsNothing) {
    banc b;
    b.serveur.corps = "nonsense";
    b.attend([&b] { b.page.Event_Open(); });
    EXPECT_EQ(b.page.version_disponible_num, 0);
    b.serveur.corps = "version = 2.9";
    b.attend([&b] { b.page.montrer(); });
    b.attend([&b] { b.page.montrer(); });
    EXPECT_EQ(b.serveur.demandes.size(), 2);
    EXPECT_EQ(b.page.ch_version_disponible->text(), "2.9");

    banc hors_ligne(false);
    hors_ligne.attend([&hors_ligne] { hors_ligne.page.Event_Open(); });
    EXPECT_TRUE(hors_ligne.serveur.demandes.isEmpty());
    EXPECT_EQ(hors_ligne.page.st_message->Text,
              "Cette vérification nécessite\rune connection Internet !");
    EXPECT_FALSE(hors_ligne.page.lien_historique->isEnabled());
    // A disabled link is greyed, not drawn as a live one.
    EXPECT_NE(hors_ligne.page.lien_historique->palette().color(QPalette::WindowText),
              st_lien::gris_lien);
    EXPECT_FALSE(hors_ligne.page.version_nouvelle());
}

TEST(VersionWeb, ANewVersionIsAnnouncedOnceWhenAskedTo) {
    // Announced, box, already announced; answer, announced afterwards.
    const QList<std::tuple<double, bool, double, bool, double>> table = {
        {2.9, false, 2.9, true, 2.9},
        {2.9, true, 2.9, false, 2.9},
        {3, true, 2.5, true, 3},
        {2.10, false, 0, false, 0}};
    for (const auto& [disponible, prevenir, observee, attendu, observee_apres] : table) {
        csp_version page;
        page.version_disponible_num = disponible;
        page.bt_prevenir->setChecked(prevenir);
        page.derniere_version_disponible_observee = observee;
        EXPECT_EQ(page.version_nouvelle(), attendu) << disponible << " " << prevenir;
        EXPECT_DOUBLE_EQ(page.derniere_version_disponible_observee, observee_apres);
    }
}
