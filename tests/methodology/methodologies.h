#pragma once

// Methodologies the tests write, read and fingerprint.

#include "methodology.h"

namespace testmethodologies {

using normativ::Methodology;

/// The example with a planning year 2013 (index 1.4, single-precision), the sixth
/// orientation weight of E1 at 8.5, the heat share at 0.45 and one administrative unit
/// changed.
inline Methodology modifiedExample() {
    Methodology m = *Methodology::example();
    m.planningYears.push_back({2013, double(1.4f), true});
    m.educationLoad.orientation[5] = 8.5f;
    m.heatShare = 0.45;
    m.administrativeStaff[3].units[6] = 1.75;
    return m;
}

/// Every value different from every other (and from the example's), each within its
/// range: a value read from the wrong cell or not read at all can't go unnoticed.
/// E1 loses its stay weights and E2 gains some.
inline Methodology distinctValues() {
    Methodology m = *Methodology::example();
    int k = 0;
    auto single = [&k](float& v) { v = 0.5f + 0.001f * static_cast<float>(++k); };
    auto exact = [&k](double& v) { v = (500 + ++k) / 1000.0; };
    m.name = QStringLiteral("Методика с различными значениями");
    m.note = QStringLiteral("Строка 1\nстрока 2: «кавычки» & <знаки>");
    m.planningYears = {{2051, 1.111, false},
                       {2050, double(1.2345678f), true},
                       {2100, 4.99, false},
                       {2000, 0.5, false}};
    single(m.payrollDefaults.minTeacherSalary);
    single(m.payrollDefaults.teacherPayrollFund);
    single(m.payrollDefaults.teacherCompensationFund);
    single(m.payrollDefaults.teacherIncentiveFund);
    for (float* v : {&m.salaryFactor, &m.monthlyShare, &m.supportShare, &m.villageCoefficient,
                     &m.villageSupportCoefficient, &m.kindCoefficient, &m.sixDayWeekCoefficient,
                     &m.payrollShareA, &m.payrollShareB, &m.manyGroupsCoefficient, &m.taxTermFactor,
                     &m.salaryShare, &m.estimateSixDayWeekFactor, &m.yearRoundFactor}) {
        single(*v);
    }
    for (double* v :
         {&m.salaryAddend, &m.longYearCoefficient, &m.longYearMonths, &m.staffSixDayWeekCoefficient,
          &m.heatShare, &m.electricityShare, &m.electricityTaxShare, &m.repairAreaShare}) {
        exact(*v);
    }
    m.educationLoad.stay.reset();
    m.educationSupportLoad.stay = std::array<float, 9>{};
    for (normativ::WeightSet* set : {&m.educationLoad, &m.educationSupportLoad, &m.maintenanceLoadA,
                                     &m.maintenanceLoadB, &m.serviceItemLoad}) {
        for (float& v : set->age) single(v);
        if (set->stay) {
            for (float& v : *set->stay) single(v);
        }
        for (float& v : set->orientation) single(v);
    }
    for (float& v : m.groupCountCoefficients) single(v);
    for (float& v : m.serviceItemBase) single(v);
    for (std::size_t i = 0; i < m.positions.size(); ++i) {
        if (i == 12 || i == 22) continue;  // the totals
        m.positions[i].defaultSalary = 1000 + ++k;
        single(m.positions[i].salaryCoefficient);
    }
    const int rows[] = {4, 5, 14, 11, 1, 9};
    for (std::size_t i = 0; i < m.staffWeights.size(); ++i) {
        normativ::StaffWeights& w = m.staffWeights[i];
        w.row = rows[i];
        single(w.scale);
        for (float& v : w.age) single(v);
        for (float& v : w.stay) single(v);
        for (float& v : w.orientation) single(v);
        w.currencyOrientation = i % 2 == 1;
    }
    for (std::size_t i = 0; i < m.administrativeStaff.size(); ++i) {
        m.administrativeStaff[i].fromGroups = 1 + 3 * static_cast<int>(i);
        for (double& v : m.administrativeStaff[i].units) exact(v);
    }
    return m;
}

}  // namespace testmethodologies
