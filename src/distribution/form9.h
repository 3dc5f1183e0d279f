#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace normativ {

struct Navigator;
class Form10;

/// The distribution introduction: explains the distribution records between the
/// institution-kind question and the record editor, and leads either into the editor
/// (preparing the main window's next question on the way) or back to the kind question.
class Form9 : public QWidget {
    Q_OBJECT

  public:
    Form9(Navigator& navigator, Form10& editor, QWidget* parent = nullptr);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private slots:
    void onCommand1Clicked();
    void onCommandButton2Clicked();

  private:
    void layOut();

    Navigator& navigator_;
    Form10& editor_;

    QLabel* label6_ = nullptr;
    QLabel* label2_ = nullptr;
    QLabel* label3_ = nullptr;
    QLabel* label4_ = nullptr;
    QLabel* label5_ = nullptr;
    QPushButton* commandButton2_ = nullptr;
    QPushButton* command1_ = nullptr;
};

}  // namespace normativ
