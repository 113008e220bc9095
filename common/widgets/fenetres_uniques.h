#pragma once

#include <QObject>

class QWidget;

// The windows made once behind an accessor (the main window, its menu bar,
// the alert, the training window, the preview window, the connection test)
// live as long as the application object: they are destroyed when it goes,
// before Qt takes its windows down, and never by the exit handlers of the
// process. Qt itself calls exit() when the display goes away: the
// application object is then never destroyed, and a widget destroyed after
// Qt's own globals would crash.
namespace fenetres_uniques {

// Destroys `fenetre` when the application object goes, the windows made last
// first, unless it is gone by then.
void detruite_avec_application(QWidget* fenetre);

// The window that `tenue` holds, made by `fabrique` when it holds none and
// destroyed with the application object; `tenue` goes back to nullptr when
// the window is destroyed, whoever destroys it, so that the next call, under
// the next application object of a test program, makes a new one.
template <class Fenetre, class Fabrique> Fenetre& unique(Fenetre*& tenue, Fabrique fabrique) {
    if (!tenue) {
        tenue = fabrique();
        QObject::connect(tenue, &QObject::destroyed, [&tenue] { tenue = nullptr; });
        detruite_avec_application(tenue);
    }
    return *tenue;
}

} // namespace fenetres_uniques
