#pragma once

#include <QString>

#include <cstdint>
#include <functional>

class classe_page;

// What the common services use of the guidance windows: the self-training
// companion window and the connection test. The windows themselves belong to
// the guidance pages, which install them here when they are created.
namespace guidage {

// The self-training companion window, as the pages see it.
class fenetre_formation {
public:
    virtual ~fenetre_formation() = default;

    // Arrows of the current step: 0 no step to walk, 1 first step, 2 a middle
    // step, 3 last step.
    int fleches = 0;
    // Explanation text of the current step.
    QString message;
    // Documentation page of the current step ("" = none).
    QString nom_fichier_documentation;

    // Refreshes the message, the arrows and the documentation link.
    virtual void maj_autres() {}

    // True while the window is hidden only because the main window is
    // minimised: self-training still counts as on.
    bool minimisee = false;

    // Told by the main window's page switch after every change of screen;
    // `origine` 0 start-up, 1 a page link or button, 2 the window's own menu.
    virtual void maj(std::int32_t origine) { (void)origine; }

    // Turns self-training on (check mark set, window shown beside the main
    // window) or off (highlight off, check mark cleared, window hidden).
    virtual void montrer() {}
    virtual void cacher() {}

    // The window's copy of the box "ne pas afficher au démarrage": when it is
    // checked the start-up skips the welcome page. Without a welcome page
    // there is nothing to show, so the default skips it.
    virtual bool ne_pas_afficher_au_demarrage() const { return true; }
};

// The connection test.
class test_connexion {
public:
    virtual ~test_connexion() = default;
    // Whether the system reports a network connection; never raises.
    virtual bool test() = 0;
};

// What the shell calls on the guidance pages it embeds (the welcome, state,
// agreement and version pages), besides their classe_page side. Each page
// overrides what concerns it.
class accroches_page {
public:
    virtual ~accroches_page() = default;

    // Binds the page's settings (kind "init" or "memo", direction "import"
    // or "export").
    virtual void import_export_parametres(const QString& genre, const QString& sens) {
        (void)genre;
        (void)sens;
    }
    // Version page: run each time its screen is shown (the web check).
    virtual void montrer() {}
    // Version page: whether a newer version has been announced and not yet
    // reported; answering true records it as reported.
    virtual bool version_nouvelle() { return false; }
    // Welcome page: switches to its expert text or to its training text.
    virtual void selectionne_expert() {}
    virtual void selectionne_formation() {}
};

// Makers of the guidance pages, by screen: 3 agreement, 4 version, 5 welcome,
// 7 state save/restore. Installed by the guidance pages before the main
// window opens; a screen without a maker is absent. A made page is also an
// accroches_page when it has hooks.
using fabrique_page = std::function<classe_page*()>;
fabrique_page fabrique(std::int32_t ecran);
void installe_fabrique(std::int32_t ecran, fabrique_page fabrique);

// Maker of the training window, run once when the main window opens (the
// window installs itself through installe_w_formation).
void installe_fabrique_w_formation(std::function<void()> fabrique);
void cree_w_formation();

// The one training window, or nullptr while none is installed.
fenetre_formation* w_formation();
void installe_w_formation(fenetre_formation* fenetre);

// The connection test, or nullptr while none is installed (then the network
// counts as unreachable).
test_connexion* w_web();
void installe_w_web(test_connexion* test);

} // namespace guidage
