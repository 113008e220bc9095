#pragma once

// One tab of the tab strip: caption, optional icon and close box, the side of
// the page it faces, its place in the strip and the pictures that show it. The
// strip owns the tabs and decides their order, place, length, visibility and
// enabled state; a tab measures itself, builds its pictures when its content
// or length changes, paints itself and answers the mouse events the strip
// passes on.

#include "LittleMiscButton.h"
#include "dessin.h"

#include <QPoint>
#include <QString>

#include <memory>

class CustomTab {
public:
    // Facings: the side of the page the tab stands on.
    enum { N = 0, S = 1, E = 2, W = 3 };

    CustomTab(const QString& caption, bool closeBox, int facing);
    CustomTab(const QString& caption, PictureRef icon, bool closeBox, int facing);
    virtual ~CustomTab() = default;
    CustomTab(const CustomTab&) = delete;
    CustomTab& operator=(const CustomTab&) = delete;

    // Draws the tab into the strip's context; `front` for the strip's front
    // tab, which gets no tint and the joining piece over the strip's band.
    virtual void paint(Graphics& g, bool front);
    // The current press began on the close box.
    virtual bool isClosing() const;
    // True when the close box's pointer-over look changed.
    virtual bool mouseMove(int x, int y);
    // True when the release completes the press's action (select or close).
    virtual bool mouseUp(int x, int y);
    // True when the tab takes the press.
    virtual bool mouseDown(int x, int y);
    // True when the look changed.
    virtual bool mouseDrag(int x, int y);

    int x() const { return locX; }
    void setX(int v) { locX = v; }
    int y() const { return locY; }
    void setY(int v) { locY = v; }
    int index() const { return tabIndex; }
    void setIndex(int v) { tabIndex = v; }
    QString caption() const { return captionStr; }
    void setCaption(const QString& v);
    PictureRef icon() const { return iconPic; }
    void setIcon(PictureRef v);
    bool closeBox() const { return closeBoxButton != nullptr; }
    void setCloseBox(bool v);
    // The size of the tab picture; 0 for a tab without one.
    int width() const;
    void setWidth(int v);
    int height() const;
    void setHeight(int v);

    // The length at which the whole caption shows.
    int optimumSize();
    // The point lies on the tab (both edges included).
    bool hit(int x, int y) const;

    PictureRef iconPic;
    QString captionStr;
    PictureRef tabPicture;
    int locX = 0;
    bool closing = false;
    bool mouseHit = false;
    PictureRef hitOverlay;
    int tabIndex = 0;
    bool visible = true;
    std::unique_ptr<LittleMiscButton> closeBoxButton;
    bool enabled = true;
    const int facing;
    int locY = 0;
    PictureRef tabData;

private:
    void buildTab();
    void buildTab(int requestedSize);
    void buildTab(bool forceRebuild);
    void buildTab(int requestedSize, bool forceRebuild);
    PictureRef backPattern() const;

    // optimumSize raising `objet_absent` when artwork is missing.
    int taille_optimale();
    // The length the build gives the tab, or -1 when it keeps its pictures.
    int longueur_construite(int requestedSize, bool forceRebuild, bool vertical);
    // Body, end caps, icon and caption of the tab lying flat, as an N tab.
    PictureRef rendu_a_plat(int longueur, int epaisseur);
    // The outline of the tab, its end-shape masks drawn into a new picture.
    PictureRef silhouette(int largeur, int hauteur) const;
    // Where the close box stands on a tab picture of this size; (0, 0)
    // without one.
    QPoint place_boite(int largeur, int hauteur) const;
    // The flat tab turned upright for an E or W tab of this size.
    PictureRef debout(const Picture& plat, int largeur, int hauteur) const;
};
