#pragma once

#include "valdorin.h"

#include <QDateTime>
#include <QString>

// The pieces of the PDF writer shared by its units (document, page content,
// fonts, note). Objects get fixed numbers in the order they are written; each
// one's byte offset goes into the cross-reference text as it is written.
namespace valdorin {

// Starts the next object: CR, its cross-reference entry, "n 0 obj" CR.
void pdf_debute_objet();

// Appends the next object with `dict` as the body of its dictionary.
void pdf_ajoute_objet(const QString& dict);

// Appends the next object as a stream holding `data`.
void pdf_ajoute_stream(const QString& data);

// Writes the cross-reference table, the trailer and "%%EOF".
void pdf_ajoute_trailer();

// The legend's string literals that hold the user's entries, as written
// between their parentheses: the carrier's run (with the product code), the
// price header's and the payment mode's.
struct legende_pdf {
    QString transporteur, entete_prix, mode_reglement;
};
legende_pdf pdf_legende_utilisateur(const tableau_code_barres& t);

// Object 6: the page's drawing operators (symbol and legend).
void pdf_ajoute_contents(const QString& code, const tableau_code_barres& t);

// Objects 8 ("H"), 9 ("HB") and 10 to 12 ("CB": font, descriptor, program).
void pdf_ajoute_police(const QString& genre, const tableau_code_barres& t);
void pdf_ajoute_police_stream(const tableau_code_barres& t);

// Objects 14 (annotation array) and 15 (the open note).
void pdf_ajoute_annot(const QString& texte, const QString& date);

// The note's text: what the barcode encodes and how it was made.
QString pdf_texte_note(const tableau_code_barres& t, const tableau_entete& entete);

// "D:" + local date and time + zone, e.g. "D:20261207223005+01'00'".
QString pdf_date(const QDateTime& moment);

// A page measure in its shortest decimal form with a point: 128, 143.5, 127.1.
QString pdf_nombre(double valeur);

// Text for a string literal, escaped (texte_litteral), each character
// written as the one-byte code that `code` gives it, "?" where it gives -1.
QString pdf_texte_code(const QString& texte, int (*code)(char32_t));

// Text for a PDF text string literal (Info entries, the note): escaped, every
// character written as its PDFDocEncoding byte when that encoding holds them
// all, or else the whole text in UTF-16BE after its byte-order mark, every
// byte beyond printable ASCII as an octal escape.
QString pdf_texte_document(const QString& texte);

// Text for a header comment line: as pdf_texte_document writes a text that
// PDFDocEncoding holds, with "?" for a character that it lacks.
QString pdf_texte_commentaire(const QString& texte);

} // namespace valdorin
