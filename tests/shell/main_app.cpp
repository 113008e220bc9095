#include "application_essai.h"
#include "environnement.h"

// The shell's tests run under the application object itself, with its menu
// bar and commands, as the program starts it.
int main(int argc, char** argv) {
    return test_support::lance_tests<essai_coquille::application_essai>(argc, argv);
}
