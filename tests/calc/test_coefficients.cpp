#include "calctesthelpers.h"
#include "methodology.h"
#include "normativecalculation.h"

#include <QtTest>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

using namespace normativ;
using namespace calctest;

Q_DECLARE_METATYPE(normativ::FieldValue)

class TestCoefficients : public QObject {
    Q_OBJECT
  private slots:
    void groupCountTable_data();
    void groupCountTable();
    void keptCoefficient_data();
    void keptCoefficient();
    void standardWayKeepsUnitServiceFactors();
    void refusedStageKeepsEarlierCoefficients();
};

void TestCoefficients::groupCountTable_data() {
    QTest::addColumn<double>("groups");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<float>("coefficient");
    QTest::newRow("1 group") << 1.0 << true << 3.0f;
    QTest::newRow("2 groups") << 2.0 << true << 1.5f;
    QTest::newRow("3 groups") << 3.0 << true << 1.0f;
    QTest::newRow("12 groups") << 12.0 << true << 0.5825123f;
    QTest::newRow("16 groups, the table is not monotonic") << 16.0 << true << 0.48860836f;
    QTest::newRow("30 groups") << 30.0 << true << 0.37044334f;
    QTest::newRow("31 groups") << 31.0 << true << 0.35849357f;
    QTest::newRow("500 groups") << 500.0 << true << 0.35849357f;
    QTest::newRow("0 groups") << 0.0 << false << 0.0f;
    QTest::newRow("negative") << -2.0 << false << 0.0f;
    QTest::newRow("fraction") << 2.5 << false << 0.0f;
    QTest::newRow("fraction above 30") << 30.5 << false << 0.0f;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << false << 0.0f;
}

void TestCoefficients::groupCountTable() {
    QFETCH(double, groups);
    QFETCH(bool, exists);
    QFETCH(float, coefficient);
    const auto result = Methodology::example()->groupCountCoefficient(groups);
    QCOMPARE(result.has_value(), exists);
    if (exists) QCOMPARE(*result, coefficient);
}

namespace {

struct CoefficientCase {
    const char* name;
    std::function<void(Store&)> change;
    FieldValue KeptCoefficients::*field;
    FieldValue expected;
};

void setYear(Store& s, const char* year) {
    s.record.planningYear = FieldValue::text(QString::fromLatin1(year));
}

const std::vector<CoefficientCase>& coefficientCases() {
    using K = KeptCoefficients;
    static const std::vector<CoefficientCase> cases{
        {"2010 plans with the double 1.262", [](Store& s) { setYear(s, "2010"); },
         &K::planningYearIndex, FieldValue::number(1.262)},
        {"2011 plans with the single 1.342", [](Store& s) { setYear(s, "2011"); },
         &K::planningYearIndex, FieldValue::single(1.342f)},
        {"2012 plans with the single 1.342", [](Store& s) { setYear(s, "2012"); },
         &K::planningYearIndex, FieldValue::single(1.342f)},
        {"12 months give 1.09",
         [](Store& s) {
             setAnswers(s, {{Answer::MonthsOfOperation, "12"}});
         },
         &K::longYearCoefficient, FieldValue::number(1.09)},
        {"11 months give 1",
         [](Store& s) {
             setAnswers(s, {{Answer::MonthsOfOperation, "11"}});
         },
         &K::longYearCoefficient, FieldValue::integer(1)},
        {"11,5 months give 1.09",
         [](Store& s) {
             setAnswers(s, {{Answer::MonthsOfOperation, "11,5"}});
         },
         &K::longYearCoefficient, FieldValue::number(1.09)},
        {"village gives 1.25", [](Store& s) { s.record.setChoice(Flag::SettlementIsVillage); },
         &K::villageCoefficient, FieldValue::single(1.25f)},
        {"village support gives 0.8428571",
         [](Store& s) { s.record.setChoice(Flag::SettlementIsVillage); },
         &K::villageSupportCoefficient, FieldValue::single(0.8428571f)},
        {"city gives 1", [](Store& s) { s.record.setChoice(Flag::SettlementIsCity); },
         &K::villageCoefficient, FieldValue::integer(1)},
        {"city support gives 1", [](Store& s) { s.record.setChoice(Flag::SettlementIsCity); },
         &K::villageSupportCoefficient, FieldValue::integer(1)},
        {"other kind gives 1 without own payroll",
         [](Store& s) { s.record.setChoice(Flag::KindOther); }, &K::institutionKindCoefficient,
         FieldValue::integer(1)},
        {"other kind gives 1 with own payroll",
         [](Store& s) {
             s.record.setChoice(Flag::KindOther);
             s.record.useOwnPayrollData = FieldValue::integer(1);
         },
         &K::institutionKindCoefficient, FieldValue::integer(1)},
        {"older-children kindergarten gives 1.1 without own payroll",
         [](Store& s) { s.record.setChoice(Flag::KindPreschoolSenior); },
         &K::institutionKindCoefficient, FieldValue::single(1.1f)},
        {"development centre gives 1.1 without own payroll",
         [](Store& s) { s.record.setChoice(Flag::KindDevelopmentCentre); },
         &K::institutionKindCoefficient, FieldValue::single(1.1f)},
        {"development centre gives 1 with own payroll",
         [](Store& s) {
             s.record.setChoice(Flag::KindDevelopmentCentre);
             s.record.useOwnPayrollData = FieldValue::integer(1);
         },
         &K::institutionKindCoefficient, FieldValue::integer(1)},
        {"five-day week gives 1", [](Store& s) { s.record.setChoice(Flag::FiveDayWeek); },
         &K::sixDayWeekCoefficient, FieldValue::integer(1)},
        {"six-day week gives the single 1.2",
         [](Store& s) { s.record.setChoice(Flag::SixDayWeek); }, &K::sixDayWeekCoefficient,
         FieldValue::single(1.2f)},
        {"no week answer counts as six days",
         [](Store& s) {
             s.record[Flag::FiveDayWeek] = FieldValue();
             s.record[Flag::SixDayWeek] = FieldValue();
         },
         &K::sixDayWeekCoefficient, FieldValue::single(1.2f)},
        {"six-day staff week gives the double 1.2",
         [](Store& s) { s.record.setChoice(Flag::SixDayWeek); }, &K::staffWeekCoefficient,
         FieldValue::number(1.2)},
        {"five-day staff week gives 1", [](Store& s) { s.record.setChoice(Flag::FiveDayWeek); },
         &K::staffWeekCoefficient, FieldValue::integer(1)},
        {"31 groups",
         [](Store& s) {
             setAnswers(s, {{Answer::GroupCount, "31"}});
         },
         &K::groupCountCoefficient, FieldValue::single(0.35849357f)},
        {"30 groups",
         [](Store& s) {
             setAnswers(s, {{Answer::GroupCount, "30"}});
         },
         &K::groupCountCoefficient, FieldValue::single(0.37044334f)},
        {"3 groups",
         [](Store& s) {
             setAnswers(s, {{Answer::GroupCount, "3"}});
         },
         &K::groupCountCoefficient, FieldValue::single(1.0f)},
        {"payroll defaults accrue 1.5", [](Store&) {}, &K::payrollAccrualFactor,
         FieldValue::number(1.5)},
    };
    return cases;
}

}  // namespace

