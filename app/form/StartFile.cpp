#include "app/form/StartFile.h"

#include <QDir>
#include <QFileInfo>

StartCommand StartCommand::Read(const QStringList &Arguments)
{
    StartCommand command;
    QString file;
    for (qsizetype at = 1; at < Arguments.size(); ++at) {
        const QString &argument = Arguments.at(at);
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            command.Help = true;
        else if (argument.size() > 1 && argument.startsWith(QLatin1Char('-')))
            return {QString(), false, QStringLiteral("\"%1\" is not an option").arg(argument)};
        else if (at == 1)
            file = argument;
    }
    // A relative name is taken from the folder the program was started in;
    // absolute, "load" finds the same file again whatever folder is current.
    if (!command.Help && !file.isEmpty())
        command.File = QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
    return command;
}

const char *StartCommand::Usage()
{
    return "usage: quorvane [FILE]\n"
           "Opens FILE, a tile data file; without one, the open-file dialog.\n";
}

QString StartFile(const QStringList &Arguments)
{
    return StartCommand::Read(Arguments).File;
}
