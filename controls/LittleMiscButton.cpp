#include "LittleMiscButton.h"

LittleMiscButton::LittleMiscButton(PictureRef data_, PictureRef mask_, PictureRef over_,
                                   PictureRef down_)
    : data(std::move(data_)), mask(std::move(mask_)), over(std::move(over_)),
      down(std::move(down_)) {
    const Picture& image = exige(data, "image de bouton");
    pic = Picture::NewPicture(image.Width(), image.Height());
    pic->graphics().DrawPicture(image, 0, 0);
}

int LittleMiscButton::width() const {
    return pic ? pic->Width() : 0;
}
int LittleMiscButton::height() const {
    return pic ? pic->Height() : 0;
}

bool LittleMiscButton::hit(int px, int py) const {
    if (!visible || !pic)
        return false;
    return x <= px && px <= x + width() && y <= py && py <= y + height();
}

bool LittleMiscButton::mouseDown(int px, int py) {
    if (!visible)
        return false;
    clicked = hit(px, py);
    return clicked;
}

bool LittleMiscButton::mouseDrag(int px, int py) {
    return mouseDown(px, py);
}

bool LittleMiscButton::mouseMove(int px, int py) {
    if (!visible)
        return false;
    const bool avant = toggle;
    toggle = hit(px, py);
    clicked = clicked && toggle;
    return toggle != avant;
}

bool LittleMiscButton::mouseUp(int px, int py) {
    clicked = false;
    return mouseMove(px, py);
}

void LittleMiscButton::paint(Graphics& g, int dx, int dy) {
    if (!visible || !pic)
        return;
    const QRgb couleur = g.ForeColor();
    const PictureRef& look = clicked ? down : toggle ? over : mask;
    if (look)
        pic->Mask().graphics().DrawPicture(*look, 0, 0);
    g.setForeColor(0xEEEEEE);
    g.FillOval(x + dx, y + dy, width(), height());
    g.setForeColor(0xBBBBBB);
    g.DrawOval(x + dx, y + dy, width(), height());
    g.DrawPicture(*pic, x + dx, y + dy);
    g.setForeColor(couleur);
}
