#pragma once

// The full calculation cases that derive_expected.py derives, shared by the calculation's
// tests and the trail's.

#include "calctesthelpers.h"

#include <QtGlobal>
#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace calctest {

/// A whole calculation: the inputs and every figure derived for them by
/// derive_expected.py, independently of this code.
struct FullCase {
    const char* name;
    const char* locale;
    const char* year;
    int ownPayroll;
    int ownServices;
    std::vector<std::pair<const char*, const char*>> answers;
    std::vector<const char*> flags;
    std::vector<RecordSpec> records;
    double accrual;
    double teacherCost;
    double educationLoad;
    double educationSupportLoad;
    double educationNorm;
    double groupCount;
    double maintenanceLoadA;
    double maintenanceLoadB;
    double payrollPartA;
    double payrollPartB;
    double maintenanceNorm;
    std::optional<double> staffCostIndex;
    std::optional<double> serviceItemLoad;
    double totalSubsidy;
    std::vector<qint64> lastWeights;
    std::array<const char*, 6> texts;
};

inline const std::vector<FullCase>& fullCases() {
    static const std::vector<FullCase> cases{
#include "fullcases.inc"
    };
    return cases;
}

}  // namespace calctest
