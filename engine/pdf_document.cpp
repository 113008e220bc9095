#include "valdorin.h"

namespace valdorin {

// Placeholder until the PDF writer lands: a PDF request fails cleanly and
// leaves no file.
void pdf_cree_fichier(const QString& /*code*/, const tableau_code_barres& /*t*/,
                      const tableau_entete& /*entete*/) {
    throw erreur_creation(QStringLiteral("L'écriture des fichiers PDF n'est pas disponible."));
}

} // namespace valdorin
