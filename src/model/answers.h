#pragma once

#include <QString>
#include <QStringView>
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
inline constexpr int kAnswerCount = static_cast<int>(Answer::ParentFeePerMonth) + 1;

/// The choice flags of the three choice steps, grouped by step, in option order.
enum class Flag {
    SettlementIsVillage,
    SettlementIsCity,
    KindPreschoolSenior,
    KindDevelopmentCentre,
    KindOther,
    FiveDayWeek,
    SixDayWeek,
};
inline constexpr int kFlagCount = static_cast<int>(Flag::SixDayWeek) + 1;

/// The wizard's steps by name. Steps 5 to 20 don't exist; 21 to 54 ask one answer each.
struct Step {
    static constexpr int kPupils = 1;
    static constexpr int kSettlement = 3;
    static constexpr int kKind = 4;
    static constexpr int kFirstPayroll = 21;  ///< the first of the own payroll figures
    static constexpr int kLastPayroll = 24;
    static constexpr int kMonths = 25;
    static constexpr int kFirstServices = 26;  ///< the first of the own services figures
    static constexpr int kLastServices = 53;
    static constexpr int kParentFee = 54;
    static constexpr int kWorkWeek = 55;
    static constexpr int kResult = 56;
};

/// In which data-source modes the wizard asks a step.
enum class AskedWhen {
    Always,
    OwnPayrollData,   ///< only with the institution's own payroll figures
    OwnServicesData,  ///< only with the institution's own services figures
};

/// What the calculation demands of an answer before a stage computes.
enum class Demand {
    Given,                ///< both stages: entered, and not 0
    NoMarker,             ///< both stages: not the not-entered marker
    NoMarkerMaintenance,  ///< the maintenance stage: not the not-entered marker
    NoMarkerOwnServices,  ///< the same, when the own services figures are used
};

/// A cell of the statistical reporting form: its sheet (from 1) and address.
struct FormCell {
    int sheet;
    const char* address;
};

/// Everything said about one numeric answer.
struct AnswerDescriptor {
    Answer answer;
    const char* name;  ///< field name, as in answers documents and tests
    int step;          ///< the wizard step that asks it
    AskedWhen askedWhen;
    QStringView question;
    QStringView unit;
    QStringView help;
    /// Its short name in the causes of "неверный ввод".
    QStringView shortName;
    Demand demand;
    int reportRow;  ///< row of the saved report's first sheet (value in column B)
    QStringView reportLabel;
    QStringView reportUnit;
    FormCell formCell;
    /// The loader refuses a workbook whose cell holds something that is not a number.
    bool mustBeNumber = false;
};

/// The wordings of the first payroll question besides its own (the average salary): for an
/// institution in a village, and the minimum salary as asked right after the distribution
/// windows.
struct SalaryQuestionVariants {
    QStringView villageQuestion;
    QStringView minimumQuestion;
    /// The help while the question is worded for the average salary (its own wording, or
    /// the village one); the answer's help goes with the minimum-salary wording.
    QStringView averageHelp;
};

/// Everything said about one choice flag: the option that sets it and how the saved
/// report and the statistical form hold it.
struct FlagDescriptor {
    Flag flag;
    const char* name;
    int step;
    int option;  ///< 1-based option button that sets it
    QStringView optionCaption;
    /// The text of the group's saved-report cell when this flag is the chosen one.
    QStringView reportText;
    /// The number that stands for it in the statistical form's cell (besides the text);
    /// 0 for the last flag of a group, which is taken when nothing else matches.
    double formCode;
};

/// A choice step: its texts and the cells that hold the chosen flag.
struct ChoiceDescriptor {
    int step;
    QStringView question;
    QStringView help;
    /// Its short name in the causes of "неверный ввод"; empty when the calculation doesn't
    /// require a choice.
    QStringView shortName;
    int reportRow;
    QStringView reportLabel;
    QStringView reportUnit;
    FormCell formCell;
};

/// Every numeric answer, in enum (and step) order.
std::span<const AnswerDescriptor> answerTable();
const AnswerDescriptor& answerInfo(Answer answer);
std::optional<Answer> answerForStep(int step);
std::optional<Answer> answerByName(const QString& name);
const SalaryQuestionVariants& salaryQuestionVariants();

/// Every flag, in enum order.
std::span<const FlagDescriptor> flagTable();
const FlagDescriptor& flagInfo(Flag flag);
std::optional<Flag> flagByName(const QString& name);
/// The flags of one choice step, in option order (empty for other steps).
std::span<const FlagDescriptor> flagsOfStep(int step);

/// The three choice steps, in step order.
std::span<const ChoiceDescriptor> choiceTable();
/// The choice step's descriptor, or null for a step that is no choice.
const ChoiceDescriptor* choiceForStep(int step);
/// True for the steps answered with option buttons (3, 4, 55).
bool isChoiceStep(int step);

/// Whether the wizard asks a step in the given modes.
bool isAsked(AskedWhen when, bool ownPayroll, bool ownServices);

}  // namespace normativ
