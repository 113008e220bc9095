// One complete PDF barcode file per iteration, written to disk under a new
// name in a temporary folder as a batch run does: without the note (BM_pdf)
// and with it (BM_pdf_note). Timings are reported, never asserted.
#include "valdorin.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void fichier_pdf(benchmark::State& etat, bool note) {
    QTemporaryDir dossier;
    valdorin::previsu_presence = note;
    int numero = 0;
    const valdorin::tableau_code_barres modele = {"P",
                                                  "12345",
                                                  "42",
                                                  "5",
                                                  "Prix",
                                                  "250",
                                                  "A",
                                                  "P",
                                                  "2",
                                                  "C",
                                                  "=",
                                                  "code.pdf",
                                                  note ? "Essai de note" : ""};
    for (auto _ : etat) {
        valdorin::tableau_code_barres t = modele;
        t[8] = QString::number(numero % 5);
        valdorin::fi_ecriture = dossier.filePath(QStringLiteral("code-%1.pdf").arg(numero));
        valdorin::cree_fichier(t);
        ++numero;
    }
    etat.SetItemsProcessed(etat.iterations());
}

void BM_pdf(benchmark::State& etat) {
    fichier_pdf(etat, false);
}
BENCHMARK(BM_pdf);

void BM_pdf_note(benchmark::State& etat) {
    fichier_pdf(etat, true);
}
BENCHMARK(BM_pdf_note);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
