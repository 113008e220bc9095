// capture_ecrans OUTDIR: starts the whole application offscreen with fresh
// preferences, lets the splash end, then saves a picture of every screen that
// exists ("ecran-N.png", N its number), of the splash ("lancement.png") and of
// the tab strip with every tab open ("onglets.png") and of an alert
// ("alerte.png").

#include "application_essai.h"
#include "classe_page.h"
#include "cp_onglets.h"
#include "w_alerte.h"
#include "w_main.h"

#include "CustomTabPanelTabs.h"

#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage : capture_ecrans DOSSIER\n");
        return 2;
    }
    const QString dossier = QString::fromLocal8Bit(argv[1]);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir maison;
    qputenv("HOME", maison.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (maison.path() + "/.config").toLocal8Bit());
    essai_coquille::application_essai application(argc, argv);
    QDir().mkpath(dossier);
    bool reussi = true;
    auto enregistre = [&](QWidget* widget, const QString& nom) {
        if (!widget->grab().save(dossier + "/" + nom)) {
            std::fprintf(stderr, "échec : %s\n", qPrintable(nom));
            reussi = false;
        }
    };
    QTimer::singleShot(0, &application, [&] {
        application.Event_Open();
        QTimer::singleShot(300, &application,
                           [&] { enregistre(&w_main::instance(), "lancement.png"); });
    });
    QTimer suivi;
    suivi.setInterval(50);
    QObject::connect(&suivi, &QTimer::timeout, &application, [&] {
        w_main& fenetre = w_main::instance();
        if (fenetre.contenu_courant() == coquille::ecran_apropos &&
            fenetre.lancement_en_cours(true))
            return;
        suivi.stop();
        for (std::int32_t ecran : w_main::numeros_ecrans()) {
            if (!fenetre.page(ecran))
                continue;
            fenetre.montrer(ecran, coquille::origine_page);
            enregistre(&fenetre, QStringLiteral("ecran-%1.png").arg(ecran));
        }
        fenetre.montrer(coquille::ecran_creer_unit, coquille::origine_page);
        enregistre(fenetre.p_onglets->bt_onglets, "onglets.png");
        // An alert, taken once its modal loop shows it, then closed.
        w_alerte& alerte = w_alerte::instance();
        QTimer::singleShot(200, &alerte, [&] {
            enregistre(&alerte, "alerte.png");
            alerte.bt_un->click();
        });
        alerte.message(QStringLiteral("L'état du logiciel a été correctement enregistré !"),
                       QString());
        QCoreApplication::exit(reussi ? 0 : 1);
    });
    suivi.start();
    return application.exec();
}
