#include "payrollestimate.h"

#include "methodology.h"

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

/// Units of the administrative positions for a group count. A count that is not a
/// whole number of at least 1 has no line: no administrative staff.
std::array<double, 8> administrativeUnits(const Methodology& m, double groups) {
    if (!(groups >= 1) || groups != std::floor(groups)) return {};
    const AdministrativeLine* found = &m.administrativeStaff.front();
    for (const auto& line : m.administrativeStaff) {
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
    const Methodology& m = *store.methodology;
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
        const PayrollPosition& p = m.positions[row - 1];
        return ownPayroll ? double(p.salaryCoefficient) * minSalary : double(p.defaultSalary);
    };

    const double weekRegime =
        rec[Flag::FiveDayWeek].toDouble(loc) == 1.0 ? 1.0 : double(m.estimateSixDayWeekFactor);
    const double yearRound = months > m.longYearMonths ? double(m.yearRoundFactor) : 1.0;
    const double base = payrollFund - compensation - incentive;
    const double accrual = 1 + (incentive / base + compensation / base);

    // Staff units per pupil; rows without a weight set have none.
    std::array<double, 25> rate{};
    double supportRate = 0.0;
    for (const StaffWeights& w : m.staffWeights) {
        const double load = loadFactor(store.distribution, pupils, w, out.groupWeights);
        if (w.row == 14) {
            supportRate = toCurrencyValue(double(w.scale) * (load * (sixDayWeek * longYear)));
            rate[13] = supportRate;
        } else {
            rate[w.row - 1] = double(w.scale) * (load * (yearRound * weekRegime));
        }
    }
    const auto units = administrativeUnits(m, answer(Answer::GroupCount));
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
        const double cost = yearIndex * 12 * r *
                            (m.salaryAddend + kind * village * accrual * double(m.salaryShare) * s);
        writeStaffRow(row, r,
                      row >= 2 && r == 0.0 ? QStringLiteral("0")
                                           : shown(kind * village * accrual * s, 0, loc),
                      cost);
    }
    writeSubtotal(13, 1, 12);
    cell(13, 3) = shown(
        shownAt(13, 4) / (double(m.salaryShare) * yearIndex * 12 * shownAt(13, 1)) - m.salaryAddend,
        0, loc);

    // Educational support staff.
    {
        const double s = salary(14);
        writeStaffRow(14, supportRate, shown(accrual * s, 0, loc),
                      yearIndex * 12 * supportRate * accrual * double(m.salaryShare) * s);
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
            const double norm = double(m.serviceItemBase[0]) *
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
