// Runs the built normativ-calc on statistical forms and saved reports: the same results as
// the equivalent answers document, the editor's refusal in "error", refused files.

#include "calcprocess.h"
#include "mixedfolder.h"
#include "savedreport.h"
#include "savexlsx.h"
#include "workbook.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace normativ;

using namespace calctest;

namespace {

const QString kFixtures = QStringLiteral(NORMATIV_FORMAT_FIXTURES);
const QString kWrongFile =
    QStringLiteral("Указанный Вами файл не является требуемой формой статистической отчетности");

/// The statistical form fixtures as an answers document: the same answers, choices and
/// records, with the modes given, typed in English or in Russian.
QByteArray fixtureAsDocument(int ownPayroll, int ownServices, bool russian = false) {
    QString document = QStringLiteral(R"({"locale": "en", "PlanningYear": "2010",
        "UseOwnPayrollData": %1, "UseOwnServicesData": %2,
        "answers": {"PupilCount": "120", "GroupCount": "6", "MinTeacherSalary": "15000.5",
            "TeacherPayrollFund": "9800000", "TeacherCompensationFund": "1200000",
            "TeacherIncentiveFund": "850000.25", "MonthsOfOperation": "11",
            "ParentFeePerMonth": "1800", "ServiceStaffPayrollFund": "2500000",
            "ColdWaterVolume": "3500.5", "SewageVolume": "3400", "HotWaterVolume": "1200",
            "HeatedWaterVolume": "800", "HeatEnergyVolume": "950.75", "PriceGrowthPercent": "6.5",
            "ElectricityVolume": "120000", "SecurityAlarmCosts": "36000",
            "FireSafetyCosts": "48000.8", "BuildingArea": "1250.5", "TerritoryCosts": "150000",
            "MovablePropertyCosts": "80000", "InsuranceCosts": "12000",
            "PropertyValueJan1": "15000000", "PropertyValueDec1": "14000000",
            "LandCadastralValue": "9000000", "FoodAndServicesCosts": "3600000",
            "OtherCosts": "250000", "ColdWaterTariff": "25.4", "SewageTariff": "18.2",
            "HotWaterTariff": "110.5", "WaterHeatingTariff": "95", "HeatTariff": "1450.3",
            "ElectricityTariff": "4.25", "RepairCostPerM2": "350", "PropertyTaxRate": "2.2",
            "LandTaxRate": "1.5"},
        "flags": {"SettlementIsVillage": 1, "SettlementIsCity": 0, "KindPreschoolSenior": 0,
                  "KindDevelopmentCentre": 0, "KindOther": 1, "FiveDayWeek": 0, "SixDayWeek": 1},
        "records": [{"age": 1, "stay": 8, "orientation": 1, "pupils": 15},
                    {"age": 2, "stay": 5, "orientation": 2, "pupils": 40},
                    {"age": 3, "stay": 7, "orientation": 4, "pupils": 50},
                    {"age": 3, "stay": 3, "orientation": 5, "pupils": 15}]})")
                           .arg(ownPayroll)
                           .arg(ownServices);
    if (russian) {
        document.replace(QStringLiteral(R"("locale": "en")"), QStringLiteral(R"("locale": "ru")"));
        document.replace(QRegularExpression(QStringLiteral("\"(\\d+)\\.(\\d+)\"")),
                         QStringLiteral("\"\\1,\\2\""));
    }
    return document.toUtf8();
}

/// A small statistical form: `pupils` pupils in the institution, one record of 10.
Workbook statForm(double pupils) {
    Workbook book;
    Sheet& first = book.addSheet();
    first.setNumber(u"EH17", 11123545);
    first.setText(u"BI9", QStringLiteral("2011"));
    first.setNumber(u"F23", pupils);
    first.setNumber(u"Y23", 1);
    first.setNumber(u"CS23", 12);
    first.setNumber(u"BJ23", 3);
    first.setNumber(u"AR23", 1);
    Sheet& second = book.addSheet();
    second.setNumber(u"A4", 1);
    second.setNumber(u"B7", 3);
    second.setNumber(u"AB7", 5);
    second.setNumber(u"BF7", 1);
    second.setNumber(u"CU7", 10);
    for (int i = 3; i <= 6; ++i) book.addSheet();
    return book;
}

}  // namespace

