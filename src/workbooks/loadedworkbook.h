#pragma once

#include "cellvalue.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace normativ {

/// Caps of the workbook readers. Every file is treated as hostile: sizes are counted on
/// bytes actually read or inflated, never taken from what a file declares.
namespace readlimits {
inline constexpr std::int64_t kMaxFileSize = 20 * 1024 * 1024;
inline constexpr int kMaxZipEntries = 1000;
inline constexpr std::int64_t kMaxPartSize = 16 * 1024 * 1024;
inline constexpr std::int64_t kMaxInflatedTotal = 64 * 1024 * 1024;
/// Parts inflating past this size must not inflate more than kMaxInflationRatio times.
inline constexpr std::int64_t kRatioCheckedFrom = 100 * 1024;
inline constexpr std::int64_t kMaxInflationRatio = 100;
inline constexpr int kMaxXmlDepth = 64;
inline constexpr int kMaxSheets = 64;
inline constexpr int kMaxCells = 1000000;
inline constexpr int kMaxSharedStrings = 1000000;
}  // namespace readlimits

/// The values of a workbook read from a file: its worksheets in workbook order, numbered
/// from 1, each holding only the cells that have a value (no grid is ever built from the
/// sizes a file declares).
class LoadedWorkbook {
  public:
    int sheetCount() const { return static_cast<int>(sheets_.size()); }
    /// The tab name of sheet 1..sheetCount(); empty for another number.
    QString sheetName(int sheet) const;
    /// The value of a cell; Empty for a blank cell, a cell outside the sheet limits or a
    /// sheet that doesn't exist.
    CellValue cell(int sheet, int row, int column) const;
    /// The same by address ("B4", "eh17"); Empty for a malformed address.
    CellValue cell(int sheet, QStringView address) const;
    /// The number of cells with a value on a sheet.
    int cellCount(int sheet) const;

    /// Building, for the readers: sheets are added in order, cells in any order (a later
    /// value of the same cell replaces an earlier one); finish() makes them searchable.
    /// Texts are kept once in a pool shared by all sheets: addText() gives the index a
    /// text cell refers to, so that a shared string used by many cells is stored once.
    void addSheet(const QString& name);
    std::uint32_t addText(QString text);
    /// A text as an .xlsx package holds it: UTF-8 with the package's "_xHHHH_" escapes,
    /// decoded when a cell is read (a workbook holds many texts the loader never reads).
    std::uint32_t addPackageText(std::string text);
    void appendCell(int row, int column, const CellValue& value);
    void appendTextCell(int row, int column, std::uint32_t textIndex);
    void finish();

  private:
    // 24 bytes a cell: a million cells must fit the readers' memory cap.
    struct StoredCell {
        std::uint64_t key;
        double number;       // Number; for Bool 0 or 1
        std::uint32_t text;  // Text: index into texts_
        CellValue::Kind kind;
    };
    struct SheetData {
        QString name;
        std::vector<StoredCell> cells;  // sorted by key once finished
    };
    static std::uint64_t key(int row, int column) {
        return (static_cast<std::uint64_t>(row) << 16) | static_cast<std::uint64_t>(column);
    }
    std::vector<SheetData> sheets_;
    std::vector<std::variant<QString, std::string>> texts_;
};

}  // namespace normativ
