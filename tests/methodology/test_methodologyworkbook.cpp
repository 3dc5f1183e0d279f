#include "methodologies.h"
#include "methodologyfingerprint.h"
#include "methodologynumbers.h"
#include "methodologyworkbook.h"
#include "openworkbook.h"
#include "savexlsx.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <charconv>
#include <cstring>

using namespace normativ;

Q_DECLARE_METATYPE(normativ::CellValue)
Q_DECLARE_METATYPE(normativ::Methodology)

namespace {

QByteArray saved(const Workbook& book) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("методика.xlsx"));
    const Status status = saveWorkbook(book, path);
    if (!status) qWarning("not saved: %s", qPrintable(status.error()));
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

Sheet* sheetNamed(Workbook& book, const QString& name) {
    for (int i = 1; i <= book.sheetCount(); ++i) {
        if (book.sheet(i).name() == name) return &book.sheet(i);
    }
    return nullptr;
}

/// A report: two sheets of its own, then the methodology stacked on one.
Workbook reportWith(const Methodology& m) {
    Workbook book;
    Sheet& report = book.addSheet(QStringLiteral("Отчет"));
    report.setText(QStringLiteral("A1"), QStringLiteral("Норматив на образование"));
    report.setNumber(QStringLiteral("B1"), 41651.91);
    book.addSheet(QStringLiteral("Смета"));
    addMethodologySheet(book, m);
    return book;
}

/// Where two methodologies differ, for a failure's message: the name, the note or the
/// first line of the canonical text that differs.
QString difference(const Methodology& a, const Methodology& b) {
    if (a.name != b.name) return QStringLiteral("name: ") + a.name;
    if (a.note != b.note) return QStringLiteral("note: ") + a.note;
    const QStringList left = canonicalMethodologyText(a).split(QLatin1Char('\n'));
    const QStringList right = canonicalMethodologyText(b).split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < std::min(left.size(), right.size()); ++i) {
        if (left[i] != right[i]) return left[i] + QStringLiteral(" instead of ") + right[i];
    }
    return QStringLiteral("the canonical texts agree");
}

}  // namespace

class TestMethodologyWorkbook : public QObject {
    Q_OBJECT
  private slots:
    void roundTrip_data();
    void roundTrip();
    void exampleCells_data();
    void exampleCells();
    void floatsReadBackExactly();
    void everyNumberShowsAllItsDigits_data();
    void everyNumberShowsAllItsDigits();
    void refusedCell_data();
    void refusedCell();
    void refusedFile_data();
    void refusedFile();
    void refusedPath();
};

void TestMethodologyWorkbook::roundTrip_data() {
    QTest::addColumn<Methodology>("methodology");
    QTest::addColumn<bool>("stacked");
    const std::pair<const char*, Methodology> methodologies[] = {
        {"example", *Methodology::example()},
        {"modified example", testmethodologies::modifiedExample()},
        {"every value distinct", testmethodologies::distinctValues()},
    };
    for (const auto& [name, m] : methodologies) {
        QTest::addRow("%s, own sheets", name) << m << false;
        QTest::addRow("%s, stacked in a report", name) << m << true;
    }
}

void TestMethodologyWorkbook::roundTrip() {
    QFETCH(Methodology, methodology);
    QFETCH(bool, stacked);
    const QByteArray bytes =
        saved(!stacked ? buildMethodologyWorkbook(methodology) : reportWith(methodology));
    const Result<Methodology> read = readMethodologyWorkbook(bytes);
    QVERIFY2(read.ok(), qPrintable(read.error()));
    QVERIFY2(read.value() == methodology, qPrintable(difference(read.value(), methodology)));
}

