#pragma once

#include "result.h"
#include "workbook.h"

#include <QString>

namespace normativ {

/// Writes the workbook as an .xlsx file at `path`. The file is written to a temporary file
/// in the same folder and renamed into place only when complete, so an existing file is
/// replaced whole or not at all and a failed save leaves nothing behind. Numbers are
/// written with a decimal point whatever the process's C locale. A failure (a refused
/// call recorded by the workbook, a folder that doesn't exist or can't be written, a full
/// disk) is returned as a Russian message naming the file; nothing is thrown.
Status saveWorkbook(const Workbook& workbook, const QString& path);

/// The text of a cell as the file stores it: control characters (which XML can't hold)
/// and literal "_xHHHH_" sequences are escaped the way spreadsheets decode them, so that
/// the text reads back unchanged.
QString escapeCellText(const QString& text);

/// Tests only: called when the complete temporary file is on the disk, just before it is
/// renamed into place (a test makes the process die there).
void setBeforeRenameHookForTests(void (*hook)());

}  // namespace normativ
