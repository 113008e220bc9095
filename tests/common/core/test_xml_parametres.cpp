#include "dictionnaire_parametres.h"
#include "environnement.h"
#include "limite_fichiers.h"
#include "outils_parametres.h"
#include "rapports.h"
#include "xml_parametres.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <cerrno>
#include <random>

#include <sys/stat.h>

using parametres_v1::dictionnaire;
using parametres_v1::dictionnaire_parametres;

using namespace outils_parametres;

namespace {

// Whether Qt's reader finds a whole, well-formed document whose root "valdorin"
// holds at least one element.
bool document_de_reglages(const QString& texte) {
    QXmlStreamReader lecteur(texte);
    if (!lecteur.readNextStartElement() || lecteur.name() != QStringLiteral("valdorin"))
        return false;
    int enfants = 0;
    while (lecteur.readNextStartElement()) {
        lecteur.skipCurrentElement();
        ++enfants;
    }
    while (!lecteur.atEnd())
        lecteur.readNext();
    return !lecteur.hasError() && enfants > 0;
}

} // namespace

TEST_F(FichiersParametres, DocumentIsOneUtf8LineWithDeclarationAndOneChildPerEntry) {
    dictionnaire_parametres->insert("unique_ch_prix", "150");
    dictionnaire_parametres->insert("globale_aide", true);
    dictionnaire_parametres->insert("multiples_cb_log", false);
    dictionnaire_parametres->insert("unique_ch_commentaire", "");
    dictionnaire_parametres->insert("", "sans clef");
    dictionnaire_parametres->insert("unique_ch_reglement", QString::fromUtf8("Espèces <&> \"x\""));

    const auto document = parametres_v1::cree_xml();
    ASSERT_TRUE(document);
    EXPECT_TRUE(document->startsWith(entete));
    EXPECT_FALSE(document->contains('\n'));
    EXPECT_FALSE(document->contains('\r'));
    EXPECT_TRUE(document->contains("<globale_aide>true</globale_aide>"));
    EXPECT_TRUE(document->contains("<multiples_cb_log>false</multiples_cb_log>"));
    EXPECT_TRUE(document->contains("<unique_ch_prix>150</unique_ch_prix>"));
    EXPECT_FALSE(document->contains("ch_commentaire")); // empty value left out
    EXPECT_FALSE(document->contains("sans clef"));      // empty key left out
    EXPECT_TRUE(document->contains(QString::fromUtf8("Espèces &lt;&amp;&gt;").toUtf8()));

    // A real reader sees one root "valdorin" with four children.
    QXmlStreamReader lecteur(*document);
    ASSERT_TRUE(lecteur.readNextStartElement());
    EXPECT_EQ(lecteur.name(), QStringLiteral("valdorin"));
    EXPECT_TRUE(lecteur.attributes().isEmpty());
    int enfants = 0;
    while (lecteur.readNextStartElement()) {
        lecteur.skipCurrentElement();
        ++enfants;
    }
    EXPECT_FALSE(lecteur.hasError());
    EXPECT_EQ(enfants, 4);
}

TEST_F(FichiersParametres, WhatTheWriterProducesReadsBack) {
    const QString lignes = "\uFEFFun\r\ndeux\rtrois\nquatre\t<cinq> & \"six\" 'sept' é€\uFEFF𝄞";
    dictionnaire_parametres->insert("unique_ch_commentaire", lignes);
    // Characters that XML cannot hold are dropped instead of spoiling the file.
    dictionnaire_parametres->insert("unique_ch_transporteur", QString("a") + QChar(1) + "b" +
                                                                  QChar(0x1B) + QChar(0xFFFF) +
                                                                  "c");
    // A key that cannot name an element is left out; the others are written.
    dictionnaire_parametres->insert("1 mauvaise clef", "x");
    dictionnaire_parametres->insert("onglets_contenu", "0,1,4");

    test_support::rapports rapports;
    const auto document = parametres_v1::cree_xml();
    ASSERT_TRUE(document);
    EXPECT_FALSE(document->contains('\n'));

    dictionnaire_parametres = dictionnaire();
    EXPECT_EQ(parametres_v1::importe_xml_preferences(QString(), QString::fromUtf8(*document)), 3);
    EXPECT_EQ(dictionnaire_parametres->value("unique_ch_commentaire").toString(), lignes);
    EXPECT_EQ(dictionnaire_parametres->value("unique_ch_transporteur").toString(), "abc");
    EXPECT_EQ(dictionnaire_parametres->value("onglets_contenu").toString(), "0,1,4");
    EXPECT_FALSE(dictionnaire_parametres->contains("1 mauvaise clef"));
}

