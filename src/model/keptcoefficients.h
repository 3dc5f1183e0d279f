#pragma once

#include "currency.h"
#include "fieldvalue.h"

#include <array>

namespace normativ {

/// The coefficients the normative calculation keeps for later readers (estimates,
/// report). A value stays Empty until a calculation writes it and keeps its last value
/// when a later calculation refuses.
struct KeptCoefficients {
    FieldValue planningYearIndex;
    FieldValue teacherAnnualCost;
    FieldValue villageCoefficient;
    FieldValue villageSupportCoefficient;
    FieldValue institutionKindCoefficient;
    FieldValue longYearCoefficient;
    FieldValue sixDayWeekCoefficient;
    FieldValue payrollAccrualFactor;
    FieldValue educationLoadFactor;
    FieldValue educationSupportLoadFactor;
    FieldValue groupCountCoefficient;
    FieldValue staffWeekCoefficient;
    FieldValue maintenanceLoadFactorA;
    FieldValue maintenanceLoadFactorB;
    FieldValue maintenancePayrollPartA;
    FieldValue maintenancePayrollPartB;
    FieldValue serviceStaffCostIndex;
    /// ParentFeePerMonth × MonthsOfOperation, subtracted from the maintenance normative.
    FieldValue parentPayment;
    /// The maintenance normative's terms by the institution's own figures, roubles a year:
    /// utilities, the costs indexed by price growth, and taxes.
    FieldValue utilitiesTerm;
    FieldValue indexedCostsTerm;
    FieldValue taxesTerm;
    std::array<FieldValue, 8> serviceItemLoadFactor;
    std::array<FieldValue, 8> serviceItemMonthsFactor;
    std::array<FieldValue, 8> serviceItemWeekFactor;
    std::array<FieldValue, 8> serviceItemSettlementFactor;
    std::array<FieldValue, 8> serviceItemKindFactor;
    /// Standard amount × load factor of each service item (the standard way).
    std::array<FieldValue, 8> serviceItemAmount;
    /// Slot i: the group weight of distribution record i from the latest weighting pass.
    std::array<Currency, 42> groupWeightTable{};
};

}  // namespace normativ
