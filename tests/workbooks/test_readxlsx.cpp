// The .xlsx reader: files as other programs write them, and hostile files refused
// cleanly (or read safely where the damage is in a part the reader doesn't need).

#include "openworkbook.h"
#include "readxlsx.h"
#include "testsupport.h"

#include <QtTest>

using namespace normativ;
using namespace testsupport;

Q_DECLARE_METATYPE(normativ::CellValue)

// A hostile file is built when its row runs: all of them at once would not fit the
// memory cap the test sets.
using Maker = std::function<QByteArray()>;
Q_DECLARE_METATYPE(Maker)

namespace {

Maker bytes(const QByteArray& b) {
    return [b] { return b; };
}

CellValue num(double v) {
    return CellValue::number(v);
}
CellValue txt(const QString& s) {
    return CellValue::text(s);
}

QByteArray repeated(const QByteArray& piece, int times) {
    QByteArray out;
    out.reserve(piece.size() * times);
    for (int i = 0; i < times; ++i) {
        out += piece;
    }
    return out;
}

ZipEntry deflatedEntry(const QByteArray& name, std::int64_t zeros, std::uint32_t declaredSize) {
    ZipEntry e;
    e.name = name;
    e.data = deflateZeros(zeros);
    e.method = 8;
    e.crc = 0;  // never reached: the caps stop the inflating first
    e.compressedSize = static_cast<std::uint32_t>(e.data.size());
    e.size = declaredSize;
    return e;
}

std::vector<ZipEntry> replaced(std::vector<ZipEntry> entries, const QByteArray& name,
                               const QByteArray& data) {
    for (auto& e : entries) {
        if (e.name == name) {
            e = storedEntry(name, data);
        }
    }
    return entries;
}

}  // namespace

