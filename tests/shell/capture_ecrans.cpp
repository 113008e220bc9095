// capture_ecrans OUTDIR: starts the whole application with fresh preferences,
// lets the splash end, then saves a picture of every screen that exists
// ("ecran-N.png", N its number), of the splash ("lancement.png"), of the tab
// strip with every tab open ("onglets.png"), of the training window
// ("formation.png"), of the connection test ("connexion.png"), of an open
// popup's list and of an open menu ("liste.png", "menu.png"), of the data
// preview window ("previsu.png"), of an alert ("alerte.png") and of the
// training frame round a control ("cadre.png"). It runs on
// the offscreen platform unless QT_QPA_PLATFORM names another one, so that
// the pictures may also be taken on a display with the desktop's own theme.

#include "application_essai.h"
#include "classe_page.h"
#include "cp_onglets.h"
#include "csp_creer_unit.h"
#include "fleche_droite.h"
#include "menu_operateur.h"
#include "w_alerte.h"
#include "w_formation.h"
#include "w_main.h"
#include "w_previsu_table.h"
#include "w_web.h"

#include "CustomTabPanelTabs.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QMenu>
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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
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
        w_formation& formation = w_formation::instance();
        formation.montrer();
        enregistre(&formation, "formation.png");
        emit formation.bt_plus->Action();
        enregistre(&fenetre, "cadre.png");
        formation.cacher();
        w_web::instance().montrer_amodale(1);
        enregistre(&w_web::instance(), "connexion.png");
        w_web::instance().hide();
        // A popup's list and a menu, each open, taken as the window they are.
        QComboBox* popup = fenetre.p_onglets->sp_creer_unit->popup_type_fichier;
        popup->showPopup();
        enregistre(popup->view()->window(), "liste.png");
        popup->hidePopup();
        if (QMenu* menu = menu_operateur::instance().menu(QStringLiteral("menu_fichier"))) {
            menu->popup(fenetre.mapToGlobal(QPoint(10, 30)));
            enregistre(menu, "menu.png");
            menu->hide();
        }
        // The preview window and an alert, each taken once its modal loop
        // shows it, then closed.
        w_previsu_table& previsu = w_previsu_table::instance();
        QTimer::singleShot(200, &previsu, [&] {
            enregistre(&previsu, "previsu.png");
            previsu.bt_annuler->click();
        });
        previsu.afficher_questionner(
            {QStringLiteral("MLP\t12345\t678\t1\t€\t150\tA\tE\t0\tA\t=\tessai.eps"),
             QStringLiteral("NMPP\t54321\t12\t0\t€\t1200\tB\tP\t2\tR\t<\tautre.pdf")},
            12, nullptr);
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
