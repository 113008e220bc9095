#include "verification_v1.h"

#include <gtest/gtest.h>

using verification_v1::verifie_string;

namespace {
const QString autre_que_chiffre = QString::fromUtf8("présence d'un caractère autre que chiffre");
QString nombre(const char* mot, const char* comparaison, int n) {
    return QString::fromUtf8("nombre de %1 %2 %3")
        .arg(QString::fromUtf8(mot), QString::fromUtf8(comparaison))
        .arg(n);
}
} // namespace

TEST(VerificationChiffres, CharactersAreCheckedBeforeLength) {
    EXPECT_EQ(verifie_string("12a45", 0, 5, 5, ""), autre_que_chiffre);
    EXPECT_EQ(verifie_string("1234", 0, 5, 5, ""), nombre("chiffres", "différent de", 5));
    EXPECT_EQ(verifie_string("", 0, 5, 5, ""), nombre("chiffres", "différent de", 5));
    EXPECT_EQ(verifie_string("", 0, 0, 4, ""), "");
    EXPECT_EQ(verifie_string("123", 0, 1, 2, ""), nombre("chiffres", "supérieur à", 2));
    EXPECT_EQ(verifie_string("1", 0, 2, 4, ""), nombre("chiffres", "inférieur à", 2));
    EXPECT_EQ(verifie_string("12345", 0, 5, 5, ""), "");
    EXPECT_EQ(verifie_string(QString::fromUtf8("١٢"), 0, 1, 2, ""), autre_que_chiffre);
}

TEST(VerificationLettres, CaseAndAsciiRules) {
    const QString majuscule = QString::fromUtf8("présence d'un caractère autre que majuscule");
    EXPECT_EQ(verifie_string("e", 4, 1, 1, "EP"), majuscule);
    EXPECT_EQ(verifie_string("X", 4, 1, 1, "EP"),
              QString::fromUtf8("présence d'un caractère autre que EP"));
    EXPECT_EQ(verifie_string("P", 4, 1, 1, "EP"), "");
    EXPECT_EQ(verifie_string("<", 1, 1, 1, "=<>"), "");
    EXPECT_EQ(verifie_string(QString::fromUtf8("É"), 3, 0, 5, ""),
              QString::fromUtf8("présence d'un caractère autre que lettre ou chiffre"));
    EXPECT_EQ(verifie_string("aZ09", 3, 0, 5, ""), "");
    EXPECT_EQ(verifie_string("ABCDEF", 4, 1, 5, ""), nombre("majuscules", "supérieur à", 5));
    EXPECT_EQ(verifie_string("ab", 3, 3, 5, ""), nombre("lettres ou chiffres", "inférieur à", 3));
}

TEST(VerificationCaracteres, AllowedTextAndOtherKinds) {
    // Any other kind number behaves as kind 1.
    for (int type : {1, 9, -3}) {
        EXPECT_EQ(verifie_string(QString::fromUtf8("é!"), type, 0, 5, ""), "");
        EXPECT_EQ(verifie_string(QString::fromUtf8("éèà"), type, 0, 2, ""),
                  nombre("caractères", "supérieur à", 2));
        EXPECT_EQ(verifie_string("<>", type, 1, 2, "=<>"), "");
        EXPECT_EQ(verifie_string("<=", type, 1, 2, "=<>"),
                  QString::fromUtf8("présence d'un caractère autre que =<>"));
    }
    // Lengths count characters, not bytes or UTF-16 units.
    EXPECT_EQ(verifie_string(QString::fromUtf8("😀é"), 1, 2, 2, ""), "");
}

TEST(VerificationNomFichier, RefusesTheNineCharactersAndTheControlCharacters) {
    const QString invalide =
        QString::fromUtf8("présence d'un caractère invalide pour un nom de fichier");
    for (const char* c : {"\"", "*", "/", ":", "<", ">", "?", "\\", "|", "\x18"})
        EXPECT_EQ(verifie_string(QString("a") + c + "b", 6, 0, 50, ""), invalide) << c;
    // Controls, DEL and C1 controls, direction marks and controls, line and
    // paragraph separators; then their neighbours.
    for (const char32_t c : {0, 9, 0x1B, 31, 127, 0x9B, 159, 0x061C, 0x200E, 0x200F, 0x2028, 0x2029,
                             0x202A, 0x202E, 0x2066, 0x2069})
        EXPECT_EQ(verifie_string("a" + QString::fromUcs4(&c, 1), 6, 0, 50, ""), invalide) << int(c);
    for (const char32_t c :
         {32, 126, 160, 0x061B, 0x061D, 0x200D, 0x2010, 0x2027, 0x202F, 0x2065, 0x206A, 0x1F600})
        EXPECT_EQ(verifie_string("a" + QString::fromUcs4(&c, 1), 6, 0, 50, ""), "") << int(c);
    EXPECT_EQ(verifie_string("", 6, 0, 50, ""), nombre("caractères", "inférieur à", 1));
    EXPECT_EQ(verifie_string("", 6, 7, 50, ""), nombre("caractères", "inférieur à", 1));
    EXPECT_EQ(verifie_string("abc.eps", 6, 30, 50, ""), "");
}

TEST(VerificationDates, DayLimitsFollowTheMonth) {
    const QString jour = QString::fromUtf8("numéro de jour invalide");
    EXPECT_EQ(verifie_string("29", 2, 2, 0, ""), "");
    EXPECT_EQ(verifie_string("30", 2, 2, 0, ""), jour);
    EXPECT_EQ(verifie_string("31", 2, 4, 0, ""), jour);
    EXPECT_EQ(verifie_string("30", 2, 4, 0, ""), "");
    EXPECT_EQ(verifie_string("31", 2, 13, 0, ""), jour);
    EXPECT_EQ(verifie_string("31", 2, 0, 0, ""), jour);
    for (int mois : {1, 3, 5, 7, 8, 10, 12}) {
        EXPECT_EQ(verifie_string("31", 2, mois, 0, ""), "") << mois;
        EXPECT_EQ(verifie_string("32", 2, mois, 0, ""), jour) << mois;
    }
    for (int mois = 0; mois <= 13; ++mois)
        EXPECT_EQ(verifie_string("0", 2, mois, 0, ""), jour);
    EXPECT_EQ(verifie_string("01", 2, 1, 0, ""), "");
    EXPECT_EQ(verifie_string("123", 2, 1, 0, ""), nombre("chiffres", "supérieur à", 2));
    EXPECT_EQ(verifie_string("", 2, 1, 0, ""), nombre("chiffres", "inférieur à", 1));
    EXPECT_EQ(verifie_string("5", 2, 1, 0, "xyz"), ""); // allowed is ignored
}

TEST(VerificationDates, MonthRange) {
    const QString mois = QString::fromUtf8("numéro de mois invalide");
    EXPECT_EQ(verifie_string("00", 5, 0, 0, ""), mois);
    EXPECT_EQ(verifie_string("13", 5, 0, 0, ""), mois);
    EXPECT_EQ(verifie_string("12", 5, 0, 0, ""), "");
    EXPECT_EQ(verifie_string("013", 5, 0, 0, ""), nombre("chiffres", "supérieur à", 2));
    EXPECT_EQ(verifie_string("1a", 5, 0, 0, ""), autre_que_chiffre);
}
