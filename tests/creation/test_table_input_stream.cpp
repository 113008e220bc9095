#include "TableInputStream.h"
#include "outils_donnees.h"

#include <QDateTime>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <functional>
#include <random>

namespace {

struct lecture {
    QStringList enregistrements;
    QList<bool> trop_longs;
    QList<std::int32_t> illisibles; // colonne_illisible of each record
    std::int32_t colonnes = 0;
    std::int32_t pourcentage = -1;
    bool progresse = true;   // Percent never went back
    bool milieu = false;     // and was seen between 10 and 90
    bool a_sa_taille = true; // no record kept room for more characters
};

// Reads the whole file as the batch run does: a record, then the end test.
lecture lit(const QByteArray& octets, codage_texte codage, const QString& delimiteur,
            qsizetype longueur_maximale = TableInputStream::longueur_maximale_defaut) {
    TableInputStream lecteur;
    lecteur.longueur_maximale = longueur_maximale;
    lecteur.Open(outils_donnees::fichier(octets), codage, delimiteur);
    lecture resultat;
    do {
        resultat.enregistrements.append(lecteur.ReadLine());
        resultat.a_sa_taille = resultat.a_sa_taille && resultat.enregistrements.last().capacity() <=
                                                           resultat.enregistrements.last().size();
        resultat.trop_longs.append(lecteur.enregistrement_trop_long());
        resultat.illisibles.append(lecteur.colonne_illisible());
        resultat.progresse = resultat.progresse && lecteur.Percent() >= resultat.pourcentage;
        resultat.pourcentage = lecteur.Percent();
        resultat.milieu =
            resultat.milieu || (resultat.pourcentage > 10 && resultat.pourcentage < 90);
    } while (!lecteur.Eof());
    resultat.colonnes = lecteur.ColumnCount();
    resultat.pourcentage = lecteur.Percent();
    lecteur.Close();
    return resultat;
}

// The reason given by the echec_lecture that `action` throws; empty if none.
template <class Action> QString raison_echec(Action action) {
    try {
        action();
    } catch (const echec_lecture& echec) {
        return QString::fromUtf8(echec.what());
    }
    return QString();
}

} // namespace

TEST(TableInputStream, RecordsOfEachDelimiterAreHandedOutWithTheirFieldsJoinedByTab) {
    struct cas {
        const char* quoi;
        QByteArray octets;
        QString delimiteur;
        QStringList attendus;
        std::int32_t colonnes;
    };
    const QList<cas> cas_ = {
        {"quoted middle field holding a comma", "a,\"b,c\",d\r", ",", {"a\tb,c\td"}, 3},
        {"doubled quote inside quotes", "\"a\"\"b\"", ";", {"a\"b"}, 1},
        {"quote inside an unquoted field", "a\"b", ";", {"a<ERREUR_CSV>b"}, 1},
        {"CR LF ends a record once, also the last", "a;b\r\nc;d\r\n", ";", {"a\tb", "c\td"}, 2},
        {"empty line", "a\r\rb", ";", {"a", "", "b"}, 1},
        {"empty file", "", ",", {""}, 1},
        {"last record without line end", "a;b\nc", ";", {"a\tb", "c"}, 2},
        {"TAB inside quotes is marked, no boundary", "\"a\tb\";c", ";", {"a<ERREUR_TAB>b\tc"}, 2},
        {"TAB after a lone quote inside quotes", "\"a\"\tb\",c", ",", {"a<ERREUR_TAB>b\tc"}, 2},
        {"TAB outside quotes stays a boundary", "a\tb;c", ";", {"a\tb\tc"}, 2},
        {"TABs in quoted fields count no field",
         "L,1,42,0,P,150,CB,P,0,A,=,\"nom\tsuite\"\rL,1,42,0,\"Prix\tTTC\",150,CB,P,0,A,=,n",
         ",",
         {"L\t1\t42\t0\tP\t150\tCB\tP\t0\tA\t=\tnom<ERREUR_TAB>suite",
          "L\t1\t42\t0\tPrix<ERREUR_TAB>TTC\t150\tCB\tP\t0\tA\t=\tn"},
         12},
        {"CR LF inside quotes is one line end", "\"a\r\nb\",c", ",", {"a\rb\tc"}, 2},
        {"other line ends inside quotes",
         "\"a\n\rb\r\r\nc\n\nd\r\";e",
         ";",
         {"a\r\rb\r\rc\r\rd\r\te"},
         2},
        {"a lone quote inside quotes is dropped", "\"a\"b;c\";d", ";", {"ab;c\td"}, 2},
        {"delimiter after the last field", "a;\r", ";", {"a\t"}, 2},
        {"vertical bar keeps quotes", "a|\"b\"|c", "|", {"a\t\"b\"\tc"}, 3},
        {"tab file with every line end", "a\tb\r\nc\rd\ne", "\t", {"a\tb", "c", "d", "e"}, 2},
        {"tab file ending with CR LF", "a\tb\r\n", "\t", {"a\tb"}, 2},
        {"widest record counted", "1;2;3\r1;2;3;4\r1;2", ";", {"1\t2\t3", "1\t2\t3\t4", "1\t2"}, 4},
    };
    for (const cas& c : cas_) {
        const lecture l = lit(c.octets, codage_texte::utf8, c.delimiteur);
        EXPECT_EQ(l.enregistrements, c.attendus) << c.quoi;
        EXPECT_EQ(l.colonnes, c.colonnes) << c.quoi;
        EXPECT_EQ(l.pourcentage, 100) << c.quoi;
        EXPECT_TRUE(l.a_sa_taille) << c.quoi;
    }
}

