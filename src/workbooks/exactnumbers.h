#pragma once

#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace normativ {

/// libxlsxwriter writes a number with 16 significant digits, and for some doubles that text
/// reads back as a neighbouring double (18074901.659750946 becomes 18074901.65975095). Such
/// cells get their shortest exact text written into the package afterwards.

/// The shortest text that reads back to `value`, when the 16-digit text does not.
std::optional<std::string> exactNumberText(double value);

/// A number cell whose written text must be replaced.
struct NumberCellText {
    QString address;   ///< "B53"
    std::string text;  ///< the exact text
};

/// The replacements of one sheet (1-based, in the order the sheets were added), its cells
/// in row-major order.
struct SheetNumberTexts {
    int sheet = 0;
    std::vector<NumberCellText> cells;
};

/// Rewrites the values of the given cells in the .xlsx package at `path`. Nothing on
/// success; on a failure the system's error number, or 0 when the package was not as written.
std::optional<int> rewriteNumberTexts(const QString& path,
                                      const std::vector<SheetNumberTexts>& sheets);

}  // namespace normativ
