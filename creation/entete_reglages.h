#pragma once

#include <QString>

class QFileDevice;

// The optional settings header of a data file: a first line holding the batch
// page's settings as a one-line settings document. Only a file that starts
// with "<?xml" carries one; in UTF-16 only after the mark FE FF. A file saved
// again by a spreadsheet holds it as one quoted cell ("<?xml version=""1.0""…"),
// followed by nothing but delimiters and spaces: read as the same header.
namespace entete_reglages {

enum class issue {
    sans_entete,     // no header: the data file is read as it is
    entete,          // a header: its text in `xml`, the records in the copy
    illisible,       // the data file cannot be read
    copie_impossible // the records could not be copied
};

// Looks at the first line of the data file `chemin`. When it is a header,
// `xml` receives its text as UTF-8 ("UTF-16" in the declaration named back
// "UTF-8") and every byte after its line end is copied, unchanged and in
// chunks, straight into the open file `copie` (through its descriptor: its
// own buffer is not used). A header too long to be a settings document that
// may be read (see parametres_v1::taille_maximale_document) is not kept in
// memory: `xml` stays empty, as if the header could not be read, and the
// records are copied all the same. A file of fewer than 3 bytes is not looked
// at. When the copy fails, `erreur_copie` receives the system's error number.
issue extrait(const QString& chemin, QString& xml, QFileDevice& copie, int* erreur_copie = nullptr);

// `texte` with the first `ancien` of its XML declaration (the text up to the
// first "?>") replaced by `nouveau`; the settings after it are left alone.
QString renomme_codage(QString texte, const QString& ancien, const QString& nouveau);

} // namespace entete_reglages
