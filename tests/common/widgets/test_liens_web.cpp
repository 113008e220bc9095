#include "bibliotheque_divers.h"
#include "controles_texte.h"
#include "environnement.h"
#include "participants_fichiers.h"
#include "repondeur.h"
#include "services_guidage.h"
#include "w_alerte.h"

#include <QDesktopServices>
#include <QDir>
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

TEST(LiensWeb, WhatCannotOpenIsNamedSoThatTheUserCanOpenItByHand) {
    repondeur::garde garde;
    connexion reseau(true);
    // The offscreen platform opens nothing, as a system with no browser and
    // no file manager.
    const QString page =
        bibliotheque_v1::www_serveur() + "documentations/valdorin_2/format_fr.html";
    const QString dossier = QDir::toNativeSeparators(test_support::dossier_test());
    const std::pair<std::function<void()>, QString> table[] = {
        {[] { bibliotheque_v1::lance_documentation_html("format_fr.html"); },
         "La page «\u00A0" + page +
             "\u00A0» n'a pas pu être ouverte\u00A0: aucun navigateur n'est disponible.\r\r"
             "Ouvrez-la vous-même dans un navigateur."},
        {[&] { EXPECT_FALSE(bibliotheque_v1::ouvre_adresse(QUrl::fromLocalFile(dossier))); },
         "Le dossier «\u00A0" + dossier +
             "\u00A0» n'a pas pu être ouvert\u00A0: aucun gestionnaire de fichiers n'est "
             "disponible.\r\rOuvrez-le vous-même dans un gestionnaire de fichiers."},
    };
    for (const auto& [ouvre, texte] : table) {
        participants::lecteur_alertes alertes;
        alertes.attend();
        ouvre();
        EXPECT_EQ(alertes.textes, QStringList{texte});
    }
}

#include "test_liens_web.moc"
