#pragma once

#include "answers.h"
#include "fieldvalue.h"
#include "methodology.h"
#include "wizardflow.h"

#include <QString>
#include <array>

namespace normativ {

/// The process-wide record of one run: every answer, the choices, the modes, the
/// wizard position and the two normatives.
struct InstitutionRecord {
    FieldValue institutionName;
    FieldValue planningYear;
    std::array<FieldValue, kAnswerCount> answers;
    std::array<FieldValue, kFlagCount> flags;
    FieldValue useOwnPayrollData;
    FieldValue useOwnServicesData;
    int wizardStep = 0;
    FieldValue educationNorm;
    FieldValue maintenanceNorm;

    FieldValue& operator[](Answer a) { return answers[static_cast<int>(a)]; }
    const FieldValue& operator[](Answer a) const { return answers[static_cast<int>(a)]; }
    FieldValue& operator[](Flag f) { return flags[static_cast<int>(f)]; }
    const FieldValue& operator[](Flag f) const { return flags[static_cast<int>(f)]; }

    /// Stores the answer-box text into a numeric answer (text as typed, or the marker).
    void storeAnswer(Answer a, const QString& typed, const QLocale& locale);
    /// Sets one flag of its choice group to 1 and the others of the group to 0.
    void setChoice(Flag selected);
    /// Overwrites the four payroll answers with the single-precision defaults.
    void writePayrollDefaults(const PayrollDefaults& defaults);
    /// The answer-box text for an answer: empty when it holds the marker.
    QString shownText(Answer a, const QLocale& locale) const;
    /// The data-source modes the wizard follows (a mode not 0 is on).
    WizardModes wizardModes(const QLocale& locale) const {
        return {useOwnPayrollData.toDouble(locale) != 0, useOwnServicesData.toDouble(locale) != 0};
    }
    /// True when the flag counts as non-zero (Empty counts as 0).
    bool isFlagSet(Flag f, const QLocale& locale) const { return !(*this)[f].isZero(locale); }
};

}  // namespace normativ
