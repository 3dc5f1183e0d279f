#include "methodology.h"

#include <cmath>

namespace normativ {

namespace {

Methodology makeExample() {
    const std::array<float, 9> staySetA{0.25f,      0.33333334f, 0.41666666f, 0.5f,      0.6666667f,
                                        0.8333333f, 1.0f,        1.1666666f,  1.1666666f};
    const std::array<float, 6> orientationSetB{1.0f, 1.3333334f, 2.0f, 2.5f, 3.3333333f, 4.0f};
    // clang-format off
    return Methodology{
        .name = QStringLiteral("пример (встроенная)"),
        .note = QStringLiteral("Пример методики расчета нормативов. Для расчета по методике "
                               "муниципального образования сохраните образец, измените его и "
                               "загрузите."),
        .planningYears = {{2010, 1.262, false}, {2011, double(1.342f), true},
                          {2012, double(1.342f), true}},
        .payrollDefaults = {8700.0f, 8700.0f, 2900.0f, 0.0f},

        .salaryFactor = 1.1472942f,
        .salaryAddend = 100,
        .monthlyShare = 0.12149407f,
        .supportShare = 0.14f,
        .villageCoefficient = 1.25f,
        .villageSupportCoefficient = 0.8428571f,
        .kindCoefficient = 1.1f,
        .longYearCoefficient = 1.09,
        .longYearMonths = 11,
        .sixDayWeekCoefficient = 1.2f,
        .educationLoad = {
            {1.7009844f, 1.3351507f, 1.0f},
            std::array<float, 9>{0.24256563f, 0.32342082f, 0.40427604f, 0.48513126f, 0.64684165f,
                                 0.83828956f, 1.0f, 1.1617104f, 1.1617104f},
            {1.0f, 1.3333334f, 3.5771124f, 4.4713902f, 5.961854f, 7.154225f}},
        .educationSupportLoad = {
            {0.5838196f, 0.7439209f, 1.0f},
            std::nullopt,
            {1.0f, 0.92142856f, 0.47786623f, 0.42515013f, 0.37243402f, 0.34607598f}},

        .payrollShareA = 0.064320385f,
        .payrollShareB = 0.084583335f,
        .staffSixDayWeekCoefficient = 1.2,
        .maintenanceLoadA = {
            {2.0f, 1.3333334f, 1.0f},
            std::array<float, 9>{0.24f, 0.32f, 0.4f, 0.48f, 0.64f, 0.84f, 1.0f, 1.16f, 2.04f},
            {1.0f, 1.5201677f, 2.0522263f, 2.8503144f, 3.4203773f, 4.560503f}},
        .maintenanceLoadB = {
            {2.0f, 1.3333334f, 1.0f},
            std::nullopt,
            {1.0f, 1.3333334f, 2.0f, 2.5f, 3.3333333f, 4.0f}},
        .serviceItemLoad = {
            {1.0f, 1.0f, 1.0f},
            std::array<float, 9>{0.234008f, 0.234008f, 0.234008f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f,
                                 1.3217875f},
            {1.0f, 1.490201f, 1.490201f, 1.490201f, 1.490201f, 1.490201f}},
        .groupCountCoefficients = {
            3.0f,        1.5f,        1.0f,        1.0012316f,  1.0581281f,  0.9408867f,
            0.80647433f, 0.7869458f,  0.6995074f,  0.68719214f, 0.6247201f,  0.5825123f,
            0.5377037f,  0.49929628f, 0.46600986f, 0.48860836f, 0.4598667f,  0.43431854f,
            0.41145968f, 0.45591134f, 0.43420127f, 0.44066277f, 0.42150354f, 0.4039409f,
            0.38778326f, 0.3728685f,  0.35905856f, 0.39690357f, 0.38321725f, 0.37044334f},
        .manyGroupsCoefficient = 0.35849357f,
        .serviceItemBase = {10888.009f, 7397.7026f, 251.46869f, 16191.369f, 22.206137f, 2400.715f,
                            936.28345f, 3564.1536f},
        .heatShare = 0.5,
        .electricityShare = 0.9,
        .electricityTaxShare = 0.1,
        .repairAreaShare = 0.33,
        .taxTermFactor = 1.0f,

        .salaryShare = 0.9355693f,
        .estimateSixDayWeekFactor = 1.2f,
        .yearRoundFactor = 1.0909091f,
        .positions = {{
            {10092, 1.074074f},   // 1 Воспитатели
            {9396, 1.0f},         // 2 Музыкальные руководители
            {9396, 1.0f},         // 3 Инструктора по физической культуре
            {9744, 1.037037f},    // 4 Инструктора методисты
            {9744, 1.037037f},    // 5 Концертмейстеры
            {9744, 1.037037f},    // 6 Педагоги дополнительного образования
            {9744, 1.037037f},    // 7 Педагоги-организаторы
            {9744, 1.037037f},    // 8 Социальные педагоги
            {10092, 1.074074f},   // 9 Методисты
            {10092, 1.074074f},   // 10 Педагоги-психологи
            {10875, 1.1574074f},  // 11 Руководители физ. воспитания
            {10875, 1.1574074f},  // 12 Учителя-дефектологи, учителя-логопеды
            {0, 0.0f},            // 13 total
            {7985, 0.9178353f},   // 14 Учебно-вспомогательный персонал
            {29944, 3.4418824f},  // 15 Заведующий ДОУ
            {23956, 2.753506f},   // 16 Зам. заведующего по воспитательной работе
            {20961, 2.4093177f},  // 17 Зам. заведующего по хозяйственной работе
            {9981, 1.1472942f},   // 18 Заведующий хозяйством
            {23956, 2.753506f},   // 19 Главный бухгалтер
            {14972, 1.7209412f},  // 20 Бухгалтер
            {7985, 0.9178353f},   // 21 Делопроизводитель
            {7985, 0.9178353f},   // 22 Кассир
            {0, 0.0f},            // 23 total
            {7985, 0.9178353f},   // 24 Обслуживающий персонал
        }},
        .staffWeights = {{
            {1, 0.09548611f, {2.0f, 1.3333334f, 1.0f},
             {0.24f, 0.32f, 0.4f, 0.48f, 0.64f, 0.84f, 1.0f, 1.16f, 1.16f},
             {1.0f, 1.3333334f, 2.88f, 3.6f, 4.8f, 5.76f}, true},
            {2, 0.01375f, {0.0f, 1.3333334f, 1.0f}, staySetA, orientationSetB, false},
            {3, 0.006875f, {0.0f, 0.0f, 1.0f}, staySetA, orientationSetB, false},
            {10, 0.01375f, {2.0f, 1.3333334f, 1.0f}, staySetA, orientationSetB, false},
            {12, 0.055f, {2.0f, 1.3333334f, 1.0f},
             {0.25f, 0.33333334f, 0.5f, 0.5f, 0.6666667f, 0.8333333f, 1.0f, 1.1666666f, 1.1666666f},
             {0.0f, 0.0f, 2.0f, 2.5f, 3.3333333f, 4.0f}, false},
            {14, 0.0859375f, {2.0f, 1.3333334f, 1.0f},
             {0.24f, 0.32f, 0.4f, 0.48f, 0.64f, 0.84f, 1.0f, 1.16f, 2.04f},
             {1.0f, 1.5201677f, 2.0522263f, 2.8503144f, 3.4203773f, 4.560503f}, false},
        }},
        .administrativeStaff = {{
            {1, {1, 0, 0, 0.5, 0.25, 0.25, 0.5, 0.25}},
            {4, {1, 0.5, 0, 1, 0.25, 0.25, 0.5, 0.25}},
            {5, {1, 1, 0, 1, 0.5, 0.5, 0.5, 0.25}},
            {6, {1, 1, 0, 1, 0.5, 0.5, 1, 0.5}},
            {8, {1, 1, 1, 0, 0.5, 0.5, 1, 0.5}},
            {10, {1, 1, 1, 0, 0.75, 0.75, 1, 0.5}},
            {12, {1, 1, 1, 0, 0.75, 0.75, 1, 0.75}},
            {16, {1, 1.5, 1, 0, 0.75, 0.75, 1, 1}},
            {20, {1, 2, 1, 1, 0.75, 0.75, 1, 1}},
            {22, {1, 2, 1, 1, 1, 1, 1, 1}},
            {28, {1, 3, 1, 1, 1, 1, 1, 1}},
        }},
    };
    // clang-format on
}

}  // namespace

std::shared_ptr<const Methodology> Methodology::example() {
    static const auto example = std::make_shared<const Methodology>(makeExample());
    return example;
}

const PlanningYear& Methodology::planningYearFor(double year) const {
    for (const PlanningYear& y : planningYears) {
        if (y.year == year) return y;
    }
    return planningYears.back();
}

std::optional<float> Methodology::groupCountCoefficient(double groupCount) const {
    if (!std::isfinite(groupCount) || groupCount != std::floor(groupCount)) return std::nullopt;
    if (groupCount > kGroupCountLines) return manyGroupsCoefficient;
    if (groupCount < 1) return std::nullopt;
    return groupCountCoefficients[static_cast<std::size_t>(groupCount) - 1];
}

}  // namespace normativ
