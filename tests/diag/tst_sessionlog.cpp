#include "diag/Tools.h"
#include "platform/Error.h"
#include "platform/Process.h"
#include "platform/TextFile.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#ifdef _WIN32
#include <windows.h>

// The log's time follows the thread's locale: German writes 24-hour times
// with two-digit hours, American a 12-hour clock with a designator after.
constexpr LCID German = 0x407;
constexpr LCID American = 0x409;
#else
#include <cerrno>
#include <locale.h>
#include <sys/stat.h>
#endif

namespace {

QString LogPath()
{
    return QCoreApplication::applicationFilePath() + QStringLiteral(".log");
}

QByteArray ReadLog()
{
    const std::vector<unsigned char> bytes = TestFiles::ReadBytes(LogPath());
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

// Seconds since midnight of a line's time, or -1 when the line is not a
// 24-hour "Session Startet: hh:mm:ss" line.
int SecondsOfLine(const QByteArray &line)
{
    static const QRegularExpression shape(QStringLiteral("^Session Startet: (\\d\\d):(\\d\\d):(\\d\\d)\r\n$"));
    const QRegularExpressionMatch m = shape.match(QString::fromLatin1(line));
    if (!m.hasMatch())
        return -1;
    return m.captured(1).toInt() * 3600 + m.captured(2).toInt() * 60 + m.captured(3).toInt();
}

QString FailureOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const Error &e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}

void WriteTextFile(const QString &path)
{
    TextFile file(path.toStdString());
    file.Write("Session Startet: 00:00:00\r\n");
    file.Close();
}

} // namespace

class SessionLogTest : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;

private slots:
    void initTestCase();
    void cleanup();
    void executablePathIsTheRunningBinary();
    void logKeepsTheExecutablesExtension();
    void logHoldsOneLineWithTheStartTime();
    void secondStartReplacesTheLine();
    void twelveHourLocaleWritesDesignator();
    void logInTheWayGivesAccessDenied();
    void initializeToolsCreatesOneLogPerRun();
    void textFileFailures_data();
    void textFileFailures();
    void logHeldByAnotherProgram();
    void errorTexts_data();
    void errorTexts();
};

void SessionLogTest::initTestCase()
{
#ifdef _WIN32
    ::SetThreadLocale(German);
#endif
    qputenv("LOCPATH", TEST_LOCALES_DIR);
    qunsetenv("LC_ALL");
    qunsetenv("LANG");
    qputenv("LC_TIME", "C.UTF-8");
}

void SessionLogTest::cleanup()
{
    QDir().rmdir(LogPath());
    QFile::remove(LogPath());
    qputenv("LC_TIME", "C.UTF-8");
#ifdef _WIN32
    ::SetThreadLocale(German);
#endif
}

void SessionLogTest::executablePathIsTheRunningBinary()
{
    const QString path = QDir::fromNativeSeparators(QString::fromStdString(Process::ExecutablePath()));
    QCOMPARE(path, QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath());
    QVERIFY(path.endsWith(QStringLiteral("test_sessionlog.bin")));
}

void SessionLogTest::logKeepsTheExecutablesExtension()
{
    const QString withoutExtension = QCoreApplication::applicationDirPath() + QStringLiteral("/test_sessionlog.log");
    QFile::remove(withoutExtension);

    Tdebug log;

    QVERIFY(LogPath().endsWith(QStringLiteral("test_sessionlog.bin.log")));
    QVERIFY(QFileInfo::exists(LogPath()));
    QVERIFY(!QFileInfo::exists(withoutExtension));
}

void SessionLogTest::logHoldsOneLineWithTheStartTime()
{
    // The log takes its time from a coarser clock, which just after a second
    // turns over can still show the one before.
    const int before = (QTime::currentTime().msecsSinceStartOfDay() / 1000 + 86399) % 86400;
    Tdebug log;
    const int after = QTime::currentTime().msecsSinceStartOfDay() / 1000;

    const QByteArray line = ReadLog();
    const int written = SecondsOfLine(line);
    QVERIFY2(written >= 0, line.constData());
    if (before <= after) // not across midnight
        QVERIFY(written >= before && written <= after);
}

void SessionLogTest::secondStartReplacesTheLine()
{
    TestFiles::WriteBytes(LogPath(), QByteArray(1000, 'x'));
    { Tdebug first; }
    { Tdebug second; }

    const QByteArray line = ReadLog();
    QCOMPARE(line.size(), qsizetype(sizeof("Session Startet: hh:mm:ss\r\n") - 1));
    QVERIFY2(SecondsOfLine(line) >= 0, line.constData());
}

void SessionLogTest::twelveHourLocaleWritesDesignator()
{
#ifdef _WIN32
    QVERIFY(::SetThreadLocale(American));
    const QString hour = QStringLiteral("([1-9]|1[0-2])");
#else
    const QString hour = QStringLiteral("(0[1-9]|1[0-2])");
    locale_t usa = newlocale(LC_TIME_MASK, "en_US.UTF-8", locale_t(nullptr));
    if (usa == locale_t(nullptr))
        QSKIP("locale en_US.UTF-8 is not available");
    freelocale(usa);
    qputenv("LC_TIME", "en_US.UTF-8");
#endif

    Tdebug log;

    const QByteArray line = ReadLog();
    const QRegularExpression shape(QStringLiteral("^Session Startet: %1:[0-5]\\d:[0-5]\\d (AM|PM)\r\n$").arg(hour));
    QVERIFY2(shape.match(QString::fromLatin1(line)).hasMatch(), line.constData());
}

