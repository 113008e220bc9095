#include "liens_web.h"

#include "bibliotheque_v1.h"
#include "serveur_web.h"
#include "services_guidage.h"
#include "w_alerte.h"

#include <QDesktopServices>
#include <QUrl>

namespace bibliotheque_v1 {

namespace {

// Opens `adresse` in the browser when the network is up, else says why not.
void ouvre_adresse(const QString& adresse) {
    if (!web_disponible()) {
        w_alerte::instance().message(QStringLiteral("Ceci exige une connexion Internet !"),
                                     QString());
        return;
    }
    QDesktopServices::openUrl(QUrl(adresse));
}

} // namespace

bool web_disponible() {
    guidage::test_connexion* test = guidage::w_web();
    return test && test->test();
}

void lance_documentation_html(const QString& page) {
    ouvre_adresse(www_serveur() + QStringLiteral("documentations/valdorin_2/") + page);
}

void acheter_web() {
    ouvre_adresse(www_serveur() + QStringLiteral("serveur/commander.html?cp=") +
                  nom_standard().toLower());
}

} // namespace bibliotheque_v1
