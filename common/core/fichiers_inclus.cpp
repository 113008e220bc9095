#include "fichiers_inclus.h"

#include "bibliotheque_v1.h"
#include "ressources.h"

#include <exception>

namespace fichiers_inclus {

QString licence_fr_texte;
bool licence_fr_chargee = false;
QString licence_en_texte;
bool licence_en_chargee = false;

namespace {

// The agreement resources are UTF-8 text.
QString texte_garde(int numero, QString& texte, bool& chargee) {
    if (!chargee) {
        texte = QString::fromUtf8(ressources::texte(numero));
        chargee = true;
    }
    return texte;
}

} // namespace

QString licence_fr() {
    return texte_garde(168, licence_fr_texte, licence_fr_chargee);
}

QString licence_en() {
    return texte_garde(169, licence_en_texte, licence_en_chargee);
}

QString desincorpore_texte(const QString& nom, const QString& langue) {
    try {
        const QString clef = nom + u'_' + (langue.isEmpty() ? QStringLiteral("fr") : langue);
        if (clef == u"licence_en")
            return licence_en();
        if (clef == u"licence_fr")
            return licence_fr();
        return QStringLiteral("Debug en desincorpore_texte");
    } catch (const std::exception&) {
        bibliotheque_v1::msgdebug(QStringLiteral("Erreur en desincorpore_texte"));
        return QString();
    }
}

} // namespace fichiers_inclus
