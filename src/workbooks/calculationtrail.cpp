#include "calculationtrail.h"

#include "calctexts.h"
#include "inputcheck.h"
#include "methodologytexts.h"
#include "normativecalculation.h"
#include "numbers.h"
#include "planningyears.h"
#include "savedreporttexts.h"
#include "weightingpass.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <string>

namespace normativ {

namespace {

const SavedReportTexts::Trail& tx() {
    return savedReportTexts().trail;
}

constexpr int kTitleRow = 1;
constexpr int kMethodologyRow = 2;
constexpr int kPrecisionRow = 3;
constexpr int kHeaderRow = 5;
constexpr int kFirstLineRow = 6;
constexpr int kNameColumn = 1;
constexpr int kValueColumn = 2;
constexpr int kHowColumn = 3;
// Together about the width of an A4 page upright, so that a printed trail keeps its columns
// on one page.
constexpr double kNameWidth = 31;
constexpr double kValueWidth = 18;
constexpr double kHowWidth = 36;
constexpr double kFontSize = 12;
const QString kFont = QStringLiteral("Times New Roman");
// Up to 15 decimals, as many as a spreadsheet shows of a number, as the methodology sheet
// writes its values.
const QString kExactFormat = QStringLiteral("0.0##############");

/// Whether a stage has figures to show, and otherwise why not.
struct StageState {
    bool computed = false;
    QString causes;
};

QString joinedCauses(const std::vector<InputProblem>& problems) {
    QStringList texts;
    for (const InputProblem& p : problems) texts << p.text();
    return texts.join(tx().causesSeparator);
}

StageState educationState(const Store& store) {
    if (const auto problems = educationInputProblems(store); !problems.empty()) {
        return {false, joinedCauses(problems)};
    }
    // A stage that computes writes all its figures at once; none written means it refused
    // on its result.
    const KeptCoefficients& kept = store.coefficients;
    if (kept.teacherAnnualCost.isEmpty() || kept.educationSupportLoadFactor.isEmpty() ||
        store.record.educationNorm.isEmpty()) {
        return {false, educationResultProblem().text()};
    }
    return {true, {}};
}

StageState maintenanceState(const Store& store) {
    const double way = store.record.useOwnServicesData.toDouble(store.locale);
    if (way != 0 && way != 1) return {false, maintenanceWayProblem().text()};
    if (const auto problems = maintenanceInputProblems(store); !problems.empty()) {
        return {false, joinedCauses(problems)};
    }
    const KeptCoefficients& kept = store.coefficients;
    const FieldValue& wayFigure = way == 1 ? kept.utilitiesTerm : kept.serviceItemAmount[0];
    if (kept.maintenancePayrollPartA.isEmpty() || kept.parentPayment.isEmpty() ||
        wayFigure.isEmpty() || store.record.maintenanceNorm.isEmpty()) {
        return {false, maintenanceResultProblem().text()};
    }
    return {true, {}};
}

QString capitalised(QString text) {
    if (!text.isEmpty()) text[0] = text[0].toUpper();
    return text;
}

/// A methodology constant with every digit it is given with (the shortest decimal that
/// reads back to it), as the methodology sheet shows it.
template <typename T>
QString constantText(T value, const QLocale& locale) {
    // Room for every digit of the largest double written out in full.
    char buffer[400];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (error != std::errc()) return plainText(static_cast<double>(value), locale);
    return localizeDecimal(std::string(buffer, end), locale);
}

/// The weight a record takes from one kind of a weight set: that of its one chosen item, 0
/// when it has none; nothing when its cells are anything else.
template <std::size_t N>
std::optional<QString> chosenWeight(const DistributionTable& table, int record, Kind kind,
                                    const std::array<float, N>& weights, const QLocale& locale) {
    std::optional<QString> chosen;
    for (std::size_t i = 0; i < N; ++i) {
        const std::int64_t cell = table.cell(record, kind, static_cast<int>(i) + 1).raw();
        if (cell == 0) continue;
        if (cell != Currency::kScale || chosen) return std::nullopt;
        chosen = constantText(weights[i], locale);
    }
    return chosen.value_or(QStringLiteral("0"));
}

class TrailBuilder {
  public:
    explicit TrailBuilder(const Store& store)
        : store_(store), m_(*store.methodology), kept_(store.coefficients), locale_(store.locale) {}

