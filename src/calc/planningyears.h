#pragma once

#include "fieldvalue.h"
#include "methodology.h"

#include <QStringList>

namespace normativ {

/// The methodology's planning years as the year list and the answers documents spell them.
QStringList planningYearTexts(const Methodology& methodology);

/// PlanningYearIndex for a record's year (read as a number): the index of that year, or the
/// last year's index for a year not in the list; single or double as the methodology
/// gives it.
FieldValue planningYearIndex(const Methodology& methodology, double year);

}  // namespace normativ
