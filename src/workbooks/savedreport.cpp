#include "savedreport.h"

#include "cellinput.h"
#include "normativecalculation.h"

#include <algorithm>
#include <array>

namespace normativ {

namespace {

using namespace savedreport;

struct ParameterRow {
    int row;
    QStringView label;
    QStringView unit;  ///< empty: no unit
};

// clang-format off
constexpr std::array<ParameterRow, 49> kParameterRows{{
    {2, u"Введены данные:", {}},
    {4, u"наименование дошкольного образовательного учреждения", u"-"},
    {5, u"год планирования", u"-"},
    {6, u"количество воспитанников ДОУ", u" человек"},
    {7, u"общее количество групп всех направленностей в ДОУ", u" групп"},
    {8, u"Установленный минимальный  должностной оклад по группам педагогических работников", u" рублей в месяц"},
    {9, u"Общий размер фонда оплаты труда с начислениями на выплаты по оплате труда педагогических работников за указанный период", u"рублей"},
    {10, u"Общий размер фонда компенсационных выплат для педагогических работников за указанный период", u"рублей"},
    {11, u"Общий размер фонда стимулирующих выплат для педагогических работников за указанный период", u"рублей"},
    {12, u"Количество месяцев работы ДОУ в году", u" месяцев"},
    {13, u"Общий размер фонда оплаты труда с начислениями на выплаты по оплате труда обслуживающего персонала за указанный период", u" рублей"},
    {14, u"Объем потребления ДОУ холодной воды в указанном году, скорректированный в случае изменения структуры оказываемых государственных (муниципальных) услуг (работ) на плановый период", u"куб.м"},
    {15, u"Объем отпуска стоков в указанном году, скорректированный в случае изменения структуры оказываемых государственных (муниципальных) услуг (работ) на плановый период", u"куб.м"},
    {16, u"Объем потребления ДОУгорячей воды в указанном году, скорректированный в случае изменения структуры оказываемых государственных (муниципальных) услуг (работ) на плановый период", u"куб.м"},
    {17, u"Объем холодной воды, нагретой для ДОУ в указанном году, скорректированный в случае изменения структуры оказываемых государственных (муниципальных) услуг (работ) на плановый период", u"куб.м"},
    {18, u"Объем потребления ДОУ тепловой энергии в указанном году, скорректированный в случае изменения структуры оказываемых государственных (муниципальных) услуг (работ) на плановый период", u"Гкалл"},
    {19, u"Прогнозируемое процентное изменение потребительских цен в указанном году по отношению к предыдущему году ", u" процентов"},
    {20, u"Объем потребления ДОУ электрической энергии в отчетном финансовом году, скорректированный в случае изменения структуры оказываемых государственных (муниципальных) услуг (работ) в плановом финансовом году", u" КвтЧ"},
    {21, u"Объем расходов на эксплуатацию охранной сигнализации в ДОУ в отчетном финансовом году", u" рублей"},
    {22, u"Объем расходов на обеспечение пожарной безопасности ДОУ в отчетном финансовом году", u" рублей"},
    {23, u"Общая площадь зданий дошкольного образовательного учреждения на конец отчетного года", u" м2"},
    {24, u"Объем расходов ДОУ на содержание прилегающей территории, включая вывоз мусора, сброс снега с крыш, в соответствии с нормами СанПиНа в отчетном финансовом году", u" рублей"},
    {25, u"Объем расходов ДОУ на содержание движимого имущества в отчетном финансовом году, скорректированные в случае изменений структуры оказываемых государственных (муниципальных) услуг (работ) в очередном финансовом году и плановом периоде,  включая расходы на техническое обслуживание (в том числе транспортных средств), на приобретение расходных материалов, не отнесенные к расходам на обучение", u" рублей"},
    {26, u"Объем расходов ДОУ на обязательное страхование гражданской ответственности владельцев транспортных средств, а также иных видов движимого имущества, обязательное страхование которых предусмотрено учредителем в отчетном финансовом году, скорректированные в случае изменений структуры оказываемых государственных (муниципальных) услуг (работ) в очередном финансовом году и плановом периоде", u" рублей"},
    {27, u"Стоимость имущества ДОУ, признаваемого объектом налогообложения, за отчетный финансовый год, на 1 января отчетного года ", u" рублей"},
    {28, u"Стоимость имущества ДОУ, признаваемого объектом налогообложения, за отчетный финансовый год, на 1 декабря отчетного года ", u" рублей"},
    {29, u"Кадастровая среднегодовая стоимость земельного участка, предоставленного ДОУ на праве постоянного (бессрочного) пользования", u" рублей"},
    {30, u"объем затрат на приобретение продуктов питания, на оплату услуг организаций и индивидуальных предпринимателей, и на оплату горюче-смазочных материалов для организации питания воспитанников, сложившийся в отчетном году", u" рублей"},
    {31, u"Объем прочих затрат, влияющих на стоимость оказания услуги по содержанию детей в ДОУ, определяемый учредителем, сложившийся в отчетном году", u" рублей"},
    {32, u"Тариф на услуги по холодному водоснабжению, установленный в муниципальном образовании на очередной финансовый год и плановый период", u" руб/м.куб"},
    {33, u"Тариф на услуги по водоотведению, установленный в муниципальном образовании на очередной финансовый год и плановый период", u" руб/м.куб"},
    {34, u"Тариф на услуги по горячему водоснабжению, установленный в муниципальном образовании на очередной финансовый год и плановый период", u" руб/м.куб"},
    {35, u"Тариф на услуги по нагреву холодной воды, установленный для данного ДОУ на очередной финансовый год и плановый период", u" руб/м.куб"},
    {36, u"Тариф на потребление тепловой энергии, установленный в муниципальном образовании на очередной финансовый год и плановый период", u" рублей/Гкал"},
    {37, u"Тариф на потребление электрической энергии, установленный в муниципальном образовании на очередной финансовый год и плановый период", u" рублей/КвтЧ"},
    {38, u"Средняя стоимость текущего ремонта площади зданий, сложившаяся в регионе", u" рублей/м2"},
    {39, u"ставка налога на имущество организаций, установленная законодательством субъекта Российской Федерации", u" процентов"},
    {40, u"ставка земельного налога в муниципальном образовании", u" процентов"},
    {41, u"величина родительской платы в месяц на содержание одного ребенка, скорректированная на величину льгот", u"рублей"},
    {42, u"Тип населенного пункта в котором расположено ДОУ", u"-"},
    {43, u"Вид дошкольного образовательного учреждения", u"-"},
    {44, u"Режим работы ДОУ", u"-"},
    {46, u"Получены результаты:", {}},
    {48, u"Норматив финансирования услуг по обучению детей", u" рублей"},
    {49, u"Норматив финансирования услуг по содержанию детей", u"рублей"},
    {50, u"Общая величина норматива на оказание услуг", u"рублей"},
    {51, u"Объем субсидии на оказание услуг по обучению детей", u"рублей"},
    {52, u"Объем субсидии на оказание услуг по содержанию детей", u"рублей"},
    {53, u"Общий объем субсидии на оказание услуг", u"рублей"},
}};
// clang-format on

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

bool flagIsOne(const Store& store, Flag flag) {
    return store.record[flag].toDouble(store.locale) == 1.0;
}

// The text of a choice group: the text of each flag that is 1, the later one winning.
QString choiceText(const Store& store, std::initializer_list<std::pair<Flag, QString>> texts) {
    QString chosen;
    for (const auto& [flag, text] : texts) {
        if (flagIsOne(store, flag)) chosen = text;
    }
    return chosen;
}

void writeParameters(Sheet& sheet, const Store& store) {
    const InstitutionRecord& record = store.record;
    const QLocale& locale = store.locale;
    for (const ParameterRow& p : kParameterRows) {
        sheet.setText(p.row, kLabelColumn, p.label.toString());
        if (!p.unit.isEmpty()) sheet.setText(p.row, kUnitColumn, p.unit.toString());
    }

    sheet.setValue(kNameRow, kValueColumn, fieldCellValue(record.institutionName, locale));
    sheet.setValue(kYearRow, kValueColumn, fieldCellValue(record.planningYear, locale));
    for (const AnswerInfo& info : answerTable()) {
        sheet.setValue(info.reportRow, kValueColumn, fieldCellValue(record[info.answer], locale));
    }
    const auto setChoice = [&](int row, const QString& text) {
        if (!text.isEmpty()) sheet.setText(row, kValueColumn, text);
    };
    setChoice(kSettlementRow, choiceText(store, {{Flag::SettlementIsVillage, kVillage},
                                                 {Flag::SettlementIsCity, kCity}}));
    setChoice(kKindRow, choiceText(store, {{Flag::KindPreschoolSenior, kPreschoolSenior},
                                           {Flag::KindDevelopmentCentre, kDevelopmentCentre},
                                           {Flag::KindOther, kOtherKind}}));
    setChoice(kWeekRow,
              choiceText(store, {{Flag::FiveDayWeek, kFiveDays}, {Flag::SixDayWeek, kSixDays}}));

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
    sheet.formatRange(u"A2", bold);
    sheet.formatRange(u"A46", bold);
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
}

void writeGroups(Sheet& sheet, const Store& store) {
    const DistributionTable& table = store.distribution;
    sheet.setText(u"A2", QStringLiteral("Введены данные:"));
    sheet.setText(u"A4", QStringLiteral("№ записи"));
    sheet.setText(u"B4", QStringLiteral("Возраст воспитанников"));
    sheet.setText(u"C4", QStringLiteral("Режим пребывания воспитанников"));
    sheet.setText(u"D4", QStringLiteral("Направленность групп"));
    sheet.setText(u"E4", QStringLiteral("Количество воспитанников"));
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
}

}  // namespace

Workbook buildSavedReport(const Store& store) {
    Workbook book;
    writeParameters(book.addSheet(kParametersSheetName), store);
    writeGroups(book.addSheet(kGroupsSheetName), store);
    return book;
}

QString defaultReportFileName(const Store& store) {
    return workbookFileName(QStringLiteral("Отчет ДОУ"), store);
}

}  // namespace normativ
