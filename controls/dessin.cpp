#include "dessin.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>

#include <numbers>

Picture& exige(const PictureRef& pic, const char* quoi) {
    if (!pic)
        throw objet_absent(quoi);
    return *pic;
}

Graphics::Graphics(Picture& cible) : cible_(cible) {}

int Graphics::Width() const {
    return cible_.Width();
}
int Graphics::Height() const {
    return cible_.Height();
}

QFont Graphics::fonte() const {
    QFont fonte = QGuiApplication::font();
    if (!police_.isEmpty() && police_ != u"System")
        fonte.setFamily(police_);
    if (taille_ > 0)
        fonte.setPixelSize(taille_);
    fonte.setBold(gras_);
    return fonte;
}

int Graphics::TextAscent() const {
    return qRound(QFontMetricsF(fonte()).ascent());
}

int Graphics::StringWidth(const QString& texte) const {
    return static_cast<int>(QFontMetricsF(fonte()).horizontalAdvance(texte));
}

void Graphics::FillRect(int x, int y, int largeur, int hauteur) {
    QPainter p(&cible_.pixels());
    p.fillRect(QRect(x, y, largeur, hauteur), QColor(couleur_));
}

void Graphics::DrawLine(int x1, int y1, int x2, int y2) {
    QPainter p(&cible_.pixels());
    if (x1 == x2 || y1 == y2) {
        p.fillRect(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)),
                         QPoint(std::max(x1, x2), std::max(y1, y2))),
                   QColor(couleur_));
        return;
    }
    p.setPen(QPen(QColor(couleur_), 0));
    p.drawLine(x1, y1, x2, y2);
    p.drawPoint(x2, y2);
}

void Graphics::FillOval(int x, int y, int largeur, int hauteur) {
    QPainter p(&cible_.pixels());
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(couleur_));
    p.drawEllipse(QRectF(x, y, largeur, hauteur));
}

void Graphics::DrawOval(int x, int y, int largeur, int hauteur) {
    QPainter p(&cible_.pixels());
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(couleur_), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(x + 0.5, y + 0.5, largeur - 1.0, hauteur - 1.0));
}

void Graphics::DrawPicture(const Picture& pic, int x, int y) {
    QPainter p(&cible_.pixels());
    if (!pic.hasMask() && pic.Transparent == 0)
        p.drawImage(x, y, pic.pixels());
    else
        p.drawImage(x, y, pic.composee());
}

void Graphics::DrawPicture(const Picture& pic, int x, int y, int largeur, int hauteur, int sx,
                           int sy, int sl, int sh) {
    if (largeur <= 0 || hauteur <= 0 || sl <= 0 || sh <= 0)
        return;
    QPainter p(&cible_.pixels());
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRect(x, y, largeur, hauteur), pic.composee(), QRect(sx, sy, sl, sh));
}

void Graphics::DrawString(const QString& texte, int x, int ligne_base, int largeur_max,
                          bool condenser) {
    if (texte.isEmpty())
        return;
    const QFont f = fonte();
    const QFontMetricsF mesures(f);
    QString ligne = texte;
    // Widths are compared as whole pixels, as they are measured elsewhere, so
    // that a text given exactly its measured width shows whole.
    if (condenser && largeur_max > 0 &&
        static_cast<int>(mesures.horizontalAdvance(texte)) > largeur_max)
        ligne = mesures.elidedText(texte, Qt::ElideRight, largeur_max);
    QPainter p(&cible_.pixels());
    p.setFont(f);
    p.setPen(QColor(couleur_));
    p.drawText(QPointF(x, ligne_base), ligne);
}

void Graphics::DrawRotated(const Picture& pic, double cx, double cy, double angle) {
    QPainter p(&cible_.pixels());
    p.translate(cx, cy);
    p.rotate(angle * 180.0 / std::numbers::pi);
    p.drawImage(QPointF(-pic.Width() / 2.0, -pic.Height() / 2.0), pic.composee());
}

Picture::Picture(int largeur, int hauteur)
    : pixels_(std::max(largeur, 0), std::max(hauteur, 0), QImage::Format_RGB32),
      contexte_(std::make_unique<Graphics>(*this)) {
    pixels_.fill(Qt::white);
}

Picture::Picture(const QImage& image)
    : pixels_(image.convertToFormat(QImage::Format_RGB32)),
      contexte_(std::make_unique<Graphics>(*this)) {
    if (!image.hasAlphaChannel())
        return;
    // The alpha channel becomes the mask; the pixels keep their colour.
    const QImage source = image.convertToFormat(QImage::Format_ARGB32);
    QImage& masque = Mask().pixels_;
    for (int y = 0; y < source.height(); ++y) {
        const auto* ligne = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const int cache = 255 - qAlpha(ligne[x]);
            pixels_.setPixel(x, y, ligne[x] | 0xFF000000);
            masque.setPixel(x, y, qRgb(cache, cache, cache));
        }
    }
}

PictureRef Picture::NewPicture(int largeur, int hauteur) {
    return std::make_shared<Picture>(largeur, hauteur);
}

Picture& Picture::Mask() {
    if (!masque_) {
        masque_ = std::make_unique<Picture>(Width(), Height());
        masque_->pixels_.fill(Qt::black);
    }
    return *masque_;
}

QRgb Picture::pixel(int x, int y) const {
    return pixels_.pixel(x, y) & 0xFFFFFF;
}

int Picture::opacite(int x, int y) const {
    if (Transparent == 1 && pixel(x, y) == 0xFFFFFF)
        return 0;
    return masque_ ? 255 - qGray(masque_->pixels_.pixel(x, y)) : 255;
}

QImage Picture::composee() const {
    QImage resultat = pixels_.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < resultat.height(); ++y) {
        auto* ligne = reinterpret_cast<QRgb*>(resultat.scanLine(y));
        const auto* cache =
            masque_ ? reinterpret_cast<const QRgb*>(masque_->pixels_.constScanLine(y)) : nullptr;
        for (int x = 0; x < resultat.width(); ++x) {
            const QRgb couleur = ligne[x] & 0xFFFFFF;
            int opacite = cache ? 255 - qGray(cache[x]) : 255;
            if (Transparent == 1 && couleur == 0xFFFFFF)
                opacite = 0;
            ligne[x] = couleur | (static_cast<QRgb>(opacite) << 24);
        }
    }
    return resultat;
}
