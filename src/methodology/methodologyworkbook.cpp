#include "methodologyworkbook.h"

#include "answers.h"
#include "celladdress.h"
#include "distributiontable.h"
#include "estimatetexts.h"
#include "loadedworkbook.h"
#include "methodologynumbers.h"
#include "methodologytexts.h"
#include "openworkbook.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <variant>

namespace normativ {

namespace {

const MethodologyTexts& tx() {
    return methodologyTexts();
}

constexpr double kFontSize = 12;
const QString& fontName() {
    static const QString name = QStringLiteral("Times New Roman");
    return name;
}
// Up to 15 decimals, as many as a spreadsheet shows of a number; at least one, so that a
// whole number doesn't end in a bare point.
const QString& exactFormat() {
    static const QString format = QStringLiteral("0.0##############");
    return format;
}
const QString& wholeFormat() {
    static const QString format = QStringLiteral("0");
    return format;
}

/// Columns A to I: the widest table, the administrative staff, has nine.
constexpr int kColumns = 9;
/// Widths in characters; 0 leaves a column as it is.
using Widths = std::array<double, kColumns>;

constexpr double kMaxValue = 1e9;
constexpr int kFirstYear = 2000;
constexpr int kLastYear = 2100;
constexpr qsizetype kMaxNameLength = 200;
constexpr qsizetype kMaxNoteLength = 2000;
/// Blank rows allowed between two tables of the stacked sheet before the next title.
constexpr int kMaxRowsBetweenTables = 100;
/// Rows of the payroll estimate with staff weights; the others take their staff elsewhere.
constexpr std::array kStaffRows{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14};
constexpr int kPositionTotalRows[] = {13, 23};
constexpr int kFirstAdministrativeRow = 15;

enum class Rule {
    Positive,
    NotNegative,
    Share,             ///< above 0, at most 1
    Months,            ///< 0 to 12
    Index,             ///< 0.5 to 5
    Year,              ///< a whole number, kFirstYear to kLastYear
    WholeNotNegative,  ///< salaries, group counts
    StaffRow,          ///< a row of kStaffRows
};

enum class Table {
    Title,
    Years,
    PayrollDefaults,
    Coefficients,
    E1,
    E2,
    M1,
    M2,
    M3,
    GroupCounts,
    Services,
    Positions,
    Staff,
    Administrative,
};
constexpr std::array kTables{Table::Title,
                             Table::Years,
                             Table::PayrollDefaults,
                             Table::Coefficients,
                             Table::E1,
                             Table::E2,
                             Table::M1,
                             Table::M2,
                             Table::M3,
                             Table::GroupCounts,
                             Table::Services,
                             Table::Positions,
                             Table::Staff,
                             Table::Administrative};

int weightSetIndex(Table t) {
    return static_cast<int>(t) - static_cast<int>(Table::E1);
}

/// The weight set of a table E1 to M3 (const or not as the methodology is).
template <typename M>
auto& weightSet(M& m, Table t) {
    const std::array sets{&m.educationLoad, &m.educationSupportLoad, &m.maintenanceLoadA,
                          &m.maintenanceLoadB, &m.serviceItemLoad};
    return *sets[static_cast<std::size_t>(weightSetIndex(t))];
}

QString sheetName(Table t) {
    switch (t) {
        case Table::Title:
            return tx().titleSheet;
        case Table::Years:
            return tx().yearsSheet;
        case Table::PayrollDefaults:
            return tx().payrollDefaultsSheet;
        case Table::Coefficients:
            return tx().coefficientsSheet;
        case Table::GroupCounts:
            return tx().groupCountSheet;
        case Table::Services:
            return tx().servicesSheet;
        case Table::Positions:
            return tx().positionsSheet;
        case Table::Staff:
            return tx().staffSheet;
        case Table::Administrative:
            return tx().administrativeSheet;
        default:
            return tx().weightSheets[weightSetIndex(t)];
    }
}

QString tableTitle(Table t) {
    switch (t) {
        case Table::Title:
            return tx().titleTitle;
        case Table::Years:
            return tx().yearsTitle;
        case Table::PayrollDefaults:
            return tx().payrollDefaultsTitle;
        case Table::Coefficients:
            return tx().coefficientsTitle;
        case Table::GroupCounts:
            return tx().groupCountTitle;
        case Table::Services:
            return tx().servicesTitle;
        case Table::Positions:
            return tx().positionsTitle;
        case Table::Staff:
            return tx().staffTitle;
        case Table::Administrative:
            return tx().administrativeTitle;
        default:
            return tx().weightTitles[weightSetIndex(t)];
    }
}

Widths tableWidths(Table t) {
    switch (t) {
        case Table::Title:
            return {62, 18};
        case Table::Years:
            return {12, 18, 18};
        case Table::PayrollDefaults:
        case Table::Coefficients:
            return {62, 18};
        case Table::GroupCounts:
            return {20, 18};
        case Table::Services:
            return {50, 18};
        case Table::Positions:
            return {50, 16, 18};
        case Table::Staff:
            return {46, 16, 16, 16, 16, 16, 16};
        case Table::Administrative:
            return {13, 15, 15, 15, 15, 15, 15, 15, 15};
        default:
            return {62, 18};
    }
}

// The scalar coefficients, section by section, in the order of their captions.
using ScalarMember = std::variant<float Methodology::*, double Methodology::*>;
struct Coefficient {
    ScalarMember member;
    Rule rule;
};
const std::array<Coefficient, 10> kEducationCoefficients{{
    {&Methodology::salaryFactor, Rule::Positive},
    {&Methodology::salaryAddend, Rule::NotNegative},
    {&Methodology::monthlyShare, Rule::Positive},
    {&Methodology::supportShare, Rule::Positive},
    {&Methodology::villageCoefficient, Rule::Positive},
    {&Methodology::villageSupportCoefficient, Rule::Positive},
    {&Methodology::kindCoefficient, Rule::Positive},
    {&Methodology::longYearCoefficient, Rule::Positive},
    {&Methodology::longYearMonths, Rule::Months},
    {&Methodology::sixDayWeekCoefficient, Rule::Positive},
}};
const std::array<Coefficient, 8> kMaintenanceCoefficients{{
    {&Methodology::payrollShareA, Rule::Positive},
    {&Methodology::payrollShareB, Rule::Positive},
    {&Methodology::staffSixDayWeekCoefficient, Rule::Positive},
    {&Methodology::heatShare, Rule::Share},
    {&Methodology::electricityShare, Rule::Share},
    {&Methodology::electricityTaxShare, Rule::Share},
    {&Methodology::repairAreaShare, Rule::Share},
    {&Methodology::taxTermFactor, Rule::Positive},
}};
const std::array<Coefficient, 3> kPayrollEstimateCoefficients{{
    {&Methodology::salaryShare, Rule::Share},
    {&Methodology::estimateSixDayWeekFactor, Rule::Positive},
    {&Methodology::yearRoundFactor, Rule::Positive},
}};
struct CoefficientSection {
    const Coefficient* first;
    std::size_t count;
    const QStringList& captions;
};
std::array<CoefficientSection, 3> coefficientSections() {
    return {
        {{kEducationCoefficients.data(), kEducationCoefficients.size(), tx().educationCoefficients},
         {kMaintenanceCoefficients.data(), kMaintenanceCoefficients.size(),
          tx().maintenanceCoefficients},
         {kPayrollEstimateCoefficients.data(), kPayrollEstimateCoefficients.size(),
          tx().payrollEstimateCoefficients}}};
}

struct PayrollDefault {
    float PayrollDefaults::*member;
    Answer answer;
};
constexpr std::array<PayrollDefault, 4> kPayrollDefaults{{
    {&PayrollDefaults::minTeacherSalary, Answer::MinTeacherSalary},
    {&PayrollDefaults::teacherPayrollFund, Answer::TeacherPayrollFund},
    {&PayrollDefaults::teacherCompensationFund, Answer::TeacherCompensationFund},
    {&PayrollDefaults::teacherIncentiveFund, Answer::TeacherIncentiveFund},
}};

QString payrollDefaultCaption(Answer a) {
    QString name = answerInfo(a).shortName.toString();
    if (!name.isEmpty()) name[0] = name[0].toUpper();
    return tx().payrollDefaultCaption.arg(name, answerInfo(a).unit.toString());
}

bool isPositionTotal(int row) {
    return std::ranges::find(kPositionTotalRows, row) != std::end(kPositionTotalRows);
}

// ---------------------------------------------------------------------------------------
// Writing

/// Writes one table from a first row on: cells go through put*(), and finish() draws the
/// borders and sizes the rows for the sheet's column widths.
class TableWriter {
  public:
    TableWriter(Sheet& sheet, const Widths& widths, int firstRow)
        : sheet_(sheet), widths_(widths), first_(firstRow), row_(firstRow) {}

