// The summary written row by row (SummaryWriter, SheetStreamWriter) against the same
// workbook built whole and saved (buildSummaryWorkbook, saveWorkbook): every cell read
// back with our reader, and the package's styles, columns, rows, panes and page setup.

#include "batchtexts.h"
#include "openworkbook.h"
#include "packageview.h"
#include "savexlsx.h"
#include "summaryworkbook.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <pugixml.hpp>
#include <sstream>

using namespace normativ;

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Rows with what a summary may hold: blanks around texts, line breaks, markup and
// control characters, a literal escape, an empty file name, a year that is not a number,
// figures whose 16-digit text would not read back, the smallest and largest doubles.
std::vector<SummaryRow> trickyRows(int count) {
    const QString texts[] = {QStringLiteral(" leading"),
                             QStringLiteral("trailing "),
                             QStringLiteral("tab\tinside"),
                             QStringLiteral("line\nbreak\n"),
                             QStringLiteral("a & b < c > d \" e ' f"),
                             QStringLiteral("control\x01\r"),
                             QStringLiteral("_x0041_ literal"),
                             QString(),
                             QStringLiteral("ДОУ №5 «Солнышко» 😀"),
                             QString(300, QChar(u'ж'))};
    const double figures[] = {
        0.0, -0.0,  5e-324, 1e20,  1e-5,     123456789012345678.0, 18074901.659750946,
        0.1, 2.675, -45.5,  1e300, 1.0 / 3.0};
    std::vector<SummaryRow> rows;
    for (int n = 0; n < count; ++n) {
        SummaryRow row;
        const auto text = [&](int k) { return texts[(n + k) % std::size(texts)]; };
        const auto figure = [&](int k) { return figures[(n + k) % std::size(figures)]; };
        row.fileName = text(0);
        row.institution = text(3);
        row.year = n % 3 == 0 ? QStringLiteral("2011") : n % 3 == 1 ? QStringLiteral("20x1") : "";
        if (n % 2 == 0) {
            row.figures = SummaryRow::Figures{figure(0), figure(1), figure(2), figure(3),
                                              figure(4), figure(5), figure(6), figure(7)};
        }
        row.status = n % 2 == 0 ? batchTexts().computed : text(5);
        rows.push_back(row);
    }
    return rows;
}

// The XML of the named children of the sheet's root, but the rows.
QString sheetSettings(const packagetest::Package& package) {
    std::ostringstream out;
    for (const char* name : {"sheetPr", "dimension", "sheetViews", "sheetFormatPr", "cols",
                             "pageMargins", "pageSetup", "headerFooter"}) {
        package.sheet().child(name).print(out, "", pugi::format_raw);
    }
    return QString::fromStdString(out.str());
}

// Each row's attributes and each cell's address and style, in order.
QStringList rowsAndStyles(const packagetest::Package& package) {
    QStringList out;
    for (pugi::xml_node row : package.sheet().child("sheetData").children("row")) {
        QString line;
        for (pugi::xml_attribute a : row.attributes()) {
            if (std::string_view(a.name()) != "spans") {
                line += QStringLiteral("%1=%2 ").arg(a.name(), a.value());
            }
        }
        for (pugi::xml_node c : row.children("c")) {
            line +=
                QStringLiteral("%1:%2 ").arg(c.attribute("r").value(), c.attribute("s").value());
        }
        out << line;
    }
    return out;
}

