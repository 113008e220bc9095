#include "w_previsu_table.h"

#include "bibliotheque_divers.h"
#include "bibliotheque_v1.h"
#include "controles_texte.h"
#include "fenetres_uniques.h"
#include "kit_pages.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

// The cells of one of the window's lists, computed on demand from the records.
// The model holds only the columns on show, from `premiere` on: scrolling
// sideways or showing one column more changes a few columns, whatever the
// number of columns of the file.
class modele_previsu : public QAbstractTableModel {
public:
    // The text of the cell of a record and of a column of the file, from 0.
    using source = std::function<QString(int ligne, int colonne)>;

    modele_previsu(QObject* parent, bool gris, bool a_droite)
        : QAbstractTableModel(parent), gris_(gris), a_droite_(a_droite) {}

    void remplace(int lignes, int colonnes, source texte) {
        beginResetModel();
        lignes_ = lignes;
        colonnes_ = colonnes;
        premiere_ = 0;
        texte_ = std::move(texte);
        endResetModel();
    }

    // Shows `nombre` columns of the file from `premiere` on. The rows, their
    // selection and the current cell stay.
    void montre_colonnes(int premiere, int nombre) {
        if (nombre > colonnes_) {
            beginInsertColumns({}, colonnes_, nombre - 1);
            colonnes_ = nombre;
            endInsertColumns();
        } else if (nombre < colonnes_) {
            beginRemoveColumns({}, nombre, colonnes_ - 1);
            colonnes_ = nombre;
            endRemoveColumns();
        }
        if (premiere != premiere_) {
            premiere_ = premiere;
            if (lignes_ > 0 && colonnes_ > 0)
                emit dataChanged(index(0, 0), index(lignes_ - 1, colonnes_ - 1), {Qt::DisplayRole});
        }
    }
    int premiere() const { return premiere_; }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : lignes_;
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : colonnes_;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || !texte_)
            return {};
        if (role == Qt::DisplayRole)
            return texte_(index.row(), premiere_ + index.column());
        if (role == Qt::BackgroundRole && gris_)
            return QColor(229, 229, 229);
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::AlignVCenter |
                                       (a_droite_ ? Qt::AlignRight : Qt::AlignLeft));
        return {};
    }

private:
    bool gris_;
    bool a_droite_;
    int lignes_ = 0;
    int colonnes_ = 0;
    int premiere_ = 0;
    source texte_;
};

namespace {

constexpr int hauteur_ligne = 18;
// Width of the row-number list as drawn; it widens for longer numbers.
constexpr int largeur_numeros_dessinee = 30;

QLabel* etiquette(QWidget* parent, const char* nom, const QString& texte, const QRect& place) {
    auto* l = new QLabel(texte, parent);
    kit_pages::place(l, nom, place);
    l->setFont(kit_pages::police(13, true));
    return l;
}

QLineEdit* champ_nombre(QWidget* parent, const char* nom, const QRect& place) {
    auto* c = new QLineEdit(parent);
    kit_pages::place(c, nom, place);
    c->setReadOnly(true);
    c->setAlignment(Qt::AlignRight);
    c->setFont(kit_pages::police(13));
    QPalette couleurs = c->palette();
    couleurs.setColor(QPalette::Base, Qt::white);
    couleurs.setColor(QPalette::Text, Qt::black);
    c->setPalette(couleurs);
    return c;
}

QTableView* liste(QWidget* parent, const char* nom, const QRect& place, bool grise) {
    auto* v = new QTableView(parent);
    kit_pages::place(v, nom, place);
    v->horizontalHeader()->hide();
    v->verticalHeader()->hide();
    v->setShowGrid(false);
    v->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    v->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    v->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    v->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    v->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    v->verticalHeader()->setDefaultSectionSize(hauteur_ligne);
    v->verticalHeader()->setMinimumSectionSize(1);
    v->horizontalHeader()->setMinimumSectionSize(0);
    v->setWordWrap(false);
    v->setFont(kit_pages::police(13, grise));
    v->setEnabled(!grise);
    encadre_zone(v);
    return v;
}

// The width a list needs to show `texte` whole in one cell: the text in the
// list's font, the margins the style leaves on both sides of a cell's text,
// and the list's frame.
int largeur_pour(const QTableView* vue, const QString& texte) {
    const int marge = vue->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, vue) + 1;
    const auto largeur_texte =
        static_cast<int>(std::ceil(QFontMetricsF(vue->font()).horizontalAdvance(texte)));
    return largeur_texte + 2 * marge + 2 * vue->frameWidth();
}

