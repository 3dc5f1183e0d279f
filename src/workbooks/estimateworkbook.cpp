#include "estimateworkbook.h"

#include "methodologyfingerprint.h"

#include "cellinput.h"
#include "estimatetexts.h"
#include "numbers.h"

#include <algorithm>

namespace normativ {

namespace {

constexpr int kCaptionRow = 4;
constexpr int kFirstPayrollRow = 5;
constexpr int kFirstServicesRow = 30;
constexpr int kTotalRow = 37;
constexpr double kCaptionWidth = 35.71;
constexpr double kFigureWidth = 14.14;
constexpr double kFontSize = 11;  // the default font of a new workbook

}  // namespace

Workbook buildEstimateWorkbook(const Store& store) {
    const QLocale& locale = store.locale;
    const SavedPayrollEstimateText& payroll = store.estimateCopies.payroll;
    const SavedServicesEstimateText& services = store.estimateCopies.services;
    const double pupils = store.record[Answer::PupilCount].toDouble(locale);

    const EstimateTexts& texts = estimateTexts();
    Workbook book;
    Sheet& sheet = book.addSheet();
    sheet.setText(u"A2", texts.workbookTitle);
    for (int c = 0; c < texts.workbookColumnCaptions.size(); ++c) {
        sheet.setText(kCaptionRow, 2 + c, texts.workbookColumnCaptions[c]);
    }
    for (int i = 0; i < texts.workbookRowCaptions.size(); ++i) {
        sheet.setText(kFirstPayrollRow + i, 1, texts.workbookRowCaptions[i]);
    }

    for (int r = 1; r <= SavedPayrollEstimateText::kRows; ++r) {
        const int row = kFirstPayrollRow + r - 1;
        const QString& ratePerPupil = payroll.at(r, 1);
        sheet.setValue(row, 2, typedCellValue(ratePerPupil, locale));
        // The staff units in total from the rate per pupil, not from the grid's own total.
        if (const auto rate = parseNumber(ratePerPupil, locale)) {
            sheet.setNumber(row, 3, pupils * *rate);
        }
        for (int column = 3; column <= 5; ++column) {
            sheet.setValue(row, column + 1, typedCellValue(payroll.at(r, column), locale));
        }
    }
    for (int row = kFirstServicesRow; row <= kTotalRow; ++row) {
        for (int column = 2; column <= 4; ++column) {
            sheet.setText(row, column, texts.workbookNoFigure);
        }
    }
    for (int line = 1; line <= SavedServicesEstimateText::kLines; ++line) {
        const int row = kFirstServicesRow + line - 1;
        sheet.setValue(row, 5, typedCellValue(services.box(services.perPupilBox(line)), locale));
        if (line < SavedServicesEstimateText::kLines) {
            sheet.setValue(row, 6, typedCellValue(services.box(services.totalBox(line)), locale));
        }
    }
    const double grandTotal = services.grandTotal.toDouble();
    sheet.setNumber(kTotalRow - 1, 6, grandTotal);
    // A total that is not a number leaves the institution's totals blank rather than
    // inventing a figure.
    if (const auto payrollTotal =
            parseNumber(payroll.at(SavedPayrollEstimateText::kRows, 5), locale)) {
        const double total = *payrollTotal + grandTotal;
        sheet.setNumber(kTotalRow, 6, total);
        if (pupils != 0) sheet.setNumber(kTotalRow, 5, total / pupils);
    }

    // Which methodology the figures come from, under the table.
    sheet.setText(kTotalRow + 2, 1, methodologyLine(*store.methodology));

    const auto centred = [](CellFormat& f) {
        f.horizontal = HorizontalAlignment::Center;
        f.vertical = VerticalAlignment::Center;
    };
    sheet.formatRange(u"A5:A37", [](CellFormat& f) {
        f.horizontal = HorizontalAlignment::General;
        f.vertical = VerticalAlignment::Center;
        f.wrap = true;
    });
    sheet.setColumnWidth(1, 1, kCaptionWidth);
    sheet.formatRange(u"B4:F4", [&](CellFormat& f) {
        centred(f);
        f.wrap = true;
    });
    sheet.setColumnWidth(2, 6, kFigureWidth);
    // Staff units with three decimals, as the payroll estimate shows them.
    sheet.formatRange(u"B5:C37", [&](CellFormat& f) {
        f.numberFormat = QStringLiteral("0.000");
        centred(f);
        f.wrap = false;
    });
    sheet.formatRange(u"D5:D37", [&](CellFormat& f) {
        centred(f);
        f.wrap = false;
    });
    sheet.formatRange(u"E5:F37", [&](CellFormat& f) {
        f.numberFormat = QStringLiteral("0");
        centred(f);
        f.wrap = false;
    });
    const auto bold = [](CellFormat& f) { f.bold = true; };
    for (QStringView range : {u"A17:F18", u"A27:F29", u"A36:F37"}) sheet.formatRange(range, bold);
    sheet.formatRange(u"A2:F2", [](CellFormat& f) {
        f.horizontal = HorizontalAlignment::Center;
        f.vertical = VerticalAlignment::Bottom;
        f.wrap = false;
        f.bold = true;
    });
    sheet.setBorders(u"A4:F37", BorderStyle::Thin, BorderStyle::Thin);
    sheet.setColumnsHidden(7, kMaxColumns);
    sheet.mergeCells(u"A2:F2");

    // Rows of wrapped captions get the height their text needs.
    for (int row = kCaptionRow; row <= kTotalRow; ++row) {
        double height = wrappedRowHeight(sheet.value(row, 1).toText(), kCaptionWidth, kFontSize);
        if (row == kCaptionRow) {
            for (int column = 2; column <= 6; ++column) {
                height = std::max(height, wrappedRowHeight(sheet.value(row, column).toText(),
                                                           kFigureWidth, kFontSize));
            }
        }
        sheet.setRowHeight(row, height);
    }

    // One page, every column and the title: printed for the budget file.
    PageSetup print;
    print.paper = PageSetup::Paper::A4;
    print.fit = PageSetup::Fit{1, 1};
    print.margins = PageSetup::Margins{0.5, 0.5, 0.6, 0.75};
    print.printArea = RangeRef{1, 1, kTotalRow + 2, 6};
    print.footer = printFooter({store.record.institutionName.displayText(locale),
                                store.record.planningYear.displayText(locale)});
    sheet.setPageSetup(print);
    return book;
}

QString defaultEstimateFileName(const Store& store) {
    return workbookFileName(estimateTexts().workbookFileName, store);
}

}  // namespace normativ
