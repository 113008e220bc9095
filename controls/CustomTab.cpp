#include "CustomTab.h"

#include "CustomTabGlobals.h"
#include "bibliotheque_v1.h"
#include "illustrations_onglets.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr QRgb noir = 0x000000;
constexpr QRgb gris_teinte = 0x888888;
constexpr QRgb blanc = 0xFFFFFF;

// Room kept for an icon, whatever its size.
constexpr int place_icone = 16;
// Floor of a length asked for by the strip.
constexpr int longueur_minimale = 80;

int largeur_de(PictureRef (*illustration)(), const char* quoi) {
    return exige(illustration(), quoi).Width();
}

// A new picture of the tab's size whose mask is partly transparent, black.
PictureRef nouveau_voile(int largeur, int hauteur) {
    PictureRef voile = Picture::NewPicture(largeur, hauteur);
    Graphics& masque = voile->Mask().graphics();
    masque.setForeColor(gris_teinte);
    masque.FillRect(0, 0, largeur, hauteur);
    voile->graphics().setForeColor(noir);
    voile->graphics().FillRect(0, 0, largeur, hauteur);
    return voile;
}

void rapporte(const char* ou, const std::exception& e) {
    bibliotheque_v1::msgdebug(QStringLiteral("Exception en CustomTab.%1 : %2")
                                  .arg(QLatin1StringView(ou), QString::fromUtf8(e.what())));
}

// A close box from the artwork; raises `objet_absent` when its image is missing.
std::unique_ptr<LittleMiscButton> nouvelle_boite() {
    return std::make_unique<LittleMiscButton>(
        closeBoxData::closeBoxData(), closeBoxMask::closeBoxMask(),
        closeBoxMaskOver::closeBoxMaskOver(), closeBoxMaskClicked::closeBoxMaskClicked());
}

} // namespace

CustomTab::CustomTab(const QString& caption, bool closeBox, int facing)
    : CustomTab(caption, nullptr, closeBox, facing) {}

CustomTab::CustomTab(const QString& caption, PictureRef icon, bool closeBox, int facing_)
    : facing(facing_) {
    captionStr = caption;
    if (closeBox) {
        try {
            closeBoxButton = nouvelle_boite();
        } catch (const std::exception& e) {
            rapporte("Constructor", e);
        }
    }
    iconPic = std::move(icon);
    buildTab();
}

void CustomTab::setCaption(const QString& v) {
    // The ordinary comparison: a caption that differs only by letter case is
    // another caption.
    if (v == captionStr)
        return;
    captionStr = v;
    buildTab(true);
}

void CustomTab::setIcon(PictureRef v) {
    iconPic = std::move(v);
    // A new icon of the same allowance leaves the length as it is: rebuild
    // all the same, so that it shows.
    buildTab(true);
}

void CustomTab::setCloseBox(bool v) {
    if (v == closeBox())
        return;
    if (v) {
        try {
            closeBoxButton = nouvelle_boite();
        } catch (const std::exception& e) {
            rapporte("closeBox", e);
            return;
        }
    } else {
        closeBoxButton.reset();
    }
    // The caption's room changes even where the length does not.
    buildTab(true);
}

int CustomTab::width() const {
    return tabPicture ? tabPicture->Width() : 0;
}
int CustomTab::height() const {
    return tabPicture ? tabPicture->Height() : 0;
}

void CustomTab::setWidth(int v) {
    if (v != width())
        buildTab(v);
}

void CustomTab::setHeight(int v) {
    if (v != height())
        buildTab(v);
}

int CustomTab::taille_optimale() {
    int icone = 0;
    if (iconPic) {
        if (iconPic->Width() > place_icone || iconPic->Height() > place_icone)
            iconPic = CustomTabGlobals::scaleToFit(iconPic, place_icone, place_icone, 1, blanc);
        icone = place_icone;
    }
    const int fermeture =
        closeBoxButton ? largeur_de(closeBoxData::closeBoxData, "closeBoxData") : 0;
    return largeur_de(leftTabOutline::leftTabOutline, "leftTabOutline") + icone + 7 + fermeture +
           largeur_de(rightTabOutline::rightTabOutline, "rightTabOutline") +
           bibliotheque_v1::string_width(captionStr, QStringLiteral("System"), 13, true, false);
}

int CustomTab::optimumSize() {
    try {
        return taille_optimale();
    } catch (const std::exception& e) {
        rapporte("optimumSize", e);
        return 0;
    }
}

bool CustomTab::hit(int px, int py) const {
    if (!visible || !enabled || !tabPicture)
        return false;
    return locX <= px && px <= locX + width() && locY <= py && py <= locY + height();
}

bool CustomTab::isClosing() const {
    return closing;
}

bool CustomTab::mouseDown(int px, int py) {
    closing = closeBoxButton ? closeBoxButton->mouseDown(px - locX, py - locY) : false;
    return hit(px, py) || closing;
}

