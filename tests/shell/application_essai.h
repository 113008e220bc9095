#pragma once

// The application object as the program makes it, for the shell's tests and
// the screen captures: the file types first, then the object with its menu
// bar and commands, the network reported down so that nothing reaches a
// server.

#include "app.h"
#include "ecriture_fichiers.h"
#include "types_fichiers.h"
#include "w_web.h"

namespace essai_coquille {

// Registers the file types, and lets a write past the file-size limit fail
// with EFBIG, as the program does at start-up; comes before the application
// object.
struct types_fichiers_prets {
    types_fichiers_prets() {
        bibliotheque_v1::ignore_depassement_taille_fichier();
        ensemble_fichiers_drop::Initialize();
        ensemble_fichiers_resultat::Initialize();
    }
};

class application_essai : private types_fichiers_prets, public app {
public:
    application_essai(int& argc, char** argv) : app(argc, argv) {
        _ApplicationAddMenuHandlers();
        w_web::instance().interroge = [] { return false; };
    }
};

} // namespace essai_coquille
