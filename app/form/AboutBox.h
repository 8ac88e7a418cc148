#pragma once

#include <QString>

class QWidget;

// Help > About: the program's name, version and what it is for, and the
// art the pictures come from (ArtSource, none when no art was found), which
// depends on the client.
void ShowAboutBox(QWidget *Parent, const QString &ArtSource);
