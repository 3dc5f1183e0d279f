#include "form6.h"

#include "estimatetexts.h"
#include "fitting.h"
#include "form7.h"
#include "payrollestimate.h"
#include "servicesestimate.h"
#include "store.h"
#include "twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>

#include <cmath>

namespace normativ {

namespace {

// Geometry, in twips, as designed; a column, the header or a button grows where the
// font in use needs more room.
/// The frame starts above the window's top edge by its empty top strip.
constexpr int kFrameTop = -120;
constexpr int kFrameWidth = 11535;
constexpr int kFrameHeight = 10680;
constexpr int kHeaderTop = 120;
constexpr int kFirstRowTop = 720;
constexpr int kRowPitch = 360;
constexpr int kCaptionLeft = 240;
constexpr int kCaptionWidth = 5175;
constexpr int kCaptionHeight = 255;
constexpr int kBoxHeight = 285;
constexpr int kColumnGap = 105;
constexpr std::array<int, 5> kColumnLeft{5280, 6360, 7440, 8520, 9960};
constexpr std::array<int, 5> kColumnWidth{975, 975, 975, 1335, 1335};
constexpr int kButtonGap = 480;  ///< from the top of the last row to the buttons
constexpr std::array<int, 2> kButtonLeft{2280, 6120};
constexpr int kButtonWidth = 2895;
constexpr int kButtonHeight = 615;
constexpr int kRightMargin = 240;
constexpr int kBottomMargin = 225;
/// Below this inner size the window snaps to kSnapWidth × kSnapHeight (outer size).
constexpr int kSmallestInner = 500;
constexpr int kSnapWidth = 1800;
constexpr int kSnapHeight = 1500;

/// The label of each grid row (rows 1 to 25).
constexpr std::array<int, 25> kRowLabel{1,  2,  3,  4,  5,  6,  12, 32, 13, 14, 15, 16, 17,
                                        18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 31};

struct Header {
    int label;
    int left;  ///< relative to its column's box
    int top;
    int extraWidth;  ///< beyond its column's box
};
/// Column headers, columns 1 to 5.
constexpr std::array<Header, 5> kHeaders{{
    {11, -75, 120, 120},
    {10, 0, 120, 0},
    {9, -120, 120, 240},
    {8, 0, 120, 0},
    {7, 0, 240, 0},
}};

using fitting::signedTwips;

QString boxName(int number) {
    return QStringLiteral("Text%1").arg(number);
}

/// The range of a scroll bar that moves content of `content` pixels through a view of
/// `view` pixels: from view − content (the far end, negative) to 0.
void setScrollRange(QScrollBar* bar, int view, int content) {
    bar->setRange(view - content, 0);
    bar->setSingleStep(static_cast<int>(std::lround((content - view) / 20.0)));
    bar->setPageStep(static_cast<int>(std::lround(double(view) * view / content)));
}

}  // namespace

Form6::Form6(Store& store, QWidget* parent) : QWidget(parent), store_(store) {
    setObjectName(QStringLiteral("Form6"));
    const EstimateTexts& texts = estimateTexts();
    setWindowTitle(texts.payrollCaption);

    frame1_ = new QFrame(this);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    frame1_->setFrameShape(QFrame::NoFrame);
    buildGrid();
    command1_ = new QPushButton(texts.closeButton, frame1_);
    command1_->setObjectName(QStringLiteral("Command1"));
    command2_ = new QPushButton(texts.servicesButton, frame1_);
    command2_->setObjectName(QStringLiteral("Command2"));
    arrange();

    vScroll1_ = new QScrollBar(Qt::Vertical, this);
    vScroll1_->setObjectName(QStringLiteral("VScroll1"));
    hScroll1_ = new QScrollBar(Qt::Horizontal, this);
    hScroll1_->setObjectName(QStringLiteral("HScroll1"));
    // The far end of a bar is its most negative value: the frame moves up or left. The
    // handle, the arrow keys and the wheel still go down (or right) towards that end.
    for (QScrollBar* bar : {vScroll1_, hScroll1_}) {
        bar->setInvertedAppearance(true);
        bar->hide();
    }
    vScroll1_->setInvertedControls(false);
    hScroll1_->setInvertedControls(true);

    connect(command1_, &QPushButton::clicked, this, &Form6::onCommand1Clicked);
    connect(command2_, &QPushButton::clicked, this, &Form6::onCommand2Clicked);
    connect(vScroll1_, &QScrollBar::valueChanged, this, &Form6::onVScroll1ValueChanged);
    connect(hScroll1_, &QScrollBar::valueChanged, this, &Form6::onHScroll1ValueChanged);

    // The whole width of the grid, and as much of its height as the screen allows.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    int height = frame1_->height() + frame1_->y();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        height = std::min(height, screen->availableGeometry().height() - 2 * bar);
    }
    resize(frame1_->width() + bar, height);
}

