#pragma once

#include <QString>

namespace test_support {

// The fresh folder that stands for the user's home during the current test.
QString dossier_test();

} // namespace test_support
