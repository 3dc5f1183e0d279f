#include "summaryworkbook.h"

#include "batchtexts.h"
#include "methodologyfingerprint.h"
#include "savexlsx.h"

#include <algorithm>
#include <array>
#include <optional>

namespace normativ {

namespace {

using namespace summary;

constexpr double kFontSize = 12;
const QString kFont = QStringLiteral("Times New Roman");

/// The columns' widths, in characters.
constexpr std::array<double, kColumns> kWidths{28, 46, 11, 15, 10, 18, 18, 18, 19, 19, 19, 60};

double width(int column) {
    return kWidths[static_cast<std::size_t>(column - 1)];
}

// The year as a number when it is a whole number, so that a spreadsheet sorts and
// filters it as one; otherwise the text the record holds.
CellValue yearValue(const QString& year) {
    bool ok = false;
    const int number = year.toInt(&ok);
    return ok ? CellValue::number(number) : CellValue::text(year);
}

// The height a row needs for its wrapped texts; numbers take one line.
double rowHeight(const Sheet& sheet, int row) {
    double height = 0;
    for (int column = 1; column <= kColumns; ++column) {
        const CellValue value = sheet.value(row, column);
        const QString text = value.isText() ? value.toText() : QStringLiteral("0");
        height = std::max(height, wrappedRowHeight(text, width(column), kFontSize));
    }
    return height;
}

// The columns' widths and formats: every cell written afterwards starts from its column's.
void layOutColumns(Sheet& sheet) {
    // The font of the whole table's columns, so that cells typed in later match.
    sheet.formatRange(RangeRef{1, 1, kMaxRows, kColumns}, [](CellFormat& f) {
        f.fontName = kFont;
        f.fontSize = kFontSize;
        f.vertical = VerticalAlignment::Center;
    });
    const RangeRef texts[] = {{1, kFileColumn, kMaxRows, kInstitutionColumn},
                              {1, kStatusColumn, kMaxRows, kStatusColumn}};
    for (const RangeRef& range : texts) {
        sheet.formatRange(range, [](CellFormat& f) { f.wrap = true; });
    }
    sheet.formatRange(RangeRef{1, kYearColumn, kMaxRows, kGroupsColumn},
                      [](CellFormat& f) { f.horizontal = HorizontalAlignment::Center; });
    sheet.formatRange(RangeRef{1, kEducationNormColumn, kMaxRows, kTotalSubsidyColumn},
                      [](CellFormat& f) { f.numberFormat = QStringLiteral("0.00"); });
    for (int column = 1; column <= kColumns; ++column) {
        sheet.setColumnWidth(column, column, width(column));
    }
    sheet.freezePanes(2, 1);
}

// Thin borders around every cell of a row of the table, and the height of its texts.
void finishTableRow(Sheet& sheet, int row) {
    sheet.setBorders(RangeRef{row, 1, row, kColumns}, BorderStyle::Thin, BorderStyle::Thin);
    sheet.setRowHeight(row, rowHeight(sheet, row));
}

void writeHeader(Sheet& sheet) {
    for (int column = 1; column <= kColumns; ++column) {
        sheet.setText(1, column, batchTexts().summaryHeader[column - 1]);
    }
    sheet.formatRange(RangeRef{1, 1, 1, kColumns}, [](CellFormat& f) {
        f.bold = true;
        f.wrap = true;
        f.horizontal = HorizontalAlignment::Center;
    });
    finishTableRow(sheet, 1);
}

// What the totals row sums up, in input order.
struct Totals {
    SummaryRow::Figures sums;
    int computed = 0;
    int inputs = 0;
};

void writeInput(Sheet& sheet, int row, const SummaryRow& input, Totals& totals) {
    sheet.setText(row, kFileColumn, input.fileName);
    if (!input.institution.isEmpty()) sheet.setText(row, kInstitutionColumn, input.institution);
    if (!input.year.isEmpty()) sheet.setValue(row, kYearColumn, yearValue(input.year));
    if (const auto& f = input.figures) {
        const std::pair<int, double> figures[] = {
            {kPupilsColumn, f->pupils},
            {kGroupsColumn, f->groups},
            {kEducationNormColumn, f->educationNorm},
            {kMaintenanceNormColumn, f->maintenanceNorm},
            {kTotalNormColumn, f->totalNorm},
            {kEducationSubsidyColumn, f->educationSubsidy},
            {kMaintenanceSubsidyColumn, f->maintenanceSubsidy},
            {kTotalSubsidyColumn, f->totalSubsidy},
        };
        for (const auto& [column, value] : figures) sheet.setNumber(row, column, value);
        totals.sums.pupils += f->pupils;
        totals.sums.groups += f->groups;
        totals.sums.educationSubsidy += f->educationSubsidy;
        totals.sums.maintenanceSubsidy += f->maintenanceSubsidy;
        totals.sums.totalSubsidy += f->totalSubsidy;
        ++totals.computed;
    }
    sheet.setText(row, kStatusColumn, input.status);
    ++totals.inputs;
    finishTableRow(sheet, row);
}

void writeTotals(Sheet& sheet, int row, const Totals& totals) {
    sheet.setText(row, kFileColumn, batchTexts().totals);
    sheet.setNumber(row, kPupilsColumn, totals.sums.pupils);
    sheet.setNumber(row, kGroupsColumn, totals.sums.groups);
    sheet.setNumber(row, kEducationSubsidyColumn, totals.sums.educationSubsidy);
    sheet.setNumber(row, kMaintenanceSubsidyColumn, totals.sums.maintenanceSubsidy);
    sheet.setNumber(row, kTotalSubsidyColumn, totals.sums.totalSubsidy);
    sheet.setText(
        row, kStatusColumn,
        batchTexts().computedOf.arg(batchTexts().computed).arg(totals.computed).arg(totals.inputs));
    sheet.formatRange(RangeRef{row, 1, row, kColumns}, [](CellFormat& f) { f.bold = true; });
    finishTableRow(sheet, row);
}

// Which methodology the figures come from, two rows under the table on one line; then
// the page setup, which prints down to it.
void writeMethodology(Sheet& sheet, int totalsRow, const QString& line) {
    const int row = totalsRow + 2;
    sheet.setText(row, kFileColumn, line);
    sheet.formatRange(RangeRef{row, kFileColumn, row, kFileColumn},
                      [](CellFormat& f) { f.wrap = false; });

    // Landscape across one page, the captions on every page.
    PageSetup print;
    print.paper = PageSetup::Paper::A4;
    print.landscape = true;
    print.fit = PageSetup::Fit{1, 0};
    print.margins = PageSetup::Margins{0.4, 0.4, 0.6, 0.75};
    print.printArea = RangeRef{1, 1, row, kColumns};
    print.repeatedRows = PageSetup::Rows{1, 1};
    print.footer = printFooter({batchTexts().summarySheet});
    sheet.setPageSetup(print);
}

}  // namespace

Workbook buildSummaryWorkbook(const std::vector<SummaryRow>& rows, const Methodology& methodology) {
    Workbook book;
    Sheet& sheet = book.addSheet(batchTexts().summarySheet);
    layOutColumns(sheet);
    writeHeader(sheet);
    Totals totals;
    int row = kFirstInputRow;
    for (const SummaryRow& input : rows) writeInput(sheet, row++, input, totals);
    writeTotals(sheet, row, totals);
    writeMethodology(sheet, row, methodologyLine(methodology));
    return book;
}

struct SummaryWriter::Private {
    // The rows not written yet, over the summary's columns.
    Workbook rows;
    std::unique_ptr<SheetStreamWriter> writer;
    QString methodology;
    Totals totals;
    int nextRow = kFirstInputRow;
};

SummaryWriter::SummaryWriter() : d_(std::make_unique<Private>()) {}

SummaryWriter::~SummaryWriter() = default;

Result<std::unique_ptr<SummaryWriter>> SummaryWriter::open(const QString& path,
                                                           const Methodology& methodology) {
    using R = Result<std::unique_ptr<SummaryWriter>>;
    std::unique_ptr<SummaryWriter> summary(new SummaryWriter);
    Private& d = *summary->d_;
    d.methodology = methodologyLine(methodology);
    layOutColumns(d.rows.addSheet(batchTexts().summarySheet));
    auto writer = SheetStreamWriter::open(d.rows, path);
    if (!writer) return R::failure(writer.error());
    d.writer = std::move(*writer);
    writeHeader(d.rows.sheet(1));
    if (Status written = d.writer->writeRows(d.rows); !written) {
        return R::failure(written.error());
    }
    return R::success(std::move(summary));
}

Status SummaryWriter::add(const SummaryRow& row) {
    writeInput(d_->rows.sheet(1), d_->nextRow++, row, d_->totals);
    return d_->writer->writeRows(d_->rows);
}

Status SummaryWriter::finish() {
    Sheet& sheet = d_->rows.sheet(1);
    writeTotals(sheet, d_->nextRow, d_->totals);
    writeMethodology(sheet, d_->nextRow, d_->methodology);
    return d_->writer->finish(d_->rows);
}

}  // namespace normativ
