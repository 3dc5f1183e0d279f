#pragma once

#include "currency.h"

#include <QString>
#include <array>

namespace normativ {

/// The payroll estimate grid as it was shown when the services estimate was opened:
/// 125 texts in box order Text1 … Text120, then Text221 … Text225. The estimate
/// workbook is written from this copy.
struct SavedPayrollEstimateText {
    static constexpr int kRows = 25;
    static constexpr int kColumns = 5;
    static constexpr int kBoxes = kRows * kColumns;

    /// The number of the grid box of row 1..25 and column 1..5: rows 1 to 23 count
    /// left to right (Text1 … Text115), the service staff row counts right to left
    /// (Text120 is its first column, Text116 its last), the total row is Text221 …
    /// Text225.
    static constexpr int boxNumber(int row, int column) {
        if (row == 24) return 121 - column;
        if (row == 25) return 220 + column;
        return (row - 1) * kColumns + column;
    }
    /// Position of a box in `texts` (Text1 at 0, Text120 at 119, Text221 at 120).
    static constexpr int indexOfBox(int box) { return box <= 120 ? box - 1 : box - 101; }

    std::array<QString, kBoxes> texts;

    /// The text of row 1..25, column 1..5 (left to right for every row).
    const QString& at(int row, int column) const {
        return texts[indexOfBox(boxNumber(row, column))];
    }
};

/// The services estimate as it was shown when the user left it or exported it: the
/// texts of Text121 … Text133 and the grand total of Text134 read as a number.
struct SavedServicesEstimateText {
    static constexpr int kLines = 7;
    static constexpr int kFirstBox = 121;
    static constexpr int kTextBoxes = 13;

    /// Boxes of line 1..7: per pupil on the left, total on the right.
    static constexpr int perPupilBox(int line) { return kFirstBox - 2 + 2 * line; }
    static constexpr int totalBox(int line) { return kFirstBox - 1 + 2 * line; }

    std::array<QString, kTextBoxes> texts;  ///< Text121 at 0 … Text133 at 12
    Currency grandTotal;                    ///< Text134

    /// The text of box Text121 … Text133.
    const QString& box(int number) const { return texts[number - kFirstBox]; }
};

/// Both copies, held by the store for the estimate workbook.
struct EstimateCopies {
    SavedPayrollEstimateText payroll;
    SavedServicesEstimateText services;
};

}  // namespace normativ
