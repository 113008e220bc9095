#include "ressources.h"

#include <QDir>
#include <QFile>

// The resources live in a static library: register them before the first read.
static void enregistre_ressources() {
    static const bool fait = [] {
        Q_INIT_RESOURCE(valdorin_ressources);
        return true;
    }();
    (void)fait;
}

namespace ressources {

QByteArray texte(int numero) {
    enregistre_ressources();
    QFile fichier(QStringLiteral(":/ressources/texte/%1").arg(numero));
    if (!fichier.open(QIODevice::ReadOnly))
        return QByteArray();
    return fichier.readAll();
}

QImage image(int numero) {
    enregistre_ressources();
    return QImage(QStringLiteral(":/ressources/image/%1").arg(numero));
}

QIcon icone_application() {
    enregistre_ressources();
    QIcon icone;
    const QDir dossier(QStringLiteral(":/ressources/icones"));
    for (const QString& nom : dossier.entryList({QStringLiteral("*.png")}, QDir::Files))
        icone.addFile(dossier.filePath(nom));
    return icone;
}

} // namespace ressources