void TestCoefficients::keptCoefficient_data() {
    QTest::addColumn<int>("index");
    for (std::size_t i = 0; i < coefficientCases().size(); ++i) {
        QTest::newRow(coefficientCases()[i].name) << static_cast<int>(i);
    }
}

void TestCoefficients::keptCoefficient() {
    QFETCH(int, index);
    const CoefficientCase& c = coefficientCases()[static_cast<std::size_t>(index)];
    Store store(russian());
    fillStandardRecord(store);
    c.change(store);
    const ResultTexts result = runNormativeCalculation(store);
    QCOMPARE(result.education, StageOutcome::Computed);
    QCOMPARE(result.maintenance, StageOutcome::Computed);
    QCOMPARE(store.coefficients.*c.field, c.expected);
}

void TestCoefficients::standardWayKeepsUnitServiceFactors() {
    Store store(russian());
    fillStandardRecord(store);
    store.coefficients.serviceStaffCostIndex = FieldValue::number(7);
    QCOMPARE(runMaintenanceStage(store), StageOutcome::Computed);
    const KeptCoefficients& kept = store.coefficients;
    for (int k = 0; k < kServiceItemCount; ++k) {
        QCOMPARE(kept.serviceItemMonthsFactor[k], FieldValue::integer(1));
        QCOMPARE(kept.serviceItemWeekFactor[k], FieldValue::integer(1));
        QCOMPARE(kept.serviceItemSettlementFactor[k], FieldValue::integer(1));
        QCOMPARE(kept.serviceItemKindFactor[k], FieldValue::integer(1));
        QCOMPARE(kept.serviceItemLoadFactor[k], kept.serviceItemLoadFactor[0]);
    }
    // Only the own-data way computes the staff cost index.
    QCOMPARE(kept.serviceStaffCostIndex, FieldValue::number(7));
}

void TestCoefficients::refusedStageKeepsEarlierCoefficients() {
    Store store(russian());
    fillOwnDataRecord(store);
    QCOMPARE(runEducationStage(store), StageOutcome::Computed);
    QCOMPARE(runMaintenanceStage(store), StageOutcome::Computed);
    const KeptCoefficients before = store.coefficients;
    const InstitutionRecord recordBefore = store.record;

    // A later run with a changed year and no pupil count refuses both stages.
    store.record.planningYear = FieldValue::text(QStringLiteral("2010"));
    setAnswers(store, {{Answer::PupilCount, ""}, {Answer::GroupCount, "31"}});
    QCOMPARE(runEducationStage(store), StageOutcome::Refused);
    QCOMPARE(runMaintenanceStage(store), StageOutcome::Refused);
    QCOMPARE(store.coefficients.planningYearIndex, before.planningYearIndex);
    QCOMPARE(store.coefficients.groupCountCoefficient, before.groupCountCoefficient);
    QCOMPARE(store.coefficients.educationLoadFactor, before.educationLoadFactor);
    QCOMPARE(store.coefficients.serviceStaffCostIndex, before.serviceStaffCostIndex);
    QCOMPARE(store.coefficients.groupWeightTable, before.groupWeightTable);
    QCOMPARE(store.record.educationNorm, recordBefore.educationNorm);
    QCOMPARE(store.record.maintenanceNorm, recordBefore.maintenanceNorm);
}

QTEST_GUILESS_MAIN(TestCoefficients)
#include "test_coefficients.moc"