    int row() const { return row_; }
    void next() { ++row_; }

    void title(const QString& text) {
        sheet_.setText(row_, 1, text);
        format(row_, 1, [](CellFormat& f) { f.bold = true; });
        next();
    }
    void header(const QStringList& captions) {
        header_ = row_;
        for (int c = 0; c < captions.size(); ++c) {
            sheet_.setText(row_, c + 1, captions[c]);
            format(row_, c + 1, [](CellFormat& f) {
                f.bold = true;
                f.wrap = true;
                f.horizontal = HorizontalAlignment::Center;
            });
        }
        next();
    }
    void section(const QString& caption) {
        putCaption(1, caption);
        format(row_, 1, [](CellFormat& f) { f.bold = true; });
        next();
    }
    void putCaption(int column, const QString& text) {
        sheet_.setText(row_, column, text);
        format(row_, column, [](CellFormat& f) { f.wrap = true; });
    }
    /// A text across columns A and B.
    void putWideText(const QString& text) {
        putCaption(1, text);
        (void)sheet_.mergeCells(RangeRef{row_, 1, row_, 2});
        merged_.insert(row_);
    }
    void putFloat(int column, float value) {
        putNumber(column, methodologynumbers::cellNumberOf(value), exactFormat());
    }
    void putDouble(int column, double value) { putNumber(column, value, exactFormat()); }
    void putWhole(int column, int value) { putNumber(column, value, wholeFormat()); }
    void center(int column) {
        format(row_, column, [](CellFormat& f) { f.horizontal = HorizontalAlignment::Center; });
    }
    void putYesNo(int column, bool value) {
        sheet_.setText(row_, column, value ? tx().yes : tx().no);
        center(column);
    }

