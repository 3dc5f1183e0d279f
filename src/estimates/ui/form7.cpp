#include "form7.h"

#include "estimatetexts.h"
#include "fitting.h"
#include "screenfit.h"
#include "store.h"
#include "twips.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace normativ {

namespace {

// Geometry, in twips, as designed; the captions, the header or a button grow where the
// font in use needs more room.
constexpr int kWindowWidth = 12375;
constexpr int kWindowHeight = 6615;
constexpr int kCaptionLeft = 480;
constexpr int kCaptionWidth = 8415;
constexpr int kRowHeight = 285;
constexpr int kRowPitch = 360;
constexpr int kFirstRowTop = 960;
constexpr int kPerPupilLeft = 9120;
constexpr int kTotalLeft = 10560;
constexpr int kBoxWidth = 1335;
constexpr int kButtonTop = 5640;
constexpr std::array<int, 2> kButtonLeft{3000, 6360};
constexpr int kButtonWidth = 2895;
constexpr int kButtonHeight = 615;
constexpr int kGap = 105;

struct Header {
    const char* name;
    int payrollColumn;  ///< the payroll grid's column whose caption it shows
    int left;
    int top;
};
constexpr std::array<Header, 2> kHeaders{{
    {"Label5", 4, kPerPupilLeft, 240},
    {"Label6", 5, kTotalLeft, 360},
}};

/// The caption label of lines 1 to 7.
constexpr std::array<int, 7> kLineLabel{8, 1, 2, 3, 4, 7, 9};

QString boxName(int number) {
    return QStringLiteral("Text%1").arg(number);
}

}  // namespace

