#pragma once

#include <QString>

namespace normativ::info {

/// Every text of the welcome window (Form8) and the two information windows (Form4,
/// Form5).
struct InfoTexts {
    QString welcomeCaption;
    /// The welcome window's Label1 to Label4.
    QString welcomeText1;
    QString welcomeText2;
    QString welcomeText3;
    QString contactAddress;
    QString welcomeButton;

    /// The information windows keep their paragraphs in one text, joined by runs of
    /// blanks, as the paragraph label expects them.
    QString payrollInfoCaption;
    QString payrollInfoText;
    QString servicesInfoCaption;
    QString servicesInfoText;
    QString closeButton;
};
const InfoTexts& infoTexts();

}  // namespace normativ::info