// Fields `premiere` to `premiere + nombre - 1` (from 0) of a record whose
// fields are joined by TAB, found without splitting the rest of the record;
// a field the record lacks is left out.
QStringList champs(QStringView enregistrement, int premiere, int nombre) {
    QStringList resultat;
    qsizetype debut = 0;
    for (int j = 0; j < premiere && debut >= 0; ++j) {
        const qsizetype tabulation = enregistrement.indexOf(u'\t', debut);
        debut = tabulation < 0 ? -1 : tabulation + 1;
    }
    for (int j = 0; j < nombre && debut >= 0; ++j) {
        const qsizetype tabulation = enregistrement.indexOf(u'\t', debut);
        resultat.append(
            enregistrement.mid(debut, tabulation < 0 ? -1 : tabulation - debut).toString());
        debut = tabulation < 0 ? -1 : tabulation + 1;
    }
    return resultat;
}

// The width of each visible column: a percentage of the list's width.
QString largeur_visible(int k) {
    return QString::number(100.0 / k) + u'%';
}

QScrollBar* barre(QWidget* parent, const char* nom, Qt::Orientation sens, const QRect& place,
                  int pas_page) {
    auto* b = new QScrollBar(sens, parent);
    kit_pages::place(b, nom, place);
    b->setRange(0, 100);
    b->setSingleStep(1);
    b->setPageStep(pas_page);
    b->setTracking(false);
    return b;
}

} // namespace

fleches_haut_bas::fleches_haut_bas(QWidget* parent)
    : QWidget(parent), haut(new QToolButton(this)), bas(new QToolButton(this)) {
    haut->setArrowType(Qt::UpArrow);
    bas->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {haut, bas})
        b->setFocusPolicy(Qt::NoFocus);
    setFocusPolicy(Qt::NoFocus);
    connect(haut, &QToolButton::clicked, this, &fleches_haut_bas::Up);
    connect(bas, &QToolButton::clicked, this, &fleches_haut_bas::Down);
}

void fleches_haut_bas::resizeEvent(QResizeEvent* evenement) {
    const int moitie = height() / 2;
    haut->setGeometry(0, 0, width(), moitie);
    bas->setGeometry(0, moitie, width(), height() - moitie);
    QWidget::resizeEvent(evenement);
}

w_previsu_table& w_previsu_table::instance() {
    // Lives as long as the application object, hidden between showings.
    static w_previsu_table* seule = nullptr;
    return fenetres_uniques::unique(seule, [] { return new w_previsu_table(); });
}

