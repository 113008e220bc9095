#pragma once

// A small main window for the guidance tests: a few pages by screen number,
// switched as the shell does (telling the training window), the training
// steps passed on to them. No screen shows at first; the back actions lead
// to the batch screen.

#include "classe_page.h"
#include "fenetre_essai.h"
#include "services_coquille.h"
#include "services_guidage.h"
#include "w_formation.h"

#include <QAction>
#include <QMap>

namespace essai {

class principale : public test_support::fenetre_essai {
public:
    principale() {
        ecran = coquille::aucun_ecran;
        onglet_precedent = coquille::ecran_creer_plusieurs;
        menu_formation.setCheckable(true);
        coquille::installe_menu_formation(&menu_formation);
        setGeometry(400, 200, 640, 430);
    }
    ~principale() override { coquille::installe_menu_formation(nullptr); }
    // Adds `page`, opened and hidden, as screen `numero`.
    void ajoute(std::int32_t numero, classe_page* page) {
        page->setParent(this);
        page->hide();
        page->Event_Open();
        pages.insert(numero, page);
    }

    classe_page* page(std::int32_t numero) override { return pages.value(numero); }
    // The pages change while the screen shown is still the former one.
    void montrer(std::int32_t numero, std::int32_t origine) override {
        if (numero == ecran) {
            fenetre_essai::montrer(numero, origine);
            return;
        }
        for (classe_page* p : pages)
            p->setVisible(p == pages.value(numero));
        fenetre_essai::montrer(numero, origine);
        if (auto* fenetre = dynamic_cast<w_formation*>(guidage::w_formation()))
            fenetre->maj(origine);
    }
    void maj_formation(const QString& direction) override {
        for (classe_page* p : pages)
            if (direction.isEmpty() || p == pages.value(ecran))
                p->maj_formation(direction);
    }

    QMap<std::int32_t, classe_page*> pages;
    QAction menu_formation;
};

} // namespace essai
