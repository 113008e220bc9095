#include "bibliotheque_v1.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace bibliotheque_v1 {

std::function<void(const QString&)> msgdebug_hook;
std::function<void(const QString&)> msgdebug_affichage;

QString eol(int nombre) {
    return nombre > 0 ? QStringLiteral("\n").repeated(nombre) : QString();
}

QString zeros_retire(const QString& texte) {
    qsizetype i = 0;
    while (i < texte.size() && texte.at(i) == u'0')
        ++i;
    return texte.mid(i);
}

QString zeros_ajoute(const QString& texte, int longueur) {
    const qsizetype manque = longueur - texte.size();
    if (manque <= 0)
        return texte;
    return QString(manque, u'0') + texte;
}

QString format_mois(int mois, const QString& langue) {
    static const char* const anglais[] = {"January",   "February", "March",    "April",
                                          "May",       "June",     "July",     "August",
                                          "September", "October",  "November", "December"};
    static const char* const francais[] = {"janvier",   "février", "mars",     "avril",
                                           "mai",       "juin",    "juillet",  "août",
                                           "septembre", "octobre", "novembre", "décembre"};
    const char* const* noms = nullptr;
    if (langue == u"en")
        noms = anglais;
    else if (langue == u"fr")
        noms = francais;
    else
        return QString();
    if (mois < 1 || mois > 12)
        return QStringLiteral("erreur");
    return QString::fromUtf8(noms[mois - 1]);
}

QString middle_date(const QDate& date) {
    return QString::number(date.day()) + u' ' + format_mois(date.month(), QStringLiteral("fr")) +
           u' ' + QString::number(date.year());
}

QString str_format(double valeur, int decimales) {
    QString texte;
    if (decimales == 0) {
        texte = QString::number(std::round(valeur), 'f', 0);
        return texte == u"-0" ? QStringLiteral("0") : texte;
    }
    if (decimales == -1) {
        // The shortest digits that read back as the same double, never the
        // binary residue of the value; at most 26 fraction digits, trailing
        // zeros dropped.
        texte = QString::number(valeur, 'f', QLocale::FloatingPointShortest);
        const qsizetype point = texte.indexOf(u'.');
        if (point >= 0 && texte.size() - point - 1 > 26) {
            texte = QString::number(valeur, 'f', 26);
            while (texte.endsWith(u'0'))
                texte.chop(1);
            if (texte.endsWith(u'.'))
                texte.chop(1);
        }
    } else {
        texte = QString::number(valeur, 'f', decimales > 0 ? decimales : 0);
    }
    // A value that rounds to zero is written without its sign ("0,00", not "-0,00").
    if (texte.startsWith(u'-') && std::all_of(texte.cbegin() + 1, texte.cend(),
                                              [](QChar c) { return c == u'0' || c == u'.'; }))
        texte.remove(0, 1);
    const qsizetype point = texte.indexOf(u'.');
    if (point >= 0)
        texte[point] = u',';
    return texte;
}

int code_windows_1252(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<int>(c);
    if (c < 0xA0)
        return -1; // C1 controls: the code page uses these codes for other characters
    static const struct {
        char32_t unicode;
        int code;
    } table[] = {{0x20AC, 0x80}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85},
                 {0x2020, 0x86}, {0x2021, 0x87}, {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A},
                 {0x2039, 0x8B}, {0x0152, 0x8C}, {0x017D, 0x8E}, {0x2018, 0x91}, {0x2019, 0x92},
                 {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95}, {0x2013, 0x96}, {0x2014, 0x97},
                 {0x02DC, 0x98}, {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B}, {0x0153, 0x9C},
                 {0x017E, 0x9E}, {0x0178, 0x9F}};
    for (const auto& entree : table)
        if (entree.unicode == c)
            return entree.code;
    return -1;
}

QString adapte_postscript(const QString& texte) {
    QString resultat;
    resultat.reserve(texte.size() + 8);
    const QList<uint> points = texte.toUcs4();
    for (qsizetype i = 0; i < points.size(); ++i) {
        const char32_t c = points[i];
        switch (c) {
        case u'\\':
            resultat += QStringLiteral("\\\\");
            break;
        case u'(':
            resultat += QStringLiteral("\\(");
            break;
        case u')':
            resultat += QStringLiteral("\\)");
            break;
        case u'\r':
            if (i + 1 < points.size() && points[i + 1] == u'\n')
                ++i; // CR LF is one line end
            [[fallthrough]];
        case u'\n':
            resultat += QStringLiteral("\\r\\n");
            break;
        case u'\t':
            resultat += QStringLiteral("\\t");
            break;
        default:
            if (c < 128) {
                resultat += QChar(static_cast<char16_t>(c));
            } else {
                // 128-255 keep their Latin-1 code; beyond, the Windows-1252 code
                // when the code page has the character.
                const int code = c <= 255 ? static_cast<int>(c) : code_windows_1252(c);
                if (code < 0)
                    resultat += u'?';
                else
                    resultat += u'\\' + zeros_ajoute(QString::number(code, 8), 3);
            }
        }
    }
    return resultat;
}

QString nom_standard() {
    return nom_produit.toLower().replace(u' ', u'_');
}

int string_width(const QString& texte, const QString& police, int taille, bool gras,
                 bool italique) {
    if (texte.isEmpty())
        return 0;
    QFont fonte = QGuiApplication::font();
    if (!police.isEmpty() && police != u"System")
        fonte.setFamily(police);
    if (taille > 0)
        fonte.setPixelSize(taille);
    fonte.setBold(gras);
    fonte.setItalic(italique);
    return static_cast<int>(QFontMetricsF(fonte).horizontalAdvance(texte));
}

void msgdebug(const QString& texte) {
    if (msgdebug_hook)
        msgdebug_hook(texte);
#ifdef VALDORIN_DEBUG
    if (msgdebug_affichage)
        msgdebug_affichage(texte);
#endif
}

} // namespace bibliotheque_v1
