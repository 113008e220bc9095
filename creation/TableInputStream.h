#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <stdexcept>

// The text encodings a data file may be written in, in the order the batch
// page offers them.
enum class codage_texte : int { ascii = 0, mac_roman, windows_ansi, utf8, utf16 };

// A data file that cannot be read to its end: it cannot be opened, a read
// fails, or it changed while it was read. what() gives the French reason, in
// UTF-8, as it ends a message ("le fichier de données a changé pendant la
// lecture.").
class echec_lecture : public std::runtime_error {
public:
    explicit echec_lecture(const QString& raison) : std::runtime_error(raison.toStdString()) {}
};

// Reads a delimited data file one record at a time and hands each record on
// with its fields joined by TAB, whatever the file's own delimiter. Comma and
// semicolon files go through a quoting-aware state machine; TAB and
// vertical-bar files are split plainly. The reader never judges a record.
//
// The file is decoded in chunks as it is read: only one chunk and the record
// being built are held in memory, whatever the file's size, and a record keeps
// at most `longueur_maximale` characters, whatever the length of its line.
// Every character the state machine looks at is ASCII, and every offered
// encoding keeps ASCII as it is, so working on decoded characters gives what
// working on the bytes would.
//
// Bytes that stand for no character of the encoding (a byte above 127 in
// ASCII, one of the five bytes Windows ANSI leaves undefined, an invalid
// UTF-8 sequence, a lone UTF-16 surrogate or odd last byte) come out as the
// replacement character U+FFFD, never as another character. The reader
// tells them from a U+FFFD that the file holds as text (colonne_illisible).
//
// The file is read through its descriptor so that a failed read gives the
// system's reason. At its end the file's size and modification time are
// compared with those it had at Open: a file truncated, grown or rewritten
// meanwhile throws echec_lecture rather than hand out a mix of two contents.
// A file replaced by another under its name is not seen: the reader keeps
// reading the one it opened.
class TableInputStream {
public:
    // The characters kept of one record by default: a sound record is well
    // under a thousand, and its longest field, a PDF note, at most 65,535 bytes.
    static constexpr qsizetype longueur_maximale_defaut = 1024 * 1024;
    // What stands in a record for a quote inside an unquoted field of a comma
    // or semicolon file: a fault of the file that the field checks refuse.
    static inline const QString marque_erreur_csv = QStringLiteral("<ERREUR_CSV>");
    // What stands in a record for a TAB inside a quoted field of a comma or
    // semicolon file. Records travel with their fields joined by TAB, so the
    // TAB itself would split its field in two: it is a fault of that field,
    // which the field checks refuse, and it counts no field. A TAB outside
    // quotes stays a field boundary, as in a TAB file.
    static inline const QString marque_tabulation = QStringLiteral("<ERREUR_TAB>");

    TableInputStream();
    ~TableInputStream();
    TableInputStream(const TableInputStream&) = delete;
    TableInputStream& operator=(const TableInputStream&) = delete;

    // Opens `fichier` in `codage` with the one-character `delimiteur` (TAB,
    // ";", "," or the vertical bar), and reads its first bytes. A UTF-8 mark,
    // or a UTF-16 mark of either byte order, is skipped. Throws echec_lecture
    // when the file is no regular file, cannot be opened or cannot be read.
    void Open(const QString& fichier, codage_texte codage, const QString& delimiteur);
    // True when no character is left (EOF itself is a macro of the C library).
    bool Eof() const;
    void Close();
    // The next record, its fields joined by TAB, without its line end; an
    // empty record once the file is at its end. A record longer than
    // `longueur_maximale` comes out cut to its first `longueur_maximale`
    // characters (see enregistrement_trop_long), and the next one starts
    // after its line end all the same. The record takes the memory of its own
    // characters and no more, so that a caller may keep every record of a
    // file. Throws echec_lecture when a read fails or, at the end of the file,
    // when the file changed since Open.
    QString ReadLine();
    // The largest number of fields of one record read so far; a cut record
    // counts the fields of the part kept.
    std::int32_t ColumnCount() const { return nb_colonnes_maxi; }
    // How far the reading has gone, 0 to 100; 100 for an empty file.
    std::int32_t Percent() const;
    // Comma and semicolon files: true when the last record read ran to the
    // end of the file inside a quoted field, so that it holds the rest of the
    // file rather than one record.
    bool guillemet_non_ferme() const { return guillemet_ouvert; }
    // True when the last record read was longer than `longueur_maximale`
    // characters and came out cut.
    bool enregistrement_trop_long() const { return trop_long; }
    // The field, from 1, of the first bytes of the last record read that
    // stand for no character of the encoding; 0 when it has none. A U+FFFD
    // written in the file (in UTF-8 or UTF-16) is text like any other.
    std::int32_t colonne_illisible() const { return premiere_colonne_illisible; }

