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

void InstitutionRecord::writePayrollDefaults() {
    (*this)[Answer::MinTeacherSalary] = FieldValue::single(PayrollDefaults::kMinTeacherSalary);
    (*this)[Answer::TeacherPayrollFund] = FieldValue::single(PayrollDefaults::kTeacherPayrollFund);
    (*this)[Answer::TeacherCompensationFund] =
        FieldValue::single(PayrollDefaults::kTeacherCompensationFund);
    (*this)[Answer::TeacherIncentiveFund] =
        FieldValue::single(PayrollDefaults::kTeacherIncentiveFund);
}

QString InstitutionRecord::shownText(Answer a, const QLocale& locale) const {
    const FieldValue& v = (*this)[a];
    if (v.isNotEnteredMarker(locale)) return QString();
    return v.displayText(locale);
}

}  // namespace normativ
