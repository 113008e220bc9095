#pragma once

#include "fichiers_memo.h"
#include "xml_parametres.h"

// The preferences file at start-up and at quit: one settings pass over the
// whole program, through the XML layout of xml_parametres.h.
namespace parametres_v1 {

// Start-up: reads the newest preferences file found and applies it.
void importe_preferences();

// Quit: writes the preferences to the current version's file. A failed
// write keeps the earlier file whole and is told to the user with its reason.
void exporte_preferences();

} // namespace parametres_v1
