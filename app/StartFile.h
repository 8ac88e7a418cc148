#pragma once

#include <QString>
#include <QStringList>

// The tile data file named on the command line: "quorvane FILE", as a file
// manager's "Open with" and a file association start the program. Arguments
// are the application's, the program first (Qt has taken out its own
// options). The path is made absolute and given with the system's own
// separators, as a file picked in the open-file dialog is; empty when no
// file is named. Only the first argument counts: a desktop entry passes one
// file, and starting one window per further file is not how the editor
// works.
QString StartFile(const QStringList &Arguments);
