// dialogue_clavier GENRE DEPART: the choose-folder dialog of a run ("dossier"),
// or the open or save dialog of a data file ("ouvrir", "enregistrer"), shown on
// the platform QT_QPA_PLATFORM names in DEPART; prints what it answers, if any.

#include "bibliotheque_divers.h"
#include "dialogues_fichiers.h"
#include "types_fichiers.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    QApplication application(argc, argv);
    using namespace bibliotheque_v1;
    installe_traductions_qt();
    dossier_lecture = dossier_ecriture = QString::fromLocal8Bit(argv[2]);
    const type_fichier donnees = file_table_type::filetype_table(';');
    const QByteArray genre = argv[1];
    const QString reponse = genre == "dossier" ? get_savefolder(nullptr, "ecriture", {})
                            : genre == "ouvrir"
                                ? get_readfolderitem(nullptr, &donnees, "lecture")
                                : get_savefolderitem(nullptr, donnees, "ecriture", {});
    std::printf("%s\n", reponse.toUtf8().constData());
    return 0;
}
