#pragma once

// A small picture button painted and driven by its owner (a tab's close box,
// the strip's more-tabs button): three looks made by swapping the mask of one
// picture, and no events of its own; the owner learns everything from the
// results of the mouse operations and from `clicked`.

#include "dessin.h"

class LittleMiscButton {
public:
    // The image and the masks of the normal, pointer-over and pressed looks.
    // Raises `objet_absent` when `data` is nothing.
    LittleMiscButton(PictureRef data, PictureRef mask, PictureRef over, PictureRef down);
    virtual ~LittleMiscButton() = default;

    // Draws the button at (x + dx, y + dy) in `g`, in the look of its state.
    virtual void paint(Graphics& g, int dx, int dy);
    // True when the pointer-over state changed.
    virtual bool mouseMove(int px, int py);
    // Ends the press; the result is that of mouseMove.
    virtual bool mouseUp(int px, int py);
    // True when the press lands on the button.
    virtual bool mouseDown(int px, int py);
    virtual bool mouseDrag(int px, int py);

    // Both edges included: the hit area is one pixel wider and taller than
    // the picture.
    bool hit(int px, int py) const;

    int width() const;
    int height() const;

    PictureRef data;
    PictureRef mask;
    PictureRef over;
    PictureRef pic;
    int x = 0;
    int y = 0;
    bool toggle = false;
    bool visible = true;
    PictureRef down;
    bool clicked = false;
};
