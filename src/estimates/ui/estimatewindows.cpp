#include "estimatewindows.h"

#include "form6.h"
#include "payrollestimate.h"
#include "store.h"

namespace normativ {

EstimateWindows::EstimateWindows(Store& store, QWidget* mainWindow)
    : store_(store),
      mainWindow_(mainWindow),
      form6_(std::make_unique<Form6>(store)),
      form7_(std::make_unique<Form7>(store)) {
    form6_->setMainWindow(mainWindow);
    form6_->setServicesWindow(form7_.get());
    form7_->setPayrollWindow(form6_.get());
}

EstimateWindows::~EstimateWindows() = default;

void EstimateWindows::openEstimates() {
    if (mainWindow_) mainWindow_->setEnabled(false);
    form6_->show();
    form6_->raise();
    form6_->activateWindow();
    const PayrollEstimate estimate = computePayrollEstimate(store_);
    store_.coefficients.groupWeightTable = estimate.groupWeights;
    form6_->showEstimate(estimate);
}

void EstimateWindows::setExportAction(Form7::ExportAction action) {
    form7_->setExportAction(std::move(action));
}

}  // namespace normativ
