#include "currency.h"

#include <QtTest>
#include <limits>

using namespace normativ;

class TestCurrency : public QObject {
    Q_OBJECT
  private slots:
    void fromDouble_data();
    void fromDouble();
    void fromTypedNumber_data();
    void fromTypedNumber();
    void overflowIsReported();
    void productsRoundHalfEven_data();
    void productsRoundHalfEven();
    void texts_data();
    void texts();
};

void TestCurrency::fromDouble_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("raw");
    QTest::newRow("whole") << 25.0 << qint64(250000);
    QTest::newRow("weight rounds to four places") << double(1.3333334f) << qint64(13333);
    QTest::newRow("7.154225f") << double(7.154225f) << qint64(71542);
    // The scaled doubles are exact halves here: they go to the even neighbour.
    QTest::newRow("half to even, down") << 0.00125 << qint64(12);
    QTest::newRow("half to even, up") << 0.00135 << qint64(14);
    QTest::newRow("negative half to even") << -0.00025 << qint64(-2);
    QTest::newRow("above half") << 0.000051 << qint64(1);
    QTest::newRow("negative") << -12.5 << qint64(-125000);
    QTest::newRow("tiny") << 1e-300 << qint64(0);
    QTest::newRow("marker") << 79265830346.0 << qint64(792658303460000);
}

void TestCurrency::fromDouble() {
    QFETCH(double, value);
    QFETCH(qint64, raw);
    const auto c = Currency::fromDouble(value);
    QVERIFY(c.has_value());
    QCOMPARE(c->raw(), raw);
}

// A typed number rounds on its decimal digits: ties in the fifth place go to the even
// neighbour, where the binary value (24.559349999…) would round down.
void TestCurrency::fromTypedNumber_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("raw");
    QTest::newRow("whole") << 25.0 << qint64(250000);
    QTest::newRow("fraction") << 12.5 << qint64(125000);
    QTest::newRow("tie below the binary half, to even up") << 24.55935 << qint64(245594);
    QTest::newRow("tie, to even down") << 24.55945 << qint64(245594);
    QTest::newRow("negative tie") << -0.00025 << qint64(-2);
    QTest::newRow("above half") << 0.000051 << qint64(1);
    QTest::newRow("below half") << 1.00004999 << qint64(10000);
    QTest::newRow("tiny") << 1e-300 << qint64(0);
    QTest::newRow("negative zero") << -0.0 << qint64(0);
    QTest::newRow("marker") << 79265830346.0 << qint64(792658303460000);
    QTest::newRow("large") << 9e14 << qint64(9000000000000000000);
}

void TestCurrency::fromTypedNumber() {
    QFETCH(double, value);
    QFETCH(qint64, raw);
    const auto c = Currency::fromTypedNumber(value);
    QVERIFY(c.has_value());
    QCOMPARE(c->raw(), raw);
}

void TestCurrency::overflowIsReported() {
    for (double v : {1e15, -1e15, 1e300, std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::quiet_NaN()}) {
        QVERIFY(!Currency::fromTypedNumber(v).has_value());
    }
    QVERIFY(!Currency::fromDouble(1e15).has_value());
    QVERIFY(!Currency::fromDouble(-1e15).has_value());
    QVERIFY(!Currency::fromDouble(std::numeric_limits<double>::infinity()).has_value());
    QVERIFY(!Currency::fromDouble(std::numeric_limits<double>::quiet_NaN()).has_value());
    QVERIFY(Currency::fromDouble(9e14).has_value());
    const Currency big = Currency::fromRaw(std::numeric_limits<std::int64_t>::max());
    QVERIFY(!big.plus(Currency::fromRaw(1)).has_value());
    QVERIFY(!Currency::fromRaw(std::numeric_limits<std::int64_t>::min())
                 .minus(Currency::fromRaw(1))
                 .has_value());
    QVERIFY(!Currency::fromWhole(100000000).times(Currency::fromWhole(100000000)).has_value());
}

void TestCurrency::productsRoundHalfEven_data() {
    QTest::addColumn<qint64>("a");
    QTest::addColumn<qint64>("b");
    QTest::addColumn<qint64>("product");
    QTest::newRow("exact") << qint64(20 * 10000) << qint64(13333) << qint64(266660);
    QTest::newRow("half to even down") << qint64(5) << qint64(1000) << qint64(0);  // 0.00005
    QTest::newRow("half to even up") << qint64(15) << qint64(1000) << qint64(2);   // 0.00015
    QTest::newRow("above half") << qint64(6) << qint64(1000) << qint64(1);
    QTest::newRow("negative half") << qint64(-15) << qint64(1000) << qint64(-2);
}

void TestCurrency::productsRoundHalfEven() {
    QFETCH(qint64, a);
    QFETCH(qint64, b);
    QFETCH(qint64, product);
    QCOMPARE(Currency::fromRaw(a).times(Currency::fromRaw(b))->raw(), product);
}

void TestCurrency::texts_data() {
    QTest::addColumn<qint64>("raw");
    QTest::addColumn<QString>("shortest");
    QTest::addColumn<QString>("twoPlaces");
    QTest::newRow("zero") << qint64(0) << "0"
                          << "0,00";
    QTest::newRow("fraction") << qint64(125000) << "12,5"
                              << "12,50";
    QTest::newRow("half away from zero") << qint64(26750) << "2,675"
                                         << "2,68";
    QTest::newRow("negative") << qint64(-26750) << "-2,675"
                              << "-2,68";
    QTest::newRow("small negative") << qint64(-1) << "-0,0001"
                                    << "0,00";
}

void TestCurrency::texts() {
    QFETCH(qint64, raw);
    QFETCH(QString, shortest);
    QFETCH(QString, twoPlaces);
    const QLocale ru(QLocale::Russian, QLocale::Russia);
    QCOMPARE(Currency::fromRaw(raw).toText(ru), shortest);
    QCOMPARE(Currency::fromRaw(raw).toFixedText(2, ru), twoPlaces);
}

QTEST_GUILESS_MAIN(TestCurrency)
#include "test_currency.moc"
