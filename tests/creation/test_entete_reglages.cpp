#include "entete_reglages.h"

#include "outils_donnees.h"
#include "xml_parametres.h"

#include <QDir>
#include <QTemporaryFile>
#include <gtest/gtest.h>

namespace {

const QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><valdorin>"
                       "<multiples_popup_codage>4</multiples_popup_codage></valdorin>";

const QByteArray cite = "\"" + QByteArray(xml).replace("\"", "\"\"") + "\"";

// A one-line settings document of `taille` bytes, its declaration naming `codage`.
QByteArray document(qint64 taille, const char* codage = "UTF-8") {
    const QByteArray debut =
        QByteArray("<?xml version=\"1.0\" encoding=\"") + codage + "\"?><valdorin><k>";
    return debut + QByteArray(taille - debut.size() - 15, 'v') + "</k></valdorin>";
}

} // namespace

// A header of over 1 MiB once read is not kept; the records after it are copied.
TEST(entete_reglages, reconnaissance_et_copie) {
    using entete_reglages::issue;
    constexpr qint64 mio = parametres_v1::taille_maximale_document;
    struct cas {
        QByteArray fichier;
        issue attendu;
        QString xml;
        QByteArray copie;
    };
    const QByteArray enregistrements = "a\tb\r\nc\td";
    const QList<cas> table = {
        {"<?", issue::sans_entete, "", ""},
        {xml + "\r\n" + enregistrements, issue::entete, xml, enregistrements},
        {xml + "\r" + enregistrements, issue::entete, xml, enregistrements},
        {xml + "\n", issue::entete, xml, ""},
        {xml, issue::entete, xml, ""},
        {"\xEF\xBB\xBF" + xml + "\n" + enregistrements, issue::sans_entete, "", ""},
        {"a;b\n" + xml, issue::sans_entete, "", ""},
        {"\xFE\xFF" + outils_donnees::utf16(QString(xml).replace("UTF-8", "UTF-16") + "\n") +
             outils_donnees::utf16("x\ty"),
         issue::entete, xml, outils_donnees::utf16("x\ty")},
        // Only the declaration names the encoding: a value is left as it is.
        {"\xFE\xFF" +
             outils_donnees::utf16("<?xml version=\"1.0\"?><valdorin><a>UTF-16</a></valdorin>\n"),
         issue::entete, "<?xml version=\"1.0\"?><valdorin><a>UTF-16</a></valdorin>", ""},
        {"\xFF\xFE" + outils_donnees::utf16(xml + "\n", false), issue::sans_entete, "", ""},
        // Saved again by a spreadsheet (its quotes doubled): a record when
        // another field follows the cell.
        {"\xFE\xFF" + outils_donnees::utf16(QString(cite).replace("UTF-8", "UTF-16") + ";;\n"),
         issue::entete, xml, ""},
        {cite + ";x\n" + enregistrements, issue::sans_entete, "", ""},
        {document(mio) + "\r\n" + enregistrements, issue::entete, document(mio), enregistrements},
        {document(10 * mio) + "\r" + enregistrements, issue::entete, "", enregistrements},
        // In UTF-16, named back UTF-8: 1 MiB once read.
        {"\xFE\xFF" + outils_donnees::utf16(document(mio + 1, "UTF-16") + "\r\nx\ty"),
         issue::entete, document(mio), outils_donnees::utf16("x\ty")},
    };
    for (const cas& c : table) {
        QTemporaryFile copie;
        ASSERT_TRUE(copie.open());
        QString texte;
        EXPECT_EQ(entete_reglages::extrait(outils_donnees::fichier(c.fichier), texte, copie),
                  c.attendu)
            << c.fichier.toStdString();
        EXPECT_EQ(texte, c.xml);
        copie.seek(0);
        EXPECT_EQ(copie.readAll(), c.copie) << c.fichier.toStdString();
    }
    QTemporaryFile copie;
    ASSERT_TRUE(copie.open());
    QString texte;
    EXPECT_EQ(entete_reglages::extrait(QDir(test_support::dossier_test()).filePath("absent"), texte,
                                       copie),
              issue::illisible);
}
