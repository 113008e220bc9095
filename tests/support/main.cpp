#include "environnement.h"

#ifdef VALDORIN_TEST_WIDGETS
#include <QApplication>
using application_test = QApplication;
#else
#include <QGuiApplication>
using application_test = QGuiApplication;
#endif

int main(int argc, char** argv) {
    return test_support::lance_tests<application_test>(argc, argv);
}
