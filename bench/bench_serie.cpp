// Batch throughput: a 10,000-record data file through the real batch page and
// its worker (offscreen) into files on tmpfs when there is one, with a report
// beside the generated files and no summary. Time per record is comparable
// with BM_eps of the same run; the longest step of the worker is reported as
// the counter pas_max_ms. Timings are reported, never asserted.
#include "csp_creer_plusieurs.h"
#include "dialogues_fichiers.h"
#include "thread_creer_ensemble.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int nb_enregistrements = 10000;

class presentateur : public bibliotheque_v1::presentateur_dialogues {
public:
    QString montre(const bibliotheque_v1::demande_dialogue&) override { return dossier; }
    QString dossier;
};

QString racine() {
    return QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                     : QDir::tempPath();
}

void BM_serie(benchmark::State& etat) {
    QTemporaryDir dossier(racine() + QStringLiteral("/valdorin_bench_XXXXXX"));
    const QString donnees = dossier.filePath(QStringLiteral("donnees.txt"));
    {
        QFile f(donnees);
        f.open(QIODevice::WriteOnly);
        for (int i = 0; i < nb_enregistrements; ++i)
            f.write(QStringLiteral("L\t12345\t%1\t0\tPrix\t150\tCB\tE\t%2\tR\t=\tcode-%3\n")
                        .arg(i % 10000)
                        .arg(i % 5)
                        .arg(i)
                        .toUtf8());
    }
    csp_creer_plusieurs page;
    page.cb_log->setChecked(false);
    page.popup_log->setCurrentIndex(2);
    presentateur dialogues;
    bibliotheque_v1::installe_presentateur_dialogues(&dialogues);
    int passe = 0;
    for (auto _ : etat) {
        etat.PauseTiming();
        dialogues.dossier = dossier.filePath(QString::number(passe++));
        QDir().mkpath(dialogues.dossier);
        etat.ResumeTiming();
        page.fi_lecture_officiel = donnees;
        QEventLoop boucle;
        page.creer_serie();
        if (page.travail_en_cours) {
            QObject::connect(page.thread_creer_ensemble, &thread_creer_ensemble::termine, &boucle,
                             &QEventLoop::quit);
            boucle.exec();
        }
        etat.PauseTiming();
        QDir(dialogues.dossier).removeRecursively();
        etat.ResumeTiming();
    }
    bibliotheque_v1::installe_presentateur_dialogues(nullptr);
    if (page.nbLignesOK != nb_enregistrements)
        etat.SkipWithError("records not all made");
    etat.SetItemsProcessed(etat.iterations() * nb_enregistrements);
    if (page.thread_creer_ensemble)
        etat.counters["pas_max_ms"] = page.thread_creer_ensemble->pas_le_plus_long_ms;
}

} // namespace

BENCHMARK(BM_serie)->Unit(benchmark::kMillisecond)->Iterations(3);
