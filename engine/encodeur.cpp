#include "bibliotheque_v1.h"
#include "valdorin.h"

#include <array>
#include <stdexcept>

namespace valdorin {

namespace {

constexpr char16_t base_a = 65;        // main set A: "A"-"J"
constexpr char16_t base_b = 75;        // main set B: "K"-"T"
constexpr char16_t base_c = 85;        // main set C: "U"-"^"
constexpr char16_t base_ajout_a = 97;  // add-on set A: "a"-"j"
constexpr char16_t base_ajout_b = 107; // add-on set B: "k"-"t"

// Sets of d3-d7 by lead digit (d2 is always in set A): true for set B.
constexpr std::array<std::array<bool, 5>, 10> parite_gauche = {{
    {false, false, false, false, false},
    {false, true, false, true, true},
    {false, true, true, false, true},
    {false, true, true, true, false},
    {true, false, false, true, true},
    {true, true, false, false, true},
    {true, true, true, false, false},
    {true, false, true, false, true},
    {true, false, true, true, false},
    {true, true, false, true, false},
}};

// Sets of the five add-on digits a1-a5 (d12-d16): true for set B. The row is
// v = (a1 + a3 + a5 + 3 * (a2 + a4)) % 10, as encode() computes it, and not
// the add-on's check value c = (3 * (a1 + a3 + a5) + 9 * (a2 + a4)) % 10.
// As 3v = c (mod 10), row v holds the pattern of check value c = 3v % 10: the
// rows are the usual patterns of c = 0, 3, 6, 9, 2, 5, 8, 1, 4, 7 in that
// order (row 0, BBAAA, is that of c = 0; row 1, BAAAB, that of c = 3). The
// index and the order of the rows go together: computing c for the index
// without reordering the rows would give most add-ons the wrong sets.
constexpr std::array<std::array<bool, 5>, 10> parite_ajout = {{
    {true, true, false, false, false},
    {true, false, false, false, true},
    {false, false, false, true, true},
    {false, false, true, false, true},
    {true, false, false, true, false},
    {false, false, true, true, false},
    {false, true, false, false, true},
    {true, false, true, false, false},
    {false, true, true, false, false},
    {false, true, false, true, false},
}};

QString encode(const QString& texte, bool reserves) {
    if (texte.size() < 17)
        throw std::out_of_range("17 chiffres attendus");
    std::array<int, 17> d{};
    for (int i = 0; i < 17; ++i) {
        const char16_t c = texte.at(i).unicode();
        if (c < u'0' || c > u'9')
            throw std::invalid_argument("chiffre attendu");
        d[i] = c - u'0';
    }

    int somme = 0;
    for (int i = 0; i < 12; ++i)
        somme += (i % 2 == 0 ? 1 : 3) * d[i];
    const int controle = (10 - somme % 10) % 10;

    QString s;
    s.reserve(29);
    // Lead digit: its own character with the left reserve, else a zero-width one.
    const char16_t tete = u'0' + d[0];
    s += QChar(reserves ? tete : static_cast<char16_t>(tete - (tete < u'4' ? 13 : 12)));
    s += u'\'';
    s += u':';
    s += QChar(static_cast<char16_t>(base_a + d[1]));
    for (int i = 0; i < 5; ++i)
        s += QChar(static_cast<char16_t>((parite_gauche[d[0]][i] ? base_b : base_a) + d[2 + i]));
    s += u'=';
    for (int i = 7; i < 12; ++i)
        s += QChar(static_cast<char16_t>(base_c + d[i]));
    s += QChar(static_cast<char16_t>(base_c + controle));
    s += u':';
    s += u'?';

    const int v = (d[12] + d[14] + d[16] + 3 * (d[13] + d[15])) % 10;
    for (int i = 0; i < 5; ++i) {
        if (i > 0)
            s += u'@';
        s += QChar(
            static_cast<char16_t>((parite_ajout[v][i] ? base_ajout_b : base_ajout_a) + d[12 + i]));
    }
    s += u'"';
    if (reserves)
        s += u';';
    return s;
}

} // namespace

QString ean13_valdorin(const QString& chiffres, bool reserves) {
    try {
        return encode(chiffres, reserves);
    } catch (const std::exception&) {
        bibliotheque_v1::msgdebug(QStringLiteral("Exception en ean13_valdorin"));
        return QString();
    }
}

} // namespace valdorin
