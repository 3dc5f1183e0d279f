#pragma once

#include "navigation.h"

#include <memory>

namespace normativ {

struct Store;
class Form9;
class Form10;

/// The two windows of the pupil distribution, as the main window reaches them.
class DistributionWindows : public DistributionPort {
  public:
    /// `navigator.main` is read when a window hands control back, so it may be wired
    /// after construction.
    DistributionWindows(Store& store, Navigator& navigator);
    ~DistributionWindows() override;

    DistributionWindows(const DistributionWindows&) = delete;
    DistributionWindows& operator=(const DistributionWindows&) = delete;

    void openIntroduction() override;
    void reopenEditor() override;

    Form9& form9() { return *form9_; }
    Form10& form10() { return *form10_; }

  private:
    void hideMainWindow();

    Navigator& navigator_;
    std::unique_ptr<Form10> form10_;
    std::unique_ptr<Form9> form9_;
};

}  // namespace normativ
