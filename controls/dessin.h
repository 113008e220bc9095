#pragma once

// The small drawing layer the tab strip is written against: 32-bit pictures
// with an optional greyscale mask (black shows a pixel, white hides it, grey
// shows it in part), a transparency mode that leaves white pixels undrawn, and
// one drawing context per picture that keeps its font and colour between uses.
// The mask becomes the alpha channel when a picture is drawn.

#include <QFont>
#include <QImage>
#include <QRgb>
#include <QString>

#include <memory>
#include <stdexcept>

class Picture;

// A picture or nothing, shared by whoever holds it.
using PictureRef = std::shared_ptr<Picture>;

// Raised when a picture that is nothing is used (an artwork picture that the
// resources lack, a tab without pictures).
class objet_absent : public std::runtime_error {
public:
    explicit objet_absent(const char* quoi) : std::runtime_error(quoi) {}
};

// Gives `pic` back, or raises `objet_absent` naming `quoi` when it is nothing.
Picture& exige(const PictureRef& pic, const char* quoi);

// The drawing context of one picture. Colours are 24-bit RGB integers.
class Graphics {
public:
    explicit Graphics(Picture& cible);
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    int Width() const;
    int Height() const;

    QRgb ForeColor() const { return couleur_; }
    void setForeColor(QRgb couleur) { couleur_ = couleur & 0xFFFFFF; }

    // "System" names the application's default font; sizes are pixel sizes.
    QString TextFont() const { return police_; }
    void setTextFont(const QString& police) { police_ = police; }
    int TextSize() const { return taille_; }
    void setTextSize(int taille) { taille_ = taille; }
    bool Bold() const { return gras_; }
    void setBold(bool gras) { gras_ = gras; }
    int TextAscent() const;
    int StringWidth(const QString& texte) const;

    void FillRect(int x, int y, int largeur, int hauteur);
    // A one-pixel line, both ends included.
    void DrawLine(int x1, int y1, int x2, int y2);
    void FillOval(int x, int y, int largeur, int hauteur);
    void DrawOval(int x, int y, int largeur, int hauteur);

    // The picture at its own size, through its mask and transparency mode.
    void DrawPicture(const Picture& pic, int x, int y);
    // The source rectangle of the picture scaled onto the destination one.
    void DrawPicture(const Picture& pic, int x, int y, int largeur, int hauteur, int sx, int sy,
                     int sl, int sh);
    // One line of text from `x` on the baseline; with `condenser` a text wider
    // than `largeur_max` is shortened to fit, ending in "…". A maximum of 0 or
    // less means no limit.
    void DrawString(const QString& texte, int x, int ligne_base, int largeur_max, bool condenser);
    // The picture placed by its centre (cx, cy) and turned about it by
    // `angle` radians; a positive angle turns the rightward axis toward the
    // bottom.
    void DrawRotated(const Picture& pic, double cx, double cy, double angle);

    QFont fonte() const;

private:
    Picture& cible_;
    QRgb couleur_ = 0x000000;
    QString police_ = QStringLiteral("System");
    int taille_ = 12;
    bool gras_ = false;
};

class Picture {
public:
    // A new 32-bit picture, white, fully visible.
    Picture(int largeur, int hauteur);
    // A picture holding a copy of `image`; its alpha channel, if any,
    // becomes the mask.
    explicit Picture(const QImage& image);
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    static PictureRef NewPicture(int largeur, int hauteur);

    int Width() const { return pixels_.width(); }
    int Height() const { return pixels_.height(); }

    // The greyscale mask, made black (fully visible) on first use.
    Picture& Mask();
    bool hasMask() const { return masque_ != nullptr; }

    // 1: white pixels are see-through; 0: every pixel is drawn.
    int Transparent = 0;

    Graphics& graphics() { return *contexte_; }

    QImage& pixels() { return pixels_; }
    const QImage& pixels() const { return pixels_; }
    QRgb pixel(int x, int y) const;
    // Opacity of a pixel, 0-255, from the mask and the transparency mode.
    int opacite(int x, int y) const;
    // The picture as it shows: the mask (and white, in transparent mode)
    // turned into the alpha channel.
    QImage composee() const;

private:
    QImage pixels_;
    std::unique_ptr<Picture> masque_;
    std::unique_ptr<Graphics> contexte_;
};
