#pragma once

#include "dictionnaire_parametres.h"

#include <QList>
#include <QString>

#include <cstdint>

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

// One settings pass over the whole program: the application object binds its
// own settings, then the main window, which passes the request on to its pages.
// A failure ends the pass silently (debug report "erreur import_export_parametres").
void import_export_parametres(const QString& genre, const QString& sens);

// The "memo" export that a state restore starts from: a setting the state file
// lacks keeps its current value, except the text of an edit field, which is
// exported empty. An empty text is left out of the file, so a text field that
// the file lacks (saved empty, or from an older or hand-edited file) is
// restored empty, never left with what was typed since.
void exporte_base_restauration();

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

} // namespace parametres_v1
