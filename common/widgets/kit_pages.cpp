#include "kit_pages.h"

#include "controles_texte.h"

#include <QCheckBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

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

namespace {

// A control Tab stops at, or a group box with the controls it holds.
struct bloc {
    QRect place;
    QWidget* controle = nullptr;
    QList<bloc> membres;
};

// Rows from top to bottom, each from left to right. A block belongs to the
// row of the first block above it while it starts no lower than that
// block's middle.
void range(QList<bloc>& blocs) {
    const auto haut = [](const bloc& a, const bloc& b) { return a.place.top() < b.place.top(); };
    const auto gauche = [](const bloc& a, const bloc& b) {
        return a.place.left() < b.place.left();
    };
    std::stable_sort(blocs.begin(), blocs.end(), haut);
    for (qsizetype debut = 0; debut < blocs.size();) {
        const int milieu = blocs[debut].place.center().y();
        qsizetype fin = debut + 1;
        while (fin < blocs.size() && blocs[fin].place.top() <= milieu)
            ++fin;
        std::stable_sort(blocs.begin() + debut, blocs.begin() + fin, gauche);
        debut = fin;
    }
}

void aplatit(const QList<bloc>& blocs, QList<QWidget*>& ordre) {
    for (const bloc& b : blocs) {
        if (b.controle)
            ordre.append(b.controle);
        aplatit(b.membres, ordre);
    }
}

// The controls under `parent` that Tab stops at, in creation order, and the
// group boxes. The parts of a control are its own affair; other windows
// (popups, dialogs) keep their own order.
void recense(QWidget* parent, QList<QWidget*>& controles, QList<QGroupBox*>& groupes) {
    for (QObject* enfant : parent->children()) {
        auto* w = qobject_cast<QWidget*>(enfant);
        if (!w || w->isWindow())
            continue;
        if (auto* groupe = qobject_cast<QGroupBox*>(w))
            groupes.append(groupe);
        if (w->focusPolicy() & Qt::TabFocus)
            controles.append(w);
        else
            recense(w, controles, groupes);
    }
}

void applique_ordre(QWidget* conteneur) {
    QList<QWidget*> controles;
    QList<QGroupBox*> groupes;
    recense(conteneur, controles, groupes);
    const auto place = [conteneur](const QWidget* w) {
        return QRect(w->mapTo(conteneur, QPoint(0, 0)), w->size());
    };
    const auto aire = [](const QRect& r) { return r.width() * r.height(); };
    // Each control goes with the smallest group box that holds it.
    QList<bloc> blocs;
    QList<bloc> cadres;
    for (const QGroupBox* groupe : groupes)
        cadres.append(bloc{place(groupe), nullptr, {}});
    for (QWidget* controle : controles) {
        const QRect ici = place(controle);
        bloc* cadre = nullptr;
        for (qsizetype i = 0; i < groupes.size(); ++i) {
            const bool dedans =
                groupes[i]->isAncestorOf(controle) || cadres[i].place.contains(ici.center());
            if (dedans && (!cadre || aire(cadres[i].place) < aire(cadre->place)))
                cadre = &cadres[i];
        }
        (cadre ? cadre->membres : blocs).append(bloc{ici, controle, {}});
    }
    for (bloc& cadre : cadres) {
        if (cadre.membres.isEmpty())
            continue;
        range(cadre.membres);
        blocs.append(std::move(cadre));
    }
    range(blocs);
    QList<QWidget*> ordre;
    aplatit(blocs, ordre);
    if (ordre.isEmpty())
        return;
    // Qt orders a ring: the container marks where it starts. The first
    // control goes right after it, each other one after the one before.
    const Qt::FocusPolicy politique = conteneur->focusPolicy();
    conteneur->setFocusPolicy(Qt::TabFocus);
    QWidget::setTabOrder(conteneur, ordre.first());
    conteneur->setFocusPolicy(politique);
    for (qsizetype i = 1; i < ordre.size(); ++i)
        QWidget::setTabOrder(ordre[i - 1], ordre[i]);
}

// Sets the reading order again each time its container shows.
class garde_ordre : public QObject {
public:
    explicit garde_ordre(QWidget* conteneur) : QObject(conteneur) {
        setObjectName(QStringLiteral("kit_pages_ordre_lecture"));
        conteneur->installEventFilter(this);
    }

    bool eventFilter(QObject* objet, QEvent* evenement) override {
        if (evenement->type() == QEvent::Show && objet == parent())
            applique_ordre(static_cast<QWidget*>(objet));
        return false;
    }
};

} // namespace

void ordre_lecture(QWidget* conteneur) {
    applique_ordre(conteneur);
    if (!conteneur->findChild<QObject*>(QStringLiteral("kit_pages_ordre_lecture"),
                                        Qt::FindDirectChildrenOnly))
        new garde_ordre(conteneur);
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
