#pragma once

#include "navigation.h"

#include <QWidget>
#include <array>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace normativ {

struct Store;
class Form2;
class Form4;
class Form5;

/// The main window: the start screen, the question wizard and the results.
class Form0 : public QWidget, public MainWindowPort {
    Q_OBJECT
  public:
    Form0(Store& store, Navigator& navigator, QWidget* parent = nullptr);
    ~Form0() override;

    // MainWindowPort
    QWidget* widget() override { return this; }
    void returnToKindStep() override;
    void prepareStepAfterDistribution() override;
    void showFirstStepAfterLoad() override;
    void hideModeChecks() override;
    void returnFromLoader() override;

    /// Shows the methodology in use: its name, and its planning years in the year list
    /// (the chosen year stays chosen when the new list has it).
    void showMethodology();
    /// Shows why a methodology was refused, in red on the start screen.
    void showMethodologyError(const QString& message);

  private slots:
    void onCommandButton3Clicked();
    void onCommand4Clicked();
    void onCommand3Clicked();
    void onCommand5Clicked();
    void onOptionClicked(int option);
    void onCommandButton1Clicked();
    void onCommandButton2Clicked();
    void onCommand1Clicked();
    void onCommand2Clicked();
    void onCommand6Clicked();
    void onCommand7Clicked();
    void onCommand8Clicked();
    void onCommand9Clicked();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void buildStartArea();
    void buildQuestionArea();
    void buildResultArea();

    void keepCurrentAnswer();
    void layOutStep(int step, bool forward);
    void restoreStoredAnswer(int step);
    void describeQuestion();
    void selectOption(int option);
    void setOptionCaption(int index, const QString& caption);
    void restoreKindOptions();
    void focusChoice();
    void setQuestionArea(bool visible);
    void runCalculation();

    Store& store_;
    Navigator& navigator_;
    std::unique_ptr<Form2> help_;
    std::unique_ptr<Form4> payrollInfo_;
    std::unique_ptr<Form5> servicesInfo_;

    // Start area
    QLabel* label18_;
    QLabel* label15_;
    QComboBox* combo1_;
    QLabel* label16_;
    QComboBox* combo2_;
    QLabel* label17_;
    QPushButton* command4_;
    QPushButton* commandButton3_;
    QCheckBox* check1_;
    QPushButton* command3_;
    QCheckBox* check2_;
    QPushButton* command5_;
    QLabel* label19_;
    QPushButton* command7_;
    QPushButton* command8_;
    QPushButton* command9_;
    QLabel* label21_;
    // Question area
    QLabel* label1_;
    QLineEdit* textBox1_;
    QLabel* label2_;
    QLabel* label22_;
    std::array<QRadioButton*, 3> options_{};
    QPushButton* commandButton1_;
    QPushButton* commandButton2_;
    QPushButton* command1_;
    // Result area
    std::array<QLabel*, 12> resultLabels_{};
    std::array<QLineEdit*, 6> resultBoxes_{};
    QPushButton* command2_;
    QPushButton* command6_;
    QLabel* label20_;
};

}  // namespace normativ