Form6::~Form6() = default;

void Form6::buildGrid() {
    const EstimateTexts& texts = estimateTexts();
    for (int c = 0; c < 5; ++c) {
        auto* label = new QLabel(texts.payrollColumnCaptions[c], frame1_);
        label->setObjectName(QStringLiteral("Label%1").arg(kHeaders[c].label));
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        headers_[c] = label;
    }
    for (int r = 1; r <= SavedPayrollEstimateText::kRows; ++r) {
        auto* label = new QLabel(texts.payrollRowCaptions[r - 1], frame1_);
        label->setObjectName(QStringLiteral("Label%1").arg(kRowLabel[r - 1]));
        rowCaptions_[r - 1] = label;
        for (int c = 1; c <= SavedPayrollEstimateText::kColumns; ++c) {
            const int number = SavedPayrollEstimateText::boxNumber(r, c);
            auto* edit = new QLineEdit(boxName(number), frame1_);
            edit->setObjectName(boxName(number));
            boxes_[SavedPayrollEstimateText::indexOfBox(number)] = edit;
        }
    }
}

void Form6::arrange() {
    const QFontMetrics fm(font());

    // Row captions: the columns move right by what the captions need beyond their width.
    int captionWidth = twips(kCaptionWidth);
    for (const QLabel* caption : rowCaptions_) {
        captionWidth = std::max(captionWidth, fm.horizontalAdvance(caption->text()) + 4);
    }
    std::array<int, 5> left{};
    std::array<int, 5> width{};
    int next = twips(kColumnLeft[0]) + captionWidth - twips(kCaptionWidth);
    for (int c = 0; c < 5; ++c) {
        const Header& h = kHeaders[c];
        left[c] = next;
        width[c] = std::max(twips(kColumnWidth[c]),
                            fitting::widestWord(fm, headers_[c]->text()) + 6 - twips(h.extraWidth));
        next = left[c] + width[c] + twips(kColumnGap);
    }

    // Headers wrap within their columns; the rows move down by what they need beyond
    // their designed height.
    int rowsDown = 0;
    for (int c = 0; c < 5; ++c) {
        const Header& h = kHeaders[c];
        const int need =
            fitting::wrappedHeight(fm, width[c] + twips(h.extraWidth), headers_[c]->text());
        rowsDown = std::max(rowsDown, need - (twips(kFirstRowTop) - twips(h.top)));
    }
    const int firstRowTop = twips(kFirstRowTop) + rowsDown;
    for (int c = 0; c < 5; ++c) {
        const Header& h = kHeaders[c];
        headers_[c]->setGeometry(left[c] + signedTwips(h.left), twips(h.top),
                                 width[c] + twips(h.extraWidth), firstRowTop - twips(h.top));
    }

    const int boxHeight = std::max(twips(kBoxHeight), fitting::boxHeight(fm));
    const int captionHeight = twips(kCaptionHeight) + boxHeight - twips(kBoxHeight);
    const int pitch = twips(kRowPitch) + boxHeight - twips(kBoxHeight);
    for (int r = 1; r <= SavedPayrollEstimateText::kRows; ++r) {
        const int top = firstRowTop + pitch * (r - 1);
        rowCaptions_[r - 1]->setGeometry(twips(kCaptionLeft), top, captionWidth, captionHeight);
        for (int c = 1; c <= SavedPayrollEstimateText::kColumns; ++c) {
            box(SavedPayrollEstimateText::boxNumber(r, c))
                ->setGeometry(left[c - 1], top, width[c - 1], boxHeight);
        }
    }

    const int buttonTop =
        firstRowTop + pitch * (SavedPayrollEstimateText::kRows - 1) + twips(kButtonGap);
    const int buttonHeight = std::max(twips(kButtonHeight), fm.height() + 12);
    int buttonLeft = 0;
    for (int i = 0; i < 2; ++i) {
        QPushButton* button = i == 0 ? command1_ : command2_;
        const int w = std::max(twips(kButtonWidth),
                               fm.horizontalAdvance(button->text()) + fitting::kButtonPadding);
        buttonLeft = std::max(buttonLeft, twips(kButtonLeft[i]));
        button->setGeometry(buttonLeft, buttonTop, w, buttonHeight);
        buttonLeft += w + twips(kColumnGap);
    }

    frame1_->setGeometry(
        0, signedTwips(kFrameTop),
        std::max(twips(kFrameWidth), next - twips(kColumnGap) + twips(kRightMargin)),
        std::max(twips(kFrameHeight), buttonTop + buttonHeight + twips(kBottomMargin)));
}

