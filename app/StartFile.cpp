#include "app/StartFile.h"

#include <QDir>
#include <QFileInfo>

QString StartFile(const QStringList &Arguments)
{
    if (Arguments.size() < 2 || Arguments.at(1).isEmpty())
        return QString();
    // A relative name is taken from the folder the program was started in;
    // absolute, "load" finds the same file again whatever folder is current.
    return QDir::toNativeSeparators(QFileInfo(Arguments.at(1)).absoluteFilePath());
}