    std::vector<TrailLine> build() {
        const StageState education = educationState(store_);
        const StageState maintenance = maintenanceState(store_);
        educationLines(education);
        maintenanceLines(maintenance, education.computed);
        resultLines(education.computed && maintenance.computed);
        return std::move(lines_);
    }

  private:
    void educationLines(const StageState& state) {
        heading(TrailLine::Kind::Section, tx().educationSection);
        if (!state.computed) return refused(state.causes);
        yearIndexLine(kept_.planningYearIndex.toDouble(locale_));
        payrollLines(kept_.payrollAccrualFactor.toDouble(locale_));
        value(tx().teacherCost.name, kept_.teacherAnnualCost,
              tx().teacherCost.how.arg(constant(m_.salaryFactor), constant(m_.salaryAddend),
                                       constant(m_.monthlyShare)));
        const bool village = flag(Flag::SettlementIsVillage);
        value(tx().village.name, kept_.villageCoefficient,
              village ? tx().village.how : tx().notVillage);
        value(tx().villageSupport.name, kept_.villageSupportCoefficient,
              village ? tx().villageSupport.how : tx().notVillage);
        const QString& kindHow = flag(Flag::KindOther) ? tx().kindOther
                                 : ownPayroll()        ? tx().kindOwnPayroll
                                                       : tx().kind.how;
        value(tx().kind.name, kept_.institutionKindCoefficient, kindHow);
        longYearLine(kept_.longYearCoefficient.toDouble(locale_));
        value(tx().sixDayWeek.name, kept_.sixDayWeekCoefficient,
              flag(Flag::FiveDayWeek) ? tx().fiveDayWeek : tx().sixDayWeek.how);
        recordLines();
        passLines(0, m_.educationLoad, kept_.educationLoadFactor);
        passLines(1, m_.educationSupportLoad, kept_.educationSupportLoadFactor);
        value(savedReportTexts().results[0].label, store_.record.educationNorm,
              tx().educationNorm.arg(constant(m_.supportShare)));
    }

    void maintenanceLines(const StageState& state, bool educationShown) {
        heading(TrailLine::Kind::Section, tx().maintenanceSection);
        if (!state.computed) return refused(state.causes);
        if (!educationShown) {
            // The figures both stages use are otherwise shown with the education stage; the
            // maintenance stage derives them from the answers the same way.
            yearIndexLine(planningYearIndex(m_, year()).toDouble(locale_));
            payrollLines(kept_.payrollAccrualFactor.toDouble(locale_));
            longYearLine(
                longYearCoefficient(m_, answer(Answer::MonthsOfOperation)).toDouble(locale_));
            recordLines();
        }
        const double groups = answer(Answer::GroupCount);
        value(tx().groupCount.name, kept_.groupCountCoefficient,
              groups > kGroupCountLines
                  ? tx().manyGroups.arg(plain(groups), QString::number(kGroupCountLines))
                  : tx().groupCount.how.arg(plain(groups)));
        value(tx().staffWeek.name, kept_.staffWeekCoefficient,
              flag(Flag::FiveDayWeek) ? tx().fiveDayWeek : tx().staffWeek.how);
        passLines(2, m_.maintenanceLoadA, kept_.maintenanceLoadFactorA);
        passLines(3, m_.maintenanceLoadB, kept_.maintenanceLoadFactorB);
        value(tx().payrollPartB.name, kept_.maintenancePayrollPartB,
              tx().payrollPartB.how.arg(constant(m_.payrollShareB), constant(m_.salaryFactor)));
        value(tx().payrollPartA.name, kept_.maintenancePayrollPartA,
              tx().payrollPartA.how.arg(constant(m_.payrollShareA), constant(m_.salaryFactor)));
        const QString& normName = savedReportTexts().results[1].label;
        if (store_.record.useOwnServicesData.toDouble(locale_) == 1) {
            value(tx().staffCostIndex.name, kept_.serviceStaffCostIndex, tx().staffCostIndex.how);
            value(tx().utilities.name, kept_.utilitiesTerm,
                  tx().utilities.how.arg(constant(m_.heatShare), constant(m_.electricityShare),
                                         constant(m_.repairAreaShare)));
            value(tx().indexedCosts.name, kept_.indexedCostsTerm, tx().indexedCosts.how);
            value(tx().parentPayment.name, kept_.parentPayment, tx().parentPayment.how);
            value(tx().taxes.name, kept_.taxesTerm,
                  tx().taxes.how.arg(constant(m_.heatShare), constant(m_.electricityTaxShare)));
            value(normName, store_.record.maintenanceNorm,
                  tx().ownMaintenanceNorm.arg(constant(m_.taxTermFactor)));
        } else {
            // Every item runs the same pass; its figures are shown once.
            passLines(4, m_.serviceItemLoad, kept_.serviceItemLoadFactor[0]);
            for (int k = 0; k < kServiceItemCount; ++k) {
                value(methodologyTexts().serviceItems[k], kept_.serviceItemAmount[k],
                      tx().serviceItem.arg(constant(m_.serviceItemBase[k])));
            }
            value(tx().parentPayment.name, kept_.parentPayment, tx().parentPayment.how);
            value(normName, store_.record.maintenanceNorm, tx().standardMaintenanceNorm);
        }
    }

