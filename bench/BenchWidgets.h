#pragma once

#include <QListWidget>

#include <memory>

// A shown tile list set up as the main window sets up ListBox1: 209 pixels
// wide, one line height for all lines, a fixed-pitch font.
std::unique_ptr<QListWidget> MakeShownTileList();

// Lets Qt run the layout and painting that the last change scheduled, so
// that a timed body pays for what the user would wait for.
void SettleWidgets();
