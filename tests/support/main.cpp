#include "environnement.h"

#ifdef VALDORIN_TEST_WIDGETS
#include "bibliotheque_divers.h"

#include <QApplication>

// The widgets' tests show Qt's dialogs in French, as the application does.
class application_test : public QApplication {
public:
    application_test(int& argc, char** argv) : QApplication(argc, argv) {
        bibliotheque_v1::installe_traductions_qt();
    }
};
#else
#include <QGuiApplication>
using application_test = QGuiApplication;
#endif

int main(int argc, char** argv) {
    return test_support::lance_tests<application_test>(argc, argv);
}
