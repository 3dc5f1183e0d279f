#pragma once

#include "distributioncheck.h"

#include <QStringView>

// Every text the distribution record editor shows. The list items of the three choice
// boxes are the item texts of the distribution table itself.
namespace normativ::form10text {

inline constexpr QStringView kCaption = u"Количество воспитанников в соответствующих группах";

inline constexpr QStringView kLabel1 = u"Укажите возраст воспитанников";
inline constexpr QStringView kLabel2 = u"Укажите режим работы групп";
inline constexpr QStringView kLabel3 = u"Укажите направленность групп";
inline constexpr QStringView kLabel4 =
    u"Укажите общее количество воспитанников, обучающихся в группах";

inline constexpr QStringView kBack = u"Назад";
inline constexpr QStringView kBackToParameters = u"Вернуться к параметрам ДОУ";
inline constexpr QStringView kDelete = u"Удалить запись";
inline constexpr QStringView kCreate = u"Создать запись";
inline constexpr QStringView kNext = u"Далее";
inline constexpr QStringView kFinish = u"Закончить распределение по группам";
/// What the finish button reads before the window is first shown.
inline constexpr QStringView kFinishAtDesign = u"Закончить распределение воспитанников по группам";

// The finish check's messages are the core's, so that every finish check says the same.
inline const QString& kIncomplete = kIncompleteRecordMessage;
inline const QString& kTotalAbovePupilCount = kTotalAbovePupilCountMessage;
inline const QString& kTotalBelowPupilCount = kTotalBelowPupilCountMessage;
inline const QString& kPupilCountNotEntered = kPupilCountNotEnteredMessage;
inline constexpr QStringView kLimitReached =
    u"Достигнуто предельное количество записей, обратитесь к разработчику";

}  // namespace normativ::form10text
