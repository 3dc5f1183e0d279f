#include "form6.h"

#include "estimatetexts.h"
#include "fitting.h"
#include "form7.h"
#include "payrollestimate.h"
#include "screenfit.h"
#include "servicesestimate.h"
#include "store.h"
#include "twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
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
/// Above the buttons held at the bottom of a low window, over the rows beneath them.
constexpr int kStripTop = 120;
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
    // Made after the grid and before the buttons, so it lies over the one and under the
    // other.
    buttonStrip_ = new QWidget(frame1_);
    buttonStrip_->setAutoFillBackground(true);
    auto* stripLine = new QFrame(buttonStrip_);
    stripLine->setFrameShape(QFrame::HLine);
    stripLine->setFrameShadow(QFrame::Sunken);
    stripLine->setGeometry(0, 0, 100000, 2);
    buttonStrip_->hide();
    command1_ = new QPushButton(texts.closeButton, frame1_);
    command1_->setObjectName(QStringLiteral("Command1"));
    command2_ = new QPushButton(texts.servicesButton, frame1_);
    command2_->setObjectName(QStringLiteral("Command2"));
    command1_->installEventFilter(this);
    command2_->installEventFilter(this);
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
        // Reached with Tab after the buttons; the keys follow what the bar shows, not
        // the sign of its values.
        bar->setFocusPolicy(Qt::TabFocus);
        bar->installEventFilter(this);
    }
    vScroll1_->setInvertedControls(false);
    hScroll1_->setInvertedControls(true);
    corner_ = new QWidget(this);
    corner_->setAutoFillBackground(true);
    corner_->hide();

    connect(command1_, &QPushButton::clicked, this, &Form6::onCommand1Clicked);
    connect(command2_, &QPushButton::clicked, this, &Form6::onCommand2Clicked);
    connect(vScroll1_, &QScrollBar::valueChanged, this, &Form6::onVScroll1ValueChanged);
    connect(hScroll1_, &QScrollBar::valueChanged, this, &Form6::onHScroll1ValueChanged);
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
            // The row's caption and the column's name it.
            edit->setAccessibleName(texts.payrollRowCaptions[r - 1].simplified());
            edit->setAccessibleDescription(texts.payrollColumnCaptions[c - 1].simplified());
            // A box the keyboard reaches is scrolled into view.
            edit->installEventFilter(this);
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
        buttonPlaces_[i] = QRect(buttonLeft, buttonTop, w, buttonHeight);
        button->setGeometry(buttonPlaces_[i]);
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
    // However the user sized it, the window opens next time as designed.
    openAtDesignedSize_ = true;
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
    placeButtons();
}

void Form6::onHScroll1ValueChanged(int value) {
    frame1_->move(value, frame1_->y());
    placeButtons();
}

void Form6::showEvent(QShowEvent* event) {
    if (openAtDesignedSize_) {
        openAtDesignedSize_ = false;
        takeDesignedSize();
    }
    QWidget::showEvent(event);
}

void Form6::takeDesignedSize() {
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    // The frame's top strip lies above the window.
    const QSize content(frame1_->width(), frame1_->height() + signedTwips(kFrameTop));
    const QScreen* screen = this->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) {
        resize(content);
        return;
    }
    const QRect available = screen->availableGeometry();
    const QSize room = available.size() - frameAllowance(this);
    // A bar the view needs takes room beside or below the grid, as in layoutScrollBars.
    QSize size = content;
    bool needV = size.height() > room.height();
    if (needV) size.rwidth() += bar;
    if (size.width() > room.width() && !needV) {
        size.rheight() += bar;
        needV = size.height() > room.height();
        if (needV) size.rwidth() += bar;
    }
    resize(size.boundedTo(room));

    // A window opened before keeps its place, moved in where its frame would stick out.
    if (!windowHandle()) return;
    const QSize outer = this->size() + frameAllowance(this);
    QPoint at = pos();
    at.setX(std::clamp(at.x(), available.left(),
                       std::max(available.left(), available.right() + 1 - outer.width())));
    at.setY(std::clamp(at.y(), available.top(),
                       std::max(available.top(), available.bottom() + 1 - outer.height())));
    if (at != pos()) move(at);
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
    // Unscrolled, the frame's top strip lies above the window.
    const int contentHeight = frameHeight + signedTwips(kFrameTop);
    // A bar takes room from the view, which may make the other bar necessary too.
    bool needH = width() < frameWidth;
    bool needV = height() - (needH ? bar : 0) < contentHeight;
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
    corner_->setGeometry(viewWidth, viewHeight, bar, bar);
    corner_->setVisible(needV && needH);
    placeButtons();
}

