#include "loadertexts.h"

namespace normativ {

const LoaderTexts& loaderTexts() {
    static const LoaderTexts texts{
        .wrongFile = QStringLiteral(
            "Указанный Вами файл не является требуемой формой статистической отчетности"),
        .noFileChosen = QStringLiteral("Не указан путь к статистической форме"),
        .noMarker = QStringLiteral(
            "это не статистическая форма и не сохраненный отчет: на первом листе нет отметки ни "
            "в ячейке EH17, ни в ячейке H124"),
        .cell = QStringLiteral("лист %1, ячейка %2"),
        .tooFewSheets = QStringLiteral("в книге %1 лист(а), нужно не меньше %2"),
        .notANumber = QStringLiteral("%1: %2 «%3» не является числом"),
        .recordCount =
            QStringLiteral("%1: количество записей «%2» не является целым числом от 1 до %3"),
        .recordPupils = QStringLiteral("%1: количество воспитанников «%2» не является числом"),
        .pupilsTooLarge = QStringLiteral("%1: количество воспитанников %2 слишком велико"),
        .trueValue = QStringLiteral("ИСТИНА"),
        .falseValue = QStringLiteral("ЛОЖЬ"),
        .folder = QStringLiteral("это папка, а не файл"),
        .cannotOpen = QStringLiteral("файл не удается открыть: %1"),
        .tooLarge = QStringLiteral("файл больше 20 МБ"),
        .cannotRead = QStringLiteral("файл не удается прочитать: %1"),
    };
    return texts;
}

}  // namespace normativ
