#pragma once

#include "loadedworkbook.h"
#include "result.h"

#include <QByteArray>

namespace normativ {

/// Reads the cell values of an .xlsx workbook from memory, within the caps of readlimits.
/// Worksheets come in the workbook's order (chart and dialog sheets are not numbered).
/// Shared strings (rich text joined, phonetic runs skipped), inline strings, numbers,
/// booleans and stored formula results are read; a formula without a stored result and
/// a blank cell read as Empty; an error value (#DIV/0! ...) reads as its text. A refused
/// file gives a Russian reason.
Result<LoadedWorkbook> readXlsx(const QByteArray& data);

/// Decodes the "_xHHHH_" escapes spreadsheets use for characters XML can't hold.
QString decodeXmlEscapes(const QString& text);

}  // namespace normativ
