#include "bibliotheque_v1.h"
#include "valdorin.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QtEndian>

#include <cmath>

namespace valdorin {

namespace {

constexpr double metres_par_pouce = 0.0254;
constexpr int resolution_previsu = 96;

// A 32-bit white picture that declares 96 dots per inch.
QImage nouvelle_image(int largeur_image, int hauteur_image) {
    QImage image(largeur_image, hauteur_image, QImage::Format_RGB32);
    if (image.isNull())
        throw erreur_creation(QStringLiteral("Image de prévisualisation impossible à créer."));
    image.fill(Qt::white);
    const int points_par_metre = qRound(resolution_previsu / metres_par_pouce);
    image.setDotsPerMeterX(points_par_metre);
    image.setDotsPerMeterY(points_par_metre);
    return image;
}

// "Geneva" where the system has it, the default sans-serif face otherwise;
// looked up once.
QFont police_geneva() {
    static const QFont police = [] {
        QFont geneva(QStringLiteral("Geneva"));
        if (QFontInfo(geneva).family() == u"Geneva")
            return geneva;
        QFont sans;
        sans.setStyleHint(QFont::SansSerif);
        sans.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("sans-serif")});
        return sans;
    }();
    return police;
}

// Draws `texte` with its baseline at (x, y) in the painter's font and gives
// the x where the next run starts.
int dessine(QPainter& peintre, int x, int y, const QString& texte) {
    peintre.drawText(QPointF(x, y), texte);
    return x + static_cast<int>(QFontMetricsF(peintre.font()).horizontalAdvance(texte));
}

void dessine_previsu(const tableau_code_barres& t) {
    const QImage& fond = f_eps_previsu();
    if (fond.isNull())
        throw erreur_creation(QStringLiteral("Fond de prévisualisation introuvable."));

    const bool sans_reserves = t[entree_protection] == u"A";
    const int w = sans_reserves ? 170 : 191;
    const int h = 65;
    QImage dessin = nouvelle_image(w, h);
    {
        QPainter peintre(&dessin);
        peintre.setRenderHint(QPainter::SmoothPixmapTransform);
        peintre.drawImage(QPointF(w / 2.0 - fond.width() / 2.0, h / 2.0 - fond.height() / 2.0),
                          fond);
        peintre.setPen(Qt::black);

        QFont police = police_geneva();
        police.setPixelSize(12);
        police.setBold(true);
        peintre.setFont(police);
        int x = sans_reserves ? 6 : 20;
        const int ligne = 15;
        x = dessine(peintre, x, ligne, t[entree_transporteur] + t[entree_code_produit]);

        police.setBold(false);
        peintre.setFont(police);
        QString suite = QStringLiteral("-");
        if (!t[entree_parution].isEmpty()) {
            suite += t[entree_parution];
            if (t[entree_sous_parution] == u"5")
                suite += u'H';
            else if (t[entree_sous_parution] == u"6")
                suite += u'S';
            suite += u'-';
        }
        x = dessine(peintre, x, ligne, suite + t[entree_entete_prix]);

        police.setBold(true);
        peintre.setFont(police);
        x = dessine(peintre, x, ligne, t[entree_prix] + u'E');

        police.setBold(false);
        peintre.setFont(police);
        if (!t[entree_mode_reglement].isEmpty())
            dessine(peintre, x, ligne, u'-' + t[entree_mode_reglement]);

        police.setPixelSize(16);
        peintre.setFont(police);
        const int largeur_commentaire =
            static_cast<int>(QFontMetricsF(police).horizontalAdvance(t[entree_commentaire]));
        peintre.drawText(QPointF((w - largeur_commentaire) / 2, 43), t[entree_commentaire]);
    }

    const bool vertical = t[entree_orientation] != u"=";
    const int W = vertical ? h : w;
    const int H = vertical ? w : h;
    previsu_picture = nouvelle_image(W, H);
    {
        QPainter peintre(&previsu_picture);
        peintre.translate(W / 2.0, H / 2.0);
        if (t[entree_orientation] == u"<")
            peintre.rotate(-90);
        else if (t[entree_orientation] == u">")
            peintre.rotate(90);
        peintre.drawImage(QPointF(-w / 2.0, -h / 2.0), dessin);
        peintre.resetTransform();
        if (t[entree_protection] == u"C") {
            peintre.setPen(QPen(Qt::black, 0));
            peintre.setBrush(Qt::NoBrush);
            peintre.drawRect(0, 0, W - 1, H - 1);
        }
    }
    previsu_bloc = eps_picture_to_tiff(previsu_picture);
}

