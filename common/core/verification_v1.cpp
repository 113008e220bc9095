#include "verification_v1.h"

#include <QList>

namespace verification_v1 {

namespace {

bool chiffre(char32_t c) {
    return c >= u'0' && c <= u'9';
}
bool majuscule(char32_t c) {
    return c >= u'A' && c <= u'Z';
}
bool lettre(char32_t c) {
    return majuscule(c) || (c >= u'a' && c <= u'z');
}

bool nom_fichier_valide(char32_t c) {
    if (caractere_de_controle(c))
        return false;
    switch (c) {
    case u'"':
    case u'*':
    case u'/':
    case u':':
    case u'<':
    case u'>':
    case u'?':
    case u'\\':
    case u'|':
        return false;
    default:
        return true;
    }
}

int jours_du_mois(int mois) {
    switch (mois) {
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12:
        return 31;
    case 2:
        return 29;
    default:
        return 30;
    }
}

} // namespace

bool caractere_de_controle(char32_t c) {
    if (c < 32 || (c >= 127 && c <= 159))
        return true;
    switch (c) {
    case 0x061C: // Arabic letter mark
    case 0x200E: // left-to-right mark
    case 0x200F: // right-to-left mark
    case 0x2028: // line separator
    case 0x2029: // paragraph separator
        return true;
    default:
        return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
    }
}

QString verifie_string(const QString& texte, int type, int minimum, int maximum,
                       const QString& autorise) {
    // 1. Length bounds, value limit and the word of the length messages.
    int bas = minimum;
    int haut = maximum;
    int limite = 0;
    QString mot = QStringLiteral("caractères");
    switch (type) {
    case type_chiffres:
        mot = QStringLiteral("chiffres");
        break;
    case type_jour:
        bas = 1;
        haut = 2;
        limite = jours_du_mois(minimum);
        mot = QStringLiteral("chiffres");
        break;
    case type_alphanumerique:
        mot = QStringLiteral("lettres ou chiffres");
        break;
    case type_majuscules:
        mot = QStringLiteral("majuscules");
        break;
    case type_mois:
        bas = 1;
        haut = 2;
        limite = 12;
        mot = QStringLiteral("chiffres");
        break;
    case type_nom_fichier:
        bas = 1;
        break;
    default:
        break;
    }

    const QList<uint> points = texte.toUcs4();

    // 2. Refused characters.
    if (!points.isEmpty()) {
        bool (*accepte)(char32_t) = nullptr;
        QString faute;
        switch (type) {
        case type_chiffres:
        case type_jour:
        case type_mois:
            accepte = chiffre;
            faute = QStringLiteral("présence d'un caractère autre que chiffre");
            break;
        case type_majuscules:
            accepte = majuscule;
            faute = QStringLiteral("présence d'un caractère autre que majuscule");
            break;
        case type_alphanumerique:
            accepte = [](char32_t c) { return chiffre(c) || lettre(c); };
            faute = QStringLiteral("présence d'un caractère autre que lettre ou chiffre");
            break;
        case type_nom_fichier:
            accepte = nom_fichier_valide;
            faute = QStringLiteral("présence d'un caractère invalide pour un nom de fichier");
            break;
        default:
            break;
        }
        if (accepte)
            for (const uint c : points)
                if (!accepte(c))
                    return faute;
    }

    // 3. Length.
    const qsizetype n = points.size();
    if (bas == haut && n != haut)
        return QStringLiteral("nombre de %1 différent de %2").arg(mot).arg(haut);
    if (n < bas)
        return QStringLiteral("nombre de %1 inférieur à %2").arg(mot).arg(bas);
    if (n > haut)
        return QStringLiteral("nombre de %1 supérieur à %2").arg(mot).arg(haut);

    // 4. Value, or the allowed text.
    if (!texte.isEmpty()) {
        if (type == type_jour || type == type_mois) {
            const int valeur = texte.toInt();
            if (valeur < 1 || valeur > limite)
                return type == type_jour ? QStringLiteral("numéro de jour invalide")
                                         : QStringLiteral("numéro de mois invalide");
        } else if (!autorise.isEmpty() && !autorise.contains(texte)) {
            return QStringLiteral("présence d'un caractère autre que ") + autorise;
        }
    }
    return QString();
}

} // namespace verification_v1
