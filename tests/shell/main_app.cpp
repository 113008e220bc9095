#include "app.h"
#include "types_fichiers.h"
#include "w_web.h"

#include <gtest/gtest.h>

namespace test_support {
void installe_isolation();
}

// The shell's tests run under the application object itself, with its menu
// bar and commands, as the program starts it.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    ensemble_fichiers_drop::Initialize();
    ensemble_fichiers_resultat::Initialize();
    app application(argc, argv);
    application._ApplicationAddMenuHandlers();
    // The network reported down, so that no test reaches a server.
    w_web::instance().interroge = [] { return false; };
    test_support::installe_isolation();
    return RUN_ALL_TESTS();
}
