#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include <cstdint>

class QAction;
class QWidget;
class classe_page;

// What the common services need of the application shell: the application
// object and the main window. The shell implements these interfaces and
// installs its objects at start-up; until then the accessors answer nullptr
// ("no window"), and the callers behave as they do without one.
namespace coquille {

// The screens of the main window, by number. The numbers are stored in the
// preferences (the last tab screen, the open tabs), so they never change; 2
// names no screen.
inline constexpr std::int32_t ecran_creer_unit = 0;      // single barcode
inline constexpr std::int32_t ecran_creer_plusieurs = 1; // batch
inline constexpr std::int32_t ecran_contrat = 3;         // licence agreement
inline constexpr std::int32_t ecran_version = 4;         // version check
inline constexpr std::int32_t ecran_accueil = 5;         // welcome
inline constexpr std::int32_t ecran_apropos = 6;         // about, and the start-up splash
inline constexpr std::int32_t ecran_formation_memo = 7;  // state save and restore
// Where no screen is meant: no main window, or a row of the training
// window's popup that leads to no screen.
inline constexpr std::int32_t aucun_ecran = -1;

// Where a page switch comes from; the training window refreshes accordingly.
inline constexpr std::int32_t origine_lancement = 0; // the end of the start-up splash
inline constexpr std::int32_t origine_page = 1;      // a menu, tab, page link or button
inline constexpr std::int32_t origine_formation = 2; // the training window's own popup

// The application object.
class application {
public:
    virtual ~application() = default;

    // Binds the application's own settings (kind "init" or "memo",
    // direction "import" or "export"). May throw: the settings pass catches.
    virtual void import_export_specifiques(const QString& genre, const QString& sens) = 0;
};

// The main window.
class fenetre_principale {
public:
    virtual ~fenetre_principale() = default;

    // Binds the window's own settings and passes the request on to its pages.
    // May throw: the settings pass catches.
    virtual void import_export_parametres(const QString& genre, const QString& sens) = 0;

    // Position and size of the window's client area, in screen pixels
    // (Left, Top, Width, Height).
    virtual QRect geometrie() const = 0;

    // Refreshes the screens after a settings import: "init" reopens the saved
    // tabs; "memo" (after a state file was restored) changes nothing.
    virtual void maj(const QString& genre) { (void)genre; }

    // Sets or clears the help tags of the page of every screen.
    virtual void maj_aide_contextuelle() {}

    // Training step: "" puts every page back at its start; "+", "-" or "="
    // moves or shows the step of the current screen's page.
    virtual void maj_formation(const QString& direction) { (void)direction; }

    // The page of screen `numero` (an ecran_* number), or nullptr for a number
    // that names no screen (with the debug report "Erreur dans w_main.page").
    virtual classe_page* page(std::int32_t numero) {
        (void)numero;
        return nullptr;
    }

    // The screen shown (an ecran_* number).
    virtual std::int32_t contenu_courant() const { return ecran_creer_unit; }

    // The page switch: shows screen `ecran` (opening and selecting its tab for
    // the tab screens); nothing when it is already shown. `origine`: an
    // origine_* number.
    virtual void montrer(std::int32_t ecran, std::int32_t origine) {
        (void)ecran;
        (void)origine;
    }

    // The last tab screen (single barcode, batch, agreement or version) that
    // the page switch left, or the one read from the preferences: where the
    // back actions of the pages lead.
    virtual std::int32_t contenu_onglet_precedent() const { return ecran_creer_unit; }

    // The start-up splash clock: with true, whether the splash still runs (the
    // first such call starts the clock); with false, ends the splash.
    virtual bool lancement_en_cours(bool en_cours) {
        (void)en_cours;
        return false;
    }

    // Whether a batch run is going on: its settings must not change under it.
    virtual bool serie_en_cours() const { return false; }
};

// The one application object, or nullptr before the shell installs it.
application* App();

// The one main window, or nullptr when there is none.
fenetre_principale* w_main();
// The same window as a widget, to own dialogs and windows; nullptr when
// there is none or it is no widget.
QWidget* w_main_qt();

// Installed by the shell (and by tests); nullptr removes the object. The
// object stays owned by the caller.
void installe_App(application* objet);
void installe_w_main(fenetre_principale* fenetre);

// The checkable item "Aide contextuelle" of the Help menu: its checked state
// is the context-help switch. nullptr until the shell installs it (the switch
// then counts as off).
QAction* menu_aide_contextuelle();
void installe_menu_aide_contextuelle(QAction* element);

// The checkable item "Mode d'autoformation" of the Help menu: checked while
// self-training is on. nullptr until the shell installs it.
QAction* menu_formation();
void installe_menu_formation(QAction* element);

// The application's logo, picture resource 170. Kept once read; read again
// on the next call while the resource gives no picture.
QImage logo_application();

} // namespace coquille
