#pragma once

#include <QMap>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <optional>
#include <stdexcept>

// The settings dictionary: every setting kept in the preferences file or in
// the state file passes through `dictionnaire_parametres`, under the key
// context + "_" + name. The typed binders that move control values in and out
// of it are in parametres_v1.h.
//
// An entry holds a text or a boolean; an entry read from a file is a text.
// Booleans are written to files as the words "true" and "false".
namespace parametres_v1 {

// Key to value. Absent until the start-up import of the preferences creates it.
using dictionnaire = QMap<QString, QVariant>;
extern std::optional<dictionnaire> dictionnaire_parametres;

// 0 at start; the level of the preferences file being read during the start-up
// import (0 = the current version's file, 1-5 = older ones); one more than the
// last level tried once that import is over.
extern std::int32_t niveau_version_preferences;

// The words that stand for a boolean in a file.
inline const QString mot_vrai = QStringLiteral("true");
inline const QString mot_faux = QStringLiteral("false");

// The kinds of failure that a binder reports.
enum class genre_echec { clef_absente, indice_hors_limites, inconnu };

// A failure while a value is moved to or from the dictionary.
class echec_parametre : public std::runtime_error {
public:
    echec_parametre(genre_echec genre, const char* quoi)
        : std::runtime_error(quoi), genre_(genre) {}
    genre_echec genre() const { return genre_; }

private:
    genre_echec genre_;
};

// The key of a setting: context + "_" + name.
QString clef_parametre(const QString& contexte, const QString& nom);

// The text form of an entry, as a file holds it (a boolean gives its word).
QString texte_valeur(const QVariant& valeur);

// The dictionary; throws echec_parametre when there is none.
dictionnaire& dictionnaire_present();

// Moves an entry from its older key to its newer one, replacing what the newer
// key held; nothing when the older key is absent. Throws echec_parametre when
// there is no dictionary.
void parametre_renomme(const QString& ancien_contexte, const QString& ancien_nom,
                       const QString& nouveau_contexte, const QString& nouveau_nom);

// The silent debug report of a binder's failure.
void erreur_parametre(genre_echec genre, const QString& balise);

} // namespace parametres_v1
