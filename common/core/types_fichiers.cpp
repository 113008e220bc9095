#include "types_fichiers.h"

#include "bibliotheque_v1.h"

namespace {

// The application's own creator code.
const QString createur = QStringLiteral("vdrn");

type_fichier type_texte(const QString& nom, const QString& extensions) {
    return {nom, extensions, QStringLiteral("TEXT"), QStringLiteral("????")};
}

} // namespace

namespace ensemble_fichiers_drop {

namespace {
std::optional<type_fichier> etat;
QList<type_fichier> tous;
} // namespace

void Initialize() {
    etat = type_fichier{QStringLiteral("Valdorin State"), QStringLiteral(".valdorin"), createur,
                        createur};
    tous = {*etat, type_texte(QStringLiteral("Text"), QStringLiteral(".txt")),
            type_texte(QStringLiteral("CSV Text"), QStringLiteral(".csv")),
            type_texte(QStringLiteral("PRN Text"), QStringLiteral(".prn"))};
}

std::optional<type_fichier> type_etat() {
    return etat;
}

QList<type_fichier> types() {
    return tous;
}

QString All() {
    return QStringLiteral("Valdorin State;Text;CSV Text;PRN Text;");
}

} // namespace ensemble_fichiers_drop

namespace ensemble_fichiers_resultat {

namespace {
std::optional<type_fichier> eps;
std::optional<type_fichier> pdf;
} // namespace

void Initialize() {
    eps = type_fichier{QStringLiteral("EPS"), QStringLiteral(".eps"), QStringLiteral("EPSF"),
                       createur};
    pdf = type_fichier{QStringLiteral("PDF"), QStringLiteral(".pdf"), QStringLiteral("PDF "),
                       createur};
}

std::optional<type_fichier> type_eps() {
    return eps;
}

std::optional<type_fichier> type_pdf() {
    return pdf;
}

} // namespace ensemble_fichiers_resultat

namespace file_table_type {

type_fichier filetype_table(int code) {
    switch (code) {
    case 9:
        return type_texte(QStringLiteral("Texte (séparateur: tabulation)"), QStringLiteral(".txt"));
    case 32:
        return type_texte(QStringLiteral("Texte (séparateur: espace)"),
                          QStringLiteral(".txt,.prn"));
    case 44:
        return type_texte(QStringLiteral("Texte (séparateur: virgule)"),
                          QStringLiteral(".txt,.csv"));
    case 59:
        return type_texte(QStringLiteral("Texte (séparateur: point-virgule)"),
                          QStringLiteral(".txt,.csv"));
    case 124:
        return type_texte(QStringLiteral("Texte (séparateur: barre verticale)"),
                          QStringLiteral(".txt"));
    default:
        bibliotheque_v1::msgdebug(QStringLiteral("erreur en filetype_table"));
        return type_texte(QString(), QString());
    }
}

} // namespace file_table_type
