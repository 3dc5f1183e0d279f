#include "payrollestimate.h"

#include "weightsets.h"

#include "shownnumbers.h"
#include "store.h"

#include <cmath>
#include <limits>
#include <optional>

namespace normativ {

using estimates::readShown;
using estimates::shown;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

/// Share of the salary that the cost per pupil counts (without the addend 100).
constexpr float kSalaryShare = 0.9355693f;
constexpr float kSixDayWeekFactor = 1.2f;
constexpr float kYearRoundFactor = 1.0909091f;
constexpr float kServiceStaffBase = kServiceItemBase[0];

struct Position {
    int defaultSalary;
    float salaryCoefficient;
};

/// Monthly salary of rows 1 to 24 (rows 13 and 23 are totals and have none).
// clang-format off
constexpr std::array<Position, 24> kPositions{{
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
}};
// clang-format on

/// Staff weights of a position whose staffing follows the groups.
struct StaffWeights {
    int row;
    float scale;  ///< staff units per weighted pupil
    std::array<float, 3> age;
    std::array<float, 9> stay;
    std::array<float, 6> orientation;
    /// The teachers' orientation sum is kept in currency, term by term.
    bool currencyOrientation;
};

constexpr std::array<float, 9> kStaySetA{
    0.25f, 0.33333334f, 0.41666666f, 0.5f, 0.6666667f, 0.8333333f, 1.0f, 1.1666666f, 1.1666666f};
constexpr std::array<float, 6> kOrientationSetB{1.0f, 1.3333334f, 2.0f, 2.5f, 3.3333333f, 4.0f};

// clang-format off
const std::array<StaffWeights, 6> kStaffWeights{{
    {1, 0.09548611f, {2.0f, 1.3333334f, 1.0f},
     {0.24f, 0.32f, 0.4f, 0.48f, 0.64f, 0.84f, 1.0f, 1.16f, 1.16f},
     {1.0f, 1.3333334f, 2.88f, 3.6f, 4.8f, 5.76f}, true},
    {2, 0.01375f, {0.0f, 1.3333334f, 1.0f}, kStaySetA, kOrientationSetB, false},
    {3, 0.006875f, {0.0f, 0.0f, 1.0f}, kStaySetA, kOrientationSetB, false},
    {10, 0.01375f, {2.0f, 1.3333334f, 1.0f}, kStaySetA, kOrientationSetB, false},
    {12, 0.055f, {2.0f, 1.3333334f, 1.0f},
     {0.25f, 0.33333334f, 0.5f, 0.5f, 0.6666667f, 0.8333333f, 1.0f, 1.1666666f, 1.1666666f},
     {0.0f, 0.0f, 2.0f, 2.5f, 3.3333333f, 4.0f}, false},
    {14, 0.0859375f, {2.0f, 1.3333334f, 1.0f},
     {0.24f, 0.32f, 0.4f, 0.48f, 0.64f, 0.84f, 1.0f, 1.16f, 2.04f},
     {1.0f, 1.5201677f, 2.0522263f, 2.8503144f, 3.4203773f, 4.560503f}, false},
}};
// clang-format on

/// Staff units of the eight administrative positions (rows 15 to 22) by group count.
struct AdministrativeLine {
    int fromGroups;  ///< the line applies from this group count up to the next line's
    std::array<double, 8> units;
};

// clang-format off
constexpr std::array<AdministrativeLine, 11> kAdministrativeStaff{{
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
}};
// clang-format on

/// Units of the administrative positions for a group count. A count that is not a
/// whole number of at least 1 has no line: no administrative staff.
std::array<double, 8> administrativeUnits(double groups) {
    if (!(groups >= 1) || groups != std::floor(groups)) return {};
    const AdministrativeLine* found = &kAdministrativeStaff.front();
    for (const auto& line : kAdministrativeStaff) {
        if (groups >= line.fromGroups) found = &line;
    }
    return found->units;
}

double cellValue(const DistributionTable& table, int record, Kind kind, int item) {
    return table.cell(record, kind, item).toDouble();
}

/// The pupil-weighted sum of the group weights of a position over the distribution
/// records: each record weighs (age sum × stay sum) × orientation sum, rounded to
/// currency, and adds (pupils × weight, a currency product) / pupils of the
/// institution. NaN when a currency value overflows.
double loadFactor(const DistributionTable& table, double pupils, const StaffWeights& w,
                  std::array<Currency, kMaxDistributionRecords>& groupWeights) {
    double load = 0.0;
    for (int r = 1; r <= table.usedRecords(); ++r) {
        double age = 0.0;
        for (int i = 1; i <= 3; ++i) {
            age += double(w.age[i - 1]) * cellValue(table, r, Kind::AgeClass, i);
        }
        double stay = 0.0;
        for (int i = 1; i <= 9; ++i) {
            stay += double(w.stay[i - 1]) * cellValue(table, r, Kind::StayMode, i);
        }
        double orientation = 0.0;
        if (w.currencyOrientation) {
            Currency sum;
            for (int i = 1; i <= 6; ++i) {
                const auto term = Currency::fromDouble(double(w.orientation[i - 1]) *
                                                       cellValue(table, r, Kind::Orientation, i));
                const auto next = term ? sum.plus(*term) : std::nullopt;
                if (!next) return kNaN;
                sum = *next;
            }
            orientation = sum.toDouble();
        } else {
            for (int i = 1; i <= 6; ++i) {
                orientation +=
                    double(w.orientation[i - 1]) * cellValue(table, r, Kind::Orientation, i);
            }
        }
        const auto weight = Currency::fromDouble(age * stay * orientation);
        const auto weighted = weight ? weight->times(table.pupils(r)) : std::nullopt;
        if (!weighted) return kNaN;
        groupWeights[r - 1] = *weight;
        load += weighted->toDouble() / pupils;
    }
    return load;
}

/// Rounds to currency (four decimals, halves to even); NaN when it cannot.
double toCurrencyValue(double value) {
    const auto c = Currency::fromDouble(value);
    return c ? c->toDouble() : kNaN;
}

/// The currency sum of shown texts; nothing when a text is too large for currency.
std::optional<Currency> currencySum(std::initializer_list<const QString*> texts,
                                    const QLocale& locale) {
    Currency sum;
    for (const QString* text : texts) {
        const auto value = Currency::fromDouble(readShown(*text, locale));
        const auto next = value ? sum.plus(*value) : std::nullopt;
        if (!next) return std::nullopt;
        sum = *next;
    }
    return sum;
}

}  // namespace

