#pragma once

#include <QString>

namespace normativ {

/// Every text the distribution introduction window (Form9) shows.
struct Form9Texts {
    QString caption;
    /// The five paragraphs, top to bottom: Label6, Label2 to Label5.
    QString introduction;
    QString countsPrompt;
    QString parametersHint;
    QString navigationHint;
    QString sameGroupsHint;
    QString backButton;
    QString nextButton;
};
const Form9Texts& form9Texts();

}  // namespace normativ
