#pragma once

#include "methodology.h"
#include "result.h"
#include "workbook.h"

#include <QByteArray>
#include <QString>

namespace normativ {

/// The methodology as a workbook an economist reads and edits, one table a sheet:
/// "Описание" (name, note), "Годы планирования" (a row per year: year, index, whether the
/// index is single-precision), "Оплата по умолчанию", "Коэффициенты", "Веса E1" to
/// "Веса M3", "Коэффициенты групп", "Услуги", "Должности", "Штатные нормативы", "АУП". Each
/// sheet starts with the table's title and a header; column A holds the Russian captions
/// (the administrative staff's group counts there), the values follow one a cell. Single-
/// precision values are written as their shortest decimal text and every number format
/// shows every digit, so that the workbook reads back to the same values. The payroll
/// estimate's total rows 13 and 23 are not written (they are no positions).
Workbook buildMethodologyWorkbook(const Methodology& m);

/// Adds a sheet "Методика" holding all the same tables one after another, each in the
/// same layout as on its own sheet, a blank row between two (for the saved report).
void addMethodologySheet(Workbook& book, const Methodology& m);

/// Reads a methodology workbook (it has a sheet "Описание"), or any workbook with a sheet
/// "Методика" holding the tables one after another (a saved report). The file is hostile
/// input with the caps of every workbook (openWorkbook). Every table must be complete and
/// every value a finite number in its range; any fault refuses the whole file with a
/// Russian message naming the sheet, the cell and what is wrong.
[[nodiscard]] Result<Methodology> readMethodologyWorkbook(const QByteArray& bytes);

/// The same from a file; a folder, an unreadable file or one over 20 MiB is refused.
[[nodiscard]] Result<Methodology> readMethodologyFile(const QString& path);

}  // namespace normativ
