#pragma once

#include "store.h"
#include "workbook.h"

#include <QString>
#include <optional>
#include <vector>

namespace normativ {

/// One line of the calculation trail.
struct TrailLine {
    enum class Kind {
        Section,     ///< a stage or the results: `name` only
        Subsection,  ///< a group of lines inside a stage (the records, a weighting pass)
        Value,       ///< a figure: `name`, `value`, `how`
        Refused,  ///< a stage that refused: `name`, "неверный ввод" and the causes in `how`
    };
    Kind kind = Kind::Value;
    QString name;
    std::optional<double> value;
    QString how;
};

/// Every figure the two stages computed for the store, in the order of the calculation:
/// the education normative (planning year index, payroll accrual factor with its funds,
/// teacher's annual cost, coefficients, the records' pupils, the passes E1 and E2 with each
/// record's group weight), the maintenance normative (group-count and staff week
/// coefficients, the passes M1 and M2, payroll parts B and A, then the service items and
/// the M3 pass, or the own figures' terms), and the results. Each figure with how it was
/// obtained, naming the methodology's constants with their values. The figures are the
/// kept coefficients of the latest calculation (the report is made right after it) and the
/// normatives of the record; a record's group weights are those of the same weighting pass
/// run again. A stage whose inputs are refused, or that left no figures, shows
/// "неверный ввод" and the causes instead.
std::vector<TrailLine> calculationTrail(const Store& store);

/// Adds the sheet "Расчет": the trail as a table of name, value (every digit) and how it
/// was obtained, in Times New Roman 12 with wrapped texts.
void addCalculationTrailSheet(Workbook& book, const Store& store);

}  // namespace normativ
