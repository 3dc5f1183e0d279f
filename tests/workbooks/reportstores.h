#pragma once

// Records used by the tests of the workbook formats: a report record whose answers take
// every form a field can hold, and comparisons of stores.

#include "distributiontable.h"
#include "fieldvalueprinting.h"
#include "institutionrecord.h"
#include "normativecalculation.h"
#include "payrollestimate.h"
#include "servicesestimate.h"
#include "store.h"

#include <QLocale>
#include <QString>
#include <QtTest>
#include <array>
#include <vector>

namespace formatstest {

inline QLocale russian() {
    return QLocale(QLocale::Russian, QLocale::Russia);
}

/// One distribution record (items 1-based, 0 = not chosen); pupils in ten-thousandths.
struct RecordSpec {
    int age = 0;
    int stay = 0;
    int orientation = 0;
    std::int64_t pupils = 0;
};

inline void setRecords(normativ::Store& store, const std::vector<RecordSpec>& records) {
    using normativ::Kind;
    int r = 0;
    for (const RecordSpec& wanted : records) {
        ++r;
        store.distribution.clearRecord(r);
        const std::pair<Kind, int> kinds[] = {{Kind::AgeClass, wanted.age},
                                              {Kind::StayMode, wanted.stay},
                                              {Kind::Orientation, wanted.orientation}};
        for (const auto& [kind, item] : kinds) {
            if (item > 0) {
                store.distribution.storeKindText(r, kind, normativ::kindItemTexts(kind)[item - 1]);
            }
        }
        store.distribution.setCell(r, Kind::GroupPupilCount, 1,
                                   normativ::Currency::fromRaw(wanted.pupils));
    }
    store.distribution.recordCount = normativ::FieldValue::integer(r);
}

/// An answer of the report record: what the record holds and what a saved report gives
/// back when loaded (a numeric text comes back as its number).
struct ReportAnswer {
    normativ::Answer answer;
    normativ::FieldValue stored;
    normativ::FieldValue loaded;
};

/// The answers of the report record, for a Russian locale: typed texts (with a decimal
/// comma, a group separator, an exponent, a minus), the payroll defaults, the not-entered
/// marker, an answer never given and a text that is not a number (as a statistical form
/// can bring).
inline std::vector<ReportAnswer> reportAnswers() {
    using normativ::Answer;
    using normativ::FieldValue;
    const auto text = [](const char* s) { return FieldValue::text(QString::fromUtf8(s)); };
    const auto number = [](double v) { return FieldValue::number(v); };
    std::vector<ReportAnswer> answers{
        {Answer::PupilCount, text("45"), number(45)},
        {Answer::GroupCount, text("3"), number(3)},
        {Answer::MinTeacherSalary, FieldValue::single(8700.0f), number(8700)},
        {Answer::TeacherPayrollFund, FieldValue::single(8700.0f), number(8700)},
        {Answer::TeacherCompensationFund, FieldValue::single(2900.0f), number(2900)},
        {Answer::TeacherIncentiveFund, FieldValue::single(0.0f), number(0)},
        {Answer::MonthsOfOperation, text("12"), number(12)},
        {Answer::ServiceStaffPayrollFund, text("2500000"), number(2500000)},
        {Answer::ColdWaterVolume, text("3500,5"), number(3500.5)},
        {Answer::SewageVolume, text("3 400"), number(3400)},
        {Answer::HotWaterVolume, text("1,2e3"), number(1200)},
        {Answer::HeatedWaterVolume, FieldValue::notEntered(), FieldValue::notEntered()},
        {Answer::HeatEnergyVolume, text("950,75"), number(950.75)},
        {Answer::PriceGrowthPercent, text("-0,5"), number(-0.5)},
        {Answer::ElectricityVolume, FieldValue(), FieldValue()},
        {Answer::SecurityAlarmCosts, text("нет данных"), text("нет данных")},
        {Answer::FireSafetyCosts, text("0"), number(0)},
        {Answer::BuildingArea, number(1250.25), number(1250.25)},
        {Answer::ParentFeePerMonth, text("1500,5"), number(1500.5)},
    };
    // The rest: distinct whole numbers typed, so that a field read from the wrong row shows.
    for (const auto& info : normativ::answerTable()) {
        bool listed = false;
        for (const auto& a : answers) listed = listed || a.answer == info.answer;
        if (!listed) {
            answers.push_back({info.answer, FieldValue::text(QString::number(1000 + info.step)),
                               number(1000 + info.step)});
        }
    }
    return answers;
}

/// The records of the report record: choices of every kind, fractions, the not-entered
/// marker, and one record without an age class.
inline std::vector<RecordSpec> reportRecords() {
    return {{2, 5, 1, 125000},
            {3, 7, 4, 200000},
            {1, 9, 6, 125000},
            {0, 1, 2, 0},
            {3, 8, 5, 792658303460000}};
}

/// The report record: the answers and records above, a village development centre with a
/// six-day week, and normatives as a calculation leaves them.
inline normativ::Store reportStore() {
    normativ::Store store(russian());
    store.record.institutionName =
        normativ::FieldValue::text(QStringLiteral("дошкольное образовательное учреждение №7"));
    store.record.planningYear = normativ::FieldValue::text(QStringLiteral("2011"));
    for (const ReportAnswer& a : reportAnswers()) store.record[a.answer] = a.stored;
    store.record.setChoice(normativ::Flag::SettlementIsVillage);
    store.record.setChoice(normativ::Flag::KindDevelopmentCentre);
    store.record.setChoice(normativ::Flag::SixDayWeek);
    store.record.educationNorm = normativ::FieldValue::number(184121.85981568324);
    store.record.maintenanceNorm = normativ::FieldValue::number(217542.62151211553);
    store.record.wizardStep = normativ::Step::kResult;
    setRecords(store, reportRecords());
    return store;
}

/// True when every used cell of records 1..42 and the record count are equal.
inline bool sameDistribution(const normativ::DistributionTable& a,
                             const normativ::DistributionTable& b) {
    using normativ::Kind;
    if (!(a.recordCount == b.recordCount)) return false;
    for (int r = 1; r <= normativ::kMaxDistributionRecords; ++r) {
        for (Kind kind :
             {Kind::AgeClass, Kind::StayMode, Kind::Orientation, Kind::GroupPupilCount}) {
            for (int i = 1; i <= normativ::kItemCount; ++i) {
                if (a.cell(r, kind, i) != b.cell(r, kind, i)) return false;
            }
        }
    }
    return true;
}

/// True when every field of the two records is equal.
inline bool sameRecord(const normativ::InstitutionRecord& a, const normativ::InstitutionRecord& b) {
    return a.institutionName == b.institutionName && a.planningYear == b.planningYear &&
           a.answers == b.answers && a.flags == b.flags &&
           a.useOwnPayrollData == b.useOwnPayrollData &&
           a.useOwnServicesData == b.useOwnServicesData && a.wizardStep == b.wizardStep &&
           a.educationNorm == b.educationNorm && a.maintenanceNorm == b.maintenanceNorm;
}

/// A calculated record with the estimate copies the windows would keep: the standard way
/// (45 pupils, payroll defaults) or the institution's own figures.
inline normativ::Store estimateStore(bool ownData) {
    using namespace normativ;
    Store store(formatstest::russian());
    store.record.institutionName = FieldValue::text(QStringLiteral("ДОУ №5"));
    store.record.planningYear = FieldValue::text(QStringLiteral("2011"));
    store.record.useOwnPayrollData = FieldValue::integer(ownData ? 1 : 0);
    store.record.useOwnServicesData = FieldValue::integer(ownData ? 1 : 0);
    const auto answer = [&](Answer a, const char* typed) {
        store.record.storeAnswer(a, QString::fromUtf8(typed), store.locale);
    };
    answer(Answer::PupilCount, "45");
    answer(Answer::GroupCount, "3");
    answer(Answer::MonthsOfOperation, "12");
    answer(Answer::ParentFeePerMonth, "1500,5");
    store.record.writePayrollDefaults(store.methodology->payrollDefaults);
    if (ownData) {
        answer(Answer::MinTeacherSalary, "15000");
        answer(Answer::TeacherPayrollFund, "9800000");
        answer(Answer::TeacherCompensationFund, "1200000");
        answer(Answer::TeacherIncentiveFund, "850000");
        for (const auto& info : answerTable()) {
            if (info.step >= 26 && info.step <= 53) answer(info.answer, "100");
        }
    }
    store.record.setChoice(Flag::SettlementIsCity);
    store.record.setChoice(Flag::KindPreschoolSenior);
    store.record.setChoice(Flag::FiveDayWeek);
    formatstest::setRecords(store, {{2, 5, 1, 125000}, {3, 7, 2, 200000}, {1, 9, 6, 125000}});
    runNormativeCalculation(store);
    const PayrollEstimate payroll = computePayrollEstimate(store);
    store.estimateCopies.payroll = payroll.boxTexts();
    const ServicesEstimate services =
        computeServicesEstimate(store, payroll.at(PayrollEstimate::kRows, 5));
    store.estimateCopies.services = servicesCopy(services.texts, store.locale);
    return store;
}

}  // namespace formatstest
