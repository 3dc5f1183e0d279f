#pragma once

#include "loadedworkbook.h"
#include "result.h"

#include <QByteArray>

namespace normativ {

/// Which reader a file's content calls for.
enum class WorkbookFormat { Unknown, Xlsx, Xls };

/// The format by the first bytes: a zip package (.xlsx) or a compound file (.xls),
/// whatever the file's name says.
WorkbookFormat detectWorkbookFormat(const QByteArray& data);

/// Reads a workbook of either format from memory; anything else is refused with a
/// Russian reason, as is a file over a cap of readlimits.
Result<LoadedWorkbook> openWorkbook(const QByteArray& data);

}  // namespace normativ
