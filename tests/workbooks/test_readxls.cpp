// The .xls reader: BIFF8 records in a compound file, as another program writes them and
// as written by hand, and damaged or hostile containers and streams refused cleanly.

#include "openworkbook.h"
#include "readxls.h"
#include "testsupport.h"

#include <QtTest>
#include <limits>

using namespace normativ;
using namespace testsupport;

Q_DECLARE_METATYPE(normativ::CellValue)

namespace {

CellValue num(double v) {
    return CellValue::number(v);
}
CellValue txt(const QString& s) {
    return CellValue::text(s);
}

QByteArray sstRecord(std::uint32_t declared, const QStringList& strings) {
    QByteArray d;
    put32(d, declared);
    put32(d, declared);
    for (const QString& s : strings) {
        put16(d, static_cast<std::uint32_t>(s.size()));
        d.append('\1');
        for (QChar c : s) {
            put16(d, c.unicode());
        }
    }
    return record(0x00FC, d);
}

QByteArray labelSst(int row, int column, std::uint32_t index) {
    QByteArray d = cellHeader(row, column);
    put32(d, index);
    return record(0x00FD, d);
}

// A FORMULA record whose stored result is a text (in the STRING record to follow).
QByteArray textFormula(int row, int column) {
    QByteArray d = cellHeader(row, column);
    d += QByteArray("\0\0\0\0\0\0\xFF\xFF", 8);
    d += QByteArray(6, '\0');
    d += QByteArray("\x03\x00\x1e\x01\x00", 5);
    return record(0x0006, d);
}

// A FORMULA record (=1) whose stored result is the number `value`.
QByteArray numberFormula(int row, int column, double value) {
    QByteArray d = cellHeader(row, column);
    QByteArray v(8, '\0');
    qToLittleEndian<double>(value, v.data());
    d += v;
    d += QByteArray(6, '\0');
    d += QByteArray("\x03\x00\x1e\x01\x00", 5);
    return record(0x0006, d);
}

QByteArray stringRecord(const QString& text) {
    QByteArray d;
    put16(d, static_cast<std::uint32_t>(text.size()));
    d.append('\1');
    for (QChar c : text) {
        put16(d, c.unicode());
    }
    return record(0x0207, d);
}

QByteArray xls(const std::vector<QByteArray>& sheets, const QByteArray& globals = {}) {
    return compoundFile(biffStream(sheets, globals));
}

}  // namespace

