// One input to its outcome (status, error text, summary row), folders to inputs, many
// inputs in parallel, and the summary workbook: the library normativ-calc is made of.

#include "batch.h"
#include "batchtexts.h"
#include "calcinput.h"
#include "summaryworkbook.h"

#include "mixedfolder.h"

#include "savedreport.h"
#include "savexlsx.h"
#include "workbookloader.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

using namespace normativ;

namespace {

const QLocale kRussian(QLocale::Russian, QLocale::Russia);
const QString kFixtures = QStringLiteral(NORMATIV_FORMAT_FIXTURES);

/// The standard record of 45 pupils typed in English, with `answers` and `extra`
/// members spliced in.
QByteArray document(const QByteArray& answers = {}, const QByteArray& extra = {},
                    int ownPayroll = 0) {
    QByteArray json = R"({"locale": "en", "PlanningYear": "2011", )" + extra +
                      R"( "InstitutionName": "Детский сад №5", "UseOwnPayrollData": )" +
                      QByteArray::number(ownPayroll) + R"(, "UseOwnServicesData": 0,
        "answers": {"PupilCount": "45", "MonthsOfOperation": "12", "ParentFeePerMonth": "1500.5",
                    "MinTeacherSalary": "8700", "TeacherPayrollFund": "8700",
                    "TeacherCompensationFund": "0", "TeacherIncentiveFund": "0" @},
        "flags": {"SettlementIsCity": 1, "KindPreschoolSenior": 1, "FiveDayWeek": 1},
        "records": [{"age": 2, "stay": 5, "orientation": 1, "pupils": "12.5"},
                    {"age": 3, "stay": 7, "orientation": 2, "pupils": 20},
                    {"age": 1, "stay": 9, "orientation": 6, "pupils": "12.5"}]})";
    return json.replace('@', answers);
}

QByteArray withGroups(const QByteArray& groups = R"("3")") {
    return R"(, "GroupCount": )" + groups;
}

}  // namespace

class TestCalcInput : public QObject {
    Q_OBJECT

  private slots:
    void outcomes_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("modesGiven");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("message");  // part of the single-file message

