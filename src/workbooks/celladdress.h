#pragma once

#include <QString>
#include <QStringView>
#include <optional>
#include <string_view>

namespace normativ {

/// The sheet limits of the spreadsheet format: 1,048,576 rows, 16,384 columns (XFD),
/// 32,767 characters in a cell.
inline constexpr int kMaxRows = 1048576;
inline constexpr int kMaxColumns = 16384;
inline constexpr int kMaxCellTextLength = 32767;

/// A cell position, 1-based: A1 is row 1, column 1.
struct CellRef {
    int row = 0;
    int column = 0;
    friend bool operator==(const CellRef&, const CellRef&) = default;
};

/// A rectangle of cells, 1-based and inclusive. Whole columns ("D:IV") span rows 1 to
/// kMaxRows, whole rows ("54:65536") columns 1 to kMaxColumns.
struct RangeRef {
    int firstRow = 0;
    int firstColumn = 0;
    int lastRow = 0;
    int lastColumn = 0;

    bool wholeColumns() const { return firstRow == 1 && lastRow == kMaxRows; }
    bool wholeRows() const { return firstColumn == 1 && lastColumn == kMaxColumns; }
    bool contains(int row, int column) const {
        return row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn;
    }
    /// The number of cells, as a 64-bit count (a whole sheet has 2^34).
    long long cellCount() const {
        return static_cast<long long>(lastRow - firstRow + 1) * (lastColumn - firstColumn + 1);
    }
    friend bool operator==(const RangeRef&, const RangeRef&) = default;
};

/// The column number of letters "A".."XFD" (either case); nothing for anything else,
/// including columns past XFD.
std::optional<int> columnFromLetters(std::string_view letters);
std::optional<int> columnFromLetters(QStringView letters);

/// The letters of a column number 1..kMaxColumns ("A", "Z", "AA", "XFD"); empty when out
/// of range.
QString columnLetters(int column);

/// A cell address such as "B4", "b4" or "$B$4"; nothing when it is malformed or outside
/// the sheet limits.
std::optional<CellRef> parseCellRef(std::string_view address);
std::optional<CellRef> parseCellRef(QStringView address);

/// The address of a cell, "B4"; empty when outside the sheet limits.
QString cellAddress(int row, int column);
QString cellAddress(const CellRef& cell);

/// A range: "A2:C53", a single cell "B4", whole columns "D:IV" or "A", whole rows
/// "54:65536". Corners may come in either order; the result is normalised.
std::optional<RangeRef> parseRange(QStringView text);

}  // namespace normativ
