#pragma once

#include <QDialog>

// Base of the secondary windows: places itself over the main window and shows
// modally or modelessly. Position codes: 1 centred over the main window, 2 at
// 21 pixels right of and below its top-left corner, any other value where the
// window already is. Without a main window nothing moves.
class w_secondaire : public QDialog {
    Q_OBJECT
public:
    explicit w_secondaire(QWidget* parent = nullptr);

    // Shows the window modally; returns once it has been hidden, with the
    // focus back on the control that had it, in its window. A window made
    // without a parent has, while it shows, the window it opens over as
    // parent: the dialog or window shown modally, else the main window.
    void montrer_modale(int position);
    void positionner(int position);
    // Shows the window and returns at once.
    void montrer_amodale(int position);

private:
    // Makes `fenetre` (may be null) the window's parent, its flags kept.
    void rattache(QWidget* fenetre);

    QMetaObject::Connection garde_parent_;
};
