#pragma once

#include <QString>

// Counts in the window's messages, grouped by thousands as the file's own
// warnings write them: "65,536 tiles selected".
QString Thousands(qint64 Count);
// "1 tile", "65,536 tiles".
QString Counted(qint64 Count, const QString &One, const QString &Many);
