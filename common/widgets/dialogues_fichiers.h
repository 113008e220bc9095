#pragma once

#include "droits_fichiers.h"

#include <QFileDialog>
#include <QString>
#include <QStringList>

class QWidget;
struct type_fichier;

// The file and folder dialogs of the utility library. Every dialog has the
// title "Valdorin" and a French prompt, starts in a folder remembered from the
// earlier dialogs of the run, and refuses files and folders that may not be
// read or written. Files and folders are absolute paths; "" means none.
namespace bibliotheque_v1 {

// Remembered folders, empty at start and never saved.
extern QString dossier_lecture;  // last folder a file was opened from
extern QString dossier_ecriture; // last folder chosen for writing
extern QString dossier_courant;  // last folder of any dialog

// The folder a dialog of `genre` ("lecture", "ecriture" or "courant") starts in.
QString get_dossier(const QString& genre);

// Where a dialog starts when no folder is remembered: the user's Documents
// folder, or the home folder when there is none.
QString dossier_documents();

// Asks for a file to open, of `type` when one is given.
QString get_readfolderitem(QWidget* proprietaire, const type_fichier* type, const QString& genre);

// Asks for a folder to write into; `legende` replaces the action button's
// caption when not empty.
QString get_savefolder(QWidget* proprietaire, const QString& genre, const QString& legende);

// Asks for a file to save, of `type`, proposing `nom` ("sans titre" when empty).
QString get_savefolderitem(QWidget* proprietaire, const type_fichier& type, const QString& genre,
                           const QString& nom);

// What a file dialog is asked to show.
struct demande_dialogue {
    enum genre_dialogue { ouvrir_fichier, choisir_dossier, enregistrer_fichier };
    genre_dialogue genre = ouvrir_fichier;
    QWidget* proprietaire = nullptr;
    QString titre;
    QString invite;
    QString dossier_depart;
    QString filtre;         // Qt name filter, "" = every file
    QString nom_propose;    // save dialog only
    QString suffixe_defaut; // save dialog only, without the dot
    // Save dialog only: extensions, without the dot and in any letter case,
    // that a chosen name loses for suffixe_defaut (a PDF named "x.eps").
    QStringList suffixes_remplaces;
    QString legende_bouton; // "" = the dialog's own caption
};

// Shows file dialogs. The application uses Qt's own (non-native) dialogs;
// another presenter can be installed, for instance to answer without a screen.
class presentateur_dialogues {
public:
    virtual ~presentateur_dialogues() = default;
    // The chosen file or folder, or "" when the user cancelled.
    virtual QString montre(const demande_dialogue& demande) = 0;
};

// Installs `presentateur` (nullptr: back to Qt's dialogs); owned by the caller.
void installe_presentateur_dialogues(presentateur_dialogues* presentateur);

// Shows `demande` through the installed presenter, or Qt's dialogs: the
// chosen file or folder, or "" when the user cancelled. No check, no message.
QString montre_demande(const demande_dialogue& demande);

// Qt's own file dialog, answering what its name field names:
// - a choose-folder dialog whose name field holds the path of an existing
//   folder, absolute or relative to the folder shown, answers that folder
//   (Qt's own answer may be another: the folder shown, or one selected in
//   its list);
// - an open dialog whose name field names an existing file, and a save
//   dialog whose name field names a file in an existing folder, answer that
//   file (Qt would go into a folder left selected, out of view, in its
//   list); a folder selected in view is still gone into;
// - a save dialog gives a typed name the extension of its kind in place of
//   one of the request's `suffixes_remplaces` before it is accepted, so that
//   the question whether to replace a file is asked of the file that will
//   be written.
class dialogue_fichiers : public QFileDialog {
public:
    explicit dialogue_fichiers(const demande_dialogue& demande);

    // The chosen file or folder once the dialog is accepted.
    QString reponse() const;

protected:
    void accept() override;

private:
    QStringList suffixes_remplaces;
    QString dossier_saisi;
};

// Builds the Qt dialog for `demande`, ready to be shown.
dialogue_fichiers* prepare_dialogue(const demande_dialogue& demande);

// The name filter of a file type: "EPS (*.eps)".
QString filtre_type(const type_fichier& type);

} // namespace bibliotheque_v1
