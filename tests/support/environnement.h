#pragma once

#include "programme.h"

#include <QString>
#include <gtest/gtest.h>

namespace test_support {

// The fresh folder that stands for the user's home during the current test.
QString dossier_test();

// Gives each test its own home, configuration and temporary folders.
void installe_isolation();

// The main of a test program: its tests run under an `Application` made
// offscreen, each test in its own folders.
template <class Application> int lance_tests(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    application_hors_ecran<Application> application(argc, argv);
    installe_isolation();
    return RUN_ALL_TESTS();
}

} // namespace test_support
