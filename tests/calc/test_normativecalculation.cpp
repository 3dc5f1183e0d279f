#include "calctesthelpers.h"
#include "fullcases.h"
#include "methodology.h"
#include "normativecalculation.h"
#include "numbers.h"

#include <QtTest>
#include <array>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

using namespace normativ;
using namespace calctest;

namespace {

QLocale localeNamed(const QString& name) {
    return name == QLatin1String("ru") ? russian() : english();
}

void fillFromCase(Store& store, const FullCase& c) {
    store.record.planningYear = FieldValue::text(QString::fromLatin1(c.year));
    store.record.useOwnPayrollData = FieldValue::integer(c.ownPayroll);
    store.record.useOwnServicesData = FieldValue::integer(c.ownServices);
    for (const auto& [name, text] : c.answers) {
        const auto answer = answerByName(QString::fromLatin1(name));
        QVERIFY(answer);
        store.record.storeAnswer(*answer, QString::fromUtf8(text), store.locale);
    }
    if (c.ownPayroll == 0) store.record.writePayrollDefaults(store.methodology->payrollDefaults);
    for (const char* flag : c.flags) {
        const auto f = flagByName(QString::fromLatin1(flag));
        QVERIFY(f);
        store.record.setChoice(*f);
    }
    setRecordList(store, c.records);
}

const QString kInvalid = calcTexts().invalidInput;
const QString kUnset = QStringLiteral("(unchanged)");

QStringList shownTexts(const ResultTexts& r) {
    QStringList out;
    for (const auto& t : r.texts) out << t.value_or(kUnset);
    return out;
}

}  // namespace

class TestNormativeCalculation : public QObject {
    Q_OBJECT
  private slots:
    void fullCase_data();
    void fullCase();
    void ownDataReadsCommasAndPointsAlike();
    void standardItemsAddTheirBases();
    void negativeMaintenanceNormIsShown();
    void refusal_data();
    void refusal();
    void resultTexts_data();
    void resultTexts();
    void derivedAmountsUseUnroundedNorms();
};

void TestNormativeCalculation::fullCase_data() {
    QTest::addColumn<int>("index");
    for (std::size_t i = 0; i < fullCases().size(); ++i) {
        QTest::newRow(fullCases()[i].name) << static_cast<int>(i);
    }
}

void TestNormativeCalculation::fullCase() {
    QFETCH(int, index);
    const FullCase& c = fullCases()[static_cast<std::size_t>(index)];
    Store store(localeNamed(QString::fromLatin1(c.locale)));
    fillFromCase(store, c);

    const ResultTexts result = runNormativeCalculation(store);
    QCOMPARE(result.education, StageOutcome::Computed);
    QCOMPARE(result.maintenance, StageOutcome::Computed);
    const KeptCoefficients& kept = store.coefficients;
    const QLocale& l = store.locale;
    CALC_COMPARE_EXACT(kept.payrollAccrualFactor.toDouble(l), c.accrual);
    CALC_COMPARE_EXACT(kept.teacherAnnualCost.toDouble(l), c.teacherCost);
    CALC_COMPARE_EXACT(kept.educationLoadFactor.toDouble(l), c.educationLoad);
    CALC_COMPARE_EXACT(kept.educationSupportLoadFactor.toDouble(l), c.educationSupportLoad);
    CALC_COMPARE_EXACT(store.record.educationNorm.toDouble(l), c.educationNorm);
    CALC_COMPARE_EXACT(kept.groupCountCoefficient.toDouble(l), c.groupCount);
    CALC_COMPARE_EXACT(kept.maintenanceLoadFactorA.toDouble(l), c.maintenanceLoadA);
    CALC_COMPARE_EXACT(kept.maintenanceLoadFactorB.toDouble(l), c.maintenanceLoadB);
    CALC_COMPARE_EXACT(kept.maintenancePayrollPartA.toDouble(l), c.payrollPartA);
    CALC_COMPARE_EXACT(kept.maintenancePayrollPartB.toDouble(l), c.payrollPartB);
    CALC_COMPARE_EXACT(store.record.maintenanceNorm.toDouble(l), c.maintenanceNorm);
    if (c.staffCostIndex)
        CALC_COMPARE_EXACT(kept.serviceStaffCostIndex.toDouble(l), *c.staffCostIndex);
    if (c.serviceItemLoad) {
        for (const FieldValue& load : kept.serviceItemLoadFactor) {
            CALC_COMPARE_EXACT(load.toDouble(l), *c.serviceItemLoad);
        }
    }
    for (std::size_t i = 0; i < c.lastWeights.size(); ++i) {
        QCOMPARE(kept.groupWeightTable[i].raw(), c.lastWeights[i]);
    }

    QStringList expectedTexts;
    for (const char* t : c.texts) expectedTexts << QString::fromLatin1(t);
    QCOMPARE(shownTexts(result), expectedTexts);
    QVERIFY(result.buttonsVisible);
    QVERIFY(result.derived);
    CALC_COMPARE_EXACT(result.derived->totalSubsidy, c.totalSubsidy);
}

