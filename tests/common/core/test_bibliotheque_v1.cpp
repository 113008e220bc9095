#include "bibliotheque_v1.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <gtest/gtest.h>

using namespace bibliotheque_v1;

TEST(TexteLignes, EolRepeatsThePlatformLineEnd) {
    EXPECT_EQ(eol(0), "");
    EXPECT_EQ(eol(-5), "");
    EXPECT_EQ(eol(1), "\n");
    EXPECT_EQ(eol(2), "\n\n");
}

TEST(TexteZeros, RetireRemovesOnlyLeadingZeros) {
    EXPECT_EQ(zeros_retire("000"), "");
    EXPECT_EQ(zeros_retire(""), "");
    EXPECT_EQ(zeros_retire("0a0"), "a0");
    EXPECT_EQ(zeros_retire(" 007"), " 007");
    EXPECT_EQ(zeros_retire("0042"), "42");
    EXPECT_EQ(zeros_retire("4200"), "4200");
}

TEST(TexteZeros, AjoutePadsButNeverCuts) {
    EXPECT_EQ(zeros_ajoute("123", 2), "123");
    EXPECT_EQ(zeros_ajoute("", 3), "000");
    EXPECT_EQ(zeros_ajoute("7", 4), "0007");
    EXPECT_EQ(zeros_ajoute("12", -1), "12");
}

TEST(TexteDates, MonthNamesInBothLanguages) {
    const char* fr[] = {"janvier", "février", "mars",      "avril",   "mai",      "juin",
                        "juillet", "août",    "septembre", "octobre", "novembre", "décembre"};
    const char* en[] = {"January", "February", "March",     "April",   "May",      "June",
                        "July",    "August",   "September", "October", "November", "December"};
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(format_mois(m, "fr"), QString::fromUtf8(fr[m - 1]));
        EXPECT_EQ(format_mois(m, "en"), QString::fromUtf8(en[m - 1]));
    }
    for (int m : {0, 13, -1}) {
        EXPECT_EQ(format_mois(m, "fr"), "erreur");
        EXPECT_EQ(format_mois(m, "en"), "erreur");
    }
    EXPECT_EQ(format_mois(5, "de"), "");
    EXPECT_EQ(format_mois(13, ""), "");
    EXPECT_EQ(format_mois(5, "FR"), "");
}

TEST(TexteDates, MiddleDateIsTheFrenchLongDate) {
    EXPECT_EQ(middle_date(QDate(2008, 3, 7)), "7 mars 2008");
    EXPECT_EQ(middle_date(QDate(2008, 8, 1)), QString::fromUtf8("1 août 2008"));
    EXPECT_EQ(middle_date(QDate(2026, 12, 31)), QString::fromUtf8("31 décembre 2026"));
}

TEST(TexteNombres, FixedDecimalsAndRounding) {
    EXPECT_EQ(str_format(2.5, 2), "2,50");
    EXPECT_EQ(str_format(2.4, 0), "2");
    EXPECT_EQ(str_format(2.5, 0), "3");
    EXPECT_EQ(str_format(-2.5, 0), "-3");
    EXPECT_EQ(str_format(1234567.891, 1), "1234567,9");
    EXPECT_EQ(str_format(0.004, 2), "0,00");
    EXPECT_EQ(str_format(-0.004, 2), "0,00");
}

TEST(TexteNombres, MinusOneWritesTheShortestDigitsThatReadBack) {
    EXPECT_EQ(str_format(2.25, -1), "2,25");
    EXPECT_EQ(str_format(0.1, -1), "0,1");
    EXPECT_EQ(str_format(2.2, -1), "2,2");
    EXPECT_EQ(str_format(1.0 / 3.0, -1), "0,3333333333333333");
    EXPECT_EQ(str_format(-12.75, -1), "-12,75");
    EXPECT_EQ(str_format(1e-30, -1), "0"); // beyond 26 places rounds to zero
    for (double v : {0.1, 0.7, 1.1, 2.675, 123456.789, 1e-5}) {
        QString texte = str_format(v, -1);
        EXPECT_EQ(texte.replace(',', '.').toDouble(), v) << qPrintable(texte);
    }
}

TEST(TextePostScript, EscapesEachSpecialCharacterOnce) {
    EXPECT_EQ(adapte_postscript(""), "");
    EXPECT_EQ(adapte_postscript("a(b)c"), "a\\(b\\)c");
    EXPECT_EQ(adapte_postscript("a\\b"), "a\\\\b");
    EXPECT_EQ(adapte_postscript("\\("), "\\\\\\(");
    EXPECT_EQ(adapte_postscript("un\r\ndeux"), "un\\r\\ndeux");
    EXPECT_EQ(adapte_postscript("un\rdeux\ntrois"), "un\\r\\ndeux\\r\\ntrois");
    EXPECT_EQ(adapte_postscript("\n\r"), "\\r\\n\\r\\n");
    EXPECT_EQ(adapte_postscript("a\tb"), "a\\tb");
    EXPECT_EQ(adapte_postscript(QString(QChar(7))), QString(QChar(7)));
}

TEST(TextePostScript, HighCharactersBecomeSingleByteOctalEscapes) {
    EXPECT_EQ(adapte_postscript(QString::fromUtf8("é")), "\\351");
    EXPECT_EQ(adapte_postscript(QString::fromUtf8("©")), "\\251");
    EXPECT_EQ(adapte_postscript(QString(QChar(0x80))), "\\200");
    EXPECT_EQ(adapte_postscript(QString::fromUtf8("5 €")), "5 \\200");
    EXPECT_EQ(adapte_postscript(QString::fromUtf8("œ—™")), "\\234\\227\\231");
    EXPECT_EQ(adapte_postscript(QString::fromUtf8("Ω")), "?");
    EXPECT_EQ(adapte_postscript(QString::fromUtf8("a😀b")), "a?b");
    // No escape is ever followed by a raw character above 127.
    const QString texte = adapte_postscript(QString::fromUtf8("Çà (ñ) ☃ ∑ \\ ü"));
    for (QChar c : texte)
        EXPECT_LT(c.unicode(), 128);
}

TEST(TexteDivers, StandardProductWord) {
    EXPECT_EQ(nom_standard(), "valdorin");
}

TEST(TexteDivers, StringWidthMeasuresWithTheApplicationFont) {
    EXPECT_EQ(string_width("", "System", 12, false, false), 0);
    QFont fonte = QGuiApplication::font();
    fonte.setPixelSize(13);
    const int attendu = static_cast<int>(QFontMetricsF(fonte).horizontalAdvance("Annuler"));
    EXPECT_EQ(string_width("Annuler", "System", 13, false, false), attendu);
    EXPECT_GT(attendu, 0);
    EXPECT_GT(string_width("Annuler", "System", 26, false, false), attendu);
    EXPECT_GE(string_width("Annuler", "System", 13, true, false), attendu);
}

TEST(TexteDivers, MsgdebugIsSilentButReachesTheHook) {
    QStringList recus;
    msgdebug_hook = [&](const QString& t) { recus << t; };
    msgdebug("erreur en filetype_table");
    msgdebug_hook = nullptr;
    msgdebug("rien");
    EXPECT_EQ(recus, QStringList{"erreur en filetype_table"});
}
