// dialogue_clavier GENRE DEPART: a dialog of the program, shown on the
// platform QT_QPA_PLATFORM names and starting in DEPART; prints what it
// gives, or nothing when it gives none. GENRE: "dossier", the result folder
// of the batch runs; "ouvrir" or "enregistrer", a data file.

#include "bibliotheque_divers.h"
#include "dialogues_fichiers.h"
#include "types_fichiers.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    QApplication application(argc, argv);
    bibliotheque_v1::installe_traductions_qt();
    const QString genre = QString::fromLocal8Bit(argv[1]);
    bibliotheque_v1::dossier_lecture = bibliotheque_v1::dossier_ecriture =
        QString::fromLocal8Bit(argv[2]);
    const type_fichier donnees = file_table_type::filetype_table(';');
    const QString reponse =
        genre == u"dossier" ? bibliotheque_v1::get_savefolder(nullptr, "ecriture", QString())
        : genre == u"ouvrir"
            ? bibliotheque_v1::get_readfolderitem(nullptr, &donnees, "lecture")
            : bibliotheque_v1::get_savefolderitem(nullptr, donnees, "ecriture", QString());
    std::printf("%s\n", reponse.toUtf8().constData());
    return 0;
}