TEST_F(FichiersParametres, WithoutDictionaryNothingIsWrittenAndTheOldFileStaysWhole) {
    const QString chemin = test_support::dossier_test() + "/etat.valdorin";
    ecrit(chemin, "ancien contenu");
    dictionnaire_parametres.reset();
    test_support::rapports rapports;
    EXPECT_FALSE(parametres_v1::cree_xml());
    EXPECT_FALSE(parametres_v1::exporte_xml(chemin));
    EXPECT_EQ(lit(chemin), "ancien contenu");
    ASSERT_FALSE(rapports.textes.isEmpty());
    EXPECT_TRUE(rapports.textes.last().endsWith(QString::fromUtf8("« Cree_xml »")));
    EXPECT_EQ(QDir(test_support::dossier_test()).entryList(QDir::Files),
              QStringList{"etat.valdorin"}); // no temporary file left behind
}

TEST_F(FichiersParametres, WriteReplacesTheFileOrFailsWithoutTouchingIt) {
    const QString chemin = test_support::dossier_test() + "/etat.valdorin";
    ecrit(chemin, "ancien contenu");
    dictionnaire_parametres->insert("unique_ch_prix", "150");
    EXPECT_TRUE(parametres_v1::exporte_xml(chemin));
    EXPECT_EQ(lit(chemin),
              QByteArray(entete) + "<valdorin><unique_ch_prix>150</unique_ch_prix></valdorin>");
    EXPECT_FALSE(
        parametres_v1::exporte_xml(test_support::dossier_test() + "/absent/etat.valdorin"));
    EXPECT_FALSE(parametres_v1::exporte_xml(test_support::dossier_test())); // a folder
    EXPECT_FALSE(parametres_v1::exporte_xml(QString()));
}

TEST_F(FichiersParametres, AWriteCutShortLeavesTheOldFileWhole) {
    const QString chemin = test_support::dossier_test() + "/Valdorin_2_2.prefs";
    ecrit(chemin, "ancien contenu");
    dictionnaire_parametres->insert("unique_ch_commentaire", QString(20000, 'x'));

    // The system refuses to let files grow past 4 KB while the write runs,
    // as a full disk would.
    int erreur = 0;
    const bool ecrit_ = [&] {
        const test_support::limite_fichiers limite(4096);
        return parametres_v1::exporte_xml(chemin, &erreur);
    }();

    EXPECT_FALSE(ecrit_);
    EXPECT_EQ(erreur, EFBIG);
    EXPECT_EQ(lit(chemin), "ancien contenu");
    EXPECT_EQ(QDir(test_support::dossier_test()).entryList(QDir::Files | QDir::Hidden),
              QStringList{"Valdorin_2_2.prefs"});
    EXPECT_TRUE(parametres_v1::exporte_xml(chemin));
    EXPECT_GT(lit(chemin).size(), 20000);
}

