#include "fuzz/FuzzScratch.h"

#include "art/MessageBoxes.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace FuzzScratch {

namespace {

QString BaseFolder()
{
    const QString memory = QStringLiteral("/dev/shm");
    if (QFileInfo(memory).isDir() && QFileInfo(memory).isWritable())
        return memory;
    return QDir::tempPath();
}

QTemporaryDir &Folder()
{
    static QTemporaryDir folder(BaseFolder() + QStringLiteral("/quorvane-fuzz-XXXXXX"));
    return folder;
}

std::unique_ptr<QApplication> &Application()
{
    static std::unique_ptr<QApplication> application;
    return application;
}

// Qt's own globals come to life inside the application's constructor, so
// they would be torn down before a static application object is. Closing
// the application from an exit handler registered after it was made puts
// it first in line.
void CloseApplication()
{
    Application().reset();
}

} // namespace

void Prepare()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    if (Application())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application() = std::make_unique<QApplication>(argc, argv);
    std::atexit(CloseApplication);
    MessageBoxes::SetHandler([](MessageBoxes::TBoxKind, const QString &) {});
    Expect(Folder().isValid(), "the scratch folder could not be made");
}

QString PathOf(const QString &Name)
{
    return Folder().filePath(Name);
}

QString Write(const QString &Name, const std::vector<std::uint8_t> &Bytes)
{
    const QString path = PathOf(Name);
    QFile file(path);
    Expect(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot create a scratch file");
    Expect(file.write(reinterpret_cast<const char *>(Bytes.data()), qint64(Bytes.size())) == qint64(Bytes.size()),
           "cannot write a scratch file");
    return path;
}

const std::vector<std::uint8_t> &Read(const QString &Path)
{
    static std::vector<std::uint8_t> bytes;
    QFile file(Path);
    Expect(file.open(QIODevice::ReadOnly), "cannot read a scratch file back");
    bytes.resize(std::size_t(file.size()));
    Expect(file.read(reinterpret_cast<char *>(bytes.data()), qint64(bytes.size())) == qint64(bytes.size()),
           "cannot read a scratch file back");
    return bytes;
}

void Expect(bool Condition, const char *What)
{
    if (Condition)
        return;
    std::fprintf(stderr, "harness check failed: %s\n", What);
    std::abort();
}

} // namespace FuzzScratch