SavedPayrollEstimateText PayrollEstimate::boxTexts() const {
    SavedPayrollEstimateText copy;
    for (int r = 1; r <= kRows; ++r) {
        for (int c = 1; c <= kColumns; ++c) {
            copy.texts[SavedPayrollEstimateText::indexOfBox(
                SavedPayrollEstimateText::boxNumber(r, c))] = at(r, c);
        }
    }
    return copy;
}

PayrollEstimate computePayrollEstimate(const Store& store) {
    const QLocale& loc = store.locale;
    const InstitutionRecord& rec = store.record;
    const KeptCoefficients& kept = store.coefficients;
    auto answer = [&](Answer a) { return rec[a].toDouble(loc); };

    PayrollEstimate out;
    auto cell = [&](int row, int column) -> QString& { return out.rows[row - 1][column - 1]; };
    auto shownAt = [&](int row, int column) { return readShown(cell(row, column), loc); };

    const double pupils = answer(Answer::PupilCount);
    const double minSalary = answer(Answer::MinTeacherSalary);
    const double payrollFund = answer(Answer::TeacherPayrollFund);
    const double compensation = answer(Answer::TeacherCompensationFund);
    const double incentive = answer(Answer::TeacherIncentiveFund);
    const double months = answer(Answer::MonthsOfOperation);

    const double yearIndex = kept.planningYearIndex.toDouble(loc);
    const double village = kept.villageCoefficient.toDouble(loc);
    const double kind = kept.institutionKindCoefficient.toDouble(loc);
    const double longYear = kept.longYearCoefficient.toDouble(loc);
    const double sixDayWeek = kept.sixDayWeekCoefficient.toDouble(loc);

    const bool ownPayroll = !rec.useOwnPayrollData.isZero(loc);
    const bool ownServices = rec.useOwnServicesData.toDouble(loc) == 1.0;
    auto salary = [&](int row) {
        const Position& p = kPositions[row - 1];
        return ownPayroll ? double(p.salaryCoefficient) * minSalary : double(p.defaultSalary);
    };

    const double weekRegime =
        rec[Flag::FiveDayWeek].toDouble(loc) == 1.0 ? 1.0 : double(kSixDayWeekFactor);
    const double yearRound = months > 11 ? double(kYearRoundFactor) : 1.0;
    const double base = payrollFund - compensation - incentive;
    const double accrual = 1 + (incentive / base + compensation / base);

    // Staff units per pupil; rows without a weight set have none.
    std::array<double, 25> rate{};
    double supportRate = 0.0;
    for (const StaffWeights& w : kStaffWeights) {
        const double load = loadFactor(store.distribution, pupils, w, out.groupWeights);
        if (w.row == 14) {
            supportRate = toCurrencyValue(double(w.scale) * (load * (sixDayWeek * longYear)));
            rate[13] = supportRate;
        } else {
            rate[w.row - 1] = double(w.scale) * (load * (yearRound * weekRegime));
        }
    }
    const auto units = administrativeUnits(answer(Answer::GroupCount));
    for (int row = 15; row <= 22; ++row) rate[row - 1] = units[row - 15] / pupils;

    // A staff row: units per pupil and for all pupils, the monthly salary, the yearly cost
    // per pupil and for all pupils.
    const auto writeStaffRow = [&](int row, double r, const QString& salaryText, double cost) {
        cell(row, 1) = shown(r, 3, loc);
        cell(row, 2) = shown(pupils * r, 3, loc);
        cell(row, 3) = salaryText;
        cell(row, 4) = shown(cost, 0, loc);
        cell(row, 5) = shown(pupils * cost, 0, loc);
    };
    // A subtotal of rows first..last: their units and their shown costs summed; the
    // salary column is the caller's.
    const auto writeSubtotal = [&](int row, int first, int last) {
        double rates = 0.0;
        double costs = 0.0;
        for (int r = first; r <= last; ++r) {
            rates += rate[r - 1];
            costs += shownAt(r, 4);
        }
        cell(row, 1) = shown(rates, 3, loc);
        cell(row, 2) = shown(pupils * shownAt(row, 1), 3, loc);
        cell(row, 4) = shown(costs, 0, loc);
        cell(row, 5) = shown(pupils * shownAt(row, 4), 0, loc);
    };

    // Pedagogical staff.
    for (int row = 1; row <= 12; ++row) {
        const double r = rate[row - 1];
        const double s = salary(row);
        const double cost =
            yearIndex * 12 * r * (100 + kind * village * accrual * double(kSalaryShare) * s);
        writeStaffRow(row, r,
                      row >= 2 && r == 0.0 ? QStringLiteral("0")
                                           : shown(kind * village * accrual * s, 0, loc),
                      cost);
    }
    writeSubtotal(13, 1, 12);
    cell(13, 3) = shown(
        shownAt(13, 4) / (double(kSalaryShare) * yearIndex * 12 * shownAt(13, 1)) - 100, 0, loc);

    // Educational support staff.
    {
        const double s = salary(14);
        writeStaffRow(14, supportRate, shown(accrual * s, 0, loc),
                      yearIndex * 12 * supportRate * accrual * double(kSalaryShare) * s);
    }

    // Administrative staff.
    for (int row = 15; row <= 22; ++row) {
        const double r = rate[row - 1];
        const double s = salary(row);
        writeStaffRow(row, r, shown(accrual * s, 0, loc), yearIndex * 12 * r * accrual * s);
    }
    writeSubtotal(23, 15, 22);
    cell(23, 3) = shown(shownAt(23, 4) / (yearIndex * 12 * shownAt(23, 1)), 0, loc);

    // Service staff: from the institution's own payroll fund or from the standard cost.
    {
        const double s = accrual * salary(24);
        const double yearly = yearIndex * 12 * s;
        if (ownServices) {
            const double perPupil =
                kept.serviceStaffCostIndex.toDouble(loc) * answer(Answer::ServiceStaffPayrollFund);
            cell(24, 5) = shown(pupils * perPupil, 0, loc);
            cell(24, 4) = shown(shownAt(24, 5) / pupils, 0, loc);
            cell(24, 3) = shown(s, 0, loc);
            cell(24, 2) = shown(pupils * perPupil / yearly, 3, loc);
            cell(24, 1) = shown(perPupil / yearly, 3, loc);
        } else {
            const double norm = double(kServiceStaffBase) *
                                kept.serviceItemMonthsFactor[0].toDouble(loc) *
                                kept.serviceItemWeekFactor[0].toDouble(loc) *
                                kept.serviceItemSettlementFactor[0].toDouble(loc) *
                                kept.serviceItemKindFactor[0].toDouble(loc) *
                                kept.serviceItemLoadFactor[0].toDouble(loc);
            cell(24, 4) = shown(norm, 0, loc);
            cell(24, 5) = shown(pupils * norm, 0, loc);
            cell(24, 3) = shown(s, 0, loc);
            cell(24, 2) = shown(pupils * norm / yearly, 3, loc);
            cell(24, 1) = shown(norm / yearly, 3, loc);
        }
    }

    // Institution total, in currency over the shown totals.
    {
        const auto unitSum =
            currencySum({&cell(13, 2), &cell(14, 2), &cell(23, 2), &cell(24, 2)}, loc);
        cell(25, 2) = unitSum ? unitSum->toFixedText(2, loc) : shown(0.0, 2, loc);
        cell(25, 1) = shown(shownAt(25, 2) / pupils, 3, loc);
        const auto costSum =
            currencySum({&cell(13, 4), &cell(14, 4), &cell(23, 4), &cell(24, 4)}, loc);
        cell(25, 4) = costSum ? costSum->toText(loc) : shown(0.0, 0, loc);
        cell(25, 5) = shown(pupils * shownAt(25, 4), 0, loc);
        cell(25, 3) = shown(shownAt(25, 4) / (yearIndex * 12 * shownAt(25, 1)), 0, loc);
    }
    return out;
}

}  // namespace normativ
