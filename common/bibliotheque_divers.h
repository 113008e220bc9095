#pragma once

#include <QColor>
#include <QRect>
#include <QString>

class QPainter;
class QWidget;

// The web links, beeps, pauses and the highlight frame of the utility library.
namespace bibliotheque_v1 {

// The maker's web site: an unencrypted address ending in "/", chosen at build time.
QString www_serveur();

// Whether the Internet can be reached, as the connection test reports it.
bool web_disponible();

// Opens the documentation page `page` in the user's browser, or says that a
// connection is needed.
void lance_documentation_html(const QString& page);

// Opens the order page in the user's browser, or says that a connection is needed.
void acheter_web();

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

// Frames `controle` in dark red (&h7F0000) in the coordinates of its window.
void encadre_controle(QPainter& g, const QWidget* controle, int dy);

} // namespace bibliotheque_v1