bool CustomTab::mouseDrag(int px, int py) {
    if (!visible || !enabled)
        return false;
    if (!closeBoxButton || !closing) {
        const bool avant = mouseHit;
        mouseHit = hit(px, py);
        return mouseHit != avant;
    }
    if (closeBoxButton->mouseMove(px - locX, py - locY)) {
        closeBoxButton->mouseDrag(px - locX, py - locY);
        return true;
    }
    return false;
}

bool CustomTab::mouseMove(int px, int py) {
    if (!visible || !enabled || !closeBoxButton)
        return false;
    return closeBoxButton->mouseMove(px - locX, py - locY);
}

bool CustomTab::mouseUp(int px, int py) {
    mouseHit = false;
    if (closeBoxButton && closing) {
        closing = false;
        return closeBoxButton->mouseUp(-1, -1);
    }
    return hit(px, py);
}

// ---------------------------------------------------------------------------
// Building

void CustomTab::buildTab() {
    buildTab(0, false);
}
void CustomTab::buildTab(int requestedSize) {
    buildTab(requestedSize, false);
}
void CustomTab::buildTab(bool forceRebuild) {
    buildTab(0, forceRebuild);
}

void CustomTab::buildTab(int requestedSize, bool forceRebuild) {
    if (facing != N && facing != S && facing != E && facing != W) {
        bibliotheque_v1::msgdebug(
            QStringLiteral("Erreur dans CustomTab.buildTab : orientation %1").arg(facing));
        return;
    }
    // The build works on new pictures and puts them in place only once all
    // are made: a build that fails leaves the tab as it was.
    try {
        const bool vertical = facing == E || facing == W;
        const int epaisseur = exige(tabBackground::tabBackground(), "tabBackground").Height();
        const int longueur = longueur_construite(requestedSize, forceRebuild, vertical);
        if (longueur < 0)
            return;
        const int w = vertical ? epaisseur : longueur;
        const int h = vertical ? longueur : epaisseur;
        PictureRef image = silhouette(w, h);
        PictureRef voile = nouveau_voile(w, h);
        PictureRef rendu = rendu_a_plat(longueur, epaisseur);
        const QPoint boite = place_boite(w, h);
        if (vertical)
            rendu = debout(*rendu, w, h);
        tabPicture = std::move(image);
        hitOverlay = std::move(voile);
        tabData = std::move(rendu);
        if (closeBoxButton) {
            closeBoxButton->x = boite.x();
            closeBoxButton->y = boite.y();
        }
    } catch (const std::exception& e) {
        rapporte("buildTab", e);
    }
}

PictureRef CustomTab::backPattern() const {
    switch (facing) {
    case N:
    case E:
    case W:
        return tabBackground::tabBackground();
    case S:
        return tabBackgroundS::tabBackgroundS();
    default:
        return nullptr;
    }
}

int CustomTab::longueur_construite(int requestedSize, bool forceRebuild, bool vertical) {
    int longueur = taille_optimale();
    if (requestedSize > 0)
        longueur = std::max(longueur_minimale, std::min(requestedSize, longueur));
    if (tabPicture && !forceRebuild &&
        (vertical ? tabPicture->Height() : tabPicture->Width()) == longueur)
        return -1;
    return longueur;
}

PictureRef CustomTab::silhouette(int largeur, int hauteur) const {
    PictureRef premier, second;
    switch (facing) {
    case N:
        premier = leftTabMask::leftTabMask();
        second = rightTabMask::rightTabMask();
        break;
    case S:
        premier = leftTabMaskS::leftTabMaskS();
        second = rightTabMaskS::rightTabMaskS();
        break;
    case E:
        premier = leftTabMaskE::leftTabMaskE();
        second = rightTabMaskE::rightTabMaskE();
        break;
    default:
        premier = rightTabMaskW::rightTabMaskW();
        second = leftTabMaskW::leftTabMaskW();
        break;
    }
    const Picture& debut = exige(premier, "masque de bout d'onglet");
    const Picture& fin = exige(second, "masque de bout d'onglet");
    PictureRef image = Picture::NewPicture(largeur, hauteur);
    Graphics& masque = image->Mask().graphics();
    masque.DrawPicture(debut, 0, 0);
    if (facing == N || facing == S)
        masque.DrawPicture(fin, largeur - fin.Width(), 0);
    else
        masque.DrawPicture(fin, 0, hauteur - fin.Height());
    return image;
}