void ecrit16(uchar*& p, quint16 v) {
    qToBigEndian(v, p);
    p += 2;
}

void ecrit32(uchar*& p, quint32 v) {
    qToBigEndian(v, p);
    p += 4;
}

void entree(uchar*& p, quint16 etiquette, quint16 genre, quint32 nombre, quint32 valeur) {
    ecrit16(p, etiquette);
    ecrit16(p, genre);
    ecrit32(p, nombre);
    if (genre == 3 && nombre == 1) {
        ecrit16(p, static_cast<quint16>(valeur));
        ecrit16(p, 0);
    } else {
        ecrit32(p, valeur);
    }
}

// Whole dots per inch from QImage's dots per metre (3780 reads back as 96).
quint32 points_par_pouce(int points_par_metre) {
    return static_cast<quint32>(std::lround(points_par_metre * metres_par_pouce));
}

} // namespace

void cree_previsu_tiff(const tableau_code_barres& t) {
    previsu_bloc.clear();
    try {
        dessine_previsu(t);
    } catch (const std::exception&) {
        previsu_bloc.clear();
        bibliotheque_v1::msgdebug(QStringLiteral("Exception en cree_previsu_tiff"));
    }
}

QByteArray eps_picture_to_tiff(const QImage& image) {
    if (image.isNull())
        throw erreur_creation(QStringLiteral("Image de prévisualisation absente."));
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const quint32 W = static_cast<quint32>(rgb.width());
    const quint32 H = static_cast<quint32>(rgb.height());
    const quint32 debut_pixels = 232 + 8 * H;
    QByteArray bloc(static_cast<qsizetype>(debut_pixels + 3 * W * H), '\0');
    uchar* p = reinterpret_cast<uchar*>(bloc.data());

    *p++ = 'M';
    *p++ = 'M';
    ecrit16(p, 42);
    ecrit32(p, 8);
    ecrit16(p, 15);
    entree(p, 254, 4, 1, 0);
    entree(p, 256, 3, 1, W);
    entree(p, 257, 3, 1, H);
    entree(p, 258, 3, 3, 194);
    entree(p, 259, 3, 1, 1);
    entree(p, 262, 3, 1, 2);
    entree(p, 273, 4, H, 232);
    entree(p, 277, 3, 1, 3);
    entree(p, 278, 3, 1, 1);
    entree(p, 279, 4, H, 232 + 4 * H);
    entree(p, 282, 5, 1, 200);
    entree(p, 283, 5, 1, 208);
    entree(p, 284, 3, 1, 1);
    entree(p, 296, 3, 1, 2);
    entree(p, 305, 2, 16, 216);
    ecrit32(p, 0);

    ecrit16(p, 8);
    ecrit16(p, 8);
    ecrit16(p, 8);
    ecrit32(p, points_par_pouce(rgb.dotsPerMeterX()) * 10000);
    ecrit32(p, 10000);
    ecrit32(p, points_par_pouce(rgb.dotsPerMeterY()) * 10000);
    ecrit32(p, 10000);
    for (const char c : QByteArrayView("Brimlow Systems"))
        *p++ = static_cast<uchar>(c);
    *p++ = 0;

    for (quint32 r = 0; r < H; ++r)
        ecrit32(p, debut_pixels + r * 3 * W);
    for (quint32 r = 0; r < H; ++r)
        ecrit32(p, 3 * W);

    for (quint32 y = 0; y < H; ++y) {
        const QRgb* ligne = reinterpret_cast<const QRgb*>(rgb.constScanLine(static_cast<int>(y)));
        for (quint32 x = 0; x < W; ++x) {
            *p++ = static_cast<uchar>(qRed(ligne[x]));
            *p++ = static_cast<uchar>(qGreen(ligne[x]));
            *p++ = static_cast<uchar>(qBlue(ligne[x]));
        }
    }
    return bloc;
}

} // namespace valdorin
