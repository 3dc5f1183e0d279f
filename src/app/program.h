#pragma once

#include "navigation.h"
#include "store.h"

#include <memory>

namespace normativ {

class DistributionWindows;
class EstimateWindows;
class Form0;
class Form3;
class Form8;
class Form11;
class WorkbookExports;

/// All windows of one run, wired to one store. main() makes one; GUI tests make one
/// per test to drive whole flows.
class Program {
  public:
    explicit Program(const QLocale& locale = QLocale::system());
    ~Program();

    /// Shows the welcome window.
    void start();

    Store& store() { return store_; }
    Form0& mainWindow() { return *form0_; }
    Form8& welcomeWindow() { return *form8_; }
    DistributionWindows& distributionWindows() { return *distribution_; }
    EstimateWindows& estimateWindows() { return *estimates_; }
    Form3& loaderWindow() { return *form3_; }
    Form11& summaryWindow() { return *form11_; }

  private:
    Store store_;
    Navigator navigator_;
    std::unique_ptr<Form0> form0_;
    std::unique_ptr<Form8> form8_;
    std::unique_ptr<DistributionWindows> distribution_;
    std::unique_ptr<EstimateWindows> estimates_;
    std::unique_ptr<Form3> form3_;
    std::unique_ptr<WorkbookExports> workbooks_;
    std::unique_ptr<Form11> form11_;
};

/// Loads Qt's own Russian translations so that standard dialogs speak Russian.
void installTranslations();

}  // namespace normativ
