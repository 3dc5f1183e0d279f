#pragma once

#include "estimatecopies.h"

#include <QRect>
#include <QWidget>
#include <array>

class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace normativ {

class Form7;
struct PayrollEstimate;
struct Store;

/// "Рекомендуемая для учреждения смета по оплате труда": the payroll estimate grid in a
/// frame that the two scroll bars move. In a window lower than designed the buttons stay
/// at its bottom edge while the grid scrolls beneath them.
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
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
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
    /// Keeps the buttons within the part of the grid in view: at their designed place
    /// when it is in view, else at the view's bottom (and within its width).
    void placeButtons();
    /// The designed size, as far as the screen's available area allows.
    void takeDesignedSize();
    /// Moves the grid so that a control of the frame is in view (and not beneath the
    /// buttons held at the view's bottom).
    void scrollIntoView(const QWidget* control);
    /// Home, End, the arrows and the page keys on a bar, in the direction the bar shows.
    bool scrollBarKey(QScrollBar* bar, const QKeyEvent* event);
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
    std::array<QRect, 2> buttonPlaces_{};  ///< as designed, in the frame
    /// Hides the rows that scroll beneath the buttons held at the view's bottom.
    QWidget* buttonStrip_ = nullptr;
    /// Set when the window closes: the next opening takes the designed size again.
    bool openAtDesignedSize_ = true;
    QScrollBar* vScroll1_ = nullptr;
    QScrollBar* hScroll1_ = nullptr;
    /// Covers the grid in the corner between the two bars.
    QWidget* corner_ = nullptr;
};

}  // namespace normativ
