#pragma once

#include "navigation.h"

class QWidget;

namespace normativ {

struct Store;

/// The two workbooks a run creates: the saved report ("создать отчет" on the main
/// window) and the estimate workbook ("Сформировать сметы в формате Excel" on the
/// services estimate). Each is built from the store, saved where the user chooses and
/// shown in the desktop's spreadsheet program.
class WorkbookExports : public ReportPort {
  public:
    WorkbookExports(Store& store, Navigator& navigator);

    /// Writes the saved report of the current run; false when nothing was written.
    bool createReport() override;
    /// Writes both estimates from the copies the estimate windows took; false when
    /// nothing was written, so that the button can be offered again.
    bool exportEstimates(QWidget* parent);

  private:
    Store& store_;
    Navigator& navigator_;
};

}  // namespace normativ
