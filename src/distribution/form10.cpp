#include "form10.h"

#include "distributioncheck.h"
#include "distributionchecktexts.h"
#include "screenfit.h"

#include "closeguard.h"
#include "currency.h"
#include "form10texts.h"
#include "navigation.h"
#include "numberhint.h"
#include "numbers.h"
#include "placement.h"
#include "store.h"
#include "twips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <algorithm>

namespace normativ {

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text = {}) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QComboBox* makeCombo(QWidget* parent, const char* name, Kind kind) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->setEditable(false);
    combo->addItems(kindItemTexts(kind));
    combo->setCurrentIndex(-1);
    combo->setMaxVisibleItems(kindItemTexts(kind).size());
    placement::widenPopupToItems(combo);
    return combo;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

}  // namespace

Form10::Form10(Store& store, Navigator& navigator, QWidget* parent)
    : QWidget(parent, Qt::Window), store_(store), navigator_(navigator) {
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(form10Texts().caption);
    createControls();
    layOut();

    connect(combo1_, &QComboBox::currentTextChanged, this, &Form10::onCombo1TextChanged);
    connect(combo2_, &QComboBox::currentTextChanged, this, &Form10::onCombo2TextChanged);
    connect(combo3_, &QComboBox::currentTextChanged, this, &Form10::onCombo3TextChanged);
    connect(command1_, &QPushButton::clicked, this, &Form10::onCommand1Clicked);
    connect(command2_, &QPushButton::clicked, this, &Form10::onCommand2Clicked);
    connect(command3_, &QPushButton::clicked, this, &Form10::onCommand3Clicked);
    connect(command6_, &QPushButton::clicked, this, &Form10::onCommand6Clicked);
}

void Form10::createControls() {
    const Form10Texts& texts = form10Texts();
    // Created in reading order, which is also the keyboard order.
    label1_ = makeLabel(this, "Label1", texts.agePrompt);
    combo1_ = makeCombo(this, "Combo1", Kind::AgeClass);
    label2_ = makeLabel(this, "Label2", texts.stayModePrompt);
    combo2_ = makeCombo(this, "Combo2", Kind::StayMode);
    label3_ = makeLabel(this, "Label3", texts.orientationPrompt);
    combo3_ = makeCombo(this, "Combo3", Kind::Orientation);
    label8_ = makeLabel(this, "Label8");
    label9_ = makeLabel(this, "Label9");
    label7_ = makeLabel(this, "Label7");
    label4_ = makeLabel(this, "Label4", texts.pupilsPrompt);
    text1_ = new QLineEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    label18_ = makeLabel(this, "Label18");
    attachNumberHint(text1_, label18_, store_.locale,
                     [locale = store_.locale](const QString& text) {
                         const auto number = parseNumber(text, locale);
                         return number && Currency::fromTypedNumber(*number);
                     });
    label17_ = makeLabel(this, "Label17");
    label5_ = makeLabel(this, "Label5");
    command3_ = makeButton(this, "Command3", texts.backToParametersButton);
    command6_ = makeButton(this, "Command6", texts.deleteButton);
    command2_ = makeButton(this, "Command2", texts.createButton);
    command1_ = makeButton(this, "Command1", texts.finishButtonAtDesign);
    label6_ = makeLabel(this, "Label6");
    // The prompts name the controls for a screen reader.
    for (const auto& [control, prompt] : {std::pair<QWidget*, QString>{combo1_, texts.agePrompt},
                                          {combo2_, texts.stayModePrompt},
                                          {combo3_, texts.orientationPrompt},
                                          {text1_, texts.pupilsPrompt}})
        control->setAccessibleName(prompt.simplified());

    // The echo labels show the chosen texts whole, however long.
    for (QLabel* echo : {label8_, label9_, label7_, label4_, label17_}) echo->setWordWrap(true);
    for (QLabel* top : {label7_, label4_, label17_}) {
        top->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }

    QPalette red = label17_->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    label17_->setPalette(red);
    label17_->hide();

    QFont bold = label5_->font();
    bold.setBold(true);
    label5_->setFont(bold);
    label6_->setFont(bold);
}

