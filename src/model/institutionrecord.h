#pragma once

#include "fieldvalue.h"

#include <QString>
#include <array>
#include <optional>
#include <span>

namespace normativ {

/// The numeric answers of the wizard, in step order.
enum class Answer {
    PupilCount,
    GroupCount,
    MinTeacherSalary,
    TeacherPayrollFund,
    TeacherCompensationFund,
    TeacherIncentiveFund,
    MonthsOfOperation,
    ServiceStaffPayrollFund,
    ColdWaterVolume,
    SewageVolume,
    HotWaterVolume,
    HeatedWaterVolume,
    HeatEnergyVolume,
    PriceGrowthPercent,
    ElectricityVolume,
    SecurityAlarmCosts,
    FireSafetyCosts,
    BuildingArea,
    TerritoryCosts,
    MovablePropertyCosts,
    InsuranceCosts,
    PropertyValueJan1,
    PropertyValueDec1,
    LandCadastralValue,
    FoodAndServicesCosts,
    OtherCosts,
    ColdWaterTariff,
    SewageTariff,
    HotWaterTariff,
    WaterHeatingTariff,
    HeatTariff,
    ElectricityTariff,
    RepairCostPerM2,
    PropertyTaxRate,
    LandTaxRate,
    ParentFeePerMonth,
};
inline constexpr int kAnswerCount = 36;

struct AnswerInfo {
    Answer answer;
    const char* name;  ///< field name, as in documents and tests
    int step;          ///< wizard step that asks it
    int reportRow;     ///< row of column B in the saved report
};

/// Every numeric answer with its step and report row, in step order.
std::span<const AnswerInfo> answerTable();
const AnswerInfo& answerInfo(Answer answer);
std::optional<Answer> answerForStep(int step);
std::optional<Answer> answerByName(const QString& name);

/// The choice flags of steps 3, 4 and 55.
enum class Flag {
    SettlementIsVillage,
    SettlementIsCity,
    KindPreschoolSenior,
    KindDevelopmentCentre,
    KindOther,
    FiveDayWeek,
    SixDayWeek,
};
inline constexpr int kFlagCount = 7;

struct FlagInfo {
    Flag flag;
    const char* name;
    int step;
    int option;  ///< 1-based option button that sets it
};

std::span<const FlagInfo> flagTable();
std::optional<Flag> flagByName(const QString& name);
/// The flags of one choice step, in option order (empty for other steps).
std::span<const FlagInfo> flagsOfStep(int step);

inline constexpr int kFirstStep = 1;
inline constexpr int kKindStep = 4;
inline constexpr int kFirstPayrollStep = 21;
inline constexpr int kMonthsStep = 25;
inline constexpr int kParentFeeStep = 54;
inline constexpr int kWorkWeekStep = 55;
inline constexpr int kResultStep = 56;

/// True for the steps answered with option buttons (3, 4, 55).
bool isChoiceStep(int step);

/// The process-wide record of one run: every answer, the choices, the modes, the
/// wizard position and the two normatives.
struct InstitutionRecord {
    FieldValue institutionName;
    FieldValue planningYear;
    std::array<FieldValue, kAnswerCount> answers;
    std::array<FieldValue, kFlagCount> flags;
    FieldValue useOwnPayrollData;
    FieldValue useOwnServicesData;
    int wizardStep = 0;
    FieldValue educationNorm;
    FieldValue maintenanceNorm;

    FieldValue& operator[](Answer a) { return answers[static_cast<int>(a)]; }
    const FieldValue& operator[](Answer a) const { return answers[static_cast<int>(a)]; }
    FieldValue& operator[](Flag f) { return flags[static_cast<int>(f)]; }
    const FieldValue& operator[](Flag f) const { return flags[static_cast<int>(f)]; }

    /// Stores the answer-box text into a numeric answer (text as typed, or the marker).
    void storeAnswer(Answer a, const QString& typed, const QLocale& locale);
    /// Sets one flag of its choice group to 1 and the others of the group to 0.
    void setChoice(Flag selected);
    /// Overwrites the four payroll answers with the single-precision defaults.
    void writePayrollDefaults();
    /// The answer-box text for an answer: empty when it holds the marker.
    QString shownText(Answer a, const QLocale& locale) const;
    /// True when the flag counts as non-zero (Empty counts as 0).
    bool isFlagSet(Flag f, const QLocale& locale) const { return !(*this)[f].isZero(locale); }
};

/// The defaults written when the institution's own payroll figures are not used.
struct PayrollDefaults {
    static constexpr float kMinTeacherSalary = 8700.0f;
    static constexpr float kTeacherPayrollFund = 8700.0f;
    static constexpr float kTeacherCompensationFund = 2900.0f;
    static constexpr float kTeacherIncentiveFund = 0.0f;
};

}  // namespace normativ
