// The preview window on a record of many fields (offscreen): the time from
// the call until the window is on screen and painted, then closed; and one
// step of the horizontal bar with its repaint, on the widest record. Timings
// are reported, never asserted.
#include "w_previsu_table.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QWindow>
#include <benchmark/benchmark.h>

#include <functional>

namespace {

// One record of `colonnes` fields.
QStringList enregistrement(int colonnes) {
    return {QStringList(colonnes, QStringLiteral("x")).join(u'\t')};
}

// Shows `lignes`, runs `pendant` once the window is up, then closes it.
void montre(const QStringList& lignes, int colonnes, const std::function<void()>& pendant) {
    w_previsu_table& fenetre = w_previsu_table::instance();
    QTimer::singleShot(0, &fenetre, [&fenetre, &pendant] {
        // Painted once the system shows it.
        while (!fenetre.windowHandle() || !fenetre.windowHandle()->isExposed())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        fenetre.repaint();
        pendant();
        fenetre.bt_creer->click();
    });
    fenetre.afficher_questionner(lignes, colonnes, nullptr);
}

void BM_previsu_ouverture(benchmark::State& etat) {
    const int colonnes = static_cast<int>(etat.range(0));
    const QStringList lignes = enregistrement(colonnes);
    for (auto _ : etat)
        montre(lignes, colonnes, [] {});
    etat.SetItemsProcessed(etat.iterations() * colonnes);
}

void BM_previsu_defilement(benchmark::State& etat) {
    const int colonnes = static_cast<int>(etat.range(0));
    w_previsu_table& fenetre = w_previsu_table::instance();
    montre(enregistrement(colonnes), colonnes, [&] {
        int valeur = 0;
        for (auto _ : etat) {
            // Across the whole record, a large step at a time.
            valeur = (valeur + 9973) % (fenetre.sb_horizontal->maximum() + 1);
            fenetre.sb_horizontal->setValue(valeur);
            fenetre.lb_table->viewport()->repaint();
        }
    });
}

} // namespace

BENCHMARK(BM_previsu_ouverture)->Arg(32768)->Arg(262144)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_previsu_defilement)->Arg(262144)->Unit(benchmark::kMillisecond);
