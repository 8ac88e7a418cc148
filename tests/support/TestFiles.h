#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

// Small file helpers for tests.
namespace TestFiles {

void WriteBytes(const QString &path, const std::vector<unsigned char> &bytes);
void WriteBytes(const QString &path, const QByteArray &bytes);
std::vector<unsigned char> ReadBytes(const QString &path);

// Another program writes one byte into the file, from a process of its own,
// as a second editor or a game patcher would. False when it could not, or
// could not within 10 seconds.
bool WriteByteElsewhere(const QString &path, std::size_t offset, char byte);

// Little-endian stores into a byte buffer, growing it as needed.
void PutU8(std::vector<unsigned char> &bytes, std::size_t offset, std::uint8_t value);
void PutU16(std::vector<unsigned char> &bytes, std::size_t offset, std::uint16_t value);
void PutU32(std::vector<unsigned char> &bytes, std::size_t offset, std::uint32_t value);

// Why a file cannot be opened, in the system's words as "Cannot open file"
// messages give them: the POSIX texts here, the system's own on Windows.
enum class OpenFailure {
    NoFile,    // the folder is there, the file is not
    NoFolder,  // the folder is not there either
    IsAFolder, // a folder stands where the file should be
};
QString OpenFailureReason(OpenFailure failure);

// The message of a read of Path that the file seam failed: the path in the
// system's separators and the device's reason, EIO on POSIX, the read
// fault on Windows.
QString ReadFailureText(const QString &Path);

// The whole message of a file that cannot be opened, with the path in the
// system's own separators as messages show it.
QString CannotOpenText(const QString &Path, const QString &Reason);

#ifndef _WIN32
// Body run in a forked child whose standard error is kept, for what a
// signal does to the process: how the child ended (a waitpid status) and
// what it told on standard error. The child exits 0 when Body returns.
struct ChildRun
{
    int Status = 0;
    QByteArray Told;
};
ChildRun RunInChild(const std::function<void()> &Body);
#endif

} // namespace TestFiles
