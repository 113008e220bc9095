#pragma once

// How well the texts that a window draws stand out from what they are drawn
// on, measured on a picture of the window as it shows.

#include <QList>
#include <QPalette>
#include <QString>
#include <QStringList>

class QWidget;

namespace test_support {

// The palette of a dark desktop, as Fusion's dark look and GNOME's dark
// Adwaita give it: light text on dark greys.
QPalette palette_sombre();

// One text that a window draws: the control (its window's name, then its
// own), the text, and the contrast of its colour against its background.
struct texte_dessine {
    QString controle;
    QString texte;
    double contraste;
};

// Every text that `fenetre` draws now: the captions, titles and contents of
// its visible controls (labels, buttons, check boxes, group boxes' titles,
// fields, popups, cells of lists, menu bar items, our painted texts), the
// window itself included when it is one of them. Each is measured on a
// picture of the window: its background is the colour that fills most of
// the place where the text goes, and its colour the one there that stands
// out most from that background. Disabled controls are left out: their
// greyed text is meant to recede.
QList<texte_dessine> textes_dessines(QWidget* fenetre);

// The same, and then the texts of the windows that its controls open: the
// list of each visible popup, and each menu of its menu bar, each opened in
// turn and closed again.
QList<texte_dessine> textes_avec_listes_et_menus(QWidget* fenetre);

// The texts among `textes` whose contrast is below `minimum`, one line each
// ("control « text » contrast").
QStringList peu_lisibles(const QList<texte_dessine>& textes, double minimum = 4.5);

} // namespace test_support
