#include "normativecalculation.h"

#include "inputcheck.h"
#include "methodology.h"
#include "numbers.h"
#include "planningyears.h"
#include "weightingpass.h"

#include <cmath>
#include <initializer_list>

namespace normativ {

namespace {

/// Reads the record by the store's locale: a typed text as the number it stands for, a
/// text that is not a number and Empty as 0.
class Inputs {
  public:
    explicit Inputs(const Store& store) : store_(store) {}

    double operator[](Answer a) const { return store_.record[a].toDouble(store_.locale); }
    double operator[](Flag f) const { return store_.record[f].toDouble(store_.locale); }

    double planningYear() const { return store_.record.planningYear.toDouble(store_.locale); }
    double useOwnPayrollData() const {
        return store_.record.useOwnPayrollData.toDouble(store_.locale);
    }
    double useOwnServicesData() const {
        return store_.record.useOwnServicesData.toDouble(store_.locale);
    }

    /// TeacherPayrollFund − TeacherCompensationFund − TeacherIncentiveFund.
    double payrollBase() const {
        const Inputs& in = *this;
        return (in[Answer::TeacherPayrollFund] - in[Answer::TeacherCompensationFund]) -
               in[Answer::TeacherIncentiveFund];
    }

  private:
    const Store& store_;
};

double payrollAccrualFactor(const Inputs& in) {
    const double base = in.payrollBase();
    return in[Answer::TeacherCompensationFund] / base + in[Answer::TeacherIncentiveFund] / base + 1;
}

bool allFinite(std::initializer_list<double> values) {
    for (double v : values) {
        if (!std::isfinite(v)) return false;
    }
    return true;
}

double widen(float v) {
    return static_cast<double>(v);
}

}  // namespace

FieldValue longYearCoefficient(const Methodology& m, double monthsOfOperation) {
    return monthsOfOperation > m.longYearMonths ? FieldValue::number(m.longYearCoefficient)
                                                : FieldValue::integer(1);
}

StageOutcome runEducationStage(Store& store) {
    const Inputs in(store);
    const Methodology& m = *store.methodology;
    if (!educationInputProblems(store).empty()) return StageOutcome::Refused;
    const QLocale& locale = store.locale;

    const FieldValue yearIndex = planningYearIndex(m, in.planningYear());
    const double accrualFactor = payrollAccrualFactor(in);
    const double teacherAnnualCost =
        ((((accrualFactor * in[Answer::MinTeacherSalary]) * widen(m.salaryFactor) +
           m.salaryAddend) *
          widen(m.monthlyShare)) *
         12) *
        yearIndex.toDouble(locale);

    const bool village = in[Flag::SettlementIsVillage] == 1;
    const FieldValue villageCoefficient =
        village ? FieldValue::single(m.villageCoefficient) : FieldValue::integer(1);
    const FieldValue villageSupportCoefficient =
        village ? FieldValue::single(m.villageSupportCoefficient) : FieldValue::integer(1);
    const FieldValue kindCoefficient = in[Flag::KindOther] == 1 || in.useOwnPayrollData() == 1
                                           ? FieldValue::integer(1)
                                           : FieldValue::single(m.kindCoefficient);
    const FieldValue longYear = longYearCoefficient(m, in[Answer::MonthsOfOperation]);
    const FieldValue sixDayWeek = in[Flag::FiveDayWeek] == 1
                                      ? FieldValue::integer(1)
                                      : FieldValue::single(m.sixDayWeekCoefficient);

    GroupWeights weights = store.coefficients.groupWeightTable;
    const auto loadFactor = weightingPass(store, m.educationLoad, weights);
    if (!loadFactor) return StageOutcome::Refused;
    const auto supportLoadFactor = weightingPass(store, m.educationSupportLoad, weights);
    if (!supportLoadFactor) return StageOutcome::Refused;

    const double norm = teacherAnnualCost * villageCoefficient.toDouble(locale) *
                        kindCoefficient.toDouble(locale) * *loadFactor * longYear.toDouble(locale) *
                        sixDayWeek.toDouble(locale) *
                        (1 + widen(m.supportShare) * villageSupportCoefficient.toDouble(locale) *
                                 *supportLoadFactor);
    if (!allFinite({accrualFactor, teacherAnnualCost, norm, norm * in[Answer::PupilCount]})) {
        return StageOutcome::Refused;
    }

    KeptCoefficients& kept = store.coefficients;
    kept.planningYearIndex = yearIndex;
    kept.payrollAccrualFactor = FieldValue::number(accrualFactor);
    kept.teacherAnnualCost = FieldValue::number(teacherAnnualCost);
    kept.villageCoefficient = villageCoefficient;
    kept.villageSupportCoefficient = villageSupportCoefficient;
    kept.institutionKindCoefficient = kindCoefficient;
    kept.longYearCoefficient = longYear;
    kept.sixDayWeekCoefficient = sixDayWeek;
    kept.educationLoadFactor = FieldValue::number(*loadFactor);
    kept.educationSupportLoadFactor = FieldValue::number(*supportLoadFactor);
    kept.groupWeightTable = weights;
    store.record.educationNorm = FieldValue::number(norm);
    return StageOutcome::Computed;
}

StageOutcome runMaintenanceStage(Store& store) {
    const Inputs in(store);
    const Methodology& m = *store.methodology;
    const double way = in.useOwnServicesData();
    if (way != 0 && way != 1) return StageOutcome::NotRun;
    const bool ownData = way == 1;

    if (!maintenanceInputProblems(store).empty()) return StageOutcome::Refused;
    const auto groupCoefficient = m.groupCountCoefficient(in[Answer::GroupCount]);
    if (!groupCoefficient) return StageOutcome::Refused;
    const QLocale& locale = store.locale;
    const double pupils = in[Answer::PupilCount];
    const double minSalary = in[Answer::MinTeacherSalary];

    // Derived from the answers here rather than taken from the education stage, which
    // may have refused and left older values behind.
    const double yearIndex = planningYearIndex(m, in.planningYear()).toDouble(locale);
    const double longYear = longYearCoefficient(m, in[Answer::MonthsOfOperation]).toDouble(locale);
    const double accrualFactor = payrollAccrualFactor(in);
    const FieldValue staffWeek = in[Flag::FiveDayWeek] == 1
                                     ? FieldValue::integer(1)
                                     : FieldValue::number(m.staffSixDayWeekCoefficient);

    GroupWeights weights = store.coefficients.groupWeightTable;
    const auto loadFactorA = weightingPass(store, m.maintenanceLoadA, weights);
    if (!loadFactorA) return StageOutcome::Refused;
    const auto loadFactorB = weightingPass(store, m.maintenanceLoadB, weights);
    if (!loadFactorB) return StageOutcome::Refused;

    const double payrollPartB = longYear * *loadFactorB * widen(m.payrollShareB) *
                                widen(*groupCoefficient) * accrualFactor * widen(m.salaryFactor) *
                                minSalary * 12 * yearIndex;
    const double payrollPartA =
        longYear * staffWeek.toDouble(locale) * *loadFactorA * widen(m.payrollShareA) *
        (accrualFactor * minSalary * widen(m.salaryFactor)) * 12 * yearIndex;

    const double parentPayment = in[Answer::ParentFeePerMonth] * in[Answer::MonthsOfOperation];
    double norm = 0;
    std::optional<double> staffCostIndex;
    // The terms of the own figures, kept so that the report can show them.
    double utilitiesTerm = 0;
    double indexedCostsTerm = 0;
    double taxesTerm = 0;
    std::array<double, kServiceItemCount> itemLoadFactors{};
    std::array<double, kServiceItemCount> itemAmounts{};
    if (ownData) {
        staffCostIndex = (1 + in[Answer::PriceGrowthPercent] / 100) / pupils;
        const double heat = m.heatShare * in[Answer::HeatEnergyVolume] * in[Answer::HeatTariff];
        const double utilities =
            in[Answer::ColdWaterVolume] * in[Answer::ColdWaterTariff] +
            in[Answer::SewageVolume] * in[Answer::SewageTariff] +
            in[Answer::HotWaterVolume] * in[Answer::HotWaterTariff] +
            in[Answer::HeatedWaterVolume] * in[Answer::WaterHeatingTariff] + heat +
            m.electricityShare * in[Answer::ElectricityVolume] * in[Answer::ElectricityTariff] +
            in[Answer::BuildingArea] * m.repairAreaShare * in[Answer::RepairCostPerM2];
        const double indexedCosts = in[Answer::ServiceStaffPayrollFund] +
                                    in[Answer::SecurityAlarmCosts] + in[Answer::FireSafetyCosts] +
                                    in[Answer::TerritoryCosts] + in[Answer::MovablePropertyCosts] +
                                    in[Answer::InsuranceCosts] + in[Answer::FoodAndServicesCosts] +
                                    in[Answer::OtherCosts];
        const double taxes =
            in[Answer::LandCadastralValue] * in[Answer::LandTaxRate] / 100 +
            (in[Answer::PropertyValueJan1] + in[Answer::PropertyValueDec1]) / 200 *
                in[Answer::PropertyTaxRate] +
            heat +
            m.electricityTaxShare * in[Answer::ElectricityVolume] * in[Answer::ElectricityTariff];
        norm = ((((payrollPartB + payrollPartA) + utilities / pupils) +
                 indexedCosts * *staffCostIndex) -
                parentPayment) +
               widen(m.taxTermFactor) * (taxes / pupils);
        utilitiesTerm = utilities;
        indexedCostsTerm = indexedCosts;
        taxesTerm = taxes;
    } else {
        for (double& itemLoad : itemLoadFactors) {
            const auto loadFactor = weightingPass(store, m.serviceItemLoad, weights);
            if (!loadFactor) return StageOutcome::Refused;
            itemLoad = *loadFactor;
        }
        // The months, week, settlement and kind factors of every item are 1 in every case.
        norm = payrollPartB + payrollPartA;
        for (int k = 0; k < kServiceItemCount; ++k) {
            itemAmounts[k] =
                widen(m.serviceItemBase[k]) * 1.0 * 1.0 * 1.0 * 1.0 * itemLoadFactors[k];
            norm += itemAmounts[k];
        }
        norm -= parentPayment;
    }
    if (!allFinite({payrollPartA, payrollPartB, norm, norm * pupils})) {
        return StageOutcome::Refused;
    }

    KeptCoefficients& kept = store.coefficients;
    kept.groupCountCoefficient = FieldValue::single(*groupCoefficient);
    kept.staffWeekCoefficient = staffWeek;
    kept.payrollAccrualFactor = FieldValue::number(accrualFactor);
    kept.maintenanceLoadFactorA = FieldValue::number(*loadFactorA);
    kept.maintenanceLoadFactorB = FieldValue::number(*loadFactorB);
    kept.maintenancePayrollPartA = FieldValue::number(payrollPartA);
    kept.maintenancePayrollPartB = FieldValue::number(payrollPartB);
    kept.parentPayment = FieldValue::number(parentPayment);
    if (staffCostIndex) kept.serviceStaffCostIndex = FieldValue::number(*staffCostIndex);
    if (ownData) {
        kept.utilitiesTerm = FieldValue::number(utilitiesTerm);
        kept.indexedCostsTerm = FieldValue::number(indexedCostsTerm);
        kept.taxesTerm = FieldValue::number(taxesTerm);
    } else {
        for (int k = 0; k < kServiceItemCount; ++k) {
            kept.serviceItemLoadFactor[k] = FieldValue::number(itemLoadFactors[k]);
            kept.serviceItemAmount[k] = FieldValue::number(itemAmounts[k]);
            kept.serviceItemMonthsFactor[k] = FieldValue::integer(1);
            kept.serviceItemWeekFactor[k] = FieldValue::integer(1);
            kept.serviceItemSettlementFactor[k] = FieldValue::integer(1);
            kept.serviceItemKindFactor[k] = FieldValue::integer(1);
        }
    }
    kept.groupWeightTable = weights;
    store.record.maintenanceNorm = FieldValue::number(norm);
    return StageOutcome::Computed;
}

DerivedAmounts derivedAmounts(const Store& store) {
    const double pupils = store.record[Answer::PupilCount].toDouble(store.locale);
    const double education = store.record.educationNorm.toDouble(store.locale);
    const double maintenance = store.record.maintenanceNorm.toDouble(store.locale);
    DerivedAmounts amounts;
    amounts.totalNorm = education + maintenance;
    amounts.educationSubsidy = pupils * education;
    amounts.maintenanceSubsidy = pupils * maintenance;
    amounts.totalSubsidy = pupils * (education + maintenance);
    return amounts;
}

ResultTexts resultTexts(const Store& store, StageOutcome education, StageOutcome maintenance) {
    const QLocale& locale = store.locale;
    auto shown = [&](double value) {
        return std::isfinite(value) ? formatFixed(value, 0, locale) : calcTexts().invalidInput;
    };
    auto readBack = [&](const QString& text) { return parseNumber(text, locale).value_or(0.0); };
    const double pupils = store.record[Answer::PupilCount].toDouble(locale);
    const double educationNorm = store.record.educationNorm.toDouble(locale);

    ResultTexts out;
    out.education = education;
    out.maintenance = maintenance;
    auto& t = out.texts;
    const bool educationComputed = education == StageOutcome::Computed;
    if (educationComputed) {
        t[0] = shown(educationNorm);
        t[3] = shown(educationNorm * pupils);
    } else {
        // The totals would otherwise take an education normative of an earlier run.
        t[0] = t[3] = t[2] = t[5] = calcTexts().invalidInput;
    }
    if (maintenance == StageOutcome::Computed) {
        t[1] = shown(store.record.maintenanceNorm.toDouble(locale));
        // The totals use the normative as the box shows it, rounded.
        const double shownNorm = readBack(*t[1]);
        t[4] = shown(shownNorm * pupils);
        if (educationComputed) {
            t[2] = shown(shownNorm + educationNorm);
            t[5] = shown(educationNorm * pupils + readBack(*t[4]));
        }
    } else if (maintenance == StageOutcome::Refused) {
        t[1] = t[2] = t[4] = t[5] = calcTexts().invalidInput;
    }
    out.buttonsVisible = educationComputed && maintenance == StageOutcome::Computed;
    if (out.buttonsVisible) out.derived = derivedAmounts(store);
    return out;
}

ResultTexts runNormativeCalculation(Store& store) {
    const StageOutcome education = runEducationStage(store);
    const StageOutcome maintenance = runMaintenanceStage(store);
    return resultTexts(store, education, maintenance);
}

}  // namespace normativ
