#include "tests/support/TestFiles.h"

#include "platform/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <cerrno>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace TestFiles {

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot create " + path.toStdString());
    if (file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

void WriteBytes(const QString &path, const std::vector<unsigned char> &bytes)
{
    WriteBytes(path, QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size())));
}

std::vector<unsigned char> ReadBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    const QByteArray data = file.readAll();
    return std::vector<unsigned char>(data.begin(), data.end());
}

bool WriteByteElsewhere(const QString &path, std::size_t offset, char byte)
{
#ifdef _WIN32
    // No shell to hand; what counts is a write that bypasses the store.
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.seek(qint64(offset)) && file.write(&byte, 1) == 1;
#else
    const QString script = QStringLiteral("printf '%s' \"$3\" | dd of=\"$1\" bs=1 seek=\"$2\" conv=notrunc status=none");
    QProcess writer;
    writer.start(QStringLiteral("sh"), {QStringLiteral("-c"), script, QStringLiteral("sh"), path,
                                        QString::number(offset), QString(QChar(byte))});
    // A writer kept waiting (by a lease on the file, say) counts as failed.
    if (!writer.waitForFinished(10000)) {
        writer.kill();
        writer.waitForFinished(1000);
        return false;
    }
    return writer.exitStatus() == QProcess::NormalExit && writer.exitCode() == 0;
#endif
}

void PutU8(std::vector<unsigned char> &bytes, std::size_t offset, std::uint8_t value)
{
    if (bytes.size() < offset + 1)
        bytes.resize(offset + 1);
    bytes[offset] = value;
}

void PutU16(std::vector<unsigned char> &bytes, std::size_t offset, std::uint16_t value)
{
    PutU8(bytes, offset, std::uint8_t(value & 0xFF));
    PutU8(bytes, offset + 1, std::uint8_t(value >> 8));
}

void PutU32(std::vector<unsigned char> &bytes, std::size_t offset, std::uint32_t value)
{
    PutU16(bytes, offset, std::uint16_t(value & 0xFFFF));
    PutU16(bytes, offset + 2, std::uint16_t(value >> 16));
}

QString OpenFailureReason(OpenFailure failure)
{
#ifdef _WIN32
    const DWORD codes[] = {ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED};
    return QString::fromStdString(FileSystem::SystemErrorText(int(codes[int(failure)])));
#else
    return failure == OpenFailure::IsAFolder ? QStringLiteral("Is a directory")
                                             : QStringLiteral("No such file or directory");
#endif
}

QString ReadFailureText(const QString &Path)
{
#ifdef _WIN32
    const int reason = int(ERROR_READ_FAULT);
#else
    const int reason = EIO;
#endif
    return QDir::toNativeSeparators(Path) + ": " + QString::fromStdString(FileSystem::SystemErrorText(reason));
}

QString CannotOpenText(const QString &Path, const QString &Reason)
{
    return QStringLiteral("Cannot open file \"%1\". %2").arg(QDir::toNativeSeparators(Path), Reason);
}

#ifndef _WIN32
ChildRun RunInChild(const std::function<void()> &Body)
{
    int told[2];
    ChildRun run;
    if (::pipe(told) != 0)
        throw std::runtime_error("no pipe for the child's messages");
    const pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error("no child process");
    if (child == 0) {
        ::dup2(told[1], STDERR_FILENO);
        Body();
        ::_exit(0);
    }
    ::close(told[1]);
    char buffer[512];
    for (ssize_t n; (n = ::read(told[0], buffer, sizeof buffer)) > 0;)
        run.Told.append(buffer, int(n));
    ::close(told[0]);
    ::waitpid(child, &run.Status, 0);
    return run;
}
#endif

} // namespace TestFiles
