// The workbook model and its .xlsx writer: values read back by our reader, formats and
// sheet settings checked in the package's XML, numbers written with a point under a
// Russian C locale, and saving that replaces a file whole or not at all.

#include "openworkbook.h"
#include "packageview.h"
#include "savexlsx.h"
#include "testsupport.h"
#include "workbook.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>
#include <zip.h>
#include <clocale>
#include <pugixml.hpp>

using namespace normativ;

using namespace packagetest;

Q_DECLARE_METATYPE(normativ::CellValue)

namespace {

QStringList leftovers(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral(".tmp"));
}

}  // namespace

class TestSaveXlsx : public QObject {
    Q_OBJECT

  private slots:
    void valuesReadBack_data() {
        QTest::addColumn<CellValue>("written");
        QTest::addColumn<CellValue>("read");

        const auto same = [](const char* name, const CellValue& v) {
            QTest::newRow(name) << v << v;
        };
        same("integer", CellValue::number(120));
        same("one tenth", CellValue::number(0.1));
        same("negative small", CellValue::number(-2.5e-7));
        same("marker", CellValue::number(79265830346.0));
        same("single-precision value widened", CellValue::number(double(11123546.0f)));
        same("fifteen digits", CellValue::number(123456789.012345));
        same("large", CellValue::number(9.99999999999999e307));
        // 16 significant digits of these read back as a neighbouring double.
        same("seventeen digits: a subsidy", CellValue::number(18074901.659750946));
        same("seventeen digits: 0.1 + 0.2", CellValue::number(0.1 + 0.2));
        same("seventeen digits: negative tiny", CellValue::number(-2.2250738585072019e-308));
        QTest::newRow("below the smallest normal double reads 0")
            << CellValue::number(4.9e-324) << CellValue::number(0);
        same("text", CellValue::text(u"Детский сад № 5"_qs));
        same("spaces kept", CellValue::text(u"  два пробела  "_qs));
        same("line break", CellValue::text(u"строка\nвторая"_qs));
        same("control character", CellValue::text(u"a\u0001b"_qs));
        same("escape-like text", CellValue::text(u"_x0041_ и _x005F_"_qs));
        same("longest text", CellValue::text(QString(32767, u'я')));
        same("true", CellValue::boolean(true));
        same("false", CellValue::boolean(false));
        QTest::newRow("empty text is a blank cell") << CellValue::text(QString()) << CellValue();
    }

