#include "serveur_x.h"

#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

// An alert and the preview window are transient, on a real X display, for the
// window they open over, so that a desktop keeps them above it; an alert that
// outlived the window it covered opens over the main window again.
TEST(Transitoires, ChaqueFenetreAppartientALaFenetreQuElleCouvre) {
    test_support::serveur_x serveur;
    if (serveur.affichage.isEmpty() || QStandardPaths::findExecutable("xprop").isEmpty())
        GTEST_SKIP() << "Xvfb, openbox and xprop needed: " << serveur.raison.toStdString();
    const auto fenetres = serveur.lance(FENETRES_TRANSITOIRES, {"previsu+alerte", "alerte"});
    EXPECT_TRUE(fenetres.reussi) << fenetres.rapport;
    EXPECT_EQ(fenetres.sortie.toStdString(),
              "w_previsu_table sur w_main\nw_alerte sur w_previsu_table\nw_alerte sur w_main\n")
        << fenetres.rapport;
}

} // namespace
