#pragma once

#include "cellvalue.h"
#include "fieldvalue.h"
#include "store.h"

#include <QLocale>
#include <QString>
#include <optional>

namespace normativ {

/// A text handed to a cell the way a spreadsheet takes typed input: a text that is a
/// number in `locale` becomes that number, empty text leaves the cell blank, any other
/// text stays text ("-", "см. пр. расх.").
CellValue typedCellValue(const QString& text, const QLocale& locale);

/// A record field as its cell: numbers as numbers, a text as typed input, Empty blank.
CellValue fieldCellValue(const FieldValue& value, const QLocale& locale);

/// A record field as a cell holds it after loading: a number as a Double, a text as it
/// stands, a blank cell as Empty, TRUE and FALSE as the Integers 1 and 0 (what they count
/// as in a spreadsheet's arithmetic).
FieldValue fieldFromCell(const CellValue& cell);

/// The number a cell stands for: a number, or a text that is a number in `locale`;
/// nothing for blanks, booleans and other texts.
std::optional<double> cellNumber(const CellValue& cell, const QLocale& locale);

/// A name a file can have: / \ : * ? " < > | and control characters become '_'.
QString safeFileName(const QString& name);

/// "<title> <institution> <year>.xlsx" for a workbook about the store's institution, made
/// safe for a file name (a very long institution name is shortened).
QString workbookFileName(const QString& title, const Store& store);

}  // namespace normativ
