#include "bibliotheque_v1.h"
#include "valdorin.h"

#include <gtest/gtest.h>

#include <vector>

using valdorin::ean13_valdorin;

namespace {

std::vector<int> codes(const QString& s) {
    std::vector<int> v;
    for (QChar c : s)
        v.push_back(c.unicode());
    return v;
}

// Reads the symbol string back into the 13 digits and the add-on, so that the
// tests check the parities against the GS1 rules rather than against our tables.
struct Lu {
    QString ean13;
    QString ajout;
    QString parites_gauche; // sets of d2-d7
    QString parites_ajout;
};

Lu relit(const QString& s) {
    Lu lu;
    for (int i = 3; i <= 8; ++i) {
        const int c = s[i].unicode();
        lu.parites_gauche += c >= 75 ? 'B' : 'A';
        lu.ean13 += QChar('0' + (c >= 75 ? c - 75 : c - 65));
    }
    for (int i = 10; i <= 15; ++i)
        lu.ean13 += QChar('0' + s[i].unicode() - 85);
    for (int i = 18; i <= 26; i += 2) {
        const int c = s[i].unicode();
        lu.parites_ajout += c >= 107 ? 'B' : 'A';
        lu.ajout += QChar('0' + (c >= 107 ? c - 107 : c - 97));
    }
    return lu;
}

// GS1 EAN-13 parity of the left half (d2-d7) by lead digit.
const char* const gs1_gauche[] = {"AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
                                  "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA"};
// GS1 EAN-5 parity by checksum 3*(odd)+9*(even) mod 10.
const char* const gs1_ajout[] = {"BBAAA", "BABAA", "BAABA", "BAAAB", "ABBAA",
                                 "AABBA", "AAABB", "ABABA", "ABAAB", "AABAB"};

} // namespace

TEST(Encodeur, WorkedExample) {
    const QString sans = ean13_valdorin("37812345015000420", false);
    EXPECT_EQ(codes(sans),
              (std::vector<int>{38, 39, 58, 72, 73,  76, 77,  78, 69,  61, 90, 85, 86, 90,
                                85, 92, 58, 63, 107, 64, 107, 64, 101, 64, 99, 64, 97, 34}));
    const QString avec = ean13_valdorin("37812345015000420", true);
    ASSERT_EQ(avec.size(), 29);
    EXPECT_EQ(avec[0].unicode(), 51);
    EXPECT_EQ(avec[28].unicode(), 59);
    // The reserves change only slot 0 and the trailing ";".
    EXPECT_EQ(avec.mid(1, 27), sans.mid(1));
}

TEST(Encodeur, CheckDigitAndParitiesFollowGs1) {
    // Every lead digit, a spread of bodies, and add-ons covering every checksum.
    for (int tete = 0; tete <= 9; ++tete) {
        for (int k = 0; k < 40; ++k) {
            QString d = QString::number(tete);
            for (int i = 1; i < 12; ++i)
                d += QChar('0' + (tete * 7 + k * 3 + i * i * (k + 1)) % 10);
            QString ajout;
            for (int i = 0; i < 5; ++i)
                ajout += QChar('0' + (k * (i + 3) + i) % 10);
            const QString s = ean13_valdorin(d + ajout, false);
            ASSERT_EQ(s.size(), 28);
            const Lu lu = relit(s);

            int somme = 0;
            for (int i = 0; i < 12; ++i)
                somme += d[i].digitValue() * (i % 2 ? 3 : 1);
            const int controle = (10 - somme % 10) % 10;
            EXPECT_EQ(lu.ean13, d.mid(1) + QString::number(controle));
            EXPECT_EQ(lu.parites_gauche, gs1_gauche[tete]);

            const auto a = [&](int i) { return ajout[i].digitValue(); };
            const int gs1 = (3 * (a(0) + a(2) + a(4)) + 9 * (a(1) + a(3))) % 10;
            EXPECT_EQ(lu.ajout, ajout);
            EXPECT_EQ(lu.parites_ajout, gs1_ajout[gs1]) << qPrintable(ajout);

            EXPECT_EQ(s[1], '\'');
            EXPECT_EQ(s[2], ':');
            EXPECT_EQ(s[9], '=');
            EXPECT_EQ(s[16], ':');
            EXPECT_EQ(s[17], '?');
            for (int i : {19, 21, 23, 25})
                EXPECT_EQ(s[i], '@');
            EXPECT_EQ(s[27], '"');
        }
    }
}

TEST(Encodeur, LeadDigitCharacters) {
    const char sans[] = {'#', '$', '%', '&', '(', ')', '*', '+', ',', '-'};
    for (int tete = 0; tete <= 9; ++tete) {
        const QString d = QString::number(tete) + "7812345015000420";
        EXPECT_EQ(ean13_valdorin(d, false)[0], sans[tete]);
        EXPECT_EQ(ean13_valdorin(d, true)[0], QChar('0' + tete));
    }
}

TEST(Encodeur, EdgeValues) {
    // Weighted sum a multiple of ten: check digit 0, written "U".
    EXPECT_EQ(ean13_valdorin("00000000000000000", false)[15], 'U');
    // Add-ons 00000 (v = 0) and 99999 (v = 1).
    EXPECT_EQ(relit(ean13_valdorin("37812345015000000", false)).parites_ajout, "BBAAA");
    EXPECT_EQ(relit(ean13_valdorin("37812345015099999", false)).parites_ajout, "BAAAB");
    // A right-half 7 is the backslash, which the caller's escaping doubles.
    const QString s = ean13_valdorin("37812345777700420", false);
    EXPECT_TRUE(s.contains('\\'));
    EXPECT_EQ(bibliotheque_v1::adapte_postscript(s), QString(s).replace("\\", "\\\\"));
    // Extra characters beyond the 17th are ignored.
    EXPECT_EQ(ean13_valdorin("37812345015000420999", true),
              ean13_valdorin("37812345015000420", true));
}

TEST(Encodeur, ShortOrNonDigitTextGivesEmptyAndAReport) {
    QStringList recus;
    bibliotheque_v1::msgdebug_hook = [&](const QString& t) { recus << t; };
    EXPECT_EQ(ean13_valdorin("3781234501500042", false), "");
    EXPECT_EQ(ean13_valdorin("", true), "");
    EXPECT_EQ(ean13_valdorin("3781234501500042x", true), "");
    bibliotheque_v1::msgdebug_hook = nullptr;
    EXPECT_EQ(recus, QStringList(3, "Exception en ean13_valdorin"));
}