void TestMethodologyWorkbook::exampleCells_data() {
    // The example's values (methodology.cpp) beside their captions, as a user sees them.
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<CellValue>("value");
    const auto text = [](const char* s) { return CellValue::text(QString::fromUtf8(s)); };
    const auto number = [](double v) { return CellValue::number(v); };
    const struct {
        const char* sheet;
        const char* cell;
        CellValue value;
    } cells[] = {
        {"Описание", "A3", text("пример (встроенная)")},
        {"Годы планирования", "A4", number(2011)},
        {"Годы планирования", "B4", number(1.342)},
        {"Годы планирования", "C4", text("да")},
        {"Годы планирования", "B3", number(1.262)},
        {"Годы планирования", "C3", text("нет")},
        {"Оплата по умолчанию", "A5", text("Фонд компенсационных выплат, рублей")},
        {"Оплата по умолчанию", "B5", number(2900)},
        {"Коэффициенты", "A19",
         text("Доля расходов на электроэнергию, учитываемая в "
              "коммунальных услугах")},
        {"Коэффициенты", "B19", number(0.9)},
        {"Коэффициенты", "A20", text("Доля расходов на электроэнергию, учитываемая в налогах")},
        {"Коэффициенты", "B20", number(0.1)},
        {"Коэффициенты", "B6", number(0.12149407)},
        {"Коэффициенты", "B12", number(11)},
        {"Коэффициенты", "B26", number(1.0909091)},
        {"Веса E1", "A23",
         text("группы для детей со сложным дефектом (2 и более дефекта), "
              "аутизмом")},
        {"Веса E1", "B23", number(7.154225)},
        {"Веса E1", "B19", number(1.3333334)},
        {"Веса E2", "A7", text("Направленность групп")},
        {"Веса E2", "B9", number(0.92142856)},
        {"Веса M3", "B16", number(1.3217875)},
        {"Коэффициенты групп", "B32", number(0.37044334)},
        {"Коэффициенты групп", "A33", text("более 30")},
        {"Коэффициенты групп", "B33", number(0.35849357)},
        {"Услуги", "B10", number(3564.1536)},
        {"Должности", "A15", text("14. Учебно-вспомогательный персонал (всего)")},
        {"Должности", "B15", number(7985)},
        {"Должности", "C16", number(3.4418824)},
        {"Должности", "A24", text("24. Обслуживающий персонал (всего)")},
        {"Штатные нормативы", "G3", number(14)},
        {"Штатные нормативы", "G5", number(0.0859375)},
        {"Штатные нормативы", "F22", number(0)},
        {"Штатные нормативы", "B27", text("да")},
        {"АУП", "A13", number(28)},
        {"АУП", "C13", number(3)},
        {"АУП", "I3", number(0.25)},
    };
    for (const auto& c : cells) {
        QTest::addRow("%s!%s", c.sheet, c.cell)
            << QString::fromUtf8(c.sheet) << QString::fromLatin1(c.cell) << c.value;
    }
}

void TestMethodologyWorkbook::exampleCells() {
    QFETCH(QString, sheet);
    QFETCH(QString, cell);
    QFETCH(CellValue, value);
    static const Result<LoadedWorkbook> book =
        openWorkbook(saved(buildMethodologyWorkbook(*Methodology::example())));
    QVERIFY(book.ok());
    int number = 0;
    for (int i = 1; i <= book->sheetCount(); ++i) {
        if (book->sheetName(i) == sheet) number = i;
    }
    QVERIFY(number > 0);
    QCOMPARE(book->cell(number, cell).debugString(), value.debugString());
}

