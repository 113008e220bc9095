#pragma once

#include "services_guidage.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

#include <cstdint>

class QCheckBox;
class QComboBox;
class QLabel;
class fleche_droite;
class fleche_gauche;
class st_centre;
class st_lien;

// The self-training companion: a small floating window beside the main
// window that walks through the screens and, on each screen, through the
// controls its page registered, one step at a time. The steps belong to the
// pages; this window sends them step commands through the main window and
// shows what they hand back in `fleches`, `message` and
// `nom_fichier_documentation`.
//
// Self-training is on while the window shows, or is hidden only because the
// main window is minimised (`minimisee`).
class w_formation : public QWidget, public guidage::fenetre_formation {
    Q_OBJECT
public:
    // The one window, created hidden on first use and installed as the
    // application's training window.
    static w_formation& instance();

    explicit w_formation(QWidget* parent = nullptr);
    ~w_formation() override;

    // True while the window itself changes the popup's selection.
    bool popup_changed_interne = false;
    // The window was placed beside the main window (once per run).
    bool positionnee = false;

    // True while the window is hidden only because the main window is
    // minimised: self-training still counts as on. Set and cleared by the
    // main window's minimise and restore handlers.
    bool minimisee = false;

    // Turns self-training off: highlight off, check mark cleared, hidden.
    void cacher();
    // Refreshes the message, the arrows and the documentation link.
    void maj_autres() override;
    // Told after every change of screen, with where the change came from (a
    // coquille::origine_* number): nothing after the start-up splash; the
    // popup follows the screen unless the change came from the popup itself.
    void maj(std::int32_t origine);
    void maj_w_main(const QString& direction);
    // Turns self-training on: placed beside the main window once, check mark
    // set, current step shown, window shown.
    void montrer();

    // Where a window whose frame is `taille` goes beside the main window's
    // frame `principale` on the screen's available area `ecran`: its frame's
    // place. 10 points left of the main window, tops aligned, where the left
    // has room; else 10 points right of it, tops aligned, where the right has
    // room; else where it covers the least of the main window: 10 points from
    // the screen's left or right edge, just above or below the main window,
    // or at the top or bottom of the screen.
    static QRect placement(const QRect& ecran, const QRect& principale, const QSize& taille);

    // In reading order, which is the order of creation and so of the focus
    // chain: the question and its popup, the step's text and its link, the
    // arrows from left to right, the box.
    QLabel* st_question;
    QComboBox* popup_formation;
    st_centre* st_message;
    st_lien* st_lien_savoir_plus;
    fleche_gauche* bt_moins;
    fleche_droite* bt_plus;
    QCheckBox* bt_lancement;

protected:
    void closeEvent(QCloseEvent* evenement) override;
    // `appQuitting`: the application is quitting. True cancels the close.
    bool Event_CancelClose(bool appQuitting);

private:
    void maj_popup();
    static void ajout_ligne_menu(QComboBox* popup, std::int32_t& ligne, const QString& texte,
                                 std::int32_t tag);
    static void ajout_separateur_menu(QComboBox* popup, std::int32_t& ligne);

    void st_lien_savoir_plus_Action();
    void bt_plus_Action();
    void bt_moins_Action();
    void popup_formation_Open();
    void popup_formation_Change();
    void bt_lancement_Action();
    void bt_plus_Open();
    void bt_moins_Open();
    void st_message_Open();
};
