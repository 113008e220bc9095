#pragma once

#include "ecriture_fichiers.h"
#include "serveur_web.h"

#include <QBuffer>
#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QString>
#include <QUrl>

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <stdexcept>

class QPaintDevice;

// The barcode engine: turns one barcode description into an EAN-13 + add-on
// symbol and writes it as an EPS or PDF file. Every call runs to its end on the
// caller's thread without giving time back to the event loop.
namespace valdorin {

// One barcode file: 0 carrier, 1 product code, 2 issue, 3 sub-issue digit,
// 4 price header, 5 price in cents, 6 payment mode, 7 file type ("P" PDF,
// anything else EPS), 8 bar-width reduction "0"-"4", 9 protection "A", "R",
// "F" or "C", 10 orientation "=", "<" or ">", 11 output file name, 12 preview
// comment. A successful run rewrites entry 2 without its leading zeros and
// entry 5 as euros with a decimal comma ("150" becomes "1,50").
using tableau_code_barres = std::array<QString, 13>;

// The entries of tableau_code_barres, by meaning.
inline constexpr std::size_t entree_transporteur = 0;
inline constexpr std::size_t entree_code_produit = 1;
inline constexpr std::size_t entree_parution = 2;
inline constexpr std::size_t entree_sous_parution = 3;
inline constexpr std::size_t entree_entete_prix = 4;
inline constexpr std::size_t entree_prix = 5;
inline constexpr std::size_t entree_mode_reglement = 6;
inline constexpr std::size_t entree_type_fichier = 7;
inline constexpr std::size_t entree_engraissement = 8;
inline constexpr std::size_t entree_protection = 9;
inline constexpr std::size_t entree_orientation = 10;
inline constexpr std::size_t entree_nom_fichier = 11;
inline constexpr std::size_t entree_commentaire = 12;

// The four header texts of one run: 0 creator text, 1 maker notice, 2 creation
// date text, 3 author text. Entries 0, 2 and 3 are already escaped for a
// string literal; entry 1 is plain ASCII without parentheses or backslashes.
using tableau_entete = std::array<QString, 4>;

// Raised by cree_fichier when a file cannot be made; what() holds the French
// message, in UTF-8, that the pages show as it is.
class erreur_creation : public std::runtime_error {
public:
    explicit erreur_creation(const QString& message);
    QString message() const;
};

// --- Module globals -------------------------------------------------------

// The inputs of the next run, which every caller sets together just before
// it calls cree_fichier: the single page and a batch run both use the engine,
// and one may run while the other waits in a dialog. The output file (a path;
// it is created or replaced as bibliotheque_v1::enregistre_fichier does) and
// whether a preview is wanted (TIFF preview in EPS files, note annotation in
// PDF files).
inline QString fi_ecriture;
inline bool previsu_presence = false;
// The folder a batch run holds open: when set, fi_ecriture is a name inside
// it, and a symbolic link there is refused rather than followed (a name that
// comes from a data file must not lead out of the result folder). Set by the
// caller with the two above; none for a path chosen in a dialog.
inline const bibliotheque_v1::dossier_ouvert* dossier_ecriture = nullptr;

// The output stream every writer writes to: an in-memory buffer, opened by
// cree_fichier before the writer runs. Once the writer has finished, the
// bytes go to a temporary file beside the destination that then replaces
// it, so a failed run never leaves a partial file nor harms an earlier one.
// After the run the buffer stays, closed, until the next run replaces it.
inline std::unique_ptr<QBuffer> buffer_ecriture;

// Page size of the current file, in points.
inline double largeur = 0.0;
inline double hauteur = 0.0;

// The preview picture (96 dots per inch) and its TIFF encoding.
inline QImage previsu_picture;
inline QByteArray previsu_bloc;

// PDF object counter and cross-reference text of the current PDF file.
inline int nb_objets = 0;
inline QString xref;

// The local date and time of the current run, taken once at its start; every
// date that the run writes comes from it.
inline QDateTime date_execution;

// The maker notice written into the file headers: the maker's name and the
// host of its web site, the build-time address of the web links.
inline const QString notice_editeur = QStringLiteral("Brimlow Systems - ") +
                                      QUrl(bibliotheque_v1::www_serveur()).host(QUrl::FullyEncoded);

// The creator text, before escaping.
inline const QString texte_createur = QStringLiteral("Valdorin 2.2");

// --- Entry ------------------------------------------------------------------

// Makes one barcode file from `t` into fi_ecriture. `canevas` is unused
// (callers pass nothing). Entries are checked before any file is touched:
// 1 is 1-5 digits, 2 is 0-4 digits, 3 one digit, 5 1-4 digits, 8 "0"-"4",
// 9 "A", "R", "F" or "C", 10 "=", "<" or ">"; and the legend, as
// verifie_legende does. Any failure raises erreur_creation; the destination
// then keeps what it held before.
void cree_fichier(tableau_code_barres& t, QPaintDevice* canevas = nullptr);

// Encodes 17 digits (12 EAN-13 data digits, then the 5 add-on digits) as the
// symbol-font text that draws the barcode: 28 characters, or 29 with the
// reserves. A text shorter than 17 characters, or with a non-digit among its
// first 17, is reported through msgdebug and gives the empty text.
QString ean13_valdorin(const QString& chiffres, bool reserves);

// --- Writers ----------------------------------------------------------------

// The EPS writer: writes the whole file through buffer_ecriture. `code` is the
// symbol string already escaped for a string literal.
void eps_cree_fichier(const QString& code, const tableau_code_barres& t,
                      const tableau_entete& entete);

// The four bytes of n, least significant first.
QByteArray eps_integer_to_hexa_inverse(quint32 n);

// The PDF writer: writes the whole file through buffer_ecriture, with the
// same arguments as the EPS writer.
void pdf_cree_fichier(const QString& code, const tableau_code_barres& t,
                      const tableau_entete& entete);

// Writing to buffer_ecriture: bytes or text as UTF-8 at the current position
// (overwriting what lies there), and the position itself. They raise
// erreur_creation when no stream is open.
void ecrit(const QByteArray& octets);
void ecrit(const QString& texte);
qint64 position();
void positionne(qint64 position);

// Text of a user entry for a PostScript or PDF string literal: escaped with
// bibliotheque_v1::adapte_postscript, and the control characters that it
// leaves as they are written as octal escapes, so the text can neither break
// the literal nor end a comment line.
QString texte_litteral(const QString& texte);

// The most bytes that a string literal of the files may hold, counted as they
// are written between its parentheses (escapes included): the implementation
// limit of PostScript strings, which PDF readers share. A reader may stop on
// a file with a longer string (Ghostscript does with /limitcheck once strings
// grow long enough).
inline constexpr qsizetype taille_maximale_litteral = 65535;

// Raises erreur_creation, naming the text `champ`, when `litteral` (the bytes
// written between a literal's parentheses) is longer than
// taille_maximale_litteral.
void verifie_litteral(const QByteArray& litteral, const QString& champ);

// Checks of the string literals that the EPS writer and the PDF writer would
// write from the user's entries of `t` (and, in PDF, the note made with
// `entete`), before any of the file is made; they raise erreur_creation as
// verifie_litteral does.
void eps_verifie_textes(const tableau_code_barres& t);
void pdf_verifie_textes(const tableau_code_barres& t, const tableau_entete& entete);

// --- Legend -----------------------------------------------------------------

// Why the legend of a description cannot be drawn: the entry to change (the
// carrier, the price header or the payment mode) and the French message.
struct defaut_legende {
    std::size_t entree;
    QString message;
};

// Looks at the legend that the writer of t's file type would draw, `t` as the
// callers give it (issue with its zeros, price in cents, valid digits): a
// character of the carrier, price header or payment mode that the legend's
// fonts lack (WinAnsi has none for it) is refused, and so is a legend that
// would end past the right edge of the symbol's box (128 or 143.5 points
// wide), measured as the writer draws it. None when it can be drawn.
// cree_fichier refuses such a description with the message.
std::optional<defaut_legende> verifie_legende(const tableau_code_barres& t);

// Nearest ASCII letters of a text: accents dropped ("é" gives "e"), ligatures
// spelled out ("œ" gives "oe"), typographic quotes and dashes made plain; any
// other non-ASCII character becomes "?".
QString texte_ascii(const QString& texte);

// --- Preview ----------------------------------------------------------------

// Draws the preview picture of `t` into previsu_picture and its TIFF into
// previsu_bloc. previsu_bloc is emptied first, so it is empty when the preview
// could not be made (the failure is reported through msgdebug).
void cree_previsu_tiff(const tableau_code_barres& t);

// A complete uncompressed big-endian RGB TIFF file of `image`.
QByteArray eps_picture_to_tiff(const QImage& image);

// --- Resources ----------------------------------------------------------------

// Font programs and the preview background, read from the application's
// resources on first use and kept. A missing or empty font resource raises
// erreur_creation and is looked for again on the next call; a missing
// background gives a null image, looked for again on every call.
const QByteArray& f_eps_RorU35V0();
const QByteArray& f_eps_EanP35N1();
const QByteArray& f_eps_EanP35N2();
const QByteArray& f_eps_EanP35N3();
const QByteArray& f_eps_EanP35N4();
const QByteArray& f_eps_vuravaze();
const QImage& f_eps_previsu();
const QByteArray& f_pdf_RorU35V0();
const QByteArray& f_pdf_EanP35N1();
const QByteArray& f_pdf_EanP35N2();
const QByteArray& f_pdf_EanP35N3();
const QByteArray& f_pdf_EanP35N4();

// The EPS and PDF symbol font programs for a reduction "0"-"4".
const QByteArray& f_eps_symbole(const QString& reduction);
const QByteArray& f_pdf_symbole(const QString& reduction);

} // namespace valdorin
