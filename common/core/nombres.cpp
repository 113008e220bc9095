#include "nombres.h"

#include <cmath>
#include <limits>

namespace nombres {

namespace {

bool chiffre(const QString& texte, qsizetype i) {
    return i < texte.size() && texte.at(i) >= u'0' && texte.at(i) <= u'9';
}

qsizetype saute_chiffres(const QString& texte, qsizetype i) {
    while (chiffre(texte, i))
        ++i;
    return i;
}

} // namespace

double val(const QString& texte) {
    qsizetype i = 0;
    while (i < texte.size() && (texte.at(i) == u' ' || texte.at(i) == u'\t'))
        ++i;
    const qsizetype debut = i;
    if (i < texte.size() && (texte.at(i) == u'+' || texte.at(i) == u'-'))
        ++i;
    const qsizetype debut_chiffres = i;
    i = saute_chiffres(texte, i);
    bool des_chiffres = i > debut_chiffres;
    if (i < texte.size() && texte.at(i) == u'.') {
        const qsizetype apres_point = i + 1;
        const qsizetype fin_fraction = saute_chiffres(texte, apres_point);
        if (des_chiffres || fin_fraction > apres_point) {
            des_chiffres = true;
            i = fin_fraction;
        }
    }
    if (!des_chiffres)
        return 0;
    // An exponent counts only when digits follow it.
    if (i < texte.size() && (texte.at(i) == u'e' || texte.at(i) == u'E')) {
        qsizetype j = i + 1;
        if (j < texte.size() && (texte.at(j) == u'+' || texte.at(j) == u'-'))
            ++j;
        if (chiffre(texte, j))
            i = saute_chiffres(texte, j);
    }
    // Beyond the range of a double this gives an infinity or 0, as it should.
    return texte.mid(debut, i - debut).toDouble();
}

std::int32_t vers_int32(double valeur) {
    if (std::isnan(valeur))
        return 0;
    constexpr double plus_petit = std::numeric_limits<std::int32_t>::min();
    constexpr double plus_grand = std::numeric_limits<std::int32_t>::max();
    if (valeur <= plus_petit)
        return std::numeric_limits<std::int32_t>::min();
    if (valeur >= plus_grand)
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::trunc(valeur));
}

} // namespace nombres
