// Engine throughput: one complete EPS file written to disk per iteration,
// without and with its TIFF preview, each under a new name in a temporary
// folder as a batch run does. Timings are reported, never asserted.
#include "valdorin.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void fabrique_eps(benchmark::State& etat, bool previsu) {
    QTemporaryDir dossier;
    valdorin::previsu_presence = previsu;
    int numero = 0;
    for (auto _ : etat) {
        valdorin::tableau_code_barres t = {
            "L",    "12345", QString::number(numero % 10000), "0", "Prix", "150",
            "CB",   "E",     QString::number(numero % 5),     "R", "=",    "code.eps",
            "Essai"};
        valdorin::fi_ecriture = dossier.filePath(QStringLiteral("code-%1.eps").arg(numero));
        valdorin::cree_fichier(t);
        ++numero;
    }
    etat.SetItemsProcessed(etat.iterations());
}

void BM_eps(benchmark::State& etat) {
    fabrique_eps(etat, false);
}

void BM_eps_preview(benchmark::State& etat) {
    fabrique_eps(etat, true);
}

} // namespace

BENCHMARK(BM_eps);
BENCHMARK(BM_eps_preview);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
