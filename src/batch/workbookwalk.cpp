#include "workbookwalk.h"

#include "distributioncheck.h"

#include "distributiontable.h"
#include "institutionrecord.h"
#include "wizardflow.h"

namespace normativ {

namespace {

// A numeric step shows its answer (nothing for the marker) and "Далее" stores the box.
void restoreShownAnswer(Store& store, Answer answer) {
    InstitutionRecord& record = store.record;
    record.storeAnswer(answer, record.shownText(answer, store.locale), store.locale);
}

// A choice step selects the option of each flag that is not zero, a later one taking the
// selection from an earlier one, and "Далее" stores the selection; with none selected the
// flags stay as they are.
void restoreShownChoice(Store& store, int step) {
    std::optional<Flag> selected;
    for (const FlagDescriptor& info : flagsOfStep(step)) {
        if (store.record.isFlagSet(info.flag, store.locale)) selected = info.flag;
    }
    if (selected) store.record.setChoice(*selected);
}

// The editor, opened on record 1 and walked to the last record with "Далее", then
// finished. Each record is stored from what the editor shows of it.
std::optional<QString> walkDistributionEditor(Store& store) {
    DistributionTable& table = store.distribution;
    const int count = table.usedRecords();
    table.currentRecord = 1;
    for (int r = 1; r <= count; ++r) {
        table.currentRecord = static_cast<qint16>(r);
        for (Kind kind : {Kind::AgeClass, Kind::StayMode, Kind::Orientation}) {
            if (const auto text = table.kindText(r, kind)) table.storeKindText(r, kind, *text);
        }
        table.storePupilText(r, table.pupilText(r, store.locale), store.locale);
        if (!table.isComplete(r)) return distributionCheckTexts().incompleteRecord;
    }
    return distributedTotalProblem(store);
}

}  // namespace

std::optional<QString> walkWizardAfterLoad(Store& store, const std::function<void(int)>& visited) {
    InstitutionRecord& record = store.record;
    const WizardModes modes = record.wizardModes(store.locale);
    record.wizardStep = Step::kPupils;
    while (record.wizardStep != Step::kResult) {
        const int step = record.wizardStep;
        if (visited) visited(step);
        if (const auto answer = answerForStep(step))
            restoreShownAnswer(store, *answer);
        else
            restoreShownChoice(store, step);
        const ForwardMove move = stepForward(step, modes);
        if (!move.opensDistribution) {
            record.wizardStep = move.next;
            continue;
        }
        if (distributionWritesPayrollDefaults(modes))
            record.writePayrollDefaults(store.methodology->payrollDefaults);
        record.wizardStep = stepAfterDistribution(modes);
        if (const auto message = walkDistributionEditor(store)) return message;
    }
    if (visited) visited(Step::kResult);
    return std::nullopt;
}

WorkbookRun readWorkbookForCalculation(const QByteArray& fileBytes, bool ownPayrollData,
                                       bool ownServicesData, const QLocale& locale,
                                       const std::shared_ptr<const Methodology>& methodology) {
    WorkbookRun run;
    Store store(locale);
    store.methodology = methodology;
    // The start screen: the modes from the check boxes, one record to begin with.
    store.record.useOwnPayrollData = FieldValue::integer(ownPayrollData ? 1 : 0);
    store.record.useOwnServicesData = FieldValue::integer(ownServicesData ? 1 : 0);
    store.distribution.recordCount = FieldValue::integer(1);
    const WorkbookLoadResult loaded = loadWorkbookIntoStore(fileBytes, store);
    if (!loaded.ok) {
        run.refusal = loaded.reason.isEmpty()
                          ? loaded.message
                          : QStringLiteral("%1 (%2)").arg(loaded.message, loaded.reason);
        return run;
    }
    if (const auto message = walkWizardAfterLoad(store)) run.editorMessage = *message;
    run.store = std::move(store);
    return run;
}

}  // namespace normativ
