#pragma once

#include "currency.h"
#include "methodology.h"
#include "store.h"

#include <array>
#include <optional>

namespace normativ {

/// One group weight per distribution record slot.
using GroupWeights = std::array<Currency, kMaxDistributionRecords>;

/// The pupil-weighted sum of the group weights of records 1..DistributionRecordCount,
/// each record's weight being (age sum × stay sum) × orientation sum with the
/// orientation terms and the weight itself in currency, and each record adding
/// (pupils × weight, a currency product) / PupilCount in double precision. Writes the
/// weight of record i into slot i of `weights` (slots beyond the records are left as
/// they are). Nothing - and `weights` partly written - when a currency value overflows
/// or the sum is not finite (PupilCount 0 with records, say).
std::optional<double> weightingPass(const Store& store, const WeightSet& set,
                                    GroupWeights& weights);

/// The same pass writing the store's group weight table; on failure the table is left
/// unchanged.
std::optional<double> runWeightingPass(Store& store, const WeightSet& set);

}  // namespace normativ
