#pragma once

#include "fichiers_memo.h"
#include "xml_parametres.h"

// The preferences file at start-up and at quit: one settings pass over the
// whole program, through the XML layout of xml_parametres.h.
namespace parametres_v1 {

// Start-up: reads the newest preferences file found and applies it. A file
// found and refused is told to the user; the current version's is first
// renamed "… (refusé).prefs", so that the quit does not replace it. The
// temporary files of quits killed on this machine are removed first.
void importe_preferences();

// Quit: writes the preferences to the current version's file. A failed
// write keeps the earlier file whole and is told to the user with its reason.
// A value too large for the file to be read back is left out, and the user
// told which.
void exporte_preferences();

// The settings under `clefs` as the user knows them, for a message: the
// caption of each one's field in the main window, else its key, between « ».
QString noms_champs(const QStringList& clefs);

} // namespace parametres_v1
