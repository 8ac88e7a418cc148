#pragma once

class QApplication;

// The program: writes the session log, then runs the main window, on the
// file named on the command line if there is one, until it closes. When the log cannot be written it shows "Application Error" and
// returns 1 before any window opens; otherwise it returns the event loop's
// result.
int RunQuorvane(QApplication &Application);
