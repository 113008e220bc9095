#include "lisibilite.h"

#include "controles_texte.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QStyleOptionGroupBox>

#include <algorithm>
#include <cmath>

namespace test_support {

namespace {

// The relative luminance of a colour, from 0 (black) to 1 (white).
double luminance(const QColor& couleur) {
    const auto lineaire = [](double composante) {
        return composante <= 0.04045 ? composante / 12.92
                                     : std::pow((composante + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lineaire(couleur.redF()) + 0.7152 * lineaire(couleur.greenF()) +
           0.0722 * lineaire(couleur.blueF());
}

// The contrast ratio of two colours as WCAG 2 measures it: from 1 (the same
// colour) to 21 (black on white).
double contraste(const QColor& a, const QColor& b) {
    const double clair = std::max(luminance(a), luminance(b));
    const double sombre = std::min(luminance(a), luminance(b));
    return (clair + 0.05) / (sombre + 0.05);
}

// Where a control draws one of its texts: the place, in the coordinates of
// `surface` (the control, or the viewport of a list), and the text.
struct zone {
    QWidget* surface;
    QRect place;
    QString texte;
};

QString nom(const QObject* objet) {
    return objet->objectName().isEmpty() ? QString::fromLatin1(objet->metaObject()->className())
                                         : objet->objectName();
}

// The items of a menu or a menu bar, where each is drawn.
template <class Barre> void zones_elements(Barre* barre, QList<zone>& zones) {
    for (QAction* element : barre->actions()) {
        // The text as shown: "&" marks the key of a shortcut.
        QString texte = element->text();
        texte.remove(QRegularExpression(QStringLiteral("&(?!&)")));
        if (element->isVisible() && element->isEnabled() && !element->isSeparator() &&
            !texte.isEmpty())
            zones.append({barre, barre->actionGeometry(element), texte});
    }
}

void zones_cellules(QAbstractItemView* vue, QList<zone>& zones) {
    const QAbstractItemModel* modele = vue->model();
    if (!modele)
        return;
    QWidget* surface = vue->viewport();
    const QModelIndex racine = vue->rootIndex();
    for (int ligne = 0; ligne < modele->rowCount(racine); ++ligne) {
        for (int colonne = 0; colonne < modele->columnCount(racine); ++colonne) {
            const QModelIndex cellule = modele->index(ligne, colonne, racine);
            const QRect place = vue->visualRect(cellule);
            const QString texte = cellule.data().toString();
            if (!texte.isEmpty() && (cellule.flags() & Qt::ItemIsEnabled) &&
                place.intersects(surface->rect()))
                zones.append({surface, place, texte});
        }
    }
}

// The places where `controle` draws its texts.
QList<zone> zones_de(QWidget* controle) {
    QList<zone> zones;
    QStyle* style = controle->style();
    if (auto* centre = qobject_cast<st_centre*>(controle)) {
        if (!centre->Text.trimmed().isEmpty())
            zones.append({controle, controle->rect(), centre->Text});
    } else if (auto* etiquette = qobject_cast<QLabel*>(controle)) {
        if (!etiquette->text().trimmed().isEmpty())
            zones.append({controle, etiquette->contentsRect(), etiquette->text()});
    } else if (auto* bouton = qobject_cast<QAbstractButton*>(controle)) {
        if (bouton->text().isEmpty())
            return zones;
        QStyleOptionButton option;
        option.initFrom(bouton);
        option.text = bouton->text();
        option.icon = bouton->icon();
        option.iconSize = bouton->iconSize();
        QRect place = controle->rect();
        if (qobject_cast<QCheckBox*>(bouton))
            place = style->subElementRect(QStyle::SE_CheckBoxContents, &option, bouton);
        else if (qobject_cast<QPushButton*>(bouton))
            place = style->subElementRect(QStyle::SE_PushButtonContents, &option, bouton);
        zones.append({controle, place, bouton->text()});
    } else if (auto* groupe = qobject_cast<QGroupBox*>(controle)) {
        if (groupe->title().isEmpty())
            return zones;
        QStyleOptionGroupBox option;
        option.initFrom(groupe);
        option.text = groupe->title();
        option.lineWidth = 1;
        option.textAlignment = groupe->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        if (groupe->isFlat())
            option.features |= QStyleOptionFrame::Flat;
        zones.append(
            {controle,
             style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, groupe),
             groupe->title()});
    } else if (auto* champ = qobject_cast<QLineEdit*>(controle)) {
        if (champ->text().isEmpty())
            return zones;
        QStyleOptionFrame option;
        option.initFrom(champ);
        option.lineWidth = champ->hasFrame()
                               ? style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, champ)
                               : 0;
        zones.append({controle, style->subElementRect(QStyle::SE_LineEditContents, &option, champ),
                      champ->text()});
    } else if (auto* popup = qobject_cast<QComboBox*>(controle)) {
        // An editable popup shows its text in its own field.
        if (popup->isEditable() || popup->currentText().isEmpty())
            return zones;
        QStyleOptionComboBox option;
        option.initFrom(popup);
        option.currentText = popup->currentText();
        option.frame = popup->hasFrame();
        zones.append({controle,
                      style->subControlRect(QStyle::CC_ComboBox, &option,
                                            QStyle::SC_ComboBoxEditField, popup),
                      popup->currentText()});
    } else if (auto* texte = qobject_cast<QPlainTextEdit*>(controle)) {
        if (!texte->toPlainText().trimmed().isEmpty())
            zones.append({texte->viewport(), texte->viewport()->rect(), texte->toPlainText()});
    } else if (auto* vue = qobject_cast<QAbstractItemView*>(controle)) {
        zones_cellules(vue, zones);
    } else if (auto* menu = qobject_cast<QMenu*>(controle)) {
        zones_elements(menu, zones);
    } else if (auto* barre = qobject_cast<QMenuBar*>(controle)) {
        zones_elements(barre, zones);
    }
    return zones;
}

// The contrast of the text drawn in `region` (the window's coordinates) on
// the picture of the window.
double contraste_dessine(const QImage& image, const QRegion& region) {
    const qreal echelle = image.devicePixelRatio();
    QHash<QRgb, int> nombres;
    for (const QRect& morceau : region) {
        const QRect pixels =
            QRectF(QPointF(morceau.topLeft()) * echelle, QSizeF(morceau.size()) * echelle)
                .toAlignedRect() &
            image.rect();
        for (int y = pixels.top(); y <= pixels.bottom(); ++y)
            for (int x = pixels.left(); x <= pixels.right(); ++x)
                ++nombres[image.pixel(x, y) & 0xFFFFFF];
    }
    if (nombres.isEmpty())
        return 1;
    const QRgb fond = std::max_element(nombres.cbegin(), nombres.cend()).key();
    double meilleur = 1;
    for (auto i = nombres.cbegin(); i != nombres.cend(); ++i)
        meilleur = std::max(meilleur, contraste(QColor::fromRgb(i.key()), QColor::fromRgb(fond)));
    return meilleur;
}

} // namespace

QPalette palette_sombre() {
    // Qt gives white text on a dark window, black fields and grey disabled
    // text; the desktops' fields are dark grey.
    const QColor fenetre(0x35, 0x35, 0x35);
    QPalette palette(fenetre, fenetre);
    palette.setColor(QPalette::Base, QColor(0x2A, 0x2A, 0x2A));
    palette.setColor(QPalette::AlternateBase, QColor(0x42, 0x42, 0x42));
    palette.setColor(QPalette::Highlight, QColor(0x2A, 0x82, 0xDA));
    palette.setColor(QPalette::Link, QColor(0x2A, 0x82, 0xDA));
    palette.setColor(QPalette::ToolTipBase, fenetre);
    palette.setColor(QPalette::ToolTipText, Qt::white);
    palette.setColor(QPalette::PlaceholderText, QColor(0x7F, 0x7F, 0x7F));
    return palette;
}

QList<texte_dessine> textes_dessines(QWidget* fenetre) {
    QList<texte_dessine> textes;
    const QImage image = fenetre->grab().toImage();
    QList<QWidget*> controles{fenetre};
    controles.append(fenetre->findChildren<QWidget*>());
    for (QWidget* controle : std::as_const(controles)) {
        if ((controle != fenetre && controle->isWindow()) || !controle->isVisible() ||
            !controle->isEnabled())
            continue;
        for (const zone& z : zones_de(controle)) {
            // The part of the place that shows, neither cut by a parent nor
            // under another control.
            const QRegion region = (z.surface->visibleRegion() & z.place)
                                       .translated(z.surface->mapTo(fenetre, QPoint(0, 0)));
            if (region.isEmpty())
                continue;
            textes.append(
                {nom(fenetre) + u'/' + nom(controle), z.texte, contraste_dessine(image, region)});
        }
    }
    return textes;
}

QList<texte_dessine> textes_avec_listes_et_menus(QWidget* fenetre) {
    QList<texte_dessine> textes = textes_dessines(fenetre);
    for (QComboBox* popup : fenetre->findChildren<QComboBox*>()) {
        if (!popup->isVisible() || !popup->isEnabled() || popup->count() == 0)
            continue;
        popup->showPopup();
        textes.append(textes_dessines(popup->view()->window()));
        popup->hidePopup();
    }
    for (QMenuBar* barre : fenetre->findChildren<QMenuBar*>()) {
        for (QAction* element : barre->actions()) {
            QMenu* menu = element->menu();
            if (!menu || !barre->isVisible())
                continue;
            menu->popup(barre->mapToGlobal(barre->actionGeometry(element).bottomLeft()));
            textes.append(textes_dessines(menu));
            menu->hide();
        }
    }
    return textes;
}

QStringList peu_lisibles(const QList<texte_dessine>& textes, double minimum) {
    QStringList lignes;
    for (const texte_dessine& t : textes) {
        if (t.contraste < minimum)
            lignes.append(QStringLiteral("%1 « %2 » %3")
                              .arg(t.controle, t.texte.left(40))
                              .arg(t.contraste, 0, 'f', 2));
    }
    return lignes;
}

} // namespace test_support