class TestReadXls : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        if (!limitAddressSpace()) {
            qInfo("address space not limited (sanitizer build)");
        }
    }

    void fixtures_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("sheet");
        QTest::addColumn<QString>("address");
        QTest::addColumn<CellValue>("expected");

        const QString xlwt = QStringLiteral("xlwt_plain.xls");
        QTest::newRow("xlwt: shared string")
            << xlwt << 1 << "A1" << txt(u"Количество воспитанников"_qs);
        QTest::newRow("xlwt: RK integer") << xlwt << 1 << "B1" << num(120);
        QTest::newRow("xlwt: RK hundredths") << xlwt << 1 << "B2" << num(12.34);
        QTest::newRow("xlwt: NUMBER") << xlwt << 1 << "B3" << num(1234.5678);
        QTest::newRow("xlwt: negative") << xlwt << 1 << "B4" << num(-7);
        QTest::newRow("xlwt: boolean") << xlwt << 1 << "B5" << CellValue::boolean(true);
        QTest::newRow("xlwt: same string again")
            << xlwt << 1 << "A6" << txt(u"Количество воспитанников"_qs);
        QTest::newRow("xlwt: whitespace kept") << xlwt << 1 << "C7" << txt(u"  "_qs);
        QTest::newRow("xlwt: blank") << xlwt << 1 << "A3" << CellValue();
        QTest::newRow("xlwt: second sheet") << xlwt << 2 << "D10" << txt(u"село"_qs);
        QTest::newRow("xlwt: far column") << xlwt << 2 << "EH17" << num(11123545);

        for (const QString& file :
             {QStringLiteral("biff_records.xls"), QStringLiteral("biff_mini.xls")}) {
            const auto row = [&](const char* what) -> QTestData& {
                return QTest::newRow(qPrintable(file + QStringLiteral(": ") + QLatin1String(what)));
            };
            row("wide shared string") << file << 1 << "A1" << txt(u"Режим работы"_qs);
            row("string across CONTINUE, width changing")
                << file << 1 << "B1"
                << txt(QString(u"Norm"_qs).repeated(5) + QString(u"атив"_qs).repeated(5));
            row("string after the split one") << file << 1 << "C1" << txt(u"пятидневный"_qs);
            row("RK integer") << file << 1 << "A2" << num(-42);
            row("RK integer hundredths") << file << 1 << "B2" << num(12.34);
            row("RK float") << file << 1 << "C2" << num(2.5);
            row("RK float hundredths") << file << 1 << "D2" << num(0.015);
            row("MULRK first") << file << 1 << "A3" << num(1);
            row("MULRK last") << file << 1 << "C3" << num(3);
            row("NUMBER") << file << 1 << "A4" << num(79265830346.0);
            row("LABEL") << file << 1 << "B4" << txt(u"город"_qs);
            row("BOOLERR true") << file << 1 << "C4" << CellValue::boolean(true);
            row("BOOLERR error") << file << 1 << "D4" << txt(u"#DIV/0!"_qs);
            row("FORMULA number") << file << 1 << "A5" << num(11123545);
            row("FORMULA text from STRING") << file << 1 << "B5" << txt(u"итого"_qs);
            row("FORMULA boolean") << file << 1 << "C5" << CellValue::boolean(true);
            row("FORMULA error") << file << 1 << "D5" << txt(u"#N/A"_qs);
            row("FORMULA empty text") << file << 1 << "E5" << txt(QString());
            row("chart sheet not numbered") << file << 2 << "EH17" << num(11123546);
        }
        QTest::newRow("STRING across CONTINUE records")
            << QStringLiteral("biff_records.xls") << 1 << "A6"
            << txt(QString(u"Длинный текст "_qs).repeated(1000));
    }

    void fixtures() {
        QFETCH(QString, file);
        QFETCH(int, sheet);
        QFETCH(QString, address);
        QFETCH(CellValue, expected);
        const auto book = openWorkbook(fixture(file));
        QVERIFY2(book.ok(), qPrintable(book.error()));
        const CellValue actual = book->cell(sheet, address);
        QVERIFY2(actual == expected, qPrintable(actual.debugString().left(80) +
                                                " != " + expected.debugString().left(80)));
    }

    void sheetOrderAndNames() {
        const auto book = readXls(fixture(QStringLiteral("biff_records.xls")));
        QVERIFY2(book.ok(), qPrintable(book.error()));
        QCOMPARE(book->sheetCount(), 2);
        QCOMPARE(book->sheetName(1), u"Данные"_qs);
        QCOMPARE(book->sheetName(2), u"Второй"_qs);
        QCOMPARE(book->sheetCount(), 2);
    }

    // Cases built record by record.
    void crafted_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("address");
        QTest::addColumn<CellValue>("expected");

        QTest::newRow("text formula without its STRING record is blank")
            << xls({textFormula(0, 0) + numberRecord(0, 1, 2)}) << "A1" << CellValue();
        QTest::newRow("STRING after a shared formula record")
            << xls({textFormula(0, 0) + record(0x04BC, QByteArray(10, '\0')) +
                    stringRecord(u"да"_qs)})
            << "A1" << txt(u"да"_qs);
        QTest::newRow("shared-string count of 4e9 declared, one string there")
            << xls({labelSst(0, 0, 0)}, sstRecord(4000000000u, {u"один"_qs})) << "A1"
            << txt(u"один"_qs);
        QTest::newRow("embedded chart substream skipped")
            << xls({bof(0x0020) + numberRecord(0, 0, 1) + eofRecord() + numberRecord(0, 0, 2)})
            << "A1" << num(2);
        QTest::newRow("last BIFF8 column")
            << xls({numberRecord(65535, 255, 3)}) << "IV65536" << num(3);
    }

    void crafted() {
        QFETCH(QByteArray, file);
        QFETCH(QString, address);
        QFETCH(CellValue, expected);
        const auto book = readXls(file);
        QVERIFY2(book.ok(), qPrintable(book.error()));
        const CellValue actual = book->cell(1, address);
        QVERIFY2(actual == expected,
                 qPrintable(actual.debugString() + " != " + expected.debugString()));
    }

    void hostile_data() {
        QTest::addColumn<QByteArray>("file");

        const QByteArray good = xls({numberRecord(0, 0, 1)});
        QVERIFY(readXls(good).ok());
        using L = CompoundLayout;
        const auto patched = [&](qsizetype at, std::uint32_t value) {
            QByteArray f = good;
            set32(f, at, value);
            return f;
        };

        QTest::newRow("empty") << QByteArray();
        QTest::newRow("signature only") << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
        QTest::newRow("truncated") << good.left(1200);
        QTest::newRow("bad byte order") << patched(28, 0x1234FFFE);
        QTest::newRow("huge FAT sector count") << patched(44, 0x7FFFFFFF);
        QTest::newRow("FAT sector outside the file") << patched(76, 5000);
        QTest::newRow("directory sector outside the file") << patched(48, 5000);
        QTest::newRow("FAT loop") << patched(L::kFatSector + 4 * 3, 2);  // sector 3 back to 2
        QTest::newRow("FAT points outside") << patched(L::kFatSector + 4 * 2, 100000);
        QTest::newRow("directory chain loop") << patched(L::kFatSector + 4 * 1, 1);
        QTest::newRow("stream size over the file")
            << patched(L::kDirectory + 128 + 120, 0x7FFFFFF0);
        QTest::newRow("stream size beyond its chain") << patched(L::kDirectory + 128 + 120, 8192);
        QTest::newRow("directory sibling loop") << patched(L::kDirectory + 128 + 68, 1);
        QTest::newRow("small stream without a mini stream")
            << patched(L::kDirectory + 128 + 120, 100);
        {
            QByteArray f = good;
            f[L::kDirectory + 128] = 'X';  // "Xorkbook"
            QTest::newRow("no workbook stream") << f;
        }
        {
            QByteArray f = good;
            for (qsizetype i = L::kStream; i < f.size(); ++i) {
                f[i] = static_cast<char>((i * 7919) & 0xFF);
            }
            QTest::newRow("corrupt stream") << f;
        }
        {
            QByteArray f = good;
            set32(f, L::kStream + bof(0x0005).size(), 0xFFF00085);  // BOUNDSHEET, 65,520 bytes
            QTest::newRow("lying record length") << f;
        }
        QTest::newRow("cell record too short") << xls({record(0x0203, QByteArray(6, '\0'))});
        QTest::newRow("MULRK with a ragged length") << xls({record(0x00BD, QByteArray(9, '\0'))});
        QTest::newRow("LABEL longer than its record")
            << xls({record(0x0204, cellHeader(0, 0) + QByteArray("\x10\x00\x01"
                                                                 "ab",
                                                                 5))});
        QTest::newRow("shared-string index out of range")
            << xls({labelSst(0, 0, 1)}, sstRecord(1, {u"один"_qs}));
        QTest::newRow("shared string over 32,767 characters")
            << xls({}, record(0x00FC, QByteArray("\1\0\0\0\1\0\0\0\xFF\x9F\0", 11)));
        QTest::newRow("column past XFD") << xls({numberRecord(0, 16384, 1)});
        {
            QByteArray n = numberRecord(0, 0, 0);
            n.replace(n.size() - 8, 8, QByteArray("\0\0\0\0\0\0\xF8\x7F", 8));  // NaN
            QTest::newRow("NaN number") << xls({n});
        }
        QTest::newRow("65 sheets") << xls(std::vector<QByteArray>(65, QByteArray()));
        QTest::newRow("sheet offset outside the stream") << [&] {
            QByteArray s = biffStream({QByteArray()});
            set32(s, bof(0x0005).size() + 4, 0x00FFFFFF);
            return compoundFile(s);
        }();
        QTest::newRow("sheet without its end") << [&] {
            QByteArray s = biffStream({numberRecord(0, 0, 1)});
            s.chop(4);
            return compoundFile(s);
        }();
        QTest::newRow("password protected") << xls({}, record(0x002F, QByteArray(6, '\0')));
        QTest::newRow("older BIFF version") << [&] {
            QByteArray s = biffStream({});
            s[4] = 0x00;
            s[5] = 0x05;
            return compoundFile(s);
        }();
    }

    void hostile() {
        QFETCH(QByteArray, file);
        const auto book = openWorkbook(file);
        QVERIFY2(!book.ok(), "a hostile file was accepted");
        QVERIFY(!book.error().isEmpty());
    }

    // A cell is refused for the same reason whether a NUMBER or a FORMULA's stored result
    // holds it: a formula's cell is no way around the checks.
    void refusedCells_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("reason");

        const QString badNumber = u"файл .xls повреждён: неверное число в ячейке"_qs;
        const QString outside = u"файл .xls повреждён: ячейка за пределами листа"_qs;
        const double inf = std::numeric_limits<double>::infinity();
        const double nan = std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("NUMBER inf") << xls({numberRecord(0, 0, inf)}) << badNumber;
        QTest::newRow("NUMBER NaN") << xls({numberRecord(0, 0, nan)}) << badNumber;
        QTest::newRow("FORMULA result inf") << xls({numberFormula(0, 0, inf)}) << badNumber;
        QTest::newRow("FORMULA result -inf") << xls({numberFormula(0, 0, -inf)}) << badNumber;
        QTest::newRow("FORMULA result NaN") << xls({numberFormula(0, 0, nan)}) << badNumber;
        QTest::newRow("FORMULA result NaN among good cells")
            << xls({numberRecord(0, 0, 1) + numberFormula(1, 0, nan) + numberRecord(2, 0, 3)})
            << badNumber;
        QTest::newRow("NUMBER past XFD") << xls({numberRecord(0, 16384, 1)}) << outside;
        QTest::newRow("FORMULA past XFD") << xls({numberFormula(0, 16384, 1)}) << outside;
        QTest::newRow("text FORMULA past XFD, with its STRING")
            << xls({textFormula(0, 16384) + stringRecord(u"итого"_qs)}) << outside;
    }

    void refusedCells() {
        QFETCH(QByteArray, file);
        QFETCH(QString, reason);
        const auto book = readXls(file);
        QVERIFY2(!book.ok(), "a damaged cell was accepted");
        QCOMPARE(book.error(), reason);
    }
};

QTEST_GUILESS_MAIN(TestReadXls)
#include "test_readxls.moc"
