#include "writertexts.h"

namespace normativ {

const WriterTexts& writerTexts() {
    static const WriterTexts texts{
        .notSaved = QStringLiteral("Не удалось сохранить файл «%1»: %2."),
        .noFolder = QStringLiteral("папка не существует"),
        .fileInPath = QStringLiteral("в пути к файлу вместо папки указан файл"),
        .noPermission = QStringLiteral("нет прав на запись"),
        .readOnlyDisk = QStringLiteral("диск доступен только для чтения"),
        .diskFull = QStringLiteral("недостаточно места на диске"),
        .nameTooLong = QStringLiteral("слишком длинное имя файла"),
        .folderAtPath = QStringLiteral("по этому пути находится папка"),
        .writeError = QStringLiteral("ошибка записи (код %1)"),
        .noSheets = QStringLiteral("в книге нет листов"),
        .twoSheetsNamed = QStringLiteral("два листа с именем «%1»"),
        .numberFormatFailed = QStringLiteral("не удалось выбрать формат чисел"),
        .outOfMemory = QStringLiteral("недостаточно памяти"),
        .bookWriteError = QStringLiteral("ошибка записи книги (%1)"),
        .numbersWriteError = QStringLiteral("ошибка записи чисел книги"),
        .onSheet = QStringLiteral("лист «%1»: %2"),
        .cellOutsideSheet = QStringLiteral("ячейка за пределами листа (строка %1, столбец %2)"),
        .badRange = QStringLiteral("неверный диапазон ячеек"),
        .numberDoesNotFit = QStringLiteral("число в ячейке %1 не помещается в книгу"),
        .textTooLong = QStringLiteral("текст ячейки %1 длиннее %2 знаков"),
        .badAddress = QStringLiteral("неверный адрес ячейки «%1»"),
        .tooManyRowsToFormat = QStringLiteral("слишком много строк для форматирования"),
        .rangeTooLargeToFormat = QStringLiteral("слишком большой диапазон для форматирования"),
        .badNamedRange = QStringLiteral("неверный диапазон «%1»"),
        .rangeTooLargeForBorders = QStringLiteral("слишком большой диапазон для линий"),
        .badColumnWidth = QStringLiteral("неверная ширина столбца"),
        .badRowHeight = QStringLiteral("неверная высота строки"),
        .badPageSetup = QStringLiteral("неверные параметры печати"),
        .pageNumbers = QStringLiteral("Стр. &P из &N"),
        .defaultSheetName = QStringLiteral("Лист%1"),
        .badSheetName = QStringLiteral("недопустимое имя листа «%1»"),
    };
    return texts;
}

}  // namespace normativ
