#include "app.h"
#include "bibliotheque_divers.h"
#include "ecriture_fichiers.h"
#include "types_fichiers.h"

#include <QStringList>
#include <QTimer>

// The process: the file-size signal, the file types, the application object with its menu bar and
// commands, the display of debug reports, then the event loop. The application opens once the loop
// runs; a file named on the command line is opened as the operating system's open-document, after
// the opening.
int main(int argc, char** argv) {
    // A write past the file-size limit fails with EFBIG, which every write
    // reports, rather than killing the process.
    bibliotheque_v1::ignore_depassement_taille_fichier();
    ensemble_fichiers_drop::Initialize();
    ensemble_fichiers_resultat::Initialize();
    app application(argc, argv);
    // Debug builds show the debug reports; the others keep them silent.
    bibliotheque_v1::installe_affichage_msgdebug();
    application._ApplicationAddMenuHandlers();
    const QStringList arguments = application.arguments().mid(1);
    QTimer::singleShot(0, &application, [&application, arguments] {
        application.Event_Open();
        if (!arguments.isEmpty())
            application.Event_OpenDocument(arguments.constFirst());
    });
    return application.exec();
}
