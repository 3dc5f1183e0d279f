// Runs the built normativ-calc on folders and several inputs: the array, its order, the
// "file" and "error" of each item, the exit status, and the summary workbook read back.

#include "batch.h"
#include "batchtexts.h"
#include "calcprocess.h"
#include "defaultmethodology.h"
#include "mixedfolder.h"
#include "openworkbook.h"
#include "savedreport.h"
#include "savexlsx.h"
#include "summaryworkbook.h"
#include "workbook.h"
#include "workbookloader.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace normativ;

using namespace calctest;

namespace {

const QString kIncomplete = QStringLiteral("Проверьте правильность и полноту ввода данных");

QByteArray answersDocument() {
    return R"({"locale": "en", "PlanningYear": "2011", "UseOwnPayrollData": 0,
        "UseOwnServicesData": 0,
        "answers": {"PupilCount": "45", "GroupCount": "3", "MonthsOfOperation": "12",
                    "ParentFeePerMonth": "1500.5"},
        "flags": {"SettlementIsCity": 1, "KindPreschoolSenior": 1, "FiveDayWeek": 1},
        "records": [{"age": 2, "stay": 5, "orientation": 1, "pupils": "12.5"},
                    {"age": 3, "stay": 7, "orientation": 2, "pupils": 20},
                    {"age": 1, "stay": 9, "orientation": 6, "pupils": "12.5"}]})";
}

}  // namespace

