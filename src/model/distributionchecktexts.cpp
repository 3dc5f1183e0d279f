#include "distributionchecktexts.h"

namespace normativ {

const DistributionCheckTexts& distributionCheckTexts() {
    static const DistributionCheckTexts texts{
        .incompleteRecord = QStringLiteral("Проверьте правильность и полноту ввода данных"),
        .totalAbovePupilCount = QStringLiteral(
            "Общее количество воспитанников, указанное ранее, меньше суммарного количества "
            "воспитанников по группам"),
        .totalBelowPupilCount = QStringLiteral(
            "Общее количество воспитанников, указанное ранее, больше суммарного количества "
            "воспитанников по группам"),
        .pupilCountNotEntered = QStringLiteral(
            "Не введено общее количество воспитанников ДОУ, необходимо вернуться на первый шаг"),
    };
    return texts;
}

}  // namespace normativ
