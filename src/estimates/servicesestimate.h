#pragma once

#include "estimatecopies.h"

#include <QLocale>
#include <QString>
#include <array>

namespace normativ {

struct Store;

/// The recommended estimate of purchased services as its window shows it: seven lines,
/// each a yearly total and a per-pupil amount.
struct ServicesEstimate {
    static constexpr int kLines = SavedServicesEstimateText::kLines;
    static constexpr int kFirstBox = SavedServicesEstimateText::kFirstBox;
    static constexpr int kBoxes = 14;

    /// Texts of Text121 … Text134 (texts[0] is Text121).
    std::array<QString, kBoxes> texts;

    const QString& box(int number) const { return texts[number - kFirstBox]; }
    const QString& perPupil(int line) const {
        return box(SavedServicesEstimateText::perPupilBox(line));
    }
    const QString& total(int line) const { return box(SavedServicesEstimateText::totalBox(line)); }
};

/// The total subsidy of the institution as the result step shows it: the education
/// normative times the pupils plus the maintenance normative rounded to roubles times
/// the pupils, rounded to roubles. The window's services estimate starts from it.
QString shownTotalSubsidyText(const Store& store);

/// Computes the services estimate. `payrollTotalText` is the payroll estimate's total
/// cost as its grid shows it (row 25, column 5). Totals show two decimals, per-pupil
/// amounts whole roubles computed from the shown totals, the grand total the plain
/// text of the sum of the shown totals. "Other expenses" are what is left of the total
/// subsidy and the parents' payments after the payroll and the other lines. The store
/// is not changed.
ServicesEstimate computeServicesEstimate(const Store& store, const QString& payrollTotalText);

/// The copy kept for the estimate workbook: the texts of Text121 … Text133 and the
/// grand total of Text134 read as a currency number (0 when it is not a number).
SavedServicesEstimateText servicesCopy(const std::array<QString, ServicesEstimate::kBoxes>& texts,
                                       const QLocale& locale);

}  // namespace normativ