    void resultLines(bool bothComputed) {
        heading(TrailLine::Kind::Section, tx().resultsSection);
        if (!bothComputed) {
            lines_.push_back({TrailLine::Kind::Refused, tx().resultsRefused.name, std::nullopt,
                              tx().resultsRefused.how});
            return;
        }
        // The same amounts as the results of the first sheet.
        const DerivedAmounts derived = derivedAmounts(store_);
        const auto& results = savedReportTexts().results;
        value(results[2].label, derived.totalNorm, tx().totalNorm);
        value(results[3].label, derived.educationSubsidy, tx().educationSubsidy);
        value(results[4].label, derived.maintenanceSubsidy, tx().maintenanceSubsidy);
        value(results[5].label, derived.totalSubsidy, tx().totalSubsidy);
    }

    void yearIndexLine(double index) {
        const double year = this->year();
        const PlanningYear& used = m_.planningYearFor(year);
        const QString how = used.year == year
                                ? tx().yearIndex.how.arg(plain(year))
                                : tx().yearNotListed.arg(plain(year), QString::number(used.year));
        value(tx().yearIndex.name, index, how);
    }

    /// The funds the accrual factor comes from, the factor, and the salary it multiplies.
    void payrollLines(double accrualFactor) {
        const QString& source = ownPayroll() ? tx().ownPayroll : tx().payrollDefault;
        for (Answer a : {Answer::TeacherPayrollFund, Answer::TeacherCompensationFund,
                         Answer::TeacherIncentiveFund}) {
            value(capitalised(answerShortName(a)), answer(a), source);
        }
        value(tx().accrualFactor.name, accrualFactor, tx().accrualFactor.how);
        value(capitalised(answerShortName(Answer::MinTeacherSalary)),
              answer(Answer::MinTeacherSalary), source);
    }

    void longYearLine(double coefficient) {
        const double months = answer(Answer::MonthsOfOperation);
        const QString& how = months > m_.longYearMonths ? tx().longYear.how : tx().notLongYear;
        value(tx().longYear.name, coefficient, how.arg(plain(months), constant(m_.longYearMonths)));
    }

