#include "platform/AnsiCodePage.h"
#include "platform/qt/AnsiString.h"

#include <QtTest>

class AnsiCodePageTest : public QObject
{
    Q_OBJECT

private slots:
    void upperCase_data();
    void upperCase();
    void everyByteSurvivesARoundTrip();
    void highControlBytes_data();
    void highControlBytes();
    void encodeMarksMissingCharacters_data();
    void encodeMarksMissingCharacters();
};

void AnsiCodePageTest::upperCase_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("upper");
    QTest::newRow("a") << int('a') << int('A');
    QTest::newRow("z") << int('z') << int('Z');
    QTest::newRow("A stays") << int('A') << int('A');
    QTest::newRow("backtick") << int('`') << int('`');
    QTest::newRow("brace") << int('{') << int('{');
    QTest::newRow("a grave") << 0xE0 << 0xC0;
    QTest::newRow("thorn") << 0xFE << 0xDE;
    QTest::newRow("division sign") << 0xF7 << 0xF7;
    QTest::newRow("sharp s") << 0xDF << 0xDF;
    QTest::newRow("micro sign") << 0xB5 << 0xB5;
    QTest::newRow("s caron") << 0x9A << 0x8A;
    QTest::newRow("o-e") << 0x9C << 0x8C;
    QTest::newRow("z caron") << 0x9E << 0x8E;
    QTest::newRow("y diaeresis") << 0xFF << 0x9F;
    QTest::newRow("capital S caron stays") << 0x8A << 0x8A;
    QTest::newRow("euro") << 0x80 << 0x80;
}

void AnsiCodePageTest::upperCase()
{
    QFETCH(int, byte);
    QFETCH(int, upper);
    QCOMPARE(int(AnsiCodePage::UpperByte(static_cast<unsigned char>(byte))), upper);
    char buffer[3] = {'x', static_cast<char>(byte), 'y'};
    AnsiCodePage::UpperBuffer(buffer + 1, 1);
    QCOMPARE(buffer[0], 'x');
    QCOMPARE(int(static_cast<unsigned char>(buffer[1])), upper);
    QCOMPARE(buffer[2], 'y');
}

void AnsiCodePageTest::everyByteSurvivesARoundTrip()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = AnsiString::Decode(all);
    QCOMPARE(text.size(), 256);
    QVERIFY(AnsiString::CanEncode(text));
    QCOMPARE(AnsiString::Encode(text), all);
    QCOMPARE(text.at(0x80), QChar(0x20AC));
    QCOMPARE(text.at(0x9F), QChar(0x0178));
    QCOMPARE(text.at(0xE9), QChar(0x00E9));
}

void AnsiCodePageTest::highControlBytes_data()
{
    // The code page's own table for 0x80 to 0x9F, written out rather than
    // derived, so that a swap of two entries cannot pass unseen. The five
    // undefined bytes (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their C1 control.
    static const char16_t Expected[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("codePoint");
    for (int i = 0; i < 32; ++i)
        QTest::addRow("0x%02X", 0x80 + i) << 0x80 + i << int(Expected[i]);
}

void AnsiCodePageTest::highControlBytes()
{
    QFETCH(int, byte);
    QFETCH(int, codePoint);
    QCOMPARE(int(AnsiCodePage::ToUnicode(static_cast<unsigned char>(byte))), codePoint);
    QCOMPARE(AnsiString::Decode(QByteArray(1, char(byte))), QString(QChar(codePoint)));
}

void AnsiCodePageTest::encodeMarksMissingCharacters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("encodable");
    QTest::newRow("plain") << "Rock" << QByteArray("Rock") << true;
    QTest::newRow("euro and e acute") << QString::fromUtf8("€é") << QByteArray("\x80\xE9") << true;
    QTest::newRow("cyrillic") << QString::fromUtf8("aжb") << QByteArray("a?b") << false;
    QTest::newRow("outside the BMP") << QString::fromUtf8("a😀") << QByteArray("a?") << false;
}

void AnsiCodePageTest::encodeMarksMissingCharacters()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, encodable);
    QCOMPARE(AnsiString::Encode(text), bytes);
    QCOMPARE(AnsiString::CanEncode(text), encodable);
}

QTEST_APPLESS_MAIN(AnsiCodePageTest)
#include "tst_ansicodepage.moc"