w_previsu_table::w_previsu_table() {
    setWindowTitle(bibliotheque_v1::nom_produit);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    resize(680, 460);
    setSizeGripEnabled(true);

    lb_index = liste(this, "lb_index", {41, 95, 610, 20}, true);
    lb_index->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    lb_lignes = liste(this, "lb_lignes", {12, 114, largeur_numeros_dessinee, 280}, true);
    lb_lignes->horizontalHeader()->setStretchLastSection(true);
    sb_vertical = barre(this, "sb_vertical", Qt::Vertical, {651, 114, 16, 280}, 20);
    lb_table = liste(this, "lb_table", {41, 114, 610, 280}, false);
    lb_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lb_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    lb_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the table for the window's other controls; the arrow keys
    // move in it.
    lb_table->setTabKeyNavigation(false);
    bt_nb_colonnes_affichees = new fleches_haut_bas(this);
    kit_pages::place(bt_nb_colonnes_affichees, QStringLiteral("bt_nb_colonnes_affichees"),
                     {14, 420, 13, 23});
    sb_horizontal = barre(this, "sb_horizontal", Qt::Horizontal, {41, 394, 610, 16}, 1);
    ch_nb_colonnes_reel = champ_nombre(this, "ch_nb_colonnes_reel", {188, 421, 37, 22});
    ch_nb_colonnes_affiche = champ_nombre(this, "ch_nb_colonnes_affiche", {29, 421, 24, 22});
    st_nb_colonnes_affiche = etiquette(this, "st_nb_colonnes_affiche",
                                       QStringLiteral("colonnes affichées"), {57, 422, 128, 20});
    st_nb_colonnes_reel =
        etiquette(this, "st_nb_colonnes_reel", QStringLiteral("colonnes dans le fichier"),
                  {229, 422, 169, 20});
    // Each count is announced by the words after it.
    st_nb_colonnes_affiche->setBuddy(ch_nb_colonnes_affiche);
    st_nb_colonnes_reel->setBuddy(ch_nb_colonnes_reel);
    // A caption wider than its place gets a smaller size, in the same face,
    // so the place stays as drawn.
    for (QLabel* l : {st_nb_colonnes_affiche, st_nb_colonnes_reel})
        kit_pages::ajuste_police(l, l->text(), l->width(), kit_pages::resserrement::tailles);
    st_titre1 =
        etiquette(this, "st_titre1", QStringLiteral("Prévisualisation d'un fichier de données"),
                  {10, 7, 621, 30});
    st_titre1->setFont(kit_pages::police(24, true));
    st_titre1->setWordWrap(true);
    QPalette rouge = st_titre1->palette();
    rouge.setColor(QPalette::WindowText, QColor(120, 0, 0));
    st_titre1->setPalette(rouge);
    bt_creer = new QPushButton(QStringLiteral("Créer les code-barres"), this);
    kit_pages::place(bt_creer, QStringLiteral("bt_creer"), {496, 420, 169, 20});
    bt_creer->setFont(kit_pages::police(13, true));
    bt_creer->setDefault(true);
    bt_annuler = new QPushButton(QStringLiteral("Annuler"), this);
    kit_pages::place(bt_annuler, QStringLiteral("bt_annuler"), {404, 420, 80, 20});
    bt_annuler->setFont(kit_pages::police(13, true));
    // Return presses "Annuler" when it has the focus, as in Qt's dialogs.
    bt_annuler->setAutoDefault(true);
    st_explication = etiquette(
        this, "st_explication",
        signes_lies(QStringLiteral(
            "Cet écran montre le contenu du fichier tel que le logiciel le décrypte en fonction de "
            "ses réglages courants. Modifiez ces réglages si vous ne voyez pas les données "
            "correctement rangées en lignes et en colonnes !")),
        {12, 42, 653, 48});
    st_explication->setWordWrap(true);

    // The row numbers widen to the right; the table, its column numbers and
    // its horizontal bar start where they end.
    ancre(lb_index, true, true, true, false, suite_numeros::poussee);
    ancre(lb_lignes, true, true, false, true, suite_numeros::elargie);
    ancre(sb_vertical, false, true, true, true);
    ancre(lb_table, true, true, true, true, suite_numeros::poussee);
    ancre(bt_nb_colonnes_affichees, true, false, false, true);
    ancre(sb_horizontal, true, false, true, true, suite_numeros::poussee);
    for (QWidget* w :
         {static_cast<QWidget*>(ch_nb_colonnes_reel), static_cast<QWidget*>(ch_nb_colonnes_affiche),
          static_cast<QWidget*>(st_nb_colonnes_affiche),
          static_cast<QWidget*>(st_nb_colonnes_reel)})
        ancre(w, true, false, false, true);
    ancre(st_titre1, true, true, false, false);
    ancre(bt_creer, false, false, true, true);
    ancre(bt_annuler, false, false, true, true);
    ancre(st_explication, true, true, false, false);

    modele_table = new modele_previsu(this, false, false);
    modele_index = new modele_previsu(this, true, false);
    modele_lignes = new modele_previsu(this, true, true);
    lb_table->setModel(modele_table);
    lb_index->setModel(modele_index);
    lb_lignes->setModel(modele_lignes);

    connect(bt_nb_colonnes_affichees, &fleches_haut_bas::Up, this,
            &w_previsu_table::bt_nb_colonnes_affichees_Up);
    connect(bt_nb_colonnes_affichees, &fleches_haut_bas::Down, this,
            &w_previsu_table::bt_nb_colonnes_affichees_Down);
    connect(sb_horizontal, &QScrollBar::valueChanged, this,
            &w_previsu_table::sb_horizontal_ValueChanged);
    connect(sb_vertical, &QScrollBar::valueChanged, this,
            &w_previsu_table::sb_vertical_ValueChanged);
    // The row numbers follow the table when it scrolls by itself (keyboard).
    connect(lb_table->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int valeur) {
        lb_lignes->verticalScrollBar()->setValue(valeur);
        sb_vertical->setValue(valeur);
    });
    connect(bt_creer, &QPushButton::clicked, this, &w_previsu_table::bt_creer_Action);
    connect(bt_annuler, &QPushButton::clicked, this, &w_previsu_table::bt_annuler_Action);
    kit_pages::ordre_lecture(this);
}

