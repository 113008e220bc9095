#pragma once

#include <QList>
#include <QString>

#include <optional>

// The kinds of files the application reads and writes. On this platform a
// file's type is its extension; the Mac type and creator codes are kept in
// the records for what reads them, but they have no effect on files.
struct type_fichier {
    QString nom;          // display name, also the filter text of a file dialog
    QString extensions;   // e.g. ".txt" or ".txt,.csv"
    QString mac_type;     // four characters
    QString mac_createur; // four characters

    QString texte() const { return nom; }
    bool operator==(const type_fichier&) const = default;
};

// The types accepted by drop on the main window and by opening through the
// operating system: the state file and three kinds of text data file.
namespace ensemble_fichiers_drop {

// Builds the four types; called once at start-up, before any window exists.
void Initialize();

// The state-file type; nothing before Initialize().
std::optional<type_fichier> type_etat();

// The four types in their order (state, text, CSV, PRN); empty before Initialize().
QList<type_fichier> types();

// The names of the four types, each followed by ";".
QString All();

} // namespace ensemble_fichiers_drop

// The two output types, EPS and PDF.
namespace ensemble_fichiers_resultat {

// Builds the two types; called once at start-up, after the drop set.
void Initialize();

std::optional<type_fichier> type_eps();
std::optional<type_fichier> type_pdf();

} // namespace ensemble_fichiers_resultat

namespace file_table_type {

// A new text-file type for the field delimiter of character code `code`
// (9, 32, 44, 59 or 124). Another code gives a type without name and
// extensions, and a silent debug report.
type_fichier filetype_table(int code);

} // namespace file_table_type
