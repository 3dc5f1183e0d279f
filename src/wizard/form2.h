#pragma once

#include <QWidget>

class QLabel;

namespace normativ {

/// The help window: one text and "Закрыть". Modeless; it keeps its text until "справка"
/// is pressed again.
class Form2 : public QWidget {
    Q_OBJECT
  public:
    explicit Form2(QWidget* parent = nullptr);
    void showHelp(const QString& text);

  private slots:
    void onCommand1Clicked();

  private:
    QLabel* label1_;
};

}  // namespace normativ
