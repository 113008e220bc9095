#ifdef VALDORIN_TEST_WIDGETS
#include <QApplication>
using application_test = QApplication;
#else
#include <QGuiApplication>
using application_test = QGuiApplication;
#endif
#include <gtest/gtest.h>

namespace test_support {
void installe_isolation();
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    application_test application(argc, argv);
    test_support::installe_isolation();
    return RUN_ALL_TESTS();
}
