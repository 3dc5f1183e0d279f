#pragma once

#include <QString>

namespace normativ {

/// The distribution editor's messages when it refuses to move on or to finish; the
/// batch run reports a refused distribution in the same words.
struct DistributionCheckTexts {
    QString incompleteRecord;
    QString totalAbovePupilCount;
    QString totalBelowPupilCount;
    QString pupilCountNotEntered;
};
const DistributionCheckTexts& distributionCheckTexts();

}  // namespace normativ
