#pragma once

// A small main window for the guidance tests: a few pages by screen number,
// switched as the shell does (telling the training window), the training
// steps passed on to them.

#include "classe_page.h"
#include "services_coquille.h"
#include "services_guidage.h"
#include "w_formation.h"

#include <QAction>
#include <QMap>
#include <QWidget>

namespace essai {

class principale : public QWidget, public coquille::fenetre_principale {
public:
    principale() {
        menu_formation.setCheckable(true);
        coquille::installe_menu_formation(&menu_formation);
        coquille::installe_w_main(this);
        setGeometry(400, 200, 640, 430);
    }
    ~principale() override {
        coquille::installe_w_main(nullptr);
        coquille::installe_menu_formation(nullptr);
    }
    // Adds `page`, opened and hidden, as screen `ecran`.
    void ajoute(std::int32_t ecran, classe_page* page) {
        page->setParent(this);
        page->hide();
        page->Event_Open();
        pages.insert(ecran, page);
    }

    void import_export_parametres(const QString&, const QString&) override {}
    QRect geometrie() const override { return geometry(); }
    classe_page* page(std::int32_t numero) override { return pages.value(numero); }
    std::int32_t contenu_courant() const override { return courant; }
    std::int32_t contenu_onglet_precedent() const override {
        return coquille::ecran_creer_plusieurs;
    }
    void montrer(std::int32_t ecran, std::int32_t origine) override {
        switches.append({ecran, origine});
        if (ecran == courant)
            return;
        for (classe_page* p : pages)
            p->setVisible(p == pages.value(ecran));
        courant = ecran;
        if (auto* fenetre = dynamic_cast<w_formation*>(guidage::w_formation()))
            fenetre->maj(origine);
    }
    void maj_formation(const QString& direction) override {
        for (classe_page* p : pages)
            if (direction.isEmpty() || p == pages.value(courant))
                p->maj_formation(direction);
    }

    QMap<std::int32_t, classe_page*> pages;
    std::int32_t courant = coquille::aucun_ecran;
    QList<QPair<int, int>> switches;
    QAction menu_formation;
};

} // namespace essai