void TestMethodologyWorkbook::floatsReadBackExactly() {
    // The cell shows the methodology's digits and converts back to the same float (exact
    // comparisons: QCOMPARE of doubles is fuzzy).
    QVERIFY(methodologynumbers::cellNumberOf(1.3333334f) == 1.3333334);
    QVERIFY(methodologynumbers::cellNumberOf(0.12149407f) == 0.12149407);
    QVERIFY(static_cast<float>(1.3333334) == 1.3333334f);
    // Any float of a sane size, a sample spread over its bits: it reads back exactly, and
    // but for a rare double rounding the cell shows its shortest digits.
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    const float from = 1e-7f;
    const float to = 1e9f;
    std::memcpy(&first, &from, sizeof first);
    std::memcpy(&last, &to, sizeof last);
    int samples = 0;
    int fallbacks = 0;
    for (std::uint32_t bits = first; bits <= last; bits += 997, ++samples) {
        float f = 0;
        std::memcpy(&f, &bits, sizeof f);
        const double cell = methodologynumbers::cellNumberOf(f);
        if (static_cast<float>(cell) != f) {
            QFAIL(qPrintable(QStringLiteral("%1 reads back as %2")
                                 .arg(double(f), 0, 'g', 9)
                                 .arg(double(static_cast<float>(cell)), 0, 'g', 9)));
        }
        if (methodologynumbers::shortestText(cell) != methodologynumbers::shortestText(f)) {
            QVERIFY(cell == double(f));
            ++fallbacks;
        }
    }
    QVERIFY(samples > 400000);
    QVERIFY2(fallbacks * 1000 < samples, qPrintable(QString::number(fallbacks)));
}

void TestMethodologyWorkbook::everyNumberShowsAllItsDigits_data() {
    QTest::addColumn<bool>("stacked");
    QTest::newRow("own sheets") << false;
    QTest::newRow("stacked") << true;
}

void TestMethodologyWorkbook::everyNumberShowsAllItsDigits() {
    QFETCH(bool, stacked);
    const Methodology m = testmethodologies::distinctValues();
    Workbook book = stacked ? Workbook() : buildMethodologyWorkbook(m);
    if (stacked) addMethodologySheet(book, m);
    int numbers = 0;
    for (int i = 1; i <= book.sheetCount(); ++i) {
        const Sheet& sheet = book.sheet(i);
        for (const auto& [key, cell] : sheet.cells()) {
            if (!cell.value.isNumber()) continue;
            ++numbers;
            const CellFormat format = sheet.format(key.first, key.second);
            // A spreadsheet shows at most 15 significant digits.
            const double value = QString::number(cell.value.toNumber(), 'g', 15).toDouble();
            char text[64];
            const auto end =
                std::to_chars(text, text + sizeof text, value, std::chars_format::fixed).ptr;
            const std::string shown(text, end);
            const auto point = shown.find('.');
            const int decimals =
                point == std::string::npos ? 0 : static_cast<int>(shown.size() - point - 1);
            const qsizetype formatPoint = format.numberFormat.indexOf(QLatin1Char('.'));
            const int formatDecimals =
                formatPoint < 0 ? 0
                                : static_cast<int>(format.numberFormat.size() - formatPoint - 1);
            const QString where =
                sheet.name() + QLatin1Char('!') + cellAddress(key.first, key.second);
            QVERIFY2(!format.numberFormat.isEmpty(),
                     qPrintable(where + QStringLiteral(": General")));
            QVERIFY2(
                formatDecimals >= decimals,
                qPrintable(where + QStringLiteral(": %1 in %2")
                                       .arg(QString::fromStdString(shown), format.numberFormat)));
            const auto width = sheet.columnSettings(key.second).width;
            QVERIFY2(width && *width >= static_cast<double>(shown.size()) + 1,
                     qPrintable(where + QStringLiteral(": column too narrow for ") +
                                QString::fromStdString(shown)));
            QCOMPARE(format.fontName, QStringLiteral("Times New Roman"));
            QCOMPARE(format.fontSize, 12.0);
        }
    }
    QVERIFY(numbers > 350);
}

