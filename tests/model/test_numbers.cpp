#include "numbers.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cmath>

using namespace normativ;

class TestNumbers : public QObject {
    Q_OBJECT
  private slots:
    void formatFixed_data();
    void formatFixed();
    void numericTest_data();
    void numericTest();
    void parseAsLocale_data();
    void parseAsLocale();
    void parseAsLocaleRandom();
    void plainText_data();
    void plainText();
};

void TestNumbers::formatFixed_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("expected");
    QTest::newRow("tie hidden below binary") << 97.4935 << 3 << "97,494";
    QTest::newRow("2.675 at two") << 2.675 << 2 << "2,68";
    QTest::newRow("0.4165 at three") << 0.4165 << 3 << "0,417";
    QTest::newRow("half up whole") << 45678.5 << 0 << "45679";
    QTest::newRow("negative half away") << -12.5 << 0 << "-13";
    QTest::newRow("small negative is zero") << -0.4 << 0 << "0";
    QTest::newRow("carry into new digit") << 999.9996 << 3 << "1000,000";
    QTest::newRow("zero padded") << 3.0 << 2 << "3,00";
    QTest::newRow("tiny") << 0.0004 << 3 << "0,000";
    QTest::newRow("large") << 123456789012.345 << 2 << "123456789012,35";
    QTest::newRow("total 9001") << 1000.4 * 3 + 6000.0 << 0 << "9001";
    // Expected texts from Python's decimal module: the value at 15 significant digits
    // ('%.14e'), quantized half up.
    QTest::newRow("whole digits past fifteen")
        << 1.2345678901234568e+20 << 2 << "123456789012346000000,00";
    QTest::newRow("small negative rounds away") << -0.0005 << 3 << "-0,001";
    QTest::newRow("small negative rounds to zero") << -0.00049999 << 3 << "0,000";
    QTest::newRow("negative carry") << -999.9995 << 3 << "-1000,000";
    QTest::newRow("denormal") << 5e-324 << 2 << "0,00";
    QTest::newRow("largest double")
        << 1.7976931348623157e308 << 0 << QString("179769313486232") + QString(294, u'0');
    QTest::newRow("negative half whole") << -2.5 << 0 << "-3";
}

void TestNumbers::formatFixed() {
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, expected);
    QCOMPARE(normativ::formatFixed(value, decimals, QLocale(QLocale::Russian)), expected);
}

void TestNumbers::numericTest_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<double>("value");
    QTest::newRow("ru comma") << "ru_RU"
                              << "12,5" << true << 12.5;
    QTest::newRow("ru point refused") << "ru_RU"
                                      << "12.5" << false << 0.0;
    QTest::newRow("en point") << "en_US"
                              << "12.5" << true << 12.5;
    QTest::newRow("negative") << "ru_RU"
                              << "-3" << true << -3.0;
    QTest::newRow("blanks around") << "ru_RU"
                                   << "  7 " << true << 7.0;
    QTest::newRow("nbsp group") << "ru_RU" << QString::fromUtf8("1\u00a0000") << true << 1000.0;
    QTest::newRow("exponent") << "en_US"
                              << "1e3" << true << 1000.0;
    QTest::newRow("empty") << "ru_RU"
                           << "" << false << 0.0;
    QTest::newRow("letters") << "ru_RU"
                             << "abc" << false << 0.0;
    QTest::newRow("cyrillic") << "ru_RU" << QString::fromUtf8("сто") << false << 0.0;
    QTest::newRow("inf") << "en_US"
                         << "inf" << false << 0.0;
    QTest::newRow("nan") << "en_US"
                         << "nan" << false << 0.0;
    QTest::newRow("overflow") << "en_US"
                              << "1e309" << false << 0.0;
}

void TestNumbers::numericTest() {
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QFETCH(double, value);
    const QLocale loc(locale);
    QCOMPARE(isNumericText(text, loc), numeric);
    if (numeric) QCOMPARE(*parseNumber(text, loc), value);
}

// Plain decimals are read without QLocale; whatever the text, the value (its sign too)
// is the one QLocale reads, and what QLocale refuses is refused.
void TestNumbers::parseAsLocale_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    const QString locales[] = {"ru_RU", "en_US", "C", "de_DE"};
    const char* texts[] = {"0",
                           "-0",
                           "0,5",
                           "0.5",
                           "-0,0",
                           "12,",
                           ",5",
                           "007",
                           "00,5",
                           "12,5,",
                           "1 000,5",
                           "1,000.5",
                           "+3",
                           "- 3",
                           "1e3",
                           "-1,5E-3",
                           "9007199254740993",
                           "0,1000000000000000055511151231257827",
                           "123456789012345678901234567890123456789",
                           "1234567890123456789012345678901234567890123",
                           "--1",
                           "1-",
                           ""};
    for (const QString& locale : locales) {
        for (const char* text : texts) {
            QTest::newRow(qPrintable(locale + QStringLiteral(" ") + QString::fromLatin1(text)))
                << locale << QString::fromLatin1(text);
        }
    }
}

void TestNumbers::parseAsLocale() {
    QFETCH(QString, locale);
    QFETCH(QString, text);
    const QLocale loc(locale);
    bool ok = false;
    const double expected = loc.toDouble(text, &ok);
    const auto parsed = parseNumber(text, loc);
    QCOMPARE(parsed.has_value(), ok);
    if (ok) {
        QCOMPARE(*parsed, expected);
        QCOMPARE(std::signbit(*parsed), std::signbit(expected));
    }
}

// The same over many plain decimals with up to 17 digits in a Russian locale.
void TestNumbers::parseAsLocaleRandom() {
    const QLocale loc(QLocale::Russian, QLocale::Russia);
    QRandomGenerator random(2011);
    for (int i = 0; i < 100000; ++i) {
        QString text = random.bounded(4) == 0 ? QStringLiteral("-") : QString();
        const int whole = random.bounded(1, 17);
        text += QString::number(random.bounded(1, 10));
        for (int d = 1; d < whole; ++d) text += QString::number(random.bounded(10));
        if (random.bounded(2) == 0) {
            text += QLatin1Char(',');
            for (int d = random.bounded(1, 17 - whole + 2); d > 0; --d) {
                text += QString::number(random.bounded(10));
            }
        }
        bool ok = false;
        const double expected = loc.toDouble(text, &ok);
        QVERIFY(ok);
        QCOMPARE(parseNumber(text, loc).value_or(-1), expected);
    }
}

void TestNumbers::plainText_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("marker") << 79265830346.0 << "79265830346";
    QTest::newRow("fraction") << 12.5 << "12,5";
    QTest::newRow("fifteen digits") << 0.1 + 0.2 << "0,3";
    QTest::newRow("negative") << -0.25 << "-0,25";
    QTest::newRow("no exponent small") << 0.0000001 << "0,0000001";
    QTest::newRow("no exponent large") << 1e20 << "100000000000000000000";
}

void TestNumbers::plainText() {
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(normativ::plainText(value, QLocale(QLocale::Russian)), expected);
}

QTEST_GUILESS_MAIN(TestNumbers)
#include "test_numbers.moc"
