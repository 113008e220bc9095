#include "serveur_x.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

// A paste into a multi-line field brings the clipboard's plain text in, or
// nothing when it holds none, and the application goes on. Run on a real X
// display: there, a clipboard that nobody owns offers no format at all, which
// the offscreen platform never does.
TEST(Collage, LeTexteBrutDuPressePapiersEntreEtLApplicationContinue) {
    struct cas {
        const char* zone;
        const char* source;
        const char* commande;
        const char* attendu;
    };
    const cas cas_testes[] = {
        {"ch_commentaire", "vide", "ctrl_v", "avant"},
        {"ch_commentaire", "vide", "clic_milieu", "avant"},
        {"ch_commentaire", "vide", "menu", "avant"},
        {"ch_contrat", "vide", "ctrl_v", "avant"},
        {"ch_commentaire", "copie_sans_selection", "ctrl_v", "avant"},
        {"ch_commentaire", "coupe", "ctrl_v", "avant12345"},
        {"ch_commentaire", "coupe", "menu", "avant12345"},
        {"ch_contrat", "coupe", "ctrl_v", "avant12345"},
        {"ch_commentaire", "riche", "ctrl_v", "avantgras"},
        {"ch_commentaire", "html", "ctrl_v", "avant"},
        // A paste that Qt could take minutes to lay out, and a large one.
        {"ch_commentaire", "bloc", "ctrl_v", "1000006 678901234Z"},
        {"ch_contrat", "bloc", "menu", "1000006 678901234Z"},
        {"ch_commentaire", "lignes", "ctrl_v", "4999970 78901234\nZ"},
    };
    test_support::serveur_x serveur;
    if (serveur.affichage.isEmpty())
        GTEST_SKIP() << serveur.raison.toStdString();
    for (const cas& c : cas_testes) {
        const auto fenetre = serveur.lance(COLLAGE_FENETRE, {c.zone, c.source, c.commande});
        const std::string rapport =
            std::string(c.zone) + " " + c.source + " " + c.commande + ": " + fenetre.rapport;
        EXPECT_TRUE(fenetre.reussi) << rapport;
        EXPECT_EQ(fenetre.sortie.toStdString(), std::string(c.attendu) + "\n") << rapport;
    }
}

} // namespace