void TestNormativeCalculation::ownDataReadsCommasAndPointsAlike() {
    // The own-data case typed with decimal points in English and with decimal commas in
    // Russian ("1250,5" square metres count as 1250.5, not 1250) gives the same figures.
    const FullCase* english = nullptr;
    for (const FullCase& c : fullCases()) {
        if (c.ownServices == 1 && QLatin1String(c.locale) == QLatin1String("en")) english = &c;
    }
    QVERIFY(english);
    std::vector<QByteArray> russianTexts;
    russianTexts.reserve(english->answers.size());
    FullCase russianCase = *english;
    russianCase.locale = "ru";
    for (auto& [name, text] : russianCase.answers) {
        russianTexts.push_back(QByteArray(text).replace('.', ','));
        text = russianTexts.back().constData();
    }
    Store store(russian());
    fillFromCase(store, russianCase);
    const ResultTexts result = runNormativeCalculation(store);
    QVERIFY(result.buttonsVisible);
    CALC_COMPARE_EXACT(store.record.educationNorm.toDouble(store.locale), english->educationNorm);
    CALC_COMPARE_EXACT(store.record.maintenanceNorm.toDouble(store.locale),
                       english->maintenanceNorm);
}

void TestNormativeCalculation::standardItemsAddTheirBases() {
    // Ten older children staying six hours in general groups weigh 1 for every standard
    // item, so the items add their bases, 41651.91 roubles.
    Store store(russian());
    fillStandardRecord(store);
    setRecords(store, {{3, 4, 1, "10"}});
    setAnswers(store, {{Answer::PupilCount, "10"}, {Answer::ParentFeePerMonth, "0"}});
    QCOMPARE(runMaintenanceStage(store), StageOutcome::Computed);
    const KeptCoefficients& kept = store.coefficients;
    for (const FieldValue& load : kept.serviceItemLoadFactor)
        CALC_COMPARE_EXACT(load.toDouble(store.locale), 1.0);
    const double payroll = kept.maintenancePayrollPartB.toDouble(store.locale) +
                           kept.maintenancePayrollPartA.toDouble(store.locale);
    const double items = store.record.maintenanceNorm.toDouble(store.locale) - payroll;
    QCOMPARE(formatFixed(items, 2, store.locale), QStringLiteral("41651,91"));

    // The same record with 20 pupils in 12-hour groups weighs 1 in both education sets.
    setRecords(store, {{3, 7, 1, "20"}});
    setAnswers(store, {{Answer::PupilCount, "20"}});
    QCOMPARE(runEducationStage(store), StageOutcome::Computed);
    CALC_COMPARE_EXACT(kept.educationLoadFactor.toDouble(store.locale), 1.0);
    CALC_COMPARE_EXACT(kept.educationSupportLoadFactor.toDouble(store.locale), 1.0);
}

void TestNormativeCalculation::negativeMaintenanceNormIsShown() {
    Store store(russian());
    fillStandardRecord(store);
    setAnswers(store, {{Answer::ParentFeePerMonth, "100000"}});
    const ResultTexts result = runNormativeCalculation(store);
    QCOMPARE(result.maintenance, StageOutcome::Computed);
    const double norm = store.record.maintenanceNorm.toDouble(store.locale);
    QVERIFY(norm < 0);
    QCOMPARE(*result.text(2), formatFixed(norm, 0, store.locale));
    QVERIFY(result.text(2)->startsWith(QLatin1Char('-')));
    QVERIFY(result.buttonsVisible);
}

