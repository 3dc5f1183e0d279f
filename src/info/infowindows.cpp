#include "infowindows.h"

#include "closeguard.h"
#include "infotexts.h"
#include "paragraphlabel.h"
#include "screenfit.h"
#include "twips.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace normativ {

namespace {

constexpr int kLabelWidth = 9600;  // twips: the text column of the small windows

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                 int height, bool bold = false) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (bold) {
        QFont f = label->font();
        f.setBold(true);
        label->setFont(f);
    }
    label->setGeometry(QRect(twipsPoint(left, top), twipsSize(kLabelWidth, height)));
    return label;
}

QPushButton* addButton(QWidget* parent, const char* name, const QString& text, int left, int top,
                       int width = 2400) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(QRect(twipsPoint(left, top), twipsSize(width, 495)));
    return button;
}

}  // namespace

Form8::Form8(QWidget* mainWindow, QWidget* parent) : QWidget(parent), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("Form8"));
    const info::InfoTexts& texts = info::infoTexts();
    setWindowTitle(texts.welcomeCaption);
    // Each text keeps its designed top unless the text above needs more room: then it
    // moves down, so that nothing overlaps in any font.
    int bottom = 0;
    auto place = [&bottom](QWidget* w, int top) {
        const int y = std::max(twips(top), bottom);
        const int h = w->hasHeightForWidth() ? w->heightForWidth(w->width()) : w->height();
        w->setGeometry(w->x(), y, w->width(), h);
        bottom = y + h + twips(120);
    };
    place(addLabel(this, "Label1", texts.welcomeText1, 360, 360, 1800), 360);
    place(addLabel(this, "Label2", texts.welcomeText2, 360, 2280, 1860, true), 2280);
    place(addLabel(this, "Label3", texts.welcomeText3, 360, 4200, 720), 4200);
    place(addLabel(this, "Label4", texts.contactAddress, 360, 4920, 300, true), 4920);
    auto* start = addButton(this, "Command1", texts.welcomeButton, 3720, 5280, 2760);
    place(start, 5280);
    setDesignedSize(this, QSize(twips(kLabelWidth + 720), bottom + twips(240)));
    connect(start, &QPushButton::clicked, this, &Form8::onCommand1Clicked);
    start->setDefault(true);
}

void Form8::onCommand1Clicked() {
    hide();
    mainWindow_->show();
}

void Form8::closeEvent(QCloseEvent* event) {
    event->accept();
    endProgram();
}

InfoWindow::InfoWindow(const QString& name, const QString& caption, const QString& text,
                       int buttonLeft, int buttonTop, int height, QWidget* mainWindow)
    : QWidget(nullptr), mainWindow_(mainWindow) {
    setObjectName(name);
    setWindowTitle(caption);
    auto* label = new ParagraphLabel(text, this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(QRect(twipsPoint(360, 360), twipsSize(kLabelWidth, buttonTop - 480)));
    auto* close = addButton(this, "Command1", info::infoTexts().closeButton, buttonLeft, buttonTop);
    setDesignedSize(this, twipsSize(kLabelWidth + 720, height));
    connect(close, &QPushButton::clicked, this, &InfoWindow::onCommand1Clicked);
}

void InfoWindow::open() {
    mainWindow_->setEnabled(false);
    show();
    raise();
    activateWindow();
}

void InfoWindow::onCommand1Clicked() {
    close();
}

void InfoWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    mainWindow_->setEnabled(true);
}

Form4::Form4(QWidget* mainWindow)
    : InfoWindow(QStringLiteral("Form4"), info::infoTexts().payrollInfoCaption,
                 info::infoTexts().payrollInfoText, 2880, 4080, 4800, mainWindow) {}

Form5::Form5(QWidget* mainWindow)
    : InfoWindow(QStringLiteral("Form5"), info::infoTexts().servicesInfoCaption,
                 info::infoTexts().servicesInfoText, 3720, 6840, 7560, mainWindow) {}

}  // namespace normativ
