#pragma once

#include <QStringView>

// Every text the workbook windows and messages show.
namespace normativ::workbooktext {

// Saving a created workbook.
inline constexpr QStringView kReportDialogTitle = u"Сохранение отчета";
inline constexpr QStringView kEstimateDialogTitle = u"Сохранение смет";
inline constexpr QStringView kWorkbookFilter = u"Книга Excel (*.xlsx)";
inline constexpr QStringView kWorkbookSuffix = u".xlsx";
/// %1: the full path of a file that is there already. Asked when the ending was added to
/// the name the user gave, since the dialog asked about the name without it.
inline constexpr QStringView kReplaceExisting = u"Файл «%1» уже существует. Заменить его?";
inline constexpr QStringView kNotSavedTitle = u"Файл не сохранен";
/// Follows the writer's message, which names the file and the reason.
inline constexpr QStringView kTryAgain =
    u"Введенные данные не потеряны: выберите другую папку или другое имя файла и "
    u"попробуйте еще раз.";
inline constexpr QStringView kNotPreparedTitle = u"Книга не подготовлена";
/// %1: what went wrong.
inline constexpr QStringView kNotPrepared =
    u"Не удалось подготовить книгу для сохранения: %1. Введенные данные не потеряны, "
    u"попробуйте еще раз.";
inline constexpr QStringView kSavedTitle = u"Файл сохранен";
/// %1: the full path of the saved file.
inline constexpr QStringView kSavedNotOpened =
    u"Книга сохранена в файле «%1».\n\nОткрыть ее в программе для работы с электронными "
    u"таблицами не удалось: откройте этот файл в ней самостоятельно.";

// The loading window.
inline constexpr QStringView kForm3Caption = u"Загрузка статистической формы/сохраненного отчета";
inline constexpr QStringView kLabel1 =
    u"Укажите размещение формы формирования задания (файла сохранения) для рассматриваемого "
    u"ДОУ на Вашем компьютере";
inline constexpr QStringView kLabel2 = u"Полный путь:";
inline constexpr QStringView kLabel3 =
    u"Указанный Вами файл не является требуемой формой статистической отчетности либо "
    u"сохраненным по результатам работы с программой отчетом";
inline constexpr QStringView kCommand1 = u"Начать работу";
/// The file list shows workbooks of either format.
inline constexpr QStringView kFilePattern = u"*.xls*";

}  // namespace normativ::workbooktext
