#pragma once

#include <QString>

class QWidget;

namespace normativ {

/// What other windows ask of the main window. The main window hands control to the
/// distribution, loading and estimate windows and takes it back through these calls,
/// so that no window target depends on another's class.
class MainWindowPort {
  public:
    virtual ~MainWindowPort() = default;
    virtual QWidget* widget() = 0;
    /// Back to the institution-kind question (step 4) with the stored kind selected.
    virtual void returnToKindStep() = 0;
    /// Lays out the question that follows the distribution (21 or 25) and writes the
    /// payroll defaults when the institution's own payroll figures are not used.
    virtual void prepareStepAfterDistribution() = 0;
    /// Shows step 1 after a workbook was loaded (the loaded pupil count pre-filled).
    virtual void showFirstStepAfterLoad() = 0;
    /// Hides the two mode check boxes and their "?" buttons (after any load attempt).
    virtual void hideModeChecks() = 0;
    /// Back on the start screen when the loading window is closed: the check boxes and
    /// their "?" buttons are shown again and the window is shown.
    virtual void returnFromLoader() = 0;
};

class DistributionPort {
  public:
    virtual ~DistributionPort() = default;
    /// Shows the introduction window (after the institution-kind question).
    virtual void openIntroduction() = 0;
    /// Shows the editor again exactly as it was left.
    virtual void reopenEditor() = 0;
};

class LoaderPort {
  public:
    virtual ~LoaderPort() = default;
    virtual void openLoader() = 0;
};

class EstimatesPort {
  public:
    virtual ~EstimatesPort() = default;
    /// Computes and shows the payroll estimate; the main window is disabled meanwhile.
    virtual void openEstimates() = 0;
};

class ReportPort {
  public:
    virtual ~ReportPort() = default;
    /// Writes the saved report workbook of the current run; false when nothing was
    /// written (the user cancelled, or writing failed and the user was told why), so that
    /// the button can be offered again.
    virtual bool createReport() = 0;
};

class MethodologyPort {
  public:
    virtual ~MethodologyPort() = default;
    /// Asks for a methodology workbook and makes it the one the run computes with. Empty
    /// when it was loaded or the user cancelled; otherwise why the file was refused (the
    /// methodology in use is then unchanged).
    virtual QString loadMethodology() = 0;
    /// Saves the methodology in use as a workbook where the user chooses.
    virtual void saveMethodologySample() = 0;
};

class SummaryPort {
  public:
    virtual ~SummaryPort() = default;
    /// Shows the summary window over several institutions; the main window is disabled
    /// until it is closed.
    virtual void openSummary() = 0;
};

/// The windows of one run, wired by main (and by tests). A port may be null while the
/// window behind it does not exist.
struct Navigator {
    MainWindowPort* main = nullptr;
    DistributionPort* distribution = nullptr;
    LoaderPort* loader = nullptr;
    EstimatesPort* estimates = nullptr;
    ReportPort* report = nullptr;
    MethodologyPort* methodology = nullptr;
    SummaryPort* summary = nullptr;
};

}  // namespace normativ
