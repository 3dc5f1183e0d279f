#include "form2.h"

#include "screenfit.h"
#include "steptexts.h"
#include "twips.h"

#include <QLabel>
#include <QPushButton>

namespace normativ {

Form2::Form2(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(wizard::mainWindowTexts().helpCaption);
    label1_ = new QLabel(this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setWordWrap(true);
    label1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label1_->setGeometry(QRect(twipsPoint(840, 600), twipsSize(7335, 3615)));
    auto* close = new QPushButton(wizard::mainWindowTexts().closeButton, this);
    close->setObjectName(QStringLiteral("Command1"));
    close->setGeometry(QRect(twipsPoint(3000, 4560), twipsSize(2295, 495)));
    setDesignedSize(this, twipsSize(9015, 5400));
    connect(close, &QPushButton::clicked, this, &Form2::onCommand1Clicked);
}

void Form2::showHelp(const QString& text) {
    show();
    label1_->setText(text);
    raise();
}

void Form2::onCommand1Clicked() {
    hide();
}

}  // namespace normativ
