#pragma once

#include <QString>

// The barcode engine: turns one barcode description into an EAN-13 + add-on
// symbol and writes it as an EPS or PDF file. Every call runs to its end on the
// caller's thread without giving time back to the event loop.
namespace valdorin {

// Encodes 17 digits (12 EAN-13 data digits, then the 5 add-on digits) as the
// symbol-font text that draws the barcode: 28 characters, or 29 with the
// reserves. A text shorter than 17 characters, or with a non-digit among its
// first 17, is reported through msgdebug and gives the empty text.
QString ean13_valdorin(const QString& chiffres, bool reserves);

} // namespace valdorin
