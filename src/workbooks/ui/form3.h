#pragma once

#include "navigation.h"

#include <QString>
#include <QWidget>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTreeView;

namespace normativ {

struct Store;

/// "Загрузка статистической формы/сохраненного отчета": the user picks a saved report
/// or a statistical form with the drive, folder and file lists, and "Начать работу"
/// fills the record from it. The window lives for the whole run, so the chosen path is
/// kept between openings.
class Form3 : public QWidget, public LoaderPort {
    Q_OBJECT
  public:
    Form3(Store& store, Navigator& navigator, QWidget* parent = nullptr);
    ~Form3() override;

    /// Shows the window (the main window hides itself).
    void openLoader() override;

    /// The full path of the chosen file (`LoadPath`), with the platform's separators;
    /// empty until a file is chosen.
    const QString& loadPath() const { return loadPath_; }
    /// The folder whose files the file list shows.
    const QString& currentDirectory() const { return directory_; }
    /// Moves the drive and folder lists to a folder, as choosing it there would.
    void showDirectory(const QString& path);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private slots:
    void onDrive1Changed(int index);
    void onDir1Changed();
    void onFile1Changed();
    void onFile1DoubleClicked(QListWidgetItem* item);
    void onCommand1Clicked();

  private:
    void fillDrives();
    /// The entry of the volume holding `path`, added when the list lacks it.
    int driveIndexOf(const QString& path);
    void fillFiles();
    void setDriveRoot(const QString& root);
    void setLabel3(const QString& text);
    /// Places the controls as designed, the path and error lines growing with their text.
    void arrange();

    Store& store_;
    Navigator& navigator_;
    QString loadPath_;
    QString directory_;
    /// Set while the program itself moves the folder list.
    bool moving_ = false;

    QLabel* label1_;
    QComboBox* drive1_;
    QTreeView* dir1_;
    QFileSystemModel* dirModel_;
    QListWidget* file1_;
    QLabel* label2_;
    QLabel* label4_;
    QLabel* label3_;
    QPushButton* command1_;
};

}  // namespace normativ
