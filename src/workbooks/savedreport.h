#pragma once

#include "store.h"
#include "workbook.h"

#include <QString>

namespace normativ {

/// The layout of the saved report that the loader relies on, cell by cell.
namespace savedreport {
/// The number in H124 of the first sheet by which a saved report is recognised.
inline constexpr float kMarker = 11123546.0f;
inline constexpr int kMarkerRow = 124;
inline constexpr int kRecordCountRow = 125;
inline constexpr int kMarkerColumn = 8;  // H
inline constexpr int kNameRow = 4;
inline constexpr int kYearRow = 5;
inline constexpr int kFirstResultRow = 48;
inline constexpr int kLastResultRow = 53;
/// Record i of the distribution is row i + 4 of the second sheet.
inline constexpr int kFirstRecordRow = 5;

}  // namespace savedreport

/// The saved report of the record and the distribution: sheet 1 "Параметры ДОУ" with
/// labels, the values of column B (B4..B41 the answers as stored, B42..B44 the choices,
/// B48..B53 the normatives and the derived amounts unrounded with "0.00"), the units, the
/// marker in H124 and the record count in H125; sheet 2 "Группы" with one row per
/// distribution record. Texts that are numbers in the store's locale are written as
/// numbers, as a spreadsheet takes typed input; the not-entered marker is the number
/// 79265830346. Row heights are computed for the wrapped texts. Sheet 3 "Методика" holds
/// the store's methodology (readable with readMethodologyWorkbook), sheet 4 "Расчет" the
/// calculation trail (calculationtrail.h); the loader reads only sheets 1 and 2.
Workbook buildSavedReport(const Store& store);

/// "Отчет ДОУ <institution> <year>.xlsx", made safe for a file name.
QString defaultReportFileName(const Store& store);

}  // namespace normativ
