// Engine throughput: one complete barcode file written to disk per iteration,
// each under a new name in a temporary folder as a batch run does. EPS without
// and with its TIFF preview, PDF without and with its note. Timings are
// reported, never asserted.
#include "valdorin.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void fabrique(benchmark::State& etat, const QString& type, bool previsu) {
    QTemporaryDir dossier;
    valdorin::previsu_presence = previsu;
    const QString extension = type == u"P" ? QStringLiteral("pdf") : QStringLiteral("eps");
    int numero = 0;
    for (auto _ : etat) {
        valdorin::tableau_code_barres t = {
            "L",    "12345", QString::number(numero % 10000), "0", "Prix", "150",
            "CB",   type,    QString::number(numero % 5),     "R", "=",    "code." + extension,
            "Essai"};
        valdorin::fi_ecriture =
            dossier.filePath(QStringLiteral("code-%1.%2").arg(numero).arg(extension));
        valdorin::cree_fichier(t);
        ++numero;
    }
    etat.SetItemsProcessed(etat.iterations());
}

void BM_eps(benchmark::State& etat) {
    fabrique(etat, QStringLiteral("E"), false);
}
void BM_eps_preview(benchmark::State& etat) {
    fabrique(etat, QStringLiteral("E"), true);
}
void BM_pdf(benchmark::State& etat) {
    fabrique(etat, QStringLiteral("P"), false);
}
void BM_pdf_note(benchmark::State& etat) {
    fabrique(etat, QStringLiteral("P"), true);
}

} // namespace

BENCHMARK(BM_eps);
BENCHMARK(BM_eps_preview);
BENCHMARK(BM_pdf);
BENCHMARK(BM_pdf_note);

int main(int argc, char** argv) {
    bibliotheque_v1::ignore_depassement_taille_fichier();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
