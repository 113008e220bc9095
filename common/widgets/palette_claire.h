#pragma once

#include <QPalette>

class QWidget;

// The application's light colours, the same on every desktop: black text on
// the pages' light grey, white fields, light buttons. Our windows draw their
// own controls and Qt's in them with these colours, so that a dark desktop
// theme puts no light text on a light page and no dark field on it.
namespace palette_claire {

// The light grey of the pages.
inline constexpr QRgb gris_page = 0xF1F1F1;

// The light palette: every role of every colour group set, so that nothing
// of the desktop's palette shows through.
QPalette couleurs();

// Gives `fenetre`, and every control in it, the light palette. The popups'
// lists, the menus and the tool tips that its controls open are windows of
// their own: they take the light palette each time they show. A window sets
// its own background after this call.
void applique(QWidget* fenetre);

} // namespace palette_claire