class TestNormativCalcBatch : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QVERIFY2(QFileInfo(kProgram).isExecutable(), qPrintable(kProgram));
        folder_ = dir_.filePath(QStringLiteral("детские сады"));
        QVERIFY(QDir().mkpath(folder_));
        test::fillMixedFolder(folder_);
        makeRussianLocale();
    }

    // A folder: an item per workbook in byte order of the names, each with its file and,
    // unless computed, its error; exit status 1 as some were refused. The summary written
    // into the folder itself is not taken as an input by the next run.
    void mixedFolder() {
        const QString summary = folder_ + QStringLiteral("/сводка.xlsx");
        const Run r = run({QStringLiteral("--summary"), summary, folder_});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.isEmpty(), r.err.constData());
        const QJsonArray items = r.items();
        const QStringList names{"1-report.xlsx", "2-statform.xls", "3-refused.xlsx", "4-wrong.xlsx",
                                "5-editor.xlsx"};
        QCOMPARE(items.size(), names.size());
        for (int i = 0; i < items.size(); ++i) {
            QCOMPARE(items[i]["file"].toString(), folder_ + QLatin1Char('/') + names[i]);
        }
        QVERIFY(!items[0].toObject().contains("error"));
        QVERIFY(!items[1].toObject().contains("error"));
        QCOMPARE(items[2]["error"].toString(),
                 QStringLiteral("неверный ввод: количество групп — не введено"));
        QCOMPARE(items[2]["results"]["Text2"].toString(), QStringLiteral("неверный ввод"));
        QVERIFY2(items[3]["error"].toString().startsWith(loaderTexts().wrongFile + " ("),
                 qPrintable(items[3]["error"].toString()));
        QCOMPARE(items[3].toObject().keys(), (QStringList{"error", "file"}));
        QCOMPARE(items[4]["error"].toString(), kIncomplete);

        // Each item is the document its file gives alone (with "file" and "error").
        QJsonObject alone =
            QJsonDocument::fromJson(run({items[0]["file"].toString()}).out).object();
        alone.insert("file", items[0]["file"]);
        QCOMPARE(items[0].toObject(), alone);
        alone = QJsonDocument::fromJson(run({items[2]["file"].toString()}).out).object();
        alone.insert("file", items[2]["file"]);
        alone.insert("error", items[2]["error"]);
        QCOMPARE(items[2].toObject(), alone);

        const Run again = run({QStringLiteral("--summary"), summary, folder_});
        QCOMPARE(again.out, r.out);
        QVERIFY(QFile::remove(summary));
    }

    // The summary workbook, written under a Russian C locale (a decimal comma), read back
    // with our reader: a row per input, the figures of the computed ones exactly as the
    // JSON gives them, the totals over the computed rows only, the status texts.
    void summaryReadBack() {
        const QString summary = dir_.filePath(QStringLiteral("summary.xlsx"));
        const Run r = run({QStringLiteral("--summary"), summary, folder_}, russianEnvironment());
        QCOMPARE(r.status, 1);
        const QJsonArray items = r.items();
        QCOMPARE(items.size(), 5);
        QFile file(summary);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const auto book = openWorkbook(file.readAll());
        QVERIFY2(book.ok(), qPrintable(book.error()));
        QCOMPARE(book->sheetCount(), 1);
        QCOMPARE(book->sheetName(1), batchTexts().summarySheet);

        using namespace summary;
        const auto cell = [&](int row, int column) { return book->cell(1, row, column); };
        QCOMPARE(cell(1, kFileColumn), CellValue::text(QStringLiteral("Файл")));
        double pupils = 0;
        double groups = 0;
        double education = 0;
        double maintenance = 0;
        double total = 0;
        for (int i = 0; i < items.size(); ++i) {
            const int row = kFirstInputRow + i;
            const QJsonObject item = items[i].toObject();
            QCOMPARE(cell(row, kFileColumn).toText(),
                     QFileInfo(item["file"].toString()).fileName());
            const QString error = item["error"].toString();
            QCOMPARE(cell(row, kStatusColumn).toText(),
                     error.isEmpty() ? QStringLiteral("рассчитано") : error);
            if (!error.isEmpty()) {
                for (int column = kPupilsColumn; column <= kTotalSubsidyColumn; ++column) {
                    QVERIFY(cell(row, column).isEmpty());
                }
                continue;
            }
            const QJsonObject derived = item["derived"].toObject();
            const std::pair<int, double> figures[] = {
                {kEducationNormColumn, item["education"]["norm"].toDouble()},
                {kMaintenanceNormColumn, item["maintenance"]["norm"].toDouble()},
                {kTotalNormColumn, derived["TotalNorm"].toDouble()},
                {kEducationSubsidyColumn, derived["EducationSubsidy"].toDouble()},
                {kMaintenanceSubsidyColumn, derived["MaintenanceSubsidy"].toDouble()},
                {kTotalSubsidyColumn, derived["TotalSubsidy"].toDouble()}};
            for (const auto& [column, value] : figures) {
                QVERIFY2(cell(row, column).toNumber() == value,
                         qPrintable(QStringLiteral("row %1 column %2").arg(row).arg(column)));
            }
            pupils += cell(row, kPupilsColumn).toNumber();
            groups += cell(row, kGroupsColumn).toNumber();
            education += figures[3].second;
            maintenance += figures[4].second;
            total += figures[5].second;
        }
        QCOMPARE(cell(2, kInstitutionColumn), CellValue::text(QStringLiteral("Детский сад №1")));
        QCOMPARE(cell(2, kYearColumn), CellValue::number(2011));
        QCOMPARE(cell(2, kPupilsColumn), CellValue::number(45));
        QCOMPARE(cell(3, kPupilsColumn), CellValue::number(120));  // the statistical form
        QCOMPARE(cell(4, kInstitutionColumn), CellValue::text(QStringLiteral("Детский сад №3")));

        const int totals = kFirstInputRow + static_cast<int>(items.size());
        QCOMPARE(cell(totals, kFileColumn), CellValue::text(QStringLiteral("Итого")));
        QCOMPARE(cell(totals, kPupilsColumn), CellValue::number(165));
        QCOMPARE(cell(totals, kPupilsColumn).toNumber(), pupils);
        QCOMPARE(cell(totals, kGroupsColumn).toNumber(), groups);
        QVERIFY(cell(totals, kEducationSubsidyColumn).toNumber() == education);
        QVERIFY(cell(totals, kMaintenanceSubsidyColumn).toNumber() == maintenance);
        QVERIFY(cell(totals, kTotalSubsidyColumn).toNumber() == total);
        QCOMPARE(cell(totals, kStatusColumn),
                 CellValue::text(QStringLiteral("рассчитано: 2 из 5")));
        QVERIFY(cell(totals + 1, kFileColumn).isEmpty());
        // The example's fingerprint, checked with sha256sum in the methodology's tests.
        QCOMPARE(cell(totals + 2, kFileColumn),
                 CellValue::text(QStringLiteral(
                     "Методика расчета: пример (встроенная) (отпечаток 876c1dbf987d)")));
    }

    // Several arguments: items in argument order, a folder's files joined to its path as
    // given, a file as given; the modes apply to the workbooks and refuse the document.
    void severalArguments() {
        const QString document = write(QStringLiteral("answers.json"), answersDocument());
        const QString good = folder_ + QStringLiteral("/1-report.xlsx");
        const QString missing = dir_.filePath(QStringLiteral("нет такого.xlsx"));
        Run r = run({good, folder_ + QLatin1Char('/'), missing, document});
        QCOMPARE(r.status, 1);
        const QJsonArray items = r.items();
        QCOMPARE(items.size(), 8);
        QCOMPARE(items[0]["file"].toString(), good);
        QCOMPARE(items[1]["file"].toString(), good);
        QCOMPARE(items[5]["file"].toString(), folder_ + QStringLiteral("/5-editor.xlsx"));
        QCOMPARE(items[6]["file"].toString(), missing);
        QCOMPARE(items[6]["error"].toString(), QStringLiteral("файл не найден"));
        QCOMPARE(items[7]["file"].toString(), document);
        QVERIFY(!items[7].toObject().contains("error"));
        QCOMPARE(items[7]["derived"], items[0]["derived"]);

        r = run({good, document});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.items().size(), 2);

        r = run({QStringLiteral("--own-payroll"), good, document});
        QCOMPARE(r.status, 1);
        const QJsonArray withModes = r.items();
        QVERIFY(!withModes[0].toObject().contains("error"));
        QVERIFY2(withModes[1]["error"].toString().contains("--own-payroll"),
                 qPrintable(withModes[1]["error"].toString()));
    }

    // One file with --summary: the document it has always printed, and a summary of one.
    void oneFileWithSummary() {
        const QString good = folder_ + QStringLiteral("/1-report.xlsx");
        const QString summary = dir_.filePath(QStringLiteral("one.xlsx"));
        const Run r = run({QStringLiteral("--summary=") + summary, good});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, run({good}).out);
        QFile file(summary);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const auto book = openWorkbook(file.readAll());
        QVERIFY(book.ok());
        QCOMPARE(book->cell(1, u"A2"), CellValue::text(QStringLiteral("1-report.xlsx")));
        QCOMPARE(book->cell(1, u"A3"), CellValue::text(QStringLiteral("Итого")));
    }

    // Slow inputs (large workbooks) among fast ones (missing files, small wrong ones): the
    // threads finish them out of order, yet the array, the exit status and the summary's
    // rows are those of the same inputs computed on one thread, byte for byte.
    void slowAndFastMixed() {
        QTemporaryDir mixed;
        QVERIFY(mixed.isValid());
        Workbook large = test::report(QStringLiteral("Детский сад №7"));
        Sheet& filler = large.addSheet(QStringLiteral("Данные"));
        for (int row = 1; row <= 600; ++row) {
            for (int column = 1; column <= 100; ++column) filler.setNumber(row, column, row * 0.5);
        }
        const QString slow = mixed.filePath(QStringLiteral("large.xlsx"));
        QVERIFY(saveWorkbook(large, slow).ok());
        const QString wrong = writeFile(mixed, QStringLiteral("wrong.xlsx"), "not a workbook");
        QStringList args;
        for (int block = 0; block < 3; ++block) {
            args << slow << folder_ + QStringLiteral("/1-report.xlsx");
            for (int i = 0; i < 6; ++i) {
                args << mixed.filePath(QStringLiteral("missing-%1-%2.xlsx").arg(block).arg(i))
                     << wrong;
            }
        }
        const QString summaryPath = mixed.filePath(QStringLiteral("summary.xlsx"));
        const Run r = run(QStringList{QStringLiteral("--summary"), summaryPath} + args);

        CalcModes modes;
        modes.methodology = loadDefaultMethodology().methodology;
        const auto serial = calculateInputs(normativ::expandInputs(args, summaryPath), modes,
                                            QLocale(QStringLiteral("C.UTF-8")), 1);
        QCOMPARE(r.out, batchDocument(serial));
        QCOMPARE(r.status, batchExitStatus(serial));
        QVERIFY2(r.err.isEmpty(), r.err.constData());

        const auto book = openWorkbook(readAll(summaryPath));
        QVERIFY2(book.ok(), qPrintable(book.error()));
        for (int i = 0; i < args.size(); ++i) {
            const int row = summary::kFirstInputRow + i;
            QCOMPARE(book->cell(1, row, summary::kFileColumn).toText(),
                     QFileInfo(args[i]).fileName());
            QCOMPARE(book->cell(1, row, summary::kStatusColumn).toText(), serial[i].row.status);
        }
    }

    void badUsage_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("named");
        const QString good = QStringLiteral("GOOD");
        QTest::newRow("--summary without a file name")
            << QStringList{good, "--summary"} << "--summary";
        QTest::newRow("--summary twice")
            << QStringList{"--summary", "a.xlsx", "--summary=b.xlsx", good} << "дважды";
        QTest::newRow("an unknown option") << QStringList{"--all", good} << "--all";
        QTest::newRow("no input") << QStringList{"--own-payroll"} << "использование";
        QTest::newRow("a summary that can't be written")
            << QStringList{"--summary", "/nonexistent-folder/s.xlsx", good, good} << "s.xlsx";
    }

    // Bad usage, or a summary that can't be written: status 2 and nothing on standard
    // output, whatever the inputs would give.
    void badUsage() {
        QFETCH(QStringList, args);
        QFETCH(QString, named);
        args.replaceInStrings(QStringLiteral("GOOD"), folder_ + QStringLiteral("/1-report.xlsx"));
        const Run r = run(args);
        QCOMPARE(r.status, 2);
        QVERIFY(r.out.isEmpty());
        QVERIFY2(QString::fromUtf8(r.err).contains(named), r.err.constData());
    }

  private:
    static QByteArray readAll(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    Run run(const QStringList& args,
            const QProcessEnvironment& environment = QProcessEnvironment()) {
        return runCalc(args, environment.isEmpty() ? localeEnvironment(QStringLiteral("C.UTF-8"))
                                                   : environment);
    }

    QString write(const QString& name, const QByteArray& contents) {
        return writeFile(dir_, name, contents);
    }

    // A Russian C locale for the program (a decimal comma for printf, which the
    // spreadsheet writer would otherwise put into the file): generated with localedef
    // when the system has none.
    void makeRussianLocale() {
        QProcess check;
        check.start(QStringLiteral("locale"), {QStringLiteral("-a")});
        if (check.waitForFinished(10000) &&
            check.readAllStandardOutput().toLower().contains("ru_ru.utf8")) {
            return;
        }
        QProcess localedef;
        localedef.start(
            QStringLiteral("localedef"),
            {QStringLiteral("-i"), QStringLiteral("ru_RU"), QStringLiteral("-f"),
             QStringLiteral("UTF-8"), locales_.filePath(QStringLiteral("ru_RU.UTF-8"))});
        if (!localedef.waitForFinished(60000) || localedef.exitCode() != 0) {
            qWarning("no Russian C locale: the summary is written under the C locale");
            return;
        }
        localePath_ = locales_.path();
    }

    QProcessEnvironment russianEnvironment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("ru_RU.UTF-8"));
        if (!localePath_.isEmpty()) env.insert(QStringLiteral("LOCPATH"), localePath_);
        return env;
    }

    QTemporaryDir dir_;
    QTemporaryDir locales_;
    QString localePath_;
    QString folder_;
};

QTEST_GUILESS_MAIN(TestNormativCalcBatch)
#include "test_normativcalc_batch.moc"
