#pragma once

#include <QString>

#include <cstdint>

// Reading numbers from texts the way settings and entry fields need it: the
// leading number of the text, with a point as the decimal separator.
namespace nombres {

// The number at the start of `texte`: leading blanks, an optional sign,
// digits, an optional "." and fraction digits, an optional exponent. What
// follows is ignored ("4.7 cm" gives 4.7); a text without a leading number
// gives 0.
double val(const QString& texte);

// `valeur` taken as a 32-bit integer: the fraction is dropped (4.7 gives 4,
// -4.7 gives -4), values beyond the range are brought to its nearest end and
// a value that is not a number gives 0.
std::int32_t vers_int32(double valeur);

} // namespace nombres
