#pragma once

// Helpers shared by the window tests.

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

namespace normativ::test {

/// Window tests run without a display unless told otherwise.
inline void useOffscreenByDefault() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}
Q_CONSTRUCTOR_FUNCTION(useOffscreenByDefault)

/// Saves a picture of the window under build/shots/ when NORMATIV_SHOTS=1, for a person
/// to look at.
inline void saveShot(QWidget* window, const QString& name) {
    if (qgetenv("NORMATIV_SHOTS") != "1") return;
    const QString dir = QStringLiteral(NORMATIV_SHOTS_DIR);
    QDir().mkpath(dir);
    window->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

/// Finds a control by its name, failing the test when it is missing.
template <typename T>
T* control(QWidget* window, const char* name) {
    T* found = window->findChild<T*>(QLatin1String(name));
    if (!found) qFatal("control %s not found in %s", name, qPrintable(window->objectName()));
    return found;
}

/// A top-level window by its name; null when there is none.
inline QWidget* topLevel(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == name) return w;
    }
    return nullptr;
}

/// Types text one character at a time (QTest::keyClicks aborts on Cyrillic).
inline void typeText(QWidget* target, const QString& text) {
    for (QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

/// Replaces the text of an answer box as a user would: select all, type.
inline void retype(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    typeText(box, text);
}

inline void pressEnter(QWidget* target) {
    QTest::keyClick(target, Qt::Key_Return);
}

}  // namespace normativ::test
