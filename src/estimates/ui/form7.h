#pragma once

#include "servicesestimate.h"

#include <QWidget>
#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace normativ {

struct Store;

/// "Рекомендуемая для учреждения смета по приобретению услуг": seven lines of purchased
/// services, per pupil and in total.
class Form7 : public QWidget {
    Q_OBJECT

  public:
    /// Writes the estimate workbook; called by "Сформировать сметы в формате Excel" after
    /// the services texts were copied into the store. `parent` is this window.
    using ExportAction = std::function<void(QWidget* parent)>;

    explicit Form7(Store& store, QWidget* parent = nullptr);
    ~Form7() override;

    /// The payroll estimate window shown again when this one is left.
    void setPayrollWindow(QWidget* payrollWindow) { payrollWindow_ = payrollWindow; }
    void setExportAction(ExportAction action) { exportAction_ = std::move(action); }
    /// Enables "Сформировать сметы в формате Excel" again: the export wrote nothing (the
    /// user cancelled, or the file could not be written).
    void offerExportAgain();

    /// Writes a computed estimate into the 14 boxes.
    void showEstimate(const ServicesEstimate& estimate);
    /// The texts of Text121 … Text134 as they stand.
    std::array<QString, ServicesEstimate::kBoxes> boxTexts() const;
    /// The box TextN (121..134).
    QLineEdit* box(int number) const;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private slots:
    void onCommand1Clicked();
    void onCommand2Clicked();

  private:
    /// Places the controls as designed, grown where the font needs more room.
    void arrange();
    void returnToPayrollWindow();
    void takeCopy();
    /// What a window freshly loaded shows: each box its own name, the export enabled.
    void unload();

    Store& store_;
    QWidget* payrollWindow_ = nullptr;
    ExportAction exportAction_;
    std::array<QLabel*, 2> headers_{};
    std::array<QLabel*, ServicesEstimate::kLines> captions_{};
    std::array<QLineEdit*, ServicesEstimate::kBoxes> boxes_{};
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
};

}  // namespace normativ
