#include "platform/LocalTime.h"

#include <QtTest>

#include <locale.h>

using LocalTime::TimeOfDay;

Q_DECLARE_METATYPE(TimeOfDay)

namespace {

QByteArray Bytes(const std::string &text)
{
    return QByteArray(text.data(), qsizetype(text.size()));
}

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

void LongTimeTest::formatFromLocaleFacts_data()
{
    QTest::addColumn<QByteArray>("timeFormat");
    QTest::addColumn<QByteArray>("twelveHourFormat");
    QTest::addColumn<QByteArray>("am");
    QTest::addColumn<QByteArray>("pm");
    QTest::addColumn<QByteArray>("codeset");
    QTest::addColumn<TimeOfDay>("time");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray utf8("UTF-8");
    const QByteArray ampm("%I:%M:%S %p");
    const TimeOfDay morning{9, 5, 7};
    const TimeOfDay evening{21, 5, 7};

    QTest::newRow("24-hour clock") << QByteArray("%H:%M:%S") << ampm << QByteArray("AM") << QByteArray("PM")
                                   << QByteArray("ANSI_X3.4-1968") << morning << QByteArray("09:05:07");
    QTest::newRow("24-hour clock, evening") << QByteArray("%H:%M:%S") << ampm << QByteArray("AM")
                                            << QByteArray("PM") << utf8 << evening << QByteArray("21:05:07");
    QTest::newRow("%T") << QByteArray("%T") << QByteArray() << QByteArray() << QByteArray() << utf8 << evening
                        << QByteArray("21:05:07");
    QTest::newRow("%k pads with blanks: no leading zero") << QByteArray("%k:%M:%S") << QByteArray() << QByteArray()
                                                          << QByteArray() << utf8 << morning << QByteArray("9:05:07");
    QTest::newRow("%-H drops the zero") << QByteArray("%-H:%M:%S") << QByteArray() << QByteArray() << QByteArray()
                                        << utf8 << morning << QByteArray("9:05:07");
    QTest::newRow("%0k asks for the zero") << QByteArray("%0k:%M:%S") << QByteArray() << QByteArray()
                                           << QByteArray() << utf8 << morning << QByteArray("09:05:07");
    QTest::newRow("%OH alternative digits") << QByteArray("%OH:%OM:%OS") << QByteArray() << QByteArray()
                                            << QByteArray() << utf8 << morning << QByteArray("09:05:07");
    QTest::newRow("no leading zero, two-digit hour") << QByteArray("%k:%M:%S") << QByteArray() << QByteArray()
                                                     << QByteArray() << utf8 << evening << QByteArray("21:05:07");

    QTest::newRow("%r, morning") << QByteArray("%r") << ampm << QByteArray("AM") << QByteArray("PM") << utf8
                                 << morning << QByteArray("09:05:07 AM");
    QTest::newRow("%r, evening") << QByteArray("%r") << ampm << QByteArray("AM") << QByteArray("PM") << utf8
                                 << evening << QByteArray("09:05:07 PM");
    QTest::newRow("12-hour midnight") << QByteArray("%r") << ampm << QByteArray("AM") << QByteArray("PM") << utf8
                                      << TimeOfDay{0, 0, 0} << QByteArray("12:00:00 AM");
    QTest::newRow("12-hour noon") << QByteArray("%r") << ampm << QByteArray("AM") << QByteArray("PM") << utf8
                                  << TimeOfDay{12, 30, 0} << QByteArray("12:30:00 PM");
    QTest::newRow("12-hour last second") << QByteArray("%r") << ampm << QByteArray("AM") << QByteArray("PM")
                                         << utf8 << TimeOfDay{23, 59, 59} << QByteArray("11:59:59 PM");
    QTest::newRow("%r without a 12-hour format") << QByteArray("%r") << QByteArray() << QByteArray("AM")
                                                 << QByteArray("PM") << utf8 << evening << QByteArray("09:05:07 PM");
    QTest::newRow("%l without leading zero") << QByteArray("%l:%M:%S %p") << QByteArray() << QByteArray("AM")
                                             << QByteArray("PM") << utf8 << evening << QByteArray("9:05:07 PM");
    QTest::newRow("designator first") << QByteArray("%p %I:%M:%S %Z") << QByteArray() << QByteArray("AM")
                                      << QByteArray("PM") << utf8 << evening << QByteArray("PM 09:05:07");
    QTest::newRow("designator first, no blank, dots") << QByteArray("%p%I.%M.%S %Z") << QByteArray()
                                                      << QByteArray("AM") << QByteArray("PM") << utf8 << morning
                                                      << QByteArray("AM 09.05.07");
    QTest::newRow("empty designators become am and pm") << QByteArray("%I:%M:%S %p") << QByteArray()
                                                        << QByteArray() << QByteArray() << utf8 << evening
                                                        << QByteArray("09:05:07 pm");
    QTest::newRow("%P writes lower case") << QByteArray("%I:%M:%S %P") << QByteArray() << QByteArray("AM")
                                          << QByteArray("PM") << utf8 << morning << QByteArray("09:05:07 am");

    QTest::newRow("dot separator") << QByteArray("%H.%M.%S") << QByteArray() << QByteArray() << QByteArray()
                                   << utf8 << morning << QByteArray("09.05.07");
    QTest::newRow("hour sign is no separator") << QByteArray("%H\xEC\x8B\x9C %M\xEB\xB6\x84 %S\xEC\xB4\x88")
                                               << QByteArray() << QByteArray() << QByteArray() << utf8 << morning
                                               << QByteArray("09:05:07");
    QTest::newRow("unit letter is no separator") << QByteArray("%H h %M") << QByteArray() << QByteArray()
                                                 << QByteArray() << utf8 << morning << QByteArray("09:05:07");
    QTest::newRow("no minutes after the hour") << QByteArray("%H") << QByteArray() << QByteArray() << QByteArray()
                                               << utf8 << morning << QByteArray("09:05:07");
    QTest::newRow("empty format") << QByteArray() << QByteArray() << QByteArray() << QByteArray() << utf8 << evening
                                  << QByteArray("21:05:07");
    QTest::newRow("formats naming each other") << QByteArray("%r") << QByteArray("%r") << QByteArray()
                                               << QByteArray() << utf8 << evening << QByteArray("21:05:07");
    QTest::newRow("dangling percent") << QByteArray("%H:%M:%S %") << QByteArray() << QByteArray() << QByteArray()
                                      << utf8 << evening << QByteArray("21:05:07");

    QTest::newRow("UTF-8 designator in Windows-1252") << QByteArray("%r") << ampm << QByteArray("\xC3\x84M")
                                                      << QByteArray("PM") << utf8 << morning
                                                      << QByteArray("09:05:07 \xC4M");
    QTest::newRow("designator beyond the code page") << QByteArray("%r") << ampm
                                                     << QByteArray("\xE5\x8D\x88\xE5\x89\x8D") << QByteArray("PM")
                                                     << utf8 << morning << QByteArray("09:05:07 ??");
    QTest::newRow("cut-off UTF-8 sequence") << QByteArray("%r") << ampm << QByteArray("A\xE5\x8D")
                                            << QByteArray("PM") << utf8 << morning << QByteArray("09:05:07 A??");
    QTest::newRow("overlong UTF-8 sequence") << QByteArray("%r") << ampm << QByteArray("\xC0\xAF")
                                             << QByteArray("PM") << utf8 << morning << QByteArray("09:05:07 ??");
    QTest::newRow("other codesets keep only ASCII") << QByteArray("%r") << ampm << QByteArray("\xC4M")
                                                    << QByteArray("PM") << QByteArray("ISO-8859-1") << morning
                                                    << QByteArray("09:05:07 ?M");
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

void LongTimeTest::nowIsATimeOfDay()
{
    const QTime before = QTime::currentTime();
    const TimeOfDay now = LocalTime::Now();
    const QTime after = QTime::currentTime();
    const QTime read(now.Hour, now.Minute, now.Second);
    QVERIFY(read.isValid());
    if (before <= after) // not across midnight
        QVERIFY(read >= before.addMSecs(-before.msec()) && read <= after);
}

QTEST_GUILESS_MAIN(LongTimeTest)
#include "tst_longtime.moc"
