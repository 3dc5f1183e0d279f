#pragma once

#include "batch.h"
#include "calcinput.h"
#include "navigation.h"

#include <QWidget>
#include <atomic>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace normativ {

struct Store;

/// The summary over several institutions: a list of statistical forms and saved reports,
/// computed by the batch core on a worker thread (the window stays responsive), shown a
/// row per input as the summary workbook shows them, and saved as that workbook. The
/// list and the last results stay while the window is closed and opened again.
class Form11 : public QWidget, public SummaryPort {
    Q_OBJECT
  public:
    Form11(Store& store, Navigator& navigator, QWidget* parent = nullptr);
    ~Form11() override;

    // SummaryPort
    void openSummary() override;

    /// True while a run computes.
    bool running() const { return worker_.joinable(); }

  private slots:
    void onCommand1Clicked();
    void onCommand2Clicked();
    void onCommand3Clicked();
    void onCommand4Clicked();
    void onCommand5Clicked();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    /// One line of the list: the input and, once computed, its summary row.
    struct Entry {
        InputRef input;
        std::optional<SummaryRow> row;
    };

    void addInputs(const std::vector<InputRef>& inputs);
    void addRow(const Entry& entry, std::size_t index);
    void showOutcome(std::size_t index, const SummaryRow& row);
    void forgetResults();
    void startRun();
    void stopRun();
    void finishRun();
    bool complete() const;
    void showTotals();
    void updateControls();
    QString startFolder() const;

    Store& store_;
    Navigator& navigator_;
    std::vector<Entry> entries_;
    /// The run's methodology, which its summary names.
    std::shared_ptr<const Methodology> runMethodology_;
    std::atomic<bool> stop_{false};
    std::thread worker_;
    QString lastFolder_;

    QPushButton* command1_;
    QPushButton* command2_;
    QPushButton* command3_;
    QCheckBox* check1_;
    QCheckBox* check2_;
    QTableWidget* grid1_;
    QProgressBar* progressBar1_;
    QLabel* label1_;
    QPushButton* command4_;
    QPushButton* command5_;
    QPushButton* command6_;
};

}  // namespace normativ