class TestReadXlsx : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        if (!limitAddressSpace()) {
            qInfo("address space not limited (sanitizer build)");
        }
    }

    void otherProgramFixture_data() {
        QTest::addColumn<int>("sheet");
        QTest::addColumn<QString>("address");
        QTest::addColumn<CellValue>("expected");

        QTest::newRow("shared string") << 1 << "A1" << txt(u"наименование"_qs);
        QTest::newRow("rich text runs joined, phonetic run skipped")
            << 1 << "B1" << txt(u"детский сад"_qs);
        QTest::newRow("cell without r follows B1; whitespace-only text kept")
            << 1 << "C1" << txt(u"   "_qs);
        QTest::newRow("_xHHHH_ decoded, _x005F_ escapes the underscore")
            << 1 << "D1" << txt(u"line\r\nbreak & _x0041_"_qs);
        QTest::newRow("empty shared string") << 1 << "E1" << txt(QString());
        QTest::newRow("integer") << 1 << "A2" << num(120);
        QTest::newRow("exponent") << 1 << "B2" << num(-1.5e-3);
        QTest::newRow("marker") << 1 << "C2" << num(79265830346.0);
        QTest::newRow("number with blanks around") << 1 << "D2" << num(12.5);
        QTest::newRow("formatted blank") << 1 << "E2" << CellValue();
        QTest::newRow("empty value") << 1 << "F2" << CellValue();
        QTest::newRow("row without r follows row 2: true") << 1 << "A3" << CellValue::boolean(true);
        QTest::newRow("false") << 1 << "B3" << CellValue::boolean(false);
        QTest::newRow("error value as its text") << 1 << "C3" << txt(u"#DIV/0!"_qs);
        QTest::newRow("formula with stored number") << 1 << "A5" << num(118.5);
        QTest::newRow("formula with stored text") << 1 << "B5" << txt(u"наименование"_qs);
        QTest::newRow("formula without stored result is blank") << 1 << "C5" << CellValue();
        QTest::newRow("formula with empty text") << 1 << "D5" << txt(QString());
        QTest::newRow("inline string") << 1 << "A6" << txt(u"строка в ячейке"_qs);
        QTest::newRow("inline rich text") << 1 << "B6" << txt(u"раздва"_qs);
        QTest::newRow("inline space") << 1 << "C6" << txt(u" "_qs);
        QTest::newRow("far column, lower-case address") << 1 << "eh17" << num(11123545);
        QTest::newRow("never written") << 1 << "Z99" << CellValue();
        QTest::newRow("second sheet by order, not file name")
            << 2 << "B5" << txt(u"наименование"_qs);
        QTest::newRow("no third sheet") << 3 << "A1" << CellValue();
    }

    void otherProgramFixture() {
        QFETCH(int, sheet);
        QFETCH(QString, address);
        QFETCH(CellValue, expected);
        const auto book = readXlsx(fixture(QStringLiteral("other_program.xlsx")));
        QVERIFY2(book.ok(), qPrintable(book.error()));
        QCOMPARE(book->sheetCount(), 2);
        QCOMPARE(book->sheetName(1), u"Параметры"_qs);
        QCOMPARE(book->sheetName(2), u"Группы"_qs);
        const CellValue actual = book->cell(sheet, address);
        QVERIFY2(actual == expected,
                 qPrintable(actual.debugString() + " != " + expected.debugString()));
    }

    void openpyxlFixture() {
        const auto book = openWorkbook(fixture(QStringLiteral("openpyxl.xlsx")));
        QVERIFY2(book.ok(), qPrintable(book.error()));
        QCOMPARE(book->sheetCount(), 2);
        QCOMPARE(book->sheetName(1), u"Параметры ДОУ"_qs);
        QCOMPARE(book->cell(1, u"B4"), txt(u"Детский сад № 5"_qs));
        QCOMPARE(book->cell(1, u"B6"), num(120));
        QCOMPARE(book->cell(1, u"B7"), num(6.5));
        QCOMPARE(book->cell(1, u"B8"), CellValue::boolean(true));
        QCOMPARE(book->cell(1, u"B9"), CellValue());  // a formula saved without its result
        QCOMPARE(book->cell(1, u"H124"), num(11123546));
        QCOMPARE(book->cell(2, 5, 5), num(25));
    }

    // Positions of cells and rows without references, and values the fixture lacks.
    void craftedSheets_data() {
        QTest::addColumn<QByteArray>("sheetData");
        QTest::addColumn<QString>("address");
        QTest::addColumn<CellValue>("expected");

        QTest::newRow("first row without r is row 1")
            << QByteArray("<row><c><v>1</v></c><c><v>2</v></c></row>") << "B1" << num(2);
        QTest::newRow("cell without r after a referenced one")
            << QByteArray("<row r=\"4\"><c r=\"C4\"><v>1</v></c><c><v>2</v></c></row>") << "D4"
            << num(2);
        QTest::newRow("row without r after row 7")
            << QByteArray("<row r=\"7\"/><row><c><v>3</v></c></row>") << "A8" << num(3);
        QTest::newRow("later value of the same cell stands")
            << QByteArray("<row r=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"A1\"><v>2</v></c></row>")
            << "A1" << num(2);
        QTest::newRow("last cell of the sheet")
            << QByteArray("<row r=\"1048576\"><c r=\"XFD1048576\"><v>5</v></c></row>")
            << "XFD1048576" << num(5);
        QTest::newRow("prefixed elements")
            << QByteArray("<x:row xmlns:x=\"urn:x\"><x:c><x:v>6</x:v></x:c></x:row>") << "A1"
            << num(6);
        QTest::newRow("CDATA and character references")
            << QByteArray("<row><c t=\"str\"><v><![CDATA[<a>]]>&#1072;&#x431;</v></c></row>")
            << "A1" << txt(u"<a>аб"_qs);
        QTest::newRow("dimension of a whole sheet builds no grid")
            << QByteArray("<row r=\"2\"><c r=\"B2\"><v>1</v></c></row>") << "B2" << num(1);
        QTest::newRow("shared-string count of 4e9 declared, one string there")
            << QByteArray("<row><c t=\"s\"><v>0</v></c></row>") << "A1" << txt(u"a"_qs);
    }

    void craftedSheets() {
        QFETCH(QByteArray, sheetData);
        QFETCH(QString, address);
        QFETCH(CellValue, expected);
        auto entries = packageEntries(sheetData);
        entries =
            replaced(entries, "xl/sharedStrings.xml",
                     "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                     "count=\"4000000000\" uniqueCount=\"4000000000\"><si><t>a</t></si></sst>");
        entries = replaced(entries, "xl/worksheets/sheet1.xml",
                           "<worksheet><dimension ref=\"A1:XFD1048576\"/><sheetData>" + sheetData +
                               "</sheetData></worksheet>");
        const auto book = readXlsx(buildZip(entries));
        QVERIFY2(book.ok(), qPrintable(book.error()));
        const CellValue actual = book->cell(1, address);
        QVERIFY2(actual == expected,
                 qPrintable(actual.debugString() + " != " + expected.debugString()));
    }

    // The most characters a cell holds counts the text once its "_xHHHH_" escapes are
    // decoded (one character each), in a shared string as in an inline one; a character
    // of four UTF-8 bytes counts two, as in UTF-16.
    void textLengthCap_data() {
        QTest::addColumn<QByteArray>("text");  // as the package holds it
        QTest::addColumn<QString>("read");     // empty: refused
        const QByteArray cyrillic = repeated("ж", 32766);
        const QString letters(32766, QChar(u'ж'));
        QTest::newRow("at the cap with an escape")
            << cyrillic + "_x0041_" << letters + QLatin1Char('A');
        QTest::newRow("over the cap with an escape") << cyrillic + "_x0041_b" << QString();
        QTest::newRow("at the cap with a lone underscore") << cyrillic + "_" << letters + u'_';
        QTest::newRow("an escape that is not one counts in full")
            << cyrillic + "_x00G1_" << QString();
        QTest::newRow("a pair at the cap")
            << repeated("ж", 32765) + "\xf0\x9f\x98\x80"
            << QString(32765, QChar(u'ж')) + QString::fromUtf8("\xf0\x9f\x98\x80");
        QTest::newRow("a pair over the cap") << cyrillic + "\xf0\x9f\x98\x80" << QString();
    }

    void textLengthCap() {
        QFETCH(QByteArray, text);
        QFETCH(QString, read);
        const QByteArray sst =
            "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><si><t>" +
            text + "</t></si></sst>";
        const std::pair<QByteArray, std::vector<ZipEntry>> packages[] = {
            {"shared", packageEntries("<row><c t=\"s\"><v>0</v></c></row>", sst)},
            {"inline",
             packageEntries("<row><c t=\"inlineStr\"><is><t>" + text + "</t></is></c></row>")}};
        for (const auto& [kind, entries] : packages) {
            const auto book = readXlsx(buildZip(entries));
            QVERIFY2(book.ok() == !read.isEmpty(), kind.constData());
            if (book.ok()) QCOMPARE(book->cell(1, u"A1"), txt(read));
        }
    }

    // Every one refused with a reason, in bounded memory.
    void hostile_data() {
        QTest::addColumn<Maker>("make");

        const QByteArray good = package("<row><c><v>1</v></c></row>");
        QTest::newRow("empty") << bytes(QByteArray());
        QTest::newRow("not a zip") << bytes(QByteArray("PK but not really a zip file at all"));
        QTest::newRow("truncated zip") << bytes(good.left(good.size() / 2));
        QTest::newRow("over 20 MiB")
            << Maker([] { return QByteArray("PK\x03\x04").append(QByteArray(20 << 20, 'x')); });
        {
            auto entries = packageEntries("<row><c><v>1</v></c></row>");
            entries.back().crc ^= 1u;
            QTest::newRow("bad CRC") << bytes(buildZip(entries));
        }
        {
            auto entries = packageEntries("<row><c><v>1</v></c></row>");
            entries.back().flags |= 1;
            QTest::newRow("encrypted entry") << bytes(buildZip(entries));
        }
        {
            auto entries = packageEntries("<row><c><v>1</v></c></row>");
            entries.push_back(storedEntry("xl/worksheets/sheet1.xml", sheetXml({})));
            QTest::newRow("duplicate names") << bytes(buildZip(entries));
        }
        {
            auto entries = packageEntries("<row><c><v>1</v></c></row>");
            entries.push_back(storedEntry("XL/Worksheets/Sheet1.xml", sheetXml({})));
            QTest::newRow("duplicate names in other case") << bytes(buildZip(entries));
        }
        {
            auto entries = packageEntries("<row><c><v>1</v></c></row>");
            entries.push_back(storedEntry("xl/../../evil.xml", "<a/>"));
            QTest::newRow("../ in a name") << bytes(buildZip(entries));
        }
        {
            auto entries = packageEntries("<row><c><v>1</v></c></row>");
            entries.push_back(storedEntry("/etc/evil.xml", "<a/>"));
            QTest::newRow("absolute name") << bytes(buildZip(entries));
        }
        {
            auto entries = packageEntries("<row><c><v>1</v></c></row>");
            for (int i = 0; i < 1000; ++i) {
                entries.push_back(storedEntry("extra/" + QByteArray::number(i), {}));
            }
            QTest::newRow("1,005 entries") << bytes(buildZip(entries));
        }
        {
            auto entries = packageEntries("<row><c><v>1</v></c></row>");
            entries.back().method = 99;
            QTest::newRow("unknown compression") << bytes(buildZip(entries));
        }
        QTest::newRow("zip bomb: 7 MB inflating to 1 GiB") << Maker([] {
            auto entries = packageEntries({});
            entries.back() = deflatedEntry("xl/worksheets/sheet1.xml", 1ll << 30, 1u << 30);
            return buildZip(entries);
        });
        QTest::newRow("zip bomb with under-declared size") << Maker([] {
            auto entries = packageEntries({});
            entries.back() = deflatedEntry("xl/worksheets/sheet1.xml", 1ll << 30, 100);
            return buildZip(entries);
        });
        QTest::newRow("inflation ratio over 100:1") << Maker([] {
            auto entries = packageEntries({});
            entries.back() = deflatedEntry("xl/worksheets/sheet1.xml", 3 << 20, 3 << 20);
            return buildZip(entries);
        });
        QTest::newRow("billion laughs")
            << bytes(package("<!DOCTYPE lolz [<!ENTITY lol \"lol\"><!ENTITY lol2 "
                             "\"&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;\">]>"
                             "<row><c t=\"str\"><v>&lol2;</v></c></row>"));
        QTest::newRow("external entity")
            << bytes(buildZip(replaced(packageEntries({}), "xl/workbook.xml",
                                       "<?xml version=\"1.0\"?><!DOCTYPE w [<!ENTITY x SYSTEM "
                                       "\"file:///etc/passwd\">]><workbook>&x;</workbook>")));
        QTest::newRow("nested a million deep")
            << Maker([] { return package(repeated("<a>", 1000000) + repeated("</a>", 1000000)); });
        QTest::newRow("nested 65 deep")
            << bytes(package(repeated("<a>", 63) + repeated("</a>", 63)));
        QTest::newRow("column XFE") << bytes(package("<row><c r=\"XFE1\"><v>1</v></c></row>"));
        QTest::newRow("row 1048577") << bytes(package("<row><c r=\"A1048577\"><v>1</v></c></row>"));
        QTest::newRow("row element 1048577") << bytes(package("<row r=\"1048577\"/>"));
        QTest::newRow("14-letter column")
            << bytes(package("<row><c r=\"ABCDEFGHIJKLMN1\"><v>1</v></c></row>"));
        QTest::newRow("cell without r past XFD")
            << bytes(package("<row><c r=\"XFD1\"><v>1</v></c><c><v>2</v></c></row>"));
        QTest::newRow("shared-string index out of range")
            << bytes(package("<row><c t=\"s\"><v>1</v></c></row>"));
        QTest::newRow("shared-string index negative")
            << bytes(package("<row><c t=\"s\"><v>-1</v></c></row>"));
        QTest::newRow("40,000-character inline cell") << bytes(package(
            "<row><c t=\"inlineStr\"><is><t>" + QByteArray(40000, 'x') + "</t></is></c></row>"));
        QTest::newRow("40,000-character shared string") << bytes(
            buildZip(replaced(packageEntries("<row/>"), "xl/sharedStrings.xml",
                              "<sst><si><t>" + QByteArray(40000, 'x') + "</t></si></sst>")));
        QTest::newRow("1e309") << bytes(package("<row><c><v>1e309</v></c></row>"));
        QTest::newRow("NaN") << bytes(package("<row><c><v>NaN</v></c></row>"));
        QTest::newRow("inf") << bytes(package("<row><c><v>inf</v></c></row>"));
        QTest::newRow("number with a comma") << bytes(package("<row><c><v>1,5</v></c></row>"));
        QTest::newRow("boolean 2") << bytes(package("<row><c t=\"b\"><v>2</v></c></row>"));
        QTest::newRow("invalid UTF-8")
            << bytes(package("<row><c t=\"str\"><v>\xC3\x28\xFF</v></c></row>"));
        QTest::newRow("unknown entity")
            << bytes(package("<row><c t=\"str\"><v>&nbsp;</v></c></row>"));
        QTest::newRow("unclosed element") << bytes(package("<row><c><v>1</v></c>"));
        QTest::newRow("mismatched tags") << bytes(package("<row><c><v>1</c></v></row>"));
        {
            auto entries = packageEntries("<row/>");
            entries = replaced(entries, "xl/workbook.xml", workbookXml(10000));
            QTest::newRow("10,000 sheets") << bytes(buildZip(entries));
        }
        QTest::newRow("relationship to a missing sheet")
            << bytes(buildZip(replaced(packageEntries("<row/>"), "xl/_rels/workbook.xml.rels",
                                       workbookRels(1, "worksheets/nothing.xml"))));
        QTest::newRow("relationship outside the package")
            << bytes(buildZip(replaced(packageEntries("<row/>"), "xl/_rels/workbook.xml.rels",
                                       workbookRels(1, "../../../etc/passwd"))));
        QTest::newRow("sheet without relationship") << bytes(buildZip(
            replaced(packageEntries("<row/>"), "xl/_rels/workbook.xml.rels", workbookRels(0))));
        QTest::newRow("no office document relationship") << bytes(
            buildZip(replaced(packageEntries("<row/>"), "_rels/.rels", "<Relationships/>")));
        QTest::newRow("1,000,001 cells") << Maker([] {
            // Over two sheets of 8 MB each: the cell cap, not a part's size.
            auto entries = packageEntries({});
            entries = replaced(entries, "xl/workbook.xml", workbookXml(2));
            entries = replaced(entries, "xl/_rels/workbook.xml.rels", workbookRels(2));
            const QByteArray row = "<row>" + repeated("<c><v>1</v></c>", 1000) + "</row>";
            entries = replaced(entries, "xl/worksheets/sheet1.xml", sheetXml(repeated(row, 500)));
            entries.push_back(
                storedEntry("xl/worksheets/sheet2.xml",
                            sheetXml(repeated(row, 500) + "<row><c><v>1</v></c></row>")));
            return buildZip(entries);
        });
    }

    void hostile() {
        QFETCH(Maker, make);
        const auto book = openWorkbook(make());
        QVERIFY2(!book.ok(), "a hostile file was accepted");
        QVERIFY(!book.error().isEmpty());
    }

    // Large but legal: read within the caps.
    void millionRows() {
        const auto book =
            readXlsx(package(repeated("<row/>", 1000000) + "<row><c><v>7</v></c></row>"));
        QVERIFY2(book.ok(), qPrintable(book.error()));
        QCOMPARE(book->cell(1, 1000001, 1), num(7));
        QCOMPARE(book->cellCount(1), 1);
    }

    void detectsFormatByContent() {
        QCOMPARE(detectWorkbookFormat(fixture(QStringLiteral("openpyxl.xlsx"))),
                 WorkbookFormat::Xlsx);
        QCOMPARE(detectWorkbookFormat(fixture(QStringLiteral("xlwt_plain.xls"))),
                 WorkbookFormat::Xls);
        QCOMPARE(detectWorkbookFormat("{\"answers\": {}}"), WorkbookFormat::Unknown);
    }
};

QTEST_GUILESS_MAIN(TestReadXlsx)
#include "test_readxlsx.moc"
