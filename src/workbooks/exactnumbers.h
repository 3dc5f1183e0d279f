#pragma once

#include <QString>

#include <functional>
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

/// The replacements of one sheet one at a time, in row-major order; nothing after the last.
using NextNumberCellText = std::function<std::optional<NumberCellText>()>;

/// Rewrites the values of the given cells in the .xlsx package at `path`. Nothing on
/// success; on a failure the system's error number, or 0 when the package was not as written.
std::optional<int> rewriteNumberTexts(const QString& path,
                                      const std::vector<SheetNumberTexts>& sheets);

/// The same for one sheet (1-based) whose replacements come from `next`: a sheet of any
/// length is rewritten in memory that doesn't grow with it.
std::optional<int> rewriteNumberTexts(const QString& path, int sheet,
                                      const NextNumberCellText& next);

}  // namespace normativ
