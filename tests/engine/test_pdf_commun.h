#pragma once

#include "environnement.h"
#include "outils_eps.h"
#include "valdorin.h"

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

namespace test_pdf {

// A description with the usual values; tests change what they look at.
inline valdorin::tableau_code_barres description(const QString& protection = "C",
                                                 const QString& orientation = "=",
                                                 const QString& reduction = "0") {
    return {"P", "12345",   "42",       "5",         "",          "250", "A",
            "P", reduction, protection, orientation, "essai.pdf", ""};
}

// Makes the file of `t` (with or without the note) in the test's folder and
// returns its bytes.
inline QByteArray fabrique(valdorin::tableau_code_barres t, bool note,
                           const QString& nom = "essai.pdf") {
    return outils_eps::fabrique(t, note, nom);
}

} // namespace test_pdf
