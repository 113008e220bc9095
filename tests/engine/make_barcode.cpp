// make_barcode OUTPUT PREVIEW E0 E1 ... E12
//
// Makes one barcode file with the engine, as the application does: sets the
// output file and the preview wish (PREVIEW 0 or 1), then hands the 13 entries
// of the barcode description to valdorin::cree_fichier. Exits 0 on success;
// prints the French message and exits 1 on failure.
#include "programme.h"
#include "valdorin.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    test_support::application_hors_ecran<QGuiApplication> application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 16 || (arguments[2] != u"0" && arguments[2] != u"1")) {
        std::fputs("usage : make_barcode SORTIE PREVISU(0|1) E0 E1 E2 E3 E4 E5 E6 E7 E8 E9 "
                   "E10 E11 E12\n",
                   stderr);
        return 2;
    }
    valdorin::tableau_code_barres t;
    for (int i = 0; i < 13; ++i)
        t[i] = arguments[3 + i];
    valdorin::fi_ecriture = arguments[1];
    valdorin::previsu_presence = arguments[2] == u"1";
    try {
        valdorin::cree_fichier(t);
    } catch (const valdorin::erreur_creation& erreur) {
        std::fprintf(stderr, "%s\n", erreur.what());
        return 1;
    }
    return 0;
}
