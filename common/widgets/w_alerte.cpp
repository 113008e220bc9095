#include "w_alerte.h"

#include "accessibilite.h"
#include "bibliotheque_v1.h"
#include "controles_texte.h"
#include "editfield_numerique.h"
#include "fenetres_uniques.h"
#include "kit_pages.h"
#include "nombres.h"
#include "services_coquille.h"

#include <QCheckBox>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>

#include <algorithm>
#include <utility>

namespace {

const QColor gris_fond(242, 242, 242);
const QColor rouge_message(120, 0, 0);

QPushButton* bouton(w_alerte* fenetre, const char* nom, int gauche) {
    auto* b = new QPushButton(fenetre);
    b->setObjectName(nom);
    b->setGeometry(gauche, 238, 80, 20);
    b->setFont(kit_pages::police(13, true));
    // As in Qt's dialogs, Return presses the button in focus, and the default
    // one from any other control.
    b->setAutoDefault(true);
    return b;
}

// A button shows "&" as it is, not as the mark of a keyboard shortcut.
QString texte_sans_raccourci(QString legende) {
    return legende.replace(u'&', QStringLiteral("&&"));
}

QString lignes_en_cr(QString texte) {
    texte.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
    texte.replace(u'\n', u'\r');
    return texte;
}

} // namespace

w_alerte& w_alerte::instance() {
    // Lives as long as the application object, hidden between dialogs.
    static w_alerte* seule = nullptr;
    return fenetres_uniques::unique(seule, [] { return new w_alerte(nullptr); });
}

w_alerte::w_alerte(w_alerte* memoire) : memoire_(memoire ? memoire : this) {
    setWindowTitle(bibliotheque_v1::nom_produit);
    setFixedSize(471, 276);
    QPalette couleurs = palette();
    couleurs.setColor(QPalette::Window, gris_fond);
    setPalette(couleurs);
    setAutoFillBackground(true);

    bt_un = bouton(this, "bt_un", 375);
    bt_un->setDefault(true);
    bt_deux = bouton(this, "bt_deux", 285);
    bt_trois = bouton(this, "bt_trois", 195);

    cb_ne_plus = new QCheckBox(QStringLiteral("ne plus afficher"), this);
    cb_ne_plus->setObjectName("cb_ne_plus");
    cb_ne_plus->setGeometry(12, 238, 127, 20);
    cb_ne_plus->setFont(kit_pages::police(13));

    lien_un = new st_lien(this);
    lien_un->setObjectName("lien_un");
    lien_un->setText(QStringLiteral("lien"));
    lien_un->setGeometry(145, 297, 38, 20);

    canvas_logo = new QLabel(this);
    canvas_logo->setObjectName("canvas_logo");
    canvas_logo->setGeometry(20, 20, 50, 63);
    canvas_logo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const QImage logo = coquille::logo_application();
    if (!logo.isNull())
        canvas_logo->setPixmap(QPixmap::fromImage(logo));

    st_message_centre = new st_centre(this);
    st_message_centre->setObjectName("st_message_centre");
    st_message_centre->setGeometry(99, 0, 372, 226);
    st_message_bas = new st_bas(this);
    st_message_bas->setObjectName("st_message_bas");
    st_message_bas->setGeometry(99, 484, 100, 100);
    for (st_centre* zone : {st_message_centre, static_cast<st_centre*>(st_message_bas)}) {
        zone->BackColor = gris_fond;
        zone->TextColor = rouge_message;
        zone->Bold = true;
    }

    ch_texte = new zone_texte(this);
    ch_texte->setObjectName("ch_texte");
    ch_texte->setGeometry(99, 329, 364, 143);
    ch_texte->setFont(kit_pages::police(13));
    ch_texte->setReadOnly(true);
    // Out of view between entries, the fields are not reached by Tab.
    ch_texte->setFocusPolicy(Qt::NoFocus);
    encadre_zone(ch_texte);

    ch_nombre = new editfield_numerique(this);
    ch_nombre->setObjectName("ch_nombre");
    ch_nombre->setGeometry(217, 297, 116, 22);
    ch_nombre->setFont(kit_pages::police(13));
    ch_nombre->setReadOnly(true);
    ch_nombre->setFocusPolicy(Qt::NoFocus);

    connect(bt_un, &QPushButton::clicked, this, &w_alerte::bt_un_Action);
    connect(bt_deux, &QPushButton::clicked, this, &w_alerte::bt_deux_Action);
    connect(bt_trois, &QPushButton::clicked, this, &w_alerte::bt_trois_Action);
    connect(cb_ne_plus, &QCheckBox::toggled, this, &w_alerte::cb_ne_plus_Action);
    connect(lien_un, &st_lien::Action, this, &w_alerte::lien_un_Action);
    lien_un->installEventFilter(this);

    largeur_initiale_fenetre = width();
    // Each dialog places its row before it shows: Tab follows it as it reads.
    kit_pages::ordre_lecture(this);
}