void TestMethodologyWorkbook::refusedCell_data() {
    QTest::addColumn<bool>("stacked");
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<CellValue>("value");
    QTest::addColumn<QString>("message");
    const bool own = false;
    const auto text = [](const char* s) { return CellValue::text(QString::fromUtf8(s)); };
    const auto number = [](double v) { return CellValue::number(v); };

    QTest::newRow("blank weight") << own << "Веса E1"
                                  << "B5" << CellValue()
                                  << "лист «Веса E1», ячейка B5: нет значения";
    QTest::newRow("text instead of a number")
        << own << "Коэффициенты"
        << "B4" << text("1,1472942")
        << "лист «Коэффициенты», ячейка B4: ожидается число, а не текст";
    QTest::newRow("inf typed as text")
        << own << "Услуги"
        << "B3" << text("inf") << "лист «Услуги», ячейка B3: ожидается число, а не текст";
    QTest::newRow("true instead of a number")
        << own << "Веса M3"
        << "B4" << CellValue::boolean(true)
        << "лист «Веса M3», ячейка B4: ожидается число, а не логическое значение";
    QTest::newRow("huge number")
        << own << "Коэффициенты групп"
        << "B10" << number(1e300)
        << "лист «Коэффициенты групп», ячейка B10: слишком большое число: допускается не больше "
           "1000000000";
    QTest::newRow("zero weight") << own << "Веса E1"
                                 << "B23" << number(0)
                                 << "лист «Веса E1», ячейка B23: ожидается положительное число";
    QTest::newRow("weight zero as a float")
        << own << "Веса M1"
        << "B4" << number(1e-50) << "лист «Веса M1», ячейка B4: ожидается положительное число";
    QTest::newRow("negative payroll default")
        << own << "Оплата по умолчанию"
        << "B6" << number(-1)
        << "лист «Оплата по умолчанию», ячейка B6: ожидается неотрицательное число";
    QTest::newRow("negative staff weight")
        << own << "Штатные нормативы"
        << "C7" << number(-0.5)
        << "лист «Штатные нормативы», ячейка C7: ожидается неотрицательное число";
    QTest::newRow("share above 1")
        << own << "Коэффициенты"
        << "B18" << number(1.5)
        << "лист «Коэффициенты», ячейка B18: ожидается доля: число больше 0 и не больше 1";
    QTest::newRow("13 months") << own << "Коэффициенты"
                               << "B12" << number(13)
                               << "лист «Коэффициенты», ячейка B12: ожидается число месяцев от 0 "
                                  "до 12";
    QTest::newRow("duplicate year")
        << own << "Годы планирования"
        << "A5" << number(2011)
        << "лист «Годы планирования», ячейка A5: год 2011 уже указан в ячейке A4";
    QTest::newRow("year before 2000")
        << own << "Годы планирования"
        << "A3" << number(1999)
        << "лист «Годы планирования», ячейка A3: ожидается год: целое число от 2000 до 2100";
    QTest::newRow("fractional year")
        << own << "Годы планирования"
        << "A3" << number(2010.5)
        << "лист «Годы планирования», ячейка A3: ожидается год: целое число от 2000 до 2100";
    QTest::newRow("index above 5") << own << "Годы планирования"
                                   << "B4" << number(5.5)
                                   << "лист «Годы планирования», ячейка B4: ожидается индекс от "
                                      "0,5 до 5";
    QTest::newRow("precision neither yes nor no")
        << own << "Годы планирования"
        << "C4" << text("может быть")
        << "лист «Годы планирования», ячейка C4: ожидается «да» или «нет»";
    QTest::newRow("fractional salary")
        << own << "Должности"
        << "B3" << number(10092.5)
        << "лист «Должности», ячейка B3: ожидается целое неотрицательное число";
    QTest::newRow("staff weights for an administrative row")
        << own << "Штатные нормативы"
        << "C3" << number(15)
        << "лист «Штатные нормативы», ячейка C3: ожидается номер строки сметы: от 1 до 12 или 14";
    QTest::newRow("staff weights for a row twice")
        << own << "Штатные нормативы"
        << "D3" << number(1)
        << "лист «Штатные нормативы», ячейка D3: строка сметы 1 уже задана в ячейке B3";
    QTest::newRow("administrative lines not increasing")
        << own << "АУП"
        << "A5" << number(4)
        << "лист «АУП», ячейка A5: ожидается целое число больше 4 (строки выше)";
    QTest::newRow("first administrative line not from 1")
        << own << "АУП"
        << "A3" << number(2)
        << "лист «АУП», ячейка A3: ожидается 1: первая строка начинается с одной группы";
    QTest::newRow("blank name") << own << "Описание"
                                << "A3" << text("   ")
                                << "лист «Описание», ячейка A3: нет значения";
    QTest::newRow("name too long") << own << "Описание"
                                   << "A3" << CellValue::text(QString(201, QChar(u'я')))
                                   << "лист «Описание», ячейка A3: текст длиннее 200 знаков";
    QTest::newRow("stay section renamed")
        << own << "Веса E1"
        << "A7" << text("Длительность")
        << "лист «Веса E1», ячейка A7: ожидается «Режим пребывания воспитанников» или "
           "«Направленность групп»";
    QTest::newRow("stacked: negative weight")
        << true << "Методика"
        << "B69" << number(-2) << "лист «Методика», ячейка B69: ожидается положительное число";
    QTest::newRow("stacked: a table's title changed")
        << true << "Методика"
        << "A47" << text("Веса")
        << "лист «Методика», ячейка A47: ожидается заголовок таблицы «Веса E1: норматив на "
           "образование, основная нагрузка»";
}

