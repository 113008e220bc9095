#pragma once

// Data files written for the tests of the reader and the batch page.

#include "environnement.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringEncoder>

namespace outils_donnees {

// Writes `octets` into a new file of the test's folder and gives its path.
inline QString fichier(const QByteArray& octets,
                       const QString& nom = QStringLiteral("donnees.txt")) {
    const QString chemin = test_support::dossier_test() + u'/' + nom;
    QFile f(chemin);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(octets) != octets.size())
        return QString();
    return chemin;
}

// `texte` in UTF-16, big-endian unless told, without a mark.
inline QByteArray utf16(const QString& texte, bool gros_boutiste = true) {
    QStringEncoder encodeur(gros_boutiste ? QStringConverter::Utf16BE : QStringConverter::Utf16LE);
    return encodeur.encode(texte);
}

} // namespace outils_donnees
