#include "estimatetexts.h"

namespace normativ {

const EstimateTexts& estimateTexts() {
    // The workbook's column A takes these where it reads as the windows: row 5 + i shows
    // payrollRows[i], row 30 + i servicesLines[i].
    static const QStringList payrollRows{
        QStringLiteral("Воспитатели"),
        QStringLiteral("Музыкальные руководители"),
        QStringLiteral("Инструктора по физической культуре"),
        QStringLiteral("Инструктора методисты"),
        QStringLiteral("Концертмейстеры"),
        QStringLiteral("Педагоги дополнительного образования"),
        QStringLiteral("Педагоги-организаторы"),
        QStringLiteral("Социальные педагоги"),
        QStringLiteral("Методисты"),
        QStringLiteral("Педагоги-психологи"),
        QStringLiteral("Руководители физ. воспитания"),
        QStringLiteral("Учителя-дефектологи, учителя-логопеды"),
        QStringLiteral("Педагогический персонал (всего)"),
        QStringLiteral("Учебно-вспомогательный персонал (всего)"),
        QStringLiteral("Заведующий ДОУ"),
        QStringLiteral("Зам. заведующего по воспитательной работе"),
        QStringLiteral("Зам. заведующего по хозяйственной работе"),
        QStringLiteral("Заведующий хозяйством"),
        QStringLiteral("Главный бухгалтер"),
        QStringLiteral("Бухгалтер"),
        QStringLiteral("Делопроизводитель"),
        QStringLiteral("Кассир"),
        QStringLiteral("АУП (всего)"),
        QStringLiteral("Обслуживающий персонал (всего)"),
        QStringLiteral("Оплата труда персонала ДОУ (всего)"),
    };
    static const QStringList servicesLines{
        QStringLiteral("Расходы на приобретение коммунальных услуг (вода, тепло, "
                       "электроэнергия, стоки)"),
        QStringLiteral("Расходы на приобретение услуг связи"),
        QStringLiteral("Расходы на организацию питания воспитанников"),
        QStringLiteral("Расходы на приобретение транспортных услуг"),
        QStringLiteral("Расходы на содержание имущества учреждения, включая аренду имущества"),
        QStringLiteral("Прочие расходы"),
        QStringLiteral("Совокупные расходы на приобретение услуг"),
    };
    static const EstimateTexts texts{
        .payrollCaption = QStringLiteral("Рекомендуемая для учреждения смета по оплате труда"),
        .closeButton = QStringLiteral("Закрыть"),
        .servicesButton = QStringLiteral("Смета по приобретению услуг"),
        .payrollRowCaptions = payrollRows,
        .payrollColumnCaptions =
            {
                QStringLiteral("  количество      ставок на воспитанника"),
                QStringLiteral("количество ставок (всего)"),
                QStringLiteral("средняя заработная плата (рублей)"),
                QStringLiteral("объем расходов на воспитанника,          рублей"),
                QStringLiteral("объем расходов (всего), рублей"),
            },

        .servicesCaption =
            QStringLiteral("Рекомендуемая для учреждения смета по приобретению услуг"),
        .payrollButton = QStringLiteral("Смета по оплате труда"),
        .exportButton = QStringLiteral("Сформировать сметы в формате Excel"),
        .servicesLineCaptions = servicesLines,
        .seeOtherExpenses = QStringLiteral("см. пр. расх."),

        .workbookTitle =
            QStringLiteral("Рекомендуемая смета дошкольного образовательного учреждения"),
        .workbookColumnCaptions =
            {
                QStringLiteral("Количество ставок на воспитанника"),
                QStringLiteral("Количество ставок (всего)"),
                QStringLiteral("Средняя зп на ставку, рублей"),
                QStringLiteral("Объем расходов на воспитанника, рублей"),
                QStringLiteral("Объем расходов (всего), рублей"),
            },
        .workbookRowCaptions =
            {
                payrollRows[0],                                                      // A5
                payrollRows[1],                                                      // A6
                payrollRows[2],                                                      // A7
                QStringLiteral("Инструктора  методисты"),                            // A8
                payrollRows[4],                                                      // A9
                payrollRows[5],                                                      // A10
                payrollRows[6],                                                      // A11
                payrollRows[7],                                                      // A12
                payrollRows[8],                                                      // A13
                payrollRows[9],                                                      // A14
                QStringLiteral("Руководители физического воспитания"),               // A15
                QStringLiteral("Учителя-дефектологи, учителя-логопеды (логопеды)"),  // A16
                payrollRows[12],                                                     // A17
                payrollRows[13],                                                     // A18
                payrollRows[14],                                                     // A19
                QStringLiteral("Зам.заведующего по воспитательной работе"),          // A20
                payrollRows[16],                                                     // A21
                payrollRows[17],                                                     // A22
                payrollRows[18],                                                     // A23
                payrollRows[19],                                                     // A24
                payrollRows[20],                                                     // A25
                QStringLiteral("кассир"),                                            // A26
                QStringLiteral("Административно-управленческий персонал (всего)"),   // A27
                payrollRows[23],                                                     // A28
                payrollRows[24],                                                     // A29
                QStringLiteral("Расходы на приобретение коммунальных услуг"),        // A30
                servicesLines[1],                                                    // A31
                servicesLines[2],                                                    // A32
                servicesLines[3],                                                    // A33
                servicesLines[4],                                                    // A34
                servicesLines[5],                                                    // A35
                servicesLines[6],                                                    // A36
                QStringLiteral("Расходы учреждения (всего)"),                        // A37
            },
        .workbookNoFigure = QStringLiteral("-"),
        .workbookFileName = QStringLiteral("Смета ДОУ"),
    };
    return texts;
}

}  // namespace normativ
