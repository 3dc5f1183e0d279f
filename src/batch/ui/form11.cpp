#include "form11.h"

#include "batchtexts.h"
#include "dialogs.h"
#include "form11texts.h"
#include "numbers.h"
#include "screenfit.h"
#include "steptexts.h"
#include "store.h"
#include "summaryworkbook.h"
#include "workbooksaver.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

namespace normativ {

namespace {

const Form11Texts& text() {
    return form11Texts();
}

/// The input's place in the list, on its file cell.
constexpr int kIndexRole = Qt::UserRole;
/// A number to sort by, on the cells of figures.
constexpr int kSortRole = Qt::UserRole + 1;

/// A cell that sorts figures as numbers, blanks after them, and texts as the user's
/// language orders them.
class GridItem : public QTableWidgetItem {
  public:
    using QTableWidgetItem::QTableWidgetItem;

    bool operator<(const QTableWidgetItem& other) const override {
        const QVariant mine = data(kSortRole);
        const QVariant theirs = other.data(kSortRole);
        if (mine.isValid() && theirs.isValid()) return mine.toDouble() < theirs.toDouble();
        if (mine.isValid() != theirs.isValid()) return mine.isValid();
        return QString::localeAwareCompare(text(), other.text()) < 0;
    }
};

QTableWidgetItem* figureItem(double value, const QString& shown) {
    auto* item = new GridItem(shown);
    item->setData(kSortRole, value);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

/// The designed size, in device-independent pixels.
constexpr QSize kDesignedSize{1100, 620};
/// The widths of the table's columns, in device-independent pixels.
constexpr int kColumnWidths[summary::kColumns] = {190, 230, 100, 120, 90,  130,
                                                  130, 130, 140, 140, 140, 320};

/// Inputs are read by the user's locale; a plain locale of the same symbols when it is
/// the system's, so that the computing threads don't wait on each other.
QLocale readingLocale(const QLocale& storeLocale) {
    return storeLocale == QLocale::system() ? userNumberLocale() : storeLocale;
}

QString absolute(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

}  // namespace

Form11::Form11(Store& store, Navigator& navigator, QWidget* parent)
    : QWidget(parent), store_(store), navigator_(navigator) {
    setObjectName(QStringLiteral("Form11"));
    setWindowTitle(text().caption);
    setAcceptDrops(true);

    const auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    command1_ = button("Command1", text().addFilesButton);
    command2_ = button("Command2", text().addFolderButton);
    command3_ = button("Command3", text().clearButton);
    check1_ = new QCheckBox(wizard::mainWindowTexts().payrollModeCheck, this);
    check1_->setObjectName(QStringLiteral("Check1"));
    check2_ = new QCheckBox(wizard::mainWindowTexts().servicesModeCheck, this);
    check2_->setObjectName(QStringLiteral("Check2"));

    grid1_ = new QTableWidget(0, summary::kColumns, this);
    grid1_->setObjectName(QStringLiteral("Grid1"));
    grid1_->setAccessibleName(text().caption);
    grid1_->setHorizontalHeaderLabels(batchTexts().summaryHeader);
    grid1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid1_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid1_->setWordWrap(false);
    grid1_->setTextElideMode(Qt::ElideRight);
    grid1_->verticalHeader()->setDefaultSectionSize(grid1_->fontMetrics().height() + 8);
    QHeaderView* header = grid1_->horizontalHeader();
    // The workbook's long captions wrap over a few lines instead of widening the columns.
    header->setDefaultAlignment(Qt::Alignment::fromInt(Qt::AlignCenter | Qt::TextWordWrap));
    header->setStretchLastSection(true);
    int headerHeight = 0;
    for (int column = 0; column < summary::kColumns; ++column) {
        grid1_->setColumnWidth(column, kColumnWidths[column]);
        const QRect wrapped = header->fontMetrics().boundingRect(
            QRect(0, 0, kColumnWidths[column] - 12, 1000), Qt::AlignCenter | Qt::TextWordWrap,
            batchTexts().summaryHeader[column]);
        headerHeight = std::max(headerHeight, wrapped.height());
    }
    header->setFixedHeight(headerHeight + 12);
    grid1_->installEventFilter(this);

    progressBar1_ = new QProgressBar(this);
    progressBar1_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar1_->setFormat(text().progressFormat);
    progressBar1_->setRange(0, 1);
    progressBar1_->setValue(0);
    label1_ = new QLabel(this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    command4_ = button("Command4", text().calculateButton);
    command5_ = button("Command5", text().saveButton);
    command6_ = button("Command6", text().closeButton);

    auto* inputs = new QHBoxLayout;
    inputs->addWidget(command1_);
    inputs->addWidget(command2_);
    inputs->addWidget(command3_);
    inputs->addStretch();
    auto* actions = new QHBoxLayout;
    actions->addWidget(command4_);
    actions->addWidget(command5_);
    actions->addStretch();
    actions->addWidget(command6_);
    // On a small screen the whole content scrolls; the table scrolls on its own as well.
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->addLayout(inputs);
    layout->addWidget(check1_);
    layout->addWidget(check2_);
    layout->addWidget(grid1_, 1);
    layout->addWidget(progressBar1_);
    layout->addWidget(label1_);
    layout->addLayout(actions);
    auto* area = new QScrollArea(this);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(content);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(area);

    connect(command1_, &QPushButton::clicked, this, &Form11::onCommand1Clicked);
    connect(command2_, &QPushButton::clicked, this, &Form11::onCommand2Clicked);
    connect(command3_, &QPushButton::clicked, this, &Form11::onCommand3Clicked);
    connect(command4_, &QPushButton::clicked, this, &Form11::onCommand4Clicked);
    connect(command5_, &QPushButton::clicked, this, &Form11::onCommand5Clicked);
    connect(command6_, &QPushButton::clicked, this, &QWidget::close);
    // Results computed in the other mode no longer stand.
    connect(check1_, &QCheckBox::toggled, this, &Form11::forgetResults);
    connect(check2_, &QCheckBox::toggled, this, &Form11::forgetResults);
    updateControls();
}

Form11::~Form11() {
    stop_ = true;
    if (worker_.joinable()) worker_.join();
}

void Form11::openSummary() {
    if (!isVisible()) {
        // The designed size where the screen has room for it; the table scrolls otherwise.
        QSize size = kDesignedSize;
        if (const QScreen* screen =
                navigator_.main ? navigator_.main->widget()->screen() : nullptr) {
            const QRect available = screen->availableGeometry();
            size = size.boundedTo(available.size() - frameAllowance(this));
            move(available.topLeft());
        }
        resize(size);
    }
    if (navigator_.main) navigator_.main->widget()->setEnabled(false);
    show();
    raise();
    activateWindow();
}

void Form11::closeEvent(QCloseEvent* event) {
    // The inputs in flight are finished; their rows and the list stay for next time.
    if (running()) {
        stop_ = true;
        worker_.join();
    }
    if (navigator_.main) navigator_.main->widget()->setEnabled(true);
    event->accept();
}

QString Form11::startFolder() const {
    if (!lastFolder_.isEmpty() && QFileInfo(lastFolder_).isDir()) return lastFolder_;
    return WorkbookSaver::documentsFolder();
}

void Form11::onCommand1Clicked() {
    const QStringList files =
        Dialogs::openFileNames(this, text().addFilesTitle, startFolder(), text().workbookFilter);
    if (files.isEmpty()) return;
    lastFolder_ = QFileInfo(files.first()).absolutePath();
    std::vector<InputRef> inputs;
    for (const QString& file : files) inputs.push_back({file, {}});
    addInputs(inputs);
}

void Form11::onCommand2Clicked() {
    const QString folder = Dialogs::existingFolder(this, text().addFolderTitle, startFolder());
    if (folder.isEmpty()) return;
    lastFolder_ = folder;
    const std::vector<InputRef> inputs = expandInputs({folder});
    if (inputs.empty()) {
        Dialogs::information(this, text().caption,
                             text().noWorkbooksInFolder.arg(QDir::toNativeSeparators(folder)));
        return;
    }
    addInputs(inputs);
}

void Form11::onCommand3Clicked() {
    if (running()) return;
    entries_.clear();
    forgetResults();
}

void Form11::onCommand4Clicked() {
    if (running()) {
        stopRun();
    } else {
        startRun();
    }
}

void Form11::onCommand5Clicked() {
    if (!complete()) return;
    std::vector<SummaryRow> rows;
    rows.reserve(entries_.size());
    for (const Entry& entry : entries_) rows.push_back(*entry.row);
    WorkbookSaver::save(this, buildSummaryWorkbook(rows, *runMethodology_), text().saveTitle,
                        text().summaryFileName);
}

void Form11::addInputs(const std::vector<InputRef>& inputs) {
    if (running()) return;
    // A file already in the list is not computed twice.
    std::set<QString> listed;
    for (const Entry& entry : entries_) listed.insert(absolute(entry.input.file));
    bool added = false;
    for (const InputRef& input : inputs) {
        if (!listed.insert(absolute(input.file)).second) continue;
        entries_.push_back({input, std::nullopt});
        added = true;
    }
    if (added) forgetResults();
}

// The rows in input order, without results: the list changed, or a run starts.
void Form11::forgetResults() {
    if (running()) return;
    for (Entry& entry : entries_) entry.row.reset();
    grid1_->setSortingEnabled(false);
    grid1_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    grid1_->clearContents();
    grid1_->setRowCount(static_cast<int>(entries_.size()));
    for (std::size_t i = 0; i < entries_.size(); ++i) addRow(entries_[i], i);
    progressBar1_->setRange(0, std::max<int>(1, static_cast<int>(entries_.size())));
    progressBar1_->setValue(0);
    label1_->clear();
    updateControls();
}

void Form11::addRow(const Entry& entry, std::size_t index) {
    const int row = static_cast<int>(index);
    auto* file = new GridItem(QFileInfo(entry.input.file).fileName());
    file->setData(kIndexRole, static_cast<qulonglong>(index));
    file->setToolTip(QDir::toNativeSeparators(entry.input.file));
    grid1_->setItem(row, summary::kFileColumn - 1, file);
    for (int column = summary::kFileColumn + 1; column <= summary::kColumns; ++column)
        grid1_->setItem(row, column - 1, new GridItem);
}

void Form11::startRun() {
    if (entries_.empty() || running()) return;
    forgetResults();
    CalcModes modes;
    modes.ownPayroll = check1_->isChecked();
    modes.ownServices = check2_->isChecked();
    modes.given = modes.ownPayroll || modes.ownServices;
    modes.methodology = store_.methodology;
    runMethodology_ = store_.methodology;
    std::vector<InputRef> inputs;
    inputs.reserve(entries_.size());
    for (const Entry& entry : entries_) inputs.push_back(entry.input);
    const QLocale locale = readingLocale(store_.locale);
    stop_ = false;
    // Rows stay in input order while a run fills them.
    worker_ = std::thread([this, inputs = std::move(inputs), modes, locale] {
        RunControl control;
        control.stop = &stop_;
        streamInputs(
            inputs, modes, locale,
            [this](std::size_t index, InputOutcome&& outcome) {
                QMetaObject::invokeMethod(
                    this, [this, index, row = std::move(outcome.row)] { showOutcome(index, row); },
                    Qt::QueuedConnection);
            },
            control);
        QMetaObject::invokeMethod(
            this, [this] { finishRun(); }, Qt::QueuedConnection);
    });
    updateControls();
}

void Form11::stopRun() {
    stop_ = true;
    command4_->setEnabled(false);
}

void Form11::showOutcome(std::size_t index, const SummaryRow& row) {
    if (index >= entries_.size()) return;
    entries_[index].row = row;
    const int r = static_cast<int>(index);
    const QLocale& locale = store_.locale;
    const auto set = [&](int column, QTableWidgetItem* item) {
        grid1_->setItem(r, column - 1, item);
    };
    set(summary::kInstitutionColumn, new GridItem(row.institution));
    auto* year = new GridItem(row.year);
    year->setTextAlignment(Qt::AlignCenter);
    set(summary::kYearColumn, year);
    if (const auto& f = row.figures) {
        set(summary::kPupilsColumn, figureItem(f->pupils, plainText(f->pupils, locale)));
        set(summary::kGroupsColumn, figureItem(f->groups, plainText(f->groups, locale)));
        const std::pair<int, double> amounts[] = {
            {summary::kEducationNormColumn, f->educationNorm},
            {summary::kMaintenanceNormColumn, f->maintenanceNorm},
            {summary::kTotalNormColumn, f->totalNorm},
            {summary::kEducationSubsidyColumn, f->educationSubsidy},
            {summary::kMaintenanceSubsidyColumn, f->maintenanceSubsidy},
            {summary::kTotalSubsidyColumn, f->totalSubsidy},
        };
        for (const auto& [column, value] : amounts)
            set(column, figureItem(value, formatFixed(value, 2, locale)));
    }
    set(summary::kStatusColumn, new GridItem(row.status));
    grid1_->item(r, summary::kInstitutionColumn - 1)->setToolTip(row.institution);
    grid1_->item(r, summary::kStatusColumn - 1)->setToolTip(row.status);
    if (!row.figures) {
        // A failed input stands out in every cell of its row, and tells why wherever the
        // pointer rests: the result column may be scrolled out of sight.
        for (int column = 0; column < summary::kColumns; ++column) {
            if (QTableWidgetItem* item = grid1_->item(r, column)) {
                item->setBackground(QColor(255, 224, 224));
                item->setForeground(QColor(150, 0, 0));
                if (column != summary::kFileColumn - 1) item->setToolTip(row.status);
            }
        }
    }
    progressBar1_->setValue(r + 1);
    showTotals();
}

void Form11::finishRun() {
    if (worker_.joinable()) worker_.join();
    grid1_->setSortingEnabled(true);
    showTotals();
    updateControls();
}

// The totals as the summary workbook's totals row gives them: the computed inputs
// counted and their subsidies summed in input order.
void Form11::showTotals() {
    int computed = 0;
    double subsidies = 0;
    for (const Entry& entry : entries_) {
        if (!entry.row || !entry.row->figures) continue;
        ++computed;
        subsidies += entry.row->figures->totalSubsidy;
    }
    label1_->setText(text()
                         .resultLine.arg(computed)
                         .arg(static_cast<qulonglong>(entries_.size()))
                         .arg(formatFixed(subsidies, 2, store_.locale)));
}

// Every file of the list has its outcome from the last run: a summary can be saved.
bool Form11::complete() const {
    return !running() && !entries_.empty() &&
           std::all_of(entries_.begin(), entries_.end(), [](const Entry& e) { return e.row; });
}

void Form11::updateControls() {
    const bool busy = running();
    const bool any = !entries_.empty();
    command4_->setText(busy ? text().stopButton : text().calculateButton);
    command4_->setEnabled(busy ? !stop_ : any);
    for (QWidget* w : std::initializer_list<QWidget*>{command1_, command2_, check1_, check2_})
        w->setEnabled(!busy);
    command3_->setEnabled(!busy && any);
    command5_->setEnabled(complete());
}

bool Form11::eventFilter(QObject* watched, QEvent* event) {
    // Delete takes the selected files off the list.
    if (watched == grid1_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete && !running()) {
        std::set<std::size_t> removed;
        for (const QModelIndex& index : grid1_->selectionModel()->selectedRows(0)) {
            if (const QTableWidgetItem* file = grid1_->item(index.row(), 0))
                removed.insert(file->data(kIndexRole).toULongLong());
        }
        if (removed.empty()) return false;
        std::vector<Entry> kept;
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            if (!removed.count(i)) kept.push_back(std::move(entries_[i]));
        }
        entries_ = std::move(kept);
        forgetResults();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Form11::dragEnterEvent(QDragEnterEvent* event) {
    if (!running() && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void Form11::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) paths << url.toLocalFile();
    }
    // Files as they are; a folder as its workbooks, as "Добавить папку…" takes them.
    QStringList files;
    QStringList folders;
    for (const QString& path : paths) (QFileInfo(path).isDir() ? folders : files) << path;
    std::vector<InputRef> inputs;
    for (const QString& file : files) inputs.push_back({file, {}});
    for (InputRef& input : expandInputs(folders)) inputs.push_back(std::move(input));
    addInputs(inputs);
    event->acceptProposedAction();
}

}  // namespace normativ
