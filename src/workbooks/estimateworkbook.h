#pragma once

#include "store.h"
#include "workbook.h"

#include <QString>

namespace normativ {

/// The estimate workbook: both recommended estimates on one sheet, from the copies the
/// store keeps (store.estimateCopies) and the pupil count. Rows 5 to 29 are the payroll
/// rows (staff units per pupil and in total, average salary, cost per pupil and in
/// total), rows 30 to 36 the services lines, row 37 the institution's total. Texts that
/// are numbers in the store's locale are written as numbers, others ("-", "см. пр.
/// расх.") as texts. Captions exactly as the estimate shows them; A2:F2 merged; columns
/// G onward hidden.
Workbook buildEstimateWorkbook(const Store& store);

/// "Смета ДОУ <institution> <year>.xlsx", made safe for a file name.
QString defaultEstimateFileName(const Store& store);

}  // namespace normativ
