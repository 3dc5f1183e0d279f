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

}  // namespace normativ