    // Character code of the file's delimiter: 9, 59, 44 or 124.
    std::int32_t valeur_separateur_entree = 9;
    // Line end put into a quoted field.
    QString chaine_retour_chariot = QStringLiteral("\r");
    // Field separator of the records handed out.
    QString chaine_separateur_sortie = QStringLiteral("\t");
    // UTF-16 only: false when the file is little-endian.
    bool sens_utf16_correct = true;
    std::int32_t nb_colonnes_maxi = 0;
    // The file's length in bytes at Open.
    std::uint64_t nb_cars_total = 0;
    // Bytes read from the file at a time.
    qint64 taille_bloc = 256 * 1024;
    // The characters kept of one record, as handed out.
    qsizetype longueur_maximale = longueur_maximale_defaut;

private:
    QString read_line_csv();
    QString read_line_simple();
    void maj_nb_colonnes_maxi(std::int32_t n);

    // Makes sure at least one decoded character waits in the buffer, reading
    // and decoding the next chunk when needed; false at the end of the file.
    bool disponible() { return indice < tampon.size() || lit_bloc(); }
    bool lit_bloc();
    // Adds up to `n` bytes of the file at the end of `octets`; at the end of
    // the file, checks that the file did not change.
    void lit_octets(QByteArray& octets, qint64 n);
    void verifie_inchange() const;
    // Skips one LF right after a record that ended with CR.
    void saute_lf_apres_cr();
    // Gives the unreadable characters of the chunk before `fin` to the field
    // being built; `ecrit` is the record so far, which every one of them has
    // reached and no TAB has followed.
    void note_illisibles(qsizetype fin, QStringView ecrit) {
        if (illisible_suivant < illisibles.size() && illisibles.at(illisible_suivant) < fin)
            attribue_illisibles(fin, ecrit);
    }
    void attribue_illisibles(qsizetype fin, QStringView ecrit);

    // The open file; -1 before Open and after Close.
    int descripteur = -1;
    // The file's size and modification time (in nanoseconds) at Open, and
    // the bytes read from it since.
    qint64 taille_ouverture = 0;
    qint64 date_ouverture = 0;
    qint64 octets_lus = 0;
    codage_texte codage = codage_texte::utf8;
    std::optional<QStringDecoder> decodeur;
    // Bytes read but not yet decoded: the start of a character cut by the
    // chunk's end.
    QByteArray reste;
    // The decoded chunk and the next character to hand out.
    QString tampon;
    // Where a record is built; it keeps its size from one record to the next,
    // and each record goes out as a copy of its own length.
    QString enregistrement_en_cours;
    qsizetype indice = 0;
    // Where in the decoded chunk stand characters made for unreadable bytes,
    // in order, and the first of them not yet given to a record.
    QList<qsizetype> illisibles;
    qsizetype illisible_suivant = 0;
    std::int32_t premiere_colonne_illisible = 0;
    // Bytes of the file consumed before the current chunk, and the bytes the
    // current chunk was decoded from.
    std::uint64_t octets_avant_tampon = 0;
    std::uint64_t octets_tampon = 0;
    bool fin_fichier = true;
    bool guillemet_ouvert = false;
    bool trop_long = false;
};
