#include "answers.h"

#include <algorithm>
#include <array>

namespace normativ {

namespace {

// clang-format off
constexpr QStringView kTariffHelp =
    u"Вводится тариф в соответствии со счетами, выставляемыми поставщиком соответствующей "
    u"услуги";
constexpr QStringView kPropertyHelp =
    u"Вводится остаточная стоимость всех единиц движимого имущества, признаваемых объектами "
    u"налогообложения, в соответствии с их балансовой стоимостью ";

constexpr std::array<AnswerDescriptor, kAnswerCount> kAnswers{{
    {.answer = Answer::PupilCount,
     .name = "PupilCount",
     .step = 1,
     .askedWhen = AskedWhen::Always,
     .question = u"Введите количество воспитанников ДОУ",
     .unit = u"человек",
     .help = u"Вводится общее количество воспитанников, включая численность детей в "
                u"группах общеразвивающей, компенсирующей, оздоровительной направленности и "
                u"комбинированных группах, а также в группах круглосуточного и краткосрочного "
                u"пребывания на январь текущего года",
     .shortName = u"количество воспитанников",
     .demand = Demand::Given,
     .reportRow = 6,
     .reportLabel = u"количество воспитанников ДОУ",
     .reportUnit = u" человек",
     .formCell = {1, "F23"},
     .mustBeNumber = true},
    {.answer = Answer::GroupCount,
     .name = "GroupCount",
     .step = 2,
     .askedWhen = AskedWhen::Always,
     .question = u"Введите общее количество групп всех направленностей в ДОУ",
     .unit = u"групп",
     .help = u"Вводится общее количество групп, включая группы общеразвивающей, "
                u"компенсирующей, оздоровительной направленности и комбинированные группы, а "
                u"также группы круглосуточного и краткосрочного пребывания на январь текущего "
                u"года",
     .shortName = u"количество групп",
     .demand = Demand::Given,
     .reportRow = 7,
     .reportLabel = u"общее количество групп всех направленностей в ДОУ",
     .reportUnit = u" групп",
     .formCell = {1, "Y23"}},
    {.answer = Answer::MinTeacherSalary,
     .name = "MinTeacherSalary",
     .step = 21,
     .askedWhen = AskedWhen::OwnPayrollData,
     .question = u"Введите среднюю заработную плату первой группы педагогических работников",
     .unit = u"рублей в месяц",
     .help = u"Вводится минимальный должностной оклад, установленный для педагогических "
                u"работников (музыкальный руководитель,инструктор по физической культуре) в "
                u"Вашем учреждении в соответствии с локальным нормативно-правовым актом "
                u"(положением об оплате труда)",
     .shortName = u"должностной оклад педагогических работников",
     .demand = Demand::Given,
     .reportRow = 8,
     .reportLabel = u"Установленный минимальный  должностной оклад по группам "
                       u"педагогических работников",
     .reportUnit = u" рублей в месяц",
     .formCell = {3, "AZ13"}},
    {.answer = Answer::TeacherPayrollFund,
     .name = "TeacherPayrollFund",
     .step = 22,
     .askedWhen = AskedWhen::OwnPayrollData,
     .question = u"Введите общий размер фонда оплаты труда с начислениями на выплаты по "
                    u"оплате труда педагогических работников в предшествующем финансовом году",
     .unit = u"рублей",
     .help = u"Вводится сложившийся размер фонда оплаты труда, включающий выплаты на "
                u"оплату труда (ЕСН), педагогических работников в предшестующем финансовом "
                u"году",
     .shortName = u"фонд оплаты труда педагогических работников",
     .demand = Demand::Given,
     .reportRow = 9,
     .reportLabel = u"Общий размер фонда оплаты труда с начислениями на выплаты по оплате "
                       u"труда педагогических работников за указанный период",
     .reportUnit = u"рублей",
     .formCell = {3, "BS7"}},
    {.answer = Answer::TeacherCompensationFund,
     .name = "TeacherCompensationFund",
     .step = 23,
     .askedWhen = AskedWhen::OwnPayrollData,
     .question = u"Введите общий размер фонда компенсационных выплат для педагогических "
                    u"работников в предшествующем финансовом году",
     .unit = u"рублей",
     .help = u"Вводится сложившийся размер фонда компенсирующих выплат, включающий выплаты "
                u"на оплату труда (ЕСН), педагогическим работников в предшестующем финансовом "
                u"году",
     .shortName = u"фонд компенсационных выплат",
     .demand = Demand::NoMarker,
     .reportRow = 10,
     .reportLabel = u"Общий размер фонда компенсационных выплат для педагогических "
                       u"работников за указанный период",
     .reportUnit = u"рублей",
     .formCell = {3, "BS8"}},
    {.answer = Answer::TeacherIncentiveFund,
     .name = "TeacherIncentiveFund",
     .step = 24,
     .askedWhen = AskedWhen::OwnPayrollData,
     .question = u"Введите общий размер фонда стимулирующих выплат для педагогических "
                    u"работников в предшествующем финансовом году",
     .unit = u"рублей",
     .help = u"Вводится сложившийся размер фонда стимулирующих выплат, включающий выплаты "
                u"на оплату труда (ЕСН), педагогическим работников в предшестующем финансовом "
                u"году",
     .shortName = u"фонд стимулирующих выплат",
     .demand = Demand::NoMarker,
     .reportRow = 11,
     .reportLabel = u"Общий размер фонда стимулирующих выплат для педагогических "
                       u"работников за указанный период",
     .reportUnit = u"рублей",
     .formCell = {3, "BS9"}},
    {.answer = Answer::MonthsOfOperation,
     .name = "MonthsOfOperation",
     .step = 25,
     .askedWhen = AskedWhen::Always,
     .question = u"Введите количество месяцев работы ДОУ в году",
     .unit = u"месяцев",
     .help = u"Вводится количество месяцев за которое дошкольное образовательное "
                u"учреждение собирает родительскую плату",
     .shortName = u"количество месяцев работы",
     .demand = Demand::NoMarker,
     .reportRow = 12,
     .reportLabel = u"Количество месяцев работы ДОУ в году",
     .reportUnit = u" месяцев",
     .formCell = {1, "CS23"}},
    {.answer = Answer::ServiceStaffPayrollFund,
     .name = "ServiceStaffPayrollFund",
     .step = 26,
     .askedWhen = AskedWhen::OwnServicesData,
     .question = u"Введите величину фактически сложившегося фонда оплаты труда и "
                    u"начислений на выплаты по оплате труда обслуживающего персонала ДОУ в "
                    u"отчетном финансовом году",
     .unit = u"рублей",
     .help = u"Вводится сумма, которая была выплачена работникам, составляющим "
                u"обсуживающий персонал (работники питания, уборщики помещений, работники "
                u"котельной, кастелянши, рабочие по комплексному обслуживанию здания и "
                u"другие) в отчетном финансовом году",
     .shortName = u"фонд оплаты труда обслуживающего персонала",
     .demand = Demand::NoMarkerOwnServices,
     .reportRow = 13,
     .reportLabel = u"Общий размер фонда оплаты труда с начислениями на выплаты по оплате "
                       u"труда обслуживающего персонала за указанный период",
     .reportUnit = u" рублей",
     .formCell = {3, "BS10"}},
    {.answer = Answer::ColdWaterVolume,
     .name = "ColdWaterVolume",
     .step = 27,
     .askedWhen = AskedWhen::OwnServicesData,
     .question = u"Введите объем потребления ДОУ холодной воды в отчетном финансовом году, "
                    u"скорректированный в случае изменения структуры оказываемых "
                    u"государственных (муниципальных) услуг (работ) в плановом финансовом году",
     .unit = u"куб.м",
     .help = u"Вводится объем реального потребления холодной воды дошкольным "
                u"образовательным учреждением в отчетном финансовом году (на основании "
                u"представленных счетов к оплате услуг)",
     .shortName = u"объем холодной воды",
     .demand = Demand::NoMarkerOwnServices,
     .reportRow = 14,
     .reportLabel = u"Объем потребления ДОУ холодной воды в указанном году, "
                       u"скорректированный в случае изменения структуры оказываемых "
                       u"государственных (муниципальных) услуг (работ) на плановый период",
     .reportUnit = u"куб.м",
     .formCell = {4, "BS7"}},
    {.answer = Answer::SewageVolume,
     .name = "SewageVolume",
     .step = 28,
     .askedWhen = AskedWhen::OwnServicesData,
     .question = u"Введите объем отпуска стоков в отчетном финансовом году, "
                    u"скорректированный в случае изменения структуры оказываемых "
                    u"государственных (муниципальных) услуг (работ) в плановом финансовом году",
     .unit = u"куб.м",
     .help = u"Вводится объем реального потребления услуг по водоотведению (стокам) "
                u"дошкольным образовательным учреждением в отчетном финансовом году (на "
                u"основании представленных счетов к оплате услуг)",
     .shortName = u"объем стоков",
     .demand = Demand::NoMarkerOwnServices,
     .reportRow = 15,
     .reportLabel = u"Объем отпуска стоков в указанном году, скорректированный в случае "
                       u"изменения структуры оказываемых государственных (муниципальных) "
                       u"услуг (работ) на плановый период",
     .reportUnit = u"куб.м",
     .formCell = {4, "BS8"}},
    {.answer = Answer::HotWaterVolume,
     .name = "HotWaterVolume",
     .step = 29,
     .askedWhen = AskedWhen::OwnServicesData,
     .question = u"Введите объем потребления ДОУ горячей воды в отчетном финансовом году,  "
                    u"скорректированный в случае изменения структуры оказываемых "
                    u"государственных (муниципальных) услуг (работ) в плановом финансовом году",
     .unit = u"куб.м",
     .help = u"Вводится объем реального потребления горячей воды дошкольным "
                u"образовательным учреждением в отчетном финансовом году (на основании "
                u"представленных счетов к оплате услуг). В случае если данная услуга не "
                u"потребляется ДОУ выставляется значение равное 0 (нулю)",
     .shortName = u"объем горячей воды",
     .demand = Demand::NoMarkerOwnServices,
     .reportRow = 16,
     .reportLabel = u"Объем потребления ДОУгорячей воды в указанном году, "
                       u"скорректированный в случае изменения структуры оказываемых "
                       u"государственных (муниципальных) услуг (работ) на плановый период",
     .reportUnit = u"куб.м",
     .formCell = {4, "BS9"}},
    {.answer = Answer::HeatedWaterVolume,
     .name = "HeatedWaterVolume",
     .step = 30,
     .askedWhen = AskedWhen::OwnServicesData,
     .question = u"Введите объем холодной воды нагретой для ДОУ в отчетном финансовом "
                    u"году,  скорректированный в случае изменения структуры оказываемых "
                    u"государственных (муниципальных) услуг (работ) в плановом финансовом году",
     .unit = u"куб.м",
     .help = u"Вводится объем воды, реально потребленной дошкольным образовательным "
                u"учреждением, в объеме холодной воды, нагретой для потребления в ДОУ. В "
                u"случае если данная услуга не потребляется ДОУ выставляется значение равное "
                u"0 (нулю)",
     .shortName = u"объем нагретой воды",
     .demand = Demand::NoMarkerOwnServices,
     .reportRow = 17,
     .reportLabel = u"Объем холодной воды, нагретой для ДОУ в указанном году, "
                       u"скорректированный в случае изменения структуры оказываемых "
                       u"государственных (муниципальных) услуг (работ) на плановый период",
     .reportUnit = u"куб.м",
     .formCell = {4, "BS10"}},
    {.answer = Answer::HeatEnergyVolume,
     .name = "HeatEnergyVolume",
     .step = 31,
     .askedWhen = AskedWhen::OwnServicesData,
     .question = u"Введите объем потребления ДОУ тепловой энергии в отчетном финансовом "
                    u"году, скорректированный в случае изменения структуры оказываемых "
                    u"государственных (муниципальных) услуг (работ) в плановом финансовом году",
     .unit = u"Гкал",
     .help = u"Вводится объем реального потребления тепловой энергии дошкольным "
                u"образовательным учреждением в отчетном финансовом году (на основании "
                u"представленных счетов к оплате услуг)",
     .shortName = u"объем тепловой энергии",
     .demand = Demand::NoMarkerOwnServices,
     .reportRow = 18,
     .reportLabel = u"Объем потребления ДОУ тепловой энергии в указанном году, "
                       u"скорректированный в случае изменения структуры оказываемых "
                       u"государственных (муниципальных) услуг (работ) на плановый период",
     .reportUnit = u"Гкалл",
     .formCell = {4, "BS11"}},
    {.answer = Answer::PriceGrowthPercent,
     .name = "PriceGrowthPercent",
     .step = 32,
     .askedWhen = AskedWhen::OwnServicesData,
     .question = u"Введите индекс дефлятор, соответствующий ожидаемому росту цен",
     .unit = u"процентов",
     .help = u"Используется уровень прогнозируемой инфляции, объявляемый в начале года "
                u"Министерстовм экономического развития",
     .shortName = u"индекс-дефлятор",
     .demand = Demand::NoMarkerOwnServices,
     .reportRow = 19,
     .reportLabel = u"Прогнозируемое процентное изменение потребительских цен в указанном "
                       u"году по отношению к предыдущему году ",
     .reportUnit = u" процентов",
     .formCell = {6, "BS17"}},
    {.answer = Answer::ElectricityVolume,
     .name = "ElectricityVolume",
     .step = 33,
     .askedWhen = AskedWhen::OwnServicesData,
     .question = u"Введите объем потребления ДОУ электрической энергии в отчетном "
                    u"финансовом году, скорректированный в случае изменения структуры "
                    u"оказываемых государственных (муниципальных) услуг (работ) в плановом "
                    u"финансовом году",
     .unit = u"КвтЧ",
     .help = u"Вводится объем реального потребления электрической энергии дошкольным "
                u"образовательным учреждением в отчетном финансовом году (на основании "
                u"показателя счетчика)",
     .shortName = u"объем электрической энергии",
     .demand = Demand::NoMarkerOwnServices,
     .reportRow = 20,
     .reportLabel = u"Объем потребления ДОУ электрической энергии в отчетном финансовом "
                       u"году, скорректированный в случае изменения структуры оказываемых "
                       u"государственных (муниципальных) услуг (работ) в плановом финансовом "
                       u"году",
     .reportUnit = u" КвтЧ",
     .formCell = {4, "BS12"}},
    {.answer = Answer::SecurityAlarmCosts,
     .name = "SecurityAlarmCosts",
     .step = 34,
     .askedWhen = AskedWhen::OwnServicesData,
     .question = u"Введите объем расходов на эксплуатацию охранной сигнализации в ДОУ в "
                    u"отчетном финансовом году",
     .unit = u"рублей",
     .help = u"Вводится объем реальных расходов на экспуатацию охранной сигнализации "
                u"дошкольного образовательного учреждения (на основании счетов охранной "
                u"организации)",
     .shortName = u"расходы на охранную сигнализацию",
     .demand = Demand::NoMarkerOwnServices,
     .reportRow = 21,
     .reportLabel = u"Объем расходов на эксплуатацию охранной сигнализации в ДОУ в "
                       u"отчетном финансовом году",
     .reportUnit = u" рублей",
     .formCell = {4, "BS13"}},
    {.answer = Answer::FireSafetyCosts,
     .name = "FireSafetyCosts",
     .step = 35,
     .askedWhen = AskedWhen::OwnServicesData,
     .question = u"Введите объем расходов на обеспечение пожарной безопасности  ДОУ в "
                    u"отчетном финансовом году",
     .unit = u"рублей",
     .help = u"Вводится объем реальных расходов на обеспечение пожарной безопасности "
                u"дошкольного образовательного учреждения (на основании счетов, выставленных "
                u"организацией, оказывающей соответствующие услуги)",
     .shortName = u"расходы на пожарную безопасность",
     .demand = Demand::NoMarkerOwnServices,
     .reportRow = 22,
     .reportLabel = u"Объем расходов на обеспечение пожарной безопасности ДОУ в отчетном "
                       u"финансовом году",
     .reportUnit = u" рублей",
     .formCell = {4, "BS14"}},
    {.answer = Answer::BuildingArea,
     .name = "BuildingArea",
     .step = 36,
     .askedWhen = AskedWhen::OwnServicesData,
     .question = u"Введите общую площадь зданий ДОУ",
     .unit = u"м2",
     .help = u"Могут быть использованы данные на основании данных формы 85-К",
     .shortName = u"площадь зданий",
     .demand = Demand::NoMarkerOwnServices,
     .reportRow = 23,
     .reportLabel = u"Общая площадь зданий дошкольного образовательного учреждения на "
                       u"конец отчетного года",
     .reportUnit = u" м2",
     .formCell = {5, "BS7"}},
    {.answer = Answer::TerritoryCosts,
     .name = "TerritoryCosts",
     .step = 37,
     .askedWhen = AskedWhen::OwnServicesData,
     .question = u"Введите объем расходов ДОУ на содержание прилегающей территории, "
                    u"включая вывоз мусора, сброс снега с крыш, в соответствии с нормами "
                    u"СанПиНа в отчетном финансовом году",
     .unit = u"рублей",
     .help = u"Вводится объем реальных расходов на содержание прилегающей территории, "
                u"включая вывоз мусора, сброс снега с крыш дошкольного образовательного "
                u"учреждения (на основании счетов, выставленных организацией, оказывающей "
                u"соответствующие услуги) в соответствии с нормами СанПиНа в отчетном "
                u"финансовом году",
     .shortName = u"расходы на содержание территории",
     .demand = Demand::NoMarkerOwnServices,
     .reportRow = 24,
     .reportLabel = u"Объем расходов ДОУ на содержание прилегающей территории, включая "
                       u"вывоз мусора, сброс снега с крыш, в соответствии с нормами СанПиНа в "
                       u"отчетном финансовом году",
     .reportUnit = u" рублей",
     .formCell = {4, "BS15"}},
    {.answer = Answer::MovablePropertyCosts,
     .name = "MovablePropertyCosts",
     .step = 38,
     .askedWhen = AskedWhen::OwnServicesData,
     .question = u"Введите объем расходов ДОУ на содержание движимого имущества в отчетном "
                    u"финансовом году, скорректированные в случае изменений структуры "
                    u"оказываемых государственных (муниципальных) услуг (работ) в очередном "
                    u"финансовом году и плановом периоде,  включая расходы на техническое "
                    u"обслуживание (в том числе транспортных средств), на приобретение "
                    u"расходных материалов, не отнесенные к расходам на обучение",
     .unit = u"рублей",
     .help = u"Вводится фактический объем расходов на содержание движимого имущества в "
                u"отчетном финансовом году, скорректированные в случае изменений структуры "
                u"оказываемых государственных (муниципальных) услуг (работ) в очередном "
                u"финансовом году и плановом периоде,  включая расходы на техническое "
                u"обслуживание (в том числе транспортных средств), на приобретение расходных "
                u"материалов, не отнесенные к расходам на обучение",
     .shortName = u"расходы на содержание движимого имущества",
     .demand = Demand::NoMarkerOwnServices,
     .reportRow = 25,
     .reportLabel = u"Объем расходов ДОУ на содержание движимого имущества в отчетном "
                       u"финансовом году, скорректированные в случае изменений структуры "
                       u"оказываемых государственных (муниципальных) услуг (работ) в "
                       u"очередном финансовом году и плановом периоде,  включая расходы на "
                       u"техническое обслуживание (в том числе транспортных средств), на "
                       u"приобретение расходных материалов, не отнесенные к расходам на "
                       u"обучение",
     .reportUnit = u" рублей",
     .formCell = {4, "BS16"}},
    {.answer = Answer::InsuranceCosts,
     .name = "InsuranceCosts",
     .step = 39,
     .askedWhen = AskedWhen::OwnServicesData,
     .question = u"Введите объем расходов ДОУ на обязательное страхование гражданской "
                    u"ответственности владельцев транспортных средств, а также иных видов "
                    u"движимого имущества, обязательное страхование которых предусмотрено "
                    u"учредителем в отчетном финансовом году, скорректированные в случае "
                    u"изменений структуры оказываемых государственных (муниципальных) услуг "
                    u"(работ) в очередном финансовом году и плановом периоде",
     .unit = u"рублей",
     .help = u"Вводится фактический объем расходов на обязательное страхование гражданской "
                u"ответственности владельцев транспортных средств, а также иных видов "
                u"движимого имущества, обязательное страхование которых предусмотрено "
                u"учредителем в отчетном финансовом году, скорректированные в случае "
                u"изменений структуры оказываемых государственных (муниципальных) услуг "
                u"(работ) в очередном финансовом году и плановом периоде",
     .shortName = u"расходы на страхование",
     .demand = Demand::NoMarkerOwnServices,
     .reportRow = 26,
     .reportLabel = u"Объем расходов ДОУ на обязательное страхование гражданской "
                       u"ответственности владельцев транспортных средств, а также иных видов "
                       u"движимого имущества, обязательное страхование которых предусмотрено "
                       u"учредителем в отчетном финансовом году, скорректированные в случае "
                       u"изменений структуры оказываемых государственных (муниципальных) "
                       u"услуг (работ) в очередном финансовом году и плановом периоде",
     .reportUnit = u" рублей",
     .formCell = {4, "BS17"}},
    {.answer = Answer::PropertyValueJan1,
     .name = "PropertyValueJan1",
     .step = 40,
     .askedWhen = AskedWhen::OwnServicesData,
     .question = u"Введите стоимость имущества ДОУ, признаваемого объектом "
                    u"налогообложения, за отчетный финансовый год, на 1 января отчетного года ",
     .unit = u"рублей",
     .help = kPropertyHelp,
     .shortName = u"стоимость имущества на 1 января",
     .demand = Demand::NoMarkerOwnServices,
     .reportRow = 27,
     .reportLabel = u"Стоимость имущества ДОУ, признаваемого объектом налогообложения, за "
                       u"отчетный финансовый год, на 1 января отчетного года ",
     .reportUnit = u" рублей",
     .formCell = {5, "BS8"}},
    {.answer = Answer::PropertyValueDec1,
     .name = "PropertyValueDec1",
     .step = 41,
     .askedWhen = AskedWhen::OwnServicesData,
     .question = u"Введите стоимость имущества ДОУ, признаваемого объектом "
                    u"налогообложения, за отчетный финансовый год, на 1 декабря отчетного "
                    u"года ",
     .unit = u"рублей",
     .help = kPropertyHelp,
     .shortName = u"стоимость имущества на 1 декабря",
     .demand = Demand::NoMarkerOwnServices,
     .reportRow = 28,
     .reportLabel = u"Стоимость имущества ДОУ, признаваемого объектом налогообложения, за "
                       u"отчетный финансовый год, на 1 декабря отчетного года ",
     .reportUnit = u" рублей",
     .formCell = {5, "BS9"}},
    {.answer = Answer::LandCadastralValue,
     .name = "LandCadastralValue",
     .step = 42,
     .askedWhen = AskedWhen::OwnServicesData,
     .question = u"Введите кадастровую среднегодовую стоимость земельного участка, "
                    u"предоставленного ДОУ на праве постоянного (бессрочного) пользования",
     .unit = u"рублей",
     .help = u"Вводится стоимость земельного участка, указанного в счетах по оплате "
                u"земельного налога",
     .shortName = u"кадастровая стоимость земельного участка",
     .demand = Demand::NoMarkerOwnServices,
     .reportRow = 29,
     .reportLabel = u"Кадастровая среднегодовая стоимость земельного участка, "
                       u"предоставленного ДОУ на праве постоянного (бессрочного) пользования",
     .reportUnit = u" рублей",
     .formCell = {5, "BS10"}},
    {.answer = Answer::FoodAndServicesCosts,
     .name = "FoodAndServicesCosts",
     .step = 43,
     .askedWhen = AskedWhen::OwnServicesData,
     .question = u"Введите объем затрат на приобретение продуктов питания, на оплату услуг "
                    u"организаций и индивидуальных предпринимателей, и на оплату "
                    u"горюче-смазочных материалов для организации питания воспитанников, "
                    u"сложившийся в отчетном году",
     .unit = u"рублей",
     .help = u"Вводится суммарный объем расходов по всем видам, указанным в вопросе",
     .shortName = u"расходы на питание и услуги",
     .demand = Demand::NoMarkerOwnServices,
     .reportRow = 30,
     .reportLabel = u"объем затрат на приобретение продуктов питания, на оплату услуг "
                       u"организаций и индивидуальных предпринимателей, и на оплату "
                       u"горюче-смазочных материалов для организации питания воспитанников, "
                       u"сложившийся в отчетном году",
     .reportUnit = u" рублей",
     .formCell = {4, "BS18"}},
    {.answer = Answer::OtherCosts,
     .name = "OtherCosts",
     .step = 44,
     .askedWhen = AskedWhen::OwnServicesData,
     .question = u"Введите объем прочих затрат, влияющих на стоимость оказания услуги по "
                    u"содержанию детей в ДОУ, определяемый учредителем, сложившийся в "
                    u"отчетном году",
     .unit = u"рублей",
     .help = u"Если прочие затраты отсутствуют, то вводится значение 0",
     .shortName = u"прочие затраты",
     .demand = Demand::NoMarkerOwnServices,
     .reportRow = 31,
     .reportLabel = u"Объем прочих затрат, влияющих на стоимость оказания услуги по "
                       u"содержанию детей в ДОУ, определяемый учредителем, сложившийся в "
                       u"отчетном году",
     .reportUnit = u" рублей",
     .formCell = {5, "BS19"}},
    {.answer = Answer::ColdWaterTariff,
     .name = "ColdWaterTariff",
     .step = 45,
     .askedWhen = AskedWhen::OwnServicesData,
     .question = u"Введите тариф на услуги по холодному водоснабжению, установленный в "
                    u"муниципальном образовании на очередной финансовый год и плановый период",
     .unit = u"рублей/м.куб",
     .help = kTariffHelp,
     .shortName = u"тариф на холодную воду",
     .demand = Demand::NoMarkerOwnServices,
     .reportRow = 32,
     .reportLabel = u"Тариф на услуги по холодному водоснабжению, установленный в "
                       u"муниципальном образовании на очередной финансовый год и плановый "
                       u"период",
     .reportUnit = u" руб/м.куб",
     .formCell = {6, "BS7"}},
    {.answer = Answer::SewageTariff,
     .name = "SewageTariff",
     .step = 46,
     .askedWhen = AskedWhen::OwnServicesData,
     .question = u"Введите тариф на услуги по водоотведению, установленный в муниципальном "
                    u"образовании на очередной финансовый год и плановый период",
     .unit = u"рублей/м.куб",
     .help = kTariffHelp,
     .shortName = u"тариф на водоотведение",
     .demand = Demand::NoMarkerOwnServices,
     .reportRow = 33,
     .reportLabel = u"Тариф на услуги по водоотведению, установленный в муниципальном "
                       u"образовании на очередной финансовый год и плановый период",
     .reportUnit = u" руб/м.куб",
     .formCell = {6, "BS8"}},
    {.answer = Answer::HotWaterTariff,
     .name = "HotWaterTariff",
     .step = 47,
     .askedWhen = AskedWhen::OwnServicesData,
     .question = u"Введите тариф на услуги по горячему водоснабжению, установленный в "
                    u"муниципальном образовании на очередной финансовый год и плановый период",
     .unit = u"рублей/м.куб",
     .help = kTariffHelp,
     .shortName = u"тариф на горячую воду",
     .demand = Demand::NoMarkerOwnServices,
     .reportRow = 34,
     .reportLabel = u"Тариф на услуги по горячему водоснабжению, установленный в "
                       u"муниципальном образовании на очередной финансовый год и плановый "
                       u"период",
     .reportUnit = u" руб/м.куб",
     .formCell = {6, "BS9"}},
    {.answer = Answer::WaterHeatingTariff,
     .name = "WaterHeatingTariff",
     .step = 48,
     .askedWhen = AskedWhen::OwnServicesData,
     .question = u"Введите тариф на услуги по нагреву холодной воды, установленный в "
                    u"муниципальном образовании на очередной финансовый год и плановый период",
     .unit = u"рублей/м.куб",
     .help = kTariffHelp,
     .shortName = u"тариф на нагрев воды",
     .demand = Demand::NoMarkerOwnServices,
     .reportRow = 35,
     .reportLabel = u"Тариф на услуги по нагреву холодной воды, установленный для данного "
                       u"ДОУ на очередной финансовый год и плановый период",
     .reportUnit = u" руб/м.куб",
     .formCell = {6, "BS10"}},
    {.answer = Answer::HeatTariff,
     .name = "HeatTariff",
     .step = 49,
     .askedWhen = AskedWhen::OwnServicesData,
     .question = u"Введите тариф на потребление тепловой энергии, установленный в "
                    u"муниципальном образовании на очередной финансовый год и плановый период",
     .unit = u"рублей/Гкал",
     .help = kTariffHelp,
     .shortName = u"тариф на тепловую энергию",
     .demand = Demand::NoMarkerOwnServices,
     .reportRow = 36,
     .reportLabel = u"Тариф на потребление тепловой энергии, установленный в муниципальном "
                       u"образовании на очередной финансовый год и плановый период",
     .reportUnit = u" рублей/Гкал",
     .formCell = {6, "BS11"}},
    {.answer = Answer::ElectricityTariff,
     .name = "ElectricityTariff",
     .step = 50,
     .askedWhen = AskedWhen::OwnServicesData,
     .question = u"Введите тариф на потребление электрической энергии, установленный в "
                    u"муниципальном образовании на очередной финансовый год и плановый период",
     .unit = u"рублей/КвтЧ",
     .help = kTariffHelp,
     .shortName = u"тариф на электрическую энергию",
     .demand = Demand::NoMarkerOwnServices,
     .reportRow = 37,
     .reportLabel = u"Тариф на потребление электрической энергии, установленный в "
                       u"муниципальном образовании на очередной финансовый год и плановый "
                       u"период",
     .reportUnit = u" рублей/КвтЧ",
     .formCell = {6, "BS12"}},
    {.answer = Answer::RepairCostPerM2,
     .name = "RepairCostPerM2",
     .step = 51,
     .askedWhen = AskedWhen::OwnServicesData,
     .question = u"Введите среднюю стоимость текущего ремонта площади зданий, сложившаяся "
                    u"в регионе",
     .unit = u"рублей/м2",
     .help = u"Вводится средняя стоимость текущего ремонта одного квадратного метра "
                u"площади зданий, сложившаяся в регионе в отчетном финансовом году (на "
                u"основании данных органов управления образованием или смет на текущий ремонт)",
     .shortName = u"стоимость текущего ремонта",
     .demand = Demand::NoMarkerOwnServices,
     .reportRow = 38,
     .reportLabel = u"Средняя стоимость текущего ремонта площади зданий, сложившаяся в "
                       u"регионе",
     .reportUnit = u" рублей/м2",
     .formCell = {6, "BS13"}},
    {.answer = Answer::PropertyTaxRate,
     .name = "PropertyTaxRate",
     .step = 52,
     .askedWhen = AskedWhen::OwnServicesData,
     .question = u"Введите ставку налога на имущество организаций, установленную "
                    u"законодательством субъекта Российской Федерации",
     .unit = u"процентов",
     .help = u"В соответствии со статьей 380 Налогового кодекса РФ налоговые ставки на "
                u"имущество организаций устанавливаются законами субъектов Российской "
                u"Федерации и не могут превышать 2,2 процента.Допускается установление "
                u"дифференцированных налоговых ставок в зависимости от категорий "
                u"налогоплательщиков и (или) имущества, признаваемого объектом "
                u"налогообложения.",
     .shortName = u"ставка налога на имущество",
     .demand = Demand::NoMarkerOwnServices,
     .reportRow = 39,
     .reportLabel = u"ставка налога на имущество организаций, установленная "
                       u"законодательством субъекта Российской Федерации",
     .reportUnit = u" процентов",
     .formCell = {6, "BS14"}},
    {.answer = Answer::LandTaxRate,
     .name = "LandTaxRate",
     .step = 53,
     .askedWhen = AskedWhen::OwnServicesData,
     .question = u"Введите ставку земельного налога в муниципальном образовании",
     .unit = u"процентов",
     .help = u"В соответствии со статьей 394 Налогового кодекса РФ ставка земельного "
                u"налога устанавливается законами представительных органов муниципальных "
                u"образований (законами городов федерального значения) и не может превышать "
                u"0,3 процента",
     .shortName = u"ставка земельного налога",
     .demand = Demand::NoMarkerOwnServices,
     .reportRow = 40,
     .reportLabel = u"ставка земельного налога в муниципальном образовании",
     .reportUnit = u" процентов",
     .formCell = {6, "BS15"}},
    {.answer = Answer::ParentFeePerMonth,
     .name = "ParentFeePerMonth",
     .step = 54,
     .askedWhen = AskedWhen::Always,
     .question = u"Введите величину родительской платы в месяц на содержание одного "
                    u"ребенка, скорректированную на величину льгот",
     .unit = u"рублей",
     .help = u"Вводится среднее значение ежемесячной величины родительской платы, "
                u"приходящееся на одного воспитанника, взимаемой дошкольным образовательным "
                u"учреждением",
     .shortName = u"родительская плата",
     .demand = Demand::NoMarkerMaintenance,
     .reportRow = 41,
     .reportLabel = u"величина родительской платы в месяц на содержание одного ребенка, "
                       u"скорректированная на величину льгот",
     .reportUnit = u"рублей",
     .formCell = {6, "BS16"}},
}};

constexpr SalaryQuestionVariants kSalaryVariants{
    .villageQuestion = u"Введите среднюю заработную плату первой группы педагогических работников (без учета "
        u"сельских надбавок)",
    .minimumQuestion = u"Введите минимальный установленный должностной оклад по группам педагогических "
        u"работников",
    .averageHelp = u"Вводится средняя заработная плата с учетом надбавок и компенсационных выплат для "
        u"первой категории педагогического персонала (музыкальный руководитель, инструктор по "
        u"физической культуре)",
};

constexpr std::array<FlagDescriptor, kFlagCount> kFlags{{
    {Flag::SettlementIsVillage, "SettlementIsVillage", Step::kSettlement, 1, u"село", u"село", 3},
    {Flag::SettlementIsCity, "SettlementIsCity", Step::kSettlement, 2, u"город", u"город", 0},
    {Flag::KindPreschoolSenior, "KindPreschoolSenior", Step::kKind, 1,
     u"ДОУ для детей предшкольного (старшего дошкольного) возраста",
     u"детский сад для детей предшкольного (старшего дошкольного) возраста", 3},
    {Flag::KindDevelopmentCentre, "KindDevelopmentCentre", Step::kKind, 2,
     u"Центр развития ребенка - детский сад", u"центр развития ребенка - детский сад", 8},
    {Flag::KindOther, "KindOther", Step::kKind, 3, u"Иной тип учреждения",
     u"Иной вид образовательного учреждения", 0},
    {Flag::FiveDayWeek, "FiveDayWeek", Step::kWorkWeek, 1, u"5-ти дневная неделя", u"пятидневный", 1},
    {Flag::SixDayWeek, "SixDayWeek", Step::kWorkWeek, 2, u"6-ти дневная неделя", u"шестидневный", 0},
}};

constexpr std::array<ChoiceDescriptor, 3> kChoices{{
    {Step::kSettlement, u"Выберите тип населенного пункта в котором расположено ДОУ",
     u"К сельским населенным пунктам относятся как сельские поселения, так и сельские муниципальные районы",
     u"тип населенного пункта", 42, u"Тип населенного пункта в котором расположено ДОУ", u"-",
     {1, "CC23"}},
    {Step::kKind, u"Выберите вид дошкольного образовательного учреждения",
     u"Выбирается вид в соответствии с уставом Вашего дошкольного образовательного учреждения",
     u"вид учреждения", 43, u"Вид дошкольного образовательного учреждения", u"-", {1, "BJ23"}},
    {Step::kWorkWeek, u"Выберите режим работы дошкольного образовательного учреждения",
     u"Вводится количество дней в неделю работы дошкольного образовательного учреждения",
     {}, 44, u"Режим работы ДОУ", u"-", {1, "AR23"}},
}};
// clang-format on

template <std::size_t N, typename Row, typename Key>
constexpr bool inEnumOrder(const std::array<Row, N>& rows, Key Row::*key) {
    for (std::size_t i = 0; i < N; ++i) {
        if (static_cast<std::size_t>(rows[i].*key) != i) return false;
    }
    return true;
}
static_assert(inEnumOrder(kAnswers, &AnswerDescriptor::answer), "one answer a row, in enum order");
static_assert(inEnumOrder(kFlags, &FlagDescriptor::flag), "one flag a row, in enum order");

constexpr bool inStepOrder() {
    for (std::size_t i = 1; i < kAnswers.size(); ++i) {
        if (kAnswers[i].step <= kAnswers[i - 1].step) return false;
    }
    return true;
}
static_assert(inStepOrder(), "answers in step order");

}  // namespace

std::span<const AnswerDescriptor> answerTable() {
    return kAnswers;
}

const AnswerDescriptor& answerInfo(Answer answer) {
    return kAnswers[static_cast<std::size_t>(answer)];
}

std::optional<Answer> answerForStep(int step) {
    for (const auto& info : kAnswers) {
        if (info.step == step) return info.answer;
    }
    return std::nullopt;
}

std::optional<Answer> answerByName(const QString& name) {
    for (const auto& info : kAnswers) {
        if (name == QLatin1String(info.name)) return info.answer;
    }
    return std::nullopt;
}

const SalaryQuestionVariants& salaryQuestionVariants() {
    return kSalaryVariants;
}

std::span<const FlagDescriptor> flagTable() {
    return kFlags;
}

const FlagDescriptor& flagInfo(Flag flag) {
    return kFlags[static_cast<std::size_t>(flag)];
}

std::optional<Flag> flagByName(const QString& name) {
    for (const auto& info : kFlags) {
        if (name == QLatin1String(info.name)) return info.flag;
    }
    return std::nullopt;
}

std::span<const FlagDescriptor> flagsOfStep(int step) {
    const auto first = std::find_if(kFlags.begin(), kFlags.end(),
                                    [step](const FlagDescriptor& f) { return f.step == step; });
    const auto last = std::find_if(first, kFlags.end(),
                                   [step](const FlagDescriptor& f) { return f.step != step; });
    return {first, last};
}

std::span<const ChoiceDescriptor> choiceTable() {
    return kChoices;
}

const ChoiceDescriptor* choiceForStep(int step) {
    for (const auto& choice : kChoices) {
        if (choice.step == step) return &choice;
    }
    return nullptr;
}

bool isChoiceStep(int step) {
    return choiceForStep(step) != nullptr;
}

bool isAsked(AskedWhen when, bool ownPayroll, bool ownServices) {
    switch (when) {
        case AskedWhen::Always:
            return true;
        case AskedWhen::OwnPayrollData:
            return ownPayroll;
        case AskedWhen::OwnServicesData:
            return ownServices;
    }
    return true;
}

}  // namespace normativ
