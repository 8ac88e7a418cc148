#include "platform/Error.h"
#include "platform/ExclusiveWriteFile.h"
#include "platform/FileSystem.h"
#include "platform/SharedReadFile.h"
#include "platform/TextFile.h"
#include "platform/qt/AnsiString.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

// Folder names reach the system whole, whatever the ANSI code page can
// write: each class opens, reads, writes and renames a file below such a
// folder.
class FilePathsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;

private slots:
    void everyClassReachesTheFile_data();
    void everyClassReachesTheFile();
};

void FilePathsTest::everyClassReachesTheFile_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("plain") << QStringLiteral("plain");
    QTest::newRow("in the code page") << QStringLiteral("Äpfel und Öl");
    QTest::newRow("outside the code page") << QStringLiteral("日本 ✓ Ωmega");
}

void FilePathsTest::everyClassReachesTheFile()
{
    QFETCH(QString, folder);
    QVERIFY(QDir(FDir.path()).mkdir(folder));
    const std::string path = AnsiString::ToPath(FDir.filePath(folder + QStringLiteral("/file.txt")));

    TextFile text(path);
    text.Write("old contents");
    text.Close();
    QVERIFY(FileSystem::FileExists(path));

    ExclusiveWriteFile save(path);
    QCOMPARE(save.Size(), std::int64_t(12));
    save.WriteAllAt(0, "new", 3);
    save.Close();

    const std::vector<unsigned char> bytes = ReadWholeFile(path);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size())),
             QByteArray("new contents"));
    QCOMPARE(AnsiString::FromPath(SharedReadFile(path).Path()), FDir.filePath(folder + QStringLiteral("/file.txt")));

    // Renamed over an older file under a name of the same alphabet.
    const std::string renamed = AnsiString::ToPath(FDir.filePath(folder + QStringLiteral("/Δ ä.txt")));
    TextFile(renamed).Close();
    FileSystem::RenameFile(path, renamed);
    QVERIFY(!FileSystem::FileExists(path));
    QCOMPARE(ReadWholeFile(renamed), bytes);
    QVERIFY_THROWS_EXCEPTION(Error, FileSystem::RenameFile(path, renamed));
}

QTEST_GUILESS_MAIN(FilePathsTest)
#include "tst_filepaths.moc"