namespace {

enum class Base { Standard, OwnData };

struct RefusalCase {
    const char* name;
    Base base;
    std::function<void(Store&)> change;
    StageOutcome education;
    StageOutcome maintenance;
};

void answer(Store& s, Answer a, const char* text) {
    setAnswers(s, {{a, text}});
}

const std::vector<RefusalCase>& refusalCases() {
    constexpr auto C = StageOutcome::Computed;
    constexpr auto R = StageOutcome::Refused;
    constexpr auto N = StageOutcome::NotRun;
    constexpr auto S = Base::Standard;
    constexpr auto O = Base::OwnData;
    static const std::vector<RefusalCase> cases{
        {"pupil count 0", S, [](Store& s) { answer(s, Answer::PupilCount, "0"); }, R, R},
        {"pupil count not entered", S, [](Store& s) { answer(s, Answer::PupilCount, ""); }, R, R},
        {"pupil count never asked", S,
         [](Store& s) { s.record[Answer::PupilCount] = FieldValue(); }, R, R},
        {"group count 0", S, [](Store& s) { answer(s, Answer::GroupCount, "0"); }, R, R},
        {"group count not entered", S, [](Store& s) { answer(s, Answer::GroupCount, "много"); }, R,
         R},
        {"no settlement chosen", S,
         [](Store& s) {
             s.record[Flag::SettlementIsVillage] = FieldValue();
             s.record[Flag::SettlementIsCity] = FieldValue();
         },
         R, R},
        {"no institution kind chosen", S,
         [](Store& s) {
             s.record[Flag::KindPreschoolSenior] = FieldValue::integer(0);
             s.record[Flag::KindDevelopmentCentre] = FieldValue::integer(0);
             s.record[Flag::KindOther] = FieldValue::integer(0);
         },
         R, R},
        {"minimum salary 0", O, [](Store& s) { answer(s, Answer::MinTeacherSalary, "0"); }, R, R},
        {"minimum salary not entered", O, [](Store& s) { answer(s, Answer::MinTeacherSalary, ""); },
         R, R},
        {"payroll fund not entered", O, [](Store& s) { answer(s, Answer::TeacherPayrollFund, ""); },
         R, R},
        {"compensation fund not entered", O,
         [](Store& s) { answer(s, Answer::TeacherCompensationFund, ""); }, R, R},
        {"incentive fund not entered", O,
         [](Store& s) { answer(s, Answer::TeacherIncentiveFund, ""); }, R, R},
        {"months not entered", S, [](Store& s) { answer(s, Answer::MonthsOfOperation, ""); }, R, R},
        {"payroll fund equal to compensation and incentive", O,
         [](Store& s) {
             setAnswers(s, {{Answer::TeacherPayrollFund, "2050000"},
                            {Answer::TeacherCompensationFund, "1200000"},
                            {Answer::TeacherIncentiveFund, "850000"}});
         },
         R, R},
        {"a record's pupil count not entered", S,
         [](Store& s) { s.distribution.storePupilText(2, QStringLiteral("двадцать"), s.locale); },
         R, R},
        {"salary so large the normative is infinite", O,
         [](Store& s) { answer(s, Answer::MinTeacherSalary, "1e308"); }, R, R},
        {"pupils so many the weights overflow", S,
         [](Store& s) {
             s.distribution.setCell(3, Kind::GroupPupilCount, 1,
                                    Currency::fromRaw(qint64(1) << 62));
         },
         R, R},
        {"fractional group count", S, [](Store& s) { answer(s, Answer::GroupCount, "2,5"); }, C, R},
        {"negative group count", S, [](Store& s) { answer(s, Answer::GroupCount, "-3"); }, C, R},
        {"parent fee not entered", S, [](Store& s) { answer(s, Answer::ParentFeePerMonth, ""); }, C,
         R},
        {"standard way ignores an unanswered tariff", S,
         [](Store& s) { answer(s, Answer::ColdWaterTariff, ""); }, C, C},
        {"no records", S, [](Store& s) { s.distribution.recordCount = FieldValue::integer(0); }, C,
         C},
        {"services way neither 0 nor 1", S,
         [](Store& s) { s.record.useOwnServicesData = FieldValue::integer(2); }, C, N},
        {"own data: service staff payroll not entered", O,
         [](Store& s) { answer(s, Answer::ServiceStaffPayrollFund, ""); }, C, R},
        {"own data: cold water tariff not entered", O,
         [](Store& s) { answer(s, Answer::ColdWaterTariff, ""); }, C, R},
        {"own data: parent fee not entered", O,
         [](Store& s) { answer(s, Answer::ParentFeePerMonth, ""); }, C, R},
        {"own data: repair cost not entered", O,
         [](Store& s) { answer(s, Answer::RepairCostPerM2, ""); }, C, R},
        {"own data: property tax rate not entered", O,
         [](Store& s) { answer(s, Answer::PropertyTaxRate, ""); }, C, R},
        {"own data: land tax rate not entered", O,
         [](Store& s) { answer(s, Answer::LandTaxRate, ""); }, C, R},
        {"own data: repair cost never asked counts 0", O,
         [](Store& s) { s.record[Answer::RepairCostPerM2] = FieldValue(); }, C, C},
        {"own data: letters loaded from a workbook count 0", O,
         [](Store& s) { s.record[Answer::BuildingArea] = FieldValue::text(QStringLiteral("abc")); },
         C, C},
    };
    return cases;
}

}  // namespace

