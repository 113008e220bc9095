#include "ksp_partagees.h"

#include "bibliotheque_v1.h"

#include <QStringEncoder>
#include <QStringList>

namespace ksp_partagees {

namespace {

const QString nbsp = QStringLiteral("\u00A0");
const QString nom_a_obtenir = QStringLiteral("Nom_du_fichier_a_obtenir");

const char* nom_iana(int codage) {
    switch (codage) {
    case ascii:
        return "US-ASCII";
    case mac_roman:
        return "macintosh";
    case windows_ansi:
        return "windows-1252";
    case utf16:
        return "UTF-16BE";
    default:
        return "UTF-8";
    }
}

bool huit_bits(int codage) {
    return codage == ascii || codage == mac_roman || codage == windows_ansi;
}

// Every character beyond ASCII as a character reference: the header then
// reads the same in every 8-bit encoding and as UTF-8, which is how the
// header reader takes it.
QString references_xml(const QString& texte) {
    QString sortie;
    sortie.reserve(texte.size());
    for (const char32_t c : texte.toUcs4()) {
        if (c < 0x80)
            sortie.append(QChar(static_cast<char16_t>(c)));
        else
            sortie.append(QStringLiteral("&#%1;").arg(static_cast<quint32>(c)));
    }
    return sortie;
}

QString refus_colonne(int colonne) {
    return QStringLiteral("La colonne %1 contient une tabulation, le délimiteur ou une fin de "
                          "ligne, qu'un champ de ce fichier ne peut pas garder%2!\r\r"
                          "Enregistrement annulé%2!")
        .arg(colonne)
        .arg(nbsp);
}

} // namespace

QString nom_codage(int codage) {
    static const QStringList noms = {
        QStringLiteral("Ascii"), QStringLiteral("Mac Roman"), QStringLiteral("Windows ANSI"),
        QStringLiteral("Unicode UTF-8"), QStringLiteral("Unicode UTF-16")};
    return noms.value(codage);
}

QByteArray encode(const QString& texte, int codage, QString& refuses) {
    refuses.clear();
    QStringEncoder encodeur(nom_iana(codage));
    QByteArray octets = encodeur.encode(texte);
    if (!encodeur.hasError())
        return octets;
    // Which characters failed: each one on its own.
    for (const char32_t c : texte.toUcs4()) {
        const QString un = QString::fromUcs4(&c, 1);
        if (refuses.contains(un))
            continue;
        QStringEncoder seul(nom_iana(codage));
        // The conversion runs when its result is taken.
        const QByteArray essai = seul.encode(un);
        if (seul.hasError() || essai.isEmpty())
            refuses.append(un);
    }
    return octets;
}

contenu contenu_fichier_donnees(valdorin::tableau_code_barres t, bool previsu, QChar delimiteur,
                                int codage, const QByteArray& xml) {
    contenu resultat;
    const bool guillemets = delimiteur == u',' || delimiteur == u';';
    t[11] = nom_a_obtenir;
    const int nb_champs = previsu ? 13 : 12;
    QStringList champs;
    for (int i = 0; i < nb_champs; ++i) {
        QString champ = t[i];
        if (i == 12 && !guillemets) {
            champ.replace(QStringLiteral("\r\n"), QStringLiteral("<CR>"));
            champ.replace(u'\r', QStringLiteral("<CR>"));
            champ.replace(u'\n', QStringLiteral("<CR>"));
        }
        const bool fin_ligne = champ.contains(u'\r') || champ.contains(u'\n');
        if (champ.contains(u'\t') || (!guillemets && (champ.contains(delimiteur) || fin_ligne))) {
            resultat.refus = refus_colonne(i + 1);
            return resultat;
        }
        if (guillemets && (champ.contains(delimiteur) || champ.contains(u'"') || fin_ligne))
            champ = u'"' + champ.replace(u'"', QStringLiteral("\"\"")) + u'"';
        champs.append(champ);
    }

    QString texte;
    if (!xml.isEmpty()) {
        texte = QString::fromUtf8(xml) + bibliotheque_v1::eol(1);
        if (codage == utf16) {
            const qsizetype place = texte.indexOf(QStringLiteral("UTF-8"));
            if (place >= 0)
                texte.replace(place, 5, QStringLiteral("UTF-16"));
        } else if (huit_bits(codage)) {
            texte = references_xml(texte);
        }
    }
    texte += champs.join(delimiteur);

    QString refuses;
    const QByteArray octets = encode(texte, codage, refuses);
    if (!refuses.isEmpty()) {
        QStringList noms;
        for (const char32_t c : refuses.toUcs4())
            noms.append(QStringLiteral("«%1%2%1»").arg(nbsp, QString::fromUcs4(&c, 1)));
        resultat.refus = QStringLiteral("Le codage %1 ne permet pas d'enregistrer %2 %3%4!\r\r"
                                        "Enregistrement annulé%4!")
                             .arg(nom_codage(codage),
                                  noms.size() == 1 ? QStringLiteral("le caractère")
                                                   : QStringLiteral("les caractères"),
                                  noms.join(QStringLiteral(", ")), nbsp);
        return resultat;
    }
    if (codage == utf16)
        resultat.octets = QByteArrayLiteral("\xFE\xFF");
    resultat.octets += octets;
    return resultat;
}

} // namespace ksp_partagees
