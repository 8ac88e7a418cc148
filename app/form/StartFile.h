#pragma once

#include <QString>
#include <QStringList>

// The command line of "quorvane [FILE]". Arguments are the application's,
// the program first (Qt has taken out its own options).
struct StartCommand
{
    // The tile data file named, as StartFile gives it; empty when none is.
    QString File;
    // --help or -h: show the usage and start no window.
    bool Help = false;
    // What is wrong with the command line, as one line; empty when nothing
    // is. A word that begins with "-" is an option, never a file: a mistyped
    // option must not be opened as a file of that name.
    QString Problem;

    static StartCommand Read(const QStringList &Arguments);
    static const char *Usage();
};

// The tile data file named on the command line: "quorvane FILE", as a file
// manager's "Open with" and a file association start the program. The path
// is made absolute and given with the system's own separators, as a file
// picked in the open-file dialog is; empty when no file is named. Only the
// first file counts: a desktop entry passes one file, and starting one
// window per further file is not how the editor works.
QString StartFile(const QStringList &Arguments);
