// Cell addresses and ranges as the workbook formats write them.

#include "celladdress.h"

#include <QtTest>

using namespace normativ;

class TestCellAddress : public QObject {
    Q_OBJECT

  private slots:
    void cells_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("row");  // 0: refused
        QTest::addColumn<int>("column");

        QTest::newRow("B4") << "B4" << 4 << 2;
        QTest::newRow("lower case") << "eh17" << 17 << 138;
        QTest::newRow("absolute") << "$H$124" << 124 << 8;
        QTest::newRow("last cell") << "XFD1048576" << 1048576 << 16384;
        QTest::newRow("column past XFD") << "XFE1" << 0 << 0;
        QTest::newRow("row past the last") << "A1048577" << 0 << 0;
        QTest::newRow("row 0") << "A0" << 0 << 0;
        QTest::newRow("leading zero") << "A01" << 0 << 0;
        QTest::newRow("14 letters") << "ABCDEFGHIJKLMN1" << 0 << 0;
        QTest::newRow("no row") << "AB" << 0 << 0;
        QTest::newRow("no column") << "12" << 0 << 0;
        QTest::newRow("Cyrillic letter") << u"А1"_qs << 0 << 0;
        QTest::newRow("trailing text") << "A1x" << 0 << 0;
        QTest::newRow("empty") << "" << 0 << 0;
    }

    void cells() {
        QFETCH(QString, address);
        QFETCH(int, row);
        QFETCH(int, column);
        const auto parsed = parseCellRef(QStringView(address));
        if (row == 0) {
            QVERIFY(!parsed);
            return;
        }
        QVERIFY(parsed);
        QCOMPARE(parsed->row, row);
        QCOMPARE(parsed->column, column);
        QCOMPARE(cellAddress(row, column), address.toUpper().remove(u'$'));
    }

    void ranges_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("firstRow");
        QTest::addColumn<int>("firstColumn");
        QTest::addColumn<int>("lastRow");
        QTest::addColumn<int>("lastColumn");

        QTest::newRow("block") << "A2:C53" << true << 2 << 1 << 53 << 3;
        QTest::newRow("reversed corners") << "C53:A2" << true << 2 << 1 << 53 << 3;
        QTest::newRow("one cell") << "B48" << true << 48 << 2 << 48 << 2;
        QTest::newRow("whole columns") << "D:IV" << true << 1 << 4 << kMaxRows << 256;
        QTest::newRow("to the last column") << "G:XFD" << true << 1 << 7 << kMaxRows << kMaxColumns;
        QTest::newRow("whole rows") << "54:65536" << true << 54 << 1 << 65536 << kMaxColumns;
        QTest::newRow("mixed") << "A1:B" << false << 0 << 0 << 0 << 0;
        QTest::newRow("past XFD") << "A:XFE" << false << 0 << 0 << 0 << 0;
    }

    void ranges() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        const auto range = parseRange(text);
        QCOMPARE(range.has_value(), valid);
        if (!valid) {
            return;
        }
        QFETCH(int, firstRow);
        QFETCH(int, firstColumn);
        QFETCH(int, lastRow);
        QFETCH(int, lastColumn);
        QCOMPARE(*range, (RangeRef{firstRow, firstColumn, lastRow, lastColumn}));
    }
};

QTEST_GUILESS_MAIN(TestCellAddress)
#include "test_celladdress.moc"
