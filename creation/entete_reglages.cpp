#include "entete_reglages.h"

#include "ecriture_fichiers.h"
#include "xml_parametres.h"

#include <QFile>
#include <QFileDevice>
#include <QStringDecoder>

#include <optional>

namespace entete_reglages {

namespace {

constexpr qint64 taille_morceau = 64 * 1024;

// The code of the unit of `pas` bytes (two: big-endian) at `i`.
int code_unite(const QByteArray& octets, qsizetype i, int pas) {
    const int premier = static_cast<unsigned char>(octets[i]);
    return pas == 2 ? (premier << 8) | static_cast<unsigned char>(octets[i + 1]) : premier;
}

// Reads the first line of `fichier` from its current position: units of one
// byte, or of two (big-endian) in UTF-16. The line ends at CR, LF or CR LF,
// which are consumed with it and left out. A line of more than `plafond`
// bytes is read through to its end in chunks but not kept: the result is
// then nothing.
std::optional<QByteArray> premiere_ligne(QFile& fichier, bool utf16, qint64 plafond) {
    const int pas = utf16 ? 2 : 1;
    QByteArray ligne;
    bool trop_longue = false;
    for (;;) {
        const qint64 debut = fichier.pos();
        const QByteArray morceau = fichier.read(taille_morceau);
        if (morceau.size() < pas) { // the end, or the odd last byte of a UTF-16 file
            fichier.seek(debut + morceau.size());
            break;
        }
        const qsizetype entiers = morceau.size() - morceau.size() % pas;
        qsizetype fin = 0;
        int code = 0;
        while (fin < entiers && (code = code_unite(morceau, fin, pas)) != '\n' && code != '\r')
            fin += pas;
        if (!trop_longue) {
            ligne.append(morceau.constData(), fin);
            if (ligne.size() > plafond) {
                trop_longue = true;
                ligne = QByteArray();
            }
        }
        if (fin == entiers) { // no line end in this chunk
            fichier.seek(debut + entiers);
            continue;
        }
        fichier.seek(debut + fin + pas);
        if (code == '\r') {
            const QByteArray suivante = fichier.peek(pas);
            if (suivante.size() == pas && code_unite(suivante, 0, pas) == '\n')
                fichier.seek(fichier.pos() + pas);
        }
        break;
    }
    if (trop_longue)
        return std::nullopt;
    return ligne;
}

// The content of a first line that a spreadsheet wrote as one quoted cell:
// what lies between its quotes, each doubled quote made single, when nothing
// but delimiters (TAB ; , |) and spaces follows the cell; nothing otherwise.
std::optional<QString> cellule_citee(const QString& ligne) {
    QString contenu;
    qsizetype i = 1; // after the opening quote
    for (;;) {
        const qsizetype guillemet = ligne.indexOf(u'"', i);
        if (guillemet < 0)
            return std::nullopt;
        contenu += QStringView(ligne).mid(i, guillemet - i);
        i = guillemet + 1;
        if (i < ligne.size() && ligne[i] == u'"') {
            contenu += u'"';
            ++i;
            continue;
        }
        break;
    }
    for (; i < ligne.size(); ++i)
        if (!QStringView(u"\t;,| ").contains(ligne[i]))
            return std::nullopt;
    return contenu;
}

} // namespace

QString renomme_codage(QString texte, const QString& ancien, const QString& nouveau) {
    const qsizetype fin = texte.indexOf(QStringLiteral("?>"));
    const qsizetype place = texte.indexOf(ancien);
    if (fin >= 0 && place >= 0 && place + ancien.size() <= fin)
        texte.replace(place, ancien.size(), nouveau);
    return texte;
}

issue extrait(const QString& chemin, QString& xml, QFileDevice& copie, int* erreur_copie) {
    xml.clear();
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly))
        return issue::illisible;
    if (fichier.size() < 3)
        return issue::sans_entete;
    const QByteArray marque = fichier.read(2);
    const bool utf16 = marque == QByteArrayLiteral("\xFE\xFF");
    if (!utf16)
        fichier.seek(0);
    // Any other start is no header: a long first record is not read for it.
    // A spreadsheet that saved the file again wrote the header as one quoted
    // cell, its quotes doubled.
    const QByteArray debut = utf16 ? QByteArray("\0<\0?\0x\0m\0l", 10) : QByteArray("<?xml");
    const QByteArray guillemet = utf16 ? QByteArray("\0\"", 2) : QByteArray("\"");
    const QByteArray tete = fichier.peek(guillemet.size() + debut.size());
    const bool citee = tete == guillemet + debut;
    if (!citee && !tete.startsWith(debut))
        return issue::sans_entete;
    // A line that cannot make a settings document small enough to be read
    // (its UTF-8 text, named back "UTF-8", takes at least half the bytes of
    // its UTF-16 form, and all the bytes of its 8-bit form, less one; a
    // quoted cell holds its quotes twice, and the delimiters that follow it)
    // is refused whole without being kept in memory, as an unreadable header is.
    const qint64 plafond =
        (utf16 ? 2 : 1) * (citee ? 3 : 1) * (parametres_v1::taille_maximale_document + 1);
    const std::optional<QByteArray> ligne = premiere_ligne(fichier, utf16, plafond);
    QString texte;
    if (ligne) {
        QStringDecoder decodeur(utf16 ? QStringConverter::Utf16BE : QStringConverter::Utf8);
        texte = decodeur.decode(*ligne);
        if (citee) {
            // Any other line that starts so is a record.
            const std::optional<QString> contenu = cellule_citee(texte);
            if (!contenu)
                return issue::sans_entete;
            texte = *contenu;
        }
        texte = renomme_codage(texte, QStringLiteral("UTF-16"), QStringLiteral("UTF-8"));
    }

    while (!fichier.atEnd()) {
        const QByteArray morceau = fichier.read(taille_morceau);
        if (morceau.isEmpty() && fichier.error() != QFileDevice::NoError)
            return issue::illisible;
        if (const int erreur = bibliotheque_v1::ecrit_tout(copie.handle(), morceau)) {
            if (erreur_copie)
                *erreur_copie = erreur;
            return issue::copie_impossible;
        }
    }
    if (fichier.error() != QFileDevice::NoError)
        return issue::illisible;
    xml = texte;
    return issue::entete;
}

} // namespace entete_reglages
