#include "serveur_x.h"

#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

// Every alert and the preview window are transient for the window they open
// over, on a real X display, so that a desktop keeps them above it; an alert
// that outlived its file dialog opens over the main window again.
TEST(Transitoires, ChaqueFenetreAppartientALaFenetreQuElleCouvre) {
    const std::pair<QStringList, const char*> cas_testes[] = {
        {{"alerte"}, "w_alerte sur w_main\n"},
        {{"previsu+alerte"}, "w_previsu_table sur w_main\nw_alerte sur w_previsu_table\n"},
        {{"alerte+alerte"}, "w_alerte sur w_main\nw_alerte sur w_alerte\n"},
        {{"dialogue+alerte", "alerte"},
         "QFileDialog sur w_main\nw_alerte sur QFileDialog\nw_alerte sur w_main\n"},
    };
    test_support::serveur_x serveur;
    if (serveur.affichage.isEmpty() || QStandardPaths::findExecutable("xprop").isEmpty())
        GTEST_SKIP() << "Xvfb, openbox and xprop needed: " << serveur.raison.toStdString();
    for (const auto& [piles, attendu] : cas_testes) {
        const auto fenetres = serveur.lance(FENETRES_TRANSITOIRES, piles);
        EXPECT_TRUE(fenetres.reussi) << fenetres.rapport;
        EXPECT_EQ(fenetres.sortie.toStdString(), attendu) << fenetres.rapport;
    }
}

} // namespace
