#pragma once

#include <QStringList>

class QApplication;

// The program: writes the session log, then runs the main window, on the
// file named on the command line if there is one, until it closes.
// Arguments are the command line, the program first, as
// QApplication::arguments() gives it. --help shows the usage and returns 0;
// an option it does not know is refused with one line, returning 2. When the
// log cannot be written it shows "Application Error" and returns 1 before
// any window opens; otherwise it returns the event loop's result.
int RunQuorvane(QApplication &Application, const QStringList &Arguments);
