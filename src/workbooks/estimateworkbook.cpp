#include "estimateworkbook.h"

#include "cellinput.h"
#include "numbers.h"

#include <algorithm>
#include <array>

namespace normativ {

namespace {

// clang-format off
constexpr QStringView kTitle = u"Рекомендуемая смета дошкольного образовательного учреждения";
constexpr std::array<QStringView, 5> kColumnCaptions{
    u"Количество ставок на воспитанника",
    u"Количество ставок (всего)",
    u"Средняя зп на ставку, рублей",
    u"Объем расходов на воспитанника, рублей",
    u"Объем расходов (всего), рублей",
};
/// Column A of rows 5 to 37.
constexpr std::array<QStringView, 33> kRowCaptions{
        u"Воспитатели",  // A5
        u"Музыкальные руководители",  // A6
        u"Инструктора по физической культуре",  // A7
        u"Инструктора  методисты",  // A8
        u"Концертмейстеры",  // A9
        u"Педагоги дополнительного образования",  // A10
        u"Педагоги-организаторы",  // A11
        u"Социальные педагоги",  // A12
        u"Методисты",  // A13
        u"Педагоги-психологи",  // A14
        u"Руководители физического воспитания",  // A15
        u"Учителя-дефектологи, учителя-логопеды (логопеды)",  // A16
        u"Педагогический персонал (всего)",  // A17
        u"Учебно-вспомогательный персонал (всего)",  // A18
        u"Заведующий ДОУ",  // A19
        u"Зам.заведующего по воспитательной работе",  // A20
        u"Зам. заведующего по хозяйственной работе",  // A21
        u"Заведующий хозяйством",  // A22
        u"Главный бухгалтер",  // A23
        u"Бухгалтер",  // A24
        u"Делопроизводитель",  // A25
        u"кассир",  // A26
        u"Административно-управленческий персонал (всего)",  // A27
        u"Обслуживающий персонал (всего)",  // A28
        u"Оплата труда персонала ДОУ (всего)",  // A29
        u"Расходы на приобретение коммунальных услуг",  // A30
        u"Расходы на приобретение услуг связи",  // A31
        u"Расходы на организацию питания воспитанников",  // A32
        u"Расходы на приобретение транспортных услуг",  // A33
        u"Расходы на содержание имущества учреждения, включая аренду имущества",  // A34
        u"Прочие расходы",  // A35
        u"Совокупные расходы на приобретение услуг",  // A36
        u"Расходы учреждения (всего)",  // A37
};
// clang-format on

constexpr int kCaptionRow = 4;
constexpr int kFirstPayrollRow = 5;
constexpr int kFirstServicesRow = 30;
constexpr int kTotalRow = 37;
constexpr double kCaptionWidth = 35.71;
constexpr double kFigureWidth = 14.14;
constexpr double kFontSize = 11;  // the default font of a new workbook

const QString kNoFigure = QStringLiteral("-");

}  // namespace

Workbook buildEstimateWorkbook(const Store& store) {
    const QLocale& locale = store.locale;
    const SavedPayrollEstimateText& payroll = store.estimateCopies.payroll;
    const SavedServicesEstimateText& services = store.estimateCopies.services;
    const double pupils = store.record[Answer::PupilCount].toDouble(locale);

    Workbook book;
    Sheet& sheet = book.addSheet();
    sheet.setText(u"A2", kTitle.toString());
    for (int c = 0; c < static_cast<int>(kColumnCaptions.size()); ++c) {
        sheet.setText(kCaptionRow, 2 + c, kColumnCaptions[c].toString());
    }
    for (int i = 0; i < static_cast<int>(kRowCaptions.size()); ++i) {
        sheet.setText(kFirstPayrollRow + i, 1, kRowCaptions[i].toString());
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
        for (int column = 2; column <= 4; ++column) sheet.setText(row, column, kNoFigure);
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
    return book;
}

QString defaultEstimateFileName(const Store& store) {
    return workbookFileName(QStringLiteral("Смета ДОУ"), store);
}

}  // namespace normativ