// The designed positions are kept wherever the texts fit; a control whose text needs
// more room pushes the ones after it right (buttons) or down (rows), and the window
// grows to hold them, so that nothing is ever cut off.
void Form10::layOut() {
    using placement::kGap;
    const Form10Texts& texts = form10Texts();

    // The button row decides the width of the window.
    const int buttonHeight = std::max(twips(495), command1_->sizeHint().height());
    struct ButtonPlace {
        QPushButton* button;
        int left;
        QStringList captions;
        int minimumWidth;
    };
    const ButtonPlace buttons[] = {
        {command3_, twips(1080), {texts.backButton, texts.backToParametersButton}, twips(2415)},
        {command6_, twips(3720), {texts.deleteButton}, twips(1695)},
        {command2_, twips(5520), {texts.createButton}, twips(1935)},
        // The design caption is replaced before the window is ever shown.
        {command1_, twips(7800), {texts.nextButton, texts.finishButton}, twips(2415)},
    };
    int right = 0;
    for (const ButtonPlace& place : buttons) {
        const int left = std::max(place.left, right + kGap);
        const int width = placement::buttonWidth(place.button, place.captions, place.minimumWidth);
        place.button->setGeometry(left, 0, width, buttonHeight);
        right = left + width;
    }
    const QStringList counters{QStringLiteral("00")};
    const int counterWidth = label6_->fontMetrics().horizontalAdvance(counters.first()) + 4;
    const int label6Left = std::max(twips(10440), right + 2 * kGap);
    const int margin = twips(720);
    const int windowWidth = std::max(twips(11520), label6Left + counterWidth + margin);

    // Rows from top to bottom, each at its designed top or below the previous row.
    int bottom = 0;
    auto rowTop = [&bottom](int designedTop) { return std::max(designedTop, bottom + kGap); };
    auto placeRow = [&bottom](int top, std::initializer_list<std::pair<QWidget*, QRect>> items) {
        for (const auto& [widget, rect] : items) {
            widget->setGeometry(rect.translated(0, top));
            bottom = std::max(bottom, top + rect.height());
        }
    };
    auto choiceRow = [&](int designedTop, QLabel* label, QComboBox* combo, int comboLeft,
                         int comboWidth) {
        const int top = rowTop(designedTop);
        const int labelWidth = comboLeft - kGap - margin;
        const int comboHeight = combo->sizeHint().height();
        placeRow(top,
                 {{label, QRect(margin, 0, labelWidth,
                                std::max(comboHeight, placement::labelHeight(label, labelWidth)))},
                  {combo, QRect(comboLeft, 0, comboWidth, comboHeight)}});
    };
    choiceRow(twips(720), label1_, combo1_, twips(6720), twips(3375));
    choiceRow(twips(1200), label2_, combo2_, twips(4680), twips(5415));
    choiceRow(twips(1680), label3_, combo3_, twips(4680), twips(5415));

    auto echoRow = [&](int designedTop, QLabel* label, int left, Kind kind, int minimumLines) {
        const int top = rowTop(designedTop);
        const int width = windowWidth - left - margin;
        const int height = std::max(minimumLines * label->fontMetrics().lineSpacing(),
                                    placement::labelHeight(label, width, kindItemTexts(kind)));
        placeRow(top, {{label, QRect(left, 0, width, height)}});
    };
    echoRow(twips(2280), label8_, twips(1680), Kind::AgeClass, 1);
    echoRow(twips(2640), label9_, twips(840), Kind::StayMode, 1);
    echoRow(twips(3000), label7_, twips(840), Kind::Orientation, 2);

    {
        const int top = rowTop(twips(3840));
        const int textLeft = twips(7080);
        const int labelLeft = twips(2160);
        const int labelWidth = textLeft - kGap - labelLeft;
        placeRow(top, {{label4_, QRect(labelLeft, 0, labelWidth,
                                       placement::labelHeight(label4_, labelWidth))},
                       {text1_, QRect(textLeft, 0, twips(1215), text1_->sizeHint().height())}});
    }
    {
        // Under the pupils' box: why a typed text will not count.
        const int top = rowTop(twips(4260));
        const int width = windowWidth - 2 * margin;
        placeRow(top,
                 {{label18_, QRect(margin, 0, width, placement::labelHeight(label18_, width))}});
    }
    {
        const int top = rowTop(twips(4560));
        const int width = windowWidth - 2 * margin;
        const DistributionCheckTexts& checks = distributionCheckTexts();
        const QStringList messages{checks.incompleteRecord, texts.limitReachedMessage,
                                   checks.totalAbovePupilCount, checks.totalBelowPupilCount,
                                   checks.pupilCountNotEntered};
        placeRow(top, {{label17_, QRect(margin, 0, width,
                                        placement::labelHeight(label17_, width, messages))}});
    }
    {
        const int top = rowTop(twips(5520));
        for (const ButtonPlace& place : buttons) place.button->move(place.button->x(), top);
        bottom = std::max(bottom, top + buttonHeight);
        // The counters sit level with the middle of the buttons.
        const int counterHeight = label5_->sizeHint().height();
        const int counterTop = top + (buttonHeight - counterHeight) / 2;
        label5_->setGeometry(twips(240), counterTop, command3_->x() - kGap - twips(240),
                             counterHeight);
        label6_->setGeometry(label6Left, counterTop, counterWidth, counterHeight);
    }
    setDesignedSize(this, QSize(windowWidth, bottom + margin));
}

