#pragma once

#include "navigation.h"

#include <QList>
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

    /// A mounted volume: where it is mounted and its name (empty when it has none).
    struct Volume {
        QString root;
        QString name;
    };
    /// An entry of the drive list: what it shows and the folder it opens.
    struct Drive {
        QString label;
        QString root;
    };
    /// The drive list, as a file manager offers the places: the home folder, the
    /// removable media (volumes mounted under /media or /run/media) by their names, then
    /// the other volumes by their paths. One entry per folder.
    static QList<Drive> driveList(const QString& home, const QList<Volume>& volumes);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private slots:
    void onDrive1Changed(int index);
    void onDir1Changed();
    void onFile1Changed();
    void onFile1DoubleClicked(QListWidgetItem* item);
    void onCommand1Clicked();
    void onDirModelChanged();

  private:
    void fillDrives();
    /// The entry nearest above `path` (the home folder before the volume holding it);
    /// the volume's entry is added when the list lacks it.
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
    /// Set from moving the folder list to a folder until the user scrolls it or chooses
    /// another: folders read or sorted later keep the chosen one in view.
    bool keepChosenInView_ = false;

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
