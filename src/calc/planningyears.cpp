#include "planningyears.h"

#include <array>

namespace normativ {

namespace {

// clang-format off
constexpr auto kPlanningYears = std::to_array<PlanningYear>({
    {2010, 1.262, false},
    {2011, double(1.342f), true},
    {2012, double(1.342f), true},
});
// clang-format on

FieldValue indexValue(const PlanningYear& year) {
    return year.singlePrecision ? FieldValue::single(static_cast<float>(year.index))
                                : FieldValue::number(year.index);
}

}  // namespace

std::span<const PlanningYear> planningYearTable() {
    return kPlanningYears;
}

QStringList planningYearTexts() {
    QStringList years;
    for (const PlanningYear& y : kPlanningYears) years << QString::number(y.year);
    return years;
}

FieldValue planningYearIndex(double year) {
    for (const PlanningYear& y : kPlanningYears) {
        if (y.year == year) return indexValue(y);
    }
    return indexValue(kPlanningYears.back());
}

}  // namespace normativ
