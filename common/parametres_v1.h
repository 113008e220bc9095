#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <optional>
#include <stdexcept>

class QAbstractButton;
class QComboBox;
class QWidget;

// The settings dictionary and its typed binders. Every setting kept in the
// preferences file or in the state file passes through
// `dictionnaire_parametres`: owners move the values of their controls and
// properties into it (direction "export") or out of it ("import") through the
// binders below, under the key context + "_" + name.
//
// An entry holds a text or a boolean; an entry read from a file is a text.
// Booleans are written to files as the words "true" and "false" and read back
// as the same booleans (any case, blanks around ignored); another text counts
// as true when its leading number is not 0. Numbers are read from the leading
// number of the text, with a point ("4.7" read as an integer gives 4).
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

// One settings pass over the whole program: the application object binds its
// own settings, then the main window, which passes the request on to its pages.
// A failure ends the pass silently (debug report "erreur import_export_parametres").
void import_export_parametres(const QString& genre, const QString& sens);

// Binders. `sens` is "import" (dictionary to control or variable) or "export"
// (the other way); any other text does nothing. A control binder keys the
// setting by the control's objectName. Failures are reported silently and the
// control or variable keeps its value.

// The text of an edit field (QLineEdit or QPlainTextEdit). On import, every line
// end of the stored text becomes CR.
void parametre_editfield(QWidget* champ, const QString& sens, const QString& contexte,
                         const QString& defaut);
// The checked state of a check box (or any checkable button).
void parametre_checkbox(QAbstractButton* case_a_cocher, const QString& sens,
                        const QString& contexte, bool defaut);
// The selected index of a popup menu. An index outside the menu leaves the
// selection as it is, so a default of -1 keeps the control unchanged.
void parametre_popup(QComboBox* menu, const QString& sens, const QString& contexte,
                     std::int32_t defaut);
void parametre_integer(std::int32_t& valeur, const QString& sens, const QString& contexte,
                       const QString& nom, std::int32_t defaut);
void parametre_boolean(bool& valeur, const QString& sens, const QString& contexte,
                       const QString& nom, bool defaut);
// Written as the shortest decimal text that reads back as the same value.
void parametre_double(double& valeur, const QString& sens, const QString& contexte,
                      const QString& nom, double defaut);
// Stored as the decimal elements joined by ","; the default is such a text.
void parametre_tableau_integer(QList<std::int32_t>& valeurs, const QString& sens,
                               const QString& contexte, const QString& nom, const QString& defaut);

// Moves an entry from its older key to its newer one, replacing what the newer
// key held; nothing when the older key is absent. Throws echec_parametre when
// there is no dictionary.
void parametre_renomme(const QString& ancien_contexte, const QString& ancien_nom,
                       const QString& nouveau_contexte, const QString& nouveau_nom);

// The silent debug report of a binder's failure.
void erreur_parametre(genre_echec genre, const QString& balise);

} // namespace parametres_v1