    /// The pupil count and each record's pupils, which every weighting pass reads.
    void recordLines() {
        heading(TrailLine::Kind::Subsection, tx().recordsSection);
        value(capitalised(answerShortName(Answer::PupilCount)), answer(Answer::PupilCount),
              tx().input);
        const DistributionTable& table = store_.distribution;
        for (int r = 1; r <= table.usedRecords(); ++r) {
            QStringList kinds;
            for (Kind kind : {Kind::AgeClass, Kind::StayMode, Kind::Orientation}) {
                kinds << table.kindText(r, kind).value_or(tx().noKind);
            }
            value(tx().recordPupils.arg(r), table.pupils(r).toDouble(),
                  kinds.join(tx().kindsSeparator));
        }
    }

    /// One weighting pass: each record's group weight and the load factor.
    void passLines(int pass, const WeightSet& set, const FieldValue& loadFactor) {
        heading(TrailLine::Kind::Subsection, methodologyTexts().weightTitles[pass]);
        // The stage keeps only its last pass's weights: the pass runs again for its own.
        GroupWeights weights{};
        if (weightingPass(store_, set, weights)) {
            for (int r = 1; r <= store_.distribution.usedRecords(); ++r) {
                value(tx().groupWeight.arg(r), weights[static_cast<std::size_t>(r - 1)].toDouble(),
                      groupWeightHow(r, set));
            }
        }
        value(tx().loadFactors[pass], loadFactor, tx().loadFactorHow);
    }

    /// The record's weights of the set that make its group weight.
    QString groupWeightHow(int record, const WeightSet& set) const {
        const DistributionTable& table = store_.distribution;
        const QStringList& words = tx().kindWeights;
        const QString age =
            chosenWeight(table, record, Kind::AgeClass, set.age, locale_).value_or(words[0]);
        const QString orientation =
            chosenWeight(table, record, Kind::Orientation, set.orientation, locale_)
                .value_or(words[2]);
        if (!set.stay) return tx().groupWeightNoStay.arg(age, orientation);
        const QString stay =
            chosenWeight(table, record, Kind::StayMode, *set.stay, locale_).value_or(words[1]);
        return tx().groupWeightWithStay.arg(age, stay, orientation);
    }

    void heading(TrailLine::Kind kind, const QString& name) {
        lines_.push_back({kind, name, std::nullopt, QString()});
    }
    void refused(const QString& causes) {
        lines_.push_back({TrailLine::Kind::Refused, tx().refused.name, std::nullopt,
                          tx().refused.how.arg(causes)});
    }
    void value(const QString& name, double v, const QString& how) {
        lines_.push_back({TrailLine::Kind::Value, name, v, how});
    }
    void value(const QString& name, const FieldValue& v, const QString& how) {
        value(name, v.toDouble(locale_), how);
    }

    double answer(Answer a) const { return store_.record[a].toDouble(locale_); }
    bool flag(Flag f) const { return store_.record[f].toDouble(locale_) == 1; }
    bool ownPayroll() const { return store_.record.useOwnPayrollData.toDouble(locale_) == 1; }
    double year() const { return store_.record.planningYear.toDouble(locale_); }
    QString plain(double v) const { return plainText(v, locale_); }
    template <typename T>
    QString constant(T v) const {
        return constantText(v, locale_);
    }

