#pragma once

// Small real participants standing for the guidance library in the shell's
// tests: a training window, a welcome page and a version page.

#include "classe_page.h"
#include "services_guidage.h"
#include "w_main.h"

#include <QList>
#include <QWidget>

namespace participants_coquille {

class formation : public QWidget, public guidage::fenetre_formation {
public:
    formation() {
        resize(200, 300);
        guidage::installe_w_formation(this);
    }
    ~formation() override { guidage::installe_w_formation(nullptr); }
    void maj(std::int32_t origine) override { origines.append(origine); }
    void montrer() override { show(); }
    void cacher() override { hide(); }
    bool ne_pas_afficher_au_demarrage() const override { return case_cochee; }

    QList<std::int32_t> origines;
    bool case_cochee = false;
};

class page_version : public classe_page, public guidage::accroches_page {
public:
    bool version_nouvelle() override {
        ++demandes;
        return nouvelle;
    }
    void montrer() override { ++montrees; }
    inline static bool nouvelle = false;
    inline static int demandes = 0;
    inline static int montrees = 0;
};

// Installs the makers of the welcome and version pages while it lives; the
// main window is made afterwards.
class pages_guidage {
public:
    pages_guidage() {
        page_version::nouvelle = false;
        page_version::demandes = 0;
        page_version::montrees = 0;
        guidage::installe_fabrique(5, [] { return new classe_page(); });
        guidage::installe_fabrique(4, [] { return new page_version(); });
        guidage::installe_fabrique(7, [] { return new classe_page(); });
    }
    ~pages_guidage() {
        w_main::detruit();
        guidage::installe_fabrique(5, nullptr);
        guidage::installe_fabrique(4, nullptr);
        guidage::installe_fabrique(7, nullptr);
    }
};

} // namespace participants_coquille
