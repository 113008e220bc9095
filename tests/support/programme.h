#pragma once

// The application object of the test programs and of the tools built with the
// tests: made on the offscreen platform unless the environment names another
// one, so that they run on machines without a display.

#include <QByteArray>
#include <QtGlobal>

namespace test_support {

// Chooses the platform; comes before any application object.
struct plateforme_hors_ecran {
    plateforme_hors_ecran() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
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
