#include "numberhint.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

namespace normativ {

namespace {

// The separator as the hint names it.
QString separatorName(const QString& separator) {
    if (separator == QLatin1String(",")) return QStringLiteral("запятой");
    if (separator == QLatin1String(".")) return QStringLiteral("точкой");
    return QStringLiteral("знаком «%1»").arg(separator);
}

/// Keeps the hint's visibility in step with the box's text and visibility. The check
/// must not reach into the window: it also runs while the window is destroyed.
class HintWatcher : public QObject {
  public:
    HintWatcher(QLineEdit* box, QLabel* hint, std::function<bool(const QString&)> isNumber)
        : QObject(box), box_(box), hint_(hint), isNumber_(std::move(isNumber)) {
        box->installEventFilter(this);
        connect(box, &QLineEdit::textChanged, this, [this] { update(); });
        update();
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show || event->type() == QEvent::Hide) update();
        return false;
    }

  private:
    void update() {
        if (!hint_) return;
        const QString text = box_->text().trimmed();
        hint_->setVisible(!box_->isHidden() && !text.isEmpty() && !isNumber_(box_->text()));
    }

    QLineEdit* box_;
    // The hint may go first when the window is destroyed.
    QPointer<QLabel> hint_;
    std::function<bool(const QString&)> isNumber_;
};

}  // namespace

QString notANumberHint(const QLocale& locale) {
    return QStringLiteral("не число — ответ не будет учтен; дробную часть отделяйте %1")
        .arg(separatorName(locale.decimalPoint()));
}

void attachNumberHint(QLineEdit* box, QLabel* hint, const QLocale& locale,
                      std::function<bool(const QString&)> isNumber) {
    hint->setText(notANumberHint(locale));
    hint->setStyleSheet(QStringLiteral("color: #c00000;"));
    hint->setWordWrap(true);
    new HintWatcher(box, hint, std::move(isNumber));
}

}  // namespace normativ