void w_previsu_table::ancre(QWidget* controle, bool gauche, bool haut, bool droite, bool bas,
                            suite_numeros numeros) {
    ancrages.append({controle, controle->geometry(), gauche, haut, droite, bas, numeros});
}

void w_previsu_table::resizeEvent(QResizeEvent* evenement) {
    place_controles();
    w_secondaire::resizeEvent(evenement);
    maj_barre_verticale();
    maj();
}

void w_previsu_table::place_controles() {
    const int dx = width() - 680;
    const int dy = height() - 460;
    for (const ancrage& a : std::as_const(ancrages)) {
        QRect r = a.origine;
        if (a.numeros == suite_numeros::elargie)
            r.setWidth(r.width() + elargissement_numeros);
        else if (a.numeros == suite_numeros::poussee)
            r.setLeft(r.left() + elargissement_numeros);
        if (a.droite && a.gauche)
            r.setWidth(std::max(0, r.width() + dx));
        else if (a.droite)
            r.moveLeft(r.left() + dx);
        if (a.bas && a.haut)
            r.setHeight(std::max(0, r.height() + dy));
        else if (a.bas)
            r.moveTop(r.top() + dy);
        a.controle->setGeometry(r);
    }
    lb_lignes->setColumnWidth(0, lb_lignes->contentsRect().width());
}

int w_previsu_table::nb_colonnes_table() const {
    return colonnes_;
}

QString w_previsu_table::texte_largeurs() const {
    const int k = std::max(1, sb_horizontal->pageStep());
    const int v = sb_horizontal->value();
    const QString w = largeur_visible(k);
    QStringList largeurs;
    largeurs.reserve(colonnes_);
    for (int j = 1; j <= colonnes_; ++j)
        largeurs.append(j > v && j <= v + k ? w : QStringLiteral("0%"));
    return largeurs.join(u',');
}

void w_previsu_table::applique_largeurs(QTableView* vue, double pourcent) {
    // The list's inside, up to date even while the window is hidden.
    const int total = vue->contentsRect().width();
    const int largeur = static_cast<int>(total * pourcent / 100.0);
    for (int j = 0; j < vue->model()->columnCount(); ++j)
        vue->setColumnWidth(j, largeur);
    vue->horizontalScrollBar()->setValue(0);
}

void w_previsu_table::maj() {
    // The columns of the width text that are not "0%": only those are in the
    // lists' models, each at the width the text gives it.
    const int k = std::max(1, sb_horizontal->pageStep());
    const double pourcent = QStringView(largeur_visible(k)).chopped(1).toDouble();
    const int avant = modele_table->columnCount({});
    for (modele_previsu* modele : {modele_index, modele_table})
        modele->montre_colonnes(sb_horizontal->value(), k);
    // The rows selected stay selected whole when columns come in.
    if (k > avant && lb_table->selectionModel()->hasSelection()) {
        QItemSelection lignes_choisies;
        for (const QItemSelectionRange& plage : lb_table->selectionModel()->selection())
            lignes_choisies.select(modele_table->index(plage.top(), 0),
                                   modele_table->index(plage.bottom(), k - 1));
        lb_table->selectionModel()->select(lignes_choisies, QItemSelectionModel::Select);
    }
    applique_largeurs(lb_index, pourcent);
    applique_largeurs(lb_table, pourcent);
    ch_nb_colonnes_affiche->setText(QString::number(sb_horizontal->pageStep()));
    lb_index->viewport()->update();
    lb_table->viewport()->update();
}

