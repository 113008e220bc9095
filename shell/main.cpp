#include "app.h"
#include "bibliotheque_divers.h"
#include "ecriture_fichiers.h"
#include "instance_unique.h"
#include "signaux_fin.h"
#include "types_fichiers.h"

#include <QTimer>

// The process: the file-size signal, the file types, the application object with its menu bar and
// commands, the display of debug reports, then the event loop. A start while the program already
// runs in the user's session hands its documents to it and ends. The application opens once the
// loop runs; the files named on the command line are then opened as the operating system's
// open-document, in order, after the opening, and those of later starts as they come.
int main(int argc, char** argv) {
    // SIGTERM, SIGHUP and SIGINT quit as "&Quitter" does, from here on.
    signaux_fin::installe();
    // A write past the file-size limit fails with EFBIG, which every write
    // reports, rather than killing the process.
    bibliotheque_v1::ignore_depassement_taille_fichier();
    const QString jeton = instance_unique::jeton_activation();
    ensemble_fichiers_drop::Initialize();
    ensemble_fichiers_resultat::Initialize();
    app application(argc, argv);
    const QList<QUrl> documents =
        instance_unique::adresses_documents(application.arguments().mid(1));
    instance_unique::programme_session session;
    if (session.transmis(documents, jeton))
        return 0;
    QObject::connect(&session, &instance_unique::programme_session::documents_recus, &application,
                     [&application](const QList<QUrl>& recus, const QString& jeton_recu) {
                         application.active_fenetre(jeton_recu);
                         application.recoit_documents(recus);
                     });
    // Debug builds show the debug reports; the others keep them silent.
    bibliotheque_v1::installe_affichage_msgdebug();
    application._ApplicationAddMenuHandlers();
    QTimer::singleShot(0, &application, [&application, documents] {
        application.Event_Open();
        application.recoit_documents(documents);
    });
    return application.exec();
}
