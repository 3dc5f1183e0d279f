#pragma once

#include "estimatecopies.h"

#include <QWidget>
#include <array>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace normativ {

class Form7;
struct PayrollEstimate;
struct Store;

/// "Рекомендуемая для учреждения смета по оплате труда": the payroll estimate grid in a
/// frame that the two scroll bars move.
class Form6 : public QWidget {
    Q_OBJECT

  public:
    explicit Form6(Store& store, QWidget* parent = nullptr);
    ~Form6() override;

    /// The window enabled again when this one is closed.
    void setMainWindow(QWidget* mainWindow) { mainWindow_ = mainWindow; }
    /// The services estimate window that "Смета по приобретению услуг" opens.
    void setServicesWindow(Form7* servicesWindow) { servicesWindow_ = servicesWindow; }

    /// Writes a computed estimate into the 125 grid boxes.
    void showEstimate(const PayrollEstimate& estimate);
    /// The grid texts as they stand, in box order.
    SavedPayrollEstimateText gridTexts() const;
    /// The grid box TextN (1..120, 221..225).
    QLineEdit* box(int number) const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private slots:
    void onCommand1Clicked();
    void onCommand2Clicked();
    void onVScroll1ValueChanged(int value);
    void onHScroll1ValueChanged(int value);

  private:
    void buildGrid();
    /// Places the controls as designed, grown where the font needs more room.
    void arrange();
    void layoutScrollBars();
    void returnToMainWindow();
    /// What a window freshly loaded shows: each box its own name, the frame unscrolled.
    void unload();

    Store& store_;
    QWidget* mainWindow_ = nullptr;
    Form7* servicesWindow_ = nullptr;
    QFrame* frame1_ = nullptr;
    std::array<QLabel*, SavedPayrollEstimateText::kColumns> headers_{};
    std::array<QLabel*, SavedPayrollEstimateText::kRows> rowCaptions_{};
    std::array<QLineEdit*, SavedPayrollEstimateText::kBoxes> boxes_{};  // box order
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QScrollBar* vScroll1_ = nullptr;
    QScrollBar* hScroll1_ = nullptr;
};

}  // namespace normativ
