#include "distributioncheck.h"

namespace normativ {

std::optional<QString> distributedTotalProblem(const Store& store) {
    const DistributionTable& table = store.distribution;
    double total = 0;
    if (const auto sum = table.distributedPupilTotal()) {
        total = sum->toDouble();
    } else {
        for (int r = 1; r <= table.usedRecords(); ++r) total += table.pupils(r).toDouble();
    }
    const FieldValue& pupilCount = store.record[Answer::PupilCount];
    const double difference = total - pupilCount.toDouble(store.locale);
    const DistributionCheckTexts& texts = distributionCheckTexts();
    if (difference > 0) return texts.totalAbovePupilCount;
    if (difference == 0) return std::nullopt;
    // Below, or not comparable at all: never a match.
    return pupilCount.isNotEnteredMarker(store.locale) ? texts.pupilCountNotEntered
                                                       : texts.totalBelowPupilCount;
}

}  // namespace normativ
