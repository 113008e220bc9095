#include "fichiers_parametres.h"

#include "bibliotheque_v1.h"
#include "droits_fichiers.h"
#include "ecriture_fichiers.h"
#include "parametres_v1.h"
#include "services_coquille.h"
#include "w_alerte.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>

#include <algorithm>

namespace parametres_v1 {

namespace {

// Refuses the preferences file `chemin`: unreadable, too large, or not a
// settings document. The current version's file, which the quit would
// replace, is renamed "<name> (refusé).prefs" ("(refusé 2)"… when taken) so
// that it is kept; an older version's file is never changed. Gives the
// message that tells the user.
QString met_de_cote(const QString& chemin, bool lisible, bool trop_grand) {
    const QFileInfo info(chemin);
    const QString raison =
        !lisible     ? QStringLiteral("ne peut pas être lu")
        : trop_grand ? QStringLiteral("est trop grand (plus de %1)").arg(taille_maximale_en_clair)
                     : QStringLiteral("est endommagé ou n'est pas un fichier de préférences");
    QString texte = QStringLiteral("Les réglages enregistrés n'ont pas pu être repris : le fichier "
                                   "des préférences «\u00A0%1\u00A0» %2.\r\rLe logiciel démarre "
                                   "avec ses réglages initiaux. ")
                        .arg(info.fileName(), raison);
    const QString dossier = QDir::toNativeSeparators(info.absolutePath());
    if (niveau_version_preferences > 0)
        return texte + QStringLiteral("Ce fichier, d'une version précédente, est laissé tel quel "
                                      "dans le dossier «\u00A0%1\u00A0».")
                           .arg(dossier);
    const auto nom_garde = [&info](int n) {
        return info.dir().filePath(
            info.completeBaseName() +
            (n == 1 ? QStringLiteral(" (refusé).") : QStringLiteral(" (refusé %1).").arg(n)) +
            info.suffix());
    };
    QString garde = nom_garde(1);
    for (int n = 2; QFileInfo(garde).exists() || QFileInfo(garde).isSymLink(); ++n)
        garde = nom_garde(n);
    if (!QFile::rename(chemin, garde))
        return texte + QStringLiteral("Ce fichier n'a pas pu être mis de côté : il sera remplacé "
                                      "à la fermeture du logiciel.");
    return texte + QStringLiteral("Le fichier refusé est conservé sous le nom «\u00A0%1\u00A0» "
                                  "dans le dossier «\u00A0%2\u00A0».")
                       .arg(QFileInfo(garde).fileName(), dossier);
}

} // namespace

QString noms_champs(const QStringList& clefs) {
    const QWidget* fenetre = coquille::w_main_qt();
    const QList<QLabel*> legendes = fenetre ? fenetre->findChildren<QLabel*>() : QList<QLabel*>();
    QStringList noms;
    for (const QString& clef : clefs) {
        const QString controle = clef.section(u'_', 1);
        const auto legende = std::find_if(legendes.cbegin(), legendes.cend(), [&](QLabel* l) {
            return l->buddy() && l->buddy()->objectName() == controle;
        });
        noms.append(QStringLiteral("«\u00A0%1\u00A0»")
                        .arg(legende != legendes.cend() ? (*legende)->text() : clef));
    }
    return noms.join(QStringLiteral(", "));
}

void importe_preferences() {
    QString refus;
    try {
        dictionnaire_parametres = dictionnaire();
        // A quit killed while it wrote the preferences leaves its temporary
        // file beside them: those of this machine's processes that no longer
        // run go. Another machine sharing the folder removes its own.
        bibliotheque_v1::dossier_ouvert dossier;
        if (dossier.ouvre(QFileInfo(chemin_preferences(0)).path()) == 0)
            dossier.nettoie_temporaires(false);
        for (;;) {
            const QString chemin = chemin_preferences(niveau_version_preferences);
            bool fin = chemin.isEmpty();
            const QFileInfo info(chemin);
            if (!fin && info.isFile()) {
                const bool lisible = info.isReadable();
                bool trop_grand = false;
                if (lisible && importe_xml_preferences(chemin, QString(), &trop_grand) > 0) {
                    import_export_parametres(QStringLiteral("init"), QStringLiteral("import"));
                    dictionnaire_parametres->clear();
                } else {
                    refus = met_de_cote(chemin, lisible, trop_grand);
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
    if (!refus.isEmpty())
        w_alerte::instance().message(refus, QString());
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
        QStringList omises;
        if (exporte_xml(chemin, &erreur, &omises)) {
            // Kept whole, the file would be refused at the next start with
            // every setting in it: the rest is kept, and the user told.
            if (!omises.isEmpty())
                w_alerte::instance().message(
                    QStringLiteral("Les réglages courants ont été enregistrés pour le prochain "
                                   "lancement, sauf le contenu de ") +
                        noms_champs(omises) +
                        QStringLiteral(", trop long pour le fichier des préférences (") +
                        taille_maximale_en_clair +
                        QStringLiteral(
                            " au plus).\r\rIl ne sera pas repris au prochain lancement."),
                    QString());
        } else {
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