    /// Borders from the header to the last row over `columns`; each row as high as its
    /// wrapped texts need.
    void finish(int columns) {
        const int last = row_ - 1;
        if (header_ > 0 && last >= header_) {
            sheet_.setBorders(RangeRef{header_, 1, last, columns}, BorderStyle::Thin,
                              BorderStyle::Thin);
        }
        for (int r = first_ + 1; r <= last; ++r) {
            double height = 0;
            for (int c = 1; c <= kColumns; ++c) {
                const CellValue v = sheet_.value(r, c);
                const QString text = v.isText() ? v.toText() : QStringLiteral("0");
                height = std::max(height, wrappedRowHeight(text, width(r, c), kFontSize));
            }
            sheet_.setRowHeight(r, height);
        }
    }

  private:
    void putNumber(int column, double value, const QString& numberFormat) {
        sheet_.setNumber(row_, column, value);
        format(row_, column, [&numberFormat](CellFormat& f) { f.numberFormat = numberFormat; });
    }
    void format(int row, int column, const FormatChange& change) {
        sheet_.formatRange(RangeRef{row, column, row, column}, change);
    }
    double width(int row, int column) const {
        double w = widths_[static_cast<std::size_t>(column - 1)];
        if (column == 1 && merged_.contains(row)) w += widths_[1];
        return w > 0 ? w : 8.43;  // a spreadsheet's default width
    }