void Form10::closeEvent(QCloseEvent* event) {
    event->accept();
    endProgram();
}

void Form10::openOnFirstRecord() {
    keepRecordCountInRange();
    store_.distribution.currentRecord = 1;
    hideMessage();
    refreshCountersAndButtons();
    showRecord();
    show();
    activateWindow();
    // The record starts with its age class.
    combo1_->setFocus();
}

void Form10::reopen() {
    keepRecordCountInRange();
    const int current = store_.distribution.currentRecord;
    if (current < 1 || current > recordCount()) {
        // Never opened, or the records it showed are gone: start at the first one.
        openOnFirstRecord();
        return;
    }
    show();
    activateWindow();
}

void Form10::onCombo1TextChanged(const QString& text) {
    label8_->setText(text);
}

void Form10::onCombo2TextChanged(const QString& text) {
    label9_->setText(text);
}

void Form10::onCombo3TextChanged(const QString& text) {
    label7_->setText(text);
}

void Form10::onCommand1Clicked() {
    DistributionTable& table = store_.distribution;
    if (table.currentRecord >= recordCount()) {
        finish();
        return;
    }
    storeControls();
    if (!table.isComplete(table.currentRecord)) {
        showMessage(distributionCheckTexts().incompleteRecord);
        return;
    }
    ++table.currentRecord;
    hideMessage();
    clearControls();
    refreshCountersAndButtons();
    showRecord();
}

void Form10::finish() {
    const DistributionTable& table = store_.distribution;
    storeControls();
    if (!table.isComplete(table.currentRecord)) {
        showMessage(distributionCheckTexts().incompleteRecord);
        return;
    }
    if (const auto problem = distributedTotalProblem(store_)) {
        showMessage(*problem);
        return;
    }
    hideMessage();
    if (navigator_.main) navigator_.main->widget()->show();
    hide();
}

void Form10::onCommand2Clicked() {
    DistributionTable& table = store_.distribution;
    if (recordCount() >= kMaxDistributionRecords) {
        showMessage(form10Texts().limitReachedMessage);
        return;
    }
    storeControls();
    if (!table.isComplete(table.currentRecord)) {
        showMessage(distributionCheckTexts().incompleteRecord);
        return;
    }
    setRecordCount(recordCount() + 1);
    ++table.currentRecord;
    hideMessage();
    clearControls();
    refreshCountersAndButtons();
    showRecord();
}

