#include "bibliotheque_divers.h"
#include "controles_texte.h"
#include "repondeur.h"
#include "services_guidage.h"
#include "w_alerte.h"

#include <QDesktopServices>
#include <QObject>
#include <QPushButton>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

// Receives the addresses the application asks the browser to open; no
// browser starts.
class navigateur : public QObject {
    Q_OBJECT
public:
    navigateur() {
        QDesktopServices::setUrlHandler("http", this, "ouvre");
        QDesktopServices::setUrlHandler("https", this, "ouvre");
    }
    ~navigateur() override {
        QDesktopServices::unsetUrlHandler("http");
        QDesktopServices::unsetUrlHandler("https");
    }
    QStringList adresses;

public slots:
    void ouvre(const QUrl& adresse) { adresses.append(adresse.toString()); }
};

class connexion : public guidage::test_connexion {
public:
    explicit connexion(bool reponse) : reponse(reponse) { guidage::installe_w_web(this); }
    ~connexion() override { guidage::installe_w_web(nullptr); }
    bool test() override { return reponse; }
    bool reponse;
};

} // namespace

TEST(LiensWeb, WithTheNetworkUpPagesOpenUnderTheServerAddress) {
    navigateur navigateur;
    connexion reseau(true);
    bibliotheque_v1::lance_documentation_html("format_fr.html");
    bibliotheque_v1::acheter_web();
    const QString serveur = bibliotheque_v1::www_serveur();
    EXPECT_EQ(navigateur.adresses,
              (QStringList{serveur + "documentations/valdorin_2/format_fr.html",
                           serveur + "serveur/commander.html?cp=valdorin"}));
}

TEST(LiensWeb, WithoutTheNetworkTheUserIsToldAndNothingOpens) {
    repondeur::garde garde;
    navigateur navigateur;
    QStringList messages;
    auto lit_et_ferme = [&messages](QWidget* fenetre) {
        auto* alerte = qobject_cast<w_alerte*>(fenetre);
        ASSERT_NE(alerte, nullptr);
        messages.append(alerte->st_message_centre->Text);
        alerte->bt_un->click();
    };
    {
        connexion reseau(false);
        repondeur::quand_visible(lit_et_ferme);
        bibliotheque_v1::lance_documentation_html("documentation_fr.html");
    }
    // No connection test installed yet: the network counts as unreachable.
    repondeur::quand_visible(lit_et_ferme);
    bibliotheque_v1::acheter_web();
    EXPECT_EQ(messages, (QStringList{"Ceci exige une connexion Internet !",
                                     "Ceci exige une connexion Internet !"}));
    EXPECT_TRUE(navigateur.adresses.isEmpty());
}

#include "test_liens_web.moc"