        const QString invalid = QStringLiteral("неверный ввод: ");
        const QString documentError = QStringLiteral("неверный документ ответов: ");
        QTest::newRow("computed") << document(withGroups()) << false << 0 << ""
                                  << "";
        QTest::newRow("a cause of both stages told once")
            << document() << false << 1 << invalid + "количество групп — не введено"
            << "";
        QTest::newRow("causes of both stages in answer order")
            << document(withGroups(R"("")"), {}, 1)
                   .replace(R"("TeacherPayrollFund": "8700")", R"("TeacherPayrollFund": "0")")
            << false << 1
            << invalid +
                   "количество групп — не введено, фонд оплаты труда педагогических "
                   "работников — 0"
            << "";
        QTest::newRow("a cause of the maintenance stage only")
            << document(withGroups(R"("2.5")")) << false << 1
            << invalid + "количество групп — не целое число от 1"
            << "";
        QTest::newRow("the parent fee not a number")
            << document(withGroups()).replace(R"("1500.5")", R"("полторы тысячи")") << false << 1
            << invalid + "родительская плата — не введено"
            << "";
        QTest::newRow("results beyond the range of numbers")
            << document(withGroups(), {}, 1)
                   .replace(R"("MinTeacherSalary": "8700")", R"("MinTeacherSalary": "1e307")")
            << false << 1
            << invalid +
                   "норматив по обучению — результат вне допустимого диапазона, норматив по "
                   "содержанию — результат вне допустимого диапазона"
            << "";
        QTest::newRow("unknown field") << document(withGroups(), R"("Region": "north",)") << false
                                       << 2 << documentError + "неизвестное поле «Region»"
                                       << "неизвестное поле «Region»";
        QTest::newRow("a planning year out of range")
            << document(withGroups()).replace(R"("2011")", R"("2013")") << false << 2
            << documentError + "PlanningYear: ожидается \"2010\", \"2011\" или \"2012\""
            << "ожидается \"2010\"";
        QTest::newRow("a document cut short")
            << document(withGroups()).left(40) << false << 2
            << documentError + "не документ JSON (ошибка в позиции 40)"
            << "не документ JSON";
        QTest::newRow("the modes with a document")
            << document(withGroups()) << true << 2
            << "параметры --own-payroll и --own-services относятся только к книгам: документ "
               "ответов задает свои режимы (UseOwnPayrollData, UseOwnServicesData)"
            << "относятся только к книгам";
        QTest::newRow("neither a workbook nor a document")
            << QByteArray("Отчет за 2011 год\n") << false << 2
            << loaderTexts().wrongFile +
                   " (файл не является книгой электронных таблиц (.xlsx или .xls))"
            << loaderTexts().wrongFile + " (файл не является книгой";
        QTest::newRow("an empty file")
            << QByteArray() << false << 2 << loaderTexts().wrongFile + " (файл пуст)"
            << loaderTexts().wrongFile + " (файл пуст)";
    }

    // Each input's status, its Russian error for a batch, and the message a single input
    // prints on standard error: the same error after the path.
    void outcomes() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, modesGiven);
        QFETCH(int, status);
        QFETCH(QString, error);
        QFETCH(QString, message);
        CalcModes modes;
        modes.given = modes.ownPayroll = modesGiven;
        const InputOutcome out =
            calculateInputBytes(QStringLiteral("in/answers.json"), bytes, modes, kRussian);
        QCOMPARE(static_cast<int>(out.status), status);
        QCOMPARE(out.error, error);
        QCOMPARE(out.row.fileName, QStringLiteral("answers.json"));
        QCOMPARE(out.row.status, status == 0 ? batchTexts().computed : error);
        QCOMPARE(out.row.figures.has_value(), status == 0);
        QCOMPARE(out.document.isEmpty(), status == 2);
        QCOMPARE(out.usageError, modesGiven);
        if (status == 2) {
            QVERIFY2(out.message().startsWith(QStringLiteral("in/answers.json: ")),
                     qPrintable(out.message()));
            QVERIFY2(out.message().contains(message), qPrintable(out.message()));
        } else {
            QCOMPARE(out.document.value(QStringLiteral("buttons")).toBool(), status == 0);
        }
        const QJsonObject item = out.batchItem();
        QCOMPARE(item.value(QStringLiteral("file")).toString(), QStringLiteral("in/answers.json"));
        QCOMPARE(item.contains(QStringLiteral("error")), status != 0);
        QCOMPARE(item.value(QStringLiteral("error")).toString(), error);
    }

    // A computed input's row holds the figures of its document, unrounded, and the
    // institution and year of the record.
    void computedRow() {
        const InputOutcome out =
            calculateInputBytes(QStringLiteral("a.json"), document(withGroups()), {}, kRussian);
        QVERIFY(out.row.figures);
        const SummaryRow::Figures& f = *out.row.figures;
        const QJsonObject derived = out.document.value(QStringLiteral("derived")).toObject();
        QCOMPARE(out.row.institution, QStringLiteral("Детский сад №5"));
        QCOMPARE(out.row.year, QStringLiteral("2011"));
        QCOMPARE(f.pupils, 45.0);
        QCOMPARE(f.groups, 3.0);
        QVERIFY(f.educationNorm == 184121.85981568324);
        QVERIFY(f.maintenanceNorm == 217542.62151211553);
        QVERIFY(f.totalNorm == derived.value(QStringLiteral("TotalNorm")).toDouble());
        QVERIFY(f.educationSubsidy == derived.value(QStringLiteral("EducationSubsidy")).toDouble());
        QVERIFY(f.maintenanceSubsidy ==
                derived.value(QStringLiteral("MaintenanceSubsidy")).toDouble());
        QVERIFY(f.totalSubsidy == 18074901.659750946);
    }

    void workbooks_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("error");
        QTest::newRow("statistical form (.xls)")
            << kFixtures + "/statforms/statform.xls" << 0 << "";
        QTest::newRow("report with an incomplete record: the editor's message")
            << kFixtures + "/reports/report_openpyxl.xlsx" << 1
            << "Проверьте правильность и полноту ввода данных";
        QTest::newRow("a workbook of another program: the loader's message")
            << kFixtures + "/workbooks/other_program.xlsx" << 2 << loaderTexts().wrongFile;
        QTest::newRow("no such file")
            << dir_.filePath(QStringLiteral("missing.xlsx")) << 2 << "файл не найден";
        QTest::newRow("a folder") << dir_.path() << 2 << "это папка";
    }

    // Workbooks and paths: the loader's, the editor's or our own message.
    void workbooks() {
        QFETCH(QString, path);
        QFETCH(int, status);
        QFETCH(QString, error);
        const InputOutcome out = calculateInput(path, {}, kRussian);
        QCOMPARE(static_cast<int>(out.status), status);
        QCOMPARE(out.error.isEmpty(), error.isEmpty());
        QVERIFY2(out.error.startsWith(error, Qt::CaseSensitive) || error.isEmpty(),
                 qPrintable(out.error));
        QCOMPARE(out.file, path);
        if (status == 1) {
            QCOMPARE(out.document.value(QStringLiteral("error")).toString(), error);
        }
    }

    void expandInputs_data() {
        QTest::addColumn<QStringList>("names");  // files created in the folder
        QTest::addColumn<QStringList>("listed");
        // By the bytes of the UTF-8 names: capitals before small letters, and U+FF21
        // (EF BC A1) before U+1F600 (F0 9F 98 80), which UTF-16 order would reverse.
        QTest::newRow("byte order")
            << QStringList{"b.xlsx", "a.xls", "Z.xlsx", "я.xlsx", "Ａ.xlsx", "😀.xlsx"}
            << QStringList{"Z.xlsx", "a.xls", "b.xlsx", "я.xlsx", "Ａ.xlsx", "😀.xlsx"};
        QTest::newRow("endings in any case, nothing else")
            << QStringList{"c.XLSX", "d.Xls", "notes.txt", "e.xlsm", "f.xlsx.bak", ".hidden.xlsx"}
            << QStringList{"c.XLSX", "d.Xls"};
        QTest::newRow("the summary being written is left out")
            << QStringList{"a.xlsx", "summary.xlsx", "z.xlsx"} << QStringList{"a.xlsx", "z.xlsx"};
        // "name->target" is a symbolic link: one to a file is listed, one to nothing, to a
        // folder or to the summary is not.
        QTest::newRow("links") << QStringList{"a.xlsx",           "summary.xlsx",
                                              "b.xlsx->a.xlsx",   "c.xlsx->nowhere.xlsx",
                                              "d.xlsx->sub.xlsx", "e.xlsx->summary.xlsx"}
                               << QStringList{"a.xlsx", "b.xlsx"};
    }

    // A folder stands for its workbooks, sorted by the bytes of their names and joined to
    // the folder's path as given; subfolders are not searched.
    void expandInputs() {
        QFETCH(QStringList, names);
        QFETCH(QStringList, listed);
        QTemporaryDir dir;
        for (const QString& name : names) {
            if (name.contains(QLatin1String("->"))) {
                QVERIFY(QFile::link(name.section(QLatin1String("->"), 1),
                                    dir.filePath(name.section(QLatin1String("->"), 0, 0))));
                continue;
            }
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("sub.xlsx/inner")));
        QFile inner(dir.filePath(QStringLiteral("sub.xlsx/inner.xlsx")));
        QVERIFY(inner.open(QIODevice::WriteOnly));

        const QString summary = dir.filePath(QStringLiteral("summary.xlsx"));
        for (const QString& given : {dir.path(), dir.path() + QLatin1Char('/')}) {
            const auto inputs = normativ::expandInputs(
                {QStringLiteral("first.json"), given, QStringLiteral("missing.xls")}, summary);
            QStringList files;
            for (const InputRef& input : inputs) {
                QVERIFY(input.error.isEmpty());
                files << input.file;
            }
            QStringList expected{QStringLiteral("first.json")};
            for (const QString& name : listed) expected << dir.path() + QLatin1Char('/') + name;
            expected << QStringLiteral("missing.xls");
            QCOMPARE(files, expected);
        }
    }

    // The outcomes keep the input order whatever the number of threads; a file that
    // fails leaves the others computed.
    void parallelKeepsOrder() {
        std::vector<InputRef> inputs;
        const QStringList paths{
            kFixtures + "/statforms/statform.xls", kFixtures + "/workbooks/other_program.xlsx",
            kFixtures + "/statforms/statform.xlsx", kFixtures + "/reports/report_openpyxl.xlsx",
            dir_.filePath(QStringLiteral("missing.xlsx"))};
        for (int copy = 0; copy < 8; ++copy) {
            for (const QString& path : paths) inputs.push_back({path, {}});
        }
        inputs.push_back(
            {QStringLiteral("unlisted/"), QStringLiteral("не удалось прочитать папку")});
        const auto serial = calculateInputs(inputs, {}, kRussian, 1);
        const auto parallel = calculateInputs(inputs, {}, kRussian, 4);
        QCOMPARE(parallel.size(), inputs.size());
        QCOMPARE(batchDocument(parallel), batchDocument(serial));
        const QJsonArray items = QJsonDocument::fromJson(batchDocument(parallel)).array();
        for (int i = 0; i < items.size(); ++i) {
            QCOMPARE(items[i][QStringLiteral("file")].toString(), inputs[i].file);
        }
        QCOMPARE(static_cast<int>(parallel[0].status), 0);
        QCOMPARE(static_cast<int>(parallel[2].status), 0);
        QCOMPARE(parallel.back().error, QStringLiteral("не удалось прочитать папку"));
        QCOMPARE(batchExitStatus(parallel), 1);
        QCOMPARE(batchExitStatus({parallel[0], parallel[2]}), 0);
    }

    // A streamed run hands the outcomes over in input order although the missing files
    // finish long before the statistical form ahead of them, with a window far smaller
    // than the run; a stop before the start computes nothing.
    void streamedInOrder() {
        std::vector<InputRef> inputs;
        for (int block = 0; block < 6; ++block) {
            inputs.push_back({kFixtures + "/statforms/statform.xls", {}});
            for (int i = 0; i < 12; ++i)
                inputs.push_back({dir_.filePath(QStringLiteral("missing%1.xlsx").arg(i)), {}});
        }
        const auto serial = calculateInputs(inputs, {}, kRussian, 1);
        for (const int threads : {2, 4}) {
            std::vector<InputOutcome> streamed;
            std::vector<std::size_t> order;
            RunControl control;
            control.threads = threads;
            control.window = 3;
            const std::size_t delivered = streamInputs(
                inputs, {}, kRussian,
                [&](std::size_t index, InputOutcome&& outcome) {
                    order.push_back(index);
                    streamed.push_back(std::move(outcome));
                },
                control);
            QCOMPARE(delivered, inputs.size());
            for (std::size_t i = 0; i < order.size(); ++i) QCOMPARE(order[i], i);
            QCOMPARE(batchDocument(streamed), batchDocument(serial));
        }

        std::atomic<bool> stop{true};
        RunControl stopped;
        stopped.stop = &stop;
        int calls = 0;
        QCOMPARE(streamInputs(
                     inputs, {}, kRussian, [&](std::size_t, InputOutcome&&) { ++calls; }, stopped),
                 std::size_t{0});
        QCOMPARE(calls, 0);
    }

    // Items printed as they are computed, without their documents, make the array
    // batchDocument makes of the documents, byte for byte: computed, refused and
    // unusable inputs, workbooks and answers documents, the editor's refusal, none.
    void printedItemsAsDocuments() {
        QTemporaryDir folder;
        test::fillMixedFolder(folder.path());
        const QString refused = dir_.filePath(QStringLiteral("refused.json"));
        QFile file(refused);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(document(withGroups(R"("NotEntered")")));
        file.close();
        std::vector<InputRef> inputs = normativ::expandInputs({folder.path()});
        inputs.push_back({refused, {}});
        inputs.push_back({kFixtures + "/statforms/statform.xlsx", {}});
        inputs.push_back({dir_.filePath(QStringLiteral("missing.xlsx")), {}});
        for (const bool ownData : {false, true}) {
            CalcModes modes;
            modes.ownPayroll = modes.ownServices = modes.given = ownData;
            const auto documents = calculateInputs(inputs, modes, kRussian);
            modes.printedItems = true;
            const auto printed = calculateInputs(inputs, modes, kRussian);
            for (std::size_t count : {inputs.size(), std::size_t{1}, std::size_t{0}}) {
                const std::vector<InputOutcome> some(documents.begin(),
                                                     documents.begin() + long(count));
                QByteArray written;
                BatchDocumentWriter writer([&](QByteArrayView bytes) { written += bytes; });
                for (std::size_t i = 0; i < count; ++i) writer.add(printed[i]);
                writer.finish();
                QCOMPARE(written, batchDocument(some));
            }
            for (std::size_t i = 0; i < inputs.size(); ++i) {
                QCOMPARE(printed[i].status, documents[i].status);
                QCOMPARE(printed[i].error, documents[i].error);
                QCOMPARE(printed[i].row.status, documents[i].row.status);
            }
        }
    }

    // Values, totals over the computed rows only, and the formats of the table.
    void summaryWorkbook() {
        SummaryRow first{
            QStringLiteral("a.xlsx"), QStringLiteral("Детский сад №1"), QStringLiteral("2011"),
            SummaryRow::Figures{45, 3, 1000.125, 2000.5, 3000.625, 45005.625, 90022.5, 135028.125},
            batchTexts().computed};
        SummaryRow refused{QStringLiteral("b.xlsx"), QStringLiteral("Детский сад №2"),
                           QStringLiteral("2012"), std::nullopt,
                           QStringLiteral("неверный ввод: количество групп — не введено, фонд "
                                          "оплаты труда педагогических работников — 0")};
        SummaryRow second{QStringLiteral("c.xls"), QString(), QStringLiteral("2010"),
                          SummaryRow::Figures{10.5, 1, 10, 20, 30, 105, 210, 315},
                          batchTexts().computed};
        SummaryRow wrong{QStringLiteral("d.xlsx"), QString(), QString(), std::nullopt,
                         loaderTexts().wrongFile};
        const Workbook book = buildSummaryWorkbook({first, refused, second, wrong});
        QCOMPARE(book.sheetCount(), 1);
        QVERIFY(book.error().isEmpty());
        const Sheet& s = book.sheet(1);
        QCOMPARE(s.name(), QStringLiteral("Сводка"));

        QCOMPARE(s.value(u"A1"), CellValue::text(QStringLiteral("Файл")));
        QCOMPARE(s.value(u"L1"), CellValue::text(QStringLiteral("Результат расчета")));
        QCOMPARE(s.value(u"A2"), CellValue::text(QStringLiteral("a.xlsx")));
        QCOMPARE(s.value(u"B2"), CellValue::text(QStringLiteral("Детский сад №1")));
        QCOMPARE(s.value(u"C2"), CellValue::number(2011));
        QCOMPARE(s.value(u"F2"), CellValue::number(1000.125));
        QCOMPARE(s.value(u"K2"), CellValue::number(135028.125));
        QCOMPARE(s.value(u"L2"), CellValue::text(QStringLiteral("рассчитано")));
        QCOMPARE(s.value(u"B3"), CellValue::text(QStringLiteral("Детский сад №2")));
        for (QStringView blank : {u"D3", u"E3", u"F3", u"K3", u"B5", u"C5", u"D5"}) {
            QVERIFY2(s.value(blank).isEmpty(), qPrintable(blank.toString()));
        }
        QCOMPARE(s.value(u"L3"), CellValue::text(refused.status));
        QCOMPARE(s.value(u"L5"), CellValue::text(loaderTexts().wrongFile));

        QCOMPARE(s.value(u"A6"), CellValue::text(QStringLiteral("Итого")));
        QCOMPARE(s.value(u"D6"), CellValue::number(55.5));
        QCOMPARE(s.value(u"E6"), CellValue::number(4));
        for (QStringView blank : {u"F6", u"G6", u"H6"}) QVERIFY(s.value(blank).isEmpty());
        QCOMPARE(s.value(u"I6"), CellValue::number(45005.625 + 105));
        QCOMPARE(s.value(u"J6"), CellValue::number(90022.5 + 210));
        QCOMPARE(s.value(u"K6"), CellValue::number(135028.125 + 315));
        QCOMPARE(s.value(u"L6"), CellValue::text(QStringLiteral("рассчитано: 2 из 4")));
        QVERIFY(s.value(u"A7").isEmpty());

        const CellFormat header = s.format(u"C1");
        QCOMPARE(header.fontName, QStringLiteral("Times New Roman"));
        QCOMPARE(header.fontSize, 12.0);
        QVERIFY(header.bold && header.wrap);
        QCOMPARE(header.bottom, BorderStyle::Thin);
        for (QStringView money : {u"F2", u"H4", u"J5", u"I3"}) {
            const CellFormat f = s.format(money);
            QCOMPARE(f.numberFormat, QStringLiteral("0.00"));
            QCOMPARE(f.fontName, QStringLiteral("Times New Roman"));
            QCOMPARE(f.left, BorderStyle::Thin);
            QVERIFY(!f.bold);
        }
        QVERIFY(s.format(u"D2").numberFormat.isEmpty());
        QVERIFY(s.format(u"L3").wrap);
        QVERIFY(s.format(u"A6").bold && s.format(u"K6").bold);
        QCOMPARE(s.format(u"L6").right, BorderStyle::Thin);
        QCOMPARE(s.format(u"A7").bottom, BorderStyle::None);
        QVERIFY(s.frozenAt());
        QCOMPARE(s.frozenAt()->row, 2);
        QCOMPARE(s.frozenAt()->column, 1);
        for (int column = 1; column <= summary::kColumns; ++column) {
            QVERIFY(s.columnSettings(column).width.value_or(0) >= 10);
        }
        // The wrapped header and the long error text take more than one line.
        QVERIFY(s.rows().at(1).height.value_or(0) > 15.75);
        QVERIFY(s.rows().at(3).height.value_or(0) > s.rows().at(2).height.value_or(0));
    }

  private:
    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(TestCalcInput)
#include "test_calcinput.moc"
