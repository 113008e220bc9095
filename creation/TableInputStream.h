#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringDecoder>

#include <cstdint>
#include <memory>
#include <stdexcept>

// The text encodings a data file may be written in, in the order the batch
// page offers them.
enum class codage_texte : int { ascii = 0, mac_roman, windows_ansi, utf8, utf16 };

// A data file that cannot be opened for reading.
class echec_lecture : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads a delimited data file one record at a time and hands each record on
// with its fields joined by TAB, whatever the file's own delimiter. Comma and
// semicolon files go through a quoting-aware state machine; TAB and
// vertical-bar files are split plainly. The reader never judges a record.
//
// The file is decoded in chunks as it is read: only one chunk and the record
// being built are held in memory, whatever the file's size. Every character
// the state machine looks at is ASCII, and every offered encoding keeps ASCII
// as it is, so working on decoded characters gives what working on the bytes
// would.
class TableInputStream {
public:
    TableInputStream();
    ~TableInputStream();
    TableInputStream(const TableInputStream&) = delete;
    TableInputStream& operator=(const TableInputStream&) = delete;

    // Opens `fichier` in `codage` with the one-character `delimiteur` (TAB,
    // ";", "," or the vertical bar). A UTF-8 mark, or a UTF-16 mark of either
    // byte order, is skipped. Throws echec_lecture when the file cannot be read.
    void Open(const QString& fichier, codage_texte codage, const QString& delimiteur);
    // True when no character is left (EOF itself is a macro of the C library).
    bool Eof() const;
    void Close();
    // The next record, its fields joined by TAB, without its line end; an
    // empty record once the file is at its end.
    QString ReadLine();
    // The largest number of fields of one record read so far.
    std::int32_t ColumnCount() const { return nb_colonnes_maxi; }
    // How far the reading has gone, 0 to 100; 100 for an empty file.
    std::int32_t Percent() const;
    // Comma and semicolon files: true when the last record read ran to the
    // end of the file inside a quoted field, so that it holds the rest of the
    // file rather than one record.
    bool guillemet_non_ferme() const { return guillemet_ouvert; }

    // Character code of the file's delimiter: 9, 59, 44 or 124.
    std::int32_t valeur_separateur_entree = 9;
    // Line end put into a quoted field.
    QString chaine_retour_chariot = QStringLiteral("\r");
    // Field separator of the records handed out.
    QString chaine_separateur_sortie = QStringLiteral("\t");
    // The open file; null before Open and after Close.
    std::unique_ptr<QFile> tis;
    // UTF-16 only: false when the file is little-endian.
    bool sens_utf16_correct = true;
    std::int32_t nb_colonnes_maxi = 0;
    // The file's length in bytes.
    std::uint64_t nb_cars_total = 0;
    // Bytes read from the file at a time.
    qint64 taille_bloc = 256 * 1024;

private:
    QString read_line_csv();
    QString read_line_simple();
    void maj_nb_colonnes_maxi(std::int32_t n);

    // Makes sure at least one decoded character waits in the buffer, reading
    // and decoding the next chunk when needed; false at the end of the file.
    bool disponible() { return indice < tampon.size() || lit_bloc(); }
    bool lit_bloc();
    // Skips one LF right after a record that ended with CR.
    void saute_lf_apres_cr();

    codage_texte codage = codage_texte::utf8;
    QStringDecoder decodeur;
    // Bytes read but not yet decoded: the start of a character cut by the
    // chunk's end.
    QByteArray reste;
    // The decoded chunk and the next character to hand out.
    QString tampon;
    qsizetype indice = 0;
    // Bytes of the file consumed before the current chunk, and the bytes the
    // current chunk was decoded from.
    std::uint64_t octets_avant_tampon = 0;
    std::uint64_t octets_tampon = 0;
    bool fin_fichier = true;
    bool guillemet_ouvert = false;
};
