#pragma once

#include "calcinput.h"

#include "methodology.h"
#include "result.h"
#include "workbook.h"

#include <QString>
#include <memory>
#include <vector>

namespace normativ {

/// The layout of the summary workbook, for its readers and tests.
namespace summary {
/// Columns 1..12: file name, institution, year, pupils, groups, the two normatives,
/// their total, the three subsidies, status.
inline constexpr int kFileColumn = 1;
inline constexpr int kInstitutionColumn = 2;
inline constexpr int kYearColumn = 3;
inline constexpr int kPupilsColumn = 4;
inline constexpr int kGroupsColumn = 5;
inline constexpr int kEducationNormColumn = 6;
inline constexpr int kMaintenanceNormColumn = 7;
inline constexpr int kTotalNormColumn = 8;
inline constexpr int kEducationSubsidyColumn = 9;
inline constexpr int kMaintenanceSubsidyColumn = 10;
inline constexpr int kTotalSubsidyColumn = 11;
inline constexpr int kStatusColumn = 12;
inline constexpr int kColumns = 12;
/// Input i (from 1) is row i + 1; the totals row follows the last input.
inline constexpr int kFirstInputRow = 2;
}  // namespace summary

/// The summary of a batch: sheet "Сводка", a header row, one row per input in input
/// order, then the totals row ("Итого"; pupils, groups and the three subsidies summed
/// over the computed rows only, in input order; "рассчитано: N из M" as its status). A
/// row that was not computed shows its file name, the institution and year when the
/// file gave them, and its error text as status; its figures stay blank. Times New
/// Roman 12, the header bold, wrapped and frozen, thin borders around every cell of the
/// table, "0.00" for the normatives and amounts (unrounded values), row heights for the
/// wrapped texts. Two rows below the totals, the methodology the figures come from.
Workbook buildSummaryWorkbook(const std::vector<SummaryRow>& rows,
                              const Methodology& methodology = *Methodology::example());

/// The summary written as the rows come, in memory that doesn't grow with their number:
/// the workbook buildSummaryWorkbook makes of the same rows, saved as saveWorkbook saves
/// it (each text cell its own entry of the table of shared texts). Every failure is saveWorkbook's
/// message for the file; the file is then left as it was.
class SummaryWriter {
  public:
    /// Starts the summary at `path` (a temporary file beside it until finish()).
    static Result<std::unique_ptr<SummaryWriter>> open(const QString& path,
                                                       const Methodology& methodology);
    /// A summary not finished is removed.
    ~SummaryWriter();
    SummaryWriter(const SummaryWriter&) = delete;
    SummaryWriter& operator=(const SummaryWriter&) = delete;

    /// Writes the row of the next input.
    Status add(const SummaryRow& row);
    /// Writes the totals and the methodology line and renames the file into place.
    Status finish();

  private:
    struct Private;
    SummaryWriter();
    std::unique_ptr<Private> d_;
};

}  // namespace normativ
