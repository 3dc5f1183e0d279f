#include "form3.h"

#include "screenfit.h"
#include "twips.h"
#include "workbookloader.h"
#include "workbooksaver.h"
#include "workbooktexts.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStorageInfo>
#include <QTreeView>
#include <algorithm>

namespace normativ {

namespace {

// Geometry, in twips, as designed; the texts grow downwards where the font needs more
// lines, and everything below them moves down.
constexpr int kMargin = 240;
constexpr int kWindowWidth = 7215;
constexpr int kContentWidth = kWindowWidth - 2 * kMargin;
constexpr int kLabel1Top = 120;
constexpr int kLabel1Height = 495;
constexpr int kListsTop = 840;
constexpr int kLeftListWidth = 3135;
constexpr int kRightListLeft = 3600;
constexpr int kDriveHeight = 315;
constexpr int kListsHeight = 2955;
constexpr int kPathTop = 3960;
constexpr int kLineHeight = 255;
constexpr int kPathLeft = 1560;
constexpr int kLabel3Top = 4440;
constexpr int kButtonTop = 5040;
constexpr int kButtonWidth = 2055;
constexpr int kButtonHeight = 495;
constexpr int kGap = 120;

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

/// Height of a label's text wrapped within `width`, at least one designed line.
int wrappedHeight(const QLabel* label, int width) {
    return std::max(twips(kLineHeight), label->heightForWidth(width));
}

/// The folder the window starts in: that of the file chosen before, else the folder
/// where the program proposes to save its reports.
QString startDirectory(const QString& loadPath) {
    if (!loadPath.isEmpty()) {
        const QString folder = QFileInfo(QDir::fromNativeSeparators(loadPath)).absolutePath();
        if (QDir(folder).exists()) return folder;
    }
    return WorkbookSaver::documentsFolder();
}

/// Whether `path` is the folder `root` or lies within it.
bool isWithin(const QString& path, const QString& root) {
    if (root.isEmpty()) return false;
    return path == root ||
           path.startsWith(root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/'));
}

/// Where the desktop mounts a memory stick or a disc.
bool isRemovable(const QString& root) {
    return root.startsWith(QLatin1String("/media/")) ||
           root.startsWith(QLatin1String("/run/media/"));
}

}  // namespace

Form3::Form3(Store& store, Navigator& navigator, QWidget* parent)
    : QWidget(parent, Qt::Window), store_(store), navigator_(navigator) {
    setObjectName(QStringLiteral("Form3"));
    const WorkbookWindowTexts& texts = workbookWindowTexts();
    setWindowTitle(texts.loaderCaption);

    label1_ = makeLabel(this, "Label1", texts.locationPrompt);

    drive1_ = new QComboBox(this);
    drive1_->setObjectName(QStringLiteral("Drive1"));
    drive1_->setAccessibleName(texts.driveListName);

    dirModel_ = new QFileSystemModel(this);
    dirModel_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    dirModel_->setReadOnly(true);
    dir1_ = new QTreeView(this);
    dir1_->setObjectName(QStringLiteral("Dir1"));
    dir1_->setAccessibleName(texts.folderListName);
    dir1_->setModel(dirModel_);
    dir1_->setHeaderHidden(true);
    for (int column = 1; column < dirModel_->columnCount(); ++column) dir1_->hideColumn(column);
    dir1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dir1_->setSortingEnabled(true);
    dir1_->sortByColumn(0, Qt::AscendingOrder);

    file1_ = new QListWidget(this);
    file1_->setObjectName(QStringLiteral("File1"));
    file1_->setAccessibleName(texts.fileListName);

    label2_ = makeLabel(this, "Label2", texts.pathCaption);
    label4_ = makeLabel(this, "Label4", {});
    label3_ = makeLabel(this, "Label3", texts.notAWorkbookMessage);
    QPalette red = label3_->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    label3_->setPalette(red);
    label3_->hide();

    command1_ = new QPushButton(texts.startButton, this);
    command1_->setObjectName(QStringLiteral("Command1"));

    fillDrives();
    arrange();

    connect(drive1_, &QComboBox::currentIndexChanged, this, &Form3::onDrive1Changed);
    // The folder list is read and sorted after it is shown.
    connect(dirModel_, &QAbstractItemModel::rowsInserted, this, &Form3::onDirModelChanged);
    connect(dirModel_, &QAbstractItemModel::layoutChanged, this, &Form3::onDirModelChanged);
    connect(dir1_->verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this] { keepChosenInView_ = false; });
    // A folder or a file counts as chosen when it is selected (by a click or the arrow
    // keys), not when the list merely receives the focus.
    connect(dir1_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &Form3::onDir1Changed);
    connect(file1_, &QListWidget::itemSelectionChanged, this, &Form3::onFile1Changed);
    connect(file1_, &QListWidget::itemDoubleClicked, this, &Form3::onFile1DoubleClicked);
    connect(command1_, &QPushButton::clicked, this, &Form3::onCommand1Clicked);
}

Form3::~Form3() = default;

void Form3::arrange() {
    const int left = twips(kMargin);
    const int width = twips(kContentWidth);
    const QFontMetrics fm(font());
    const int label1Height = std::max(twips(kLabel1Height), wrappedHeight(label1_, width));
    label1_->setGeometry(left, twips(kLabel1Top), width, label1Height);

    const int down = std::max(0, twips(kLabel1Top) + label1Height + twips(kGap) - twips(kListsTop));
    const int listsTop = twips(kListsTop) + down;
    const int driveHeight = std::max(twips(kDriveHeight), drive1_->sizeHint().height());
    drive1_->setGeometry(left, listsTop, twips(kLeftListWidth), driveHeight);
    const int dirTop = listsTop + driveHeight + twips(kGap);
    dir1_->setGeometry(left, dirTop, twips(kLeftListWidth),
                       listsTop + twips(kListsHeight) - dirTop);
    file1_->setGeometry(twips(kRightListLeft), listsTop,
                        twips(kContentWidth) + left - twips(kRightListLeft), twips(kListsHeight));

    const int pathTop = twips(kPathTop) + down;
    const int captionWidth = fm.horizontalAdvance(label2_->text()) + 6;
    const int pathLeft = std::max(twips(kPathLeft), left + captionWidth + twips(kGap));
    const int pathWidth = left + width - pathLeft;
    label2_->setGeometry(left, pathTop, pathLeft - left, twips(kLineHeight));
    const int pathHeight = wrappedHeight(label4_, pathWidth);
    label4_->setGeometry(pathLeft, pathTop, pathWidth, pathHeight);

    // The error line keeps room for the longer of its messages, so the window does not
    // jump when it appears.
    const int label3Top = std::max(twips(kLabel3Top) + down, pathTop + pathHeight + twips(kGap));
    const QString& notAWorkbook = workbookWindowTexts().notAWorkbookMessage;
    const int label3Height = std::max(
        fm.boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap, notAWorkbook).height(),
        wrappedHeight(label3_, width));
    label3_->setGeometry(left, label3Top, width, label3Height);

