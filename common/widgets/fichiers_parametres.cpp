#include "fichiers_parametres.h"

#include "bibliotheque_v1.h"
#include "droits_fichiers.h"
#include "ecriture_fichiers.h"
#include "parametres_v1.h"
#include "w_alerte.h"

#include <QFileInfo>

namespace parametres_v1 {

void importe_preferences() {
    try {
        dictionnaire_parametres = dictionnaire();
        for (;;) {
            const QString chemin = chemin_preferences(niveau_version_preferences);
            bool fin = chemin.isEmpty();
            const QFileInfo info(chemin);
            if (!fin && info.isFile() && info.isReadable()) {
                if (importe_xml_preferences(chemin, QString()) > 0) {
                    import_export_parametres(QStringLiteral("init"), QStringLiteral("import"));
                    dictionnaire_parametres->clear();
                }
                fin = true;
            }
            ++niveau_version_preferences;
            if (fin)
                break;
        }
    } catch (...) {
        bibliotheque_v1::erreur_fichier(QStringLiteral("Importe_preferences"));
    }
}

void exporte_preferences() {
    try {
        const QString chemin = chemin_preferences(0);
        if (chemin.isEmpty()) {
            bibliotheque_v1::msgdebug(QStringLiteral("erreur en exporte_preferences"));
            return;
        }
        import_export_parametres(QStringLiteral("init"), QStringLiteral("export"));
        int erreur = 0;
        if (!exporte_xml(chemin, &erreur)) {
            bibliotheque_v1::erreur_fichier(QStringLiteral("exporte_preferences"));
            // The earlier file is whole: the user learns that this run's
            // settings are lost, and why, before the program ends.
            if (erreur > 0)
                w_alerte::instance().message(
                    QStringLiteral("Les réglages courants n'ont pas pu être enregistrés pour le "
                                   "prochain lancement : ") +
                        bibliotheque_v1::raison_systeme(erreur) +
                        QStringLiteral("\r\rLes réglages enregistrés auparavant sont conservés."),
                    QString());
        }
    } catch (...) {
        bibliotheque_v1::erreur_fichier(QStringLiteral("exporte_preferences"));
    }
}

} // namespace parametres_v1
