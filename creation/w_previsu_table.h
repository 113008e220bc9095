#pragma once

#include "w_secondaire.h"

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTableView;
class QToolButton;
class QWidget;
class modele_previsu;

// A pair of small up and down arrows, one above the other.
class fleches_haut_bas : public QWidget {
    Q_OBJECT
public:
    explicit fleches_haut_bas(QWidget* parent = nullptr);

    QToolButton* haut;
    QToolButton* bas;

signals:
    void Up();
    void Down();

protected:
    void resizeEvent(QResizeEvent* evenement) override;
};

// The modal window that shows a data file as the reader decoded it, one record
// per row and one field per column, before any barcode file is made. The table
// is a view over the records (no widget per cell) that holds only the columns
// on show, so a very long file, or a record of very many fields, shows at
// once. A few columns are visible at a time: the horizontal bar picks the
// first one, the arrows how many.
class w_previsu_table : public w_secondaire {
    Q_OBJECT
public:
    // The one instance, created on first use.
    static w_previsu_table& instance();

    // Fills the window with `lignes` (fields joined by TAB), shows it modally
    // and answers true when "Créer les code-barres" ended the showing.
    // `nb_colonnes` is the reader's widest record; `roue` (may be null) is the
    // caller's busy wheel, hidden just before the window shows.
    bool afficher_questionner(const QStringList& lignes, int nb_colonnes, QWidget* roue);

    // The name of the button that ended the showing: "bt_creer", else "".
    QString retour_operateur;

    QTableView* lb_index;
    QTableView* lb_lignes;
    QScrollBar* sb_vertical;
    QTableView* lb_table;
    fleches_haut_bas* bt_nb_colonnes_affichees;
    QScrollBar* sb_horizontal;
    QLineEdit* ch_nb_colonnes_reel;
    QLineEdit* ch_nb_colonnes_affiche;
    QLabel* st_nb_colonnes_affiche;
    QLabel* st_nb_colonnes_reel;
    QLabel* st_titre1;
    QPushButton* bt_creer;
    QPushButton* bt_annuler;
    QLabel* st_explication;

    // Column count of the table: the widest record, never less than 1.
    int nb_colonnes_table() const;
    // The width text of the columns: one percentage per column, "0%" for the
    // hidden ones, separated by commas.
    QString texte_largeurs() const;

    void bt_nb_colonnes_affichees_Up();
    void bt_nb_colonnes_affichees_Down();
    void sb_horizontal_ValueChanged();
    void sb_vertical_ValueChanged();
    void bt_creer_Action();
    void bt_annuler_Action();

protected:
    void resizeEvent(QResizeEvent* evenement) override;

private:
    w_previsu_table();

    // Places the controls for the window's size and the width of the row numbers.
    void place_controles();
    // Applies the width text and shows the visible-column count.
    void maj();
    // Rows that fit in the row-number list; the vertical bar's range from it.
    void maj_barre_verticale();
    // Gives each column of the list `pourcent` of its width.
    void applique_largeurs(QTableView* vue, double pourcent);

    // How a control follows the row-number list when it widens: not at all, by
    // widening with it, or by giving up the width on its left.
    enum class suite_numeros { aucune, elargie, poussee };
    // A control and the window edges it keeps its distance to.
    struct ancrage {
        QWidget* controle;
        QRect origine;
        bool gauche, haut, droite, bas;
        suite_numeros numeros;
    };
    void ancre(QWidget* controle, bool gauche, bool haut, bool droite, bool bas,
               suite_numeros numeros = suite_numeros::aucune);
    QList<ancrage> ancrages;
    // Width added to the row-number list so that the last number shows whole.
    int elargissement_numeros = 0;

    modele_previsu* modele_table;
    modele_previsu* modele_index;
    modele_previsu* modele_lignes;
    QStringList lignes_;
    int colonnes_ = 1;
};
