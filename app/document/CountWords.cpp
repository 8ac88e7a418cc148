#include "app/document/CountWords.h"

#include <QLocale>

QString Thousands(qint64 Count)
{
    return QLocale(QLocale::English).toString(Count);
}

QString Counted(qint64 Count, const QString &One, const QString &Many)
{
    return Thousands(Count) + QLatin1Char(' ') + (Count == 1 ? One : Many);
}
