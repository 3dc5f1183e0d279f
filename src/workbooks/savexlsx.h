#pragma once

#include "result.h"
#include "workbook.h"

#include <QString>
#include <memory>

namespace normativ {

/// Writes the workbook as an .xlsx file at `path`. The file is written to a temporary file
/// in the same folder and renamed into place only when complete, so an existing file is
/// replaced whole or not at all and a failed save leaves nothing behind. Numbers are
/// written with a decimal point whatever the process's C locale. A failure (a refused
/// call recorded by the workbook, a folder that doesn't exist or can't be written, a full
/// disk) is returned as a Russian message naming the file; nothing is thrown.
Status saveWorkbook(const Workbook& workbook, const QString& path);

/// A workbook of one sheet written as its rows come, for a sheet too long to hold in memory
/// (the batch summary): the file saveWorkbook writes of the whole sheet, in memory that
/// doesn't grow with the rows; its table of shared texts holds each text cell's text in
/// turn rather than each text once. Merged ranges and rows hidden to the end are not
/// written. Every failure is a
/// Russian message naming the file, as saveWorkbook gives it; the file is then not written.
class SheetStreamWriter {
  public:
    /// Starts writing `path`, to a temporary file beside it until finish(): one sheet named
    /// as sheet 1 of `layout`, with its columns and frozen panes.
    static Result<std::unique_ptr<SheetStreamWriter>> open(const Workbook& layout,
                                                           const QString& path);
    /// An unfinished file is removed.
    ~SheetStreamWriter();
    SheetStreamWriter(const SheetStreamWriter&) = delete;
    SheetStreamWriter& operator=(const SheetStreamWriter&) = delete;

    /// Writes the rows sheet 1 of `book` holds (its settings and cells; each row after
    /// every row written before) and forgets them there (Sheet::clearRows). Fails on a
    /// refused call the workbook remembers too.
    Status writeRows(Workbook& book);

    /// Writes the rows left and the page setup of sheet 1 of `book`, completes the file and
    /// renames it into place. Call once.
    Status finish(Workbook& book);

  private:
    struct Private;
    SheetStreamWriter();
    std::unique_ptr<Private> d_;
};

/// The text of a cell as the file stores it: control characters (which XML can't hold)
/// and literal "_xHHHH_" sequences are escaped the way spreadsheets decode them, so that
/// the text reads back unchanged.
QString escapeCellText(const QString& text);

/// Tests only: called when the complete temporary file is on the disk, just before it is
/// renamed into place (a test makes the process die there).
void setBeforeRenameHookForTests(void (*hook)());

}  // namespace normativ