TEST(TableInputStream, ARecordPastTheLimitIsCutAndTheNextOneComesOutWhole) {
    // Only the fields of the part kept are counted.
    const struct {
        const char* quoi;
        QByteArray octets;
        QString delimiteur;
        QStringList attendus;
        std::int32_t colonnes;
    } cas[] = {
        {"line of megabytes",
         "ab\t" + QByteArray(3 << 20, 'x') + "\tz\n1",
         "\t",
         {"ab\txx", "1"},
         2},
        {"line end in quotes past the limit", "\"abcdef\r\ng;\";h\ri", ";", {"abcde", "i"}, 1},
    };
    for (const auto& c : cas) {
        const lecture l = lit(c.octets, codage_texte::utf8, c.delimiteur, 5);
        EXPECT_EQ(l.enregistrements, c.attendus) << c.quoi;
        EXPECT_EQ(l.trop_longs, QList<bool>({true, false})) << c.quoi;
        EXPECT_EQ(l.colonnes, c.colonnes) << c.quoi;
        EXPECT_EQ(l.pourcentage, 100) << c.quoi;
    }
}

TEST(TableInputStream, EachEncodingAndMarkIsReadAsItsText) {
    using outils_donnees::utf16;
    const QString texte = QStringLiteral("é;\"x,y\"\r€");
    const QByteArray u8 = texte.toUtf8();
    const QStringList lus = {"é\tx,y", "€"};
    const struct {
        const char* quoi;
        QByteArray octets;
        codage_texte codage;
        QStringList attendus;
    } cas[] = {
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + u8, codage_texte::utf8, lus},
        {"UTF-8 with the reversed mark", "\xEF\xBF\xBE" + u8, codage_texte::utf8, lus},
        {"UTF-8 without mark", u8, codage_texte::utf8, lus},
        {"UTF-16 big-endian with its mark", "\xFE\xFF" + utf16(texte), codage_texte::utf16, lus},
        {"UTF-16 little-endian, mark", "\xFF\xFE" + utf16(texte, false), codage_texte::utf16, lus},
        {"UTF-16 without mark is big-endian", utf16(texte), codage_texte::utf16, lus},
        {"Windows ANSI", "\xE9;\"x,y\"\r\x80", codage_texte::windows_ansi, lus},
        {"Mac Roman", "\x8E;\"x,y\"\r\xDB", codage_texte::mac_roman, lus},
        {"ASCII", "e;\"x,y\"\rz", codage_texte::ascii, {"e\tx,y", "z"}},
        {"UTF-8 mark in Windows ANSI",
         "\xEF\xBB\xBF"
         "a;b",
         codage_texte::windows_ansi,
         {"ï»¿a\tb"}},
        {"ASCII bytes above 127", "a\x80\xFF;b", codage_texte::ascii, {"a\uFFFD\uFFFD\tb"}},
        {"bytes Windows ANSI leaves undefined",
         "\x81\x8D\x8F;\x90\x9D\x80",
         codage_texte::windows_ansi,
         {"\uFFFD\uFFFD\uFFFD\t\uFFFD\uFFFD€"}},
    };
    for (const auto& c : cas)
        EXPECT_EQ(lit(c.octets, c.codage, ";").enregistrements, c.attendus) << c.quoi;
    // Plain mode in reversed byte order finds its line ends too.
    EXPECT_EQ(lit("\xFF\xFE" + utf16("a|b\r\nc", false), codage_texte::utf16, "|").enregistrements,
              QStringList({"a\tb", "c"}));
}

