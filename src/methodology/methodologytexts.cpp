#include "methodologytexts.h"

namespace normativ {

const MethodologyTexts& methodologyTexts() {
    static const MethodologyTexts texts{
        .titleSheet = QStringLiteral("Описание"),
        .yearsSheet = QStringLiteral("Годы планирования"),
        .payrollDefaultsSheet = QStringLiteral("Оплата по умолчанию"),
        .coefficientsSheet = QStringLiteral("Коэффициенты"),
        .weightSheets = {QStringLiteral("Веса E1"), QStringLiteral("Веса E2"),
                         QStringLiteral("Веса M1"), QStringLiteral("Веса M2"),
                         QStringLiteral("Веса M3")},
        .groupCountSheet = QStringLiteral("Коэффициенты групп"),
        .servicesSheet = QStringLiteral("Услуги"),
        .positionsSheet = QStringLiteral("Должности"),
        .staffSheet = QStringLiteral("Штатные нормативы"),
        .administrativeSheet = QStringLiteral("АУП"),
        .stackedSheet = QStringLiteral("Методика"),

        .titleTitle = QStringLiteral("Методика расчета нормативов финансирования ДОУ"),
        .yearsTitle = QStringLiteral("Годы планирования и их индексы"),
        .payrollDefaultsTitle =
            QStringLiteral("Оплата труда педагогов по умолчанию (без данных учреждения)"),
        .coefficientsTitle = QStringLiteral("Коэффициенты нормативов и сметы по оплате труда"),
        .weightTitles =
            {
                QStringLiteral("Веса E1: норматив на образование, основная нагрузка"),
                QStringLiteral("Веса E2: норматив на образование, вспомогательная нагрузка"),
                QStringLiteral("Веса M1: норматив на содержание, оплата труда (доля A)"),
                QStringLiteral("Веса M2: норматив на содержание, оплата труда (доля B)"),
                QStringLiteral("Веса M3: норматив на содержание, статьи услуг"),
            },
        .groupCountTitle = QStringLiteral("Коэффициенты количества групп"),
        .servicesTitle =
            QStringLiteral("Нормативные расходы по статьям услуг на воспитанника в год"),
        .positionsTitle = QStringLiteral("Оклады должностей сметы по оплате труда"),
        .staffTitle = QStringLiteral("Штатные нормативы должностей, зависящих от состава групп"),
        .administrativeTitle = QStringLiteral(
            "Штатные единицы административно-управленческого персонала по количеству групп"),

        .nameCaption = QStringLiteral("Наименование"),
        .noteCaption = QStringLiteral("Примечание"),
        .yearsHeader = {QStringLiteral("Год"), QStringLiteral("Индекс планируемого года"),
                        QStringLiteral("Одинарная точность индекса")},
        .yes = QStringLiteral("да"),
        .no = QStringLiteral("нет"),
        .valueHeader = {QStringLiteral("Показатель"), QStringLiteral("Значение")},
        .payrollDefaultCaption = QStringLiteral("%1, %2"),
        .coefficientSections = {QStringLiteral("Норматив на образование"),
                                QStringLiteral("Норматив на содержание"),
                                QStringLiteral("Смета по оплате труда")},
        .educationCoefficients =
            {
                QStringLiteral("Заработная плата педагога с надбавками, в минимальных окладах"),
                QStringLiteral("Добавка к заработной плате до расчета месячной доли, рублей"),
                QStringLiteral("Месячная доля расходов на педагога в расчете на воспитанника"),
                QStringLiteral("Вес вспомогательной нагрузки (веса E2)"),
                QStringLiteral("Коэффициент сельской местности"),
                QStringLiteral("Коэффициент сельской местности для вспомогательной нагрузки"),
                QStringLiteral("Коэффициент вида учреждения (кроме «Иной тип учреждения», "
                               "при нормативной оплате труда)"),
                QStringLiteral("Коэффициент продолжительной работы учреждения в году"),
                QStringLiteral("Число месяцев работы, свыше которого применяется этот "
                               "коэффициент"),
                QStringLiteral("Коэффициент шестидневной рабочей недели"),
            },
        .maintenanceCoefficients =
            {
                QStringLiteral("Доля оплаты труда A (веса M1)"),
                QStringLiteral("Доля оплаты труда B (веса M2)"),
                QStringLiteral("Коэффициент шестидневной рабочей недели для персонала"),
                QStringLiteral("Доля расходов на тепловую энергию, учитываемая в коммунальных "
                               "услугах и в налогах"),
                QStringLiteral("Доля расходов на электроэнергию, учитываемая в коммунальных "
                               "услугах"),
                QStringLiteral("Доля расходов на электроэнергию, учитываемая в налогах"),
                QStringLiteral("Доля площади здания, ремонтируемая за год"),
                QStringLiteral("Множитель налоговых расходов"),
            },
        .payrollEstimateCoefficients =
            {
                QStringLiteral("Доля заработной платы, учитываемая в расходах на "
                               "воспитанника"),
                QStringLiteral("Множитель шестидневной рабочей недели"),
                QStringLiteral("Множитель круглогодичной работы (при работе дольше указанного "
                               "числа месяцев)"),
            },
        .weightsHeader = {QStringLiteral("Группы"), QStringLiteral("Вес")},
        .kindCaptions = {QStringLiteral("Возраст воспитанников"),
                         QStringLiteral("Режим пребывания воспитанников"),
                         QStringLiteral("Направленность групп")},
        .groupCountHeader = {QStringLiteral("Количество групп"), QStringLiteral("Коэффициент")},
        .moreThan30Groups = QStringLiteral("более 30"),
        .servicesHeader = {QStringLiteral("Статья расходов"),
                           QStringLiteral("Рублей на воспитанника в год")},
        .serviceItems =
            {
                QStringLiteral("1. Оплата труда обслуживающего персонала"),
                QStringLiteral("2. Коммунальные услуги"),
                QStringLiteral("3. Услуги связи"),
                QStringLiteral("4. Питание воспитанников"),
                QStringLiteral("5. Транспортные услуги"),
                QStringLiteral("6. Содержание имущества (первая статья)"),
                QStringLiteral("7. Содержание имущества (вторая статья)"),
                QStringLiteral("8. Прочие расходы (в смету услуг не входят)"),
            },
        .positionsHeader = {QStringLiteral("Строка сметы и должность"),
                            QStringLiteral("Оклад, рублей в месяц"),
                            QStringLiteral("Коэффициент к минимальному окладу")},
        .positionCaption = QStringLiteral("%1. %2"),
        .staffParameter = QStringLiteral("Показатель"),
        .staffSet = QStringLiteral("Набор %1"),
        .staffRow = QStringLiteral("Строка сметы"),
        .staffPosition = QStringLiteral("Должность"),
        .staffScale = QStringLiteral("Ставок на взвешенного воспитанника"),
        .staffCurrencyOrientation =
            QStringLiteral("Сумма по направленностям с округлением каждого слагаемого"),
        .administrativeFromGroups = QStringLiteral("Количество групп, от"),

        .atCell = QStringLiteral("лист «%1», ячейка %2: %3"),
        .missingSheet = QStringLiteral("в книге нет листа «%1»"),
        .notMethodology =
            QStringLiteral("это не книга методики: в ней нет ни листа «%1», ни листа «%2»"),
        .missingTable = QStringLiteral("ожидается заголовок таблицы «%1»"),
        .blank = QStringLiteral("нет значения"),
        .textNotNumber = QStringLiteral("ожидается число, а не текст"),
        .boolNotNumber = QStringLiteral("ожидается число, а не логическое значение"),
        .notFinite = QStringLiteral("ожидается конечное число"),
        .tooLarge = QStringLiteral("слишком большое число: допускается не больше %1"),
        .positive = QStringLiteral("ожидается положительное число"),
        .notNegative = QStringLiteral("ожидается неотрицательное число"),
        .share = QStringLiteral("ожидается доля: число больше 0 и не больше 1"),
        .months = QStringLiteral("ожидается число месяцев от 0 до 12"),
        .wholeNotNegative = QStringLiteral("ожидается целое неотрицательное число"),
        .year = QStringLiteral("ожидается год: целое число от %1 до %2"),
        .duplicateYear = QStringLiteral("год %1 уже указан в ячейке %2"),
        .noYears = QStringLiteral("нет ни одного года планирования"),
        .index = QStringLiteral("ожидается индекс от 0,5 до 5"),
        .yesNo = QStringLiteral("ожидается «%1» или «%2»"),
        .staffRowNumber = QStringLiteral("ожидается номер строки сметы: от 1 до 12 или 14"),
        .duplicateStaffRow = QStringLiteral("строка сметы %1 уже задана в ячейке %2"),
        .firstFromGroups = QStringLiteral("ожидается 1: первая строка начинается с одной группы"),
        .increasingFromGroups = QStringLiteral("ожидается целое число больше %1 (строки выше)"),
        .expectedText = QStringLiteral("ожидается текст"),
        .textTooLong = QStringLiteral("текст длиннее %1 знаков"),
        .stayOrOrientation = QStringLiteral("ожидается «%1» или «%2»"),

        .folder = QStringLiteral("это папка, а не файл"),
        .cannotOpen = QStringLiteral("файл не удается открыть: %1"),
        .fileTooLarge = QStringLiteral("файл больше 20 МБ"),
        .cannotRead = QStringLiteral("файл не удается прочитать: %1"),
        .deployedRefused =
            QStringLiteral("Методика «%1» не загружена, расчет по встроенному примеру: %2"),
        .inUse = QStringLiteral("Методика расчета: %1 (отпечаток %2)"),
    };
    return texts;
}

}  // namespace normativ
