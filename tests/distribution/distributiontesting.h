#pragma once

// A stand-in main window and the steps a user takes in the distribution windows.

#include "distributionwindows.h"
#include "guitest.h"
#include "navigation.h"
#include "store.h"

#include <QComboBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QWidget>

namespace normativ::test {

/// Records what the distribution windows ask of the main window.
class FakeMainWindow : public QWidget, public MainWindowPort {
  public:
    FakeMainWindow() {
        setObjectName(QStringLiteral("Form0"));
        resize(200, 100);
    }
    QWidget* widget() override { return this; }
    void returnToKindStep() override { calls << QStringLiteral("returnToKindStep"); }
    void prepareStepAfterDistribution() override {
        calls << QStringLiteral("prepareStepAfterDistribution");
    }
    void showFirstStepAfterLoad() override { calls << QStringLiteral("showFirstStepAfterLoad"); }
    void hideModeChecks() override { calls << QStringLiteral("hideModeChecks"); }
    void returnFromLoader() override { calls << QStringLiteral("returnFromLoader"); }

    QStringList calls;
};

/// What the distribution window tests start from: a Russian store with one record and
/// 100 pupils, the stand-in main window shown, and the two windows.
struct DistributionRig {
    Store store{QLocale(QLocale::Russian, QLocale::Russia)};
    FakeMainWindow main;
    Navigator navigator;
    DistributionWindows windows{store, navigator};

    DistributionRig() {
        store.distribution.recordCount = FieldValue::integer(1);
        store.record[Answer::PupilCount] = FieldValue::text(QStringLiteral("100"));
        navigator.main = &main;
        main.show();
    }
};

inline void click(QWidget* window, const char* button) {
    QTest::mouseClick(control<QPushButton>(window, button), Qt::LeftButton);
}

/// Chooses list item `index` (0-based) of a choice box from the keyboard.
inline void choose(QWidget* window, const char* comboName, int index) {
    auto* combo = control<QComboBox>(window, comboName);
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < index; ++i) QTest::keyClick(combo, Qt::Key_Down);
}

/// True when the control is not hidden by its window's rules (the window itself may be).
inline bool shown(QWidget* window, const char* name) {
    return !control<QWidget>(window, name)->isHidden();
}

/// Reports the first shown control whose text does not fit its box, that reaches out
/// of the window, or that overlaps another shown control; empty when the layout is tidy.
inline QString layoutFault(QWidget* window) {
    QList<QWidget*> visible;
    for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isHidden()) visible << child;
    }
    for (QWidget* child : visible) {
        const QString name = child->objectName();
        if (!window->rect().contains(child->geometry()))
            return name + QStringLiteral(" leaves the window");
        if (auto* label = qobject_cast<QLabel*>(child)) {
            const bool fits = label->wordWrap()
                                  ? label->heightForWidth(label->width()) <= label->height()
                                  : label->sizeHint().width() <= label->width() &&
                                        label->sizeHint().height() <= label->height();
            if (!fits) return name + QStringLiteral(" cuts off \"") + label->text() + u'"';
        }
        if (auto* button = qobject_cast<QPushButton*>(child)) {
            if (button->sizeHint().width() > button->width()) {
                return name + QStringLiteral(" cuts off \"") + button->text() + u'"';
            }
        }
        for (QWidget* other : visible) {
            if (other != child && other->geometry().intersects(child->geometry())) {
                return name + QStringLiteral(" overlaps ") + other->objectName();
            }
        }
    }
    return {};
}

}  // namespace normativ::test
