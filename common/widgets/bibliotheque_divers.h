#pragma once

#include "liens_web.h"
#include "serveur_web.h"

#include <QColor>
#include <QLibraryInfo>
#include <QRect>
#include <QString>

class QPainter;
class QWidget;

// The web links, beeps, pauses and the highlight frame of the utility library,
// and Qt's own texts in French.
namespace bibliotheque_v1 {

// Qt's own texts (file dialogs, standard buttons, context menus) in French:
// loads "qtbase_fr" from `dossier` and installs it on the application in place
// of what an earlier call installed. Answers whether the file was loaded;
// without it Qt's texts are in English and everything else works as before.
bool installe_traductions_qt(
    const QString& dossier = QLibraryInfo::path(QLibraryInfo::TranslationsPath));

// Shows the debug reports of msgdebug in a message box, for the builds that
// display them.
void installe_affichage_msgdebug();

// `nombre` system beeps, each followed by a 300 ms pause.
void bip(int nombre);

// Sleeps the current thread for `secondes` (whole milliseconds); returns at
// once for zero, a negative time or no number at all.
void tempo_secondes(double secondes);

// The frame drawn round a control: its outer rectangle and the size of its
// corner arcs (0 for square corners). The ring is `epaisseur` pixels wide,
// inside the rectangle, so it surrounds the control at that distance.
struct forme_cadre {
    QRect rectangle;
    int arc = 0;
    int epaisseur = 4;
};

// The frame of `controle` in the coordinates of `repere` (one of its ancestors),
// moved up by `dy`: rounded ends for a push button, 4-pixel arcs for a popup
// menu, square corners for everything else.
forme_cadre cadre_controle(const QWidget* controle, const QWidget* repere, int dy);

// Draws a frame in `couleur` with `g`.
void dessine_cadre(QPainter& g, const forme_cadre& cadre, const QColor& couleur);

// Draws the outline of `rectangle` (in the coordinates of `g`) in `couleur`,
// `epaisseur` pixels wide, inside the rectangle and on whole device pixels: at
// any scale factor each side covers at least one device pixel all along, and
// none falls between two pixels, where a line drawn at a fractional device
// position would show in part or not at all.
void trace_contour(QPainter& g, const QRect& rectangle, const QColor& couleur, int epaisseur = 1);

// Frames `controle` in dark red (&h7F0000) in the coordinates of its window.
void encadre_controle(QPainter& g, const QWidget* controle, int dy);

} // namespace bibliotheque_v1