void w_alerte::bt_un_Action() {
    validation(bt_un);
}

void w_alerte::bt_deux_Action() {
    validation(bt_deux);
}

void w_alerte::bt_trois_Action() {
    validation(bt_trois);
}

void w_alerte::lien_un_Action() {
    validation(lien_un);
}

void w_alerte::cb_ne_plus_Action() {
    if (clef_consigne_courante.isEmpty())
        return;
    if (cb_ne_plus->isChecked())
        memoire_->clefs_consigne.append(clef_consigne_courante);
    else
        memoire_->clefs_consigne.removeOne(clef_consigne_courante);
}

bool w_alerte::eventFilter(QObject* objet, QEvent* evenement) {
    // The dialog's link also points while pressed and turns grey when left.
    if (objet == lien_un) {
        if (evenement->type() == QEvent::MouseButtonPress)
            lien_un->setCursor(Qt::PointingHandCursor);
        else if (evenement->type() == QEvent::Leave)
            lien_un->setTextColor(st_lien::gris_lien);
    }
    return w_secondaire::eventFilter(objet, evenement);
}

void w_alerte::setVisible(bool visible) {
    // Each dialog opens with the focus on its first button, the default one,
    // or in the number field of a number entry.
    if (visible && !curseur_en_fin_)
        bt_un->setFocus();
    w_secondaire::setVisible(visible);
    // Showing gives the focus to the field as if by Tab, which selects its
    // whole text: the caret goes back to the end.
    if (visible && curseur_en_fin_) {
        ch_nombre->deselect();
        ch_nombre->setCursorPosition(static_cast<int>(ch_nombre->text().size()));
    }
}

void w_alerte::initialise_boutons() {
    setFixedSize(largeur_initiale_fenetre, height());
    for (QWidget* controle : {static_cast<QWidget*>(bt_un), static_cast<QWidget*>(bt_deux),
                              static_cast<QWidget*>(bt_trois), static_cast<QWidget*>(lien_un),
                              static_cast<QWidget*>(cb_ne_plus)})
        controle->hide();
    controles.clear();
    retour_operateur = 0;
}

void w_alerte::prepare_consigne(const QString& clef) {
    initialise_boutons();
    if (!clef.isEmpty()) {
        // Unticking without a current key leaves the list as it is.
        clef_consigne_courante.clear();
        cb_ne_plus->setChecked(false);
        clef_consigne_courante = clef;
    }
}

void w_alerte::retient_reponse(const QString& clef) {
    if (!clef.isEmpty() && memoire_->clefs_consigne.contains(clef))
        memoire_->reponses_consigne.insert(clef, retour_operateur);
}

void w_alerte::ajoute_controle(QWidget* controle, const QString& legende) {
    const QFont fonte = controle->font();
    const auto largeur_legende = [&] {
        return bibliotheque_v1::string_width(legende, QStringLiteral("System"), fonte.pixelSize(),
                                             fonte.bold(), fonte.italic());
    };
    const bool case_a_cocher = qobject_cast<QCheckBox*>(controle) != nullptr;
    if (auto* lien = qobject_cast<st_lien*>(controle)) {
        controle->resize(largeur_legende(), controle->height());
        lien->setText(legende);
    } else if (auto* b = qobject_cast<QPushButton*>(controle)) {
        const int largeur = static_cast<int>(largeur_legende() + 1.5 * controle->height());
        controle->resize(std::max(largeur, 80), controle->height());
        b->setText(texte_sans_raccourci(legende));
    } else if (case_a_cocher) {
        controle->resize(largeur_legende() + controle->height(), controle->height());
        static_cast<QCheckBox*>(controle)->setText(texte_sans_raccourci(legende));
    }

    controles.append(controle);
    const int haut = height() - controle->height() - 16;
    const auto elargit = [&](int d, bool sauf_case) {
        setFixedSize(width() + d, height());
        for (QWidget* place : controles)
            if (!(sauf_case && place == controle))
                place->move(place->x() + d, place->y());
    };
    if (controles.size() == 1) {
        controle->move(largeur_initiale_fenetre - controle->width() - 16, haut);
    } else {
        const QWidget* precedent = controles.at(controles.size() - 2);
        if (!case_a_cocher) {
            const int gauche = precedent->x() - controle->width() - 16;
            controle->move(gauche, haut);
            if (gauche < 16)
                elargit(16 - gauche, false);
        } else {
            controle->move(16, haut);
            const int ecart = precedent->x() - controle->width() - 16;
            if (ecart < 16)
                elargit(16 - ecart, true);
        }
    }
    controle->show();
}

