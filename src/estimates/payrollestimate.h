#pragma once

#include "currency.h"
#include "distributiontable.h"
#include "estimatecopies.h"

#include <QString>
#include <array>

namespace normativ {

struct Store;

/// The recommended payroll estimate as its grid shows it: 25 rows of 5 texts.
struct PayrollEstimate {
    static constexpr int kRows = SavedPayrollEstimateText::kRows;
    static constexpr int kColumns = SavedPayrollEstimateText::kColumns;

    /// rows[r - 1][c - 1] is row r, column c, left to right for every row.
    std::array<std::array<QString, kColumns>, kRows> rows;
    /// The group weight of each distribution record from the last weighting pass (the
    /// educational support staff); the store keeps it as its group weight table.
    std::array<Currency, kMaxDistributionRecords> groupWeights{};

    const QString& at(int row, int column) const { return rows[row - 1][column - 1]; }
    /// The 125 texts in grid box order (Text1 … Text120, Text221 … Text225).
    SavedPayrollEstimateText boxTexts() const;
};

/// Computes the payroll estimate from the answers, the distribution and the
/// coefficients the normative calculation kept. Columns 1 and 2 show three decimals,
/// columns 3 to 5 whole roubles; the total row shows its staff units with two decimals
/// and its cost per pupil as the plain currency sum. Total rows read back the figures
/// the grid shows. The store is not changed.
PayrollEstimate computePayrollEstimate(const Store& store);

}  // namespace normativ