TEST_F(FichiersParametres, ReaderCountsAndStoresTheChildrenAsTexts) {
    EXPECT_EQ(parametres_v1::importe_xml_preferences(
                  QString(), QString(entete) + "<valdorin><main_contenu>3</main_contenu>"
                                               "<globale_aide>true</globale_aide></valdorin>"),
              2);
    EXPECT_EQ(dictionnaire_parametres->size(), 2);
    EXPECT_EQ(dictionnaire_parametres->value("main_contenu"), QVariant(QString("3")));
    EXPECT_EQ(dictionnaire_parametres->value("globale_aide").typeId(), QMetaType::QString);

    // An entry read replaces the one there.
    EXPECT_EQ(parametres_v1::importe_xml_preferences(
                  QString(), "<valdorin><main_contenu>4</main_contenu></valdorin>"),
              1);
    EXPECT_EQ(dictionnaire_parametres->value("main_contenu").toString(), "4");
    EXPECT_EQ(dictionnaire_parametres->size(), 2);

    // A header of a UTF-16 data file names that encoding; given as text, it reads the same.
    EXPECT_EQ(parametres_v1::importe_xml_preferences(
                  QString(), "<?xml version=\"1.0\" encoding=\"UTF-16\"?><valdorin>"
                             "<multiples_popup_codage>4</multiples_popup_codage></valdorin>"),
              1);
    EXPECT_EQ(dictionnaire_parametres->value("multiples_popup_codage").toString(), "4");
}

TEST_F(FichiersParametres, AnEmptyElementReadsAsAnEmptyValueAndTheReadGoesOn) {
    EXPECT_EQ(parametres_v1::importe_xml_preferences(
                  QString(), "<valdorin><a_un>1</a_un><a_vide/><a_rien></a_rien>"
                             "<a_deux>2</a_deux></valdorin>"),
              4);
    EXPECT_EQ(dictionnaire_parametres->value("a_un").toString(), "1");
    EXPECT_EQ(dictionnaire_parametres->value("a_vide").toString(), "");
    EXPECT_TRUE(dictionnaire_parametres->contains("a_rien"));
    EXPECT_EQ(dictionnaire_parametres->value("a_deux").toString(), "2");

    // Blanks, line breaks and comments between the elements are not entries.
    dictionnaire_parametres = dictionnaire();
    EXPECT_EQ(parametres_v1::importe_xml_preferences(
                  QString(), "<?xml version=\"1.0\"?>\n<valdorin>\n  <a_un>1</a_un>\n"
                             "  <!-- note -->\n  <a_deux>2</a_deux>\n</valdorin>\n"),
              2);
}

TEST_F(FichiersParametres, AnythingButASettingsDocumentGivesZeroAndStoresNothing) {
    test_support::rapports rapports;
    const QStringList textes = {
        "",
        "texte ordinaire",
        "<autre><a_un>1</a_un></autre>",
        "<valdorin></valdorin>",
        "<valdorin/>",
        "<valdorin><a_un>1</a_un><a_deux>2",            // truncated
        "<valdorin><a_un>1</a_un></valdorin><encore/>", // two roots
        "<valdorin><a_un>1</b_un></valdorin>",
        "<Valdorin><a_un>1</a_un></Valdorin>",
        "<v:valdorin xmlns:v=\"urn:v\"><a_un>1</a_un></v:valdorin>", // another name
    };
    for (const QString& texte : textes) {
        EXPECT_EQ(parametres_v1::importe_xml_preferences(QString(), texte), 0)
            << texte.toStdString();
        EXPECT_TRUE(dictionnaire_parametres->isEmpty()) << texte.toStdString();
    }
    EXPECT_TRUE(rapports.textes.join("\n").contains("importe_xml_preferences : XmlException"));

    // A file that cannot be read, or no dictionary at all.
    EXPECT_EQ(
        parametres_v1::importe_xml_preferences(test_support::dossier_test() + "/absent", QString()),
        0);
    // A folder, or a pipe that no one writes to (opening it would wait for a
    // writer for ever), is no settings file.
    EXPECT_EQ(parametres_v1::importe_xml_preferences(test_support::dossier_test(), QString()), 0);
    const QString tube = test_support::dossier_test() + "/tube.valdorin";
    ASSERT_EQ(mkfifo(QFile::encodeName(tube).constData(), 0600), 0);
    EXPECT_EQ(parametres_v1::importe_xml_preferences(tube, QString()), 0);
    EXPECT_TRUE(dictionnaire_parametres->isEmpty());

    dictionnaire_parametres.reset();
    EXPECT_EQ(
        parametres_v1::importe_xml_preferences(QString(), "<valdorin><a_un>1</a_un></valdorin>"),
        0);
}

