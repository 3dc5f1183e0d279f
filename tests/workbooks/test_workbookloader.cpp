// Loading a statistical form or a saved report into the store: every field of both kinds,
// the number and text forms of the choices and record kinds, stored formula results, and
// the refusals that leave the store untouched.

#include "openworkbook.h"
#include "reportstores.h"
#include "savedreport.h"
#include "savexlsx.h"
#include "testsupport.h"
#include "workbookloader.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace normativ;
using formatstest::russian;

using Mutation = std::function<void(Workbook&)>;
Q_DECLARE_METATYPE(Mutation)
Q_DECLARE_METATYPE(normativ::CellValue)
Q_DECLARE_METATYPE(normativ::FieldValue)

namespace {

const QString kFixtures = QStringLiteral(NORMATIV_FORMAT_FIXTURES);

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

CellValue text(const char* s) {
    return CellValue::text(QString::fromUtf8(s));
}

/// A small statistical form: 10 pupils in one record, the markers and the six sheets.
Workbook statForm() {
    Workbook book;
    Sheet& first = book.addSheet();
    first.setNumber(u"EH17", 11123545);
    first.setText(u"L17", QStringLiteral("ДОУ №1"));
    first.setText(u"BI9", QStringLiteral("2011"));
    first.setNumber(u"F23", 10);
    first.setNumber(u"Y23", 1);
    first.setNumber(u"CS23", 12);
    first.setText(u"CC23", QStringLiteral("город"));
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

/// A store with something in every part, so that a refused load can be seen to change
/// nothing and a good one to leave alone what the workbook doesn't hold.
Store filledStore() {
    Store store = formatstest::reportStore();
    store.record.useOwnPayrollData = FieldValue::integer(1);
    store.record.useOwnServicesData = FieldValue::integer(0);
    store.record.wizardStep = 30;
    // Records 6 and 7 lie beyond every count loaded here.
    formatstest::setRecords(store, {{1, 1, 1, 10000},
                                    {2, 2, 2, 20000},
                                    {3, 3, 3, 30000},
                                    {1, 4, 4, 40000},
                                    {2, 6, 5, 50000},
                                    {3, 9, 6, 60000},
                                    {1, 2, 3, 70000}});
    store.distribution.recordCount = FieldValue::integer(5);
    return store;
}

int chosenItem(const DistributionTable& table, int record, Kind kind) {
    int chosen = 0;
    for (int i = 1; i <= kItemCount; ++i) {
        if (table.cell(record, kind, i) == Currency::fromWhole(1)) chosen = chosen ? -1 : i;
    }
    return chosen;
}

}  // namespace

namespace normativ {
char* toString(const CellValue& v) {
    return qstrdup(v.debugString().toUtf8().constData());
}
}  // namespace normativ

class TestWorkbookLoader : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void statisticalFormFixtures_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<FieldValue>("year");
        QTest::addColumn<FieldValue>("months");
        QTest::newRow("xlsx") << "statforms/statform.xlsx" << FieldValue::number(2010)
                              << FieldValue::text(QStringLiteral("11"));
        QTest::newRow("xls") << "statforms/statform.xls" << FieldValue::text(QStringLiteral("2010"))
                             << FieldValue::number(11);
    }

    // Every field of the form from its cell, totals that are formulas by their stored
    // result, choices and record kinds by their numbers and by their texts.
    void statisticalFormFixtures() {
        QFETCH(QString, file);
        QFETCH(FieldValue, year);
        QFETCH(FieldValue, months);
        Store store = filledStore();
        const WorkbookLoadResult result =
            loadWorkbookIntoStore(readAll(kFixtures + QLatin1Char('/') + file), store);
        QVERIFY2(result.ok, qPrintable(result.reason));
        QCOMPARE(result.kind, LoadedWorkbookKind::StatisticalForm);
        QVERIFY(result.message.isEmpty());

        const InstitutionRecord& r = store.record;
        QCOMPARE(r.institutionName,
                 FieldValue::text(QStringLiteral("МДОУ детский сад № 7 «Солнышко»")));
        QCOMPARE(r.planningYear, year);
        QCOMPARE(r[Answer::MonthsOfOperation], months);
        const std::pair<Answer, double> numbers[] = {
            {Answer::PupilCount, 120},
            {Answer::GroupCount, 6},
            {Answer::MinTeacherSalary, 15000.5},
            {Answer::TeacherPayrollFund, 9800000},
            {Answer::TeacherCompensationFund, 1200000},
            {Answer::TeacherIncentiveFund, 850000.25},
            {Answer::ServiceStaffPayrollFund, 2500000},
            {Answer::ColdWaterVolume, 3500.5},
            {Answer::SewageVolume, 3400},
            {Answer::HotWaterVolume, 1200},
            {Answer::HeatedWaterVolume, 800},
            {Answer::HeatEnergyVolume, 950.75},
            {Answer::PriceGrowthPercent, 6.5},
            {Answer::ElectricityVolume, 120000},
            {Answer::SecurityAlarmCosts, 36000},
            {Answer::FireSafetyCosts, 48000.8},
            {Answer::BuildingArea, 1250.5},
            {Answer::TerritoryCosts, 150000},
            {Answer::MovablePropertyCosts, 80000},
            {Answer::InsuranceCosts, 12000},
            {Answer::PropertyValueJan1, 15000000},
            {Answer::PropertyValueDec1, 14000000},
            {Answer::LandCadastralValue, 9000000},
            {Answer::FoodAndServicesCosts, 3600000},
            {Answer::OtherCosts, 250000},
            {Answer::ColdWaterTariff, 25.4},
            {Answer::SewageTariff, 18.2},
            {Answer::HotWaterTariff, 110.5},
            {Answer::WaterHeatingTariff, 95},
            {Answer::HeatTariff, 1450.3},
            {Answer::ElectricityTariff, 4.25},
            {Answer::RepairCostPerM2, 350},
            {Answer::PropertyTaxRate, 2.2},
            {Answer::LandTaxRate, 1.5},
            {Answer::ParentFeePerMonth, 1800},
        };
        for (const auto& [answer, value] : numbers) {
            QVERIFY2(r[answer] == FieldValue::number(value), answerInfo(answer).name);
        }
        const auto flag = [&](Flag f) { return r[f]; };
        QCOMPARE(flag(Flag::SettlementIsVillage), FieldValue::integer(1));
        QCOMPARE(flag(Flag::SettlementIsCity), FieldValue::integer(0));
        QCOMPARE(flag(Flag::KindPreschoolSenior), FieldValue::integer(0));
        QCOMPARE(flag(Flag::KindDevelopmentCentre), FieldValue::integer(0));
        QCOMPARE(flag(Flag::KindOther), FieldValue::integer(1));
        QCOMPARE(flag(Flag::FiveDayWeek), FieldValue::integer(0));
        QCOMPARE(flag(Flag::SixDayWeek), FieldValue::integer(1));
        QCOMPARE(r.wizardStep, 1);
        // Not in a workbook: the modes and the normatives stay as they were.
        QCOMPARE(r.useOwnPayrollData, FieldValue::integer(1));
        QCOMPARE(r.educationNorm, filledStore().record.educationNorm);

        const DistributionTable& t = store.distribution;
        QCOMPARE(t.recordCount, FieldValue::integer(4));
        const int expected[4][4] = {{1, 8, 1, 15}, {2, 5, 2, 40}, {3, 7, 4, 50}, {3, 3, 5, 15}};
        for (int i = 1; i <= 4; ++i) {
            const auto* e = expected[i - 1];
            QCOMPARE(chosenItem(t, i, Kind::AgeClass), e[0]);
            QCOMPARE(chosenItem(t, i, Kind::StayMode), e[1]);
            QCOMPARE(chosenItem(t, i, Kind::Orientation), e[2]);
            QCOMPARE(t.pupils(i), Currency::fromWhole(e[3]));
        }
        // Record 5 lies below the count in the form: as it was.
        QCOMPARE(chosenItem(t, 5, Kind::StayMode), 6);
        QCOMPARE(t.pupils(5), Currency::fromRaw(50000));
    }

    void formChoices_data() {
        QTest::addColumn<CellValue>("settlement");
        QTest::addColumn<CellValue>("kind");
        QTest::addColumn<CellValue>("week");
        QTest::addColumn<QList<int>>("flags");
        const auto n = [](double v) { return CellValue::number(v); };
        const auto flags = [](Flag a, Flag b, Flag c) {
            return QList<int>{int(a), int(b), int(c)};
        };
        QTest::newRow("numbers 3, 3, 1")
            << n(3) << n(3) << n(1)
            << flags(Flag::SettlementIsVillage, Flag::KindPreschoolSenior, Flag::FiveDayWeek);
        QTest::newRow("texts")
            << text("село")
            << text("детский сад для детей предшкольного (старшего дошкольного) возраста")
            << text("пятидневный")
            << flags(Flag::SettlementIsVillage, Flag::KindPreschoolSenior, Flag::FiveDayWeek);
        QTest::newRow("numbers typed as text")
            << text("3") << text("8") << text("1")
            << flags(Flag::SettlementIsVillage, Flag::KindDevelopmentCentre, Flag::FiveDayWeek);
        QTest::newRow("development centre by number, others by other numbers")
            << n(1) << n(8) << n(2)
            << flags(Flag::SettlementIsCity, Flag::KindDevelopmentCentre, Flag::SixDayWeek);
        QTest::newRow("development centre by text")
            << text("город") << text("центр развития ребенка - детский сад") << text("шестидневный")
            << flags(Flag::SettlementIsCity, Flag::KindDevelopmentCentre, Flag::SixDayWeek);
        QTest::newRow("another number is the other kind")
            << n(3) << n(5) << n(6)
            << flags(Flag::SettlementIsVillage, Flag::KindOther, Flag::SixDayWeek);
        QTest::newRow("blanks") << CellValue() << CellValue() << CellValue()
                                << flags(Flag::SettlementIsCity, Flag::KindOther, Flag::SixDayWeek);
        QTest::newRow("texts compared exactly")
            << text("Село") << text("центр развития ребенка – детский сад") << text("пятидневный ")
            << flags(Flag::SettlementIsCity, Flag::KindOther, Flag::SixDayWeek);
        QTest::newRow("near numbers")
            << n(3.0000001) << n(8.5) << CellValue::boolean(true)
            << flags(Flag::SettlementIsCity, Flag::KindOther, Flag::SixDayWeek);
    }

    void formChoices() {
        QFETCH(CellValue, settlement);
        QFETCH(CellValue, kind);
        QFETCH(CellValue, week);
        QFETCH(QList<int>, flags);
        Workbook book = statForm();
        book.sheet(1).setValue(u"CC23", settlement);
        book.sheet(1).setValue(u"BJ23", kind);
        book.sheet(1).setValue(u"AR23", week);
        Store store(russian());
        const WorkbookLoadResult result = loadWorkbookIntoStore(bytesOf(book), store);
        QVERIFY2(result.ok, qPrintable(result.reason));
        for (const FlagDescriptor& info : flagTable()) {
            const int expected = flags.contains(int(info.flag)) ? 1 : 0;
            QVERIFY2(store.record[info.flag] == FieldValue::integer(expected), info.name);
        }
    }

    void formRecordKinds_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<CellValue>("value");
        QTest::addColumn<int>("item");
        const int age = 2;
        const int stay = 28;
        const int orientation = 58;
        const auto n = [](double v) { return CellValue::number(v); };
        QTest::newRow("age by number") << age << n(1) << 1;
        QTest::newRow("age by text") << age << text("от 2-х месяцев до 1-го года") << 1;
        QTest::newRow("age number out of range keeps the age") << age << n(4) << 3;
        QTest::newRow("age fraction keeps the age") << age << n(1.5) << 3;
        QTest::newRow("age blank keeps the age") << age << CellValue() << 3;
        QTest::newRow("stay 9 by number") << stay << n(9) << 9;
        QTest::newRow("stay by text") << stay << text("краткосрочные группы (до 4-х часов)") << 2;
        QTest::newRow("stay by number typed as text") << stay << text("7") << 7;
        QTest::newRow("stay unknown text keeps the stay") << stay << text("круглосуточно") << 5;
        QTest::newRow("stay 0 keeps the stay") << stay << n(0) << 5;
        QTest::newRow("orientation 6 by number") << orientation << n(6) << 6;
        QTest::newRow("orientation with an en dash")
            << orientation
            << text(
                   "группы для детей с нарушением слуха (слабослышащих), опорно \u2013 "
                   "двигательного аппарата, с умственной отсталостью средней и тяжелой степени")
            << 4;
        QTest::newRow("orientation with a hyphen keeps the orientation")
            << orientation
            << text(
                   "группы для детей с нарушением слуха (слабослышащих), опорно - двигательного "
                   "аппарата, с умственной отсталостью средней и тяжелой степени")
            << 1;
        QTest::newRow("orientation 7 keeps the orientation") << orientation << n(7) << 1;
    }

    // A record kind matches an item by its text or its number; anything else keeps what the
    // record held before (age 3, stay 5, orientation 1).
    void formRecordKinds() {
        QFETCH(int, column);
        QFETCH(CellValue, value);
        QFETCH(int, item);
        Workbook book = statForm();
        book.sheet(2).setValue(7, column, value);
        Store store(russian());
        formatstest::setRecords(store, {{3, 5, 1, 0}});
        const WorkbookLoadResult result = loadWorkbookIntoStore(bytesOf(book), store);
        QVERIFY2(result.ok, qPrintable(result.reason));
        const Kind kind = column == 2    ? Kind::AgeClass
                          : column == 28 ? Kind::StayMode
                                         : Kind::Orientation;
        QCOMPARE(chosenItem(store.distribution, 1, kind), item);
    }

    void accepted_data() {
        QTest::addColumn<Mutation>("mutation");
        QTest::addColumn<FieldValue>("pupilCount");
        QTest::addColumn<Currency>("recordPupils");
        QTest::addColumn<int>("records");
        const auto f23 = [](CellValue v) {
            return Mutation([v](Workbook& b) { b.sheet(1).setValue(u"F23", v); });
        };
        QTest::newRow("pupil count blank")
            << f23(CellValue()) << FieldValue() << Currency::fromWhole(10) << 1;
        QTest::newRow("pupil count typed as text")
            << f23(text("10,5")) << FieldValue::text(QStringLiteral("10,5"))
            << Currency::fromWhole(10) << 1;
        QTest::newRow("pupil count only blanks")
            << f23(text("  ")) << FieldValue::text(QStringLiteral("  ")) << Currency::fromWhole(10)
            << 1;
        QTest::newRow("record pupils blank")
            << Mutation([](Workbook& b) { b.sheet(2).setValue(u"CU7", CellValue()); })
            << FieldValue::number(10) << Currency() << 1;
        QTest::newRow("record pupils typed with a group separator")
            << Mutation([](Workbook& b) { b.sheet(2).setText(u"CU7", QStringLiteral("1 000,25")); })
            << FieldValue::number(10) << Currency::fromRaw(10002500) << 1;
        QTest::newRow("record pupils not entered")
            << Mutation([](Workbook& b) { b.sheet(2).setNumber(u"CU7", 79265830346); })
            << FieldValue::number(10) << DistributionTable::notEnteredPupils() << 1;
        QTest::newRow("record count typed as text")
            << Mutation([](Workbook& b) { b.sheet(2).setText(u"A4", QStringLiteral("2")); })
            << FieldValue::number(10) << Currency::fromWhole(10) << 2;
        QTest::newRow("42 records")
            << Mutation([](Workbook& b) { b.sheet(2).setNumber(u"A4", 42); })
            << FieldValue::number(10) << Currency::fromWhole(10) << 42;
        QTest::newRow("marker typed as text") << Mutation([](Workbook& b) {
            b.sheet(1).setText(u"EH17", QStringLiteral("11123545"));
        }) << FieldValue::number(10) << Currency::fromWhole(10)
                                              << 1;
        QTest::newRow("both markers: the form wins") << Mutation([](Workbook& b) {
            b.sheet(1).setNumber(u"H124", 11123546);
            b.sheet(1).setNumber(u"H125", 7);
        }) << FieldValue::number(10) << Currency::fromWhole(10)
                                                     << 1;
    }

    void accepted() {
        QFETCH(Mutation, mutation);
        QFETCH(FieldValue, pupilCount);
        QFETCH(Currency, recordPupils);
        QFETCH(int, records);
        Workbook book = statForm();
        mutation(book);
        Store store(russian());
        const WorkbookLoadResult result = loadWorkbookIntoStore(bytesOf(book), store);
        QVERIFY2(result.ok, qPrintable(result.reason));
        QCOMPARE(result.kind, LoadedWorkbookKind::StatisticalForm);
        QCOMPARE(store.record[Answer::PupilCount], pupilCount);
        QCOMPARE(store.distribution.pupils(1), recordPupils);
        QCOMPARE(store.distribution.recordCount, FieldValue::integer(records));
    }

    void refused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const auto form = [this](const Mutation& m) {
            Workbook book = statForm();
            m(book);
            return bytesOf(book);
        };
        const auto report = [this](const Mutation& m) {
            Workbook book = buildSavedReport(formatstest::reportStore());
            m(book);
            return bytesOf(book);
        };
        const QByteArray good = bytesOf(statForm());
        QTest::newRow("empty file") << QByteArray() << "пуст";
        QTest::newRow("plain text") << QByteArray("PupilCount;45\n") << "не является книгой";
        QTest::newRow("answers document")
            << QByteArray(R"({"PlanningYear": "2011"})") << "не является книгой";
        QTest::newRow("cut short") << good.left(good.size() / 2) << "";
        QTest::newRow("no marker")
            << form([](Workbook& b) { b.sheet(1).setValue(u"EH17", {}); }) << "EH17";
        QTest::newRow("report marker in EH17, nothing in H124")
            << form([](Workbook& b) { b.sheet(1).setNumber(u"EH17", 11123546); }) << "H124";
        QTest::newRow("marker near the value")
            << form([](Workbook& b) { b.sheet(1).setNumber(u"EH17", 11123545.5); }) << "EH17";
        QTest::newRow("form of five sheets") << [this] {
            Workbook book;
            book.addSheet().setNumber(u"EH17", 11123545);
            for (int i = 2; i <= 5; ++i) book.addSheet().setNumber(u"A4", 1);
            return bytesOf(book);
        }() << "5 лист";
        const auto count = [&](CellValue v) {
            return form([v](Workbook& b) { b.sheet(2).setValue(u"A4", v); });
        };
        QTest::newRow("record count 0") << count(CellValue::number(0)) << "записей";
        QTest::newRow("record count 43") << count(CellValue::number(43)) << "записей";
        QTest::newRow("record count 2.5") << count(CellValue::number(2.5)) << "записей";
        QTest::newRow("record count negative") << count(CellValue::number(-1)) << "записей";
        QTest::newRow("record count blank") << count(CellValue()) << "записей";
        QTest::newRow("record count in words") << count(text("три")) << "записей";
        QTest::newRow("pupil count in words")
            << form([](Workbook& b) { b.sheet(1).setText(u"F23", QStringLiteral("сорок")); })
            << "F23";
        QTest::newRow("pupil count TRUE")
            << form([](Workbook& b) { b.sheet(1).setValue(u"F23", CellValue::boolean(true)); })
            << "F23";
        QTest::newRow("pupil count an error value")
            << form([](Workbook& b) { b.sheet(1).setText(u"F23", QStringLiteral("#DIV/0!")); })
            << "F23";
        QTest::newRow("record pupils in words")
            << form([](Workbook& b) { b.sheet(2).setText(u"CU7", QStringLiteral("много")); })
            << "CU7";
        QTest::newRow("record pupils beyond the currency range")
            << form([](Workbook& b) { b.sheet(2).setNumber(u"CU7", 1e300); }) << "CU7";
        QTest::newRow("a later record's pupils in words") << form([](Workbook& b) {
            b.sheet(2).setNumber(u"A4", 3);
            b.sheet(2).setText(u"CU9", QStringLiteral("x"));
        }) << "CU9";
        // Hostile packages: the readers' caps refuse them like any wrong file.
        {
            const QByteArray marker = "<row r=\"17\"><c r=\"EH17\"><v>11123545</v></c></row>";
            const QByteArray sheet = "xl/worksheets/sheet1.xml";
            std::vector<testsupport::ZipEntry> bomb = testsupport::packageEntries(marker);
            std::vector<testsupport::ZipEntry> doctype = bomb;
            for (auto& e : bomb) {
                if (e.name != sheet) continue;
                e.data = testsupport::deflateZeros(17 * 1024 * 1024);
                e.method = 8;
                e.compressedSize = static_cast<std::uint32_t>(e.data.size());
                e.size = 1000;  // declared small: the inflated bytes count
            }
            for (auto& e : doctype) {
                if (e.name != sheet) continue;
                e = testsupport::storedEntry(
                    sheet, "<?xml version=\"1.0\"?><!DOCTYPE w [<!ENTITY x \"y\">]>" +
                               testsupport::sheetXml(marker));
            }
            QTest::newRow("a part inflating past its cap")
                << testsupport::buildZip(bomb) << "sheet1.xml";
            QTest::newRow("XML with a DOCTYPE") << testsupport::buildZip(doctype) << "DOCTYPE";
        }
        QTest::newRow("report without its second sheet") << [this] {
            Workbook book;
            Sheet& s = book.addSheet();
            s.setNumber(u"H124", 11123546);
            s.setNumber(u"H125", 1);
            return bytesOf(book);
        }() << "1 лист";
        QTest::newRow("report of 43 records")
            << report([](Workbook& b) { b.sheet(1).setNumber(u"H125", 43); }) << "H125";
        QTest::newRow("report without a record count")
            << report([](Workbook& b) { b.sheet(1).setValue(u"H125", {}); }) << "H125";
        QTest::newRow("report pupil count in words")
            << report([](Workbook& b) { b.sheet(1).setText(u"B6", QStringLiteral("нет")); })
            << "B6";
        QTest::newRow("report record pupils in words")
            << report([](Workbook& b) { b.sheet(2).setText(u"E7", QStringLiteral("двадцать")); })
            << "E7";
    }

    // A refused file leaves every field and every record as it was and gives the loading
    // window's wrong-file message.
    void refused() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        Store store = filledStore();
        const Store before = store;
        QElapsedTimer timer;
        timer.start();
        const WorkbookLoadResult result = loadWorkbookIntoStore(bytes, store);
        QVERIFY(timer.elapsed() < 2000);
        QVERIFY(!result.ok);
        QCOMPARE(result.message, QStringLiteral("Указанный Вами файл не является требуемой формой "
                                                "статистической отчетности"));
        QVERIFY2(result.reason.contains(reason), qPrintable(result.reason));
        QVERIFY(formatstest::sameRecord(store.record, before.record));
        QVERIFY(formatstest::sameDistribution(store.distribution, before.distribution));
    }

    void savedReportRoundTrip_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("written by the program") << QString();
        QTest::newRow("re-saved by another program")
            << kFixtures + QStringLiteral("/reports/report_openpyxl.xlsx");
    }

    // A saved report gives back every answer of B4..B41 (typed numbers as numbers, the
    // marker as the marker), the three choices and every record; the wizard restarts at
    // step 1 showing the pupil count.
    void savedReportRoundTrip() {
        QFETCH(QString, path);
        if (path.isEmpty()) {
            path = dir_.filePath(QStringLiteral("roundtrip.xlsx"));
            QVERIFY(saveWorkbook(buildSavedReport(formatstest::reportStore()), path).ok());
        }
        Store store(russian());
        store.record.wizardStep = Step::kResult;
        formatstest::setRecords(store, {{1, 1, 1, 10000},
                                        {1, 1, 1, 10000},
                                        {1, 1, 1, 10000},
                                        {1, 1, 1, 10000},
                                        {1, 1, 1, 10000},
                                        {2, 2, 2, 20000}});
        store.record.educationNorm = FieldValue::number(1);

        const WorkbookLoadResult result = loadWorkbookFileIntoStore(path, store);
        QVERIFY2(result.ok, qPrintable(result.reason));
        QCOMPARE(result.kind, LoadedWorkbookKind::SavedReport);
        const InstitutionRecord& r = store.record;
        QCOMPARE(r.institutionName,
                 FieldValue::text(QStringLiteral("дошкольное образовательное учреждение №7")));
        QCOMPARE(r.planningYear, FieldValue::number(2011));
        for (const auto& a : formatstest::reportAnswers()) {
            QVERIFY2(r[a.answer] == a.loaded,
                     qPrintable(QStringLiteral("%1: %2").arg(
                         QLatin1String(answerInfo(a.answer).name),
                         QString::fromUtf8(QTest::toString(r[a.answer])))));
        }
        const Store written = formatstest::reportStore();
        QCOMPARE(r.flags, written.record.flags);
        QCOMPARE(r.wizardStep, 1);
        QCOMPARE(r.shownText(Answer::PupilCount, store.locale), QStringLiteral("45"));
        QCOMPARE(r.shownText(Answer::HeatedWaterVolume, store.locale), QString());
        QCOMPARE(r.educationNorm, FieldValue::number(1));  // the results are not read

        const DistributionTable& t = store.distribution;
        QCOMPARE(t.recordCount, FieldValue::integer(5));
        for (int i = 1; i <= 5; ++i) {
            for (Kind kind :
                 {Kind::AgeClass, Kind::StayMode, Kind::Orientation, Kind::GroupPupilCount}) {
                if (i == 4 && kind == Kind::AgeClass) continue;  // saved without one
                for (int item = 1; item <= kItemCount; ++item) {
                    QVERIFY2(t.cell(i, kind, item) == written.distribution.cell(i, kind, item),
                             qPrintable(QStringLiteral("record %1").arg(i)));
                }
            }
        }
        // Record 4 was saved without an age: it keeps the one it had.
        QCOMPARE(chosenItem(t, 4, Kind::AgeClass), 1);
        QVERIFY(t.pupilsNotEntered(5));
        QCOMPARE(chosenItem(t, 6, Kind::AgeClass), 2);
        QCOMPARE(t.pupils(6), Currency::fromRaw(20000));
    }

    void files() {
        Store store = filledStore();
        const Store before = store;
        const auto refusedWithStoreKept = [&](const QString& path) {
            const WorkbookLoadResult result = loadWorkbookFileIntoStore(path, store);
            return !result.ok && result.message == loaderTexts().wrongFile &&
                   formatstest::sameRecord(store.record, before.record) &&
                   formatstest::sameDistribution(store.distribution, before.distribution);
        };
        QVERIFY(refusedWithStoreKept(dir_.filePath(QStringLiteral("missing.xlsx"))));
        QVERIFY(refusedWithStoreKept(dir_.path()));

        // A file over 20 MiB is refused before it is read.
        QFile big(dir_.filePath(QStringLiteral("big.xlsx")));
        QVERIFY(big.open(QIODevice::WriteOnly));
        big.write("PK\x03\x04");
        QVERIFY(big.resize(21 * 1024 * 1024));
        big.close();
        QElapsedTimer timer;
        timer.start();
        QVERIFY(refusedWithStoreKept(big.fileName()));
        QVERIFY(timer.elapsed() < 2000);

        const WorkbookLoadResult good =
            loadWorkbookFileIntoStore(kFixtures + QStringLiteral("/statforms/statform.xls"), store);
        QVERIFY2(good.ok, qPrintable(good.reason));
        QCOMPARE(store.record[Answer::PupilCount], FieldValue::number(120));
    }

  private:
    QByteArray bytesOf(const Workbook& book) {
        const QString path = dir_.filePath(QStringLiteral("book%1.xlsx").arg(++files_));
        const Status saved = saveWorkbook(book, path);
        if (!saved.ok()) qWarning("%s", qPrintable(saved.error()));
        return readAll(path);
    }

    QTemporaryDir dir_;
    int files_ = 0;
};

QTEST_GUILESS_MAIN(TestWorkbookLoader)
#include "test_workbookloader.moc"
