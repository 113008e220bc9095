#include "ksp_partagees.h"

#include <QStringDecoder>
#include <gtest/gtest.h>

namespace {

valdorin::tableau_code_barres fiche(const QString& entete_prix, const QString& commentaire) {
    return {"L", "12345", "42", "0", entete_prix, "150", "CB", "P", "4", "A", "=", "", commentaire};
}

const QString champs12 = "L\t12345\t42\t0\tPrix\t150\tCB\tP\t4\tA\t=\tNom_du_fichier_a_obtenir";

} // namespace

TEST(ksp_partagees, champs_et_echappements) {
    struct cas {
        QChar delimiteur;
        bool previsu;
        QString entete_prix;
        QString commentaire;
        QString attendu; // TAB stands for the delimiter
    };
    const QList<cas> table = {
        {u'\t', false, "Prix", "ignoré", champs12},
        {u'\t', true, "Prix", "", champs12 + "\t"},
        {u'\t', true, "Prix", "a\rb\nc\r\nd", champs12 + "\ta<CR>b<CR>c<CR>d"},
        {u'|', true, "Prix", "un \"mot\"", champs12 + "\tun \"mot\""},
        {u';', true, "Prix", "a;\"b\"", champs12 + "\t\"a;\"\"b\"\"\""},
        {u',', true, "Prix", "a\rb", champs12 + "\t\"a\rb\""},
        {u',', true, "Prix", "a\nb", champs12 + "\t\"a\nb\""},
        {u',', false, "1,50 €", "", QString(champs12).replace("Prix", "\"1,50 €\"")},
    };
    for (const cas& c : table) {
        const auto r = ksp_partagees::contenu_fichier_donnees(
            fiche(c.entete_prix, c.commentaire), c.previsu, c.delimiteur, ksp_partagees::utf8, {});
        EXPECT_TRUE(r.refus.isEmpty()) << r.refus.toStdString();
        EXPECT_EQ(QString::fromUtf8(r.octets), QString(c.attendu).replace(u'\t', c.delimiteur))
            << c.commentaire.toStdString();
    }
}

TEST(ksp_partagees, refus) {
    struct cas {
        QChar delimiteur;
        int codage;
        QString entete_prix;
        QString commentaire;
        QString message;
    };
    const QList<cas> table = {
        {u'\t', ksp_partagees::utf8, "Prix\tTTC", "", "La colonne 5 contient"},
        {u'|', ksp_partagees::utf8, "Prix|TTC", "", "La colonne 5 contient"},
        {u'|', ksp_partagees::utf8, "Prix", "a|b", "La colonne 13 contient"},
        {u';', ksp_partagees::utf8, "Prix", "a\tb", "La colonne 13 contient"},
        {u'\t', ksp_partagees::ascii, "Prix", "été",
         "Le codage Ascii ne permet pas d'enregistrer le caractère «\u00A0é\u00A0» !"},
        {u'\t', ksp_partagees::windows_ansi, "Prix", "ŝ€ŝ☃",
         "Le codage Windows ANSI ne permet pas d'enregistrer les caractères «\u00A0ŝ\u00A0», "
         "«\u00A0☃\u00A0» !"},
    };
    for (const cas& c : table) {
        const auto r = ksp_partagees::contenu_fichier_donnees(fiche(c.entete_prix, c.commentaire),
                                                              true, c.delimiteur, c.codage, {});
        EXPECT_TRUE(r.octets.isEmpty());
        EXPECT_TRUE(r.refus.startsWith(c.message)) << r.refus.toStdString();
        EXPECT_TRUE(r.refus.endsWith("\r\rEnregistrement annulé !"));
    }
}

TEST(ksp_partagees, codages_et_entete) {
    const QByteArray xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><valdorin><a>é</a></valdorin>";
    const auto utf16 = ksp_partagees::contenu_fichier_donnees(fiche("Prix", "é"), true, u'\t',
                                                              ksp_partagees::utf16, xml);
    ASSERT_TRUE(utf16.refus.isEmpty());
    EXPECT_TRUE(utf16.octets.startsWith("\xFE\xFF\0<\0?\0x"));
    const QString texte16 = QStringDecoder(QStringConverter::Utf16BE).decode(utf16.octets.mid(2));
    EXPECT_TRUE(texte16.startsWith("<?xml version=\"1.0\" encoding=\"UTF-16\"?>"));
    EXPECT_TRUE(texte16.endsWith("</valdorin>\n" + champs12 + "\té"));

    const auto mac = ksp_partagees::contenu_fichier_donnees(fiche("Prix", "é"), true, u'\t',
                                                            ksp_partagees::mac_roman, xml);
    EXPECT_TRUE(mac.octets.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    EXPECT_TRUE(mac.octets.contains("<a>&#233;</a></valdorin>\n"));
    EXPECT_TRUE(mac.octets.endsWith("\t\x8E"));
    const auto sans = ksp_partagees::contenu_fichier_donnees(fiche("Prix", "é"), true, u'\t',
                                                             ksp_partagees::utf8, {});
    EXPECT_TRUE(sans.octets.startsWith("L\t12345"));
    EXPECT_FALSE(sans.octets.endsWith("\n"));
}