void Form6::placeButtons() {
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int viewWidth = width() - (vScroll1_->isHidden() ? 0 : bar);
    const int viewHeight = height() - (hScroll1_->isHidden() ? 0 : bar);
    // Both buttons as designed, on the window.
    const QRect designed = buttonPlaces_[0].united(buttonPlaces_[1]).translated(frame1_->pos());
    const int dy = std::min(0, viewHeight - twips(kBottomMargin) - (designed.bottom() + 1));
    // Across, the buttons keep within the view: shifted, else drawn together; in a view
    // too narrow even for that they move with the grid, which scrolls each into view.
    const int lo = twips(kCaptionLeft);
    const int hi = viewWidth - twips(kRightMargin);
    std::array<int, 2> dx{0, 0};
    if (designed.width() <= hi - lo) {
        dx[0] = dx[1] = std::clamp(designed.left(), lo, hi - designed.width()) - designed.left();
    } else if (buttonPlaces_[0].width() + twips(kColumnGap) + buttonPlaces_[1].width() <= hi - lo) {
        dx[0] = lo - designed.left();
        dx[1] = hi - buttonPlaces_[1].width() - (buttonPlaces_[1].left() + frame1_->x());
    }
    command1_->setGeometry(buttonPlaces_[0].translated(dx[0], dy));
    command2_->setGeometry(buttonPlaces_[1].translated(dx[1], dy));
    if (dy < 0) {
        // The strip reaches from above the buttons to the view's bottom, across the view.
        const int top = buttonPlaces_[0].top() + dy - twips(kStripTop);
        buttonStrip_->setGeometry(-frame1_->x(), top, viewWidth, viewHeight - frame1_->y() - top);
        buttonStrip_->show();
    } else {
        buttonStrip_->hide();
    }
}

bool Form6::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && (watched == vScroll1_ || watched == hScroll1_)) {
        return scrollBarKey(static_cast<QScrollBar*>(watched), static_cast<QKeyEvent*>(event));
    }
    if (event->type() == QEvent::FocusIn && watched->parent() == frame1_) {
        scrollIntoView(static_cast<QWidget*>(watched));
    }
    return QWidget::eventFilter(watched, event);
}

void Form6::scrollIntoView(const QWidget* control) {
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const QRect place = control->geometry().translated(frame1_->pos());  // on the window
    const bool button = control == command1_ || control == command2_;
    // The buttons keep to the view's bottom by themselves and cover the rows beneath.
    if (!button && !vScroll1_->isHidden()) {
        const int viewHeight = height() - (hScroll1_->isHidden() ? 0 : bar);
        const int bottom =
            viewHeight - twips(kBottomMargin) - buttonPlaces_[0].height() - twips(kStripTop);
        if (place.top() < 0) {
            vScroll1_->setValue(frame1_->y() - place.top());
        } else if (place.bottom() >= bottom) {
            vScroll1_->setValue(frame1_->y() - (place.bottom() + 1 - bottom));
        }
    }
    if (!hScroll1_->isHidden()) {
        const int viewWidth = width() - (vScroll1_->isHidden() ? 0 : bar);
        if (place.left() < 0) {
            hScroll1_->setValue(frame1_->x() - place.left());
        } else if (place.right() >= viewWidth) {
            hScroll1_->setValue(frame1_->x() - (place.right() + 1 - viewWidth));
        }
    }
}

bool Form6::scrollBarKey(QScrollBar* bar, const QKeyEvent* event) {
    if (event->modifiers() & ~Qt::KeypadModifier) return false;
    // The start of a bar (top, left) is its value 0, the far end its minimum.
    QAbstractSlider::SliderAction action = QAbstractSlider::SliderNoAction;
    switch (event->key()) {
        case Qt::Key_Home:
            action = QAbstractSlider::SliderToMaximum;
            break;
        case Qt::Key_End:
            action = QAbstractSlider::SliderToMinimum;
            break;
        case Qt::Key_Up:
        case Qt::Key_Left:
            action = QAbstractSlider::SliderSingleStepAdd;
            break;
        case Qt::Key_Down:
        case Qt::Key_Right:
            action = QAbstractSlider::SliderSingleStepSub;
            break;
        case Qt::Key_PageUp:
            action = QAbstractSlider::SliderPageStepAdd;
            break;
        case Qt::Key_PageDown:
            action = QAbstractSlider::SliderPageStepSub;
            break;
        default:
            return false;
    }
    bar->triggerAction(action);
    return true;
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