// Bytes that the encoding cannot read are told by their field; a U+FFFD
// that the file holds is text.
TEST(TableInputStream, UnreadableBytesAreToldByTheirField) {
    const QList<std::tuple<QByteArray, codage_texte, QList<std::int32_t>>> cas = {
        {"\xEF\xBF\xBD;b\r\xEF\xBF\xBD;\"b\xC3(\";\xFF", codage_texte::utf8, {0, 2}},
        {outils_donnees::utf16("\uFFFD;b\ra;") + QByteArray("\xDC\0\0\r\0c\0", 7),
         codage_texte::utf16,
         {0, 2, 1}},
        {"a\tb\x80;c", codage_texte::ascii, {2}},
        {"\x80;\x81", codage_texte::windows_ansi, {2}},
    };
    for (const auto& [octets, codage, colonnes] : cas)
        EXPECT_EQ(lit(octets, codage, ";").illisibles, colonnes) << octets.toHex().toStdString();
}

TEST(TableInputStream, ALargeFileComesOutWholeWithItsProgress) {
    // Files larger than one chunk, with a character across every boundary.
    QString ligne = QString(1000, u'a') + QStringLiteral("é€😀\r");
    QString texte;
    while (texte.size() < 700 * 1000)
        texte += ligne;
    for (const bool utf8 : {true, false}) {
        const QByteArray octets =
            utf8 ? texte.toUtf8() : "\xFF\xFE" + outils_donnees::utf16(texte, false);
        const lecture l = lit(octets, utf8 ? codage_texte::utf8 : codage_texte::utf16, ";");
        ASSERT_EQ(l.enregistrements.size(), texte.count(u'\r'));
        EXPECT_TRUE(l.progresse && l.milieu);
        EXPECT_TRUE(l.a_sa_taille);
        EXPECT_EQ(l.pourcentage, 100);
        for (const QString& enregistrement : l.enregistrements)
            ASSERT_EQ(enregistrement + u'\r', ligne);
    }
}

TEST(TableInputStream, AnythingButAReadableFileIsAnErrorThatSaysWhy) {
    const QString dossier = test_support::dossier_test();
    // A pipe is refused at once rather than waited on.
    ASSERT_EQ(mkfifo((dossier + "/tube").toLocal8Bit().constData(), 0600), 0);
    const QString ouvert = QStringLiteral("le fichier de données n'a pas pu être ouvert\u00A0: ");
    const struct {
        QString chemin;
        QString raison;
    } cas[] = {
        {dossier + "/absent.txt", ouvert + "il n'existe pas."},
        {dossier + "/absent/donnees.txt", ouvert + "son dossier n'existe pas."},
        {dossier + "/tube", ouvert + "ce n'est pas un fichier ordinaire."},
        {dossier, ouvert + "c'est un dossier."},
        // Reading a process's memory at address 0 fails.
        {"/proc/self/mem", QStringLiteral("le fichier de données n'a pas pu être lu\u00A0: ")},
    };
    for (const auto& c : cas) {
        TableInputStream lecteur;
        const QString raison =
            raison_echec([&] { lecteur.Open(c.chemin, codage_texte::ascii, ";"); });
        EXPECT_TRUE(raison.startsWith(c.raison)) << raison.toStdString();
        EXPECT_TRUE(lecteur.Eof());
    }
}

