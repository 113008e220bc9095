#pragma once

// The application object of the test programs and of the tools built with the
// tests: made on the offscreen platform unless the environment names another
// one, so that they run on machines without a display.

#include "ecriture_fichiers.h"

#include <QByteArray>
#include <QtGlobal>

namespace test_support {

// Chooses the platform, and lets a write past the file-size limit fail with
// EFBIG as the application does; comes before any application object.
struct plateforme_hors_ecran {
    plateforme_hors_ecran() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        bibliotheque_v1::ignore_depassement_taille_fichier();
    }
};

// `Application` (QGuiApplication, QApplication or the shell's own), made once
// the platform is chosen.
template <class Application>
class application_hors_ecran : private plateforme_hors_ecran, public Application {
public:
    application_hors_ecran(int& argc, char** argv) : Application(argc, argv) {}
};

} // namespace test_support
