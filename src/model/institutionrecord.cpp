#include "institutionrecord.h"

namespace normativ {

void InstitutionRecord::storeAnswer(Answer a, const QString& typed, const QLocale& locale) {
    (*this)[a] = answerFromText(typed, locale);
}

void InstitutionRecord::setChoice(Flag selected) {
    const int step = flagInfo(selected).step;
    for (const FlagDescriptor& info : flagsOfStep(step)) {
        (*this)[info.flag] = FieldValue::integer(info.flag == selected ? 1 : 0);
    }
}

void InstitutionRecord::writePayrollDefaults(const PayrollDefaults& defaults) {
    (*this)[Answer::MinTeacherSalary] = FieldValue::single(defaults.minTeacherSalary);
    (*this)[Answer::TeacherPayrollFund] = FieldValue::single(defaults.teacherPayrollFund);
    (*this)[Answer::TeacherCompensationFund] = FieldValue::single(defaults.teacherCompensationFund);
    (*this)[Answer::TeacherIncentiveFund] = FieldValue::single(defaults.teacherIncentiveFund);
}

QString InstitutionRecord::shownText(Answer a, const QLocale& locale) const {
    const FieldValue& v = (*this)[a];
    if (v.isNotEnteredMarker(locale)) return QString();
    return v.displayText(locale);
}

}  // namespace normativ
