#pragma once

#include <QString>

namespace normativ {

/// Every text of the distribution record editor (Form10) but two kinds: the list items
/// of the three choice boxes are the item texts of the distribution table itself, and
/// the finish check's messages are the core's (distributionCheckTexts()), so that every
/// finish check says the same.
struct Form10Texts {
    QString caption;
    /// Label1 to Label4.
    QString agePrompt;
    QString stayModePrompt;
    QString orientationPrompt;
    QString pupilsPrompt;
    QString backButton;
    QString backToParametersButton;
    QString deleteButton;
    QString createButton;
    QString nextButton;
    QString finishButton;
    /// What the finish button reads before the window is first shown.
    QString finishButtonAtDesign;
    QString limitReachedMessage;
};
const Form10Texts& form10Texts();

}  // namespace normativ
