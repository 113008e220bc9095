#pragma once

#include "valdorin.h"

#include <QString>

// The pieces of the legend shared by the entry and both writers: which
// encoding draws it, its texts in that encoding, and its forms of the issue
// and the price.
namespace valdorin {

// Whether the carrier, the price header and the payment mode are plain ASCII.
// An EPS file then draws the legend in the fonts' own encoding, as always;
// otherwise in Helvetica and Helvetica-Bold re-encoded to WinAnsi.
bool legende_ascii(const tableau_code_barres& t);

// A legend text for a string literal shown in a WinAnsi font: composed
// (a letter and its combining accent become the accented letter), escaped,
// every character written as its Windows-1252 byte. verifie_legende refuses
// the characters that the code page lacks before any writer runs.
QString texte_winansi(const QString& texte);

// The glyph that WinAnsi code `code` draws, "" for none (control codes and
// the five codes that the code page leaves out).
const char* glyphe_winansi(int code);

// The price as the legend shows it: "150" cents gives "1,50".
QString prix_euros(const QString& centimes);

} // namespace valdorin
