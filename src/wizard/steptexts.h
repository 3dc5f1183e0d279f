#pragma once

#include <QString>
#include <QStringList>

namespace normativ::wizard {

/// Texts of one wizard step: the question, the unit (numeric steps) and the help.
struct StepTexts {
    QString question;
    QString unit;
    QString help;
};

/// The texts of a step (1-4, 21-55); empty texts for numbers that are no step.
StepTexts stepTexts(int step);
/// Step 21 asked for a village institution.
QString villageSalaryQuestion();
/// Step 21 as the distribution windows ask it (minimum salary wording).
QString minimumSalaryQuestion();
/// Help for step 21 when the question is worded for the average salary.
QString averageSalaryHelp();
/// The option captions of a choice step (3, 4, 55); an empty caption leaves the
/// option's design caption, a missing third one hides it.
QStringList optionCaptions(int step);

// Start screen and main window captions.
QString mainCaption();
QString startTitle();
QString institutionPrompt();
QString yearPrompt();
QString noInstitutionMessage();
QString noYearMessage();
QString loadButton();
QString startButton();
QString payrollModeCheck();
QString servicesModeCheck();
QString institutionName(int number);
QStringList planningYears();
inline constexpr int kInstitutionCount = 511;

struct ResultRow {
    QString caption;
    QString unit;
};
/// The six result rows, in box order Text1..Text6.
const QList<ResultRow>& resultRows();
QString reportButton();
QString estimateButton();
QString nextButton();
QString backButton();
QString helpButton();
QString helpCaption();
QString closeButton();

}  // namespace normativ::wizard
