#pragma once

#include <QString>

namespace normativ {

/// Every text of the calculation: what a refused stage shows, and the causes it names.
struct CalcTexts {
    /// The text a refused stage puts into its result boxes.
    QString invalidInput;
    // Why an answer or a choice is refused.
    QString notEntered;
    QString zero;
    QString notChosen;
    QString payrollBaseIsZero;
    QString notWholeGroupCount;
    QString resultOutOfRange;
    // What is refused, besides the answers' and choices' own short names.
    QString recordPupils;  ///< %1: the record's number
    QString educationNorm;
    QString maintenanceNorm;
    QString maintenanceWay;
};
const CalcTexts& calcTexts();

}  // namespace normativ
