#pragma once

// Stores as the normative calculation leaves them at the result step, for the estimate
// tests. The figures of derive_expected.py are derived from these same answers.

#include "store.h"

#include <QLocale>
#include <initializer_list>
#include <utility>

namespace normativ::fixtures {

struct Group {
    int age;          ///< 1..3
    int stay;         ///< 1..9
    int orientation;  ///< 1..6
    const char* pupils;
};

inline QLocale russian() {
    return QLocale(QLocale::Russian, QLocale::Russia);
}
inline QLocale english() {
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

inline void setGroups(Store& store, std::initializer_list<Group> groups) {
    int r = 0;
    for (const Group& g : groups) {
        ++r;
        store.distribution.storeKindText(r, Kind::AgeClass,
                                         kindItemTexts(Kind::AgeClass)[g.age - 1]);
        store.distribution.storeKindText(r, Kind::StayMode,
                                         kindItemTexts(Kind::StayMode)[g.stay - 1]);
        store.distribution.storeKindText(r, Kind::Orientation,
                                         kindItemTexts(Kind::Orientation)[g.orientation - 1]);
        store.distribution.storePupilText(r, QString::fromUtf8(g.pupils), store.locale);
    }
    store.distribution.recordCount = FieldValue::integer(r);
}

inline void setAnswers(Store& store, std::initializer_list<std::pair<Answer, const char*>> list) {
    for (const auto& [answer, typed] : list) {
        store.record.storeAnswer(answer, QString::fromUtf8(typed), store.locale);
    }
}

/// The standard service items as the calculation keeps them: every factor 1 and one
/// load factor for all eight items.
inline void setStandardItems(Store& store, double load) {
    for (int k = 0; k < 8; ++k) {
        store.coefficients.serviceItemMonthsFactor[k] = FieldValue::number(1);
        store.coefficients.serviceItemWeekFactor[k] = FieldValue::number(1);
        store.coefficients.serviceItemSettlementFactor[k] = FieldValue::number(1);
        store.coefficients.serviceItemKindFactor[k] = FieldValue::number(1);
        store.coefficients.serviceItemLoadFactor[k] = FieldValue::number(load);
    }
}

/// Standard figures: payroll defaults, standard services, a city kindergarten (not of
/// the "other" kind), five-day week, twelve months, five groups of 95 pupils.
inline Store standardStore() {
    Store store(russian());
    InstitutionRecord& rec = store.record;
    rec.useOwnPayrollData = FieldValue::integer(0);
    rec.useOwnServicesData = FieldValue::integer(0);
    setAnswers(store, {{Answer::PupilCount, "95"},
                       {Answer::GroupCount, "5"},
                       {Answer::MonthsOfOperation, "12"},
                       {Answer::ParentFeePerMonth, "1500"}});
    rec.writePayrollDefaults(Methodology::example()->payrollDefaults);
    rec.setChoice(Flag::SettlementIsCity);
    rec.setChoice(Flag::KindPreschoolSenior);
    rec.setChoice(Flag::FiveDayWeek);
    rec.educationNorm = FieldValue::number(98765.4321);
    rec.maintenanceNorm = FieldValue::number(52345.678912);
    KeptCoefficients& kept = store.coefficients;
    kept.planningYearIndex = FieldValue::single(1.342f);
    kept.villageCoefficient = FieldValue::number(1);
    kept.institutionKindCoefficient = FieldValue::single(1.1f);
    kept.longYearCoefficient = FieldValue::number(1.09);
    kept.sixDayWeekCoefficient = FieldValue::number(1);
    setStandardItems(store, 1.22188);
    setGroups(store, {{3, 7, 1, "40"}, {2, 5, 2, "25"}, {3, 6, 3, "18"}, {1, 4, 1, "12"}});
    return store;
}

/// The institution's own payroll and services figures, typed with decimal commas: a
/// village development centre, six-day week, nine months, 31 groups of 118 pupils.
inline Store ownFiguresStore() {
    Store store(russian());
    InstitutionRecord& rec = store.record;
    rec.useOwnPayrollData = FieldValue::integer(1);
    rec.useOwnServicesData = FieldValue::integer(1);
    setAnswers(store, {{Answer::PupilCount, "118"},
                       {Answer::GroupCount, "31"},
                       {Answer::MinTeacherSalary, "4611"},
                       {Answer::TeacherPayrollFund, "1850000,5"},
                       {Answer::TeacherCompensationFund, "420000"},
                       {Answer::TeacherIncentiveFund, "310000"},
                       {Answer::MonthsOfOperation, "9"},
                       {Answer::ServiceStaffPayrollFund, "1250000,75"},
                       {Answer::ColdWaterVolume, "3150"},
                       {Answer::SewageVolume, "5200"},
                       {Answer::HotWaterVolume, "2050"},
                       {Answer::HeatedWaterVolume, "1200"},
                       {Answer::HeatEnergyVolume, "640,5"},
                       {Answer::PriceGrowthPercent, "7,5"},
                       {Answer::ElectricityVolume, "98000"},
                       {Answer::SecurityAlarmCosts, "36000"},
                       {Answer::FireSafetyCosts, "45000"},
                       {Answer::BuildingArea, "1850,5"},
                       {Answer::TerritoryCosts, "28000"},
                       {Answer::MovablePropertyCosts, "52000,25"},
                       {Answer::InsuranceCosts, "12000"},
                       {Answer::PropertyValueJan1, "15400000"},
                       {Answer::PropertyValueDec1, "14900000"},
                       {Answer::LandCadastralValue, "8200000"},
                       {Answer::FoodAndServicesCosts, "2450000,5"},
                       {Answer::OtherCosts, "0"},
                       {Answer::ColdWaterTariff, "21,37"},
                       {Answer::SewageTariff, "15,8"},
                       {Answer::HotWaterTariff, "87,45"},
                       {Answer::WaterHeatingTariff, "54,2"},
                       {Answer::HeatTariff, "1280,35"},
                       {Answer::ElectricityTariff, "3,62"},
                       {Answer::RepairCostPerM2, "412"},
                       {Answer::PropertyTaxRate, "2,2"},
                       {Answer::LandTaxRate, "1,5"},
                       {Answer::ParentFeePerMonth, "1200"}});
    rec.setChoice(Flag::SettlementIsVillage);
    rec.setChoice(Flag::KindDevelopmentCentre);
    rec.setChoice(Flag::SixDayWeek);
    rec.educationNorm = FieldValue::number(63456.789);
    rec.maintenanceNorm = FieldValue::number(38765.4321);
    KeptCoefficients& kept = store.coefficients;
    kept.planningYearIndex = FieldValue::number(1.262);
    kept.villageCoefficient = FieldValue::single(1.25f);
    kept.institutionKindCoefficient = FieldValue::number(1);
    kept.longYearCoefficient = FieldValue::number(1);
    kept.sixDayWeekCoefficient = FieldValue::single(1.2f);
    kept.serviceStaffCostIndex = FieldValue::number((1 + 7.5 / 100) / 118.0);
    setGroups(store, {{3, 7, 1, "60"}, {3, 9, 6, "8"}, {2, 6, 4, "22,5"}, {1, 5, 5, "27,5"}});
    return store;
}

/// English locale: own payroll figures with standard services, a city development
/// centre of two groups, six-day week, twelve months.
inline Store englishStore() {
    Store store(english());
    InstitutionRecord& rec = store.record;
    rec.useOwnPayrollData = FieldValue::integer(1);
    rec.useOwnServicesData = FieldValue::integer(0);
    setAnswers(store, {{Answer::PupilCount, "44"},
                       {Answer::GroupCount, "2"},
                       {Answer::MinTeacherSalary, "5120"},
                       {Answer::TeacherPayrollFund, "980000"},
                       {Answer::TeacherCompensationFund, "245000"},
                       {Answer::TeacherIncentiveFund, "98000"},
                       {Answer::MonthsOfOperation, "12"},
                       {Answer::ParentFeePerMonth, "900"}});
    rec.setChoice(Flag::SettlementIsCity);
    rec.setChoice(Flag::KindDevelopmentCentre);
    rec.setChoice(Flag::SixDayWeek);
    rec.educationNorm = FieldValue::number(91234.5);
    rec.maintenanceNorm = FieldValue::number(45678.5);
    KeptCoefficients& kept = store.coefficients;
    kept.planningYearIndex = FieldValue::single(1.342f);
    kept.villageCoefficient = FieldValue::number(1);
    kept.institutionKindCoefficient = FieldValue::number(1);
    kept.longYearCoefficient = FieldValue::number(1.09);
    kept.sixDayWeekCoefficient = FieldValue::single(1.2f);
    setStandardItems(store, 1.1559727272727272);
    setGroups(store, {{3, 8, 1, "30"}, {2, 7, 3, "14"}});
    return store;
}

/// One plain group: 20 pupils older than three in a 12-hour general group, three
/// groups counted, payroll defaults, standard services, five-day week, eleven months,
/// an institution of the "other" kind in the city.
inline Store plainGroupStore() {
    Store store(russian());
    InstitutionRecord& rec = store.record;
    rec.useOwnPayrollData = FieldValue::integer(0);
    rec.useOwnServicesData = FieldValue::integer(0);
    setAnswers(store, {{Answer::PupilCount, "20"},
                       {Answer::GroupCount, "3"},
                       {Answer::MonthsOfOperation, "11"},
                       {Answer::ParentFeePerMonth, "1000"}});
    rec.writePayrollDefaults(Methodology::example()->payrollDefaults);
    rec.setChoice(Flag::SettlementIsCity);
    rec.setChoice(Flag::KindOther);
    rec.setChoice(Flag::FiveDayWeek);
    rec.educationNorm = FieldValue::number(50000);
    rec.maintenanceNorm = FieldValue::number(60000);
    KeptCoefficients& kept = store.coefficients;
    kept.planningYearIndex = FieldValue::single(1.342f);
    kept.villageCoefficient = FieldValue::number(1);
    kept.institutionKindCoefficient = FieldValue::number(1);
    kept.longYearCoefficient = FieldValue::number(1);
    kept.sixDayWeekCoefficient = FieldValue::number(1);
    setStandardItems(store, 1);
    setGroups(store, {{3, 7, 1, "20"}});
    return store;
}

}  // namespace normativ::fixtures
