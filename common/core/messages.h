#pragma once

#include <QString>

// The alert texts that several layers show, written once so that they stay
// the same wherever they appear. Line ends are CR, as in every alert text.
namespace messages {

// A file that may not be read, or a folder that may not be written: the
// operation is given up.
inline const QString fichier_protege_ouverture =
    QStringLiteral("Fichier ou répertoire protégé !\r\rOuverture annulée !");
inline const QString fichier_protege_enregistrement =
    QStringLiteral("Fichier ou répertoire protégé !\r\rEnregistrement annulé !");

// A data file given to the batch page while a run goes on: the run keeps its
// own file and the new one is refused.
inline const QString serie_deja_en_cours =
    QStringLiteral("Un ensemble de code-barres est déjà en cours de création.\r\r"
                   "Attendez la fin de ce travail, ou arrêtez-le, avant d'en lancer un autre.\r\r"
                   "Ouverture annulée !");

// The result folder of a batch run cannot receive the files.
inline const QString dossier_resultats_inutilisable =
    QStringLiteral("Le répertoire de réception des fichiers générés n'est pas utilisable !");

} // namespace messages
