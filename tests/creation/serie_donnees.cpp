// serie_donnees DATAFILE RESULTFOLDER [KEY=VALUE...]
//
// Runs the batch page headless on a data file, as a user would: imports the
// given settings of section "multiples" (keys as the preferences file names
// them, the "multiples_" prefix may be left out), presses "Créer l'ensemble",
// answers the open dialog with DATAFILE and any folder dialog with
// RESULTFOLDER, confirms the preview window, answers every alert with its
// first button and prints each alert's text on one line (line ends as "\n").
// Exits 0 once a run has ended, 1 when none started, 2 on bad usage.
//
// With VALDORIN_ARRET_AVANT_NOMMAGE=N in its environment, the process kills
// itself once the N-th temporary file is written, before it takes its name:
// as a process killed at the worst moment.
#include "bibliotheque_divers.h"
#include "csp_creer_plusieurs.h"
#include "dialogues_fichiers.h"
#include "ecriture_fichiers.h"
#include "parametres_v1.h"
#include "programme.h"
#include "thread_creer_ensemble.h"
#include "w_alerte.h"
#include "w_previsu_table.h"

#include "controles_texte.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <csignal>
#include <cstdio>

namespace {

class presentateur : public bibliotheque_v1::presentateur_dialogues {
public:
    presentateur(QString fichier, QString dossier)
        : fichier(std::move(fichier)), dossier(std::move(dossier)) {}
    QString montre(const bibliotheque_v1::demande_dialogue& demande) override {
        if (demande.genre == bibliotheque_v1::demande_dialogue::ouvrir_fichier)
            return fichier;
        if (demande.genre == bibliotheque_v1::demande_dialogue::choisir_dossier)
            return dossier;
        return QString();
    }
    QString fichier, dossier;
};

// Answers the modal window on screen, if any.
void repond() {
    QWidget* modale = QApplication::activeModalWidget();
    if (!modale || !modale->isVisible())
        return;
    if (auto* alerte = qobject_cast<w_alerte*>(modale)) {
        QString texte = alerte->st_message_centre->Text;
        texte.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
        texte.replace(u'\r', QStringLiteral("\\n"));
        texte.replace(u'\n', QStringLiteral("\\n"));
        std::printf("%s\n", texte.toUtf8().constData());
        std::fflush(stdout);
        alerte->bt_un->click();
    } else if (auto* previsu = qobject_cast<w_previsu_table*>(modale)) {
        previsu->bt_creer->click();
    }
}

int arret_avant_nommage = 0;

void arrete_avant_nommage(const QByteArray&) {
    if (--arret_avant_nommage == 0)
        std::raise(SIGKILL);
}

} // namespace

int main(int argc, char** argv) {
    test_support::application_hors_ecran<QApplication> application(argc, argv);
    arret_avant_nommage = qEnvironmentVariableIntValue("VALDORIN_ARRET_AVANT_NOMMAGE");
    if (arret_avant_nommage > 0)
        bibliotheque_v1::essai_avant_renommage = &arrete_avant_nommage;
    // Qt's own texts in French, as in the application.
    bibliotheque_v1::installe_traductions_qt();
    const QStringList arguments = QCoreApplication::arguments();
    bool bon = arguments.size() >= 3;
    for (int i = 3; i < arguments.size(); ++i)
        bon = bon && arguments[i].indexOf(u'=') > 0;
    if (!bon) {
        std::fputs("usage : serie_donnees FICHIER_DONNEES DOSSIER_RESULTATS [CLEF=VALEUR...]\n",
                   stderr);
        return 2;
    }

    csp_creer_plusieurs page;
    page.Event_Open();
    parametres_v1::dictionnaire_parametres.emplace();
    page.import_export_parametres(QStringLiteral("memo"), QStringLiteral("export"));
    for (int i = 3; i < arguments.size(); ++i) {
        const qsizetype egal = arguments[i].indexOf(u'=');
        QString clef = arguments[i].left(egal);
        if (!clef.startsWith(QStringLiteral("multiples_")))
            clef = QStringLiteral("multiples_") + clef;
        (*parametres_v1::dictionnaire_parametres)[clef] = arguments[i].mid(egal + 1);
    }
    page.import_export_parametres(QStringLiteral("memo"), QStringLiteral("import"));

    presentateur dialogues(arguments[1], arguments[2]);
    bibliotheque_v1::installe_presentateur_dialogues(&dialogues);
    QTimer reponses;
    reponses.setInterval(5);
    QObject::connect(&reponses, &QTimer::timeout, &repond);
    reponses.start();

    page.bt_creer->click();
    int sortie = 1;
    if (page.thread_creer_ensemble) {
        sortie = 0;
        if (page.thread_creer_ensemble->en_cours()) {
            QObject::connect(page.thread_creer_ensemble, &thread_creer_ensemble::termine,
                             &application, &QCoreApplication::quit);
            application.exec();
        }
    }
    bibliotheque_v1::installe_presentateur_dialogues(nullptr);
    return sortie;
}
