#pragma once

#include "loadedworkbook.h"
#include "result.h"

#include <QByteArray>

namespace normativ {

/// Reads the cell values of a legacy .xls workbook (BIFF8 in a compound file) from memory,
/// within the caps of readlimits. Worksheets come in workbook order (chart and macro
/// sheets are not numbered). Shared strings (across CONTINUE records), LABEL and RSTRING
/// texts, NUMBER, RK and MULRK numbers, BOOLERR booleans and errors, and the stored results
/// of FORMULA cells (a number, a text from the STRING record after it, a boolean, an
/// error) are read; an error value reads as its text (#DIV/0! ...). A cell outside the
/// sheet limits or a number that is not finite refuses the file, a formula's stored
/// result as much as a plain value. Encrypted workbooks and formats older than BIFF8 are
/// refused with a Russian reason.
Result<LoadedWorkbook> readXls(const QByteArray& data);

}  // namespace normativ
