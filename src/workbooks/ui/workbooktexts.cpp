#include "workbooktexts.h"

namespace normativ {

const WorkbookWindowTexts& workbookWindowTexts() {
    static const WorkbookWindowTexts texts{
        .reportDialogTitle = QStringLiteral("Сохранение отчета"),
        .estimateDialogTitle = QStringLiteral("Сохранение смет"),
        .methodologySaveTitle = QStringLiteral("Сохранение методики"),
        .methodologyLoadTitle = QStringLiteral("Загрузка методики"),
        .methodologyFileName = QStringLiteral("Методика расчета.xlsx"),
        .workbookFilter = QStringLiteral("Книга Excel (*.xlsx)"),
        .workbookSuffix = QStringLiteral(".xlsx"),
        .replaceExisting = QStringLiteral("Файл «%1» уже существует. Заменить его?"),
        .notSavedTitle = QStringLiteral("Файл не сохранен"),
        .tryAgain = QStringLiteral(
            "Введенные данные не потеряны: выберите другую папку или другое имя файла и "
            "попробуйте еще раз."),
        .notPreparedTitle = QStringLiteral("Книга не подготовлена"),
        .notPrepared = QStringLiteral(
            "Не удалось подготовить книгу для сохранения: %1. Введенные данные не потеряны, "
            "попробуйте еще раз."),
        .outOfMemory = QStringLiteral("недостаточно памяти"),
        .savedTitle = QStringLiteral("Файл сохранен"),
        .savedNotOpened = QStringLiteral(
            "Книга сохранена в файле «%1».\n\nОткрыть ее в программе для работы с электронными "
            "таблицами не удалось: откройте этот файл в ней самостоятельно."),

        .loaderCaption = QStringLiteral("Загрузка статистической формы/сохраненного отчета"),
        .locationPrompt =
            QStringLiteral("Укажите размещение формы формирования задания (файла сохранения) для "
                           "рассматриваемого ДОУ на Вашем компьютере"),
        .pathCaption = QStringLiteral("Полный путь:"),
        .notAWorkbookMessage = QStringLiteral(
            "Указанный Вами файл не является требуемой формой статистической отчетности либо "
            "сохраненным по результатам работы с программой отчетом"),
        .startButton = QStringLiteral("Начать работу"),
        .filePattern = QStringLiteral("*.xls*"),
        .driveListName = QStringLiteral("Диск"),
        .folderListName = QStringLiteral("Папка"),
        .fileListName = QStringLiteral("Файл"),
        .homeDrive = QStringLiteral("Домашняя папка"),
        .removableDrive = QStringLiteral("%1 (съемный носитель)"),
    };
    return texts;
}

}  // namespace normativ
