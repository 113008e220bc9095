#pragma once

#include <QDateTime>
#include <QImage>

// The about picture and the build date, which the about page draws and the
// start-up reports.

// Picture resource 168, the backdrop of the about page and of the start-up
// splash. Kept once read; read again on the next call while the resource
// gives no picture.
QImage apropos();

// A new date-time holding the build date, on every call.
QDateTime BuildDate();