void TestNormativeCalculation::refusal_data() {
    QTest::addColumn<int>("index");
    for (std::size_t i = 0; i < refusalCases().size(); ++i) {
        QTest::newRow(refusalCases()[i].name) << static_cast<int>(i);
    }
}

void TestNormativeCalculation::refusal() {
    QFETCH(int, index);
    const RefusalCase& c = refusalCases()[static_cast<std::size_t>(index)];
    Store store(russian());
    if (c.base == Base::Standard)
        fillStandardRecord(store);
    else
        fillOwnDataRecord(store);
    // Normatives of an earlier calculation: a refused stage must leave them.
    store.record.educationNorm = FieldValue::number(-1);
    store.record.maintenanceNorm = FieldValue::number(-2);
    c.change(store);

    const ResultTexts result = runNormativeCalculation(store);
    QCOMPARE(result.education, c.education);
    QCOMPARE(result.maintenance, c.maintenance);
    const bool educationRefused = c.education == StageOutcome::Refused;
    const bool maintenanceRefused = c.maintenance == StageOutcome::Refused;
    QCOMPARE(*result.text(1) == kInvalid, educationRefused);
    QCOMPARE(*result.text(4) == kInvalid, educationRefused);
    if (c.maintenance != StageOutcome::NotRun) {
        QCOMPARE(*result.text(2) == kInvalid, maintenanceRefused);
        QCOMPARE(*result.text(5) == kInvalid, maintenanceRefused);
        QCOMPARE(*result.text(3) == kInvalid, educationRefused || maintenanceRefused);
        QCOMPARE(*result.text(6) == kInvalid, educationRefused || maintenanceRefused);
    }
    const bool both = !educationRefused && c.maintenance == StageOutcome::Computed;
    QCOMPARE(result.buttonsVisible, both);
    QCOMPARE(result.derived.has_value(), both);
    QCOMPARE(store.record.educationNorm == FieldValue::number(-1), educationRefused);
    QCOMPARE(store.record.maintenanceNorm == FieldValue::number(-2),
             c.maintenance != StageOutcome::Computed);
}

