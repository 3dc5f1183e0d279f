#include "batchtexts.h"

namespace normativ {

const BatchTexts& batchTexts() {
    static const BatchTexts texts{
        .computed = QStringLiteral("рассчитано"),
        .modesWithDocument = QStringLiteral(
            "параметры --own-payroll и --own-services относятся только к книгам: документ "
            "ответов задает свои режимы (UseOwnPayrollData, UseOwnServicesData)"),
        .documentError = QStringLiteral("неверный документ ответов: "),
        .documentTooLarge = QStringLiteral("файл больше %1 МиБ"),
        .folder = QStringLiteral("это папка"),
        .cannotOpen = QStringLiteral("не удалось открыть файл"),
        .notFound = QStringLiteral("файл не найден"),
        .cannotRead = QStringLiteral("не удалось прочитать файл"),
        .cannotListFolder = QStringLiteral("не удалось прочитать папку"),
        .cannotProcess = QStringLiteral("не удалось обработать файл"),
        .unknownField = QStringLiteral("неизвестное поле «%1»"),
        .missingField = QStringLiteral("нет поля «%1»"),
        .expectedObject = QStringLiteral("ожидается объект"),
        .expectedValue = QStringLiteral("ожидается строка, число или null"),
        .expectedWholeNumber = QStringLiteral("ожидается целое число от %1 до %2%3"),
        .orNull = QStringLiteral(" или null"),
        .outOfRange = QStringLiteral("%1 вне допустимых значений; %2"),
        .expectedLocale = QStringLiteral("ожидается \"ru\" или \"en\""),
        .expectedYear = QStringLiteral("ожидается %1"),
        .expectedYears = QStringLiteral("ожидается %1 или %2"),
        .expectedNameText = QStringLiteral("ожидается строка или null"),
        .numberTooLarge = QStringLiteral("слишком большое число"),
        .expectedArray = QStringLiteral("ожидается массив"),
        .tooManyRecords = QStringLiteral("записей: %1, допускается не более %2"),
        .notJson = QStringLiteral("не документ JSON (ошибка в позиции %1)"),
        .notAnObject = QStringLiteral("документ JSON не является объектом"),
        .summarySheet = QStringLiteral("Сводка"),
        .summaryHeader =
            {
                QStringLiteral("Файл"),
                QStringLiteral("Наименование учреждения"),
                QStringLiteral("Год планирования"),
                QStringLiteral("Количество воспитанников, человек"),
                QStringLiteral("Количество групп"),
                QStringLiteral(
                    "Норматив финансирования услуг по обучению детей, рублей на человека"),
                QStringLiteral(
                    "Норматив финансирования услуг по содержанию детей, рублей на человека"),
                QStringLiteral("Общая величина норматива на оказание услуг, рублей на человека"),
                QStringLiteral("Объем субсидии на оказание услуг по обучению детей, рублей"),
                QStringLiteral("Объем субсидии на оказание услуг по содержанию детей, рублей"),
                QStringLiteral("Общий объем субсидии на оказание услуг, рублей"),
                QStringLiteral("Результат расчета"),
            },
        .totals = QStringLiteral("Итого"),
        .computedOf = QStringLiteral("%1: %2 из %3"),
        .usage = QStringLiteral(
            "использование: normativ-calc [--own-payroll] [--own-services] [--summary "
            "СВОДКА.xlsx]\n"
            "                     [--methodology МЕТОДИКА.xlsx] ФАЙЛ|ПАПКА...\n"
            "       normativ-calc [--methodology МЕТОДИКА.xlsx] --write-methodology "
            "ОБРАЗЕЦ.xlsx\n"
            "Рассчитывает нормативы финансирования услуг по обучению и содержанию и выводит\n"
            "результаты в формате JSON.\n"
            "ФАЙЛ - документ ответов (JSON), статистическая форма или сохраненный отчет "
            "(.xlsx,\n"
            ".xls), распознаваемые по содержимому; ПАПКА означает все файлы .xls и .xlsx в "
            "ней.\n"
            "Для книг --own-payroll и --own-services заменяют два флажка начального экрана\n"
            "(данные по оплате труда отдельного учреждения, данные по объему приобретаемых\n"
            "услуг отдельного учреждения); документ ответов задает свои режимы сам.\n"
            "Один ФАЙЛ: документ его результатов. Несколько файлов или папка: массив\n"
            "документов в порядке входных файлов, в каждом \"file\" и, если расчет не "
            "выполнен,\n"
            "\"error\". --summary также записывает сводную книгу по всем файлам.\n"
            "--methodology: расчет по методике из книги (по умолчанию - методика из\n"
            "~/.config/normativ/methodology.xlsx или встроенный пример); --write-methodology\n"
            "записывает применяемую методику в книгу для правки.\n"
            "Код завершения: 0 - все рассчитано; 1 - расчет отклонил введенные данные (или\n"
            "распределение воспитанников; для нескольких файлов также непригодный файл);\n"
            "2 - неверный вызов (или один непригодный ФАЙЛ, или сводку не удалось "
            "записать).\n"),
        .optionTwice = QStringLiteral("параметр %1 указан дважды"),
        .optionWithoutFile = QStringLiteral("после %1 нужно указать имя книги"),
        .unknownOption = QStringLiteral("неизвестный параметр %1"),
    };
    return texts;
}

}  // namespace normativ
