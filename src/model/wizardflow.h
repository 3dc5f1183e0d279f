#pragma once

namespace normativ {

/// The start screen's two data-source modes, which decide the steps the wizard asks.
struct WizardModes {
    bool ownPayroll = false;   ///< the institution's own payroll figures (steps 21 to 24)
    bool ownServices = false;  ///< its own purchased-services figures (steps 26 to 53)
};

/// What "Далее" does at a step, once the step's answer is stored.
struct ForwardMove {
    /// The step shown next; the same step when the distribution windows open instead.
    int next;
    /// The distribution windows open (the main window waits at the kind step); when they
    /// finish, the wizard goes on at `stepAfterDistribution`.
    bool opensDistribution = false;
};

/// What "Назад" does at a step, once the step's answer is stored.
struct BackMove {
    /// The step shown next; the same step when the distribution editor reopens.
    int previous;
    /// The distribution editor reopens on its last record.
    bool reopensEditor = false;
    /// The payroll defaults are written first (own payroll figures not used).
    bool writesPayrollDefaults = false;
};

/// "Далее" at `step` (1 to 55).
ForwardMove stepForward(int step, WizardModes modes);
/// "Назад" at `step` (2 to 56).
BackMove stepBack(int step, WizardModes modes);

/// The step the wizard goes on at when the distribution windows finish: the first payroll
/// question with the own payroll figures, else the months of operation.
int stepAfterDistribution(WizardModes modes);
/// Whether the distribution windows write the payroll defaults as they finish.
bool distributionWritesPayrollDefaults(WizardModes modes);

}  // namespace normativ
