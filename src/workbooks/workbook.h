#pragma once

#include "celladdress.h"
#include "cellvalue.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace normativ {

enum class HorizontalAlignment { General, Left, Center, Right };
enum class VerticalAlignment { Bottom, Center, Top };
enum class BorderStyle { None, Thin, Medium };

/// Everything a cell shows besides its value. The default is the spreadsheet's own default
/// style (Calibri 11, General, bottom-aligned, no borders).
struct CellFormat {
    QString fontName;     ///< empty: the default font
    double fontSize = 0;  ///< points; 0: the default size
    bool bold = false;
    bool italic = false;
    std::optional<std::uint32_t> fontColor;  ///< 0xRRGGBB; nothing: automatic
    QString numberFormat;                    ///< "0.00", "0.000", ...; empty or "General": General
    HorizontalAlignment horizontal = HorizontalAlignment::General;
    VerticalAlignment vertical = VerticalAlignment::Bottom;
    bool wrap = false;
    BorderStyle left = BorderStyle::None;
    BorderStyle top = BorderStyle::None;
    BorderStyle right = BorderStyle::None;
    BorderStyle bottom = BorderStyle::None;

    friend bool operator==(const CellFormat&, const CellFormat&) = default;
};

/// How a sheet prints. The default is the spreadsheet's own (the printer's paper, portrait,
/// 100 %, the whole used range, no footer).
struct PageSetup {
    enum class Paper { Default, A4 };
    struct Margins {
        double left = 0.7;  ///< inches
        double right = 0.7;
        double top = 0.75;
        double bottom = 0.75;
        friend bool operator==(const Margins&, const Margins&) = default;
    };
    struct Fit {
        int wide = 1;  ///< pages across; 0: as many as needed
        int tall = 0;  ///< pages down; 0: as many as needed
        friend bool operator==(const Fit&, const Fit&) = default;
    };
    struct Rows {
        int first = 1;
        int last = 1;
        friend bool operator==(const Rows&, const Rows&) = default;
    };

    Paper paper = Paper::Default;
    bool landscape = false;
    std::optional<Fit> fit;  ///< nothing: print at 100 %
    std::optional<Margins> margins;
    std::optional<RangeRef> printArea;
    std::optional<Rows> repeatedRows;  ///< printed at the top of every page
    /// The footer in the spreadsheet's codes ("&P" the page, "&N" the pages); a literal
    /// ampersand is "&&" (see footerLiteral). At most kMaxFooterLength characters.
    QString footer;

    friend bool operator==(const PageSetup&, const PageSetup&) = default;
};

/// The most characters a header or footer may hold in a spreadsheet.
inline constexpr int kMaxFooterLength = 255;

/// `text` as it must stand in a footer to print as written (an ampersand starts a code).
QString footerLiteral(const QString& text);

/// A footer of the captions that are not empty, in this order, separated by commas, then
/// the page numbers ("Стр. 1 из 3"). The first caption is shortened (with "…") so that
/// the whole fits kMaxFooterLength.
QString printFooter(const QStringList& captions);

/// A change applied to the formats of a range: takes the current format and alters only
/// what it means to set (as setting one property of a range does in a spreadsheet).
using FormatChange = std::function<void(CellFormat&)>;

/// One worksheet of a workbook being created. Rows and columns are 1-based. Calls with an
/// address outside the sheet limits, a non-finite number or a text longer than 32,767
/// characters change nothing; the workbook remembers the first such call and refuses to
/// save (see Workbook::error()).
class Sheet {
  public:
    struct Cell {
        CellValue value;
        CellFormat format;
    };
    struct ColumnSettings {
        std::optional<double> width;  ///< characters of the default font, as a spreadsheet shows
        bool hidden = false;
        std::optional<CellFormat> format;  ///< for cells of the column not written
        friend bool operator==(const ColumnSettings&, const ColumnSettings&) = default;
    };
    struct RowSettings {
        std::optional<double> height;  ///< points
        bool hidden = false;
        std::optional<CellFormat> format;
    };

    const QString& name() const { return name_; }
    /// Renames the sheet; false (and no change) for an empty name, one over 31 characters
    /// or one holding any of [ ] : * ? / \ or starting or ending with an apostrophe.
    bool setName(const QString& name);

    /// Values. A cell keeps its format when its value changes; a new cell starts with the
    /// format of its row, else of its column, else the default.
    void setNumber(int row, int column, double value);
    void setText(int row, int column, const QString& text);
    void setBool(int row, int column, bool value);
    void setValue(int row, int column, const CellValue& value);
    void setNumber(QStringView address, double value);
    void setText(QStringView address, const QString& text);
    void setValue(QStringView address, const CellValue& value);

    /// The value of a cell (Empty when nothing was written).
    CellValue value(int row, int column) const;
    CellValue value(QStringView address) const;
    /// The format the cell shows: its own, else its row's, else its column's, else default.
    CellFormat format(int row, int column) const;
    CellFormat format(QStringView address) const;