void TestMethodologyWorkbook::refusedCell() {
    QFETCH(bool, stacked);
    QFETCH(QString, sheet);
    QFETCH(QString, cell);
    QFETCH(CellValue, value);
    QFETCH(QString, message);
    const Methodology& example = *Methodology::example();
    Workbook book = stacked ? reportWith(example) : buildMethodologyWorkbook(example);
    Sheet* edited = sheetNamed(book, sheet);
    QVERIFY(edited);
    QVERIFY(edited->value(cell) != value);
    edited->setValue(cell, value);
    const Result<Methodology> read = readMethodologyWorkbook(saved(book));
    QVERIFY(!read.ok());
    QCOMPARE(read.error(), message);
}

void TestMethodologyWorkbook::refusedFile_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("not a workbook")
        << QByteArray("Год;Индекс\n2010;1,262\n")
        << "файл не является книгой электронных таблиц (.xlsx или .xls)";
    {
        Workbook book;
        book.addSheet(QStringLiteral("Лист1")).setNumber(QStringLiteral("A1"), 1);
        QTest::newRow("a workbook of something else")
            << saved(book)
            << "это не книга методики: в ней нет ни листа «Описание», ни листа "
               "«Методика»";
    }
    {
        Workbook book = buildMethodologyWorkbook(*Methodology::example());
        QVERIFY(sheetNamed(book, QStringLiteral("Веса M2"))
                    ->setName(QStringLiteral("Веса M2 (старые)")));
        QTest::newRow("a sheet missing") << saved(book) << "в книге нет листа «Веса M2»";
    }
}

void TestMethodologyWorkbook::refusedFile() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const Result<Methodology> read = readMethodologyWorkbook(bytes);
    QVERIFY(!read.ok());
    QCOMPARE(read.error(), message);
}

void TestMethodologyWorkbook::refusedPath() {
    QTemporaryDir dir;
    QCOMPARE(readMethodologyFile(dir.path()).error(), QStringLiteral("это папка, а не файл"));
    QVERIFY(readMethodologyFile(dir.filePath(QStringLiteral("нет такого.xlsx")))
                .error()
                .startsWith(QStringLiteral("файл не удается открыть: ")));
    // Over the cap: refused before anything is read.
    QFile large(dir.filePath(QStringLiteral("большой.xlsx")));
    QVERIFY(large.open(QIODevice::WriteOnly));
    QVERIFY(large.resize(20 * 1024 * 1024 + 1));
    large.close();
    QCOMPARE(readMethodologyFile(large.fileName()).error(), QStringLiteral("файл больше 20 МБ"));
    // And a file that is all right loads.
    const QString path = dir.filePath(QStringLiteral("методика.xlsx"));
    QVERIFY(saveWorkbook(buildMethodologyWorkbook(*Methodology::example()), path).ok());
    const Result<Methodology> read = readMethodologyFile(path);
    QVERIFY2(read.ok(), qPrintable(read.error()));
    QVERIFY(read.value() == *Methodology::example());
}

QTEST_GUILESS_MAIN(TestMethodologyWorkbook)
#include "test_methodologyworkbook.moc"
