#include "platform/LocalTime.h"

#include <QtTest>

#include <ctime>

#ifdef _WIN32
#include <windows.h>
#else
#include <locale.h>
#endif

using LocalTime::TimeOfDay;

Q_DECLARE_METATYPE(TimeOfDay)

namespace {

QByteArray Bytes(const std::string &text)
{
    return QByteArray(text.data(), qsizetype(text.size()));
}

#ifndef _WIN32
// Sets one locale variable for the duration of a test row.
class ScopedVariable
{
public:
    ScopedVariable(const char *name, const QByteArray &value)
        : FName(name), FOld(qgetenv(name)), FHad(qEnvironmentVariableIsSet(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedVariable()
    {
        if (FHad)
            qputenv(FName, FOld);
        else
            qunsetenv(FName);
    }

private:
    const char *FName;
    QByteArray FOld;
    bool FHad;
};

bool LocaleExists(const QByteArray &name)
{
    locale_t locale = newlocale(LC_TIME_MASK, name.constData(), locale_t(nullptr));
    if (locale == locale_t(nullptr))
        return false;
    freelocale(locale);
    return true;
}
#endif

} // namespace

class LongTimeTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void formatFromLocaleFacts_data();
    void formatFromLocaleFacts();
    void userLocale_data();
    void userLocale();
    void nowIsATimeOfDay();
};

void LongTimeTest::initTestCase()
{
    qputenv("LOCPATH", TEST_LOCALES_DIR);
}

namespace {

// One row of locale facts: the time format, the time to write and the text
// expected; the rest are en_US's unless a row says otherwise.
struct FactsRow
{
    const char *Name;
    QByteArray TimeFormat;
    TimeOfDay Time;
    QByteArray Expected;
    QByteArray Am = "AM";
    QByteArray Pm = "PM";
    QByteArray Codeset = "UTF-8";
    QByteArray TwelveHourFormat = "%I:%M:%S %p";
};

} // namespace

void LongTimeTest::formatFromLocaleFacts_data()
{
    QTest::addColumn<QByteArray>("timeFormat");
    QTest::addColumn<QByteArray>("twelveHourFormat");
    QTest::addColumn<QByteArray>("am");
    QTest::addColumn<QByteArray>("pm");
    QTest::addColumn<QByteArray>("codeset");
    QTest::addColumn<TimeOfDay>("time");
    QTest::addColumn<QByteArray>("expected");

    const TimeOfDay morning{9, 5, 7};
    const TimeOfDay evening{21, 5, 7};
    const FactsRow rows[] = {
        {"24-hour clock", "%H:%M:%S", morning, "09:05:07", "AM", "PM", "ANSI_X3.4-1968"},
        {"24-hour clock, evening", "%H:%M:%S", evening, "21:05:07"},
        {"%T", "%T", evening, "21:05:07"},
        {"%k pads with blanks: no leading zero", "%k:%M:%S", morning, "9:05:07"},
        {"no leading zero, two-digit hour", "%k:%M:%S", evening, "21:05:07"},
        {"%-H drops the zero", "%-H:%M:%S", morning, "9:05:07"},
        {"%0k asks for the zero", "%0k:%M:%S", morning, "09:05:07"},
        {"%OH alternative digits", "%OH:%OM:%OS", morning, "09:05:07"},

        {"%r, morning", "%r", morning, "09:05:07 AM"},
        {"%r, evening", "%r", evening, "09:05:07 PM"},
        {"12-hour midnight", "%r", {0, 0, 0}, "12:00:00 AM"},
        {"12-hour noon", "%r", {12, 30, 0}, "12:30:00 PM"},
        {"12-hour last second", "%r", {23, 59, 59}, "11:59:59 PM"},
        {"%r without a 12-hour format", "%r", evening, "09:05:07 PM", "AM", "PM", "UTF-8", ""},
        {"%l without leading zero", "%l:%M:%S %p", evening, "9:05:07 PM"},
        {"designator first", "%p %I:%M:%S %Z", evening, "PM 09:05:07"},
        {"designator first, no blank, dots", "%p%I.%M.%S %Z", morning, "AM 09.05.07"},
        {"empty designators become am and pm", "%I:%M:%S %p", evening, "09:05:07 pm", "", ""},
        {"%P writes lower case", "%I:%M:%S %P", morning, "09:05:07 am"},

        {"dot separator", "%H.%M.%S", morning, "09.05.07"},
        {"hour sign is no separator", "%H\xEC\x8B\x9C %M\xEB\xB6\x84 %S\xEC\xB4\x88", morning, "09:05:07"},
        {"unit letter is no separator", "%H h %M", morning, "09:05:07"},
        {"no minutes after the hour", "%H", morning, "09:05:07"},
        {"empty format", "", evening, "21:05:07"},
        {"formats naming each other", "%r", evening, "21:05:07", "AM", "PM", "UTF-8", "%r"},
        {"dangling percent", "%H:%M:%S %", evening, "21:05:07"},

        {"UTF-8 designator in Windows-1252", "%r", morning, "09:05:07 \xC4M", "\xC3\x84M"},
        {"designator beyond the code page", "%r", morning, "09:05:07 ??", "\xE5\x8D\x88\xE5\x89\x8D"},
        {"cut-off UTF-8 sequence", "%r", morning, "09:05:07 A??", "A\xE5\x8D"},
        {"overlong UTF-8 sequence", "%r", morning, "09:05:07 ??", "\xC0\xAF"},
        {"other codesets keep only ASCII", "%r", morning, "09:05:07 ?M", "\xC4M", "PM", "ISO-8859-1"},
    };
    for (const FactsRow &row : rows) {
        QTest::newRow(row.Name) << row.TimeFormat << row.TwelveHourFormat << row.Am << row.Pm << row.Codeset
                                << row.Time << row.Expected;
    }
}

void LongTimeTest::formatFromLocaleFacts()
{
    QFETCH(QByteArray, timeFormat);
    QFETCH(QByteArray, twelveHourFormat);
    QFETCH(QByteArray, am);
    QFETCH(QByteArray, pm);
    QFETCH(QByteArray, codeset);
    QFETCH(TimeOfDay, time);
    QFETCH(QByteArray, expected);

    const LocalTime::TimeSettings settings = LocalTime::SettingsFromLocaleFacts(
        timeFormat.toStdString(), twelveHourFormat.toStdString(), am.toStdString(), pm.toStdString(),
        codeset.toStdString());
    QCOMPARE(Bytes(LocalTime::FormatLongTime(settings, time)), expected);
}

#ifdef _WIN32
// The user's settings are those of the thread's locale.
void LongTimeTest::userLocale_data()
{
    QTest::addColumn<int>("locale");
    QTest::addColumn<int>("hour");
    QTest::addColumn<QString>("pattern");

    QTest::newRow("en-US: 12-hour, no leading zero") << 0x409 << 21 << "^9:05:07 PM$";
    QTest::newRow("en-US: morning") << 0x409 << 9 << "^9:05:07 AM$";
    QTest::newRow("de-DE: 24-hour, leading zero") << 0x407 << 9 << "^09:05:07$";
    QTest::newRow("bg-BG: 24-hour, no leading zero") << 0x402 << 9 << "^9:05:07$";
    QTest::newRow("ko-KR: designator first") << 0x412 << 21 << "^\\S+ 9:05:07$";
}

void LongTimeTest::userLocale()
{
    QFETCH(int, locale);
    QFETCH(int, hour);
    QFETCH(QString, pattern);

    const LCID before = ::GetThreadLocale();
    QVERIFY(::SetThreadLocale(LCID(locale)));
    const std::string text = LocalTime::FormatLongTime(LocalTime::UserTimeSettings(), TimeOfDay{hour, 5, 7});
    ::SetThreadLocale(before);
    QVERIFY2(QRegularExpression(pattern).match(QString::fromLatin1(Bytes(text))).hasMatch(), text.c_str());
}
#else
void LongTimeTest::userLocale_data()
{
    QTest::addColumn<QByteArray>("lcAll");
    QTest::addColumn<QByteArray>("lcTime");
    QTest::addColumn<QByteArray>("lang");
    QTest::addColumn<QByteArray>("needed");
    QTest::addColumn<int>("hour");
    QTest::addColumn<QString>("pattern");

    const QByteArray none;
    const QByteArray usa("en_US.UTF-8");
    QTest::newRow("C.UTF-8") << none << QByteArray("C.UTF-8") << none << QByteArray("C.UTF-8") << 21
                             << "^21:05:07$";
    QTest::newRow("unknown locale falls back to C") << none << QByteArray("xx_XX.nothing") << none << none << 21
                                                    << "^21:05:07$";
    QTest::newRow("nothing set") << none << none << none << none << 21 << "^21:05:07$";
    QTest::newRow("en_US: 12-hour, designator after") << none << usa << none << usa << 21 << "^09:05:07 PM$";
    QTest::newRow("LANG when LC_TIME is unset") << none << none << usa << usa << 9 << "^09:05:07 AM$";
    QTest::newRow("LC_ALL overrides LC_TIME") << QByteArray("C.UTF-8") << usa << none << usa << 21
                                              << "^21:05:07$";
    QTest::newRow("bg_BG: no leading zero") << none << QByteArray("bg_BG.UTF-8") << none
                                            << QByteArray("bg_BG.UTF-8") << 9 << "^9:05:07$";
    QTest::newRow("ta_IN: designator first") << none << QByteArray("ta_IN.UTF-8") << none
                                             << QByteArray("ta_IN.UTF-8") << 21 << "^\\?+ 09:05:07$";
}

void LongTimeTest::userLocale()
{
    QFETCH(QByteArray, lcAll);
    QFETCH(QByteArray, lcTime);
    QFETCH(QByteArray, lang);
    QFETCH(QByteArray, needed);
    QFETCH(int, hour);
    QFETCH(QString, pattern);

    if (!needed.isEmpty() && !LocaleExists(needed))
        QSKIP(qPrintable(QStringLiteral("locale %1 is not available").arg(QString::fromLatin1(needed))));
    const ScopedVariable all("LC_ALL", lcAll);
    const ScopedVariable timeVariable("LC_TIME", lcTime);
    const ScopedVariable language("LANG", lang);

    const std::string text = LocalTime::FormatLongTime(LocalTime::UserTimeSettings(), TimeOfDay{hour, 5, 7});
    QVERIFY2(QRegularExpression(pattern).match(QString::fromLatin1(Bytes(text))).hasMatch(), text.c_str());
}
#endif

namespace {

// The second before Now() is read, on the clock that Now() reads. On Linux
// that is time(), whose seconds turn over up to a timer tick after those of
// the precise clock behind QTime::currentTime(): just after a second begins,
// Now() can still rightly give the one before.
QTime SecondBeforeNow()
{
#ifdef CLOCK_REALTIME_COARSE
    timespec coarse{};
    if (::clock_gettime(CLOCK_REALTIME_COARSE, &coarse) == 0)
        return QDateTime::fromSecsSinceEpoch(coarse.tv_sec).time();
#endif
    const QTime now = QTime::currentTime();
    return now.addMSecs(-now.msec());
}

} // namespace

void LongTimeTest::nowIsATimeOfDay()
{
    const QTime before = SecondBeforeNow();
    const TimeOfDay now = LocalTime::Now();
    const QTime after = QTime::currentTime();
    const QTime read(now.Hour, now.Minute, now.Second);
    QVERIFY(read.isValid());
    if (before <= after) // not across midnight
        QVERIFY(read >= before && read <= after);
}

QTEST_GUILESS_MAIN(LongTimeTest)
#include "tst_longtime.moc"