TEST_F(FichiersParametres, MalformedAndRandomDocumentsNeverBreakTheReader) {
    const QByteArray base = QByteArray(entete) +
                            "<valdorin><unique_ch_prix>150</unique_ch_prix><globale_aide>true"
                            "</globale_aide><onglets_contenu>0,1,4</onglets_contenu>"
                            "<unique_ch_commentaire>a&#13;b &amp; c</unique_ch_commentaire>"
                            "</valdorin>";
    const QByteArray alphabet = "<>/?!&#;=\"' -_:[]valdorinxml0123\r\n\t\xc3\xa9\xff";
    std::mt19937 hasard(20261208);
    auto au_hasard = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(hasard);
    };
    for (int essai = 0; essai < 3000; ++essai) {
        QByteArray document;
        switch (essai % 4) {
        case 0: // truncated
            document = base.left(static_cast<qsizetype>(au_hasard(base.size())));
            break;
        case 1: { // a few bytes changed
            document = base;
            for (int i = 0; i < 1 + essai % 5; ++i)
                document[static_cast<qsizetype>(au_hasard(document.size()))] =
                    alphabet.at(static_cast<qsizetype>(au_hasard(alphabet.size())));
            break;
        }
        case 2: { // random text from the characters of XML
            const std::size_t longueur = au_hasard(200);
            for (std::size_t i = 0; i < longueur; ++i)
                document.append(alphabet.at(static_cast<qsizetype>(au_hasard(alphabet.size()))));
            break;
        }
        default: { // random bytes
            const std::size_t longueur = au_hasard(300);
            for (std::size_t i = 0; i < longueur; ++i)
                document.append(static_cast<char>(au_hasard(256)));
            break;
        }
        }
        dictionnaire_parametres = dictionnaire();
        const QString texte = QString::fromUtf8(document);
        const std::int32_t n = parametres_v1::importe_xml_preferences(QString(), texte);
        EXPECT_EQ(n > 0, document_de_reglages(texte)) << document.toStdString();
        // Read back or refused, and never more entries than elements.
        EXPECT_GE(n, 0);
        EXPECT_LE(n, document.count('<'));
        if (n == 0) {
            EXPECT_TRUE(dictionnaire_parametres->isEmpty());
        }
        // The same through a file.
        if (essai % 50 == 0) {
            const QString chemin = test_support::dossier_test() + "/hasard.prefs";
            ecrit(chemin, document);
            dictionnaire_parametres = dictionnaire();
            EXPECT_GE(parametres_v1::importe_xml_preferences(chemin, QString()), 0);
        }
    }
}

TEST_F(FichiersParametres, PreferencesPathsByLevel) {
    const QString dossier = dossier_preferences();
    EXPECT_FALSE(QFileInfo::exists(dossier));
    EXPECT_EQ(parametres_v1::chemin_preferences(0), dossier + "/Valdorin_2_2.prefs");
    EXPECT_TRUE(QFileInfo(dossier).isDir());
    EXPECT_EQ(parametres_v1::chemin_preferences(1), dossier + "/Valdorin_2_11.prefs");
    EXPECT_EQ(parametres_v1::chemin_preferences(2), dossier + "/Valdorin_2_1.prefs");
    EXPECT_EQ(parametres_v1::chemin_preferences(3), dossier + "/Valdorin_2_02.prefs");
    EXPECT_EQ(parametres_v1::chemin_preferences(4), dossier + "/Valdorin_2_01.prefs");
    EXPECT_EQ(parametres_v1::chemin_preferences(5), dossier + "/Valdorin_2_0.prefs");
    EXPECT_EQ(parametres_v1::chemin_preferences(6), "");
    EXPECT_EQ(parametres_v1::chemin_preferences(9), "");
}

