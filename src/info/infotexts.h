#pragma once

#include <QString>

namespace normativ::info {

/// The fixed texts of the welcome and information windows.
QString welcomeCaption();
QString welcomeText1();
QString welcomeText2();
QString welcomeText3();
QString contactAddress();
QString welcomeButton();

QString payrollInfoCaption();
QString payrollInfoText();
QString servicesInfoCaption();
QString servicesInfoText();
QString closeButton();

}  // namespace normativ::info
