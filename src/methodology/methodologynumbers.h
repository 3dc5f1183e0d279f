#pragma once

#include <string>

namespace normativ::methodologynumbers {

/// The shortest decimal text that reads back to exactly this float (as a float).
std::string shortestText(float value);
/// The shortest decimal text that reads back to exactly this double.
std::string shortestText(double value);

/// The double a spreadsheet cell holds for a single-precision value: the one its shortest
/// text reads as (1.3333334f becomes 1.3333334, so the cell shows the digits the
/// methodology gives), unless that double doesn't convert back to the same float, when
/// the float's own value is kept.
double cellNumberOf(float value);

}  // namespace normativ::methodologynumbers