    Sheet& sheet_;
    Widths widths_;
    int first_;
    int row_;
    int header_ = 0;
    std::set<int> merged_;
};

void writeWeights(TableWriter& w, const WeightSet& set) {
    const QStringList& kinds = tx().kindCaptions;
    auto items = [&](Kind kind, const auto& weights) {
        w.section(kinds[static_cast<int>(kind) - 1]);
        const QStringList& texts = kindItemTexts(kind);
        for (std::size_t i = 0; i < weights.size(); ++i) {
            w.putCaption(1, texts[static_cast<qsizetype>(i)]);
            w.putFloat(2, weights[i]);
            w.next();
        }
    };
    items(Kind::AgeClass, set.age);
    if (set.stay) items(Kind::StayMode, *set.stay);
    items(Kind::Orientation, set.orientation);
}

/// Writes a table from w's row on and returns the number of its columns.
int writeTable(Table t, TableWriter& w, const Methodology& m) {
    w.title(tableTitle(t));
    switch (t) {
        case Table::Title:
            w.section(tx().nameCaption);
            w.putWideText(m.name);
            w.next();
            w.section(tx().noteCaption);
            w.putWideText(m.note);
            w.next();
            return 0;  // no borders: a heading, not a table
        case Table::Years:
            w.header(tx().yearsHeader);
            for (const PlanningYear& y : m.planningYears) {
                w.putWhole(1, y.year);
                w.center(1);
                if (y.singlePrecision) {
                    w.putFloat(2, static_cast<float>(y.index));
                } else {
                    w.putDouble(2, y.index);
                }
                w.putYesNo(3, y.singlePrecision);
                w.next();
            }
            return 3;
        case Table::PayrollDefaults:
            w.header(tx().valueHeader);
            for (const PayrollDefault& d : kPayrollDefaults) {
                w.putCaption(1, payrollDefaultCaption(d.answer));
                w.putFloat(2, m.payrollDefaults.*d.member);
                w.next();
            }
            return 2;
        case Table::Coefficients: {
            w.header(tx().valueHeader);
            const auto sections = coefficientSections();
            for (std::size_t s = 0; s < sections.size(); ++s) {
                w.section(tx().coefficientSections[static_cast<qsizetype>(s)]);
                for (std::size_t i = 0; i < sections[s].count; ++i) {
                    w.putCaption(1, sections[s].captions[static_cast<qsizetype>(i)]);
                    std::visit(
                        [&](auto member) {
                            if constexpr (std::is_same_v<decltype(member), float Methodology::*>) {
                                w.putFloat(2, m.*member);
                            } else {
                                w.putDouble(2, m.*member);
                            }
                        },
                        sections[s].first[i].member);
                    w.next();
                }
            }
            return 2;
        }
        case Table::GroupCounts:
            w.header(tx().groupCountHeader);
            for (int g = 1; g <= kGroupCountLines; ++g) {
                w.putWhole(1, g);
                w.center(1);
                w.putFloat(2, m.groupCountCoefficients[static_cast<std::size_t>(g - 1)]);
                w.next();
            }
            w.putCaption(1, tx().moreThan30Groups);
            w.putFloat(2, m.manyGroupsCoefficient);
            w.next();
            return 2;
        case Table::Services:
            w.header(tx().servicesHeader);
            for (int k = 0; k < kServiceItemCount; ++k) {
                w.putCaption(1, tx().serviceItems[k]);
                w.putFloat(2, m.serviceItemBase[static_cast<std::size_t>(k)]);
                w.next();
            }
            return 2;
        case Table::Positions:
            w.header(tx().positionsHeader);
            for (int row = 1; row <= kPayrollPositionRows; ++row) {
                if (isPositionTotal(row)) continue;
                const PayrollPosition& p = m.positions[static_cast<std::size_t>(row - 1)];
                w.putCaption(1, tx().positionCaption.arg(row).arg(
                                    estimateTexts().payrollRowCaptions[row - 1]));
                w.putWhole(2, p.defaultSalary);
                w.putFloat(3, p.salaryCoefficient);
                w.next();
            }
            return 3;
        case Table::Staff: {
            QStringList header{tx().staffParameter};
            for (int i = 1; i <= kStaffWeightSets; ++i) header << tx().staffSet.arg(i);
            w.header(header);
            auto eachSet = [&](auto put) {
                for (int i = 0; i < kStaffWeightSets; ++i) {
                    put(i + 2, m.staffWeights[static_cast<std::size_t>(i)]);
                }
                w.next();
            };
            w.putCaption(1, tx().staffRow);
            eachSet([&](int c, const StaffWeights& s) {
                w.putWhole(c, s.row);
                w.center(c);
            });
            w.putCaption(1, tx().staffPosition);
            eachSet([&](int c, const StaffWeights& s) {
                const QStringList& captions = estimateTexts().payrollRowCaptions;
                if (s.row >= 1 && s.row <= captions.size()) {
                    w.putCaption(c, captions[s.row - 1]);
                }
            });
            w.putCaption(1, tx().staffScale);
            eachSet([&](int c, const StaffWeights& s) { w.putFloat(c, s.scale); });
            auto items = [&](Kind kind, auto weights) {
                w.section(tx().kindCaptions[static_cast<int>(kind) - 1]);
                const QStringList& texts = kindItemTexts(kind);
                for (int i = 0; i < texts.size(); ++i) {
                    w.putCaption(1, texts[i]);
                    eachSet([&](int c, const StaffWeights& s) {
                        w.putFloat(c, (s.*weights)[static_cast<std::size_t>(i)]);
                    });
                }
            };
            items(Kind::AgeClass, &StaffWeights::age);
            items(Kind::StayMode, &StaffWeights::stay);
            items(Kind::Orientation, &StaffWeights::orientation);
            w.putCaption(1, tx().staffCurrencyOrientation);
            eachSet([&](int c, const StaffWeights& s) { w.putYesNo(c, s.currencyOrientation); });
            return 1 + kStaffWeightSets;
        }
        case Table::Administrative: {
            QStringList header{tx().administrativeFromGroups};
            for (int row = kFirstAdministrativeRow; row < kFirstAdministrativeRow + 8; ++row) {
                header << estimateTexts().payrollRowCaptions[row - 1];
            }
            w.header(header);
            for (const AdministrativeLine& line : m.administrativeStaff) {
                w.putWhole(1, line.fromGroups);
                w.center(1);
                for (std::size_t i = 0; i < line.units.size(); ++i) {
                    w.putDouble(static_cast<int>(i) + 2, line.units[i]);
                }
                w.next();
            }
            return 9;
        }
        default:
            w.header(tx().weightsHeader);
            writeWeights(w, weightSet(m, t));
            return 2;
    }
}

/// Times New Roman 12 for the columns of the tables, so that cells typed in later match.
void prepareSheet(Sheet& sheet, const Widths& widths) {
    sheet.formatRange(RangeRef{1, 1, kMaxRows, kColumns}, [](CellFormat& f) {
        f.fontName = fontName();
        f.fontSize = kFontSize;
        f.vertical = VerticalAlignment::Center;
    });
    for (int c = 1; c <= kColumns; ++c) {
        const double w = widths[static_cast<std::size_t>(c - 1)];
        if (w > 0) sheet.setColumnWidth(c, c, w);
    }
}

// ---------------------------------------------------------------------------------------
// Reading

/// The reason a value breaks its rule, or nothing.
std::optional<QString> ruleFault(double v, Rule rule) {
    const bool whole = v == std::floor(v);
    switch (rule) {
        case Rule::Positive:
            if (!(v > 0)) return tx().positive;
            break;
        case Rule::NotNegative:
            if (!(v >= 0)) return tx().notNegative;
            break;
        case Rule::Share:
            if (!(v > 0 && v <= 1)) return tx().share;
            break;
        case Rule::Months:
            if (!(v >= 0 && v <= 12)) return tx().months;
            break;
        case Rule::Index:
            if (!(v >= 0.5 && v <= 5)) return tx().index;
            break;
        case Rule::Year:
            if (!whole || v < kFirstYear || v > kLastYear) {
                return tx().year.arg(kFirstYear).arg(kLastYear);
            }
            break;
        case Rule::WholeNotNegative:
            if (!whole || v < 0) return tx().wholeNotNegative;
            break;
        case Rule::StaffRow:
            if (std::ranges::find(kStaffRows, v) == kStaffRows.end()) return tx().staffRowNumber;
            break;
    }
    if (v > kMaxValue) return tx().tooLarge.arg(QString::number(kMaxValue, 'f', 0));
    return std::nullopt;
}

/// Reads the cells of one sheet, each fault a message naming the sheet and the cell.
class TableReader {
  public:
    TableReader(const LoadedWorkbook& book, int sheet, QString name)
        : book_(book), sheet_(sheet), name_(std::move(name)) {}

