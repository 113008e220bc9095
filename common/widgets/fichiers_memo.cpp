#include "fichiers_memo.h"

#include "bibliotheque_v1.h"
#include "dialogues_fichiers.h"
#include "droits_fichiers.h"
#include "ecriture_fichiers.h"
#include "fichiers_parametres.h"
#include "messages.h"
#include "parametres_v1.h"
#include "services_coquille.h"
#include "types_fichiers.h"
#include "w_alerte.h"

#include <QFileInfo>
#include <QWidget>

#include <stdexcept>

namespace parametres_v1 {

namespace {

const QString refus_serie_en_cours =
    QStringLiteral("Un ensemble de code-barres est en cours de création.\r\r"
                   "Attendez la fin de ce travail, ou arrêtez-le, avant de restaurer un état."
                   "\r\rOuverture annulée !");

const QString message_non_etat =
    QStringLiteral("Ce fichier ne semble pas être un état enregistré de cette application !");
const QString message_trop_grand =
    QStringLiteral("Ce fichier est trop grand pour être un état enregistré de cette application : "
                   "un état ne dépasse pas ") +
    taille_maximale_en_clair + QStringLiteral(".");

// The given type, or the state-file type.
type_fichier type_ou_etat(const type_fichier* type) {
    if (type)
        return *type;
    const std::optional<type_fichier> etat = ensemble_fichiers_drop::type_etat();
    if (!etat)
        throw std::runtime_error("types de fichiers non initialisés");
    return *etat;
}

} // namespace

void exporte_fichier_memo(const type_fichier* type, const QString& nom) {
    try {
        const type_fichier type_choisi = type_ou_etat(type);
        QString chemin = bibliotheque_v1::get_savefolderitem(
            coquille::w_main_qt(), type_choisi, QStringLiteral("courant"),
            nom.isEmpty() ? QStringLiteral("Etat de Valdorin") : nom);
        if (chemin.isEmpty())
            return;
        // The extension is the file's type: without it the state could not be
        // opened again. A name that lacks it gets it; the completed name is
        // refused as the dialog refuses a typed one, and a file already under
        // it is replaced only when the user agrees.
        const QString extension = type_choisi.extensions.section(u',', 0, 0).trimmed();
        if (extension.startsWith(u'.') && !chemin.endsWith(extension, Qt::CaseInsensitive)) {
            chemin += extension;
            if (!bibliotheque_v1::enregistrement_permis(chemin)) {
                w_alerte::instance().message(messages::fichier_protege_enregistrement, QString());
                return;
            }
            if (QFileInfo::exists(chemin) &&
                !w_alerte::instance().proposition_ok_annuler(
                    QStringLiteral("Le fichier « %1 » existe déjà. Voulez-vous le remplacer ?")
                        .arg(QFileInfo(chemin).fileName()),
                    QString()))
                return;
        }
        import_export_parametres(QStringLiteral("memo"), QStringLiteral("export"));
        // A state that could not be read back is not written.
        QStringList trop_grandes;
        const std::optional<QByteArray> document = cree_xml(&trop_grandes);
        if (!trop_grandes.isEmpty()) {
            w_alerte::instance().message(
                QStringLiteral("L'état du logiciel n'a pas pu être enregistré : le contenu de ") +
                    noms_champs(trop_grandes) +
                    QStringLiteral(" est trop long pour un fichier d'état (%1 au plus).\r\r"
                                   "Enregistrement annulé !")
                        .arg(taille_maximale_en_clair),
                QString());
            return;
        }
        const int erreur =
            document ? bibliotheque_v1::enregistre_fichier(chemin, *document) : sans_document;
        if (erreur != 0) {
            // The file could not be written (an earlier one stays whole): say
            // so and why, never confirm.
            bibliotheque_v1::erreur_fichier(QStringLiteral("parametres : exporte_fichier_memo"));
            w_alerte::instance().message(
                erreur > 0 ? QStringLiteral("L'état du logiciel n'a pas pu être enregistré : ") +
                                 bibliotheque_v1::raison_systeme(erreur) +
                                 QStringLiteral("\r\rEnregistrement annulé !")
                           : QStringLiteral("L'état du logiciel n'a pas pu être enregistré !"),
                QString());
            return;
        }
        // Type and creator codes: on this platform the extension is the type.
        w_alerte::instance().message(
            QStringLiteral("L'état du logiciel a été correctement enregistré !"), QString());
    } catch (...) {
        bibliotheque_v1::erreur_fichier(QStringLiteral("parametres : exporte_fichier_memo"));
    }
}

void choisit_importe_fichier_memo(const type_fichier* type) {
    try {
        const type_fichier type_choisi = type_ou_etat(type);
        const QString chemin = bibliotheque_v1::get_readfolderitem(
            coquille::w_main_qt(), &type_choisi, QStringLiteral("courant"));
        if (chemin.isEmpty())
            return;
        importe_fichier_memo(chemin);
    } catch (...) {
        bibliotheque_v1::erreur_fichier(QStringLiteral("parametres.importe_memo"));
    }
}

void importe_fichier_memo(const QString& chemin) {
    try {
        // A batch run reads the batch page's settings record by record: a
        // state restored under it would change them half-way.
        if (coquille::fenetre_principale* principale = coquille::w_main();
            principale && principale->serie_en_cours()) {
            w_alerte::instance().message(refus_serie_en_cours, QString());
            return;
        }
        exporte_base_restauration();
        bool trop_grand = false;
        const std::int32_t n = importe_xml_preferences(chemin, QString(), &trop_grand);
        QString message = trop_grand ? message_trop_grand : message_non_etat;
        if (n > 0) {
            import_export_parametres(QStringLiteral("memo"), QStringLiteral("import"));
            if (coquille::fenetre_principale* principale = coquille::w_main())
                principale->maj(QStringLiteral("memo"));
            message = dictionnaire_parametres && n < dictionnaire_parametres->size()
                          ? QStringLiteral("Le paramétrage a été correctement restauré !")
                          : QStringLiteral("L'état du logiciel a été correctement restauré !");
        }
        // Emptied before the message is shown: nothing that runs while it is
        // on screen finds the restored entries.
        if (dictionnaire_parametres)
            dictionnaire_parametres->clear();
        w_alerte::instance().message(message, QString());
    } catch (...) {
        bibliotheque_v1::erreur_fichier(QStringLiteral("parametres.importe_fichier_memo"));
    }
}

} // namespace parametres_v1