Form7::Form7(Store& store, QWidget* parent) : QWidget(parent), store_(store) {
    setObjectName(QStringLiteral("Form7"));
    const EstimateTexts& texts = estimateTexts();
    setWindowTitle(texts.servicesCaption);
    for (int i = 0; i < 2; ++i) {
        auto* label = new QLabel(texts.payrollColumnCaptions[kHeaders[i].payrollColumn - 1], this);
        label->setObjectName(QLatin1String(kHeaders[i].name));
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        headers_[i] = label;
    }
    for (int line = 1; line <= ServicesEstimate::kLines; ++line) {
        auto* caption = new QLabel(texts.servicesLineCaptions[line - 1], this);
        caption->setObjectName(QStringLiteral("Label%1").arg(kLineLabel[line - 1]));
        captions_[line - 1] = caption;
        for (int number : {SavedServicesEstimateText::perPupilBox(line),
                           SavedServicesEstimateText::totalBox(line)}) {
            auto* edit = new QLineEdit(boxName(number), this);
            edit->setObjectName(boxName(number));
            // The line's caption and the column's name it.
            const bool perPupil = number == SavedServicesEstimateText::perPupilBox(line);
            edit->setAccessibleName(texts.servicesLineCaptions[line - 1].simplified());
            edit->setAccessibleDescription(
                texts.payrollColumnCaptions[kHeaders[perPupil ? 0 : 1].payrollColumn - 1]
                    .simplified());
            boxes_[number - ServicesEstimate::kFirstBox] = edit;
        }
    }
    command1_ = new QPushButton(texts.payrollButton, this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command2_ = new QPushButton(texts.exportButton, this);
    command2_->setObjectName(QStringLiteral("Command2"));
    arrange();

    connect(command1_, &QPushButton::clicked, this, &Form7::onCommand1Clicked);
    connect(command2_, &QPushButton::clicked, this, &Form7::onCommand2Clicked);
}

Form7::~Form7() = default;

void Form7::arrange() {
    const QFontMetrics fm(font());

    // Captions: the boxes move right by what the captions need beyond their width.
    int captionWidth = twips(kCaptionWidth);
    for (const QLabel* caption : captions_) {
        captionWidth = std::max(captionWidth, fm.horizontalAdvance(caption->text()) + 4);
    }
    const int shift = captionWidth - twips(kCaptionWidth);
    int boxWidth = twips(kBoxWidth);
    for (const QLabel* header : headers_) {
        boxWidth = std::max(boxWidth, fitting::widestWord(fm, header->text()) + 6);
    }
    const std::array<int, 2> left{
        twips(kPerPupilLeft) + shift,
        twips(kPerPupilLeft) + shift +
            std::max(twips(kTotalLeft - kPerPupilLeft), boxWidth + twips(kGap))};

    // Headers wrap within their columns; the lines move down by what they need.
    int down = 0;
    for (int i = 0; i < 2; ++i) {
        const int room = twips(kFirstRowTop - kGap) - twips(kHeaders[i].top);
        down = std::max(down, fitting::wrappedHeight(fm, boxWidth, headers_[i]->text()) - room);
    }
    const int firstRowTop = twips(kFirstRowTop) + down;
    for (int i = 0; i < 2; ++i) {
        headers_[i]->setGeometry(left[i], twips(kHeaders[i].top), boxWidth,
                                 firstRowTop - twips(kGap) - twips(kHeaders[i].top));
    }

    const int rowHeight = std::max(twips(kRowHeight), fitting::boxHeight(fm));
    const int pitch = twips(kRowPitch) + rowHeight - twips(kRowHeight);
    for (int line = 1; line <= ServicesEstimate::kLines; ++line) {
        const int top = firstRowTop + pitch * (line - 1);
        captions_[line - 1]->setGeometry(twips(kCaptionLeft), top, captionWidth, rowHeight);
        box(SavedServicesEstimateText::perPupilBox(line))
            ->setGeometry(left[0], top, boxWidth, rowHeight);
        box(SavedServicesEstimateText::totalBox(line))
            ->setGeometry(left[1], top, boxWidth, rowHeight);
    }

    const int buttonTop = twips(kButtonTop) + down + pitch * 7 - twips(kRowPitch) * 7;
    const int buttonHeight = std::max(twips(kButtonHeight), fm.height() + 12);
    int buttonLeft = 0;
    for (int i = 0; i < 2; ++i) {
        QPushButton* button = i == 0 ? command1_ : command2_;
        const int w = std::max(twips(kButtonWidth),
                               fm.horizontalAdvance(button->text()) + fitting::kButtonPadding);
        buttonLeft = std::max(buttonLeft, twips(kButtonLeft[i]));
        button->setGeometry(buttonLeft, buttonTop, w, buttonHeight);
        buttonLeft += w + twips(kGap);
    }

    setDesignedSize(this,
                    QSize(std::max({twips(kWindowWidth), left[1] + boxWidth + twips(kCaptionLeft),
                                    buttonLeft + twips(kCaptionLeft)}),
                          std::max(twips(kWindowHeight),
                                   buttonTop + buttonHeight +
                                       twips(kWindowHeight - kButtonTop - kButtonHeight))));
}

void Form7::showEstimate(const ServicesEstimate& estimate) {
    for (int i = 0; i < ServicesEstimate::kBoxes; ++i) boxes_[i]->setText(estimate.texts[i]);
}

std::array<QString, ServicesEstimate::kBoxes> Form7::boxTexts() const {
    std::array<QString, ServicesEstimate::kBoxes> texts;
    for (int i = 0; i < ServicesEstimate::kBoxes; ++i) texts[i] = boxes_[i]->text();
    return texts;
}

QLineEdit* Form7::box(int number) const {
    return boxes_[number - ServicesEstimate::kFirstBox];
}

void Form7::takeCopy() {
    store_.estimateCopies.services = servicesCopy(boxTexts(), store_.locale);
}

void Form7::onCommand1Clicked() {
    takeCopy();
    command2_->setEnabled(true);
    returnToPayrollWindow();
}

void Form7::closeEvent(QCloseEvent* event) {
    event->accept();
    returnToPayrollWindow();
    unload();
}

void Form7::returnToPayrollWindow() {
    if (payrollWindow_) payrollWindow_->show();
    hide();
    if (payrollWindow_) {
        payrollWindow_->raise();
        payrollWindow_->activateWindow();
    }
}

void Form7::unload() {
    for (QLineEdit* edit : boxes_) edit->setText(edit->objectName());
    command2_->setEnabled(true);
}

void Form7::offerExportAgain() {
    command2_->setEnabled(true);
}

void Form7::onCommand2Clicked() {
    takeCopy();
    // One workbook per visit: the button comes back with "Смета по оплате труда".
    command2_->setEnabled(false);
    if (exportAction_) exportAction_(this);
}

}  // namespace normativ
