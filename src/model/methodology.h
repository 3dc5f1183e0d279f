#pragma once

#include <QString>
#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace normativ {

/// The weights of one weighting pass: one weight per item of the age classes, the
/// length-of-stay modes (a set may have none) and the orientations, in item order.
/// Every weight is a single-precision value; the pass widens it to double.
struct WeightSet {
    std::array<float, 3> age;
    std::optional<std::array<float, 9>> stay;
    std::array<float, 6> orientation;

    bool operator==(const WeightSet&) const = default;
};

/// A planning year offered, with its PlanningYearIndex.
struct PlanningYear {
    int year;
    /// The index, widened to double when it is a single-precision constant.
    double index;
    bool singlePrecision;

    bool operator==(const PlanningYear&) const = default;
};

/// The four payroll answers written when the institution's own payroll figures are not
/// used.
struct PayrollDefaults {
    float minTeacherSalary;
    float teacherPayrollFund;
    float teacherCompensationFund;
    float teacherIncentiveFund;

    bool operator==(const PayrollDefaults&) const = default;
};

/// The monthly salary of one row of the payroll estimate: the standard salary, and the
/// coefficient that multiplies the minimum salary when the own payroll figures are used.
struct PayrollPosition {
    int defaultSalary;
    float salaryCoefficient;

    bool operator==(const PayrollPosition&) const = default;
};

/// The staff weights of a payroll position whose staffing follows the groups.
struct StaffWeights {
    int row;      ///< row of the payroll estimate (1 to 25)
    float scale;  ///< staff units per weighted pupil
    std::array<float, 3> age;
    std::array<float, 9> stay;
    std::array<float, 6> orientation;
    /// The teachers' orientation sum is kept in currency, term by term.
    bool currencyOrientation;

    bool operator==(const StaffWeights&) const = default;
};

/// Staff units of the eight administrative positions (rows 15 to 22) from a group count
/// on, up to the next line's.
struct AdministrativeLine {
    int fromGroups;
    std::array<double, 8> units;

    bool operator==(const AdministrativeLine&) const = default;
};

inline constexpr int kServiceItemCount = 8;
inline constexpr int kGroupCountLines = 30;
inline constexpr int kPayrollPositionRows = 24;
inline constexpr int kStaffWeightSets = 6;
inline constexpr int kAdministrativeLines = 11;

/// Every constant of the calculation and the estimates, the payroll defaults and the
/// planning years: the methodology a municipality adopts. The built-in example is the
/// default. Values the methodology gives as single-precision constants are floats and
/// are widened where used; the others are doubles.
struct Methodology {
    QString name;
    QString note;
    std::vector<PlanningYear> planningYears;
    PayrollDefaults payrollDefaults;

    // The education normative.
    float salaryFactor;   ///< the salary with its allowances, per minimum salary
    double salaryAddend;  ///< added to the salary before the monthly share
    float monthlyShare;   ///< the teacher's monthly cost share of a pupil
    float supportShare;   ///< the weight of the support load
    float villageCoefficient;
    float villageSupportCoefficient;
    float kindCoefficient;  ///< any kind but "Иной тип учреждения", standard payroll
    double longYearCoefficient;
    double longYearMonths;  ///< more months than this make a long year
    float sixDayWeekCoefficient;
    WeightSet educationLoad;         ///< E1
    WeightSet educationSupportLoad;  ///< E2

    // The maintenance normative.
    float payrollShareA;
    float payrollShareB;
    double staffSixDayWeekCoefficient;
    WeightSet maintenanceLoadA;  ///< M1
    WeightSet maintenanceLoadB;  ///< M2
    WeightSet serviceItemLoad;   ///< M3
    /// Index g-1 holds the coefficient of g groups; more than 30 groups share one.
    std::array<float, kGroupCountLines> groupCountCoefficients;
    float manyGroupsCoefficient;
    /// Standard yearly amount per pupil of each service item, roubles; item 1 is the
    /// service staff.
    std::array<float, kServiceItemCount> serviceItemBase;
    double heatShare;         ///< of the heat bill counted as utilities (the rest as taxes too)
    double electricityShare;  ///< of the power bill counted as utilities
    double electricityTaxShare;
    double repairAreaShare;  ///< of the building area repaired each year
    float taxTermFactor;

    // The payroll estimate.
    float salaryShare;  ///< share of the salary that the cost per pupil counts
    float estimateSixDayWeekFactor;
    float yearRoundFactor;
    std::array<PayrollPosition, kPayrollPositionRows> positions;
    std::array<StaffWeights, kStaffWeightSets> staffWeights;
    std::array<AdministrativeLine, kAdministrativeLines> administrativeStaff;

    bool operator==(const Methodology&) const = default;

    /// The built-in example: the program's figures when no methodology is loaded.
    static std::shared_ptr<const Methodology> example();

    /// The planning year of a record's year (read as a number), or the last one for a year
    /// not in the list (a loaded workbook may hold any year).
    const PlanningYear& planningYearFor(double year) const;
    /// The coefficient for the number of groups: a whole number of groups from 1 to 30 has
    /// its own value, more than 30 share one; any other number (0, negative, fractional)
    /// has none.
    std::optional<float> groupCountCoefficient(double groupCount) const;
};

}  // namespace normativ
