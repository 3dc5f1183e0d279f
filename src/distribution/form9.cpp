#include "form9.h"

#include "closeguard.h"
#include "form10.h"
#include "form9texts.h"
#include "navigation.h"
#include "placement.h"
#include "screenfit.h"
#include "twips.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

namespace normativ {

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

}  // namespace

Form9::Form9(Navigator& navigator, Form10& editor, QWidget* parent)
    : QWidget(parent, Qt::Window), navigator_(navigator), editor_(editor) {
    setObjectName(QStringLiteral("Form9"));
    const Form9Texts& texts = form9Texts();
    setWindowTitle(texts.caption);
    label6_ = makeLabel(this, "Label6", texts.introduction);
    label2_ = makeLabel(this, "Label2", texts.countsPrompt);
    label3_ = makeLabel(this, "Label3", texts.parametersHint);
    label4_ = makeLabel(this, "Label4", texts.navigationHint);
    label5_ = makeLabel(this, "Label5", texts.sameGroupsHint);
    commandButton2_ = makeButton(this, "CommandButton2", texts.backButton);
    command1_ = makeButton(this, "Command1", texts.nextButton);
    for (QPushButton* button : {commandButton2_, command1_}) button->setAutoDefault(true);
    layOut();

    connect(command1_, &QPushButton::clicked, this, &Form9::onCommand1Clicked);
    connect(commandButton2_, &QPushButton::clicked, this, &Form9::onCommandButton2Clicked);
}

// The texts keep their designed tops where they fit and push the rows below them down
// where the font needs more lines.
void Form9::layOut() {
    using placement::kGap;
    const int margin = twips(720);
    const int buttonHeight = std::max(twips(495), command1_->sizeHint().height());
    const int backWidth =
        placement::buttonWidth(commandButton2_, {form9Texts().backButton}, twips(1695));
    const int nextWidth = placement::buttonWidth(command1_, {form9Texts().nextButton}, twips(1695));
    const int nextLeft = std::max(twips(7800), twips(1080) + backWidth + kGap);
    const int windowWidth = std::max(twips(11520), nextLeft + nextWidth + margin);

    const int textLeft = twips(1440);
    const int textWidth = windowWidth - textLeft - twips(1080);
    int bottom = 0;
    const std::pair<QLabel*, int> texts[] = {{label6_, twips(840)},
                                             {label2_, twips(1920)},
                                             {label3_, twips(2520)},
                                             {label4_, twips(3360)},
                                             {label5_, twips(3960)}};
    for (const auto& [label, designedTop] : texts) {
        const int top = std::max(designedTop, bottom + kGap);
        label->setGeometry(textLeft, top, textWidth, placement::labelHeight(label, textWidth));
        bottom = top + label->height();
    }
    const int buttonTop = std::max(twips(5520), bottom + 2 * kGap);
    commandButton2_->setGeometry(twips(1080), buttonTop, backWidth, buttonHeight);
    command1_->setGeometry(nextLeft, buttonTop, nextWidth, buttonHeight);
    setDesignedSize(this, QSize(windowWidth, buttonTop + buttonHeight + margin));
}

// "Далее" is what Enter does, as in a dialog: it has the focus when the window opens,
// and Enter elsewhere in the window presses it. A button that has the focus takes Enter
// itself.
void Form9::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    command1_->setFocus();
}

void Form9::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        command1_->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Form9::closeEvent(QCloseEvent* event) {
    event->accept();
    endProgram();
}

void Form9::onCommand1Clicked() {
    // The main window is laid out for the question after the distribution now, so that
    // finishing the editor only has to show it again.
    if (navigator_.main) navigator_.main->prepareStepAfterDistribution();
    editor_.openOnFirstRecord();
    hide();
}

void Form9::onCommandButton2Clicked() {
    if (MainWindowPort* main = navigator_.main) {
        main->returnToKindStep();
        main->widget()->show();
    }
    hide();
}

}  // namespace normativ
