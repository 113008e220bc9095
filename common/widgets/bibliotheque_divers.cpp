#include "bibliotheque_divers.h"

#include "bibliotheque_v1.h"

#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRegion>
#include <QThread>
#include <QTransform>
#include <QTranslator>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace bibliotheque_v1 {

void installe_affichage_msgdebug() {
    msgdebug_affichage = [](const QString& texte) {
        QMessageBox::information(nullptr, nom_produit, QStringLiteral("debug : ") + texte);
    };
}

bool installe_traductions_qt(const QString& dossier) {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return false;
    // One translator, owned by the application, loaded again on every call.
    const QString nom = QStringLiteral("traductions_qt");
    auto* traducteur = application->findChild<QTranslator*>(nom, Qt::FindDirectChildrenOnly);
    if (!traducteur) {
        traducteur = new QTranslator(application);
        traducteur->setObjectName(nom);
    }
    QCoreApplication::removeTranslator(traducteur);
    return traducteur->load(QStringLiteral("qtbase_fr"), dossier) &&
           QCoreApplication::installTranslator(traducteur);
}

void bip(int nombre) {
    for (int i = 0; i < nombre; ++i) {
        QApplication::beep();
        QThread::msleep(300);
    }
}

void tempo_secondes(double secondes) {
    const double millisecondes = secondes * 1000;
    if (!(millisecondes >= 1))
        return;
    QThread::msleep(static_cast<unsigned long>(std::min(millisecondes, 2147483647.0)));
}

forme_cadre cadre_controle(const QWidget* controle, const QWidget* repere, int dy) {
    forme_cadre cadre;
    const int pen = cadre.epaisseur;
    const QPoint origine = repere ? controle->mapTo(repere, QPoint(0, 0)) : controle->pos();
    cadre.rectangle = QRect(origine.x() - pen, origine.y() - dy - pen, controle->width() + 2 * pen,
                            controle->height() + 2 * pen);
    if (qobject_cast<const QPushButton*>(controle))
        cadre.arc = cadre.rectangle.height();
    else if (qobject_cast<const QComboBox*>(controle))
        cadre.arc = pen;
    return cadre;
}

void dessine_cadre(QPainter& g, const forme_cadre& cadre, const QColor& couleur) {
    if (cadre.arc <= 0) {
        trace_contour(g, cadre.rectangle, couleur, cadre.epaisseur);
        return;
    }
    // The ring lies inside the rectangle: the outer shape less the same shape
    // shrunk by the pen size, its arcs smoothed.
    const QRectF exterieur(cadre.rectangle);
    const qreal rayon = cadre.arc / 2.0;
    const qreal e = cadre.epaisseur;
    QPainterPath anneau;
    anneau.addRoundedRect(exterieur, rayon, rayon);
    QPainterPath interieur;
    const qreal rayon_interieur = std::max<qreal>(rayon - e, 0);
    interieur.addRoundedRect(exterieur.adjusted(e, e, -e, -e), rayon_interieur, rayon_interieur);
    g.save();
    g.setRenderHint(QPainter::Antialiasing);
    g.fillPath(anneau.subtracted(interieur), couleur);
    g.restore();
}

void trace_contour(QPainter& g, const QRect& rectangle, const QColor& couleur, int epaisseur) {
    if (rectangle.isEmpty() || epaisseur <= 0)
        return;
    const QTransform vers_appareil = g.deviceTransform();
    if (vers_appareil.type() > QTransform::TxScale) {
        // Turned or sheared, the sides follow no row of pixels: a ring.
        QPainterPath anneau;
        anneau.addRect(QRectF(rectangle));
        anneau.addRect(QRectF(rectangle).adjusted(epaisseur, epaisseur, -epaisseur, -epaisseur));
        g.fillPath(anneau, couleur);
        return;
    }
    // The device pixels that the rectangle covers whole, so that no side
    // lies on a pixel that a neighbour paints too. A hair's tolerance keeps a
    // coordinate computed as 31.999… on its pixel.
    constexpr qreal tolerance = 1e-4;
    const QRectF appareil = vers_appareil.mapRect(QRectF(rectangle));
    const int gauche = qCeil(appareil.left() - tolerance);
    const int haut = qCeil(appareil.top() - tolerance);
    const int droite = qFloor(appareil.right() + tolerance);
    const int bas = qFloor(appareil.bottom() + tolerance);
    if (droite <= gauche || bas <= haut)
        return;
    // As many whole device pixels as the width covers, at least one.
    const int ex = std::max(1, qFloor(epaisseur * std::abs(vers_appareil.m11()) + tolerance));
    const int ey = std::max(1, qFloor(epaisseur * std::abs(vers_appareil.m22()) + tolerance));
    const QRect exterieur(QPoint(gauche, haut), QPoint(droite - 1, bas - 1));
    const QRegion contour =
        QRegion(exterieur).subtracted(QRegion(exterieur.adjusted(ex, ey, -ex, -ey)));
    g.save();
    // Drawn in device pixels: the world transform undoes the painter's way
    // to the device, scale factor included.
    g.setWorldTransform(vers_appareil.inverted() * g.worldTransform());
    g.setRenderHint(QPainter::Antialiasing, false);
    for (const QRect& bande : contour)
        g.fillRect(bande, couleur);
    g.restore();
}

void encadre_controle(QPainter& g, const QWidget* controle, int dy) {
    if (!controle)
        return;
    dessine_cadre(g, cadre_controle(controle, controle->window(), dy), QColor::fromRgb(0x7F0000));
}

} // namespace bibliotheque_v1
