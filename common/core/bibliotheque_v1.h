#pragma once

#include <QDate>
#include <QString>

#include <functional>

// Shared utility library: line ends, leading zeros, month names and dates,
// number text with a decimal comma, escaping for PostScript/PDF string
// literals, the standard product word, text widths and the debug report.
//
// Every function runs to its end: the application has one thread and none of
// these helpers gives time back to the event loop while it works.
namespace bibliotheque_v1 {

// The product name, as titles and messages write it.
inline const QString nom_produit = QStringLiteral("Valdorin");

// The platform line end repeated `nombre` times ("" for 0 or less).
QString eol(int nombre = 1);

// Removes the leading "0" characters (only "0", nothing else).
QString zeros_retire(const QString& texte);

// Puts "0" in front of `texte` until it is `longueur` characters long; never cuts.
QString zeros_ajoute(const QString& texte, int longueur);

// Month 1-12 in "en" or "fr"; "erreur" for another month, "" for another language.
QString format_mois(int mois, const QString& langue);

// French long date: "7 mars 2008".
QString middle_date(const QDate& date);

// Number text with a decimal comma. -1: as many fraction digits as the value
// needs (shortest text that reads back as the same value, at most 26), 0: rounded
// whole number, n > 0: exactly n fraction digits.
QString str_format(double valeur, int decimales);

// Escapes text for a PostScript or PDF string literal. Characters 128-255 become
// three-digit octal escapes; characters beyond 255 become the octal escape of
// their Windows-1252 code, or "?" where Windows-1252 has none.
QString adapte_postscript(const QString& texte);

// Windows-1252 code of a Unicode code point, or -1 when the code page lacks it.
int code_windows_1252(char32_t caractere);

// The product name in lower case with blanks as "_": "valdorin".
QString nom_standard();

// Width in pixels of `texte` in the given font; text sizes are in pixels (a
// `taille` of 0 or less keeps the font's own) and "System" names the
// application's default font.
int string_width(const QString& texte, const QString& police, int taille, bool gras, bool italique);

// The silent debug report. With the VALDORIN_DEBUG build option it hands the
// text to the display installed in msgdebug_affichage (the widget half of the
// common services installs a message box); otherwise it shows nothing. In
// both cases the hook, when set (tests set it), receives the text.
void msgdebug(const QString& texte);

// Receives every debug report; empty by default.
extern std::function<void(const QString&)> msgdebug_hook;

// Shows a debug report in VALDORIN_DEBUG builds; empty by default.
extern std::function<void(const QString&)> msgdebug_affichage;

} // namespace bibliotheque_v1
