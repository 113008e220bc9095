#pragma once

#include <QString>

// Validation of one field of a data-file record.
namespace verification_v1 {

// Kinds of field.
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

} // namespace verification_v1
