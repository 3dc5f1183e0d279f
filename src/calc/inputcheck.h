#pragma once

#include "store.h"

#include <QString>
#include <vector>

namespace normativ {

/// One reason a stage of the calculation refuses its inputs: a short Russian name of
/// the answer and why ("количество групп — не введено").
struct InputProblem {
    QString what;
    QString why;
    QString text() const { return what + QStringLiteral(" — ") + why; }
};

/// The short Russian name of an answer, as refusal messages name it.
QString answerShortName(Answer answer);

/// Every reason the education stage refuses the record, in answer order; empty when
/// its inputs are usable.
std::vector<InputProblem> educationInputProblems(const Store& store);
/// The same for the maintenance stage (its way chosen by UseOwnServicesData).
std::vector<InputProblem> maintenanceInputProblems(const Store& store);

/// The cause named when the education stage refuses although no input problem is
/// listed: a result that is not a finite number, or a currency value beyond its range
/// (answers far too large, say).
InputProblem educationResultProblem();
/// The same for the maintenance stage.
InputProblem maintenanceResultProblem();
/// The cause named when the maintenance stage does not run: UseOwnServicesData is
/// neither 0 nor 1.
InputProblem maintenanceWayProblem();

}  // namespace normativ
