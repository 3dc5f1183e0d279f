#include "calctexts.h"

namespace normativ {

const CalcTexts& calcTexts() {
    static const CalcTexts texts{
        .invalidInput = QStringLiteral("неверный ввод"),
        .notEntered = QStringLiteral("не введено"),
        .zero = QStringLiteral("0"),
        .notChosen = QStringLiteral("не выбран"),
        .payrollBaseIsZero = QStringLiteral("равен сумме компенсационных и стимулирующих выплат"),
        .notWholeGroupCount = QStringLiteral("не целое число от 1"),
        .resultOutOfRange = QStringLiteral("результат вне допустимого диапазона"),
        .recordPupils = QStringLiteral("количество воспитанников в записи %1"),
        .educationNorm = QStringLiteral("норматив по обучению"),
        .maintenanceNorm = QStringLiteral("норматив по содержанию"),
        .maintenanceWay = QStringLiteral("способ расчета норматива по содержанию"),
    };
    return texts;
}

}  // namespace normativ
