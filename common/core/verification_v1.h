#pragma once

#include <QString>

// Validation of one field of a data-file record.
namespace verification_v1 {

// Kinds of field. A file name (kind 6) refuses the quote character, "*", "/",
// ":", "<", ">", "?", the backslash, the vertical bar and every caractere_de_controle.
enum : int {
    type_chiffres = 0,
    type_caracteres = 1,
    type_jour = 2,
    type_alphanumerique = 3,
    type_majuscules = 4,
    type_mois = 5,
    type_nom_fichier = 6,
};

// Returns "" when `texte` is acceptable for `type`, otherwise a short French
// description of the first fault. `minimum` is the least length, or for a day
// the month (1-12) it belongs to; `maximum` the greatest length; `autorise`,
// when not empty, a text within which the whole field must occur. Lengths count
// characters; letters and digits are ASCII only. Pure: keeps no state.
QString verifie_string(const QString& texte, int type, int minimum, int maximum,
                       const QString& autorise);

// Whether `c` is a character that acts on the text around it rather than
// showing: the C0 controls (0-31), DEL and the C1 controls (127-159), the
// direction marks U+200E, U+200F and U+061C, the direction controls
// U+202A-U+202E and U+2066-U+2069, and the line and paragraph separators
// U+2028 and U+2029. No file name may hold one, and a report shows them
// escaped.
bool caractere_de_controle(char32_t c);

} // namespace verification_v1
