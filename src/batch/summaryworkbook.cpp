#include "summaryworkbook.h"

#include "batchtexts.h"
#include "methodologyfingerprint.h"

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

}  // namespace

Workbook buildSummaryWorkbook(const std::vector<SummaryRow>& rows, const Methodology& methodology) {
    Workbook book;
    Sheet& sheet = book.addSheet(batchTexts().summarySheet);
    for (int column = 1; column <= kColumns; ++column) {
        sheet.setText(1, column, batchTexts().summaryHeader[column - 1]);
    }

    SummaryRow::Figures totals;
    int computed = 0;
    int row = kFirstInputRow;
    for (const SummaryRow& input : rows) {
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
            totals.pupils += f->pupils;
            totals.groups += f->groups;
            totals.educationSubsidy += f->educationSubsidy;
            totals.maintenanceSubsidy += f->maintenanceSubsidy;
            totals.totalSubsidy += f->totalSubsidy;
            ++computed;
        }
        sheet.setText(row, kStatusColumn, input.status);
        ++row;
    }
    const int totalsRow = row;
    sheet.setText(totalsRow, kFileColumn, batchTexts().totals);
    sheet.setNumber(totalsRow, kPupilsColumn, totals.pupils);
    sheet.setNumber(totalsRow, kGroupsColumn, totals.groups);
    sheet.setNumber(totalsRow, kEducationSubsidyColumn, totals.educationSubsidy);
    sheet.setNumber(totalsRow, kMaintenanceSubsidyColumn, totals.maintenanceSubsidy);
    sheet.setNumber(totalsRow, kTotalSubsidyColumn, totals.totalSubsidy);
    sheet.setText(totalsRow, kStatusColumn,
                  batchTexts()
                      .computedOf.arg(batchTexts().computed)
                      .arg(computed)
                      .arg(static_cast<int>(rows.size())));

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
    sheet.formatRange(RangeRef{1, 1, 1, kColumns}, [](CellFormat& f) {
        f.bold = true;
        f.wrap = true;
        f.horizontal = HorizontalAlignment::Center;
    });
    sheet.formatRange(RangeRef{totalsRow, 1, totalsRow, kColumns},
                      [](CellFormat& f) { f.bold = true; });
    sheet.setBorders(RangeRef{1, 1, totalsRow, kColumns}, BorderStyle::Thin, BorderStyle::Thin);
    for (int column = 1; column <= kColumns; ++column) {
        sheet.setColumnWidth(column, column, width(column));
    }
    for (int r = 1; r <= totalsRow; ++r) sheet.setRowHeight(r, rowHeight(sheet, r));
    // Which methodology the figures come from, under the table on one line.
    const int methodologyRow = totalsRow + 2;
    sheet.setText(methodologyRow, kFileColumn, methodologyLine(methodology));
    sheet.formatRange(RangeRef{methodologyRow, kFileColumn, methodologyRow, kFileColumn},
                      [](CellFormat& f) { f.wrap = false; });
    sheet.freezePanes(2, 1);

    // Landscape across one page, the captions on every page.
    PageSetup print;
    print.paper = PageSetup::Paper::A4;
    print.landscape = true;
    print.fit = PageSetup::Fit{1, 0};
    print.margins = PageSetup::Margins{0.4, 0.4, 0.6, 0.75};
    print.printArea = RangeRef{1, 1, methodologyRow, kColumns};
    print.repeatedRows = PageSetup::Rows{1, 1};
    print.footer = printFooter({batchTexts().summarySheet});
    sheet.setPageSetup(print);
    return book;
}

}  // namespace normativ