void Form10::onCommand3Clicked() {
    DistributionTable& table = store_.distribution;
    // Leaving backwards keeps whatever was entered, complete or not.
    storeControls();
    if (table.currentRecord <= 1) {
        backToMainWindow();
        return;
    }
    --table.currentRecord;
    hideMessage();
    clearControls();
    refreshCountersAndButtons();
    showRecord();
}

void Form10::onCommand6Clicked() {
    DistributionTable& table = store_.distribution;
    // Only the last record can go, and never the first.
    if (table.currentRecord <= 1 || table.currentRecord != recordCount()) return;
    table.clearRecord(table.currentRecord);
    setRecordCount(recordCount() - 1);
    --table.currentRecord;
    hideMessage();
    clearControls();
    refreshCountersAndButtons();
    showRecord();
}

void Form10::backToMainWindow() {
    hideMessage();
    if (MainWindowPort* main = navigator_.main) {
        main->returnToKindStep();
        main->widget()->show();
    }
    hide();
}

void Form10::storeControls() {
    DistributionTable& table = store_.distribution;
    const int record = table.currentRecord;
    table.storeKindText(record, Kind::AgeClass, combo1_->currentText());
    table.storeKindText(record, Kind::StayMode, combo2_->currentText());
    table.storeKindText(record, Kind::Orientation, combo3_->currentText());
    table.storePupilText(record, text1_->text(), store_.locale);
}

void Form10::showRecord() {
    const DistributionTable& table = store_.distribution;
    const int record = table.currentRecord;
    const std::pair<QComboBox*, Kind> choices[] = {
        {combo1_, Kind::AgeClass}, {combo2_, Kind::StayMode}, {combo3_, Kind::Orientation}};
    for (const auto& [combo, kind] : choices) {
        if (const auto text = table.kindText(record, kind)) {
            combo->setCurrentIndex(combo->findText(*text));
        }
    }
    // A count that was never given shows as an empty box, as every unanswered
    // question does; the record stays incomplete all the same.
    text1_->setText(table.pupilsNotEntered(record) ? QString()
                                                   : table.pupilText(record, store_.locale));
}

void Form10::clearControls() {
    for (QComboBox* combo : {combo1_, combo2_, combo3_}) combo->setCurrentIndex(-1);
    text1_->clear();
}

void Form10::refreshCountersAndButtons() {
    const int current = store_.distribution.currentRecord;
    const int count = recordCount();
    label5_->setText(QString::number(current - 1));
    label6_->setText(QString::number(count - current));
    const bool last = current == count;
    command2_->setVisible(last);
    command6_->setVisible(last);
    const Form10Texts& texts = form10Texts();
    command3_->setText(texts.backButton);
    command1_->setText(last ? texts.finishButton : texts.nextButton);
    if (current == 1) {
        command3_->setText(texts.backToParametersButton);
        command6_->setVisible(false);
    }
}

void Form10::showMessage(const QString& text) {
    label17_->setText(text);
    label17_->show();
}

void Form10::hideMessage() {
    label17_->hide();
}

int Form10::recordCount() const {
    return store_.distribution.usedRecords();
}

void Form10::setRecordCount(int count) {
    store_.distribution.recordCount = FieldValue::integer(count);
}

// The editor works on 1 to 42 records. A count that is missing (a start that skipped
// setting it) or out of range (a damaged workbook) would let the pages run past the
// table, so it is brought into range before the records are shown.
void Form10::keepRecordCountInRange() {
    const int used = std::max(1, recordCount());
    if (store_.distribution.recordCount.toDouble(QLocale::c()) != used) setRecordCount(used);
}

}  // namespace normativ
