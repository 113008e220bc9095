#pragma once

#include <QString>

// The texts the application carries: the user agreement in French and English.
namespace fichiers_inclus {

// The text named `nom` in `langue` ("" means "fr"): "licence" gives the
// agreement; another name or language gives "Debug en desincorpore_texte".
QString desincorpore_texte(const QString& nom, const QString& langue);

// The agreement texts, read from the resources on first use and kept.
QString licence_fr();
QString licence_en();

// The kept texts and whether they have been read.
extern QString licence_fr_texte;
extern bool licence_fr_chargee;
extern QString licence_en_texte;
extern bool licence_en_chargee;

} // namespace fichiers_inclus