    CellValue at(int row, int column) const { return book_.cell(sheet_, row, column); }
    bool isBlank(int row, int column) const {
        const CellValue v = at(row, column);
        return v.isEmpty() || (v.isText() && v.toText().trimmed().isEmpty());
    }
    Status fault(int row, int column, const QString& reason) const {
        return Status::failure(tx().atCell.arg(name_, cellAddress(row, column), reason));
    }

    /// A finite number within its rule, as kept: a single-precision value is converted to
    /// the nearest float first, so the rule holds for what the calculation uses.
    Status number(int row, int column, Rule rule, bool single, double& out) const {
        const CellValue v = at(row, column);
        if (isBlank(row, column)) return fault(row, column, tx().blank);
        if (v.isText()) return fault(row, column, tx().textNotNumber);
        if (v.isBool()) return fault(row, column, tx().boolNotNumber);
        double value = v.toNumber();
        if (!std::isfinite(value)) return fault(row, column, tx().notFinite);
        // Past the cap a float would be infinite; the rule refuses such a value anyway.
        if (single && std::fabs(value) <= kMaxValue) value = double(static_cast<float>(value));
        if (const auto reason = ruleFault(value, rule)) return fault(row, column, *reason);
        out = value;
        return Status::success();
    }
    Status single(int row, int column, Rule rule, float& out) const {
        double value = 0;
        if (Status s = number(row, column, rule, true, value); !s) return s;
        out = static_cast<float>(value);
        return Status::success();
    }
    Status exact(int row, int column, Rule rule, double& out) const {
        return number(row, column, rule, false, out);
    }
    Status whole(int row, int column, Rule rule, int& out) const {
        double value = 0;
        if (Status s = number(row, column, rule, false, value); !s) return s;
        out = static_cast<int>(value);  // the rules of whole numbers keep it within the cap
        return Status::success();
    }
    Status yesNo(int row, int column, bool& out) const {
        const CellValue v = at(row, column);
        if (isBlank(row, column)) return fault(row, column, tx().blank);
        if (v.isBool()) {
            out = v.toBool();
            return Status::success();
        }
        const QString text = v.toText().trimmed();
        if (v.isText() && text.compare(tx().yes, Qt::CaseInsensitive) == 0) {
            out = true;
        } else if (v.isText() && text.compare(tx().no, Qt::CaseInsensitive) == 0) {
            out = false;
        } else {
            return fault(row, column, tx().yesNo.arg(tx().yes, tx().no));
        }
        return Status::success();
    }
    Status text(int row, int column, bool required, qsizetype maxLength, QString& out) const {
        const CellValue v = at(row, column);
        if (isBlank(row, column)) {
            if (required) return fault(row, column, tx().blank);
            out.clear();
            return Status::success();
        }
        if (!v.isText()) return fault(row, column, tx().expectedText);
        if (v.toText().size() > maxLength) {
            return fault(row, column, tx().textTooLong.arg(maxLength));
        }
        out = v.toText();
        return Status::success();
    }

