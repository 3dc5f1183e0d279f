#include "savedreport.h"

#include "calculationtrail.h"
#include "cellinput.h"
#include "methodologyworkbook.h"
#include "normativecalculation.h"
#include "savedreporttexts.h"

#include <algorithm>
#include <array>

namespace normativ {

namespace {

using namespace savedreport;

constexpr int kTitleRow = 2;
constexpr int kResultsTitleRow = 46;
constexpr int kGroupsHeaderRow = 4;
constexpr int kLabelColumn = 1;
constexpr int kValueColumn = 2;
constexpr int kUnitColumn = 3;
constexpr double kLabelWidth = 67.29;
constexpr double kValueWidth = 28.29;
constexpr double kUnitWidth = 16.86;
constexpr double kReportFontSize = 12;
/// The default font of a new workbook, which the second sheet keeps.
constexpr double kDefaultFontSize = 11;
constexpr double kDefaultColumnWidth = 8.43;
constexpr int kFirstHiddenParameterRow = 54;
constexpr int kGroupsTableLastRow = 46;
constexpr int kFirstHiddenGroupsRow = 47;

const QString kReportFont = QStringLiteral("Times New Roman");

// The texts a cell shows, for the height its row needs; numbers take one line.
double rowHeightFor(const Sheet& sheet, int row, const std::vector<double>& widths,
                    double fontSize) {
    double height = 0;
    for (int column = 1; column <= static_cast<int>(widths.size()); ++column) {
        const CellValue value = sheet.value(row, column);
        if (value.isEmpty()) continue;
        const QString text = value.isText() ? value.toText() : QStringLiteral("0");
        height = std::max(height, wrappedRowHeight(text, widths[column - 1], fontSize));
    }
    return height;
}

// The text of a choice group: the report text of each flag that is 1, the later one
// winning.
QString choiceText(const Store& store, const ChoiceDescriptor& choice) {
    QString chosen;
    for (const FlagDescriptor& flag : flagsOfStep(choice.step)) {
        if (store.record[flag.flag].toDouble(store.locale) == 1.0)
            chosen = flag.reportText.toString();
    }
    return chosen;
}

// A4 across one page, with the institution and the year beside the page numbers.
PageSetup reportPageSetup(const Store& store) {
    PageSetup print;
    print.paper = PageSetup::Paper::A4;
    print.fit = PageSetup::Fit{1, 0};
    print.margins = PageSetup::Margins{0.6, 0.5, 0.6, 0.75};
    print.footer = printFooter({store.record.institutionName.displayText(store.locale),
                                store.record.planningYear.displayText(store.locale)});
    return print;
}

void writeParameters(Sheet& sheet, const Store& store) {
    const InstitutionRecord& record = store.record;
    const QLocale& locale = store.locale;
    const auto label = [&](int row, QStringView text, QStringView unit) {
        sheet.setText(row, kLabelColumn, text.toString());
        if (!unit.isEmpty()) sheet.setText(row, kUnitColumn, unit.toString());
    };
    const SavedReportTexts& texts = savedReportTexts();
    sheet.setText(kTitleRow, kLabelColumn, texts.enteredData);
    label(kNameRow, texts.institutionName.label, texts.institutionName.unit);
    label(kYearRow, texts.planningYear.label, texts.planningYear.unit);
    sheet.setText(kResultsTitleRow, kLabelColumn, texts.resultsTitle);
    for (int i = 0; i < texts.results.size(); ++i) {
        label(kFirstResultRow + i, texts.results[i].label, texts.results[i].unit);
    }
    for (const AnswerDescriptor& info : answerTable()) {
        label(info.reportRow, info.reportLabel, info.reportUnit);
    }
    for (const ChoiceDescriptor& choice : choiceTable()) {
        label(choice.reportRow, choice.reportLabel, choice.reportUnit);
    }

    sheet.setValue(kNameRow, kValueColumn, fieldCellValue(record.institutionName, locale));
    sheet.setValue(kYearRow, kValueColumn, fieldCellValue(record.planningYear, locale));
    for (const AnswerDescriptor& info : answerTable()) {
        sheet.setValue(info.reportRow, kValueColumn, fieldCellValue(record[info.answer], locale));
    }
    for (const ChoiceDescriptor& choice : choiceTable()) {
        const QString text = choiceText(store, choice);
        if (!text.isEmpty()) sheet.setText(choice.reportRow, kValueColumn, text);
    }

    const DerivedAmounts derived = derivedAmounts(store);
    sheet.setValue(kFirstResultRow, kValueColumn, fieldCellValue(record.educationNorm, locale));
    sheet.setValue(kFirstResultRow + 1, kValueColumn,
                   fieldCellValue(record.maintenanceNorm, locale));
    sheet.setNumber(kFirstResultRow + 2, kValueColumn, derived.totalNorm);
    sheet.setNumber(kFirstResultRow + 3, kValueColumn, derived.educationSubsidy);
    sheet.setNumber(kFirstResultRow + 4, kValueColumn, derived.maintenanceSubsidy);
    sheet.setNumber(kFirstResultRow + 5, kValueColumn, derived.totalSubsidy);

    sheet.setNumber(kMarkerRow, kMarkerColumn, static_cast<double>(kMarker));
    sheet.setNumber(kRecordCountRow, kMarkerColumn, store.distribution.usedRecords());

    // Every cell in the report's font, wrapped; labels left, values and units centred.
    sheet.formatRange(RangeRef{1, 1, kMaxRows, kMaxColumns}, [](CellFormat& f) {
        f.fontName = kReportFont;
        f.fontSize = kReportFontSize;
        f.wrap = true;
    });
    sheet.formatRange(u"A:A", [](CellFormat& f) {
        f.horizontal = HorizontalAlignment::Left;
        f.vertical = VerticalAlignment::Center;
    });
    sheet.formatRange(u"B:C", [](CellFormat& f) {
        f.horizontal = HorizontalAlignment::Center;
        f.vertical = VerticalAlignment::Center;
    });
    const auto bold = [](CellFormat& f) { f.bold = true; };
    sheet.formatRange(RangeRef{kTitleRow, kLabelColumn, kTitleRow, kLabelColumn}, bold);
    sheet.formatRange(RangeRef{kResultsTitleRow, kLabelColumn, kResultsTitleRow, kLabelColumn},
                      bold);
    sheet.formatRange(RangeRef{kFirstResultRow, kValueColumn, kLastResultRow, kValueColumn},
                      [](CellFormat& f) { f.numberFormat = QStringLiteral("0.00"); });
    sheet.setColumnWidth(kLabelColumn, kLabelColumn, kLabelWidth);
    sheet.setColumnWidth(kValueColumn, kValueColumn, kValueWidth);
    sheet.setColumnWidth(kUnitColumn, kUnitColumn, kUnitWidth);
    // Only the table shows: every column after C and every row after 53 is hidden
    // (the marker and the record count lie there).
    sheet.setColumnsHidden(kUnitColumn + 1, kMaxColumns);
    sheet.setRowsHiddenFrom(kFirstHiddenParameterRow);
    sheet.setBorders(RangeRef{2, kLabelColumn, kLastResultRow, kUnitColumn}, BorderStyle::Medium,
                     BorderStyle::None);

    const std::vector<double> widths{kLabelWidth, kValueWidth, kUnitWidth};
    for (int row = 1; row < kFirstHiddenParameterRow; ++row) {
        if (const double height = rowHeightFor(sheet, row, widths, kReportFontSize); height > 0) {
            sheet.setRowHeight(row, height);
        }
    }

    // Each answer beside its question: the three columns across one page, two pages down.
    PageSetup print = reportPageSetup(store);
    print.fit = PageSetup::Fit{1, 2};
    print.printArea = RangeRef{1, kLabelColumn, kFirstHiddenParameterRow - 1, kUnitColumn};
    sheet.setPageSetup(print);
}

void writeGroups(Sheet& sheet, const Store& store) {
    const DistributionTable& table = store.distribution;
    const SavedReportTexts& texts = savedReportTexts();
    sheet.setText(kTitleRow, 1, texts.enteredData);
    for (int column = 1; column <= texts.groupsHeader.size(); ++column) {
        sheet.setText(kGroupsHeaderRow, column, texts.groupsHeader[column - 1]);
    }
    for (int r = 1; r <= table.usedRecords(); ++r) {
        const int row = kFirstRecordRow + r - 1;
        sheet.setNumber(row, 1, r);
        int column = 2;
        for (Kind kind : {Kind::AgeClass, Kind::StayMode, Kind::Orientation}) {
            if (const auto text = table.kindText(r, kind)) sheet.setText(row, column, *text);
            ++column;
        }
        sheet.setNumber(row, column, table.pupils(r).toDouble());
    }

    sheet.formatRange(u"A2", [](CellFormat& f) { f.bold = true; });
    const RangeRef table4{4, 1, kGroupsTableLastRow, 5};
    sheet.formatRange(table4, [](CellFormat& f) {
        f.numberFormat = QStringLiteral("General");
        f.horizontal = HorizontalAlignment::Center;
        f.vertical = VerticalAlignment::Center;
        f.wrap = true;
    });
    sheet.setBorders(table4, BorderStyle::Thin, BorderStyle::Thin);
    const std::vector<double> widths{kDefaultColumnWidth, 16.57, 30.71, 25.43, 16.29};
    for (int column = 2; column <= 5; ++column) {
        sheet.setColumnWidth(column, column, widths[column - 1]);
    }
    sheet.setColumnsHidden(6, kMaxColumns);
    sheet.setRowsHiddenFrom(kFirstHiddenGroupsRow);
    // Only the table wraps; the title above it keeps the default height.
    for (int row = table4.firstRow; row < kFirstHiddenGroupsRow; ++row) {
        if (const double height = rowHeightFor(sheet, row, widths, kDefaultFontSize); height > 0) {
            sheet.setRowHeight(row, height);
        }
    }

    // The header and the records only: the bordered blank rows below them would print
    // as empty pages.
    PageSetup print = reportPageSetup(store);
    print.printArea = RangeRef{kGroupsHeaderRow, 1, kFirstRecordRow + table.usedRecords() - 1, 5};
    print.repeatedRows = PageSetup::Rows{kGroupsHeaderRow, kGroupsHeaderRow};
    sheet.setPageSetup(print);
}

}  // namespace

Workbook buildSavedReport(const Store& store) {
    Workbook book;
    writeParameters(book.addSheet(savedReportTexts().parametersSheet), store);
    writeGroups(book.addSheet(savedReportTexts().groupsSheet), store);
    // The methodology the figures were computed with, readable as a methodology, and how
    // each figure was obtained.
    addMethodologySheet(book, *store.methodology);
    addCalculationTrailSheet(book, store);
    // The methodology prints as it does in its own workbook, under this report's footer.
    for (int number = 3; number <= book.sheetCount(); ++number) {
        Sheet& sheet = book.sheet(number);
        PageSetup print = sheet.pageSetup();
        print.footer = reportPageSetup(store).footer;
        sheet.setPageSetup(print);
    }
    return book;
}

QString defaultReportFileName(const Store& store) {
    return workbookFileName(savedReportTexts().fileStem, store);
}

}  // namespace normativ