void SessionLogTest::logInTheWayGivesAccessDenied()
{
    // A directory where the log should go: running as root bypasses file
    // permissions, but nobody can open a directory for writing.
    QVERIFY(QDir().mkdir(LogPath()));
    QCOMPARE(FailureOf([] { Tdebug log; }), QStringLiteral("File access denied"));
}

void SessionLogTest::initializeToolsCreatesOneLogPerRun()
{
    QVERIFY(QDir().mkdir(LogPath()));
    QCOMPARE(FailureOf([] { InitializeTools(); }), QStringLiteral("File access denied"));
    QVERIFY(QDir().rmdir(LogPath()));

    // The failed start made no log object, so the next one does.
    InitializeTools();
    QVERIFY(SecondsOfLine(ReadLog()) >= 0);

    QVERIFY(QFile::remove(LogPath()));
    InitializeTools();
    QVERIFY(!QFileInfo::exists(LogPath()));
}

void SessionLogTest::textFileFailures_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("message");

    const QString dir = FDir.path();
    QVERIFY(QDir(dir).mkdir(QStringLiteral("folder")));
    TestFiles::WriteBytes(dir + QStringLiteral("/plain"), QByteArray("x"));

    QTest::newRow("a file used as folder") << dir + QStringLiteral("/plain/x.log") << "Invalid filename";
    QTest::newRow("a folder in the way") << dir + QStringLiteral("/folder") << "File access denied";
    QTest::newRow("replacing a file") << dir + QStringLiteral("/plain") << "";
#ifdef _WIN32
    // The system says "path not found", code 3, for a folder that is missing.
    QTest::newRow("missing folder") << dir + QStringLiteral("/absent/x.log") << "Invalid filename";
#else
    QTest::newRow("missing folder") << dir + QStringLiteral("/absent/x.log") << "File not found";
    QTest::newRow("name too long") << dir + QLatin1Char('/') + QString(300, QLatin1Char('n')) << "Invalid filename";
    QTest::newRow("no room left") << QStringLiteral("/dev/full") << "Disk full";
    const QString pipe = dir + QStringLiteral("/pipe");
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0666), 0);
    QTest::newRow("a pipe nobody reads") << pipe << QStringLiteral("I/O error %1").arg(ENXIO);
#endif
}

void SessionLogTest::textFileFailures()
{
    QFETCH(QString, path);
    QFETCH(QString, message);

    if (path == QStringLiteral("/dev/full") && !QFileInfo::exists(path))
        QSKIP("this system has no /dev/full");
    QCOMPARE(FailureOf([&] { WriteTextFile(path); }), message);
}

void SessionLogTest::logHeldByAnotherProgram()
{
#ifndef _WIN32
    QSKIP("only Windows lets a program keep others from opening a file");
#else
    // A log held with no sharing fails with a code the table does not list.
    const QString path = FDir.filePath(QStringLiteral("held.log"));
    const HANDLE held = ::CreateFileW(reinterpret_cast<const wchar_t *>(path.utf16()), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    QVERIFY(held != INVALID_HANDLE_VALUE);
    const QString failure = FailureOf([&] { WriteTextFile(path); });
    ::CloseHandle(held);
    QCOMPARE(failure, QStringLiteral("I/O error %1").arg(ERROR_SHARING_VIOLATION));
#endif
}

void SessionLogTest::errorTexts_data()
{
    QTest::addColumn<int>("errorNumber");
    QTest::addColumn<QString>("text");

#ifdef _WIN32
    // The codes 2 to 5 are the system's own.
    QTest::newRow("file not found") << int(ERROR_FILE_NOT_FOUND) << "File not found";
    QTest::newRow("path not found") << int(ERROR_PATH_NOT_FOUND) << "Invalid filename";
    QTest::newRow("too many open files") << int(ERROR_TOO_MANY_OPEN_FILES) << "Too many open files";
    QTest::newRow("access denied") << int(ERROR_ACCESS_DENIED) << "File access denied";
    QTest::newRow("name too long") << int(ERROR_FILENAME_EXCED_RANGE) << "Invalid filename";
    QTest::newRow("disk full") << int(ERROR_DISK_FULL) << "Disk full";
    QTest::newRow("sharing violation") << int(ERROR_SHARING_VIOLATION) << QStringLiteral("I/O error 32");
#else
    QTest::newRow("too many open files") << EMFILE << "Too many open files";
    QTest::newRow("too many open files, system-wide") << ENFILE << "Too many open files";
    QTest::newRow("permission") << EACCES << "File access denied";
    QTest::newRow("operation not permitted") << EPERM << "File access denied";
    QTest::newRow("read-only file system") << EROFS << "File access denied";
    QTest::newRow("quota") << EDQUOT << "Disk full";
    // The number of an unlisted failure is the system's own; EIO happens to
    // be 5, and must not read as the table's code 5.
    QTest::newRow("input/output error") << EIO << QStringLiteral("I/O error %1").arg(EIO);
    QTest::newRow("file busy") << ETXTBSY << QStringLiteral("I/O error %1").arg(ETXTBSY);
#endif
}

void SessionLogTest::errorTexts()
{
    QFETCH(int, errorNumber);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(TextFile::ErrorText(errorNumber)), text);
}

QTEST_GUILESS_MAIN(SessionLogTest)
#include "tst_sessionlog.moc"
