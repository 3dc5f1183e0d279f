#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace normativ {

/// The welcome window: four texts and the button that opens the main window.
class Form8 : public QWidget {
    Q_OBJECT
  public:
    explicit Form8(QWidget* mainWindow, QWidget* parent = nullptr);

  private slots:
    void onCommand1Clicked();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QWidget* mainWindow_;
};

/// An information window of the start screen: one text and "Закрыть". While it is open
/// the main window is disabled; every way of closing it enables the main window again.
class InfoWindow : public QWidget {
    Q_OBJECT
  public:
    /// Shows the window and disables the main window until it is closed.
    void open();

  private slots:
    void onCommand1Clicked();

  protected:
    InfoWindow(const QString& name, const QString& caption, const QString& text, int buttonLeft,
               int buttonTop, int height, QWidget* mainWindow);
    void closeEvent(QCloseEvent* event) override;

  private:
    QWidget* mainWindow_;
};

class Form4 : public InfoWindow {
    Q_OBJECT
  public:
    explicit Form4(QWidget* mainWindow);
};

class Form5 : public InfoWindow {
    Q_OBJECT
  public:
    explicit Form5(QWidget* mainWindow);
};

}  // namespace normativ
