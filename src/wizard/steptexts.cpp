#include "steptexts.h"

#include "answers.h"

namespace normativ::wizard {

StepTexts stepTexts(int step) {
    if (const auto answer = answerForStep(step)) {
        const AnswerDescriptor& info = answerInfo(*answer);
        return {info.question.toString(), info.unit.toString(), info.help.toString()};
    }
    if (const ChoiceDescriptor* choice = choiceForStep(step))
        return {choice->question.toString(), QString(), choice->help.toString()};
    return {};
}

QString villageSalaryQuestion() {
    return salaryQuestionVariants().villageQuestion.toString();
}

QString minimumSalaryQuestion() {
    return salaryQuestionVariants().minimumQuestion.toString();
}

QString averageSalaryHelp() {
    return salaryQuestionVariants().averageHelp.toString();
}

QStringList optionCaptions(int step) {
    QStringList captions;
    for (const FlagDescriptor& flag : flagsOfStep(step)) captions << flag.optionCaption.toString();
    return captions;
}

const MainWindowTexts& mainWindowTexts() {
    static const QString perPupil = QStringLiteral("рублей на человека");
    static const QString rub = QStringLiteral("рублей");
    static const MainWindowTexts texts{
        .caption =
            QStringLiteral("Расчет норматива финансирования услуг по обучению и содержанию в ДОУ"),
        .startTitle = QStringLiteral("Формирование субсидии в рамках бюджетного задания для "
                                     "дошкольных образовательных учреждений"),
        .institutionPrompt = QStringLiteral("Введите наименование учреждения"),
        .yearPrompt =
            QStringLiteral("Укажите на какой год формируется муниципальное задание (год)"),
        .noInstitutionMessage = QStringLiteral("Не выбрано дошкольное образовательное учреждение"),
        .noYearMessage = QStringLiteral("Не выбран год на который формируется задание"),
        .loadButton = QStringLiteral(
            "Использовать данные статистической отчетности (сохраненный ранее отчет)"),
        .startButton =
            QStringLiteral("Начать работу с программой   без использования сохраненных данных"),
        .payrollModeCheck =
            QStringLiteral("Использовать данные по оплате труда отдельного учреждения"),
        .servicesModeCheck = QStringLiteral(
            "Использовать при расчете норматива затрат на содержание детей данные по объему "
            "приобретаемых услуг отдельного учреждения"),
        .infoButton = QStringLiteral("?"),
        .methodologyPrefix = QStringLiteral("Методика расчета: "),
        .loadMethodologyButton = QStringLiteral("Загрузить методику…"),
        .saveMethodologyButton = QStringLiteral("Сохранить образец методики…"),
        .summaryButton = QStringLiteral("Сводный расчет по нескольким учреждениям"),
        .designOptionCaptions = {QStringLiteral("Село"), QStringLiteral("Город"),
                                 QStringLiteral("Иной тип учреждения")},
        .resultRows =
            {
                {QStringLiteral("Норматив финансирования услуг по обучению"), perPupil},
                {QStringLiteral("Норматив финансирования услуг по содержанию"), perPupil},
                {QStringLiteral("Общий норматив финансирования"), perPupil},
                {QStringLiteral("Суммарные расходы на услуги по обучению"), rub},
                {QStringLiteral("Суммарные расходы на услуги по содержанию"), rub},
                {QStringLiteral("Суммарные расходы на услуги по обучению и содержанию"), rub},
            },
        .reportButton = QStringLiteral("создать отчет"),
        .estimateButton = QStringLiteral("Сформировать смету"),
        .nextButton = QStringLiteral("Далее"),
        .backButton = QStringLiteral("Назад"),
        .helpButton = QStringLiteral("справка"),
        .helpCaption = QStringLiteral("Справка"),
        .closeButton = QStringLiteral("Закрыть"),
        .institutionName = QStringLiteral("дошкольное образовательное учреждение №%1"),
    };
    return texts;
}

QString institutionName(int number) {
    return mainWindowTexts().institutionName.arg(number);
}

}  // namespace normativ::wizard
