#pragma once

#include "store.h"
#include "workbookloader.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <functional>
#include <optional>

namespace normativ {

/// The user's way through the wizard after a load, pressing "Далее" everywhere without
/// changing anything: steps 1 and 2 re-store their shown answers by the answer box's rule
/// (an Empty answer, or one that is not a number, becomes the not-entered marker), steps 3
/// and 4 keep their choices, the distribution introduction writes the payroll defaults
/// when the institution's own payroll figures are not used, the editor walks every record
/// re-storing what it shows and makes its finish checks (every record complete, the
/// records' pupils adding up to the pupil count), then steps 21 to 24 (own payroll
/// figures) or none, 25, 26 to 53 (own services figures) or none, 54 and 55 do as steps
/// 1 to 3. The modes must be set in the record first. Returns the editor's message when
/// it refuses to finish: the wizard never reaches the result step, and the store is left
/// where the editor stopped. Otherwise the store is at the result step, ready for the
/// calculation.
/// `visited`, when given, is told each step the wizard shows, in order, the result step
/// last.
std::optional<QString> walkWizardAfterLoad(Store& store,
                                           const std::function<void(int)>& visited = {});

/// A workbook read for the calculation, as the command line does it.
struct WorkbookRun {
    /// Empty when the file was refused.
    std::optional<Store> store;
    /// The loader's refusal (its message and reason) when `store` is empty.
    QString refusal;
    /// The editor's message when it refused to finish: the calculation must not run.
    QString editorMessage;
};

/// Loads a statistical form or a saved report into a fresh store in `locale` computing by
/// `methodology`, takes the two modes from the arguments (the start screen's check boxes, which a
/// workbook doesn't hold) and walks the wizard to the result step.
WorkbookRun readWorkbookForCalculation(
    const QByteArray& fileBytes, bool ownPayrollData, bool ownServicesData, const QLocale& locale,
    const std::shared_ptr<const Methodology>& methodology = Methodology::example());

}  // namespace normativ
