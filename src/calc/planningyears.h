#pragma once

#include "fieldvalue.h"

#include <QStringList>
#include <span>

namespace normativ {

/// A planning year the program offers, with its PlanningYearIndex.
struct PlanningYear {
    int year;
    /// The index, widened to double when it is a single-precision constant.
    double index;
    bool singlePrecision;
};

/// Every planning year offered, in list order; the last one's index also serves a year
/// that is not in the list (a loaded workbook may hold any year).
std::span<const PlanningYear> planningYearTable();

/// The years as the year list and the answers documents spell them.
QStringList planningYearTexts();

/// PlanningYearIndex for a record's year (read as a number): the index of that year, or the
/// last year's index for a year not in the list.
FieldValue planningYearIndex(double year);

}  // namespace normativ
