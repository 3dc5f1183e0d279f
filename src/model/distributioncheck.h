#pragma once

#include "store.h"

#include <QString>
#include <optional>

namespace normativ {

/// The distribution editor's messages when it refuses to move on or to finish.
inline const QString kIncompleteRecordMessage =
    QStringLiteral("Проверьте правильность и полноту ввода данных");
inline const QString kTotalAbovePupilCountMessage = QStringLiteral(
    "Общее количество воспитанников, указанное ранее, меньше суммарного "
    "количества воспитанников по группам");
inline const QString kTotalBelowPupilCountMessage = QStringLiteral(
    "Общее количество воспитанников, указанное ранее, больше суммарного "
    "количества воспитанников по группам");
inline const QString kPupilCountNotEnteredMessage = QStringLiteral(
    "Не введено общее количество воспитанников ДОУ, необходимо вернуться на первый шаг");

/// The finish check of the distribution: the pupils of records 1..count must add up to
/// PupilCount exactly. Nothing when they do; otherwise the editor's message (the total
/// above or below the pupil count, or the pupil count never entered). A total beyond
/// the currency range is added up in double precision: it is still far from any count.
std::optional<QString> distributedTotalProblem(const Store& store);

}  // namespace normativ
