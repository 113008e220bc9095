#pragma once

// What every tab of every strip shares: the two end caps of a tab, made once
// from the artwork and repainted on each request, and the fitting of a
// picture into a box.

#include "dessin.h"

#include <array>

namespace CustomTabGlobals {

// Slot 0: facings N, E and W; slot 1: facing S; slot 2 is never filled.
extern std::array<PictureRef, 3> leftTabPic;
extern std::array<PictureRef, 3> rightTabPic;

// The masked left (right) end cap for a facing 0-3; nothing for any other.
// Raises `objet_absent` when the artwork is missing.
PictureRef leftTabImg(int facing);
PictureRef rightTabImg(int facing);

// A new w x h picture holding `pic` centred, shrunk to fit when it is larger;
// `colour` fills the background of a shrunk picture when `transparent` is 0.
// The result's `Transparent` is `transparent`. Nothing for a nil `pic`.
PictureRef scaleToFit(const PictureRef& pic, int w, int h, int transparent, QRgb colour);

} // namespace CustomTabGlobals
