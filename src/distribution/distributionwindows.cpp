#include "distributionwindows.h"

#include "form10.h"
#include "form9.h"

#include <QWidget>

namespace normativ {

DistributionWindows::DistributionWindows(Store& store, Navigator& navigator)
    : navigator_(navigator),
      form10_(std::make_unique<Form10>(store, navigator)),
      form9_(std::make_unique<Form9>(navigator, *form10_)) {}

DistributionWindows::~DistributionWindows() = default;

void DistributionWindows::openIntroduction() {
    form9_->show();
    form9_->activateWindow();
    hideMainWindow();
}

void DistributionWindows::reopenEditor() {
    form10_->reopen();
    hideMainWindow();
}

// The caller hides the main window as well; doing it here too keeps the rule that it is
// never shown beside a distribution window, whoever calls.
void DistributionWindows::hideMainWindow() {
    if (navigator_.main) navigator_.main->widget()->hide();
}

}  // namespace normativ
