#include "entete_reglages.h"

#include <QFile>
#include <QFileDevice>
#include <QStringDecoder>

namespace entete_reglages {

namespace {

constexpr qint64 taille_morceau = 64 * 1024;

// Reads the first line of `fichier` from its current position: units of one
// byte, or of two (big-endian) in UTF-16. The line ends at CR, LF or CR LF,
// which are consumed with it and left out.
QByteArray premiere_ligne(QFile& fichier, bool utf16) {
    const int pas = utf16 ? 2 : 1;
    QByteArray ligne;
    auto lit_unite = [&](QByteArray& unite) {
        unite = fichier.read(pas);
        return unite.size() == pas;
    };
    auto code = [&](const QByteArray& unite) {
        return utf16 ? (static_cast<unsigned char>(unite[0]) << 8) |
                           static_cast<unsigned char>(unite[1])
                     : static_cast<unsigned char>(unite[0]);
    };
    QByteArray unite;
    while (lit_unite(unite)) {
        const int c = code(unite);
        if (c == '\n')
            break;
        if (c == '\r') {
            const qint64 apres = fichier.pos();
            QByteArray suivante;
            if (!lit_unite(suivante) || code(suivante) != '\n')
                fichier.seek(apres);
            break;
        }
        ligne.append(unite);
    }
    return ligne;
}

} // namespace

QString renomme_codage(QString texte, const QString& ancien, const QString& nouveau) {
    const qsizetype fin = texte.indexOf(QStringLiteral("?>"));
    const qsizetype place = texte.indexOf(ancien);
    if (fin >= 0 && place >= 0 && place + ancien.size() <= fin)
        texte.replace(place, ancien.size(), nouveau);
    return texte;
}

issue extrait(const QString& chemin, QString& xml, QFileDevice& copie) {
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
    const QByteArray debut = utf16 ? QByteArray("\0<\0?\0x\0m\0l", 10) : QByteArray("<?xml");
    if (fichier.peek(debut.size()) != debut)
        return issue::sans_entete;
    const QByteArray ligne = premiere_ligne(fichier, utf16);
    QStringDecoder decodeur(utf16 ? QStringConverter::Utf16BE : QStringConverter::Utf8);
    QString texte = decodeur.decode(ligne);
    texte = renomme_codage(texte, QStringLiteral("UTF-16"), QStringLiteral("UTF-8"));

    while (!fichier.atEnd()) {
        const QByteArray morceau = fichier.read(taille_morceau);
        if (morceau.isEmpty() && fichier.error() != QFileDevice::NoError)
            return issue::illisible;
        if (copie.write(morceau) != morceau.size())
            return issue::copie_impossible;
    }
    if (fichier.error() != QFileDevice::NoError)
        return issue::illisible;
    if (!copie.flush())
        return issue::copie_impossible;
    xml = texte;
    return issue::entete;
}

} // namespace entete_reglages
