#include "liens_web.h"

#include "bibliotheque_v1.h"
#include "serveur_web.h"
#include "services_guidage.h"
#include "w_alerte.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace bibliotheque_v1 {

namespace {

// Opens the web page `adresse` when the network is up, else says why not.
void ouvre_page_web(const QString& adresse) {
    if (!web_disponible()) {
        w_alerte::instance().message(QStringLiteral("Ceci exige une connexion Internet !"),
                                     QString());
        return;
    }
    ouvre_adresse(QUrl(adresse));
}

// What the user is told when the system could not open `adresse`: what it is,
// where it is, and that it can be opened by hand.
QString texte_echec_ouverture(const QUrl& adresse) {
    if (!adresse.isLocalFile())
        return QStringLiteral("La page «\u00A0%1\u00A0» n'a pas pu être ouverte\u00A0: aucun "
                              "navigateur n'est disponible.\r\rOuvrez-la vous-même dans un "
                              "navigateur.")
            .arg(adresse.toDisplayString());
    const QString chemin = QDir::toNativeSeparators(adresse.toLocalFile());
    if (QFileInfo(chemin).isDir())
        return QStringLiteral("Le dossier «\u00A0%1\u00A0» n'a pas pu être ouvert\u00A0: aucun "
                              "gestionnaire de fichiers n'est disponible.\r\rOuvrez-le vous-même "
                              "dans un gestionnaire de fichiers.")
            .arg(chemin);
    return QStringLiteral("Le fichier «\u00A0%1\u00A0» n'a pas pu être ouvert\u00A0: aucune "
                          "application n'est disponible pour l'afficher.\r\rOuvrez-le vous-même "
                          "avec l'application de votre choix.")
        .arg(chemin);
}

} // namespace

bool web_disponible() {
    guidage::test_connexion* test = guidage::w_web();
    return test && test->test();
}

void lance_documentation_html(const QString& page) {
    ouvre_page_web(www_serveur() + QStringLiteral("documentations/valdorin_2/") + page);
}

void acheter_web() {
    ouvre_page_web(www_serveur() + QStringLiteral("serveur/commander.html?cp=") +
                   nom_standard().toLower());
}

bool ouvre_adresse(const QUrl& adresse) {
    const bool ouverte = QDesktopServices::openUrl(adresse);
    if (!ouverte)
        w_alerte::instance().message(texte_echec_ouverture(adresse), QString());
    return ouverte;
}

} // namespace bibliotheque_v1
