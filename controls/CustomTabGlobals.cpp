#include "CustomTabGlobals.h"

#include "illustrations_onglets.h"

#include <algorithm>

namespace CustomTabGlobals {

std::array<PictureRef, 3> leftTabPic;
std::array<PictureRef, 3> rightTabPic;

// The end cap of `facing` in `caps`, repainted from its artwork: slot 0 from
// `image` and `masque`, slot 1 (facing S) from `imageS` and `masqueS`.
static PictureRef capuchon(std::array<PictureRef, 3>& caps, int facing, PictureRef (*image)(),
                           PictureRef (*masque)(), PictureRef (*imageS)(),
                           PictureRef (*masqueS)()) {
    int emplacement;
    switch (facing) {
    case 0:
    case 2:
    case 3:
        emplacement = 0;
        break;
    case 1:
        emplacement = 1;
        break;
    default:
        return nullptr;
    }
    Picture& dessin = exige(emplacement == 0 ? image() : imageS(), "image de bout d'onglet");
    Picture& forme = exige(emplacement == 0 ? masque() : masqueS(), "masque de bout d'onglet");
    PictureRef& cap = caps[emplacement];
    if (!cap)
        cap = Picture::NewPicture(dessin.Width(), dessin.Height());
    cap->Mask().graphics().DrawPicture(forme, 0, 0);
    cap->graphics().DrawPicture(dessin, 0, 0);
    return cap;
}

PictureRef leftTabImg(int facing) {
    return capuchon(leftTabPic, facing, leftTabOutline::leftTabOutline,
                    leftTabOutlineMask::leftTabOutlineMask, leftTabOutlineS::leftTabOutlineS,
                    leftTabOutlineMaskS::leftTabOutlineMaskS);
}

PictureRef rightTabImg(int facing) {
    return capuchon(rightTabPic, facing, rightTabOutline::rightTabOutline,
                    rightTabOutlineMask::rightTabOutlineMask, rightTabOutlineS::rightTabOutlineS,
                    rightTabOutlineMaskS::rightTabOutlineMaskS);
}

PictureRef scaleToFit(const PictureRef& pic, int w, int h, int transparent, QRgb colour) {
    if (!pic)
        return nullptr;
    PictureRef resultat = Picture::NewPicture(w, h);
    Graphics& g = resultat->graphics();
    const int pw = pic->Width();
    const int ph = pic->Height();
    if (pw <= w && ph <= h) {
        g.DrawPicture(*pic, (w - pw) / 2, (h - ph) / 2);
    } else {
        const float ratio = static_cast<float>(std::min(double(w) / pw, double(h) / ph));
        const int sw = static_cast<int>(pw * ratio);
        const int sh = static_cast<int>(ph * ratio);
        if (transparent == 0) {
            g.setForeColor(colour);
            g.FillRect(0, 0, w, h);
        }
        g.DrawPicture(*pic, (w - sw) / 2, (h - sh) / 2, sw, sh, 0, 0, pw, ph);
    }
    resultat->Transparent = transparent;
    return resultat;
}

} // namespace CustomTabGlobals
