#pragma once

#include "services_coquille.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>

#include <cstdint>
#include <vector>

class classe_page;
class cp_accueil;
class cp_apropos;
class cp_formation_memo;
class cp_onglets;

// The main window: one screen at a time out of seven (coquille::ecran_*):
// single barcode, batch, agreement and version are the tab pages of
// p_onglets; welcome, about and state save/restore are pages embedded at
// (0, 0). Every change of screen goes through montrer. The window also runs the start-up
// splash, takes dropped and opened documents, carries the training window
// along when minimised, and keeps the last tab screen in the preferences.
class w_main : public QMainWindow, public coquille::fenetre_principale {
    Q_OBJECT
public:
    // The one main window, created (and opened) when there is none.
    static w_main& instance();
    // Whether the window exists, without creating it.
    static bool existe();
    // Destroys the window that instance() created.
    static void detruit();

    // Builds and opens the window; it becomes the main window of the seam.
    w_main();
    ~w_main() override;

    // The four page containers, made by Event_Open for the whole run.
    cp_accueil* p_accueil = nullptr;
    cp_onglets* p_onglets = nullptr;
    bool minimisee = false;
    std::int32_t contenu_courant_ = coquille::ecran_creer_unit;
    std::int32_t contenu_onglet_precedent_ = coquille::ecran_creer_unit;
    cp_apropos* p_apropos = nullptr;
    cp_formation_memo* p_formation_memo = nullptr;
    std::int32_t ecran_initial = coquille::ecran_creer_unit;

    // The start-up task: one step at each shot, on the event loop.
    QTimer thread_lancement;

    // One step of the start-up task: ends the splash once its time is over
    // and the version check that the first screen depends on has ended, or
    // once the user cut it short, then shows the first screen.
    void thread_lancement_Run();

    void Event_Minimize();
    void Event_Restore();
    // `depuis_application`: the application is quitting. Never cancels.
    bool Event_CancelClose(bool depuis_application);
    void Event_Activate() {}

    // Shows the window again from the minimised state.
    void Restore();

    // Documents dropped or opened: a state file restores the state on any
    // screen; another file starts a batch after a question, on the batch
    // screen only.
    void drop_clic_fichier(const QString& fichier);

    void initie_a_propos();
    void affectation_initiale();
    void termine_apropos();

    // The container that shows a screen.
    QWidget* conteneur(std::int32_t numero) const;
    // The numbers of the screens, ascending.
    static std::vector<std::int32_t> numeros_ecrans();

    // Where the window's left edge goes at its opening, from its default
    // place `gauche`, to leave room for a training window that wide.
    static int gauche_decalee(int gauche, int largeur_formation);

    // The seam.
    void import_export_parametres(const QString& genre, const QString& sens) override;
    QRect geometrie() const override;
    void maj(const QString& genre) override;
    void maj_aide_contextuelle() override;
    void maj_formation(const QString& direction) override;
    classe_page* page(std::int32_t numero) override;
    std::int32_t contenu_courant() const override { return contenu_courant_; }
    void montrer(std::int32_t ecran, std::int32_t origine) override;
    std::int32_t contenu_onglet_precedent() const override { return contenu_onglet_precedent_; }
    bool lancement_en_cours(bool en_cours) override;
    bool serie_en_cours() const override;

protected:
    void Event_Open();

    void changeEvent(QEvent* evenement) override;
    void closeEvent(QCloseEvent* evenement) override;
    void dragEnterEvent(QDragEnterEvent* evenement) override;
    void dropEvent(QDropEvent* evenement) override;
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    // Whether the choice of the first screen still waits for the version
    // check that runs since the pages opened.
    bool attend_verification() const;
    // Gives the keys to the screen just shown (its first control in the Tab
    // order, or the screen itself), unless a control of it has them already,
    // so that no key reaches a control of the screen left.
    void focus_ecran(std::int32_t ecran);

    // The splash clock.
    bool en_cours = true;
    QElapsedTimer temps_origine;
    // Set by the cancel key during the splash.
    bool annulation_utilisateur = false;
};
