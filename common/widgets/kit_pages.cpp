#include "kit_pages.h"

#include "controles_texte.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kit_pages {

QFont police(int taille, bool gras) {
    QFont fonte = QGuiApplication::font();
    fonte.setPixelSize(taille);
    fonte.setBold(gras);
    return fonte;
}

void place(QWidget* controle, const QString& nom, const QRect& geometrie) {
    controle->setObjectName(nom);
    controle->setGeometry(geometrie);
}

QLabel* texte_statique(QWidget* parent, const QString& nom, const QRect& geometrie,
                       const QString& texte, int taille, bool gras, QRgb couleur,
                       Qt::Alignment alignement) {
    auto* etiquette = new QLabel(parent);
    place(etiquette, nom, geometrie);
    etiquette->setFont(police(taille, gras));
    etiquette->setAlignment(alignement);
    QPalette palette = etiquette->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgb(couleur));
    etiquette->setPalette(palette);
    etiquette->setText(lignes_qt(texte));
    return etiquette;
}

QPushButton* bouton(QWidget* parent, const QString& nom, const QRect& geometrie,
                    const QString& legende, bool gras) {
    auto* b = new QPushButton(legende, parent);
    place(b, nom, geometrie);
    b->setFont(police(13, gras));
    ajuste_police(b, legende, geometrie.width() - 12);
    return b;
}

QCheckBox* case_a_cocher(QWidget* parent, const QString& nom, const QRect& geometrie,
                         const QString& legende) {
    auto* c = new QCheckBox(legende, parent);
    place(c, nom, geometrie);
    c->setFont(police(13));
    // The box and its gap take the left of the control.
    ajuste_police(c, legende, geometrie.width() - 22);
    return c;
}

st_lien* lien(QWidget* parent, const QString& nom, const QRect& geometrie, const QString& texte,
              Qt::Alignment alignement) {
    auto* l = new st_lien(parent);
    place(l, nom, geometrie);
    l->setText(texte);
    l->setAlignment(alignement | Qt::AlignVCenter);
    ajuste_police(l, texte, geometrie.width());
    return l;
}

st_centre* texte_centre(QWidget* parent, const QString& nom, const QRect& geometrie, QRgb fond) {
    auto* t = new st_centre(parent);
    place(t, nom, geometrie);
    t->centrage_vertical = QStringLiteral("center");
    t->Bold = true;
    t->TextColor = QColor::fromRgb(0x000000);
    t->BackColor = QColor::fromRgb(fond);
    t->TextSize = 13;
    return t;
}

void ajuste_police(QWidget* controle, const QString& texte, int largeur, resserrement maniere) {
    QFont fonte = controle->font();
    const auto tient = [&texte, largeur](const QFont& essai) {
        return QFontMetrics(essai).horizontalAdvance(texte) <= largeur;
    };
    if (tient(fonte))
        return;
    if (maniere == resserrement::semi_condense)
        fonte.setStretch(QFont::SemiCondensed);
    if (maniere != resserrement::tailles && !tient(fonte))
        fonte.setStretch(QFont::Condensed);
    while (!tient(fonte) && fonte.pixelSize() > 9)
        fonte.setPixelSize(fonte.pixelSize() - 1);
    controle->setFont(fonte);
}

QString lignes_qt(QString texte) {
    texte.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    texte.replace(u'\r', u'\n');
    return texte;
}

void pose(QWidget* controle, const char* nom, habit genre, const QRect& geometrie,
          QStringView legende) {
    place(controle, QString::fromLatin1(nom), geometrie);
    auto* etiquette = qobject_cast<QLabel*>(controle);
    if (!legende.isEmpty()) {
        const QString texte = legende.toString();
        if (etiquette)
            etiquette->setText(texte);
        else if (auto* b = qobject_cast<QAbstractButton*>(controle))
            b->setText(texte);
        else if (auto* groupe = qobject_cast<QGroupBox*>(controle))
            groupe->setTitle(texte);
        else if (auto* champ = qobject_cast<QLineEdit*>(controle))
            champ->setText(texte);
    }
    // Captions and titles are labels; other controls keep their own dress.
    if (!etiquette)
        return;
    switch (genre) {
    case habit::controle:
        break;
    case habit::legende_grasse:
        etiquette->setFont(police(13, true));
        [[fallthrough]];
    case habit::legende:
        etiquette->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        break;
    case habit::titre:
    case habit::titre_gras: {
        etiquette->setFont(police(24, genre == habit::titre_gras));
        etiquette->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        QPalette palette = etiquette->palette();
        palette.setColor(QPalette::WindowText, QColor(120, 0, 0));
        etiquette->setPalette(palette);
        break;
    }
    }
}

} // namespace kit_pages
