#pragma once

class QApplication;

// The program: writes the session log, then runs the main window until it
// closes. When the log cannot be written it shows "Application Error" and
// returns 1 before any window opens; otherwise it returns the event loop's
// result.
int RunQuorvane(QApplication &Application);
