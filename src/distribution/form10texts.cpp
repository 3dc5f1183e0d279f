#include "form10texts.h"

namespace normativ {

const Form10Texts& form10Texts() {
    static const Form10Texts texts{
        .caption = QStringLiteral("Количество воспитанников в соответствующих группах"),
        .agePrompt = QStringLiteral("Укажите возраст воспитанников"),
        .stayModePrompt = QStringLiteral("Укажите режим работы групп"),
        .orientationPrompt = QStringLiteral("Укажите направленность групп"),
        .pupilsPrompt =
            QStringLiteral("Укажите общее количество воспитанников, обучающихся в группах"),
        .backButton = QStringLiteral("Назад"),
        .backToParametersButton = QStringLiteral("Вернуться к параметрам ДОУ"),
        .deleteButton = QStringLiteral("Удалить запись"),
        .createButton = QStringLiteral("Создать запись"),
        .nextButton = QStringLiteral("Далее"),
        .finishButton = QStringLiteral("Закончить распределение по группам"),
        .finishButtonAtDesign = QStringLiteral("Закончить распределение воспитанников по группам"),
        .limitReachedMessage =
            QStringLiteral("Достигнуто предельное количество записей, обратитесь к разработчику"),
    };
    return texts;
}

}  // namespace normativ