    const Store& store_;
    const Methodology& m_;
    const KeptCoefficients& kept_;
    const QLocale& locale_;
    std::vector<TrailLine> lines_;
};

double rowHeight(const Sheet& sheet, int row, bool merged) {
    if (merged) {
        return wrappedRowHeight(sheet.value(row, kNameColumn).toText(),
                                kNameWidth + kValueWidth + kHowWidth, kFontSize);
    }
    double height = 0;
    for (const auto& [column, width] :
         {std::pair{kNameColumn, kNameWidth}, std::pair{kValueColumn, kValueWidth},
          std::pair{kHowColumn, kHowWidth}}) {
        const CellValue v = sheet.value(row, column);
        if (v.isEmpty()) continue;
        const QString text = v.isText() ? v.toText() : QStringLiteral("0");
        height = std::max(height, wrappedRowHeight(text, width, kFontSize));
    }
    return height;
}

}  // namespace

std::vector<TrailLine> calculationTrail(const Store& store) {
    return TrailBuilder(store).build();
}

void addCalculationTrailSheet(Workbook& book, const Store& store) {
    const SavedReportTexts::Trail& t = tx();
    Sheet& sheet = book.addSheet(t.sheet);
    sheet.formatRange(RangeRef{1, 1, kMaxRows, kMaxColumns}, [](CellFormat& f) {
        f.fontName = kFont;
        f.fontSize = kFontSize;
        f.wrap = true;
        f.vertical = VerticalAlignment::Top;
    });
    sheet.setColumnWidth(kNameColumn, kNameColumn, kNameWidth);
    sheet.setColumnWidth(kValueColumn, kValueColumn, kValueWidth);
    sheet.setColumnWidth(kHowColumn, kHowColumn, kHowWidth);

    const auto bold = [](CellFormat& f) { f.bold = true; };
    std::vector<int> mergedRows;
    const auto wideText = [&](int row, const QString& text) {
        sheet.setText(row, kNameColumn, text);
        (void)sheet.mergeCells(RangeRef{row, kNameColumn, row, kHowColumn});
        mergedRows.push_back(row);
    };
    wideText(kTitleRow, t.title);
    sheet.formatRange(RangeRef{kTitleRow, kNameColumn, kTitleRow, kNameColumn}, bold);
    wideText(kMethodologyRow, t.methodology.arg(store.methodology->name));
    wideText(kPrecisionRow, t.precision);
    for (int c = 0; c < t.header.size(); ++c) {
        sheet.setText(kHeaderRow, kNameColumn + c, t.header[c]);
    }
    sheet.formatRange(RangeRef{kHeaderRow, kNameColumn, kHeaderRow, kHowColumn}, [](CellFormat& f) {
        f.bold = true;
        f.horizontal = HorizontalAlignment::Center;
    });

    int row = kFirstLineRow;
    for (const TrailLine& line : calculationTrail(store)) {
        const RangeRef name{row, kNameColumn, row, kNameColumn};
        switch (line.kind) {
            case TrailLine::Kind::Section:
            case TrailLine::Kind::Subsection:
                wideText(row, line.name);
                sheet.formatRange(name, [&line](CellFormat& f) {
                    f.bold = true;
                    f.italic = line.kind == TrailLine::Kind::Subsection;
                });
                break;
            case TrailLine::Kind::Value:
                sheet.setText(row, kNameColumn, line.name);
                sheet.setNumber(row, kValueColumn, *line.value);
                sheet.formatRange(RangeRef{row, kValueColumn, row, kValueColumn},
                                  [](CellFormat& f) {
                                      f.numberFormat = kExactFormat;
                                      f.horizontal = HorizontalAlignment::Right;
                                  });
                sheet.setText(row, kHowColumn, line.how);
                break;
            case TrailLine::Kind::Refused:
                sheet.setText(row, kNameColumn, line.name);
                sheet.setText(row, kValueColumn, calcTexts().invalidInput);
                sheet.setText(row, kHowColumn, line.how);
                break;
        }
        ++row;
    }
    const int lastRow = row - 1;
    sheet.setBorders(RangeRef{kHeaderRow, kNameColumn, lastRow, kHowColumn}, BorderStyle::Thin,
                     BorderStyle::Thin);
    sheet.freezePanes(kFirstLineRow, 1);
    for (int r = kTitleRow; r <= lastRow; ++r) {
        const bool merged = std::ranges::find(mergedRows, r) != mergedRows.end();
        if (const double height = rowHeight(sheet, r, merged); height > 0) {
            sheet.setRowHeight(r, height);
        }
    }

    // Across one page, the column captions on every page.
    PageSetup print;
    print.paper = PageSetup::Paper::A4;
    print.fit = PageSetup::Fit{1, 0};
    print.margins = PageSetup::Margins{0.6, 0.5, 0.6, 0.75};
    print.printArea = RangeRef{kTitleRow, kNameColumn, lastRow, kHowColumn};
    print.repeatedRows = PageSetup::Rows{kHeaderRow, kHeaderRow};
    sheet.setPageSetup(print);
}

}  // namespace normativ
