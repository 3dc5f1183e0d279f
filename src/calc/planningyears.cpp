#include "planningyears.h"

namespace normativ {

QStringList planningYearTexts(const Methodology& methodology) {
    QStringList years;
    for (const PlanningYear& y : methodology.planningYears) years << QString::number(y.year);
    return years;
}

FieldValue planningYearIndex(const Methodology& methodology, double year) {
    const PlanningYear& y = methodology.planningYearFor(year);
    return y.singlePrecision ? FieldValue::single(static_cast<float>(y.index))
                             : FieldValue::number(y.index);
}

}  // namespace normativ
