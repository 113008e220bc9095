// dialogue_dossier DEPART: the choose-folder dialog of the batch runs, shown
// on the platform QT_QPA_PLATFORM names and starting in DEPART; prints the
// folder it gives, or nothing when it gives none.

#include "bibliotheque_divers.h"
#include "dialogues_fichiers.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    QApplication application(argc, argv);
    bibliotheque_v1::installe_traductions_qt();
    bibliotheque_v1::dossier_ecriture = QString::fromLocal8Bit(argv[1]);
    const QString dossier =
        bibliotheque_v1::get_savefolder(nullptr, QStringLiteral("ecriture"), QString());
    std::printf("%s\n", dossier.toUtf8().constData());
    return 0;
}
