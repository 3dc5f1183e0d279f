#include "savedreporttexts.h"

namespace normativ {

const SavedReportTexts& savedReportTexts() {
    static const QString rub = QStringLiteral("рублей");
    static const SavedReportTexts texts{
        .parametersSheet = QStringLiteral("Параметры ДОУ"),
        .groupsSheet = QStringLiteral("Группы"),
        .enteredData = QStringLiteral("Введены данные:"),
        .institutionName = {QStringLiteral("наименование дошкольного образовательного учреждения"),
                            QStringLiteral("-")},
        .planningYear = {QStringLiteral("год планирования"), QStringLiteral("-")},
        .resultsTitle = QStringLiteral("Получены результаты:"),
        .results =
            {
                {QStringLiteral("Норматив финансирования услуг по обучению детей"),
                 QStringLiteral(" рублей")},
                {QStringLiteral("Норматив финансирования услуг по содержанию детей"), rub},
                {QStringLiteral("Общая величина норматива на оказание услуг"), rub},
                {QStringLiteral("Объем субсидии на оказание услуг по обучению детей"), rub},
                {QStringLiteral("Объем субсидии на оказание услуг по содержанию детей"), rub},
                {QStringLiteral("Общий объем субсидии на оказание услуг"), rub},
            },
        .groupsHeader = {QStringLiteral("№ записи"), QStringLiteral("Возраст воспитанников"),
                         QStringLiteral("Режим пребывания воспитанников"),
                         QStringLiteral("Направленность групп"),
                         QStringLiteral("Количество воспитанников")},
        .fileStem = QStringLiteral("Отчет ДОУ"),
    };
    return texts;
}

}  // namespace normativ