void Form6::showEstimate(const PayrollEstimate& estimate) {
    for (int r = 1; r <= PayrollEstimate::kRows; ++r) {
        for (int c = 1; c <= PayrollEstimate::kColumns; ++c) {
            box(SavedPayrollEstimateText::boxNumber(r, c))->setText(estimate.at(r, c));
        }
    }
}

SavedPayrollEstimateText Form6::gridTexts() const {
    SavedPayrollEstimateText copy;
    for (int i = 0; i < SavedPayrollEstimateText::kBoxes; ++i) copy.texts[i] = boxes_[i]->text();
    return copy;
}

QLineEdit* Form6::box(int number) const {
    return boxes_[SavedPayrollEstimateText::indexOfBox(number)];
}

void Form6::onCommand1Clicked() {
    returnToMainWindow();
}

void Form6::closeEvent(QCloseEvent* event) {
    event->accept();
    returnToMainWindow();
    unload();
}

void Form6::returnToMainWindow() {
    hide();
    if (mainWindow_) {
        mainWindow_->setEnabled(true);
        mainWindow_->raise();
        mainWindow_->activateWindow();
    }
}

void Form6::unload() {
    for (int i = 0; i < SavedPayrollEstimateText::kBoxes; ++i) {
        boxes_[i]->setText(boxes_[i]->objectName());
    }
    vScroll1_->setValue(0);
    hScroll1_->setValue(0);
    frame1_->move(0, signedTwips(kFrameTop));
}

void Form6::onCommand2Clicked() {
    store_.estimateCopies.payroll = gridTexts();
    if (!servicesWindow_) return;
    servicesWindow_->show();
    servicesWindow_->raise();
    servicesWindow_->activateWindow();
    hide();
    servicesWindow_->showEstimate(
        computeServicesEstimate(store_, store_.estimateCopies.payroll.at(25, 5)));
}

void Form6::onVScroll1ValueChanged(int value) {
    frame1_->move(frame1_->x(), value);
}

void Form6::onHScroll1ValueChanged(int value) {
    frame1_->move(value, frame1_->y());
}

void Form6::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (width() <= twips(kSmallestInner) || height() <= twips(kSmallestInner)) {
        const QSize border = frameGeometry().size() - size();
        resize(twipsSize(kSnapWidth, kSnapHeight) - border);
        return;
    }
    layoutScrollBars();
}

void Form6::layoutScrollBars() {
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int frameWidth = frame1_->width();
    const int frameHeight = frame1_->height();
    // A bar takes room from the view, which may make the other bar necessary too.
    bool needH = width() < frameWidth;
    bool needV = height() - (needH ? bar : 0) < frameHeight;
    needH = width() - (needV ? bar : 0) < frameWidth;
    const int viewWidth = width() - (needV ? bar : 0);
    const int viewHeight = height() - (needH ? bar : 0);

    if (needV) {
        vScroll1_->setGeometry(width() - bar, 0, bar, viewHeight);
        setScrollRange(vScroll1_, viewHeight, frameHeight);
        vScroll1_->show();
    } else {
        vScroll1_->hide();
        vScroll1_->setRange(0, 0);
        frame1_->move(frame1_->x(), signedTwips(kFrameTop));
    }
    if (needH) {
        hScroll1_->setGeometry(0, height() - bar, viewWidth, bar);
        setScrollRange(hScroll1_, viewWidth, frameWidth);
        hScroll1_->show();
    } else {
        hScroll1_->hide();
        hScroll1_->setRange(0, 0);
        frame1_->move(0, frame1_->y());
    }
}

void Form6::wheelEvent(QWheelEvent* event) {
    // The wheel anywhere over the grid scrolls it, as over the bar itself.
    if (vScroll1_->isVisible()) {
        QApplication::sendEvent(vScroll1_, event);
    } else {
        QWidget::wheelEvent(event);
    }
}

}  // namespace normativ
