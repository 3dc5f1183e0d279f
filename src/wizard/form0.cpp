#include "form0.h"

#include "closeguard.h"
#include "form2.h"
#include "infowindows.h"
#include "normativecalculation.h"
#include "numberhint.h"
#include "numbers.h"
#include "planningyears.h"
#include "screenfit.h"
#include "steptexts.h"
#include "store.h"
#include "twips.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

namespace normativ {

namespace {

constexpr int kWindowWidth = 15600;  // twips
constexpr int kWindowHeight = 7680;
constexpr int kContentWidth = kWindowWidth - 720;

template <typename W>
W* make(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* w = new W(parent);
    w->setObjectName(QLatin1String(name));
    w->setGeometry(QRect(twipsPoint(left, top), twipsSize(width, height)));
    return w;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                  int width, int height) {
    auto* label = make<QLabel>(parent, name, left, top, width, height);
    label->setText(text);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, int left, int top,
                        int width, int height = 495) {
    auto* button = make<QPushButton>(parent, name, left, top, width, height);
    button->setText(text);
    return button;
}

const wizard::MainWindowTexts& text() {
    return wizard::mainWindowTexts();
}

bool isEnterKey(QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

Form0::Form0(Store& store, Navigator& navigator, QWidget* parent)
    : QWidget(parent), store_(store), navigator_(navigator) {
    setObjectName(QStringLiteral("Form0"));
    setWindowTitle(text().caption);
    setDesignedSize(this, twipsSize(kWindowWidth, kWindowHeight));
    buildStartArea();
    buildQuestionArea();
    buildResultArea();
    showMethodology();
    help_ = std::make_unique<Form2>();
    payrollInfo_ = std::make_unique<Form4>(this);
    servicesInfo_ = std::make_unique<Form5>(this);
}

Form0::~Form0() = default;

void Form0::buildStartArea() {
    label18_ = makeLabel(this, "Label18", text().startTitle, 360, 240, kContentWidth, 720);
    label18_->setAlignment(Qt::AlignCenter);
    QFont titleFont = label18_->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
    label18_->setFont(titleFont);

    label15_ = makeLabel(this, "Label15", text().institutionPrompt, 360, 1200, 5400, 345);
    combo1_ = make<QComboBox>(this, "Combo1", 6000, 1200, 8040, 345);
    combo1_->setEditable(true);
    combo1_->setInsertPolicy(QComboBox::NoInsert);
    for (int i = 1; i <= wizard::kInstitutionCount; ++i)
        combo1_->addItem(wizard::institutionName(i));
    combo1_->setCurrentIndex(-1);
    combo1_->setEditText(QString());

    label16_ = makeLabel(this, "Label16", text().yearPrompt, 360, 1740, 5400, 480);
    combo2_ = make<QComboBox>(this, "Combo2", 6000, 1800, 1800, 345);
    combo2_->setCurrentIndex(-1);
    combo1_->setAccessibleName(text().institutionPrompt.simplified());
    combo2_->setAccessibleName(text().yearPrompt.simplified());

    label17_ = makeLabel(this, "Label17", QStringLiteral("Label16"), 360, 2400, kContentWidth, 345);
    label17_->setStyleSheet(QStringLiteral("color: #ff0000;"));
    label17_->hide();

    command4_ = makeButton(this, "Command4", text().loadButton, 360, 2940, kContentWidth);
    commandButton3_ =
        makeButton(this, "CommandButton3", text().startButton, 360, 3600, kContentWidth);
    commandButton3_->installEventFilter(this);

    check1_ = make<QCheckBox>(this, "Check1", 360, 4440, 14160, 345);
    check1_->setText(text().payrollModeCheck);
    command3_ = makeButton(this, "Command3", text().infoButton, 14760, 4425, 480, 375);
    check2_ = make<QCheckBox>(this, "Check2", 360, 4980, 14160, 345);
    check2_->setText(text().servicesModeCheck);
    command5_ = makeButton(this, "Command5", text().infoButton, 14760, 4965, 480, 375);

    label19_ = makeLabel(this, "Label19", QString(), 360, 5580, kContentWidth, 345);
    command7_ = makeButton(this, "Command7", text().loadMethodologyButton, 360, 6060, 4800);
    command8_ = makeButton(this, "Command8", text().saveMethodologyButton, 5400, 6060, 4800);
    command9_ = makeButton(this, "Command9", text().summaryButton, 10440, 6060, 4800);
    // Why a methodology was refused: red, on as many lines as the file's path needs.
    label21_ = makeLabel(this, "Label21", QString(), 360, 6660, kContentWidth, 900);
    label21_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label21_->setStyleSheet(QStringLiteral("color: #ff0000;"));
    label21_->hide();

    connect(commandButton3_, &QPushButton::clicked, this, &Form0::onCommandButton3Clicked);
    connect(command7_, &QPushButton::clicked, this, &Form0::onCommand7Clicked);
    connect(command8_, &QPushButton::clicked, this, &Form0::onCommand8Clicked);
    connect(command9_, &QPushButton::clicked, this, &Form0::onCommand9Clicked);
    connect(command4_, &QPushButton::clicked, this, &Form0::onCommand4Clicked);
    connect(command3_, &QPushButton::clicked, this, &Form0::onCommand3Clicked);
    connect(command5_, &QPushButton::clicked, this, &Form0::onCommand5Clicked);
}

void Form0::buildQuestionArea() {
    label1_ = makeLabel(this, "Label1", QStringLiteral("Label1"), 360, 360, kContentWidth, 1560);
    label1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont questionFont = label1_->font();
    questionFont.setPointSizeF(questionFont.pointSizeF() * 1.1);
    label1_->setFont(questionFont);
    textBox1_ = make<QLineEdit>(this, "TextBox1", 360, 2160, 3000, 375);
    textBox1_->installEventFilter(this);
    label2_ = makeLabel(this, "Label2", QStringLiteral("Label2"), 3540, 2175, 6000, 345);
    // A text that is not a number is kept as not entered: said at once, not thirty
    // questions later at the results.
    label22_ = makeLabel(this, "Label22", QString(), 360, 2640, kContentWidth, 345);
    attachNumberHint(
        textBox1_, label22_, store_.locale,
        [locale = store_.locale](const QString& text) { return isNumericText(text, locale); });

    const QStringList& designCaptions = text().designOptionCaptions;
    for (int i = 0; i < 3; ++i) {
        const QByteArray name = "Option" + QByteArray::number(i + 1);
        auto* option =
            make<QRadioButton>(this, name.constData(), 360, 2160 + 480 * i, kContentWidth, 375);
        option->setText(designCaptions[i]);
        // Exclusivity is kept by the click handler, so that all three can be cleared.
        option->setAutoExclusive(false);
        option->installEventFilter(this);
        connect(option, &QRadioButton::clicked, this, [this, i] { onOptionClicked(i + 1); });
        options_[i] = option;
    }

    commandButton2_ = makeButton(this, "CommandButton2", text().backButton, 360, 6720, 2400);
    command1_ = makeButton(this, "Command1", text().helpButton, 6600, 6720, 2400);
    commandButton1_ = makeButton(this, "CommandButton1", text().nextButton, 12840, 6720, 2400);

    connect(commandButton1_, &QPushButton::clicked, this, &Form0::onCommandButton1Clicked);
    connect(commandButton2_, &QPushButton::clicked, this, &Form0::onCommandButton2Clicked);
    connect(command1_, &QPushButton::clicked, this, &Form0::onCommand1Clicked);

    setQuestionArea(false);
    for (QRadioButton* option : options_) option->hide();
}

void Form0::buildResultArea() {
    const auto& rows = text().resultRows;
    for (int i = 0; i < 6; ++i) {
        const int top = 480 + 600 * i;
        const QByteArray caption = "Label" + QByteArray::number(3 + 2 * i);
        const QByteArray unit = "Label" + QByteArray::number(4 + 2 * i);
        const QByteArray box = "Text" + QByteArray::number(i + 1);
        resultLabels_[2 * i] =
            makeLabel(this, caption.constData(), rows[i].caption, 360, top, 7680, 375);
        resultBoxes_[i] = make<QLineEdit>(this, box.constData(), 8160, top, 2640, 375);
        resultBoxes_[i]->setAlignment(Qt::AlignRight);
        resultBoxes_[i]->setAccessibleName(rows[i].caption.simplified());
        resultBoxes_[i]->setAccessibleDescription(rows[i].unit.simplified());
        resultLabels_[2 * i + 1] =
            makeLabel(this, unit.constData(), rows[i].unit, 10980, top, 3060, 375);
    }
    command2_ = makeButton(this, "Command2", text().reportButton, 360, 4320, 3600);
    command6_ = makeButton(this, "Command6", text().estimateButton, 4320, 4320, 3600);
    for (QLabel* label : resultLabels_) label->hide();
    for (QLineEdit* box : resultBoxes_) box->hide();
    command2_->hide();
    command6_->hide();
    label20_ = makeLabel(this, "Label20", QString(), 360, 5040, kContentWidth, 345);
    label20_->hide();
    connect(command2_, &QPushButton::clicked, this, &Form0::onCommand2Clicked);
    connect(command6_, &QPushButton::clicked, this, &Form0::onCommand6Clicked);
}

void Form0::setQuestionArea(bool visible) {
    label1_->setVisible(visible);
    textBox1_->setVisible(visible);
    label2_->setVisible(visible);
    commandButton1_->setVisible(visible);
    commandButton2_->setVisible(visible);
    command1_->setVisible(visible);
}

// ---- Start screen ----

void Form0::onCommandButton3Clicked() {
    if (combo1_->currentText().isEmpty()) {
        label17_->setText(text().noInstitutionMessage);
        label17_->show();
        return;
    }
    if (combo2_->currentText().isEmpty()) {
        label17_->setText(text().noYearMessage);
        label17_->show();
        return;
    }
    // The clipboard is left alone: what the user copied stays theirs.
    InstitutionRecord& record = store_.record;
    record.institutionName = FieldValue::text(combo1_->currentText());
    record.planningYear = FieldValue::text(combo2_->currentText());
    record.wizardStep = Step::kPupils;
    store_.distribution.recordCount = FieldValue::integer(1);

    for (QWidget* w : std::initializer_list<QWidget*>{label18_, command4_, combo2_, combo1_,
                                                      label15_, label16_, label17_})
        w->hide();
    textBox1_->setEnabled(true);
    commandButton1_->setEnabled(true);
    commandButton2_->setEnabled(false);
    textBox1_->show();
    textBox1_->setFocus();
    command1_->show();
    commandButton1_->show();
    commandButton2_->show();
    commandButton3_->hide();
    label1_->show();
    label2_->show();
    hideModeChecks();
    record.useOwnPayrollData = FieldValue::integer(check1_->isChecked() ? 1 : 0);
    record.useOwnServicesData = FieldValue::integer(check2_->isChecked() ? 1 : 0);
    const auto texts = wizard::stepTexts(Step::kPupils);
    label1_->setText(texts.question);
    label2_->setText(texts.unit);
    describeQuestion();
    textBox1_->setFocus();
}

void Form0::onCommand4Clicked() {
    store_.record.useOwnPayrollData = FieldValue::integer(check1_->isChecked() ? 1 : 0);
    store_.record.useOwnServicesData = FieldValue::integer(check2_->isChecked() ? 1 : 0);
    if (!navigator_.loader) return;
    navigator_.loader->openLoader();
    hide();
}

// The mode checks and the methodology belong to the start screen: a run keeps the
// methodology it started with.
void Form0::hideModeChecks() {
    for (QWidget* w :
         std::initializer_list<QWidget*>{check1_, check2_, command3_, command5_, label19_,
                                         command7_, command8_, command9_, label21_})
        w->hide();
}

void Form0::returnFromLoader() {
    for (QWidget* w : std::initializer_list<QWidget*>{check1_, check2_, command3_, command5_,
                                                      label19_, command7_, command8_, command9_})
        w->show();
    show();
}

void Form0::showMethodology() {
    const QString name = store_.methodology->name;
    label19_->setText(text().methodologyPrefix + name);
    label20_->setText(text().methodologyPrefix + name);
    const QString chosen = combo2_->currentText();
    combo2_->clear();
    combo2_->addItems(planningYearTexts(*store_.methodology));
    combo2_->setCurrentIndex(combo2_->findText(chosen));
}

void Form0::showMethodologyError(const QString& message) {
    label21_->setText(message);
    label21_->show();
}

void Form0::onCommand7Clicked() {
    if (!navigator_.methodology) return;
    const QString refused = navigator_.methodology->loadMethodology();
    if (!refused.isEmpty()) {
        showMethodologyError(refused);
        return;
    }
    label21_->hide();
    showMethodology();
}

void Form0::onCommand8Clicked() {
    if (navigator_.methodology) navigator_.methodology->saveMethodologySample();
}

void Form0::onCommand9Clicked() {
    if (navigator_.summary) navigator_.summary->openSummary();
}

void Form0::onCommand3Clicked() {
    payrollInfo_->open();
}

void Form0::onCommand5Clicked() {
    servicesInfo_->open();
}

void Form0::showFirstStepAfterLoad() {
    for (QWidget* w : std::initializer_list<QWidget*>{
             label18_, command4_, combo2_, combo1_, label15_, label16_, label17_, commandButton3_})
        w->hide();
    hideModeChecks();
    store_.record.wizardStep = Step::kPupils;
    setQuestionArea(true);
    textBox1_->setEnabled(true);
    commandButton1_->setEnabled(true);
    textBox1_->clear();
    layOutStep(Step::kPupils, true);
    restoreStoredAnswer(Step::kPupils);
    show();
    textBox1_->setFocus();
}

void Form0::onOptionClicked(int option) {
    selectOption(option);
}

void Form0::setOptionCaption(int index, const QString& caption) {
    // An option reacts to clicks on its circle and caption, so it is as wide as they are.
    QRadioButton* option = options_[index];
    option->setText(caption);
    option->resize(option->sizeHint().width(), option->height());
}

void Form0::selectOption(int option) {
    for (int i = 0; i < 3; ++i) options_[i]->setChecked(i + 1 == option);
}

bool Form0::eventFilter(QObject* watched, QEvent* event) {
    if (isEnterKey(event)) {
        if (watched == textBox1_) {
            // Enter is "Далее" only where "Далее" acts: not on the start screen, not at the
            // results.
            if (commandButton1_->isVisibleTo(this) && commandButton1_->isEnabled()) {
                onCommandButton1Clicked();
            }
            return true;
        }
        if (watched == commandButton3_) {
            // Enter on the start button does exactly what its click does.
            onCommandButton3Clicked();
            return true;
        }
        for (QRadioButton* option : options_) {
            if (watched == option && commandButton1_->isEnabled()) {
                onCommandButton1Clicked();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form0::closeEvent(QCloseEvent* event) {
    event->accept();
    endProgram();
}

// Coming back from the distribution windows to the choice of the institution kind, the
// chosen option takes the focus once the window shows again.
// Whoever comes to the window can type at once: the institution on the start screen,
// the answer on a question, the chosen option on a choice.
void Form0::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (combo1_->isVisibleTo(this)) {
        combo1_->setFocus();
    } else if (textBox1_->isVisibleTo(this) && textBox1_->isEnabled()) {
        textBox1_->setFocus();
    } else {
        focusChoice();
    }
}

// ---- Wizard steps ----

void Form0::keepCurrentAnswer() {
    const int step = store_.record.wizardStep;
    if (!isNumericText(textBox1_->text(), store_.locale)) textBox1_->clear();
    if (const auto answer = answerForStep(step)) {
        store_.record.storeAnswer(*answer, textBox1_->text(), store_.locale);
        return;
    }
    for (const FlagDescriptor& flag : flagsOfStep(step)) {
        if (options_[flag.option - 1]->isChecked()) {
            store_.record.setChoice(flag.flag);
            return;
        }
    }
}

void Form0::onCommandButton1Clicked() {
    InstitutionRecord& record = store_.record;
    keepCurrentAnswer();
    textBox1_->clear();
    const ForwardMove move = stepForward(record.wizardStep, record.wizardModes(store_.locale));
    if (move.opensDistribution && navigator_.distribution) {
        navigator_.distribution->openIntroduction();
        hide();
    }
    record.wizardStep = move.next;
    layOutStep(record.wizardStep, true);
    if (record.wizardStep == Step::kResult) runCalculation();
    restoreStoredAnswer(record.wizardStep);
    focusChoice();
}

void Form0::onCommandButton2Clicked() {
    InstitutionRecord& record = store_.record;
    keepCurrentAnswer();
    textBox1_->clear();
    const BackMove move = stepBack(record.wizardStep, record.wizardModes(store_.locale));
    if (move.writesPayrollDefaults)
        record.writePayrollDefaults(store_.methodology->payrollDefaults);
    record.wizardStep = move.previous;
    if (move.reopensEditor && navigator_.distribution) {
        navigator_.distribution->reopenEditor();
        hide();
    }
    layOutStep(move.previous, false);
    restoreStoredAnswer(move.previous);
}

void Form0::layOutStep(int step, bool forward) {
    for (QRadioButton* option : options_) option->setChecked(false);
    if (step != Step::kResult) {
        command2_->hide();
        command6_->hide();
    }
    commandButton2_->setEnabled(step != Step::kPupils);
    const bool choice = isChoiceStep(step);
    if (!choice) {
        for (QRadioButton* option : options_) option->hide();
        label2_->show();
        textBox1_->show();
        if (forward) textBox1_->setFocus();
    }
    commandButton1_->setEnabled(step != Step::kResult);
    if (step != Step::kResult) {
        command1_->show();
        label1_->show();
        for (QLabel* label : resultLabels_) label->hide();
        for (QLineEdit* box : resultBoxes_) box->hide();
        label20_->hide();
    } else {
        command2_->setEnabled(true);
        command1_->hide();
        for (QRadioButton* option : options_) option->hide();
        label2_->hide();
        textBox1_->hide();
        label1_->hide();
        for (QLabel* label : resultLabels_) label->show();
        for (QLineEdit* box : resultBoxes_) box->show();
        label20_->show();
    }
    if (choice) {
        const QStringList captions = wizard::optionCaptions(step);
        for (int i = 0; i < 3; ++i) {
            options_[i]->setVisible(i < captions.size());
            if (i < captions.size()) setOptionCaption(i, captions[i]);
        }
        label2_->hide();
        textBox1_->hide();
    }
    if (step == Step::kResult) return;
    const auto texts = wizard::stepTexts(step);
    QString question = texts.question;
    if (step == Step::kFirstPayroll &&
        store_.record.isFlagSet(Flag::SettlementIsVillage, store_.locale))
        question = wizard::villageSalaryQuestion();
    label1_->setText(question);
    if (!choice) label2_->setText(texts.unit);
    describeQuestion();
}

// A screen reader announces what is asked: the question and its unit for the answer box,
// the question for each option.
void Form0::describeQuestion() {
    const QString question = label1_->text().simplified();
    textBox1_->setAccessibleName(question);
    textBox1_->setAccessibleDescription(label2_->text().simplified());
    for (QRadioButton* option : options_) option->setAccessibleDescription(question);
}

void Form0::restoreStoredAnswer(int step) {
    if (const auto answer = answerForStep(step)) {
        const FieldValue& stored = store_.record[*answer];
        if (!stored.isNotEnteredMarker(store_.locale))
            textBox1_->setText(stored.displayText(store_.locale));
        return;
    }
    for (const FlagDescriptor& flag : flagsOfStep(step)) {
        if (store_.record.isFlagSet(flag.flag, store_.locale)) selectOption(flag.option);
    }
}

void Form0::focusChoice() {
    if (!isChoiceStep(store_.record.wizardStep) || !isVisible()) return;
    for (QRadioButton* option : options_) {
        if (option->isVisible() && option->isChecked()) {
            option->setFocus();
            return;
        }
    }
    options_[0]->setFocus();
}

void Form0::runCalculation() {
    const ResultTexts results = runNormativeCalculation(store_);
    for (int box = 1; box <= 6; ++box) {
        if (const auto& text = results.text(box)) resultBoxes_[box - 1]->setText(*text);
    }
    if (results.buttonsVisible) {
        command2_->show();
        command6_->show();
    }
}

// ---- Hand-over with the distribution windows ----

void Form0::restoreKindOptions() {
    const auto kinds = flagsOfStep(Step::kKind);
    for (int i = 0; i < 3; ++i) {
        if (store_.record[kinds[i].flag].toDouble(store_.locale) != 1) continue;
        const bool othersSelected =
            options_[(i + 1) % 3]->isChecked() || options_[(i + 2) % 3]->isChecked();
        options_[i]->setChecked(!othersSelected);
    }
}

void Form0::returnToKindStep() {
    store_.record.wizardStep = Step::kKind;
    const QStringList captions = wizard::optionCaptions(Step::kKind);
    for (QRadioButton* option : options_) option->show();
    setOptionCaption(0, captions[0]);
    setOptionCaption(1, captions[1]);
    label1_->setText(wizard::stepTexts(Step::kKind).question);
    describeQuestion();
    restoreKindOptions();
    label2_->hide();
    textBox1_->hide();
    focusChoice();
}

void Form0::prepareStepAfterDistribution() {
    InstitutionRecord& record = store_.record;
    for (QRadioButton* option : options_) option->hide();
    label2_->show();
    textBox1_->show();
    textBox1_->clear();
    const WizardModes modes = record.wizardModes(store_.locale);
    if (distributionWritesPayrollDefaults(modes))
        record.writePayrollDefaults(store_.methodology->payrollDefaults);
    record.wizardStep = stepAfterDistribution(modes);
    const wizard::StepTexts texts = wizard::stepTexts(record.wizardStep);
    // The first payroll question is worded for the minimum salary here.
    label1_->setText(record.wizardStep == Step::kFirstPayroll ? wizard::minimumSalaryQuestion()
                                                              : texts.question);
    label2_->setText(texts.unit);
    describeQuestion();
    const FieldValue& stored = record[*answerForStep(record.wizardStep)];
    const bool emptyText = stored.isText() && stored.textValue().isEmpty();
    if (!emptyText && !stored.isNotEnteredMarker(store_.locale))
        textBox1_->setText(stored.displayText(store_.locale));
}

// ---- Help and result commands ----

void Form0::onCommand1Clicked() {
    const int step = store_.record.wizardStep;
    QString text = wizard::stepTexts(step).help;
    // Step 21 is worded for the minimum salary after the distribution windows and for the
    // average salary when reached going back: the help follows the wording shown.
    if (step == Step::kFirstPayroll && label1_->text() != wizard::minimumSalaryQuestion())
        text = wizard::averageSalaryHelp();
    if (text.isEmpty()) {
        help_->show();
        help_->raise();
        return;
    }
    help_->showHelp(text);
}

void Form0::onCommand2Clicked() {
    command2_->setEnabled(false);
    // A report not written (cancelled, or refused by the disk) may be asked for again.
    if (!navigator_.report || !navigator_.report->createReport()) command2_->setEnabled(true);
}

void Form0::onCommand6Clicked() {
    if (navigator_.estimates) navigator_.estimates->openEstimates();
}

}  // namespace normativ