PictureRef CustomTab::rendu_a_plat(int longueur, int epaisseur) {
    PictureRef plat = Picture::NewPicture(longueur, epaisseur);
    Graphics& g = plat->graphics();
    g.setTextFont(QStringLiteral("System"));
    g.setTextSize(13);
    g.setBold(true);

    // The pictures are held here while they are drawn.
    const PictureRef fond = backPattern();
    const Picture& corps = exige(fond, "backPattern");
    g.DrawPicture(corps, 0, 0, longueur, epaisseur, 0, 0, corps.Width(), corps.Height());
    g.DrawPicture(exige(CustomTabGlobals::leftTabImg(facing), "leftTabImg"), 0, 0);
    const PictureRef bout_droit = CustomTabGlobals::rightTabImg(facing);
    const Picture& droite = exige(bout_droit, "rightTabImg");
    g.DrawPicture(droite, longueur - droite.Width(), epaisseur - droite.Height());

    const int bord_gauche = largeur_de(leftTabOutline::leftTabOutline, "leftTabOutline");
    int x_titre = bord_gauche + 3;
    int icone = 0;
    if (iconPic) {
        g.DrawPicture(*iconPic, bord_gauche,
                      static_cast<int>(std::trunc((epaisseur - iconPic->Height()) / 2.0 + 1)));
        x_titre = bord_gauche + iconPic->Width() + 3;
        icone = place_icone;
    }
    const int fermeture =
        closeBoxButton ? largeur_de(closeBoxData::closeBoxData, "closeBoxData") : 0;
    const int bord_droit = largeur_de(rightTabOutline::rightTabOutline, "rightTabOutline");
    const int largeur_max = longueur - (bord_gauche + icone + 7 + fermeture + bord_droit);
    g.setForeColor(noir);
    if (largeur_max > 0)
        g.DrawString(captionStr, x_titre,
                     static_cast<int>(std::trunc((epaisseur + g.TextAscent()) / 2.0)), largeur_max,
                     true);
    return plat;
}

QPoint CustomTab::place_boite(int largeur, int hauteur) const {
    if (!closeBoxButton)
        return {};
    const PictureRef image_boite = closeBoxData::closeBoxData();
    const Picture& boite = exige(image_boite, "closeBoxData");
    const int bord_droit = largeur_de(rightTabOutline::rightTabOutline, "rightTabOutline");
    switch (facing) {
    case N:
    case S:
        return {largeur - bord_droit - boite.Width(),
                static_cast<int>(std::trunc((hauteur - boite.Height()) / 2.0 + 1))};
    case E:
        return {static_cast<int>(std::trunc((largeur - boite.Width()) / 2.0)),
                hauteur - bord_droit - boite.Width()};
    default:
        return {static_cast<int>(std::trunc((largeur - boite.Width()) / 2.0)) + 1, bord_droit};
    }
}

PictureRef CustomTab::debout(const Picture& plat, int largeur, int hauteur) const {
    // E turns the flat tab's left end to the top (the caption reads
    // downward), W turns it to the bottom (the caption reads upward).
    PictureRef rendu = Picture::NewPicture(largeur, hauteur);
    if (facing == E)
        rendu->graphics().DrawRotated(plat, largeur / 2.0 - 1, hauteur / 2.0, std::numbers::pi / 2);
    else
        rendu->graphics().DrawRotated(plat, largeur / 2.0, hauteur / 2.0 - 2,
                                      -std::numbers::pi / 2);
    return rendu;
}

// ---------------------------------------------------------------------------
// Painting

void CustomTab::paint(Graphics& g, bool front) {
    if (!visible)
        return;
    try {
        Picture& image = exige(tabPicture, "tabPicture");
        Picture& voile = exige(hitOverlay, "hitOverlay");
        image.graphics().DrawPicture(exige(tabData, "tabData"), 0, 0);
        Graphics& teinte = voile.graphics();
        if (mouseHit && !front) {
            image.graphics().DrawPicture(voile, 0, 0);
        } else if (!front) {
            teinte.setForeColor(gris_teinte);
            teinte.FillRect(0, 0, voile.Width(), voile.Height());
            image.graphics().DrawPicture(voile, 0, 0);
        }
        if (!enabled) {
            teinte.setForeColor(blanc);
            teinte.FillRect(0, 0, voile.Width(), voile.Height());
            image.graphics().DrawPicture(voile, 0, 0);
        } else if (teinte.ForeColor() != noir) {
            teinte.setForeColor(noir);
            teinte.FillRect(0, 0, voile.Width(), voile.Height());
        }
        g.DrawPicture(image, locX, locY);
        if (closeBoxButton)
            closeBoxButton->paint(g, locX, locY);
        if (!front)
            return;
        PictureRef piece;
        switch (facing) {
        case N:
            piece = tabTopMostSeparator::tabTopMostSeparator();
            break;
        case S:
            piece = tabTopMostSeparatorS::tabTopMostSeparatorS();
            break;
        case E:
            piece = tabTopMostSeparatorE::tabTopMostSeparatorE();
            break;
        case W:
            piece = tabTopMostSeparatorW::tabTopMostSeparatorW();
            break;
        default:
            return;
        }
        const Picture& p = exige(piece, "tabTopMostSeparator");
        const int pw = p.Width();
        const int ph = p.Height();
        switch (facing) {
        case N:
            g.DrawPicture(p, locX + 1, g.Height() - ph, width() - 2, ph, 0, 0, pw, ph);
            break;
        case S:
            g.DrawPicture(p, locX + 1, 0, width() - 2, ph, 0, 0, pw, ph);
            break;
        case E:
            g.DrawPicture(p, 0, locY + 1, pw, height() - 2, 0, 0, pw, ph);
            break;
        default:
            g.DrawPicture(p, g.Width() - pw, locY + 1, pw, height() - 2, 0, 0, pw, ph);
            break;
        }
    } catch (const std::exception& e) {
        rapporte("paint", e);
    }
}