bool w_alerte::occupee() const {
    return en_cours_ || isVisible();
}

template <class Resultat, class... Parametres, class... Arguments>
Resultat w_alerte::ouvre(Resultat (w_alerte::*operation)(Parametres...), Arguments&&... arguments) {
    if (occupee()) {
        // Another dialog is under way: this one opens over it, leaving it as it is.
        w_alerte par_dessus(memoire_);
        return par_dessus.ouvre(operation, std::forward<Arguments>(arguments)...);
    }
    const QScopedValueRollback<bool> occupation(en_cours_, true);
    return (this->*operation)(std::forward<Arguments>(arguments)...);
}

void w_alerte::validation(QWidget* controle) {
    retour_operateur = static_cast<int>(controles.indexOf(controle)) + 1;
    hide();
}

void w_alerte::montre(const QString& texte) {
    st_message_centre->Text = texte;
    st_message_centre->update();
    montrer_modale(1);
}

void w_alerte::message(const QString& texte, const QString& clef) {
    if (!clef.isEmpty() && memoire_->clefs_consigne.contains(clef))
        return;
    ouvre(&w_alerte::montre_message, texte, clef);
}

void w_alerte::montre_message(const QString& texte, const QString& clef) {
    prepare_consigne(clef);
    ajoute_controle(bt_un, QStringLiteral("OK"));
    if (!clef.isEmpty())
        ajoute_controle(cb_ne_plus, cb_ne_plus->text());
    montre(texte);
    retient_reponse(clef);
}

bool w_alerte::proposition_ok_annuler(const QString& texte, const QString& clef) {
    if (!clef.isEmpty() && memoire_->clefs_consigne.contains(clef)) {
        // The answer given when the box was ticked.
        const auto reponse = memoire_->reponses_consigne.constFind(clef);
        return reponse == memoire_->reponses_consigne.cend() || reponse.value() == 1;
    }
    return ouvre(&w_alerte::montre_ok_annuler, texte, clef);
}

bool w_alerte::montre_ok_annuler(const QString& texte, const QString& clef) {
    prepare_consigne(clef);
    ajoute_controle(bt_un, QStringLiteral("OK"));
    ajoute_controle(bt_deux, QStringLiteral("Annuler"));
    if (!clef.isEmpty())
        ajoute_controle(cb_ne_plus, cb_ne_plus->text());
    montre(texte);
    retient_reponse(clef);
    return retour_operateur == 1;
}

QString w_alerte::proposition_bouton_lien(const QString& texte, const QString& bouton,
                                          const QString& lien, const QString& clef) {
    if (!clef.isEmpty() && memoire_->clefs_consigne.contains(clef))
        return QString();
    return ouvre(&w_alerte::montre_bouton_lien, texte, bouton, lien, clef);
}

QString w_alerte::montre_bouton_lien(const QString& texte, const QString& bouton,
                                     const QString& lien, const QString& clef) {
    prepare_consigne(clef);
    ajoute_controle(bt_un, bouton);
    ajoute_controle(lien_un, lien);
    if (!clef.isEmpty())
        ajoute_controle(cb_ne_plus, cb_ne_plus->text());
    montre(texte);
    retient_reponse(clef);
    if (retour_operateur == 1)
        return bouton;
    if (retour_operateur == 2)
        return lien;
    return QString();
}

QString w_alerte::proposition_multi_boutons(const QString& texte, const QString& legende1,
                                            const QString& legende2, const QString& legende3) {
    return ouvre(&w_alerte::montre_multi_boutons, texte, legende1, legende2, legende3);
}

