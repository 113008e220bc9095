#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// The settings dictionary on disk: the preferences file, the state file and
// the one-line settings header of data files all share one XML layout, a root
// element "valdorin" with one child element per entry, named by its key and
// holding its value as text.
namespace parametres_v1 {

// The largest settings document read, in UTF-8 bytes: the program's own
// files hold a few kilobytes, and a larger one is refused whole.
inline constexpr qint64 taille_maximale_document = 1024 * 1024;
// The same limit as the messages give it.
inline const QString taille_maximale_en_clair = QStringLiteral("1\u00A0048\u00A0576 octets");
static_assert(taille_maximale_document == 1048576);

// The dictionary as a one-line UTF-8 XML document with its declaration, or
// nothing after a failure (no dictionary). Entries with an empty key or value
// are left out, and so are keys that cannot name an XML element. Characters
// that XML cannot hold are dropped from the values; line ends are written as
// character references so that they read back as they were.
// With `omises`, the document is kept within taille_maximale_document, so
// that the reader takes it: while it is larger, the entry that takes the most
// room is left out and its key appended to `omises`.
std::optional<QByteArray> cree_xml(QStringList* omises = nullptr);

// Writes the document of cree_xml to `chemin`, replacing the file at once: a
// failed write leaves the old file whole. False when the file was not
// written; `erreur`, when given, then receives the system's error number of
// the write (see bibliotheque_v1::raison_systeme), or sans_document when
// there was no document to write. It receives 0 after a success. With
// `omises`, the entries that would make the document too large to be read
// back are left out and named there (see cree_xml).
inline constexpr int sans_document = -1;
bool exporte_xml(const QString& chemin, int* erreur = nullptr, QStringList* omises = nullptr);

// Reads a settings document from the file `chemin`, or from `texte` when
// `chemin` is empty, into the dictionary. Returns the number of entries read,
// or 0 when the document is not a settings document (not XML, another root,
// no entry, unreadable file, more than taille_maximale_document bytes) or
// there is no dictionary; nothing is stored then. An empty element reads as
// an empty value. `refuse_pour_taille`, when given, tells whether the
// document was refused for its size alone.
std::int32_t importe_xml_preferences(const QString& chemin, const QString& texte,
                                     bool* refuse_pour_taille = nullptr);

// The preferences file of `niveau`: 0 the current version's, 1 to 5 the older
// versions', "" beyond. The folder "Valdorin" of the user's configuration
// folder is created when missing. Throws std::runtime_error when there is no
// configuration folder or it cannot be made.
QString chemin_preferences(std::int32_t niveau);

} // namespace parametres_v1
