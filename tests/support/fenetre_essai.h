#pragma once

// A small main window standing for the shell's in the tests: installed as the
// main window while it lives, its client area its geometry. The page switch
// shows the screen asked for (`ecran`) and is kept in `bascules`; a test sets
// the previous tab screen and the start-up splash on the public members. A
// window with pages or settings of its own derives from it.

#include "services_coquille.h"

#include <QList>
#include <QPair>
#include <QRect>
#include <QWidget>

namespace test_support {

class fenetre_essai : public QWidget, public coquille::fenetre_principale {
public:
    fenetre_essai() { coquille::installe_w_main(this); }
    ~fenetre_essai() override { coquille::installe_w_main(nullptr); }

    void import_export_parametres(const QString&, const QString&) override {}
    QRect geometrie() const override { return geometry(); }
    std::int32_t contenu_courant() const override { return ecran; }
    std::int32_t contenu_onglet_precedent() const override { return onglet_precedent; }
    void montrer(std::int32_t numero, std::int32_t origine) override {
        bascules.append({numero, origine});
        ecran = numero;
    }
    // The splash runs while `lancement` is true, until it is ended.
    bool lancement_en_cours(bool en_cours) override {
        if (!en_cours)
            lancement = false;
        return lancement;
    }

    std::int32_t ecran = coquille::ecran_creer_unit;
    std::int32_t onglet_precedent = coquille::ecran_creer_unit;
    bool lancement = false;
    QList<QPair<std::int32_t, std::int32_t>> bascules;
};

} // namespace test_support
