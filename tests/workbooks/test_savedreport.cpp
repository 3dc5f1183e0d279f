// The saved report: cells read back by our reader, formats and sheet settings in the
// package's XML, numbers written with a point under a Russian C locale, the methodology
// sheet read back as a methodology.

#include "methodologies.h"
#include "methodologyworkbook.h"
#include "normativecalculation.h"
#include "openworkbook.h"
#include "packageview.h"
#include "reportstores.h"
#include "savedreport.h"
#include "savexlsx.h"
#include "workbookloader.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace normativ;
using packagetest::Package;

Q_DECLARE_METATYPE(normativ::CellValue)

namespace normativ {
char* toString(const CellValue& v) {
    return qstrdup(v.debugString().toUtf8().constData());
}
}  // namespace normativ

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class TestSavedReport : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        path_ = dir_.filePath(QStringLiteral("report.xlsx"));
        const Status saved = saveWorkbook(buildSavedReport(formatstest::reportStore()), path_);
        QVERIFY2(saved.ok(), qPrintable(saved.error()));
        Result<LoadedWorkbook> read = openWorkbook(readAll(path_));
        QVERIFY2(read.ok(), qPrintable(read.error()));
        book_ = std::move(read.value());
    }

    void sheets() {
        QCOMPARE(book_.sheetCount(), 4);
        QCOMPARE(book_.sheetName(1), QStringLiteral("Параметры ДОУ"));
        QCOMPARE(book_.sheetName(2), QStringLiteral("Группы"));
        QCOMPARE(book_.sheetName(3), QStringLiteral("Методика"));
        QCOMPARE(book_.sheetName(4), QStringLiteral("Расчет"));
    }

    void methodologySheet_data() {
        QTest::addColumn<bool>("changed");
        QTest::newRow("the example") << false;
        QTest::newRow("every value changed") << true;
    }

    // The report's methodology sheet reads back as the methodology the figures were
    // computed with; its first two sheets load exactly as a report of two sheets (the same
    // record, re-saved by another program) does.
    void methodologySheet() {
        QFETCH(bool, changed);
        Store store = formatstest::reportStore();
        if (changed) {
            store.methodology =
                std::make_shared<const Methodology>(testmethodologies::distinctValues());
        }
        const QString path = dir_.filePath(QStringLiteral("methodology.xlsx"));
        QVERIFY(saveWorkbook(buildSavedReport(store), path).ok());
        const QByteArray bytes = readAll(path);
        const Result<Methodology> read = readMethodologyWorkbook(bytes);
        QVERIFY2(read.ok(), qPrintable(read.error()));
        QVERIFY(read.value() == *store.methodology);

        Store loaded(formatstest::russian());
        const WorkbookLoadResult result = loadWorkbookIntoStore(bytes, loaded);
        QVERIFY2(result.ok, qPrintable(result.reason));
        QCOMPARE(result.kind, LoadedWorkbookKind::SavedReport);
        Store twoSheets(formatstest::russian());
        QVERIFY(
            loadWorkbookFileIntoStore(
                QStringLiteral(NORMATIV_FORMAT_FIXTURES "/reports/report_openpyxl.xlsx"), twoSheets)
                .ok);
        QVERIFY(formatstest::sameRecord(loaded.record, twoSheets.record));
        QVERIFY(formatstest::sameDistribution(loaded.distribution, twoSheets.distribution));
    }

    void cells_data() {
        QTest::addColumn<int>("sheet");
        QTest::addColumn<QString>("address");
        QTest::addColumn<CellValue>("expected");
        const auto text = [](const char* s) { return CellValue::text(QString::fromUtf8(s)); };
        const auto number = [](double v) { return CellValue::number(v); };
        const auto row = [](const char* name, int sheet, const char* address, CellValue v) {
            QTest::newRow(name) << sheet << QString::fromLatin1(address) << v;
        };
        row("heading", 1, "A2", text("Введены данные:"));
        row("label of the name", 1, "A4",
            text("наименование дошкольного образовательного учреждения"));
        row("label with a doubled space", 1, "A8",
            text("Установленный минимальный  должностной оклад по группам педагогических "
                 "работников"));
        row("label without a space", 1, "A16",
            text("Объем потребления ДОУгорячей воды в указанном году, скорректированный в случае "
                 "изменения структуры оказываемых государственных (муниципальных) услуг (работ) "
                 "на плановый период"));
        row("label with a trailing space", 1, "A19",
            text("Прогнозируемое процентное изменение потребительских цен в указанном году по "
                 "отношению к предыдущему году "));
        row("label of the settlement", 1, "A42",
            text("Тип населенного пункта в котором расположено ДОУ"));
        row("label of the week", 1, "A44", text("Режим работы ДОУ"));
        row("results heading", 1, "A46", text("Получены результаты:"));
        row("label of the total subsidy", 1, "A53", text("Общий объем субсидии на оказание услуг"));
        row("no label in row 45", 1, "A45", CellValue());
        row("unit of the name", 1, "C4", text("-"));
        row("unit with a leading space", 1, "C6", text(" человек"));
        row("unit of heat", 1, "C18", text("Гкалл"));
        row("unit of the parental fee", 1, "C41", text("рублей"));
        row("unit of the education normative", 1, "C48", text(" рублей"));
        row("unit of the maintenance normative", 1, "C49", text("рублей"));
        row("institution", 1, "B4", text("дошкольное образовательное учреждение №7"));
        row("year typed as a number", 1, "B5", number(2011));
        row("village", 1, "B42", text("село"));
        row("development centre", 1, "B43", text("центр развития ребенка - детский сад"));
        row("six days", 1, "B44", text("шестидневный"));
        const double education = 184121.85981568324;
        const double maintenance = 217542.62151211553;
        const auto figure = [&](double v) { return number(v); };
        row("education normative unrounded", 1, "B48", figure(education));
        row("maintenance normative unrounded", 1, "B49", figure(maintenance));
        row("total normative", 1, "B50", figure(education + maintenance));
        row("education subsidy", 1, "B51", figure(45 * education));
        row("maintenance subsidy", 1, "B52", figure(45 * maintenance));
        row("total subsidy", 1, "B53", figure(45 * (education + maintenance)));
        row("marker", 1, "H124", number(11123546));
        row("record count", 1, "H125", number(5));
        row("nothing beside the marker", 1, "G124", CellValue());
        row("groups heading", 2, "A2", text("Введены данные:"));
        row("header A4", 2, "A4", text("№ записи"));
        row("header B4", 2, "B4", text("Возраст воспитанников"));
        row("header C4", 2, "C4", text("Режим пребывания воспитанников"));
        row("header D4", 2, "D4", text("Направленность групп"));
        row("header E4", 2, "E4", text("Количество воспитанников"));
        row("record 1 number", 2, "A5", number(1));
        row("record 1 age", 2, "B5", text("от 1-го года до 3-х лет"));
        row("record 1 stay", 2, "C5", text("группы с 8-ми часовым режимом пребывания"));
        row("record 1 orientation", 2, "D5", text("общеразвивающие группы"));
        row("record 1 fractional pupils", 2, "E5", number(12.5));
        row("record 2 orientation with an en dash", 2, "D6",
            text("группы для детей с нарушением слуха (слабослышащих), опорно \u2013 двигательного "
                 "аппарата, с умственной отсталостью средней и тяжелой степени"));
        row("record 3 stay", 2, "C7", text("группы круглосуточного пребывания"));
        row("record 4 without an age", 2, "B8", CellValue());
        row("record 4 no pupils", 2, "E8", number(0));
        row("record 5 pupils not entered", 2, "E9", number(79265830346));
        row("nothing after the last record", 2, "A10", CellValue());
    }

    void cells() {
        QFETCH(int, sheet);
        QFETCH(QString, address);
        QFETCH(CellValue, expected);
        QCOMPARE(book_.cell(sheet, address), expected);
    }

    void answers_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<CellValue>("expected");
        for (const auto& a : formatstest::reportAnswers()) {
            const AnswerDescriptor& info = answerInfo(a.answer);
            CellValue expected;
            if (a.loaded.isText()) {
                expected = CellValue::text(a.loaded.textValue());
            } else if (!a.loaded.isEmpty()) {
                expected = CellValue::number(a.loaded.toDouble(QLocale::c()));
            }
            QTest::newRow(info.name) << info.reportRow << expected;
        }
    }

    // Every answer in its row: typed numbers as numbers, the marker as 79265830346, the
    // payroll defaults, a text that is not a number as text, an answer never given blank.
    void answers() {
        QFETCH(int, row);
        QFETCH(CellValue, expected);
        QCOMPARE(book_.cell(1, row, 2), expected);
    }

    void choicesOfOtherFlags_data() {
        QTest::addColumn<QList<int>>("flags");
        QTest::addColumn<QString>("settlement");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("week");
        QTest::newRow("city, senior, five days")
            << QList<int>{int(Flag::SettlementIsCity), int(Flag::KindPreschoolSenior),
                          int(Flag::FiveDayWeek)}
            << "город"
            << "детский сад для детей предшкольного (старшего дошкольного) возраста"
            << "пятидневный";
        QTest::newRow("other kind") << QList<int>{int(Flag::KindOther)} << ""
                                    << "Иной вид образовательного учреждения"
                                    << "";
        QTest::newRow("no choice made") << QList<int>{} << ""
                                        << ""
                                        << "";
    }

    // B42..B44 follow the flags that are 1; a group with no flag set leaves its cell blank.
    void choicesOfOtherFlags() {
        QFETCH(QList<int>, flags);
        QFETCH(QString, settlement);
        QFETCH(QString, kind);
        QFETCH(QString, week);
        Store store = formatstest::reportStore();
        store.record.flags = {};
        for (int f : flags) store.record.setChoice(static_cast<Flag>(f));
        const Workbook book = buildSavedReport(store);
        const auto cell = [&](const char* address) {
            const CellValue v = book.sheet(1).value(QString::fromLatin1(address));
            return v.toText();
        };
        QCOMPARE(cell("B42"), settlement);
        QCOMPARE(cell("B43"), kind);
        QCOMPARE(cell("B44"), week);
    }

    void parametersSheetLayout() {
        const Package p(path_, 1);
        QVERIFY(p.loaded());
        // Every cell in Times New Roman 12, wrapped; labels left, values and units centred.
        for (const char* address : {"A4", "B6", "C6", "B48", "H124"}) {
            const auto s = p.style(address);
            QCOMPARE(s.font, QStringLiteral("Times New Roman"));
            QCOMPARE(s.size, 12.0);
            QVERIFY2(s.wrap, address);
        }
        QCOMPARE(p.style("A4").horizontal, QStringLiteral("left"));
        QCOMPARE(p.style("A4").vertical, QStringLiteral("center"));
        QCOMPARE(p.style("B6").horizontal, QStringLiteral("center"));
        QCOMPARE(p.style("C6").horizontal, QStringLiteral("center"));
        QVERIFY(p.style("A2").bold);
        QVERIFY(p.style("A46").bold);
        QVERIFY(!p.style("A4").bold);
        for (const char* address : {"B48", "B49", "B50", "B51", "B52", "B53"}) {
            QCOMPARE(p.style(address).numberFormat, QStringLiteral("0.00"));
        }
        QCOMPARE(p.style("B6").numberFormat, QStringLiteral("General"));
        // A medium outline around A2:C53 and no inner lines.
        QCOMPARE(p.style("A2").top, QStringLiteral("medium"));
        QCOMPARE(p.style("A2").left, QStringLiteral("medium"));
        QCOMPARE(p.style("C53").bottom, QStringLiteral("medium"));
        QCOMPARE(p.style("C53").right, QStringLiteral("medium"));
        const auto inner = p.style("B20");
        QVERIFY(inner.left.isEmpty() && inner.right.isEmpty() && inner.top.isEmpty() &&
                inner.bottom.isEmpty());
        QCOMPARE(p.columnWidth(1), 67.29);
        QCOMPARE(p.columnWidth(2), 28.29);
        QCOMPARE(p.columnWidth(3), 16.86);
        QVERIFY(!p.columnHidden(3));
        QVERIFY(p.columnHidden(4));
        QVERIFY(p.columnHidden(8));
        QVERIFY(p.columnHidden(16384));
        QVERIFY(!p.rowHidden(53));
        QVERIFY(p.rowHidden(54));
        QVERIFY(p.rowHidden(124));
        QVERIFY(p.rowHidden(70000));
        // A label or value of several lines gets the height it needs (the institution's
        // name wraps in column B); a one-line row one line of 12-point text.
        QCOMPARE(p.rowHeight(5), std::optional<double>(15.75));
        QVERIFY(p.rowHeight(4).value_or(0) >= 2 * 15.75);
        QVERIFY(p.rowHeight(26).value_or(0) >= 4 * 15.75);
        QVERIFY(p.rowHeight(9).value_or(0) >= 2 * 15.75);
    }

    void groupsSheetLayout() {
        const Package p(path_, 2);
        QVERIFY(p.loaded());
        QVERIFY(p.style("A2").bold);
        QVERIFY(p.style("A2").font.isEmpty() || p.style("A2").font == QStringLiteral("Calibri"));
        for (const char* address : {"A4", "C5", "E9", "E46"}) {
            const auto s = p.style(address);
            QCOMPARE(s.horizontal, QStringLiteral("center"));
            QCOMPARE(s.vertical, QStringLiteral("center"));
            QVERIFY(s.wrap);
            QCOMPARE(s.numberFormat, QStringLiteral("General"));
            QCOMPARE(s.left, QStringLiteral("thin"));
            QCOMPARE(s.top, QStringLiteral("thin"));
            QCOMPARE(s.right, QStringLiteral("thin"));
            QCOMPARE(s.bottom, QStringLiteral("thin"));
        }
        QCOMPARE(p.columnWidth(2), 16.57);
        QCOMPARE(p.columnWidth(3), 30.71);
        QCOMPARE(p.columnWidth(4), 25.43);
        QCOMPARE(p.columnWidth(5), 16.29);
        QVERIFY(!p.columnHidden(5));
        QVERIFY(p.columnHidden(6));
        QVERIFY(p.columnHidden(16384));
        QVERIFY(!p.rowHidden(46));
        QVERIFY(p.rowHidden(47));
        // The long orientation text of record 2 needs several lines in its column.
        QVERIFY(p.rowHeight(6).value_or(0) >= 4 * 15);
        // The title "Введены данные:" is not wrapped: its row keeps the default height.
        QCOMPARE(p.rowHeight(2), std::optional<double>());
    }

    // Written under a Russian C locale (as the program runs on a Russian desktop), the
    // numbers, widths and heights of the package keep a decimal point.
    void noDecimalCommaUnderRussianLocale() {
        packagetest::RussianCLocale russian;
        if (!russian.ok()) QSKIP("no Russian C locale here and none could be generated");
        char probe[16];
        std::snprintf(probe, sizeof probe, "%.1f", 1.5);
        QCOMPARE(QByteArray(probe), QByteArray("1,5"));

        const QString path = dir_.filePath(QStringLiteral("russian.xlsx"));
        QVERIFY(saveWorkbook(buildSavedReport(formatstest::reportStore()), path).ok());
        const QRegularExpression comma(QStringLiteral("(<v>|[a-zA-Z]+=\")-?\\d+,\\d"));
        QVERIFY(comma.match(QStringLiteral("<col width=\"6,71\"/>")).hasMatch());
        for (const char* part : {"xl/worksheets/sheet1.xml", "xl/worksheets/sheet2.xml"}) {
            const QString xml = QString::fromUtf8(packagetest::partOf(path, part));
            QVERIFY(xml.contains(QStringLiteral("<v>3500.5</v>")) ||
                    QByteArray(part).endsWith("sheet2.xml"));
            QVERIFY2(!comma.match(xml).hasMatch(), qPrintable(comma.match(xml).captured()));
        }
        QVERIFY(packagetest::partOf(path, "xl/worksheets/sheet2.xml").contains("<v>12.5</v>"));
        Result<LoadedWorkbook> read = openWorkbook(readAll(path));
        QVERIFY(read.ok());
        QCOMPARE(read->cell(1, u"B14"), CellValue::number(3500.5));
    }

    void defaultFileName_data() {
        QTest::addColumn<QString>("institution");
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("expected");
        QTest::newRow("as chosen")
            << "дошкольное образовательное учреждение №7"
            << "2011"
            << "Отчет ДОУ дошкольное образовательное учреждение №7 2011.xlsx";
        QTest::newRow("characters a file name can't hold")
            << "ДОУ \"Сказка\" / филиал: 1*2?<3>|\\"
            << "2012"
            << "Отчет ДОУ ДОУ _Сказка_ _ филиал_ 1_2__3___ 2012.xlsx";
        QTest::newRow("control characters") << QStringLiteral("ДОУ\u0001№5\u007f") << "2010"
                                            << "Отчет ДОУ ДОУ_№5_ 2010.xlsx";
        QTest::newRow("line breaks become spaces") << "ДОУ\n№5"
                                                   << "2010"
                                                   << "Отчет ДОУ ДОУ №5 2010.xlsx";
        QTest::newRow("nothing chosen") << ""
                                        << ""
                                        << "Отчет ДОУ.xlsx";
    }

    void defaultFileName() {
        QFETCH(QString, institution);
        QFETCH(QString, year);
        QFETCH(QString, expected);
        Store store(formatstest::russian());
        store.record.institutionName = FieldValue::text(institution);
        store.record.planningYear = FieldValue::text(year);
        QCOMPARE(defaultReportFileName(store), expected);
    }

    void longInstitutionNameIsShortened() {
        Store store(formatstest::russian());
        store.record.institutionName = FieldValue::text(QString(5000, QChar(u'Д')));
        store.record.planningYear = FieldValue::number(2011);
        const QString name = defaultReportFileName(store);
        QVERIFY(name.endsWith(QStringLiteral(" 2011.xlsx")));
        QVERIFY(name.toUtf8().size() <= 255);
    }

  private:
    QTemporaryDir dir_;
    QString path_;
    LoadedWorkbook book_;
};

QTEST_GUILESS_MAIN(TestSavedReport)
#include "test_savedreport.moc"
