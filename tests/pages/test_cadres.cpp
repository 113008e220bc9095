// The frames that the pages and windows draw round their boxes, and the
// training frame, at the scale factors of laptops' screens. A window is drawn
// into a picture of that factor, as the screen's backing store draws it, and
// shifted by 0 to 3 pixels so that its edges fall on every fraction of a
// device pixel.

#include "bibliotheque_divers.h"
#include "controles_texte.h"
#include "csp_contrat.h"
#include "csp_creer_plusieurs.h"
#include "csp_creer_unit.h"
#include "repondeur.h"
#include "w_alerte.h"
#include "w_previsu_table.h"

#include <QComboBox>
#include <QImage>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QtMath>
#include <gtest/gtest.h>

namespace {

// Whether one row (`horizontale`) or column of `zone` (device pixels) is dark
// all along: a line of the frame, not the white or light grey it encloses.
bool trait(const QImage& image, const QRect& zone, bool horizontale) {
    const int lignes = horizontale ? zone.height() : zone.width();
    const int longueur = horizontale ? zone.width() : zone.height();
    for (int i = 0; i < lignes; ++i) {
        bool entier = true;
        for (int j = 0; entier && j < longueur; ++j)
            entier = qGray(horizontale ? image.pixel(zone.left() + j, zone.top() + i)
                                       : image.pixel(zone.left() + i, zone.top() + j)) < 215;
        if (entier)
            return true;
    }
    return false;
}

// The sides of `cadre` (logical coordinates) that show in `image`: "hbgd"
// for the top, bottom, left and right; each is looked for within a logical
// pixel of its edge, the corners aside.
QString cotes_visibles(const QImage& image, const QRect& cadre) {
    const qreal s = image.devicePixelRatio();
    const int m = qCeil(s);
    const QRect d(QPoint(qFloor(cadre.left() * s), qFloor(cadre.top() * s)),
                  QPoint(qCeil((cadre.right() + 1) * s) - 1, qCeil((cadre.bottom() + 1) * s) - 1));
    const int l = d.width() - 4 * m;
    const int h = d.height() - 4 * m;
    QString cotes;
    if (trait(image, QRect(d.left() + 2 * m, d.top(), l, m + 1), true))
        cotes += u'h';
    if (trait(image, QRect(d.left() + 2 * m, d.bottom() - m, l, m + 1), true))
        cotes += u'b';
    if (trait(image, QRect(d.left(), d.top() + 2 * m, m + 1, h), false))
        cotes += u'g';
    if (trait(image, QRect(d.right() - m, d.top() + 2 * m, m + 1, h), false))
        cotes += u'd';
    return cotes;
}

// `fenetre` drawn at `echelle`, shifted by `decalage` logical pixels.
QImage dessine(QWidget& fenetre, qreal echelle, int decalage) {
    const QSize taille = fenetre.size() + QSize(decalage + 1, decalage + 1);
    QImage image(qCeil(taille.width() * echelle), qCeil(taille.height() * echelle),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(echelle);
    image.fill(Qt::white);
    fenetre.render(&image, QPoint(decalage, decalage));
    return image;
}

QRect dans(const QWidget* controle, const QWidget* fenetre) {
    return QRect(controle->mapTo(fenetre, QPoint(0, 0)), controle->size());
}

// The sides of `cadre` in `fenetre` show at every factor and shift.
void verifie(const char* nom, QWidget& fenetre, const QRect& cadre) {
    for (const qreal echelle : {1.0, 1.25, 1.5, 2.0}) {
        for (int decalage = 0; decalage < 4; ++decalage) {
            const QImage image = dessine(fenetre, echelle, decalage);
            EXPECT_EQ(cotes_visibles(image, cadre.translated(decalage, decalage)).toStdString(),
                      "hbgd")
                << nom << " at " << echelle << ", shifted by " << decalage;
        }
    }
}

} // namespace

TEST(Cadres, EveryFramedBoxShowsItsFourSidesAtFractionalScales) {
    repondeur::garde garde;
    csp_creer_plusieurs serie;
    serie.Event_Open();
    ASSERT_FALSE(serie.ch_repertoire->isEnabled());
    verifie("result folder, greyed", serie, dans(serie.ch_repertoire, &serie));
    serie.popup_resultats->setCurrentIndex(2); // the default folder: the box in use
    ASSERT_TRUE(serie.ch_repertoire->isEnabled());
    verifie("result folder", serie, dans(serie.ch_repertoire, &serie));

    csp_creer_unit unit;
    unit.Event_Open();
    verifie("comment", unit, dans(unit.ch_commentaire, &unit));
    // The training frame round the page's first field.
    unit.maj_formation(QStringLiteral("+"));
    const QWidget* premier = unit.controles_formation.value(unit.stade_formation);
    ASSERT_NE(premier, nullptr);
    verifie("training frame", unit, bibliotheque_v1::cadre_controle(premier, &unit, 0).rectangle);

    csp_contrat contrat;
    contrat.Event_Open();
    verifie("agreement", contrat, dans(contrat.ch_contrat, &contrat));

    w_alerte& alerte = w_alerte::instance();
    repondeur::quand_visible([&alerte](QWidget*) {
        verifie("entry of the alert", alerte, dans(alerte.ch_texte, &alerte));
        alerte.bt_deux->click();
    });
    QString texte = QStringLiteral("Une ligne");
    alerte.saisie_texte(QStringLiteral("Votre texte :"), texte);

    w_previsu_table& previsu = w_previsu_table::instance();
    repondeur::quand_visible([&previsu](QWidget*) {
        for (QTableView* liste : {previsu.lb_index, previsu.lb_lignes, previsu.lb_table})
            verifie(qPrintable(liste->objectName()), previsu, dans(liste, &previsu));
        previsu.bt_annuler->click();
    });
    previsu.afficher_questionner({QStringLiteral("a\tb"), QStringLiteral("c\td")}, 2, nullptr);
}
