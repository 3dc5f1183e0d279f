#include "inputcheck.h"

#include "weightsets.h"

namespace normativ {

namespace {

const QString kNotEntered = QStringLiteral("не введено");
const QString kZero = QStringLiteral("0");
const QString kOutOfRange = QStringLiteral("результат вне допустимого диапазона");

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
            add(a, kNotEntered);
        else if (field(a).isZero(store_.locale))
            add(a, kZero);
    }
    /// The answer enters a formula: the not-entered marker must not.
    void noMarker(Answer a) {
        if (marker(a)) add(a, kNotEntered);
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
            add(Answer::TeacherPayrollFund,
                QStringLiteral("равен сумме компенсационных и стимулирующих выплат"));
        for (int r = 1; r <= store_.distribution.usedRecords(); ++r) {
            if (store_.distribution.pupilsNotEntered(r)) {
                add(QStringLiteral("количество воспитанников в записи %1").arg(r), kNotEntered);
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
        if (sum == 0) add(choice.shortName.toString(), QStringLiteral("не выбран"));
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
    return {QStringLiteral("норматив по обучению"), kOutOfRange};
}

InputProblem maintenanceResultProblem() {
    return {QStringLiteral("норматив по содержанию"), kOutOfRange};
}

InputProblem maintenanceWayProblem() {
    return {QStringLiteral("способ расчета норматива по содержанию"), QStringLiteral("не выбран")};
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
        !groupCountCoefficient(groups.toDouble(store.locale)))
        check.add(Answer::GroupCount, QStringLiteral("не целое число от 1"));
    check.maintenance(store.record.useOwnServicesData.toDouble(store.locale) == 1);
    return check.take();
}

}  // namespace normativ
