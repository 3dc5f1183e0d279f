#pragma once

#include "distributionchecktexts.h"
#include "store.h"

#include <QString>
#include <optional>

namespace normativ {

/// The finish check of the distribution: the pupils of records 1..count must add up to
/// PupilCount exactly. Nothing when they do; otherwise the editor's message (the total
/// above or below the pupil count, or the pupil count never entered). A total beyond
/// the currency range is added up in double precision: it is still far from any count.
std::optional<QString> distributedTotalProblem(const Store& store);

}  // namespace normativ
