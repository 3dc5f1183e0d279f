#pragma once

#include "form7.h"
#include "navigation.h"

#include <memory>

class QWidget;

namespace normativ {

class Form6;
struct Store;

/// The two estimate windows, as the main window reaches them through "Сформировать
/// смету". The main window stays disabled while either is open.
class EstimateWindows : public EstimatesPort {
  public:
    EstimateWindows(Store& store, QWidget* mainWindow);
    ~EstimateWindows() override;

    EstimateWindows(const EstimateWindows&) = delete;
    EstimateWindows& operator=(const EstimateWindows&) = delete;

    /// Disables the main window, shows the payroll estimate and fills it from the store.
    void openEstimates() override;

    /// What "Сформировать сметы в формате Excel" does once it has copied the services
    /// estimate into the store and disabled itself: the estimate workbook is written
    /// from store.estimateCopies. Without an action the button only copies and
    /// disables itself.
    void setExportAction(Form7::ExportAction action);

    Form6& form6() { return *form6_; }
    Form7& form7() { return *form7_; }

  private:
    Store& store_;
    QWidget* mainWindow_;
    std::unique_ptr<Form6> form6_;
    std::unique_ptr<Form7> form7_;
};

}  // namespace normativ