// Hostile documents: read or refused at once, whatever their depth or size.
// An element's value is the text of its first child; an entity bomb is
// refused by the reader's expansion limit, a document of over 1 MiB in UTF-8 by its size.
TEST_F(FichiersParametres, DeepNestingHugeValuesAndEntityBombsAreReadOrRefused) {
    auto imbrique = [](int niveaux, const QByteArray& apres) {
        QByteArray d = "<valdorin><k>";
        d += QByteArray("<a>").repeated(niveaux) + "x" + QByteArray("</a>").repeated(niveaux);
        return d + "</k>" + apres + "</valdorin>";
    };
    auto de_taille = [](qint64 taille, const QByteArray& motif) { // `motif`s, then "v"s
        const qint64 reste = taille - 28;                         // <valdorin><k></k></valdorin>
        return "<valdorin><k>" + motif.repeated(reste / motif.size()) +
               QByteArray(reste % motif.size(), 'v') + "</k></valdorin>";
    };
    const QByteArray grande_valeur(10 * 1024 * 1024, 'v');
    QByteArray bombe = "<?xml version=\"1.0\"?><!DOCTYPE valdorin [<!ENTITY a0 \"xxxxxxxxxx\">";
    for (int i = 1; i < 10; ++i)
        bombe += QByteArray("<!ENTITY a") + QByteArray::number(i) + " \"" +
                 QByteArray("&a" + QByteArray::number(i - 1) + ";").repeated(10) + "\">";
    bombe += "]><valdorin><k>&a9;</k></valdorin>";
    struct cas {
        const char* nom;
        QByteArray document;
        std::int32_t entrees;
        QString valeur_k;
    };
    const cas tous[] = {
        {"100000 levels", imbrique(100000, "<b>2</b>"), 2, ""},
        {"1000000 levels", imbrique(1000000, ""), 0, ""},
        {"unclosed nesting", "<valdorin><k>" + QByteArray("<a>").repeated(300000), 0, ""},
        {"text before a child", "<valdorin><k>avant<a>dans</a>apres</k></valdorin>", 1, "avant"},
        {"1 MiB", de_taille(1024 * 1024, "v"), 1, QString(1024 * 1024 - 28, u'v')},
        {"1 MiB and one byte in 2-byte characters", de_taille(1024 * 1024 + 1, "\xC3\xA9"), 0, ""},
        {"10 MB value", "<valdorin><k>" + grande_valeur + "</k></valdorin>", 0, ""},
        {"entity expansion", bombe, 0, ""},
    };
    for (const cas& c : tous) {
        SCOPED_TRACE(c.nom);
        dictionnaire_parametres = dictionnaire();
        const std::int32_t n =
            parametres_v1::importe_xml_preferences(QString(), QString::fromUtf8(c.document));
        EXPECT_EQ(n, c.entrees);
        EXPECT_EQ(dictionnaire_parametres->isEmpty(), n == 0);
        if (n > 0) {
            EXPECT_EQ(dictionnaire_parametres->value("k").toString().size(), c.valeur_k.size());
            EXPECT_TRUE(dictionnaire_parametres->value("k").toString() == c.valeur_k);
        }
        // Through a file as well.
        const QString chemin = test_support::dossier_test() + "/hostile.prefs";
        ecrit(chemin, c.document);
        dictionnaire_parametres = dictionnaire();
        EXPECT_EQ(parametres_v1::importe_xml_preferences(chemin, QString()), n);
    }
}