// Each text cell's address and its text as the table of shared texts holds it (escapes,
// and whether it keeps its blanks).
QStringList cellTexts(const QString& file) {
    const QByteArray shared = packagetest::partOf(file, "xl/sharedStrings.xml");
    pugi::xml_document table;
    table.load_buffer(shared.constData(), static_cast<std::size_t>(shared.size()));
    std::vector<pugi::xml_node> strings;
    for (pugi::xml_node si : table.child("sst").children("si")) strings.push_back(si.child("t"));
    const packagetest::Package package(file);
    QStringList out;
    for (pugi::xml_node c : package.sheet().child("sheetData").children("row")) {
        for (pugi::xml_node cell : c.children("c")) {
            if (std::string_view(cell.attribute("t").value()) != "s") continue;
            std::ostringstream t;
            strings.at(cell.child("v").text().as_uint()).print(t, "", pugi::format_raw);
            out << QStringLiteral("%1:%2").arg(cell.attribute("r").value(),
                                               QString::fromStdString(t.str()));
        }
    }
    return out;
}

}  // namespace

class TestSummaryStream : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    // Streamed and whole, the summary holds the same values and looks the same: the
    // shared table holds each text cell's text in turn instead of each text once, nothing
    // else differs.
    void sameAsWholeSummary_data() {
        QTest::addColumn<int>("count");
        QTest::newRow("none") << 0;
        QTest::newRow("one") << 1;
        QTest::newRow("a department") << 60;
    }
    void sameAsWholeSummary() {
        QFETCH(int, count);
        const std::vector<SummaryRow> rows = trickyRows(count);
        const Methodology& methodology = *Methodology::example();
        const QString streamed = dir_.filePath(QStringLiteral("streamed.xlsx"));
        const QString whole = dir_.filePath(QStringLiteral("whole.xlsx"));
        {
            auto writer = SummaryWriter::open(streamed, methodology);
            QVERIFY2(writer.ok(), qPrintable(writer.error()));
            for (const SummaryRow& row : rows) QVERIFY((*writer)->add(row).ok());
            const Status finished = (*writer)->finish();
            QVERIFY2(finished.ok(), qPrintable(finished.error()));
        }
        QVERIFY(saveWorkbook(buildSummaryWorkbook(rows, methodology), whole).ok());
        QVERIFY(QDir(dir_.path()).entryList(QDir::Hidden | QDir::Files).filter(".tmp").isEmpty());

        const auto a = openWorkbook(readAll(streamed));
        const auto b = openWorkbook(readAll(whole));
        QVERIFY2(a.ok(), qPrintable(a.error()));
        QVERIFY(b.ok());
        QCOMPARE(a->sheetCount(), 1);
        QCOMPARE(a->sheetName(1), b->sheetName(1));
        QCOMPARE(a->cellCount(1), b->cellCount(1));
        for (int row = 1; row <= count + 5; ++row) {
            for (int column = 1; column <= summary::kColumns; ++column) {
                QVERIFY2(a->cell(1, row, column) == b->cell(1, row, column),
                         qPrintable(cellAddress(row, column)));
            }
        }

        const packagetest::Package streamedPackage(streamed);
        const packagetest::Package wholePackage(whole);
        QVERIFY(streamedPackage.loaded());
        QCOMPARE(packagetest::partNames(streamed), packagetest::partNames(whole));
        for (const char* part : {"xl/styles.xml", "xl/workbook.xml", "[Content_Types].xml",
                                 "xl/_rels/workbook.xml.rels"}) {
            QCOMPARE(packagetest::partOf(streamed, part), packagetest::partOf(whole, part));
        }
        QCOMPARE(sheetSettings(streamedPackage), sheetSettings(wholePackage));
        QCOMPARE(rowsAndStyles(streamedPackage), rowsAndStyles(wholePackage));
        QCOMPARE(cellTexts(streamed), cellTexts(whole));
    }

    // Any sheet's rows: heights, hidden rows, a row's own format, booleans and blanks
    // with a format, as saveWorkbook writes them.
    void anySheetAsSaved() {
        const auto build = [] {
            Workbook book;
            Sheet& sheet = book.addSheet(QStringLiteral("Лист"));
            sheet.setColumnWidth(2, 3, 20);
            sheet.formatRange(RangeRef{1, 3, kMaxRows, 3}, [](CellFormat& f) { f.bold = true; });
            sheet.freezePanes(2, 2);
            sheet.setText(1, 1, QStringLiteral("Заголовок"));
            sheet.setRowHeight(2, 30);
            sheet.setNumber(2, 2, 2.5);
            sheet.setRowHidden(3);
            sheet.setBool(3, 1, true);
            sheet.setRowHeight(4, 0);
            sheet.formatRange(RangeRef{5, 1, 5, kMaxColumns},
                              [](CellFormat& f) { f.numberFormat = QStringLiteral("0.000"); });
            sheet.setNumber(5, 4, 1.0 / 7);
            sheet.formatRange(QStringView(u"B6:D6"), [](CellFormat& f) { f.italic = true; });
            sheet.setText(7, 3, QStringLiteral("  "));
            sheet.setRowHeight(9, 15);
            PageSetup print;
            print.printArea = RangeRef{1, 1, 9, 4};
            print.landscape = true;
            sheet.setPageSetup(print);
            return book;
        };
        const QString streamed = dir_.filePath(QStringLiteral("any-streamed.xlsx"));
        const QString whole = dir_.filePath(QStringLiteral("any-whole.xlsx"));
        Workbook book = build();
        auto writer = SheetStreamWriter::open(book, streamed);
        QVERIFY2(writer.ok(), qPrintable(writer.error()));
        QVERIFY((*writer)->finish(book).ok());
        QVERIFY(saveWorkbook(build(), whole).ok());

        const packagetest::Package streamedPackage(streamed);
        const packagetest::Package wholePackage(whole);
        QCOMPARE(packagetest::partOf(streamed, "xl/styles.xml"),
                 packagetest::partOf(whole, "xl/styles.xml"));
        QCOMPARE(packagetest::partOf(streamed, "xl/workbook.xml"),
                 packagetest::partOf(whole, "xl/workbook.xml"));
        QCOMPARE(sheetSettings(streamedPackage), sheetSettings(wholePackage));
        QCOMPARE(rowsAndStyles(streamedPackage), rowsAndStyles(wholePackage));
        const auto a = openWorkbook(readAll(streamed));
        const auto b = openWorkbook(readAll(whole));
        QVERIFY(a.ok() && b.ok());
        for (const char* address : {"A1", "B2", "A3", "D5", "C7"}) {
            QCOMPARE(a->cell(1, QString::fromLatin1(address)),
                     b->cell(1, QString::fromLatin1(address)));
        }
    }

    // A summary that can't be written fails as a saved one fails, before any row; a row
    // written again after later ones is refused, and the file is left as it was.
    void failures() {
        const QString missing = dir_.filePath(QStringLiteral("missing/summary.xlsx"));
        const auto noFolder = SummaryWriter::open(missing, *Methodology::example());
        QVERIFY(!noFolder.ok());
        QCOMPARE(noFolder.error(), saveWorkbook(buildSummaryWorkbook({}), missing).error());
        const auto folder = SummaryWriter::open(dir_.path(), *Methodology::example());
        QVERIFY(!folder.ok());
        QCOMPARE(folder.error(), saveWorkbook(buildSummaryWorkbook({}), dir_.path()).error());

        const QString path = dir_.filePath(QStringLiteral("rows.xlsx"));
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("before");
        old.close();
        Workbook book;
        Sheet& sheet = book.addSheet(QStringLiteral("Лист"));
        {
            auto writer = SheetStreamWriter::open(book, path);
            QVERIFY(writer.ok());
            sheet.setNumber(5, 1, 1);
            QVERIFY((*writer)->writeRows(book).ok());
            sheet.setNumber(4, 1, 1);
            QVERIFY(!(*writer)->writeRows(book).ok());
        }
        QCOMPARE(readAll(path), QByteArray("before"));
        QVERIFY(QDir(dir_.path()).entryList(QDir::Hidden | QDir::Files).filter(".tmp").isEmpty());
    }

  private:
    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(TestSummaryStream)
#include "test_summarystream.moc"
