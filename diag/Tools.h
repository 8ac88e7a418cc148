#pragma once

// The session log: at every start the program writes one line beside its
// own executable, "Session Startet: " and the local time in the user's long
// time format, into the executable's full path with ".log" appended.
class Tdebug
{
public:
    // Writes the log, replacing any earlier one. Throws Error with the text
    // of the failure ("File access denied", "Disk full", ...).
    Tdebug();
};

// The module's start-up step: creates the one Tdebug of the run, which is
// kept until the process ends. Called by the program entry before anything
// of the main window exists; its failure ends start-up.
void InitializeTools();
