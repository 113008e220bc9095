#include "dictionnaire_parametres.h"

#include "bibliotheque_v1.h"

namespace parametres_v1 {

std::optional<dictionnaire> dictionnaire_parametres;
std::int32_t niveau_version_preferences = 0;

dictionnaire& dictionnaire_present() {
    if (!dictionnaire_parametres)
        throw echec_parametre(genre_echec::inconnu, "no settings dictionary");
    return *dictionnaire_parametres;
}

QString clef_parametre(const QString& contexte, const QString& nom) {
    return contexte + u'_' + nom;
}

QString texte_valeur(const QVariant& valeur) {
    if (valeur.typeId() == QMetaType::Bool)
        return valeur.toBool() ? mot_vrai : mot_faux;
    return valeur.toString();
}

void parametre_renomme(const QString& ancien_contexte, const QString& ancien_nom,
                       const QString& nouveau_contexte, const QString& nouveau_nom) {
    dictionnaire& dico = dictionnaire_present();
    const QString ancienne = clef_parametre(ancien_contexte, ancien_nom);
    const auto entree = dico.find(ancienne);
    if (entree == dico.end())
        return;
    const QVariant valeur = entree.value();
    dico.erase(entree);
    dico.insert(clef_parametre(nouveau_contexte, nouveau_nom), valeur);
}

void erreur_parametre(genre_echec genre, const QString& balise) {
    QString genre_texte;
    switch (genre) {
    case genre_echec::clef_absente:
        genre_texte = QStringLiteral("Key not in the dictionary");
        break;
    case genre_echec::indice_hors_limites:
        genre_texte = QStringLiteral("The index of the key is out of bounds!");
        break;
    case genre_echec::inconnu:
        genre_texte = QStringLiteral("erreur dictionnaire_parametres inconnue");
        break;
    }
    bibliotheque_v1::msgdebug(QStringLiteral("erreur en entree-sortie de parametre ") + balise +
                              bibliotheque_v1::eol() + genre_texte + bibliotheque_v1::eol(2) +
                              QStringLiteral("Pour en savoir plus, développez un debug dans "
                                             "fonction parametre_") +
                              balise);
}

} // namespace parametres_v1