    /// Applies a change to the format of every cell of the range, blank ones included (they
    /// become formatted blanks). Whole columns or whole rows change the column or row
    /// format and every cell already written in them.
    void formatRange(const RangeRef& range, const FormatChange& change);
    void formatRange(QStringView range, const FormatChange& change);
    /// Lines around the range (`outline`) and between its cells (`inside`); None leaves
    /// those edges as they are.
    void setBorders(const RangeRef& range, BorderStyle outline, BorderStyle inside);
    void setBorders(QStringView range, BorderStyle outline, BorderStyle inside);

    /// Merges a range of at least two cells; the value of its top-left cell shows. False
    /// when it overlaps a merged range already made.
    bool mergeCells(const RangeRef& range);
    bool mergeCells(QStringView range);

    /// Column width in characters (0 hides the column, as in a spreadsheet).
    void setColumnWidth(int firstColumn, int lastColumn, double width);
    void setColumnsHidden(int firstColumn, int lastColumn, bool hidden = true);
    /// Row height in points (0 hides the row).
    void setRowHeight(int row, double points);
    void setRowHidden(int row, bool hidden = true);
    /// Hides every row from `firstHiddenRow` to the end of the sheet, including rows
    /// with values; rows above it stay visible. 0 cancels.
    void setRowsHiddenFrom(int firstHiddenRow);
    /// Freezes the rows above `row` and the columns left of `column` (2, 1 freezes row 1).
    void freezePanes(int row, int column);
    /// Forgets every cell and row setting, keeping the columns, the frozen panes and the
    /// page setup: a sheet written row by row holds only the rows not written yet.
    void clearRows();

    /// How the sheet prints. A print area or repeated rows outside the sheet, a fit over
    /// 32,767 pages, a negative or non-finite margin or a footer too long changes nothing
    /// and is remembered as the workbook's error.
    void setPageSetup(const PageSetup& setup);
    const PageSetup& pageSetup() const { return pageSetup_; }
    /// The smallest range holding every cell with a value; nothing for a sheet without one.
    std::optional<RangeRef> valueBounds() const;
    /// The width of columns first..last in characters, as they print (hidden ones take none,
    /// ones never set the spreadsheet's default).
    double columnsWidth(int firstColumn, int lastColumn) const;

    /// Read access for the writer and for tests.
    const std::map<std::pair<int, int>, Cell>& cells() const { return cells_; }
    /// Column settings as non-overlapping spans: first column -> (last column, settings).
    const std::map<int, std::pair<int, ColumnSettings>>& columnSpans() const { return columns_; }
    ColumnSettings columnSettings(int column) const;
    const std::map<int, RowSettings>& rows() const { return rows_; }
    const std::vector<RangeRef>& mergedRanges() const { return merged_; }
    int rowsHiddenFrom() const { return rowsHiddenFrom_; }
    std::optional<CellRef> frozenAt() const { return frozen_; }

  private:
    friend class Workbook;
    Sheet(class Workbook* owner, QString name) : owner_(owner), name_(std::move(name)) {}

    bool checkCell(int row, int column);
    bool checkRange(const RangeRef& range);
    Cell& cellForWrite(int row, int column);
    // Splits the column spans so that [first, last] is covered by whole spans.
    void splitColumns(int first, int last);
    template <typename F>
    void forColumns(int first, int last, F&& f);
    void fail(const QString& message);

    class Workbook* owner_;
    QString name_;
    std::map<std::pair<int, int>, Cell> cells_;  // (row, column)
    std::map<int, std::pair<int, ColumnSettings>> columns_;
    std::map<int, RowSettings> rows_;
    std::vector<RangeRef> merged_;
    int rowsHiddenFrom_ = 0;
    std::optional<CellRef> frozen_;
    PageSetup pageSetup_;
};

/// A workbook being created: its sheets, values and formats, in memory until it is saved
/// (see saveWorkbook). Sheets are numbered from 1 in the order they were added.
class Workbook {
  public:
    Workbook() = default;
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;
    /// Movable, so that a format can build a workbook and hand it back.
    Workbook(Workbook&& other) noexcept;
    Workbook& operator=(Workbook&& other) noexcept;

    /// Adds a sheet at the end; an empty name gives "Лист<number>".
    Sheet& addSheet(const QString& name = {});
    int sheetCount() const { return static_cast<int>(sheets_.size()); }
    /// Sheet number 1..sheetCount().
    Sheet& sheet(int number) { return *sheets_.at(static_cast<std::size_t>(number - 1)); }
    const Sheet& sheet(int number) const {
        return *sheets_.at(static_cast<std::size_t>(number - 1));
    }

    /// The first refused call (a Russian description), or empty.
    const QString& error() const { return error_; }

  private:
    friend class Sheet;
    std::vector<std::unique_ptr<Sheet>> sheets_;
    QString error_;
};

/// The height in points a row needs to show `text` wrapped in a column `columnWidth`
/// characters wide, in a font of `fontSize` points (the spreadsheet's own autofit is not
/// available to a file writer). An approximation by characters per line: words are kept
/// whole where they fit, explicit line breaks are honoured; at least one line.
double wrappedRowHeight(const QString& text, double columnWidth, double fontSize);

/// The number of lines the same approximation gives.
int wrappedLineCount(const QString& text, double columnWidth, double fontSize);

}  // namespace normativ
