#pragma once

#include <functional>

class QObject;

// The quits that the system asks for with a signal: SIGTERM (shutdown, end of
// the session), SIGHUP (the terminal gone) and SIGINT (Ctrl+C in a terminal)
// end the program as its "&Quitter" command does, on the event loop, so that
// the preferences are written. The signal handler only writes a byte on a
// pipe; the event loop reads it.
namespace signaux_fin {

// Catches the three signals from now on. Comes first in main, before the
// application object: a signal that comes during the start-up waits on the
// pipe until `surveille` reads it. A signal that the program was started with
// ignored (nohup, a background job of a shell) stays ignored.
void installe();

// Runs `fin` on the event loop for each signal caught since `installe`, one
// waiting already included, for as long as `proprietaire` lives. Does nothing
// where `installe` has not run (the test programs) or once it watches.
void surveille(QObject* proprietaire, std::function<void()> fin);

} // namespace signaux_fin
