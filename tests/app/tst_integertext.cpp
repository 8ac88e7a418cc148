// The number conversions of the window's boxes and the text of the error box.

#include "app/document/ErrorBox.h"
#include "app/form/HexToInt.h"
#include "platform/Error.h"
#include "platform/qt/IntegerText.h"

#include <QTest>

class IntegerTextTest : public QObject
{
    Q_OBJECT

private slots:
    void strToIntAcceptsTheStandardForms_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("digits") << "300" << 300;
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("leading zeros") << "007" << 7;
        QTest::newRow("leading blanks") << "   42" << 42;
        QTest::newRow("plus") << "+5" << 5;
        QTest::newRow("minus") << "-5" << -5;
        QTest::newRow("blank then minus") << " -12" << -12;
        QTest::newRow("dollar") << "$1F" << 31;
        QTest::newRow("x") << "x1f" << 31;
        QTest::newRow("X") << "X10" << 16;
        QTest::newRow("0x") << "0x7fffffff" << 2147483647;
        QTest::newRow("0X") << "0XA" << 10;
        QTest::newRow("minus hex") << "-$10" << -16;
        QTest::newRow("largest") << "2147483647" << 2147483647;
        QTest::newRow("smallest") << "-2147483648" << int(-2147483647 - 1);
        QTest::newRow("smallest in hex") << "-0x80000000" << int(-2147483647 - 1);
    }

    void strToIntAcceptsTheStandardForms()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(StrToInt(text), value);
    }

    void strToIntRefusesEverythingElse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("blanks only") << "   ";
        QTest::newRow("letters") << "abc";
        QTest::newRow("trailing blank") << "12 ";
        QTest::newRow("sign alone") << "-";
        QTest::newRow("two signs") << "+-1";
        QTest::newRow("prefix alone") << "$";
        QTest::newRow("0x alone") << "0x";
        QTest::newRow("hex digits without prefix") << "1F";
        QTest::newRow("decimal point") << "1.5";
        QTest::newRow("above the range") << "2147483648";
        QTest::newRow("below the range") << "-2147483649";
        QTest::newRow("hex above the range") << "$80000000";
        QTest::newRow("very long") << "99999999999999999999999";
        QTest::newRow("tab before") << "\t1";
        QTest::newRow("non-ASCII digit") << QString::fromUtf8("\xd9\xa3");
    }

    void strToIntRefusesEverythingElse()
    {
        QFETCH(QString, text);
        try {
            StrToInt(text);
            QFAIL("no error");
        } catch (const Error &e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("'%1' is not a valid integer value").arg(text));
        }
    }

    void hexToIntReadsLeadingHexDigits_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("upper") << "1F" << 31;
        QTest::newRow("lower") << "1f" << 31;
        QTest::newRow("dollar") << "$1F" << 31;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("dollar alone") << "$" << 0;
        QTest::newRow("no leading digit") << "G1" << 0;
        QTest::newRow("rest ignored") << "7Fz9" << 0x7F;
        QTest::newRow("0x is no prefix") << "0x1F" << 0;
        QTest::newRow("five digits") << "12345" << 0x12345;
        QTest::newRow("eight digits") << "FFFFFFFF" << -1;
        QTest::newRow("ninth digit pushes the first out") << "123456789" << 0x23456789;
        QTest::newRow("3E8") << "3E8" << 1000;
        QTest::newRow("leading blank stops") << " 1" << 0;
    }

    void hexToIntReadsLeadingHexDigits()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(HexToInt(text), value);
    }

    void errorBoxEndsSentencesWithAFullStop_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << "Stream read error" << "Stream read error.";
        QTest::newRow("apostrophe-less value") << "'x' is not a valid integer value"
                                                << "'x' is not a valid integer value.";
        QTest::newRow("full stop already") << "Done." << "Done.";
        QTest::newRow("closing quote sorts before the stop") << "in \"x\"" << "in \"x\"";
        QTest::newRow("closing parenthesis") << "(x)" << "(x)";
        QTest::newRow("digit") << "error 5" << "error 5.";
        QTest::newRow("slash sorts after") << "a/" << "a/.";
        QTest::newRow("empty") << "" << "";
    }

    void errorBoxEndsSentencesWithAFullStop()
    {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(ErrorBoxText(message), shown);
    }
};

QTEST_APPLESS_MAIN(IntegerTextTest)
#include "tst_integertext.moc"
