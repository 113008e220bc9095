#include "w_secondaire.h"

#include "palette_claire.h"
#include "services_coquille.h"

#include <QApplication>
#include <QPointer>

namespace {

// The window that a secondary window opens over: the dialog or window shown
// modally (a file dialog, the preview window, another alert), else the main
// window while it shows; none without either.
QWidget* fenetre_couverte(const QWidget* secondaire) {
    QWidget* modale = QApplication::activeModalWidget();
    if (modale && modale != secondaire)
        return modale;
    QWidget* principale = coquille::w_main_qt();
    return principale && principale->isVisible() ? principale : nullptr;
}

} // namespace

w_secondaire::w_secondaire(QWidget* parent) : QDialog(parent) {
    palette_claire::applique(this);
}

void w_secondaire::montrer_modale(int position) {
    // The control that had the focus gets it back once the window closes, in
    // its own window: left alone, the focus would go to whichever window the
    // system activates next.
    QPointer<QWidget> avant = QApplication::focusWidget();
    if (!avant && QApplication::activeWindow())
        avant = QApplication::activeWindow()->focusWidget();
    // The list of an open popup stands for the popup's own control.
    while (avant && avant->window()->windowType() == Qt::Popup && avant->window()->parentWidget())
        avant = avant->window()->parentWidget();
    // A dialog stays above its parent on every desktop; one without a parent
    // may go under the window it blocks. The parent is taken for the show
    // only, so that no window that closes takes the window with it (the
    // single instances behind their accessors).
    const bool rattachee = !parentWidget();
    if (rattachee)
        rattache(fenetre_couverte(this));
    positionner(position);
    exec();
    if (rattachee)
        rattache(nullptr);
    if (!avant || isAncestorOf(avant) || !avant->window()->isVisible() ||
        avant->window()->isMinimized())
        return;
    avant->window()->activateWindow();
    // As if its window had come back: a control keeps the way the focus came.
    // A field on a page still hidden gets the focus when its page shows.
    if (avant->isVisible() && avant->isEnabled())
        avant->setFocus(Qt::ActiveWindowFocusReason);
}

void w_secondaire::rattache(QWidget* fenetre) {
    disconnect(garde_parent_);
    if (parentWidget() != fenetre)
        setParent(fenetre, windowFlags());
    // A parent destroyed while the window shows leaves the window, hidden.
    if (fenetre)
        garde_parent_ = connect(fenetre, &QObject::destroyed, this,
                                [this] { setParent(nullptr, windowFlags()); });
}

void w_secondaire::positionner(int position) {
    const coquille::fenetre_principale* principale = coquille::w_main();
    if (!principale)
        return;
    const QRect cadre = principale->geometrie();
    int gauche = 0;
    int haut = 0;
    if (position == 1) {
        gauche = static_cast<int>(cadre.left() + (cadre.width() - width()) / 2.0);
        haut = static_cast<int>(cadre.top() + (cadre.height() - height()) / 2.0);
    } else if (position == 2) {
        gauche = cadre.left() + 21;
        haut = cadre.top() + 21;
    } else {
        return;
    }
    // The client area goes there; the size stays.
    setGeometry(gauche, haut, width(), height());
}

void w_secondaire::montrer_amodale(int position) {
    positionner(position);
    show();
}
