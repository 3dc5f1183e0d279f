#include "form11texts.h"

namespace normativ {

const Form11Texts& form11Texts() {
    static const Form11Texts texts{
        .caption = QStringLiteral("Сводный расчет по учреждениям"),
        .addFilesButton = QStringLiteral("Добавить файлы…"),
        .addFolderButton = QStringLiteral("Добавить папку…"),
        .clearButton = QStringLiteral("Очистить список"),
        .calculateButton = QStringLiteral("Рассчитать"),
        .stopButton = QStringLiteral("Остановить"),
        .saveButton = QStringLiteral("Сохранить сводку…"),
        .closeButton = QStringLiteral("Закрыть"),
        .addFilesTitle = QStringLiteral("Добавить файлы"),
        .addFolderTitle = QStringLiteral("Добавить папку"),
        .workbookFilter = QStringLiteral("Книги Excel (*.xlsx *.xls);;Все файлы (*)"),
        .noWorkbooksInFolder = QStringLiteral("В папке «%1» нет файлов .xlsx и .xls."),
        .resultLine = QStringLiteral("рассчитано: %1 из %2; субсидии всего: %3 руб."),
        .progressFormat = QStringLiteral("%v из %m"),
        .saveTitle = QStringLiteral("Сохранить сводку"),
        .summaryFileName = QStringLiteral("Сводный расчет по учреждениям.xlsx"),
    };
    return texts;
}

}  // namespace normativ
