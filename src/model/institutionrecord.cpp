#include "institutionrecord.h"

#include <algorithm>

namespace normativ {

namespace {

// clang-format off
constexpr std::array<AnswerInfo, kAnswerCount> kAnswers{{
    {Answer::PupilCount, "PupilCount", 1, 6},
    {Answer::GroupCount, "GroupCount", 2, 7},
    {Answer::MinTeacherSalary, "MinTeacherSalary", 21, 8},
    {Answer::TeacherPayrollFund, "TeacherPayrollFund", 22, 9},
    {Answer::TeacherCompensationFund, "TeacherCompensationFund", 23, 10},
    {Answer::TeacherIncentiveFund, "TeacherIncentiveFund", 24, 11},
    {Answer::MonthsOfOperation, "MonthsOfOperation", 25, 12},
    {Answer::ServiceStaffPayrollFund, "ServiceStaffPayrollFund", 26, 13},
    {Answer::ColdWaterVolume, "ColdWaterVolume", 27, 14},
    {Answer::SewageVolume, "SewageVolume", 28, 15},
    {Answer::HotWaterVolume, "HotWaterVolume", 29, 16},
    {Answer::HeatedWaterVolume, "HeatedWaterVolume", 30, 17},
    {Answer::HeatEnergyVolume, "HeatEnergyVolume", 31, 18},
    {Answer::PriceGrowthPercent, "PriceGrowthPercent", 32, 19},
    {Answer::ElectricityVolume, "ElectricityVolume", 33, 20},
    {Answer::SecurityAlarmCosts, "SecurityAlarmCosts", 34, 21},
    {Answer::FireSafetyCosts, "FireSafetyCosts", 35, 22},
    {Answer::BuildingArea, "BuildingArea", 36, 23},
    {Answer::TerritoryCosts, "TerritoryCosts", 37, 24},
    {Answer::MovablePropertyCosts, "MovablePropertyCosts", 38, 25},
    {Answer::InsuranceCosts, "InsuranceCosts", 39, 26},
    {Answer::PropertyValueJan1, "PropertyValueJan1", 40, 27},
    {Answer::PropertyValueDec1, "PropertyValueDec1", 41, 28},
    {Answer::LandCadastralValue, "LandCadastralValue", 42, 29},
    {Answer::FoodAndServicesCosts, "FoodAndServicesCosts", 43, 30},
    {Answer::OtherCosts, "OtherCosts", 44, 31},
    {Answer::ColdWaterTariff, "ColdWaterTariff", 45, 32},
    {Answer::SewageTariff, "SewageTariff", 46, 33},
    {Answer::HotWaterTariff, "HotWaterTariff", 47, 34},
    {Answer::WaterHeatingTariff, "WaterHeatingTariff", 48, 35},
    {Answer::HeatTariff, "HeatTariff", 49, 36},
    {Answer::ElectricityTariff, "ElectricityTariff", 50, 37},
    {Answer::RepairCostPerM2, "RepairCostPerM2", 51, 38},
    {Answer::PropertyTaxRate, "PropertyTaxRate", 52, 39},
    {Answer::LandTaxRate, "LandTaxRate", 53, 40},
    {Answer::ParentFeePerMonth, "ParentFeePerMonth", 54, 41},
}};

constexpr std::array<FlagInfo, kFlagCount> kFlags{{
    {Flag::SettlementIsVillage, "SettlementIsVillage", 3, 1},
    {Flag::SettlementIsCity, "SettlementIsCity", 3, 2},
    {Flag::KindPreschoolSenior, "KindPreschoolSenior", 4, 1},
    {Flag::KindDevelopmentCentre, "KindDevelopmentCentre", 4, 2},
    {Flag::KindOther, "KindOther", 4, 3},
    {Flag::FiveDayWeek, "FiveDayWeek", 55, 1},
    {Flag::SixDayWeek, "SixDayWeek", 55, 2},
}};
// clang-format on

}  // namespace

std::span<const AnswerInfo> answerTable() {
    return kAnswers;
}

const AnswerInfo& answerInfo(Answer answer) {
    return kAnswers[static_cast<int>(answer)];
}

std::optional<Answer> answerForStep(int step) {
    for (const auto& info : kAnswers) {
        if (info.step == step) return info.answer;
    }
    return std::nullopt;
}

std::optional<Answer> answerByName(const QString& name) {
    for (const auto& info : kAnswers) {
        if (name == QLatin1String(info.name)) return info.answer;
    }
    return std::nullopt;
}

std::span<const FlagInfo> flagTable() {
    return kFlags;
}

std::optional<Flag> flagByName(const QString& name) {
    for (const auto& info : kFlags) {
        if (name == QLatin1String(info.name)) return info.flag;
    }
    return std::nullopt;
}

std::span<const FlagInfo> flagsOfStep(int step) {
    const auto first = std::find_if(kFlags.begin(), kFlags.end(),
                                    [step](const FlagInfo& f) { return f.step == step; });
    const auto last =
        std::find_if(first, kFlags.end(), [step](const FlagInfo& f) { return f.step != step; });
    return {first, last};
}

bool isChoiceStep(int step) {
    return step == 3 || step == kKindStep || step == kWorkWeekStep;
}

void InstitutionRecord::storeAnswer(Answer a, const QString& typed, const QLocale& locale) {
    (*this)[a] = answerFromText(typed, locale);
}

void InstitutionRecord::setChoice(Flag selected) {
    const int step = kFlags[static_cast<int>(selected)].step;
    for (const auto& info : flagsOfStep(step)) {
        (*this)[info.flag] = FieldValue::integer(info.flag == selected ? 1 : 0);
    }
}

void InstitutionRecord::writePayrollDefaults() {
    (*this)[Answer::MinTeacherSalary] = FieldValue::single(PayrollDefaults::kMinTeacherSalary);
    (*this)[Answer::TeacherPayrollFund] = FieldValue::single(PayrollDefaults::kTeacherPayrollFund);
    (*this)[Answer::TeacherCompensationFund] =
        FieldValue::single(PayrollDefaults::kTeacherCompensationFund);
    (*this)[Answer::TeacherIncentiveFund] =
        FieldValue::single(PayrollDefaults::kTeacherIncentiveFund);
}

QString InstitutionRecord::shownText(Answer a, const QLocale& locale) const {
    const FieldValue& v = (*this)[a];
    if (v.isNotEnteredMarker(locale)) return QString();
    return v.displayText(locale);
}

}  // namespace normativ
