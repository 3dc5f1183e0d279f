#pragma once

#include "loadertexts.h"
#include "store.h"

#include <QByteArray>
#include <QString>

namespace normativ {

/// The number in EH17 of the first sheet by which a statistical form is recognised.
inline constexpr double kStatisticalFormMarker = 11123545;

/// Which kind of workbook a load recognised.
enum class LoadedWorkbookKind { None, StatisticalForm, SavedReport };

/// How loading a workbook ended.
struct WorkbookLoadResult {
    bool ok = false;
    /// Empty on success; otherwise the message the loading window shows (LoaderTexts::wrongFile).
    QString message;
    /// On failure, what exactly is wrong (in Russian), for the command line and the logs.
    QString reason;
    LoadedWorkbookKind kind = LoadedWorkbookKind::None;
};

/// Loads a statistical form or a saved report into the store, all or nothing. The kind is
/// recognised by the content: 11123545 in EH17 of the first sheet (a statistical form) is
/// tested first, then 11123546 in H124 (a saved report). Every cell is read and checked
/// before the store changes. Refused, with the store untouched: a file that is not a
/// workbook or can't be read (beyond the readers' caps included), one with neither marker,
/// one without the sheets it needs (2 to 6 for a statistical form, 2 for a saved report),
/// a record count that is not a whole number from 1 to 42, a pupil count of the
/// institution or of a record that is not a number (blank counts as nothing entered), or
/// a record's pupil count beyond the currency range. On success the answers, the choices
/// and records 1..count are written (records above the count and fields the workbook
/// doesn't hold are left alone) and the wizard is back at step 1.
WorkbookLoadResult loadWorkbookIntoStore(const QByteArray& fileBytes, Store& store);

/// The same for a file: one larger than 20 MiB is refused before it is read.
WorkbookLoadResult loadWorkbookFileIntoStore(const QString& path, Store& store);

}  // namespace normativ