    const int buttonWidth =
        std::max(twips(kButtonWidth), fm.horizontalAdvance(command1_->text()) + 24);
    const int buttonHeight = std::max(twips(kButtonHeight), command1_->sizeHint().height());
    const int buttonTop =
        std::max(twips(kButtonTop) + down, label3Top + label3Height + twips(kGap));
    command1_->setGeometry((twips(kWindowWidth) - buttonWidth) / 2, buttonTop, buttonWidth,
                           buttonHeight);
    setDesignedSize(
        this, QSize(twips(kWindowWidth), buttonTop + buttonHeight + twips(2 * kGap + kMargin / 2)));
}

QList<Form3::Drive> Form3::driveList(const QString& home, const QList<Volume>& volumes) {
    const WorkbookWindowTexts& texts = workbookWindowTexts();
    QList<Drive> media;
    QList<Drive> others;
    for (const Volume& volume : volumes) {
        if (volume.root.isEmpty() || volume.root == home) continue;
        if (isRemovable(volume.root)) {
            // Unnamed media are mounted on a folder named after them.
            const QString name =
                volume.name.isEmpty() ? QFileInfo(volume.root).fileName() : volume.name;
            media.append({texts.removableDrive.arg(name), volume.root});
        } else {
            others.append({QDir::toNativeSeparators(volume.root), volume.root});
        }
    }
    const auto byRoot = [](const Drive& a, const Drive& b) { return a.root < b.root; };
    const auto sameRoot = [](const Drive& a, const Drive& b) { return a.root == b.root; };
    for (QList<Drive>* list : {&media, &others}) {
        std::sort(list->begin(), list->end(), byRoot);
        list->erase(std::unique(list->begin(), list->end(), sameRoot), list->end());
    }
    QList<Drive> drives;
    if (!home.isEmpty()) drives.append({texts.homeDrive, home});
    drives << media << others;
    return drives;
}

void Form3::fillDrives() {
    const QSignalBlocker quiet(drive1_);
    drive1_->clear();
    QList<Volume> volumes;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady()) continue;
        volumes.append({volume.rootPath(), volume.name()});
    }
    for (const Drive& drive : driveList(QDir::cleanPath(QDir::homePath()), volumes)) {
        drive1_->addItem(drive.label, drive.root);
        drive1_->setItemData(drive1_->count() - 1, QDir::toNativeSeparators(drive.root),
                             Qt::ToolTipRole);
    }
}

