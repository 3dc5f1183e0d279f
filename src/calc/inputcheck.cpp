#include "inputcheck.h"

#include "calctexts.h"
#include "methodology.h"

namespace normativ {

namespace {

class Checker {
  public:
    explicit Checker(const Store& store) : store_(store) {}

    const FieldValue& field(Answer a) const { return store_.record[a]; }
    double value(Answer a) const { return field(a).toDouble(store_.locale); }
    double flag(Flag f) const { return store_.record[f].toDouble(store_.locale); }
    bool marker(Answer a) const { return field(a).isNotEnteredMarker(store_.locale); }

    /// The answer must be given and not 0.
    void required(Answer a) {
        if (marker(a) || field(a).isNotEntered(store_.locale))
            add(a, calcTexts().notEntered);
        else if (field(a).isZero(store_.locale))
            add(a, calcTexts().zero);
    }
    /// The answer enters a formula: the not-entered marker must not.
    void noMarker(Answer a) {
        if (marker(a)) add(a, calcTexts().notEntered);
    }
    void add(Answer a, const QString& why) { add(answerShortName(a), why); }
    void add(const QString& what, const QString& why) {
        for (const InputProblem& p : problems_) {
            if (p.what == what) return;
        }
        problems_.push_back({what, why});
    }

    /// The answer meets what the calculation demands of it.
    void demanded(const AnswerDescriptor& info) {
        if (info.demand == Demand::Given)
            required(info.answer);
        else
            noMarker(info.answer);
    }

    /// What both stages need: the answers and choices in step order, then the payroll
    /// base and the records' pupil counts.
    void common() {
        const auto choices = choiceTable();
        auto choice = choices.begin();
        for (const AnswerDescriptor& info : answerTable()) {
            if (info.demand != Demand::Given && info.demand != Demand::NoMarker) continue;
            for (; choice != choices.end() && choice->step < info.step; ++choice) {
                if (!choice->shortName.isEmpty()) chosen(*choice);
            }
            demanded(info);
        }
        const double base =
            (value(Answer::TeacherPayrollFund) - value(Answer::TeacherCompensationFund)) -
            value(Answer::TeacherIncentiveFund);
        if (base == 0 && !field(Answer::TeacherPayrollFund).isZero(store_.locale))
            add(Answer::TeacherPayrollFund, calcTexts().payrollBaseIsZero);
        for (int r = 1; r <= store_.distribution.usedRecords(); ++r) {
            if (store_.distribution.pupilsNotEntered(r)) {
                add(calcTexts().recordPupils.arg(r), calcTexts().notEntered);
            }
        }
    }

    /// The maintenance stage's own demands: the answers it alone reads, then those of the
    /// own services figures when they are used.
    void maintenance(bool ownServices) {
        for (const Demand demand : {Demand::NoMarkerMaintenance, Demand::NoMarkerOwnServices}) {
            if (demand == Demand::NoMarkerOwnServices && !ownServices) break;
            for (const AnswerDescriptor& info : answerTable()) {
                if (info.demand == demand) noMarker(info.answer);
            }
        }
    }

    /// One flag of the choice group must be set.
    void chosen(const ChoiceDescriptor& choice) {
        double sum = 0;
        for (const FlagDescriptor& f : flagsOfStep(choice.step)) sum += flag(f.flag);
        if (sum == 0) add(choice.shortName.toString(), calcTexts().notChosen);
    }

    std::vector<InputProblem> take() { return std::move(problems_); }

  private:
    const Store& store_;
    std::vector<InputProblem> problems_;
};

}  // namespace

QString answerShortName(Answer answer) {
    return answerInfo(answer).shortName.toString();
}

InputProblem educationResultProblem() {
    return {calcTexts().educationNorm, calcTexts().resultOutOfRange};
}

InputProblem maintenanceResultProblem() {
    return {calcTexts().maintenanceNorm, calcTexts().resultOutOfRange};
}

InputProblem maintenanceWayProblem() {
    return {calcTexts().maintenanceWay, calcTexts().notChosen};
}

std::vector<InputProblem> educationInputProblems(const Store& store) {
    Checker check(store);
    check.common();
    return check.take();
}

std::vector<InputProblem> maintenanceInputProblems(const Store& store) {
    Checker check(store);
    check.common();
    const FieldValue& groups = store.record[Answer::GroupCount];
    if (!groups.isNotEntered(store.locale) && !groups.isZero(store.locale) &&
        !store.methodology->groupCountCoefficient(groups.toDouble(store.locale)))
        check.add(Answer::GroupCount, calcTexts().notWholeGroupCount);
    check.maintenance(store.record.useOwnServicesData.toDouble(store.locale) == 1);
    return check.take();
}

}  // namespace normativ
