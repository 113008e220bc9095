// formulaire_unique OUTPUT KEY=VALUE...
//
// Fills the single-barcode page from settings of section "unique" (keys as
// the preferences file names them: unique_ch_prix=1,50), presses "Créer un
// code-barres" and answers the save dialog with OUTPUT. Every alert is
// answered with its first button and its text printed on one line of
// standard output, each CR as "\n"; a PDF the page opens is named on
// standard error instead. Exits 0 when a file was made, 1 when none was,
// 2 on bad usage.
#include "bibliotheque_divers.h"
#include "controles_texte.h"
#include "csp_creer_unit.h"
#include "dialogues_fichiers.h"
#include "parametres_v1.h"
#include "programme.h"
#include "types_fichiers.h"
#include "w_alerte.h"

#include <QApplication>
#include <QDesktopServices>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include <cstdio>

namespace {

class presentateur : public bibliotheque_v1::presentateur_dialogues {
public:
    QString sortie;
    QString montre(const bibliotheque_v1::demande_dialogue&) override { return sortie; }
};

class visionneuse : public QObject {
    Q_OBJECT
public slots:
    void ouvre(const QUrl& adresse) {
        std::fprintf(stderr, "visualiser : %s\n", qPrintable(adresse.toLocalFile()));
    }
};

} // namespace

int main(int argc, char** argv) {
    test_support::application_hors_ecran<QApplication> application(argc, argv);
    // Qt's own texts in French, as in the application.
    bibliotheque_v1::installe_traductions_qt();
    const QStringList arguments = QCoreApplication::arguments();
    auto& reglages = parametres_v1::dictionnaire_parametres.emplace();
    bool usage = arguments.size() >= 2 && !arguments[1].isEmpty();
    for (qsizetype i = 2; usage && i < arguments.size(); ++i) {
        const qsizetype egal = arguments[i].indexOf(u'=');
        usage = egal > 0 && arguments[i].startsWith(QStringLiteral("unique_"));
        reglages.insert(arguments[i].left(egal), arguments[i].mid(egal + 1));
    }
    if (!usage) {
        std::fputs("usage : formulaire_unique SORTIE [unique_CLEF=VALEUR]...\n", stderr);
        return 2;
    }

    ensemble_fichiers_drop::Initialize();
    ensemble_fichiers_resultat::Initialize();
    presentateur dialogues;
    dialogues.sortie = arguments[1];
    bibliotheque_v1::installe_presentateur_dialogues(&dialogues);
    visionneuse lecteur;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &lecteur, "ouvre");

    // The alerts come up modal, inside the button's action: a timer answers them.
    int alertes = 0;
    QTimer reponse;
    QObject::connect(&reponse, &QTimer::timeout, [&alertes] {
        auto* alerte = qobject_cast<w_alerte*>(QApplication::activeModalWidget());
        if (!alerte || !alerte->isVisible())
            return;
        QString texte = alerte->st_message_centre->Text;
        std::printf("%s\n", texte.replace(u'\r', QStringLiteral("\\n")).toUtf8().constData());
        std::fflush(stdout);
        ++alertes;
        alerte->bt_un->click();
    });
    reponse.start(5);

    csp_creer_unit page;
    page.Event_Open();
    page.import_export_parametres(QStringLiteral("memo"), QStringLiteral("import"));
    page.show();
    valdorin::fi_ecriture.clear();
    page.bt_creer->click();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    bibliotheque_v1::installe_presentateur_dialogues(nullptr);
    // Without an alert, a chosen file means the engine wrote it.
    return alertes == 0 && !valdorin::fi_ecriture.isEmpty() ? 0 : 1;
}

#include "formulaire_unique.moc"