QString w_alerte::montre_multi_boutons(const QString& texte, const QString& legende1,
                                       const QString& legende2, const QString& legende3) {
    initialise_boutons();
    ajoute_controle(bt_un, legende1);
    ajoute_controle(bt_deux, legende2);
    if (!legende3.isEmpty())
        ajoute_controle(bt_trois, legende3);
    montre(texte);
    switch (retour_operateur) {
    case 1:
        return legende1;
    case 2:
        return legende2;
    case 3:
        return legende3;
    default:
        // Closed without a button: the last one, the cancelling one.
        return legende3.isEmpty() ? legende2 : legende3;
    }
}

w_alerte::place_entree w_alerte::prepare_entree(const QString& invite, QWidget* champ,
                                                double hauteur_invite) {
    initialise_boutons();
    ajoute_controle(bt_un, QStringLiteral("OK"));
    ajoute_controle(bt_deux, QStringLiteral("Annuler"));
    const place_entree place{champ->y(), st_message_bas->y(), st_message_bas->height()};
    champ->setFocusPolicy(Qt::StrongFocus);
    // The prompt takes the message's place; the message goes out of view.
    st_message_bas->setGeometry(st_message_centre->x(), st_message_centre->y(),
                                st_message_centre->width(), static_cast<int>(hauteur_invite));
    st_message_centre->move(st_message_centre->x(), place.haut_invite);
    st_message_bas->Text = invite;
    st_message_bas->update();
    // The field is announced by its prompt.
    champ->setAccessibleName(accessibilite::texte_annonce(invite));
    return place;
}

void w_alerte::retablit_entree(const place_entree& place, QWidget* champ) {
    st_message_centre->move(st_message_centre->x(), st_message_bas->y());
    st_message_bas->setGeometry(st_message_bas->x(), place.haut_invite, st_message_bas->width(),
                                place.hauteur_invite);
    champ->move(champ->x(), place.haut_champ);
    // Out of view, the field leaves the focus to the next dialog's controls
    // and is not reached by Tab.
    champ->clearFocus();
    champ->setFocusPolicy(Qt::NoFocus);
}

bool w_alerte::saisie_texte(const QString& invite, QString& valeur) {
    return ouvre(&w_alerte::montre_saisie_texte, invite, valeur);
}

bool w_alerte::montre_saisie_texte(const QString& invite, QString& valeur) {
    const place_entree place = prepare_entree(invite, ch_texte, 26);
    ch_texte->setGeometry(
        st_message_centre->x(),
        static_cast<int>(st_message_bas->y() + st_message_bas->height() + 6.5),
        st_message_centre->width() - 10,
        static_cast<int>(st_message_centre->height() - st_message_bas->height() - 6.5));
    ch_texte->setPlainText(valeur);
    ch_texte->document()->setModified(false);
    ch_texte->setReadOnly(false);
    montrer_modale(1);
    // An untouched field gives back the text as it came, line ends included.
    if (retour_operateur == 1 && ch_texte->document()->isModified())
        valeur = lignes_en_cr(texte_zone(*ch_texte));
    retablit_entree(place, ch_texte);
    ch_texte->setReadOnly(true);
    return retour_operateur == 1;
}

bool w_alerte::saisie_nombre(const QString& invite, double& valeur, QString& valeur_texte) {
    return ouvre(&w_alerte::montre_saisie_nombre, invite, valeur, valeur_texte);
}

bool w_alerte::montre_saisie_nombre(const QString& invite, double& valeur, QString& valeur_texte) {
    const place_entree place = prepare_entree(invite, ch_nombre, st_message_centre->height() / 2.0);
    ch_nombre->move(static_cast<int>(st_message_centre->x() +
                                     (st_message_centre->width() - ch_nombre->width()) / 2.0),
                    static_cast<int>(st_message_bas->y() + st_message_bas->height() + 6.5));
    if (!valeur_texte.isEmpty())
        ch_nombre->setText(valeur_texte);
    else if (valeur == 0)
        ch_nombre->clear();
    else
        ch_nombre->setText(bibliotheque_v1::str_format(valeur, -1));
    ch_nombre->setReadOnly(false);
    ch_nombre->setCursorPosition(static_cast<int>(ch_nombre->text().size()));
    ch_nombre->setFocus();
    curseur_en_fin_ = true;
    montrer_modale(1);
    curseur_en_fin_ = false;
    if (retour_operateur == 1) {
        valeur_texte = ch_nombre->text();
        valeur = nombres::val(QString(valeur_texte).replace(u',', u'.'));
    }
    retablit_entree(place, ch_nombre);
    ch_nombre->setReadOnly(true);
    return retour_operateur == 1;
}
