#pragma once

// Helpers of the estimate window tests: the stand-in main window, screenshots on
// request, and a check that no caption or figure is cut off.

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QStyle>
#include <QtTest>

namespace normativ::testing {

/// Saves the window's picture under the build folder's shots/ when NORMATIV_SHOTS=1.
inline void saveShot(QWidget* widget, const QString& name) {
    if (qEnvironmentVariableIntValue("NORMATIV_SHOTS") != 1) return;
    QDir().mkpath(QStringLiteral(NORMATIV_SHOTS_DIR));
    widget->grab().save(QStringLiteral(NORMATIV_SHOTS_DIR "/%1.png").arg(name));
}

/// The labels, buttons and boxes of a window whose text does not fit their size.
inline QStringList cutOffTexts(QWidget* window) {
    QStringList cut;
    for (QLabel* label : window->findChildren<QLabel*>()) {
        const QFontMetrics fm(label->font());
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        const QRect need =
            fm.boundingRect(QRect(0, 0, label->width(), 10000), flags, label->text());
        if (need.width() > label->width() || need.height() > label->height())
            cut << label->objectName();
    }
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        const QFontMetrics fm(button->font());
        if (fm.horizontalAdvance(button->text()) + 8 > button->width()) cut << button->objectName();
    }
    for (QLineEdit* edit : window->findChildren<QLineEdit*>()) {
        const QFontMetrics fm(edit->font());
        if (fm.horizontalAdvance(edit->text()) + 6 > edit->width() ||
            fm.height() + 2 > edit->height())
            cut << edit->objectName();
    }
    return cut;
}

/// A plain window standing in for the main window.
inline std::unique_ptr<QWidget> makeMainStandIn() {
    auto main = std::make_unique<QWidget>();
    main->setObjectName(QStringLiteral("Form0"));
    main->resize(400, 300);
    main->show();
    return main;
}

}  // namespace normativ::testing
