#include "csp_creer_plusieurs.h"

#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

const QStringList v2 = {"A", "12345", "678", "9", "Prix", "250", "CB", "P", "4", "A", "=", "nom"};
const QStringList v1 = {"12345", "250", "678", "LM", "PA", "5", "3", "A", "CB", "P"};

QStringList change(QStringList champs, int colonne, const QString& valeur) {
    champs[colonne - 1] = valeur;
    return champs;
}

} // namespace

TEST(Parseurs, EachFaultNamesItsColumn) {
    csp_creer_plusieurs page;
    const QString invalide = "présence d'un caractère invalide pour un nom de fichier";
    const struct {
        bool v1;
        QStringList champs;
        QString attendu;
    } cas[] = {
        {false, change(v2, 2, "123456"), "2, nombre de chiffres supérieur à 5"},
        {false, change(v2, 8, "p"), "8, présence d'un caractère autre que majuscule"},
        {false, change(v2, 8, "X"), "8, présence d'un caractère autre que EP"},
        {false, change(v2, 8, ""), "8, nombre de majuscules différent de 1"},
        {false, change(v2, 12, ""), "12, nombre de caractères inférieur à 1"},
        {false, change(v2, 12, QString(51, u'n')), "12, nombre de caractères supérieur à 50"},
        {false, change(v2, 12, "a/b"), "12, " + invalide},
        // No name may leave the result folder or hold a NUL.
        {false, change(v2, 12, "a" + QString(QChar(0)) + "b"), "12, " + invalide},
        {true, change(change(v1, 6, "31"), 7, "4"), "6, numéro de jour invalide"},
        {true, change(v1, 7, "13"), "7, numéro de mois invalide"},
        {true, change(change(v1, 6, "32"), 7, "13"), "7, numéro de mois invalide"},
        {true, v1 + QStringList{"x"}, "11, présence d'un caractère autre que =<>"},
        {true, change(change(v1, 6, "29"), 7, "2"), ""},
    };
    for (const auto& c : cas) {
        valdorin::tableau_code_barres t;
        EXPECT_EQ(c.v1 ? page.parse_format_v1(c.champs, t) : page.parse_format_v2(c.champs, t),
                  c.attendu)
            << c.champs.join(u'|').toStdString();
    }
    // With no extension, "." and ".." would name the folder or its parent.
    page.ch_ext_eps->setText("");
    for (const QString nom : {".", ".."}) {
        valdorin::tableau_code_barres t;
        EXPECT_EQ(page.parse_format_v2(change(change(v2, 8, "E"), 12, nom), t),
                  "12, nom de fichier invalide");
    }
    // An extension that came round the field's check.
    page.ch_ext_eps->setText("/../x");
    valdorin::tableau_code_barres t;
    EXPECT_EQ(page.parse_format_v2(change(v2, 8, "E"), t), "12, " + invalide);
    EXPECT_EQ(page.parse_format_v1(change(v1, 10, "E"), t), "10, " + invalide);
    page.ch_ext_eps->setText(".\u202Eeps");
    EXPECT_EQ(page.parse_format_v2(change(v2, 8, "E"), t), "12, " + invalide);
}

TEST(Parseurs, AFormatV2RecordFillsTheArrayAndThePreviewFlag) {
    csp_creer_plusieurs page;
    valdorin::tableau_code_barres t;
    ASSERT_EQ(page.parse_format_v2(change(v2, 4, "") + QStringList{"un<CR>deux"}, t), "");
    EXPECT_EQ(t, (valdorin::tableau_code_barres{"A", "12345", "678", "0", "Prix", "250", "CB", "P",
                                                "4", "A", "=", "nom.pdf", "un\rdeux"}));
    EXPECT_TRUE(valdorin::previsu_presence);

    valdorin::tableau_code_barres eps;
    ASSERT_EQ(page.parse_format_v2(change(v2, 8, "E") + QStringList{"01234567890123456789"}, eps),
              "");
    EXPECT_EQ(eps[valdorin::entree_nom_fichier], "nom.eps");
    EXPECT_EQ(eps[valdorin::entree_commentaire], "01234567890123");
    // Fourteen characters: one outside the BMP in 14th place stays whole.
    ASSERT_EQ(
        page.parse_format_v2(change(v2, 8, "E") + QStringList{"Été 2024 n°12\U0001F600xyz"}, eps),
        "");
    EXPECT_EQ(eps[valdorin::entree_commentaire], "Été 2024 n°12😀");

    valdorin::tableau_code_barres sans;
    ASSERT_EQ(page.parse_format_v2(v2, sans), "");
    EXPECT_FALSE(valdorin::previsu_presence);
    EXPECT_EQ(sans[valdorin::entree_commentaire], "");
    ASSERT_EQ(page.parse_format_v2(v2 + QStringList{""}, sans), "");
    EXPECT_TRUE(valdorin::previsu_presence);
}

TEST(Parseurs, AFormatV1RecordBuildsItsNameAndCommentFromTheEditionColumns) {
    csp_creer_plusieurs page;
    valdorin::tableau_code_barres t;
    ASSERT_EQ(page.parse_format_v1(v1, t), "");
    EXPECT_EQ(t, (valdorin::tableau_code_barres{
                     "A", "12345", "678", "0", "", "250", "CB", "P", "4", "A", "=", "LMPA0503.pdf",
                     "Titre : LM\rÉdition : PA\rDate de l'édition : 5 mars"}));
    EXPECT_TRUE(valdorin::previsu_presence);

    valdorin::tableau_code_barres eps;
    ASSERT_EQ(page.parse_format_v1(change(v1, 10, "E") + QStringList{""}, eps), "");
    EXPECT_EQ(eps[valdorin::entree_nom_fichier], "LMPA0503.eps");
    EXPECT_EQ(eps[valdorin::entree_commentaire], eps[valdorin::entree_nom_fichier]);
    EXPECT_EQ(eps[valdorin::entree_orientation], "=");
}
