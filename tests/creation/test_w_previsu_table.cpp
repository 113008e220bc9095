#include "w_previsu_table.h"

#include "repondeur.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Shows `lignes`, runs `pendant` on the window once it is on screen, then
// presses `bouton` (nullptr: the close box).
bool montre(const QStringList& lignes, int colonnes, std::function<void(w_previsu_table&)> pendant,
            const char* bouton) {
    repondeur::garde garde;
    repondeur::quand_visible([pendant, bouton](QWidget* fenetre) {
        auto& f = *qobject_cast<w_previsu_table*>(fenetre);
        pendant(f);
        if (bouton)
            f.findChild<QPushButton*>(bouton)->click();
        else
            f.close();
    });
    return w_previsu_table::instance().afficher_questionner(lignes, colonnes, nullptr);
}

} // namespace

TEST(w_previsu_table, colonnes_et_fleches) {
    struct cas {
        int colonnes;
        QStringList haut_bas; // arrows pressed in order ("+" up, "-" down)
        QString largeurs;
        int maximum;
    };
    const QList<cas> table = {
        {3, {}, "33.3333%,33.3333%,33.3333%", 0},
        {3, {"-"}, "50%,50%,0%", 1},
        {10, {}, "25%,25%,25%,25%,0%,0%,0%,0%,0%,0%", 6},
        {10, {"+", "+", "+", "+", "+", "+"}, "10%,10%,10%,10%,10%,10%,10%,10%,10%,10%", 0},
        {2, {"-", "-"}, "100%,0%", 1},
        {0, {}, "100%", 0}, // no column at all still shows one
    };
    for (const cas& c : table) {
        QStringList lignes;
        for (int i = 0; i < 50; ++i)
            lignes.append(QStringList(c.colonnes, QStringLiteral("x")).join(u'\t'));
        const bool oui = montre(
            lignes, c.colonnes,
            [&c](w_previsu_table& f) {
                for (const QString& sens : c.haut_bas)
                    sens == u"+" ? f.bt_nb_colonnes_affichees_Up()
                                 : f.bt_nb_colonnes_affichees_Down();
                EXPECT_EQ(f.texte_largeurs(), c.largeurs) << c.colonnes;
                EXPECT_EQ(f.sb_horizontal->maximum(), c.maximum) << c.colonnes;
                EXPECT_EQ(f.ch_nb_colonnes_reel->text(), QString::number(c.colonnes));
            },
            "bt_creer");
        EXPECT_TRUE(oui);
    }
}

// The lists hold the columns on show, their fields and numbers under them, at
// the width the width text gives; a record shorter than the columns on show
// leaves them empty. The rows selected stay selected as the columns change.
TEST(w_previsu_table, colonnes_montrees_sous_leurs_numeros) {
    QStringList champs;
    for (int j = 1; j <= 10; ++j)
        champs.append(QStringLiteral("c%1").arg(j));
    const QStringList lignes = {champs.join(u'\t'), "c1\tc2\tc3\tc4\tc5\tc6\tc7", "", "\t\t"};
    struct cas {
        int valeur;                   // of the horizontal bar, once the arrows are pressed
        QStringList haut_bas;         // "+" up, "-" down
        QStringList premiere, courte; // cells of the first record and of the second
        QStringList numeros;
    };
    const QList<cas> table = {
        {0, {}, {"c1", "c2", "c3", "c4"}, {"c1", "c2", "c3", "c4"}, {"1", "2", "3", "4"}},
        {6, {}, {"c7", "c8", "c9", "c10"}, {"c7", "", "", ""}, {"7", "8", "9", "10"}},
        {8, {"-", "-"}, {"c9", "c10"}, {"", ""}, {"9", "10"}},
        {3,
         {"+"},
         {"c4", "c5", "c6", "c7", "c8"},
         {"c4", "c5", "c6", "c7", ""},
         {"4", "5", "6", "7", "8"}},
    };
    for (const cas& c : table) {
        montre(
            lignes, 10,
            [&c](w_previsu_table& f) {
                f.lb_table->selectRow(1);
                for (const QString& sens : c.haut_bas)
                    sens == u"+" ? f.bt_nb_colonnes_affichees_Up()
                                 : f.bt_nb_colonnes_affichees_Down();
                f.sb_horizontal->setValue(c.valeur);
                const QAbstractItemModel* m = f.lb_table->model();
                ASSERT_EQ(m->columnCount(), c.premiere.size()) << c.valeur;
                ASSERT_EQ(f.lb_index->model()->columnCount(), c.premiere.size()) << c.valeur;
                const QString largeur = f.texte_largeurs().split(u',').value(c.valeur);
                const int attendue = static_cast<int>(f.lb_table->contentsRect().width() *
                                                      largeur.chopped(1).toDouble() / 100.0);
                for (int j = 0; j < c.premiere.size(); ++j) {
                    EXPECT_EQ(m->index(0, j).data().toString(), c.premiere[j]) << c.valeur;
                    EXPECT_EQ(m->index(1, j).data().toString(), c.courte[j]) << c.valeur;
                    EXPECT_EQ(m->index(2, j).data().toString(), "") << c.valeur;
                    EXPECT_EQ(f.lb_index->model()->index(0, j).data().toString(), c.numeros[j]);
                    EXPECT_EQ(f.lb_table->columnWidth(j), attendue) << c.valeur;
                    EXPECT_EQ(f.lb_index->columnWidth(j), attendue) << c.valeur;
                }
                EXPECT_EQ(f.lb_table->selectionModel()->selectedRows().size(), 1);
                EXPECT_TRUE(f.lb_table->selectionModel()->isRowSelected(1));
            },
            "bt_annuler");
    }
}