int Form3::driveIndexOf(const QString& path) {
    const QString volume = QStorageInfo(path).rootPath();
    if (!volume.isEmpty() && drive1_->findData(volume) < 0) {
        // A volume the list left out (a memory file system, say) still gets an entry.
        drive1_->addItem(QDir::toNativeSeparators(volume), volume);
    }
    int nearest = -1;
    for (int i = 0; i < drive1_->count(); ++i) {
        const QString root = drive1_->itemData(i).toString();
        if (isWithin(path, root) &&
            (nearest < 0 || root.size() > drive1_->itemData(nearest).toString().size())) {
            nearest = i;
        }
    }
    return nearest;
}

void Form3::setDriveRoot(const QString& root) {
    keepChosenInView_ = false;
    moving_ = true;
    dir1_->setRootIndex(dirModel_->setRootPath(root));
    dir1_->clearSelection();
    dir1_->setCurrentIndex({});
    moving_ = false;
    directory_ = root;
}

void Form3::showDirectory(const QString& path) {
    QString folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    while (!QDir(folder).exists() && !QDir(folder).isRoot()) {
        folder = QFileInfo(folder).absolutePath();
    }
    const int drive = driveIndexOf(folder);
    if (drive < 0) return;
    {
        const QSignalBlocker quiet(drive1_);
        drive1_->setCurrentIndex(drive);
    }
    const QString root = drive1_->itemData(drive).toString();
    setDriveRoot(root);
    if (QDir(folder) != QDir(root)) {
        const QModelIndex index = dirModel_->index(folder);
        moving_ = true;
        dir1_->setCurrentIndex(index);
        moving_ = false;
        // Its own folders in view too.
        dir1_->expand(index);
        dir1_->scrollTo(index);
        keepChosenInView_ = true;
    }
    directory_ = folder;
    fillFiles();
}

void Form3::fillFiles() {
    const QSignalBlocker quiet(file1_);
    file1_->clear();
    const QDir folder(directory_);
    file1_->addItems(folder.entryList({workbookWindowTexts().filePattern}, QDir::Files,
                                      QDir::Name | QDir::IgnoreCase));
}

void Form3::setLabel3(const QString& text) {
    label3_->setText(text);
    label3_->show();
    arrange();
}

void Form3::openLoader() {
    // Volumes and files may have come and gone since the last opening.
    fillDrives();
    showDirectory(directory_.isEmpty() ? startDirectory(loadPath_) : directory_);
    show();
    raise();
    activateWindow();
}

void Form3::onDrive1Changed(int index) {
    if (index < 0) return;
    setDriveRoot(drive1_->itemData(index).toString());
    fillFiles();
}

void Form3::onDirModelChanged() {
    if (keepChosenInView_ && dir1_->currentIndex().isValid()) {
        dir1_->scrollTo(dir1_->currentIndex());
    }
}

void Form3::onDir1Changed() {
    if (moving_) return;
    keepChosenInView_ = false;
    const QModelIndexList chosen = dir1_->selectionModel()->selectedRows();
    if (chosen.isEmpty()) return;
    directory_ = dirModel_->filePath(chosen.first());
    fillFiles();
}

void Form3::onFile1Changed() {
    const QList<QListWidgetItem*> chosen = file1_->selectedItems();
    if (chosen.isEmpty()) return;
    loadPath_ = QDir::toNativeSeparators(QDir(directory_).filePath(chosen.first()->text()));
    label4_->setText(loadPath_);
    arrange();
}

void Form3::onFile1DoubleClicked(QListWidgetItem* item) {
    file1_->setCurrentItem(item);
    onCommand1Clicked();
}

void Form3::onCommand1Clicked() {
    if (label4_->text().isEmpty()) {
        setLabel3(loaderTexts().noFileChosen);
    } else {
        const WorkbookLoadResult loaded = loadWorkbookFileIntoStore(loadPath_, store_);
        if (!loaded.ok) {
            setLabel3(loaded.message);
        } else {
            label3_->hide();
            hide();
            if (navigator_.main) navigator_.main->showFirstStepAfterLoad();
        }
    }
    // Whatever the outcome, the modes chosen on the start screen stand from now on.
    if (navigator_.main) navigator_.main->hideModeChecks();
}

void Form3::closeEvent(QCloseEvent* event) {
    event->accept();
    if (navigator_.main) navigator_.main->returnFromLoader();
}

}  // namespace normativ