class TestNormativCalcWorkbooks : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QVERIFY2(QFileInfo(kProgram).isExecutable(), qPrintable(kProgram));
    }

    void formsAsTheirAnswersDocument_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("ownPayroll");
        QTest::addColumn<int>("ownServices");
        QTest::addColumn<QString>("locale");
        const QStringList both{QStringLiteral("--own-services"), QStringLiteral("--own-payroll")};
        QTest::newRow("xlsx, own figures") << "statform.xlsx" << both << 1 << 1 << "C.UTF-8";
        QTest::newRow("xls, own figures") << "statform.xls" << both << 1 << 1 << "C.UTF-8";
        QTest::newRow("xlsx, own figures, Russian user")
            << "statform.xlsx" << both << 1 << 1 << "ru_RU.UTF-8";
        QTest::newRow("xls, no options") << "statform.xls" << QStringList() << 0 << 0 << "C.UTF-8";
        QTest::newRow("xlsx, own payroll only")
            << "statform.xlsx" << QStringList{QStringLiteral("--own-payroll")} << 1 << 0
            << "C.UTF-8";
        QTest::newRow("xls, own services only")
            << "statform.xls" << QStringList{QStringLiteral("--own-services")} << 0 << 1
            << "C.UTF-8";
    }

    // A statistical form gives exactly what its answers typed into a document give: the
    // load, the walk through the wizard and the modes from the options.
    void formsAsTheirAnswersDocument() {
        QFETCH(QString, file);
        QFETCH(QStringList, options);
        QFETCH(int, ownPayroll);
        QFETCH(int, ownServices);
        QFETCH(QString, locale);
        const Run fromForm =
            run(options + QStringList{kFixtures + QStringLiteral("/statforms/") + file}, locale);
        const Run fromDocument =
            run({write(QStringLiteral("form.json"),
                       fixtureAsDocument(ownPayroll, ownServices,
                                         locale.startsWith(QLatin1String("ru"))))},
                locale);
        QVERIFY2(fromForm.err.isEmpty(), fromForm.err.constData());
        QCOMPARE(fromDocument.status, fromForm.status);
        QCOMPARE(fromForm.out, fromDocument.out);
        if (ownPayroll == 1 && ownServices == 1) {
            QCOMPARE(fromForm.status, 0);
            const QJsonObject out = QJsonDocument::fromJson(fromForm.out).object();
            QVERIFY(out["education"]["norm"].toDouble() == 179105.98837640416);
            QVERIFY(out["maintenance"]["norm"].toDouble() == 176457.055918032);
            QCOMPARE(out["results"]["Text6"].toString(), QStringLiteral("42667559"));
        }
    }

    // A saved report of the standard record computes as that record does.
    void savedReport() {
        const QString path = dir_.filePath(QStringLiteral("report.xlsx"));
        QVERIFY(saveWorkbook(test::report(QStringLiteral("Детский сад №1")), path).ok());

        const Run r = run({path});
        QCOMPARE(r.status, 0);
        const QJsonObject out = QJsonDocument::fromJson(r.out).object();
        QVERIFY(out["education"]["norm"].toDouble() == 184121.85981568324);
        QVERIFY(out["maintenance"]["norm"].toDouble() == 217542.62151211553);
        QCOMPARE(out["results"]["Text6"].toString(), QStringLiteral("18074919"));
        QVERIFY(!out.contains("error"));
    }

    void editorRefusal_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("message");
        QTest::newRow("records below the pupil count")
            << "below"
            << "Общее количество воспитанников, указанное ранее, больше суммарного "
               "количества воспитанников по группам";
        QTest::newRow("records above the pupil count")
            << "above"
            << "Общее количество воспитанников, указанное ранее, меньше суммарного "
               "количества воспитанников по группам";
        QTest::newRow("no pupil count")
            << "blank"
            << "Не введено общее количество воспитанников ДОУ, необходимо вернуться на первый шаг";
        QTest::newRow("report with an incomplete record (re-saved by another program)")
            << kFixtures + QStringLiteral("/reports/report_openpyxl.xlsx")
            << "Проверьте правильность и полноту ввода данных";
    }

    // The editor's refusal stops both stages: the results as for refused stages, with
    // the editor's message in "error".
    void editorRefusal() {
        QFETCH(QString, path);
        QFETCH(QString, message);
        if (!path.contains(QLatin1Char('/'))) {
            Workbook book = statForm(path == QLatin1String("below") ? 12 : 8);
            if (path == QLatin1String("blank")) book.sheet(1).setValue(u"F23", CellValue());
            path = dir_.filePath(path + QStringLiteral(".xlsx"));
            QVERIFY(saveWorkbook(book, path).ok());
        }
        const Run r = run({path});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.isEmpty());
        const QJsonObject out = QJsonDocument::fromJson(r.out).object();
        QCOMPARE(out["error"].toString(), message);
        QCOMPARE(out["education"]["refused"], QJsonValue(true));
        QVERIFY(out["education"]["norm"].isNull());
        QCOMPARE(out["maintenance"]["refused"], QJsonValue(true));
        for (int n = 1; n <= 6; ++n) {
            QVERIFY(out["results"][QStringLiteral("Text%1").arg(n)].isNull());
        }
        QCOMPARE(out["buttons"], QJsonValue(false));
        QVERIFY(out["derived"].isNull());
        QVERIFY(out["payroll"].isNull());
    }

    void refusedFiles_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("named");
        QByteArray good;
        {
            QFile f(kFixtures + QStringLiteral("/statforms/statform.xlsx"));
            QVERIFY(f.open(QIODevice::ReadOnly));
            good = f.readAll();
        }
        QTest::newRow("a zip that is not a workbook")
            << QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0') << "";
        QTest::newRow("a form cut short") << good.left(good.size() - 100) << "";
        QTest::newRow("a compound file of nothing")
            << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(504, '\0') << "";
        Workbook noMarker = statForm(10);
        noMarker.sheet(1).setValue(u"EH17", CellValue());
        QTest::newRow("a workbook without a marker") << packageBytes(noMarker) << "EH17";
        Workbook many = statForm(10);
        many.sheet(2).setNumber(u"A4", 43);
        QTest::newRow("a form of 43 records") << packageBytes(many) << "A4";
    }

    // A refused workbook: status 2, nothing on standard output, the loading window's
    // message and the reason on standard error.
    void refusedFiles() {
        QFETCH(QByteArray, contents);
        QFETCH(QString, named);
        const QString path = write(QStringLiteral("refused.xlsx"), contents);
        const Run r = run({QStringLiteral("--own-payroll"), path});
        QCOMPARE(r.status, 2);
        QVERIFY(r.out.isEmpty());
        const QString err = QString::fromUtf8(r.err);
        QVERIFY2(err.contains(kWrongFile), r.err.constData());
        QVERIFY2(err.contains(named), r.err.constData());
        QVERIFY(err.contains(QStringLiteral("refused.xlsx")));
    }

    void usage_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("named");
        const QString json = QStringLiteral("answers.json");
        QTest::newRow("options with an answers document")
            << QStringList{QStringLiteral("--own-payroll"), json} << "--own-payroll";
        QTest::newRow("an unknown option")
            << QStringList{QStringLiteral("--own-everything"), json} << "--own-everything";
        QTest::newRow("--summary without a file name")
            << QStringList{json, QStringLiteral("--summary")} << "--summary";
        QTest::newRow("options alone")
            << QStringList{QStringLiteral("--own-services")} << "использование";
    }

    void usage() {
        QFETCH(QStringList, args);
        QFETCH(QString, named);
        write(QStringLiteral("answers.json"), fixtureAsDocument(0, 0));
        for (QString& a : args) {
            if (a.endsWith(QLatin1String(".json"))) a = dir_.filePath(a);
        }
        const Run r = run(args);
        QCOMPARE(r.status, 2);
        QVERIFY(r.out.isEmpty());
        QVERIFY2(QString::fromUtf8(r.err).contains(named), r.err.constData());
    }

  private:
    /// The bytes of `book` as saved.
    QByteArray packageBytes(const Workbook& book) {
        const QString path = dir_.filePath(QStringLiteral("package.xlsx"));
        if (const Status saved = saveWorkbook(book, path); !saved)
            qFatal("%s", qPrintable(saved.error()));
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) qFatal("can't read %s", qPrintable(path));
        return f.readAll();
    }

    Run run(const QStringList& args, const QString& lcAll = QStringLiteral("C.UTF-8")) {
        return runCalc(args, localeEnvironment(lcAll));
    }

    QString write(const QString& name, const QByteArray& contents) {
        return writeFile(dir_, name, contents);
    }

    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(TestNormativCalcWorkbooks)
#include "test_normativcalc_workbooks.moc"
