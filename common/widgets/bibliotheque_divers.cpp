#include "bibliotheque_divers.h"

#include "bibliotheque_v1.h"

#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QThread>
#include <QTranslator>

#include <algorithm>

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
    // The ring lies inside the rectangle: the outer shape less the same shape
    // shrunk by the pen size.
    const QRectF exterieur(cadre.rectangle);
    const qreal rayon = cadre.arc / 2.0;
    const qreal e = cadre.epaisseur;
    QPainterPath anneau;
    anneau.addRoundedRect(exterieur, rayon, rayon);
    QPainterPath interieur;
    const qreal rayon_interieur = std::max<qreal>(rayon - e, 0);
    interieur.addRoundedRect(exterieur.adjusted(e, e, -e, -e), rayon_interieur, rayon_interieur);
    g.save();
    g.setRenderHint(QPainter::Antialiasing, cadre.arc > 0);
    g.fillPath(anneau.subtracted(interieur), couleur);
    g.restore();
}

void encadre_controle(QPainter& g, const QWidget* controle, int dy) {
    if (!controle)
        return;
    dessine_cadre(g, cadre_controle(controle, controle->window(), dy), QColor::fromRgb(0x7F0000));
}

} // namespace bibliotheque_v1