    void valuesReadBack() {
        QFETCH(CellValue, written);
        QFETCH(CellValue, read);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("book.xlsx"));
        Workbook book;
        Sheet& sheet = book.addSheet(u"Лист"_qs);
        sheet.setValue(u"C7", written);
        sheet.setNumber(u"D7", 1);  // a neighbour, so that C7 isn't alone in its row
        const Status saved = saveWorkbook(book, path);
        QVERIFY2(saved.ok(), qPrintable(saved.error()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const auto loaded = openWorkbook(file.readAll());
        QVERIFY2(loaded.ok(), qPrintable(loaded.error()));
        const CellValue actual = loaded->cell(1, u"C7");
        QVERIFY2(actual == read,
                 qPrintable(actual.debugString().left(60) + " != " + read.debugString().left(60)));
        QCOMPARE(loaded->cell(1, u"D7"), CellValue::number(1));
    }

    // Cells whose numbers need 17 digits, on several sheets, formatted or not, next to
    // addresses that begin alike, all read back exactly.
    void exactNumbersOnEverySheet() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("book.xlsx"));
        const double subsidy = 18074901.659750946;
        const double sum = 0.1 + 0.2;
        Workbook book;
        book.addSheet(u"Первый"_qs).setNumber(u"A1", 1);
        Sheet& second = book.addSheet(u"Второй"_qs);
        second.setNumber(u"B5", sum);
        second.setNumber(u"B53", subsidy);
        second.setNumber(u"C53", -subsidy);
        second.formatRange(u"B53", [](CellFormat& f) { f.numberFormat = QStringLiteral("0.00"); });
        Sheet& third = book.addSheet(u"Третий"_qs);
        third.setNumber(u"A1", sum);
        third.setText(u"A2", u"текст"_qs);
        const Status saved = saveWorkbook(book, path);
        QVERIFY2(saved.ok(), qPrintable(saved.error()));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("book.xlsx")});

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const auto loaded = openWorkbook(file.readAll());
        QVERIFY2(loaded.ok(), qPrintable(loaded.error()));
        QCOMPARE(loaded->cell(1, u"A1"), CellValue::number(1));
        QCOMPARE(loaded->cell(2, u"B5"), CellValue::number(sum));
        QCOMPARE(loaded->cell(2, u"B53"), CellValue::number(subsidy));
        QCOMPARE(loaded->cell(2, u"C53"), CellValue::number(-subsidy));
        QCOMPARE(loaded->cell(3, u"A1"), CellValue::number(sum));
        QCOMPARE(loaded->cell(3, u"A2"), CellValue::text(u"текст"_qs));
    }

    // A workbook built by a function and handed back still records refused calls.
    void movedWorkbookKeepsItsSheets() {
        const auto build = [] {
            Workbook book;
            book.addSheet(u"Лист"_qs).setNumber(u"A1", 5);
            return book;
        };
        Workbook built = build();
        Workbook moved = std::move(built);
        moved.sheet(1).setNumber(u"XFE1", 1);
        QVERIFY2(moved.error().contains(u"XFE1"_qs), qPrintable(moved.error()));
        QCOMPARE(moved.sheet(1).value(u"A1"), CellValue::number(5));
    }

    void sheetsInOrderWithNames() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("book.xlsx"));
        Workbook book;
        book.addSheet();
        book.addSheet();
        QCOMPARE(book.sheet(1).name(), u"Лист1"_qs);
        QCOMPARE(book.sheet(2).name(), u"Лист2"_qs);
        QVERIFY(book.sheet(1).setName(u"Параметры ДОУ"_qs));
        QVERIFY(book.sheet(2).setName(u"Группы"_qs));
        for (const QString& bad : {QString(), u"a/b"_qs, u"[x]"_qs, u"'x'"_qs, QString(32, u'a')}) {
            QVERIFY2(!book.sheet(2).setName(bad), qPrintable(bad));
        }
        QCOMPARE(book.sheet(2).name(), u"Группы"_qs);
        book.sheet(2).setText(u"A1", u"второй"_qs);
        QVERIFY(saveWorkbook(book, path).ok());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const auto loaded = openWorkbook(file.readAll());
        QVERIFY(loaded.ok());
        QCOMPARE(loaded->sheetCount(), 2);
        QCOMPARE(loaded->sheetName(1), u"Параметры ДОУ"_qs);
        QCOMPARE(loaded->sheetName(2), u"Группы"_qs);
        QCOMPARE(loaded->cell(2, u"A1"), CellValue::text(u"второй"_qs));
    }

    // Formats set in layers, as a spreadsheet's range properties are, and written as one
    // style per distinct combination.
    void formatsInThePackage() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("book.xlsx"));
        Workbook book;
        Sheet& s = book.addSheet();
        s.formatRange(u"A:C", [](CellFormat& f) {
            f.fontName = QStringLiteral("Times New Roman");
            f.fontSize = 12;
        });
        for (int row = 4; row <= 40; ++row) {
            s.setText(row, 1, QStringLiteral("label %1").arg(row));
            s.setNumber(row, 2, row * 1.5);
        }
        s.formatRange(u"A4:A40", [](CellFormat& f) {
            f.horizontal = HorizontalAlignment::Left;
            f.vertical = VerticalAlignment::Center;
            f.wrap = true;
        });
        s.formatRange(u"B4:B40", [](CellFormat& f) {
            f.numberFormat = QStringLiteral("0.00");
            f.horizontal = HorizontalAlignment::Center;
        });
        s.formatRange(u"A17:B17", [](CellFormat& f) {
            f.bold = true;
            f.italic = true;
            f.fontColor = 0xFF0000u;
        });
        s.setBorders(u"A2:C53", BorderStyle::Medium, BorderStyle::None);
        s.setBorders(u"E4:F5", BorderStyle::Thin, BorderStyle::Thin);
        s.setText(u"A60", u"new cell in a formatted column"_qs);
        QCOMPARE(s.format(u"A60").fontName, QStringLiteral("Times New Roman"));
        QVERIFY(saveWorkbook(book, path).ok());

        const Package p(path);
        const Style label = p.style("A5");
        QCOMPARE(label.font, QStringLiteral("Times New Roman"));
        QCOMPARE(label.size, 12.0);
        QCOMPARE(label.horizontal, QStringLiteral("left"));
        QCOMPARE(label.vertical, QStringLiteral("center"));
        QVERIFY(label.wrap);
        QVERIFY(!label.bold);
        const Style value = p.style("B5");
        QCOMPARE(value.numberFormat, QStringLiteral("0.00"));
        QCOMPARE(value.horizontal, QStringLiteral("center"));
        QCOMPARE(value.font, QStringLiteral("Times New Roman"));
        const Style bold = p.style("B17");
        QVERIFY(bold.bold);
        QVERIFY(bold.italic);
        QCOMPARE(bold.color, QStringLiteral("FFFF0000"));
        QCOMPARE(bold.numberFormat, QStringLiteral("0.00"));
        // The outline: edges only where the range has them.
        const Style corner = p.style("A2");
        QCOMPARE(corner.left, QStringLiteral("medium"));
        QCOMPARE(corner.top, QStringLiteral("medium"));
        QCOMPARE(corner.right, QString());
        QCOMPARE(p.style("B53").bottom, QStringLiteral("medium"));
        QCOMPARE(p.style("B53").left, QString());
        QCOMPARE(p.style("C30").right, QStringLiteral("medium"));
        QCOMPARE(p.style("B30").top, QString());
        // A grid: every edge of every cell.
        const Style grid = p.style("F4");
        QCOMPARE(grid.left, QStringLiteral("thin"));
        QCOMPARE(grid.bottom, QStringLiteral("thin"));
        QCOMPARE(p.style("A60").font, QStringLiteral("Times New Roman"));
        // A few distinct combinations, not one style per cell.
        QVERIFY2(p.cellFormatCount() < 20, qPrintable(QString::number(p.cellFormatCount())));
    }

    void mergesColumnsRowsAndPanes() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("book.xlsx"));
        Workbook book;
        Sheet& s = book.addSheet();
        s.setText(u"A2", u"Рекомендуемая смета"_qs);
        s.setBorders(u"A2:F2", BorderStyle::Thin, BorderStyle::Thin);
        QVERIFY(s.mergeCells(u"A2:F2"));
        QVERIFY(!s.mergeCells(u"C1:C3"));  // overlaps
        QVERIFY(!s.mergeCells(u"H1"));     // a single cell
        s.setColumnWidth(1, 1, 35.71);
        s.setColumnWidth(2, 6, 14.14);
        s.setColumnsHidden(7, kMaxColumns);
        s.setRowHeight(5, 31.5);
        s.setRowsHiddenFrom(54);
        s.setNumber(u"H124", 11123546);
        s.freezePanes(5, 2);
        QVERIFY(saveWorkbook(book, path).ok());

        const Package p(path);
        QCOMPARE(QString::fromUtf8(
                     p.sheet().child("mergeCells").child("mergeCell").attribute("ref").value()),
                 QStringLiteral("A2:F2"));
        QCOMPARE(p.style("F2").right, QStringLiteral("thin"));  // each merged cell keeps its lines
        QCOMPARE(p.style("C2").top, QStringLiteral("thin"));
        const pugi::xml_node hidden =
            p.sheet().child("cols").find_child_by_attribute("col", "min", "7");
        QCOMPARE(hidden.attribute("max").as_int(), kMaxColumns);
        QVERIFY(hidden.attribute("hidden").as_bool());
        const double widthA = p.sheet()
                                  .child("cols")
                                  .find_child_by_attribute("col", "min", "1")
                                  .attribute("width")
                                  .as_double();
        QVERIFY2(widthA > 35.71 && widthA < 36.5, qPrintable(QString::number(widthA)));
        QVERIFY(p.sheet().child("sheetFormatPr").attribute("zeroHeight").as_bool());
        QVERIFY(!p.row(3).empty());  // an empty row above the hidden part, shown
        QVERIFY(!p.row(3).attribute("hidden").as_bool());
        QCOMPARE(p.row(5).attribute("ht").as_double(), 31.5);
        QVERIFY(p.row(124).attribute("hidden").as_bool());  // holds a value, still hidden
        const pugi::xml_node pane = p.sheet().child("sheetViews").child("sheetView").child("pane");
        QCOMPARE(QString::fromUtf8(pane.attribute("state").value()), QStringLiteral("frozen"));
        QCOMPARE(QString::fromUtf8(pane.attribute("topLeftCell").value()), QStringLiteral("B5"));

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const auto loaded = openWorkbook(file.readAll());
        QVERIFY(loaded.ok());
        QCOMPARE(loaded->cell(1, u"A2"), CellValue::text(u"Рекомендуемая смета"_qs));
        QCOMPARE(loaded->cell(1, u"H124"), CellValue::number(11123546));
    }

    // libxlsxwriter prints numbers with the C library's locale: a Russian one would give
    // "12345,678", a corrupt file.
    void numbersUnderRussianLocale() {
        RussianCLocale russian;
        if (!russian.ok()) {
            QSKIP("no Russian C locale here and none could be generated with localedef");
        }
        char probe[16];
        std::snprintf(probe, sizeof probe, "%.1f", 1.5);
        QCOMPARE(QByteArray(probe), QByteArray("1,5"));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("book.xlsx"));
        Workbook book;
        Sheet& s = book.addSheet();
        s.setNumber(u"A1", 12345.678);
        s.setColumnWidth(1, 1, 6.71);
        s.setRowHeight(2, 15.75);
        s.formatRange(u"A1", [](CellFormat& f) { f.fontSize = 10.5; });
        QVERIFY(saveWorkbook(book, path).ok());

        const Package p(path);
        QVERIFY2(p.sheetText().contains("<v>12345.678</v>"), p.sheetText().constData());
        QVERIFY(!p.sheetText().contains("12345,678"));
        QVERIFY(!p.sheetText().contains("6,"));
        QVERIFY(!p.sheetText().contains("15,75"));
        // (Read as text: pugixml's own number parsing follows the C locale too.)
        const QByteArray styles = partOf(path, "xl/styles.xml");
        QVERIFY2(styles.contains("<sz val=\"10.5\"/>"), styles.constData());
        // The process's locale is left as it was.
        std::snprintf(probe, sizeof probe, "%.1f", 1.5);
        QCOMPARE(QByteArray(probe), QByteArray("1,5"));
    }

    void replacesAWholeFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Отчет ДОУ.xlsx"_qs);
        for (int version = 1; version <= 2; ++version) {
            Workbook book;
            book.addSheet().setNumber(u"A1", version);
            const Status saved = saveWorkbook(book, path);
            QVERIFY2(saved.ok(), qPrintable(saved.error()));
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(openWorkbook(file.readAll())->cell(1, u"A1"), CellValue::number(2));
        QVERIFY(leftovers(dir.path()).isEmpty());
        QCOMPARE(QFileInfo(path).permissions() & QFile::ReadOwner, QFile::ReadOwner);
    }

    void failuresAreReported_data() {
        QTest::addColumn<QString>("target");  // relative to a temporary folder
        QTest::addColumn<int>("refusal");     // a refused call made before saving, or 0
        QTest::addColumn<QString>("reason");

        QTest::newRow("folder that doesn't exist")
            << "missing/book.xlsx" << 0 << "папка не существует";
        QTest::newRow("parent is a file") << "existing.xlsx/book.xlsx" << 0 << "вместо папки";
        QTest::newRow("target is a folder") << "folder" << 0 << "папка";
        QTest::newRow("NaN written") << "existing.xlsx" << 1 << "не помещается";
        QTest::newRow("1e308 written") << "existing.xlsx" << 2 << "не помещается";
        QTest::newRow("text over 32,767 characters") << "existing.xlsx" << 3 << "32767";
        QTest::newRow("address past XFD") << "existing.xlsx" << 4 << "XFE1";
        QTest::newRow("duplicate sheet names") << "existing.xlsx" << 5 << "два листа";
        QTest::newRow("no sheets") << "existing.xlsx" << 6 << "нет листов";
    }

    void failuresAreReported() {
        QFETCH(QString, target);
        QFETCH(int, refusal);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QFile existing(dir.filePath(QStringLiteral("existing.xlsx")));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("the user's file");
        existing.close();
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));

        Workbook book;
        if (refusal != 6) {
            Sheet& s = book.addSheet();
            s.setNumber(u"A1", 1);
            switch (refusal) {
                case 1:
                    s.setNumber(u"A2", std::nan(""));
                    break;
                case 2:
                    s.setNumber(u"A2", 1e308);
                    break;
                case 3:
                    s.setText(u"A2", QString(32768, u'x'));
                    break;
                case 4:
                    s.setText(u"XFE1", u"x"_qs);
                    break;
                case 5:
                    book.addSheet(u"лист1"_qs);
                    QVERIFY(s.setName(u"ЛИСТ1"_qs));
                    break;
                default:
                    break;
            }
        }
        const QString path = dir.filePath(target);
        const Status saved = saveWorkbook(book, path);
        QVERIFY(!saved.ok());
        QVERIFY2(saved.error().contains(reason), qPrintable(saved.error()));
        QVERIFY2(saved.error().contains(QDir::toNativeSeparators(path)), qPrintable(saved.error()));
        QVERIFY(existing.open(QIODevice::ReadOnly));
        QCOMPARE(existing.readAll(), QByteArray("the user's file"));
        QVERIFY(leftovers(dir.path()).isEmpty());
    }

    void unwritableFolder() {
        if (::geteuid() == 0) {
            QSKIP("permissions don't bind root");
        }
        QTemporaryDir dir;
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        Workbook book;
        book.addSheet().setNumber(u"A1", 1);
        const Status saved = saveWorkbook(book, dir.filePath(QStringLiteral("book.xlsx")));
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!saved.ok());
        QVERIFY2(saved.error().contains(u"нет прав"_qs), qPrintable(saved.error()));
    }

    void wrappedRowHeight_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("fontSize");
        QTest::addColumn<int>("lines");
        QTest::addColumn<double>("height");

        const QString word = u"слово "_qs;
        QTest::newRow("short text, one line") << u"Тариф"_qs << 67.29 << 12.0 << 1 << 15.75;
        QTest::newRow("default font one line") << u"Тариф"_qs << 8.43 << 11.0 << 1 << 15.0;
        QTest::newRow("empty text") << QString() << 20.0 << 12.0 << 1 << 15.75;
        QTest::newRow("twice a line's worth") << word.repeated(20) << 67.29 << 12.0 << 3 << 47.25;
        QTest::newRow("explicit line breaks") << u"а\nб\nв"_qs << 67.29 << 12.0 << 3 << 47.25;
        QTest::newRow("a word longer than the line")
            << QString(130, u'ж') << 67.29 << 12.0 << 3 << 47.25;
        QTest::newRow("capped at 409 points")
            << word.repeated(3000) << 10.0 << 12.0 << 3000 << 409.0;
    }

    void wrappedRowHeight() {
        QFETCH(QString, text);
        QFETCH(double, width);
        QFETCH(double, fontSize);
        QFETCH(int, lines);
        QFETCH(double, height);
        QCOMPARE(wrappedLineCount(text, width, fontSize), lines);
        QCOMPARE(normativ::wrappedRowHeight(text, width, fontSize), height);
    }
};

QTEST_GUILESS_MAIN(TestSaveXlsx)
#include "test_savexlsx.moc"
