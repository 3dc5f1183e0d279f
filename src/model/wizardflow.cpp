#include "wizardflow.h"

#include "answers.h"

namespace normativ {

ForwardMove stepForward(int step, WizardModes modes) {
    if (step == Step::kKind) return {step, true};
    if (step == Step::kMonths) return {modes.ownServices ? Step::kFirstServices : Step::kParentFee};
    return {step + 1};
}

BackMove stepBack(int step, WizardModes modes) {
    if (step == Step::kMonths) {
        if (modes.ownPayroll) return {Step::kLastPayroll};
        return {step, true, true};
    }
    if (step == Step::kParentFee) return {modes.ownServices ? Step::kLastServices : Step::kMonths};
    if (step == Step::kFirstPayroll) return {step, true};
    return {step - 1};
}

int stepAfterDistribution(WizardModes modes) {
    return modes.ownPayroll ? Step::kFirstPayroll : Step::kMonths;
}

bool distributionWritesPayrollDefaults(WizardModes modes) {
    return !modes.ownPayroll;
}

}  // namespace normativ
