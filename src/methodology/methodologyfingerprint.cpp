#include "methodologyfingerprint.h"

#include "methodologytexts.h"

#include "methodologynumbers.h"

#include <QCryptographicHash>

#include <string>

namespace normativ {

namespace {

using methodologynumbers::shortestText;

class CanonicalText {
  public:
    void line(const std::string& key, const std::string& value) {
        text_ += key;
        text_ += '=';
        text_ += value;
        text_ += '\n';
    }
    void value(const std::string& key, float v) { line(key, shortestText(v)); }
    void value(const std::string& key, double v) { line(key, shortestText(v)); }
    void value(const std::string& key, int v) { line(key, std::to_string(v)); }
    void value(const std::string& key, bool v) { line(key, v ? "1" : "0"); }
    template <typename T, std::size_t N>
    void values(const std::string& key, const std::array<T, N>& array) {
        for (std::size_t i = 0; i < N; ++i) value(at(key, i), array[i]);
    }
    void weights(const std::string& key, const WeightSet& set) {
        values(key + ".age", set.age);
        if (set.stay) {
            values(key + ".stay", *set.stay);
        } else {
            line(key + ".stay", "none");
        }
        values(key + ".orientation", set.orientation);
    }
    static std::string at(const std::string& key, std::size_t index) {
        return key + '[' + std::to_string(index + 1) + ']';
    }
    const std::string& text() const { return text_; }

  private:
    std::string text_;
};

}  // namespace

QString canonicalMethodologyText(const Methodology& m) {
    CanonicalText t;
    t.line("format", "normativ-methodology-1");
    t.value("planningYears.count", static_cast<int>(m.planningYears.size()));
    for (std::size_t i = 0; i < m.planningYears.size(); ++i) {
        const std::string key = CanonicalText::at("planningYears", i);
        t.value(key + ".year", m.planningYears[i].year);
        t.value(key + ".index", m.planningYears[i].index);
        t.value(key + ".singlePrecision", m.planningYears[i].singlePrecision);
    }
    t.value("payrollDefaults.minTeacherSalary", m.payrollDefaults.minTeacherSalary);
    t.value("payrollDefaults.teacherPayrollFund", m.payrollDefaults.teacherPayrollFund);
    t.value("payrollDefaults.teacherCompensationFund", m.payrollDefaults.teacherCompensationFund);
    t.value("payrollDefaults.teacherIncentiveFund", m.payrollDefaults.teacherIncentiveFund);

    t.value("education.salaryFactor", m.salaryFactor);
    t.value("education.salaryAddend", m.salaryAddend);
    t.value("education.monthlyShare", m.monthlyShare);
    t.value("education.supportShare", m.supportShare);
    t.value("education.villageCoefficient", m.villageCoefficient);
    t.value("education.villageSupportCoefficient", m.villageSupportCoefficient);
    t.value("education.kindCoefficient", m.kindCoefficient);
    t.value("education.longYearCoefficient", m.longYearCoefficient);
    t.value("education.longYearMonths", m.longYearMonths);
    t.value("education.sixDayWeekCoefficient", m.sixDayWeekCoefficient);
    t.weights("weights.E1", m.educationLoad);
    t.weights("weights.E2", m.educationSupportLoad);

    t.value("maintenance.payrollShareA", m.payrollShareA);
    t.value("maintenance.payrollShareB", m.payrollShareB);
    t.value("maintenance.staffSixDayWeekCoefficient", m.staffSixDayWeekCoefficient);
    t.weights("weights.M1", m.maintenanceLoadA);
    t.weights("weights.M2", m.maintenanceLoadB);
    t.weights("weights.M3", m.serviceItemLoad);
    t.values("groupCountCoefficients", m.groupCountCoefficients);
    t.value("groupCountCoefficients.moreThan30", m.manyGroupsCoefficient);
    t.values("serviceItemBase", m.serviceItemBase);
    t.value("maintenance.heatShare", m.heatShare);
    t.value("maintenance.electricityShare", m.electricityShare);
    t.value("maintenance.electricityTaxShare", m.electricityTaxShare);
    t.value("maintenance.repairAreaShare", m.repairAreaShare);
    t.value("maintenance.taxTermFactor", m.taxTermFactor);

    t.value("payrollEstimate.salaryShare", m.salaryShare);
    t.value("payrollEstimate.sixDayWeekFactor", m.estimateSixDayWeekFactor);
    t.value("payrollEstimate.yearRoundFactor", m.yearRoundFactor);
    for (std::size_t i = 0; i < m.positions.size(); ++i) {
        const std::string key = CanonicalText::at("positions", i);
        t.value(key + ".defaultSalary", m.positions[i].defaultSalary);
        t.value(key + ".salaryCoefficient", m.positions[i].salaryCoefficient);
    }
    for (std::size_t i = 0; i < m.staffWeights.size(); ++i) {
        const StaffWeights& w = m.staffWeights[i];
        const std::string key = CanonicalText::at("staffWeights", i);
        t.value(key + ".row", w.row);
        t.value(key + ".scale", w.scale);
        t.values(key + ".age", w.age);
        t.values(key + ".stay", w.stay);
        t.values(key + ".orientation", w.orientation);
        t.value(key + ".currencyOrientation", w.currencyOrientation);
    }
    for (std::size_t i = 0; i < m.administrativeStaff.size(); ++i) {
        const std::string key = CanonicalText::at("administrativeStaff", i);
        t.value(key + ".fromGroups", m.administrativeStaff[i].fromGroups);
        t.values(key + ".units", m.administrativeStaff[i].units);
    }
    return QString::fromStdString(t.text());
}

QString methodologyFingerprint(const Methodology& m) {
    const QByteArray hash =
        QCryptographicHash::hash(canonicalMethodologyText(m).toUtf8(), QCryptographicHash::Sha256);
    return QString::fromLatin1(hash.toHex().left(12));
}

QString methodologyLine(const Methodology& m) {
    return methodologyTexts().inUse.arg(m.name, methodologyFingerprint(m));
}

}  // namespace normativ
