#include "xml_parametres.h"

#include "bibliotheque_v1.h"
#include "dictionnaire_parametres.h"
#include "droits_fichiers.h"
#include "ecriture_fichiers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QPair>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <stdexcept>

namespace parametres_v1 {

namespace {

const QString nom_dossier_preferences = QStringLiteral("Valdorin");
// Suffixes of the older versions' files, levels 1 to 5.
const QString anciens_suffixes = QStringLiteral("11,1,02,01,0");

// Whether `nom` can name an element of our files: letters, digits, "_", "-"
// and ".", not starting with a digit, "-" or ".".
bool nom_element_valide(const QString& nom) {
    static const QRegularExpression motif(QStringLiteral("^[A-Za-z_][A-Za-z0-9_.-]*$"));
    return motif.match(nom).hasMatch();
}

// Whether XML 1.0 can hold `c` (as a character or a character reference).
bool caractere_xml(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// Writes `valeur` as the text of the current element. Characters XML cannot
// hold are dropped; CR and LF become character references, which a reader
// neither normalises nor counts as line breaks of the file.
void ecrit_texte(QXmlStreamWriter& ecrivain, const QString& valeur) {
    QString morceau;
    for (const char32_t c : valeur.toUcs4()) {
        if (!caractere_xml(c))
            continue;
        if (c == 0xA || c == 0xD) {
            ecrivain.writeCharacters(morceau);
            morceau.clear();
            ecrivain.writeEntityReference(c == 0xA ? QStringLiteral("#10") : QStringLiteral("#13"));
        } else {
            // Not QString::fromUcs4, which takes a lone U+FEFF for a byte-order mark.
            morceau.append(QStringView(QChar::fromUcs4(c)));
        }
    }
    ecrivain.writeCharacters(morceau);
}

// Reads the current element to its end and gives its value: the text of its
// first child. A child element ends the value; it and everything after it
// are passed over without recursion (Qt's skipCurrentElement counts depth),
// so no nesting depth can exhaust the stack. Comments and processing
// instructions are not children that count.
QString texte_premier_enfant(QXmlStreamReader& lecteur) {
    QString valeur;
    while (!lecteur.atEnd()) {
        switch (lecteur.readNext()) {
        case QXmlStreamReader::Characters:
        case QXmlStreamReader::EntityReference:
            valeur += lecteur.text();
            break;
        case QXmlStreamReader::StartElement:
            lecteur.skipCurrentElement();
            while (!lecteur.atEnd() && lecteur.readNext() != QXmlStreamReader::EndElement) {
                if (lecteur.isStartElement())
                    lecteur.skipCurrentElement();
            }
            return valeur;
        case QXmlStreamReader::EndElement:
        case QXmlStreamReader::Invalid:
            return valeur;
        default:
            break;
        }
    }
    return valeur;
}

// Whether `texte` takes more than taille_maximale_document bytes in UTF-8;
// counted without converting it.
bool document_trop_grand(QStringView texte) {
    if (texte.size() > taille_maximale_document)
        return true; // every character takes one byte at least
    qint64 octets = 0;
    for (const QChar c : texte) {
        const char16_t u = c.unicode();
        octets += u < 0x80 ? 1 : u < 0x800 || c.isSurrogate() ? 2 : 3;
    }
    return octets > taille_maximale_document;
}

// Reads a whole document. Gives the entries in document order, or nothing
// when the document is not a well-formed settings document.
std::optional<QList<QPair<QString, QString>>> lit_document(QXmlStreamReader& lecteur) {
    QList<QPair<QString, QString>> entrees;
    if (!lecteur.readNextStartElement())
        return std::nullopt;
    if (lecteur.qualifiedName() != bibliotheque_v1::nom_standard())
        return std::nullopt;
    while (lecteur.readNextStartElement()) {
        const QString clef = lecteur.qualifiedName().toString();
        const QString valeur = texte_premier_enfant(lecteur);
        if (lecteur.hasError())
            break;
        entrees.append({clef, valeur});
    }
    // The rest of the document must be well formed too: a truncated file
    // gives nothing rather than part of its entries.
    while (!lecteur.atEnd() && !lecteur.hasError())
        lecteur.readNext();
    if (lecteur.hasError())
        return std::nullopt;
    return entrees;
}

// The document of `entrees`; throws when the writer fails.
QByteArray document_xml(const dictionnaire& entrees) {
    QByteArray document;
    QXmlStreamWriter ecrivain(&document);
    ecrivain.setAutoFormatting(false);
    ecrivain.writeStartDocument();
    ecrivain.writeStartElement(bibliotheque_v1::nom_standard());
    for (auto it = entrees.cbegin(); it != entrees.cend(); ++it) {
        const QString& clef = it.key();
        if (clef.isEmpty())
            continue;
        const QString valeur = texte_valeur(it.value());
        if (valeur.isEmpty())
            continue;
        if (!nom_element_valide(clef)) {
            bibliotheque_v1::msgdebug(QStringLiteral("Cree_xml : clef ignorée ") + clef);
            continue;
        }
        ecrivain.writeStartElement(clef);
        ecrit_texte(ecrivain, valeur);
        ecrivain.writeEndElement();
    }
    // Not writeEndDocument(): it would end the text with a line break.
    ecrivain.writeEndElement();
    if (ecrivain.hasError())
        throw std::runtime_error("écriture XML");
    return document;
}

} // namespace

std::optional<QByteArray> cree_xml(QStringList* omises) {
    try {
        if (!dictionnaire_parametres)
            throw std::runtime_error("pas de dictionnaire");
        QByteArray document = document_xml(*dictionnaire_parametres);
        if (omises && document.size() > taille_maximale_document) {
            // Each entry is measured by the document it makes alone; the
            // largest go first, the first key on a tie.
            dictionnaire restantes = *dictionnaire_parametres;
            QList<QPair<qsizetype, QString>> tailles;
            for (auto it = restantes.cbegin(); it != restantes.cend(); ++it)
                tailles.append(
                    {document_xml(dictionnaire{{it.key(), it.value()}}).size(), it.key()});
            std::stable_sort(tailles.begin(), tailles.end(),
                             [](const auto& a, const auto& b) { return a.first > b.first; });
            for (const auto& [taille, clef] : tailles) {
                if (document.size() <= taille_maximale_document)
                    break;
                restantes.remove(clef);
                omises->append(clef);
                document = document_xml(restantes);
            }
        }
        return document;
    } catch (...) {
        bibliotheque_v1::erreur_fichier(QStringLiteral("Cree_xml"));
        return std::nullopt;
    }
}

bool exporte_xml(const QString& chemin, int* erreur, QStringList* omises) {
    const std::optional<QByteArray> document = cree_xml(omises);
    const int resultat =
        document ? bibliotheque_v1::enregistre_fichier(chemin, *document) : sans_document;
    if (erreur)
        *erreur = resultat;
    return resultat == 0;
}

std::int32_t importe_xml_preferences(const QString& chemin, const QString& texte,
                                     bool* refuse_pour_taille) {
    if (refuse_pour_taille)
        *refuse_pour_taille = false;
    try {
        if (!dictionnaire_parametres)
            return 0;
        QByteArray octets;
        bool trop_grand = false;
        if (!chemin.isEmpty()) {
            // Only a regular file: opening a pipe would wait for a writer.
            QFile fichier(chemin);
            if (!QFileInfo(chemin).isFile() || !fichier.open(QIODevice::ReadOnly))
                return 0;
            // No further than the largest document allowed, plus the one
            // byte that tells a larger one.
            octets = fichier.read(taille_maximale_document + 1);
            trop_grand = octets.size() > taille_maximale_document;
        } else {
            trop_grand = document_trop_grand(texte);
        }
        if (trop_grand) {
            if (refuse_pour_taille)
                *refuse_pour_taille = true;
            bibliotheque_v1::erreur_fichier(
                QStringLiteral("importe_xml_preferences : document trop grand"));
            return 0;
        }
        QXmlStreamReader lecteur;
        if (chemin.isEmpty())
            lecteur.addData(texte);
        else
            lecteur.addData(octets);
        const auto entrees = lit_document(lecteur);
        if (!entrees) {
            if (lecteur.hasError())
                bibliotheque_v1::erreur_fichier(
                    QStringLiteral("importe_xml_preferences : XmlException"));
            return 0;
        }
        for (const auto& [clef, valeur] : *entrees)
            dictionnaire_parametres->insert(clef, valeur);
        return static_cast<std::int32_t>(entrees->size());
    } catch (...) {
        return 0;
    }
}

QString chemin_preferences(std::int32_t niveau) {
    const QString configuration =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (configuration.isEmpty())
        throw std::runtime_error("pas de dossier de configuration");
    const QString dossier = QDir(configuration).filePath(nom_dossier_preferences);
    if (!QDir().mkpath(dossier))
        throw std::runtime_error("dossier des préférences impossible à créer");
    QString suffixe;
    if (niveau == 0) {
        suffixe = QStringLiteral("2");
    } else {
        const QStringList anciens = anciens_suffixes.split(u',');
        if (niveau < 1 || niveau > anciens.size())
            return QString();
        suffixe = anciens.at(niveau - 1);
    }
    return QDir(dossier).filePath(nom_dossier_preferences + QStringLiteral("_2_") + suffixe +
                                  QStringLiteral(".prefs"));
}

} // namespace parametres_v1
