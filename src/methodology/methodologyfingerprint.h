#pragma once

#include "methodology.h"

#include <QString>

namespace normativ {

/// The canonical text of a methodology's values: one value a line, "table.field[position]=value"
/// (positions from 1), in a fixed order; floats and doubles in their shortest text that reads
/// back exactly, whole numbers and flags as integers, a set without stay weights as
/// "stay=none". The name and the note are not in it: two methodologies with the same values
/// compute the same figures, whatever they are called.
QString canonicalMethodologyText(const Methodology& m);

/// The first 12 hex digits (lower case) of the SHA-256 of the canonical text's UTF-8.
QString methodologyFingerprint(const Methodology& m);

/// The line by which a workbook names the methodology its figures come from:
/// "Методика расчета: <name> (отпечаток <fingerprint>)".
QString methodologyLine(const Methodology& m);

}  // namespace normativ
