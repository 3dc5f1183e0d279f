#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace normativ {

struct Store;
struct Navigator;

/// The distribution record editor: one record of the pupil distribution at a time
/// (age class, length of stay, orientation, pupils), paged forward and back, with
/// appending and deleting at the end, and a finish that checks the distributed total
/// against the institution's pupil count. Everything entered lives in the store's
/// distribution table; the window keeps no state of its own.
class Form10 : public QWidget {
    Q_OBJECT

  public:
    Form10(Store& store, Navigator& navigator, QWidget* parent = nullptr);

    /// Opens on record 1, shown over whatever the choice boxes hold (a kind without a
    /// choice keeps its box as it was).
    void openOnFirstRecord();
    /// Shows the window again exactly as it was left.
    void reopen();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private slots:
    void onCombo1TextChanged(const QString& text);
    void onCombo2TextChanged(const QString& text);
    void onCombo3TextChanged(const QString& text);
    void onCommand1Clicked();
    void onCommand2Clicked();
    void onCommand3Clicked();
    void onCommand6Clicked();

  private:
    void createControls();
    void layOut();
    void finish();
    void storeControls();
    void showRecord();
    void clearControls();
    void refreshCountersAndButtons();
    void showMessage(const QString& text);
    void hideMessage();
    void backToMainWindow();
    int recordCount() const;
    void setRecordCount(int count);
    void keepRecordCountInRange();

    Store& store_;
    Navigator& navigator_;

    QLabel* label1_ = nullptr;
    QComboBox* combo1_ = nullptr;
    QLabel* label2_ = nullptr;
    QComboBox* combo2_ = nullptr;
    QLabel* label3_ = nullptr;
    QComboBox* combo3_ = nullptr;
    QLabel* label8_ = nullptr;
    QLabel* label9_ = nullptr;
    QLabel* label7_ = nullptr;
    QLabel* label4_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QLabel* label17_ = nullptr;
    QLabel* label18_ = nullptr;
    QLabel* label5_ = nullptr;
    QPushButton* command3_ = nullptr;
    QPushButton* command6_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command1_ = nullptr;
    QLabel* label6_ = nullptr;
};

}  // namespace normativ