  private:
    const LoadedWorkbook& book_;
    int sheet_;
    QString name_;
};

bool sameCaption(const CellValue& v, const QString& caption) {
    return v.isText() && v.toText().trimmed().compare(caption, Qt::CaseInsensitive) == 0;
}

Status readWeights(const TableReader& r, int& row, WeightSet& set) {
    ++row;  // the age section's caption
    for (float& w : set.age) {
        if (Status s = r.single(row++, 2, Rule::Positive, w); !s) return s;
    }
    // A set has stay weights when the section after the ages is theirs.
    const QString& stayCaption = tx().kindCaptions[1];
    const QString& orientationCaption = tx().kindCaptions[2];
    const CellValue next = r.at(row, 1);
    if (sameCaption(next, stayCaption)) {
        ++row;
        std::array<float, 9> stay{};
        for (float& w : stay) {
            if (Status s = r.single(row++, 2, Rule::Positive, w); !s) return s;
        }
        set.stay = stay;
        if (!sameCaption(r.at(row, 1), orientationCaption)) {
            return r.fault(row, 1, tx().missingTable.arg(orientationCaption));
        }
    } else if (!sameCaption(next, orientationCaption)) {
        return r.fault(row, 1, tx().stayOrOrientation.arg(stayCaption, orientationCaption));
    } else {
        set.stay.reset();
    }
    ++row;
    for (float& w : set.orientation) {
        if (Status s = r.single(row++, 2, Rule::Positive, w); !s) return s;
    }
    return Status::success();
}

/// Reads a table whose title is on `row`; leaves `row` after its last row.
Status readTable(Table t, const TableReader& r, int& row, Methodology& m) {
    ++row;  // the title
    switch (t) {
        case Table::Title:
            ++row;  // each text under its caption
            if (Status s = r.text(row, 1, true, kMaxNameLength, m.name); !s) return s;
            row += 2;
            if (Status s = r.text(row, 1, false, kMaxNoteLength, m.note); !s) return s;
            ++row;
            return Status::success();
        case Table::Years: {
            ++row;
            m.planningYears.clear();
            std::map<int, int> rowOfYear;
            // The years end at the first blank row; at most 101 distinct years fit the range.
            while (!(r.isBlank(row, 1) && r.isBlank(row, 2) && r.isBlank(row, 3))) {
                PlanningYear y{};
                double index = 0;
                if (Status s = r.whole(row, 1, Rule::Year, y.year); !s) return s;
                if (Status s = r.exact(row, 2, Rule::Index, index); !s) return s;
                if (Status s = r.yesNo(row, 3, y.singlePrecision); !s) return s;
                if (const auto seen = rowOfYear.find(y.year); seen != rowOfYear.end()) {
                    return r.fault(
                        row, 1, tx().duplicateYear.arg(y.year).arg(cellAddress(seen->second, 1)));
                }
                rowOfYear[y.year] = row;
                y.index = y.singlePrecision ? double(static_cast<float>(index)) : index;
                m.planningYears.push_back(y);
                ++row;
            }
            if (m.planningYears.empty()) return r.fault(row, 1, tx().noYears);
            return Status::success();
        }
        case Table::PayrollDefaults:
            ++row;
            for (const PayrollDefault& d : kPayrollDefaults) {
                if (Status s = r.single(row++, 2, Rule::NotNegative, m.payrollDefaults.*d.member);
                    !s) {
                    return s;
                }
            }
            return Status::success();
        case Table::Coefficients:
            ++row;
            for (const CoefficientSection& section : coefficientSections()) {
                ++row;
                for (std::size_t i = 0; i < section.count; ++i) {
                    const Coefficient& c = section.first[i];
                    Status s = std::visit(
                        [&](auto member) {
                            if constexpr (std::is_same_v<decltype(member), float Methodology::*>) {
                                return r.single(row, 2, c.rule, m.*member);
                            } else {
                                return r.exact(row, 2, c.rule, m.*member);
                            }
                        },
                        c.member);
                    if (!s) return s;
                    ++row;
                }
            }
            return Status::success();
        case Table::GroupCounts:
            ++row;
            for (float& c : m.groupCountCoefficients) {
                if (Status s = r.single(row++, 2, Rule::Positive, c); !s) return s;
            }
            return r.single(row++, 2, Rule::Positive, m.manyGroupsCoefficient);
        case Table::Services:
            ++row;
            for (float& base : m.serviceItemBase) {
                if (Status s = r.single(row++, 2, Rule::Positive, base); !s) return s;
            }
            return Status::success();
        case Table::Positions:
            ++row;
            for (int position = 1; position <= kPayrollPositionRows; ++position) {
                PayrollPosition& p = m.positions[static_cast<std::size_t>(position - 1)];
                if (isPositionTotal(position)) {
                    p = {0, 0.0f};
                    continue;
                }
                if (Status s = r.whole(row, 2, Rule::WholeNotNegative, p.defaultSalary); !s) {
                    return s;
                }
                if (Status s = r.single(row, 3, Rule::NotNegative, p.salaryCoefficient); !s) {
                    return s;
                }
                ++row;
            }
            return Status::success();
        case Table::Staff: {
            ++row;
            const int first = row;
            std::map<int, int> columnOfRow;
            for (int i = 0; i < kStaffWeightSets; ++i) {
                StaffWeights& w = m.staffWeights[static_cast<std::size_t>(i)];
                const int c = i + 2;
                int at = first;
                if (Status s = r.whole(at, c, Rule::StaffRow, w.row); !s) return s;
                if (const auto seen = columnOfRow.find(w.row); seen != columnOfRow.end()) {
                    return r.fault(
                        at, c,
                        tx().duplicateStaffRow.arg(w.row).arg(cellAddress(at, seen->second)));
                }
                columnOfRow[w.row] = c;
                at += 2;  // the position's caption only shows the row
                if (Status s = r.single(at++, c, Rule::Positive, w.scale); !s) return s;
                auto weights = [&](auto& array) {
                    ++at;  // the section's caption
                    for (float& v : array) {
                        if (Status s = r.single(at++, c, Rule::NotNegative, v); !s) return s;
                    }
                    return Status::success();
                };
                if (Status s = weights(w.age); !s) return s;
                if (Status s = weights(w.stay); !s) return s;
                if (Status s = weights(w.orientation); !s) return s;
                if (Status s = r.yesNo(at++, c, w.currencyOrientation); !s) return s;
                row = at;
            }
            return Status::success();
        }
        case Table::Administrative: {
            ++row;
            int previous = 0;
            for (AdministrativeLine& line : m.administrativeStaff) {
                if (Status s = r.whole(row, 1, Rule::WholeNotNegative, line.fromGroups); !s)
                    return s;
                if (previous == 0 && line.fromGroups != 1) {
                    return r.fault(row, 1, tx().firstFromGroups);
                }
                if (previous != 0 && line.fromGroups <= previous) {
                    return r.fault(row, 1, tx().increasingFromGroups.arg(previous));
                }
                previous = line.fromGroups;
                for (std::size_t i = 0; i < line.units.size(); ++i) {
                    if (Status s =
                            r.exact(row, static_cast<int>(i) + 2, Rule::NotNegative, line.units[i]);
                        !s) {
                        return s;
                    }
                }
                ++row;
            }
            return Status::success();
        }
        default:
            ++row;
            return readWeights(r, row, weightSet(m, t));
    }
}

/// The row of the next table's title on the stacked sheet, after blank rows.
Status locateTable(const TableReader& r, int& row, Table t) {
    for (int skipped = 0; skipped < kMaxRowsBetweenTables && r.isBlank(row, 1); ++skipped) ++row;
    if (!sameCaption(r.at(row, 1), tableTitle(t))) {
        return r.fault(row, 1, tx().missingTable.arg(tableTitle(t)));
    }
    return Status::success();
}

int sheetNumber(const LoadedWorkbook& book, const QString& name) {
    for (int i = 1; i <= book.sheetCount(); ++i) {
        if (book.sheetName(i) == name) return i;
    }
    return 0;
}

Widths stackedWidths() {
    Widths widths{};
    for (Table t : kTables) {
        const Widths w = tableWidths(t);
        for (std::size_t c = 0; c < widths.size(); ++c) widths[c] = std::max(widths[c], w[c]);
    }
    return widths;
}

/// Columns wider than this many characters in all don't fit across portrait A4.
constexpr double kPortraitWidth = 100;

/// A4 across one page, the title and the header on every page of a long table.
void preparePrinting(Sheet& sheet, const Methodology& m, bool titles) {
    PageSetup print;
    print.paper = PageSetup::Paper::A4;
    print.fit = PageSetup::Fit{1, 0};
    print.margins = PageSetup::Margins{0.5, 0.5, 0.6, 0.75};
    if (const auto used = sheet.valueBounds()) {
        print.printArea = RangeRef{1, 1, used->lastRow, used->lastColumn};
        print.landscape = sheet.columnsWidth(1, used->lastColumn) > kPortraitWidth;
        if (titles && used->lastRow > 2) print.repeatedRows = PageSetup::Rows{1, 2};
    }
    print.footer = printFooter({m.name});
    sheet.setPageSetup(print);
}

}  // namespace

Workbook buildMethodologyWorkbook(const Methodology& m) {
    Workbook book;
    for (Table t : kTables) {
        Sheet& sheet = book.addSheet(sheetName(t));
        const Widths widths = tableWidths(t);
        prepareSheet(sheet, widths);
        TableWriter w(sheet, widths, 1);
        w.finish(writeTable(t, w, m));
        // The title and the header stay in view; the staff sets keep their captions too.
        if (t == Table::Staff) {
            sheet.freezePanes(3, 2);
        } else if (t != Table::Title) {
            sheet.freezePanes(3, 1);
        }
        preparePrinting(sheet, m, t != Table::Title);
    }
    return book;
}

void addMethodologySheet(Workbook& book, const Methodology& m) {
    Sheet& sheet = book.addSheet(tx().stackedSheet);
    const Widths widths = stackedWidths();
    prepareSheet(sheet, widths);
    int row = 1;
    for (Table t : kTables) {
        TableWriter w(sheet, widths, row);
        w.finish(writeTable(t, w, m));
        row = w.row() + 1;  // a blank row between two tables
    }
    preparePrinting(sheet, m, false);
}

Result<Methodology> readMethodologyWorkbook(const QByteArray& bytes) {
    using R = Result<Methodology>;
    const Result<LoadedWorkbook> opened = openWorkbook(bytes);
    if (!opened) return R::failure(opened.error());
    const LoadedWorkbook& book = opened.value();

    Methodology m{};
    const int titleSheet = sheetNumber(book, tx().titleSheet);
    const int stackedSheet = sheetNumber(book, tx().stackedSheet);
    if (titleSheet == 0 && stackedSheet == 0) {
        return R::failure(tx().notMethodology.arg(tx().titleSheet, tx().stackedSheet));
    }
    if (titleSheet != 0) {
        for (Table t : kTables) {
            const QString name = sheetName(t);
            const int sheet = sheetNumber(book, name);
            if (sheet == 0) return R::failure(tx().missingSheet.arg(name));
            const TableReader reader(book, sheet, name);
            int row = 1;
            if (Status s = readTable(t, reader, row, m); !s) return R::failure(s.error());
        }
    } else {
        const TableReader reader(book, stackedSheet, tx().stackedSheet);
        int row = 1;
        for (Table t : kTables) {
            if (Status s = locateTable(reader, row, t); !s) return R::failure(s.error());
            if (Status s = readTable(t, reader, row, m); !s) return R::failure(s.error());
        }
    }
    return R::success(std::move(m));
}

Result<Methodology> readMethodologyFile(const QString& path) {
    using R = Result<Methodology>;
    const QFileInfo info(path);
    if (info.isDir()) return R::failure(tx().folder);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return R::failure(tx().cannotOpen.arg(file.errorString()));
    }
    if (file.size() > readlimits::kMaxFileSize) return R::failure(tx().fileTooLarge);
    // The size may grow while reading: read one byte past the cap and let the reader refuse.
    const QByteArray bytes = file.read(readlimits::kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        return R::failure(tx().cannotRead.arg(file.errorString()));
    }
    return readMethodologyWorkbook(bytes);
}

}  // namespace normativ