TEST(w_previsu_table, cellules_reponses_et_barres) {
    const QStringList lignes = {"a\tb\tc", "", "d"};
    // A long file fits the window at once; the vertical bar stays in range
    // when the window grows beyond the records.
    EXPECT_FALSE(montre(
        lignes, 3,
        [](w_previsu_table& f) {
            const QAbstractItemModel* m = f.lb_table->model();
            EXPECT_EQ(m->rowCount(), 3);
            EXPECT_EQ(m->index(0, 2).data().toString(), "c");
            EXPECT_EQ(m->index(1, 0).data().toString(), "");
            EXPECT_EQ(m->index(2, 1).data().toString(), "");
            EXPECT_EQ(f.lb_lignes->model()->index(2, 0).data().toString(), "3");
            EXPECT_EQ(f.lb_index->model()->index(0, 2).data().toString(), "3");
            f.resize(680, 900);
            EXPECT_EQ(f.sb_vertical->minimum(), 0);
            EXPECT_EQ(f.sb_vertical->maximum(), 0);
            f.resize(680, 460);
        },
        "bt_annuler"));
    const auto rien = [](w_previsu_table&) {};
    EXPECT_FALSE(montre(lignes, 3, rien, nullptr));
    QStringList longues(100000, QStringLiteral("1\t2"));
    EXPECT_TRUE(montre(
        longues, 2,
        [](w_previsu_table& f) {
            EXPECT_EQ(f.sb_vertical->maximum(), 100000 - f.sb_vertical->pageStep());
            f.sb_vertical->setValue(500);
            EXPECT_EQ(f.lb_table->verticalScrollBar()->value(), 500);
            EXPECT_EQ(f.lb_lignes->verticalScrollBar()->value(), 500);
        },
        "bt_creer"));
    // Each showing answers for itself.
    EXPECT_FALSE(montre(lignes, 3, rien, "bt_annuler"));
}

// Once closed, the window keeps nothing of the records: the run that goes on
// holds them alone, and frees them when it ends.
TEST(w_previsu_table, ne_garde_aucun_enregistrement_une_fois_fermee) {
    QStringList lignes;
    for (int i = 0; i < 1000; ++i)
        lignes.append(QStringLiteral("%1\tx").arg(i));
    EXPECT_TRUE(montre(
        lignes, 2, [&lignes](w_previsu_table&) { EXPECT_FALSE(lignes.isDetached()); }, "bt_creer"));
    EXPECT_TRUE(lignes.isDetached());
    EXPECT_EQ(w_previsu_table::instance().lb_table->model()->rowCount(), 0);
}

// However many records, the last row's number shows whole: its cell, as far
// as neither the list's edge nor the table hides it, holds the number and the
// margins a cell leaves round its text.
TEST(w_previsu_table, numero_de_la_derniere_ligne_entier) {
    for (int nombre : {1200, 120000, 3}) {
        montre(
            QStringList(nombre, QStringLiteral("1\t2")), 2,
            [nombre](w_previsu_table& f) {
                const QTableView* numeros = f.lb_lignes;
                const int marge =
                    numeros->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, numeros) +
                    1;
                const int besoin =
                    numeros->fontMetrics().horizontalAdvance(QString::number(nombre)) + 2 * marge;
                const QRect cellule = numeros->visualRect(numeros->model()->index(nombre - 1, 0));
                const int gauche = numeros->viewport()->mapTo(&f, cellule.topLeft()).x();
                const int droite = std::min(
                    {gauche + cellule.width(), f.lb_table->x(),
                     numeros->viewport()->mapTo(&f, QPoint()).x() + numeros->viewport()->width()});
                EXPECT_GE(droite - gauche, besoin) << nombre;
            },
            "bt_annuler");
    }
}

// The name of the control that has the focus.
QString focus() {
    const QWidget* controle = QApplication::focusWidget();
    return controle ? controle->objectName() : QStringLiteral("(aucun)");
}

// Tab and Shift+Tab leave the table for the window's other controls, and come
// back to it; the arrow keys move in it. Return on the focused "Annuler"
// cancels.
TEST(w_previsu_table, tabulation_fleches_et_retour) {
    // The window comes up over the one in front, as over the batch page.
    QWidget devant;
    devant.show();
    devant.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&devant));
    QStringList chaine;
    EXPECT_FALSE(montre(
        {"a\tb", "c\td", "e\tf"}, 2,
        [&](w_previsu_table& f) {
            ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
            f.lb_table->setFocus(Qt::TabFocusReason);
            f.lb_table->setCurrentIndex(f.lb_table->model()->index(0, 0));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
            EXPECT_EQ(f.lb_table->currentIndex().row(), 1);
            for (int pas = 0; pas < 5; ++pas) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                chaine.append(focus());
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            EXPECT_EQ(focus(), "bt_creer");
            EXPECT_EQ(f.lb_table->currentIndex().row(), 1) << "Tab leaves the cell as it was";
            f.bt_annuler->setFocus(Qt::TabFocusReason);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            EXPECT_FALSE(f.isVisible());
        },
        nullptr));
    EXPECT_EQ(chaine.join(' ').toStdString(),
              "ch_nb_colonnes_affiche ch_nb_colonnes_reel bt_annuler bt_creer lb_table");
}
