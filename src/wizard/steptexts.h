#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace normativ::wizard {

/// Texts of one wizard step: the question, the unit (numeric steps) and the help, as the
/// answer and choice descriptors give them.
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
/// The option captions of a choice step (3, 4, 55), in option order.
QStringList optionCaptions(int step);

struct ResultRow {
    QString caption;
    QString unit;
};

/// Every text of the main window besides the steps' own.
struct MainWindowTexts {
    QString caption;
    QString startTitle;
    QString institutionPrompt;
    QString yearPrompt;
    QString noInstitutionMessage;
    QString noYearMessage;
    QString loadButton;
    QString startButton;
    QString payrollModeCheck;
    QString servicesModeCheck;
    QString infoButton;
    /// Before the methodology's name, on the start screen and at the results.
    QString methodologyPrefix;
    QString loadMethodologyButton;
    QString saveMethodologyButton;
    /// Opens the summary over several institutions.
    QString summaryButton;
    /// Option captions before the first choice step sets them.
    QStringList designOptionCaptions;
    /// The six result rows, in box order Text1..Text6.
    QList<ResultRow> resultRows;
    QString reportButton;
    QString estimateButton;
    QString nextButton;
    QString backButton;
    QString helpButton;
    /// The help window.
    QString helpCaption;
    QString closeButton;
    /// The entries of the institution list; %1: the number.
    QString institutionName;
};
const MainWindowTexts& mainWindowTexts();

QString institutionName(int number);
inline constexpr int kInstitutionCount = 511;

}  // namespace normativ::wizard