void w_previsu_table::maj_barre_verticale() {
    // Rows that fit, at least one; the range never goes below 0, whatever the
    // window's size or the number of records.
    const int r = std::max(1, lb_lignes->height() / hauteur_ligne);
    sb_vertical->setPageStep(r);
    sb_vertical->setMaximum(std::max(0, static_cast<int>(lignes_.size()) - r));
}

bool w_previsu_table::afficher_questionner(const QStringList& lignes, int nb_colonnes,
                                           QWidget* roue) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    retour_operateur.clear();
    lignes_ = lignes;
    int widest = 0;
    for (const QString& ligne : std::as_const(lignes_))
        widest = std::max(widest, static_cast<int>(ligne.count(u'\t')) + 1);
    colonnes_ = std::max({1, nb_colonnes, widest});

    // The fields on show of one record are kept, as the view asks for a
    // row's cells one by one.
    struct champs_montres {
        int ligne = -1, premiere = -1, nombre = 0;
        QStringList champs;
    };
    auto derniers = std::make_shared<champs_montres>();
    modele_table->remplace(
        static_cast<int>(lignes_.size()), 0, [this, derniers](int ligne, int colonne) {
            const int premiere = modele_table->premiere();
            const int nombre = modele_table->columnCount({});
            if (derniers->ligne != ligne || derniers->premiere != premiere ||
                derniers->nombre != nombre)
                *derniers = {ligne, premiere, nombre, champs(lignes_.at(ligne), premiere, nombre)};
            return derniers->champs.value(colonne - premiere);
        });
    modele_lignes->remplace(static_cast<int>(lignes_.size()), 1,
                            [](int ligne, int) { return QString::number(ligne + 1); });
    modele_index->remplace(1, 0, [](int, int colonne) { return QString::number(colonne + 1); });
    // The row numbers as wide as the last one needs, never narrower than drawn.
    elargissement_numeros = std::max(0, largeur_pour(lb_lignes, QString::number(lignes_.size())) -
                                            largeur_numeros_dessinee);
    place_controles();
    lb_table->scrollToTop();
    lb_lignes->scrollToTop();
    lb_table->clearSelection();

    maj_barre_verticale();
    sb_vertical->setValue(0);
    const int k = colonnes_ > 4 ? 4 : colonnes_;
    sb_horizontal->setPageStep(k);
    sb_horizontal->setValue(0);
    sb_horizontal->setMaximum(colonnes_ - k);
    ch_nb_colonnes_reel->setText(QString::number(nb_colonnes));
    maj();
    QApplication::restoreOverrideCursor();
    if (roue)
        roue->hide();
    montrer_modale(2);
    // Nothing of the records stays with the hidden window: the caller alone
    // keeps them while the run goes on.
    modele_table->remplace(0, 0, {});
    modele_lignes->remplace(0, 1, {});
    modele_index->remplace(0, 0, {});
    lignes_ = QStringList();
    return retour_operateur == bt_creer->objectName();
}

void w_previsu_table::bt_nb_colonnes_affichees_Up() {
    const int k = sb_horizontal->pageStep();
    if (k >= colonnes_) {
        bibliotheque_v1::bip(1);
        return;
    }
    sb_horizontal->setPageStep(k + 1);
    sb_horizontal->setMaximum(colonnes_ - (k + 1));
    maj();
}

void w_previsu_table::bt_nb_colonnes_affichees_Down() {
    const int k = sb_horizontal->pageStep();
    if (k <= 1) {
        bibliotheque_v1::bip(1);
        return;
    }
    sb_horizontal->setPageStep(k - 1);
    sb_horizontal->setMaximum(colonnes_ - (k - 1));
    maj();
}

void w_previsu_table::sb_horizontal_ValueChanged() {
    maj();
}

void w_previsu_table::sb_vertical_ValueChanged() {
    lb_table->verticalScrollBar()->setValue(sb_vertical->value());
    lb_lignes->verticalScrollBar()->setValue(sb_vertical->value());
}

void w_previsu_table::bt_creer_Action() {
    retour_operateur = bt_creer->objectName();
    hide();
}

void w_previsu_table::bt_annuler_Action() {
    hide();
}
