#pragma once

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

inline constexpr QStringView kIncomplete = u"Проверьте правильность и полноту ввода данных";
inline constexpr QStringView kLimitReached =
    u"Достигнуто предельное количество записей, обратитесь к разработчику";
inline constexpr QStringView kTotalAbovePupilCount =
    u"Общее количество воспитанников, указанное ранее, меньше суммарного количества "
    u"воспитанников по группам";
inline constexpr QStringView kTotalBelowPupilCount =
    u"Общее количество воспитанников, указанное ранее, больше суммарного количества "
    u"воспитанников по группам";
inline constexpr QStringView kPupilCountNotEntered =
    u"Не введено общее количество воспитанников ДОУ, необходимо вернуться на первый шаг";

}  // namespace normativ::form10text