TEST(TableInputStream, AFileChangedDuringTheReadingIsAnError) {
    const QByteArray octets = QByteArray("abcdefgh\r").repeated(50);
    // Truncated, grown, and rewritten in place a minute later.
    const std::function<void(QFile&)> changements[] = {
        [](QFile& f) { f.resize(100); },
        [&](QFile& f) {
            f.seek(f.size());
            f.write(octets);
        },
        [](QFile& f) {
            f.write("ABCDEFGH");
            f.setFileTime(QDateTime::currentDateTime().addSecs(60),
                          QFileDevice::FileModificationTime);
        },
    };
    for (const auto& change : changements) {
        const QString chemin = outils_donnees::fichier(octets);
        TableInputStream lecteur;
        lecteur.taille_bloc = 16;
        lecteur.Open(chemin, codage_texte::utf8, "\t");
        EXPECT_EQ(lecteur.ReadLine(), "abcdefgh");
        QFile f(chemin);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        change(f);
        f.close();
        EXPECT_EQ(raison_echec([&] {
                      while (!lecteur.Eof())
                          lecteur.ReadLine();
                  }),
                  "le fichier de données a changé pendant la lecture.");
    }
}

TEST(TableInputStream, RandomAndDamagedFilesAreReadToTheirEnd) {
    // Random files built from the characters that matter, then cut and
    // mutated, in every encoding and delimiter.
    std::mt19937 hasard(20261208);
    const QByteArray pieces[] = {"\"",       ";",        ",",        "|",        "\t",
                                 "\r",       "\n",       "\r\n",     "a",        "bc",
                                 "\xC3\xA9", "\xE2\x82", "\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF",
                                 "\x00",     "\xD8\x3D", "\xDC"};
    const QString delimiteurs[] = {"\t", ";", ",", "|"};
    const auto debut = std::chrono::steady_clock::now();
    int fichiers = 0;
    for (; fichiers < 4000; ++fichiers) {
        QByteArray octets;
        const int n = static_cast<int>(hasard() % 60);
        for (int i = 0; i < n; ++i)
            octets += pieces[hasard() % std::size(pieces)];
        if (!octets.isEmpty() && hasard() % 2)
            octets.truncate(static_cast<qsizetype>(hasard() % octets.size()));
        for (int i = 0; !octets.isEmpty() && i < 3; ++i)
            octets[hasard() % octets.size()] = static_cast<char>(hasard());
        const auto codage = static_cast<codage_texte>(hasard() % 5);

        const QString delimiteur = delimiteurs[hasard() % 4];
        const QString chemin = outils_donnees::fichier(octets);
        TableInputStream lecteur;
        lecteur.Open(chemin, codage, delimiteur);
        // The same file read in chunks of a few bytes gives the same records.
        TableInputStream lecteur_par_petits_blocs;
        lecteur_par_petits_blocs.taille_bloc = 1 + hasard() % 5;
        lecteur_par_petits_blocs.Open(chemin, codage, delimiteur);
        std::int32_t colonnes = 0;
        int lus = 0;
        do {
            const QString enregistrement = lecteur.ReadLine();
            ASSERT_EQ(lecteur_par_petits_blocs.ReadLine(), enregistrement) << fichiers;
            ASSERT_EQ(lecteur_par_petits_blocs.Eof(), lecteur.Eof()) << fichiers;
            ASSERT_EQ(lecteur_par_petits_blocs.guillemet_non_ferme(), lecteur.guillemet_non_ferme())
                << fichiers;
            ASSERT_EQ(lecteur_par_petits_blocs.colonne_illisible(), lecteur.colonne_illisible())
                << fichiers;
            ASSERT_TRUE(enregistrement.isValidUtf16()) << fichiers;
            ASSERT_GE(lecteur.ColumnCount(), colonnes);
            colonnes = lecteur.ColumnCount();
            ASSERT_GE(lecteur.Percent(), 0);
            ASSERT_LE(lecteur.Percent(), 100);
            // Every record but an empty file's takes at least one byte.
            ASSERT_LE(++lus, octets.size() + 1) << "reading does not end, file " << fichiers;
        } while (!lecteur.Eof());
        ASSERT_EQ(lecteur.Percent(), 100) << fichiers;
        if (std::chrono::steady_clock::now() - debut > std::chrono::seconds(20))
            break;
    }
    EXPECT_GT(fichiers, 100);
}