void TestNormativeCalculation::resultTexts_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("educationNorm");
    QTest::addColumn<double>("maintenanceNorm");
    QTest::addColumn<QString>("pupils");
    QTest::addColumn<int>("education");
    QTest::addColumn<int>("maintenance");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<bool>("buttons");
    const int C = static_cast<int>(StageOutcome::Computed);
    const int R = static_cast<int>(StageOutcome::Refused);
    const int N = static_cast<int>(StageOutcome::NotRun);
    const QString x = kInvalid;
    const QString u = kUnset;
    QTest::newRow("totals from the rounded maintenance normative")
        << "ru" << 1000.4 << 2000.4 << "3" << C << C
        << QStringList{"1000", "2000", "3000", "3001", "6000", "9001"} << true;
    QTest::newRow("the same in English")
        << "en" << 1000.4 << 2000.4 << "3" << C << C
        << QStringList{"1000", "2000", "3000", "3001", "6000", "9001"} << true;
    QTest::newRow("halves round away from zero")
        << "ru" << 45678.5 << -12.5 << "1" << C << C
        << QStringList{"45679", "-13", "45666", "45679", "-13", "45666"} << true;
    QTest::newRow("fractional pupils, Text6 adds the rounded Text5")
        << "ru" << 1000.4 << 2000.6 << "2,5" << C << C
        << QStringList{"1000", "2001", "3001", "2501", "5003", "7504"} << true;
    QTest::newRow("refused education keeps an earlier normative out of the totals")
        << "ru" << 1000.4 << 2000.4 << "3" << R << C << QStringList{x, "2000", x, x, "6000", x}
        << false;
    QTest::newRow("refused maintenance") << "ru" << 1000.4 << 2000.4 << "3" << C << R
                                         << QStringList{"1000", x, x, "3001", x, x} << false;
    QTest::newRow("both refused") << "ru" << 1000.4 << 2000.4 << "3" << R << R
                                  << QStringList{x, x, x, x, x, x} << false;
    QTest::newRow("maintenance not run leaves its boxes")
        << "ru" << 1000.4 << 2000.4 << "3" << C << N << QStringList{"1000", u, u, "3001", u, u}
        << false;
    QTest::newRow("refused education, maintenance not run")
        << "ru" << 1000.4 << 2000.4 << "3" << R << N << QStringList{x, u, x, x, u, x} << false;
}

void TestNormativeCalculation::resultTexts() {
    QFETCH(QString, locale);
    QFETCH(double, educationNorm);
    QFETCH(double, maintenanceNorm);
    QFETCH(QString, pupils);
    QFETCH(int, education);
    QFETCH(int, maintenance);
    QFETCH(QStringList, texts);
    QFETCH(bool, buttons);
    Store store(localeNamed(locale));
    store.record.storeAnswer(Answer::PupilCount, pupils, store.locale);
    store.record.educationNorm = FieldValue::number(educationNorm);
    store.record.maintenanceNorm = FieldValue::number(maintenanceNorm);
    const ResultTexts result = normativ::resultTexts(store, static_cast<StageOutcome>(education),
                                                     static_cast<StageOutcome>(maintenance));
    QCOMPARE(shownTexts(result), texts);
    QCOMPARE(result.buttonsVisible, buttons);
    QCOMPARE(result.derived.has_value(), buttons);
}

void TestNormativeCalculation::derivedAmountsUseUnroundedNorms() {
    Store store(russian());
    setAnswers(store, {{Answer::PupilCount, "3"}});
    store.record.educationNorm = FieldValue::number(1000.4);
    store.record.maintenanceNorm = FieldValue::number(2000.4);
    const DerivedAmounts amounts = derivedAmounts(store);
    QCOMPARE(plainText(amounts.totalSubsidy, store.locale), QStringLiteral("9002,4"));
    QCOMPARE(plainText(amounts.totalNorm, store.locale), QStringLiteral("3000,8"));
    QCOMPARE(plainText(amounts.educationSubsidy, store.locale), QStringLiteral("3001,2"));
    QCOMPARE(plainText(amounts.maintenanceSubsidy, store.locale), QStringLiteral("6001,2"));
    CALC_COMPARE_EXACT(amounts.totalSubsidy, 3 * (1000.4 + 2000.4));

    // An Empty normative counts as 0.
    store.record.educationNorm = FieldValue();
    CALC_COMPARE_EXACT(derivedAmounts(store).totalSubsidy, 3 * 2000.4);
}

QTEST_GUILESS_MAIN(TestNormativeCalculation)
#include "test_normativecalculation.moc"
