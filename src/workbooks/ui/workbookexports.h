#pragma once

#include "navigation.h"

class QWidget;

namespace normativ {

struct Store;

/// The workbooks a run creates: the saved report ("создать отчет" on the main window),
/// the estimate workbook ("Сформировать сметы в формате Excel" on the services estimate)
/// and the sample of the methodology in use; each is built from the store, saved where
/// the user chooses and shown in the desktop's spreadsheet program. Also the loading of
/// a methodology workbook from the start screen.
class WorkbookExports : public ReportPort, public MethodologyPort {
  public:
    WorkbookExports(Store& store, Navigator& navigator);

    /// Writes the saved report of the current run; false when nothing was written.
    bool createReport() override;
    /// Writes both estimates from the copies the estimate windows took; false when
    /// nothing was written, so that the button can be offered again.
    bool exportEstimates(QWidget* parent);

    // MethodologyPort
    QString loadMethodology() override;
    void saveMethodologySample() override;

  private:
    Store& store_;
    Navigator& navigator_;
};

}  // namespace normativ
