#include "dialogs.h"

#include <QFileDialog>
#include <QQueue>

namespace normativ {

namespace {

struct Hooks {
    QQueue<QMessageBox::StandardButton> answers;
    QQueue<QString> fileNames;
    QQueue<QStringList> fileLists;
    QStringList shown;
};

Hooks& hooks() {
    static Hooks h;
    return h;
}

QMessageBox::StandardButton ask(QMessageBox::Icon icon, QWidget* parent, const QString& title,
                                const QString& text, QMessageBox::StandardButtons buttons) {
    hooks().shown << text;
    if (!hooks().answers.isEmpty()) return hooks().answers.dequeue();
    QMessageBox box(icon, title, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

QMessageBox::StandardButton Dialogs::information(QWidget* parent, const QString& title,
                                                 const QString& text) {
    return ask(QMessageBox::Information, parent, title, text, QMessageBox::Ok);
}

QMessageBox::StandardButton Dialogs::warning(QWidget* parent, const QString& title,
                                             const QString& text) {
    return ask(QMessageBox::Warning, parent, title, text, QMessageBox::Ok);
}

QMessageBox::StandardButton Dialogs::question(QWidget* parent, const QString& title,
                                              const QString& text) {
    return ask(QMessageBox::Question, parent, title, text, QMessageBox::Yes | QMessageBox::No);
}

QString Dialogs::openFileName(QWidget* parent, const QString& title, const QString& dir,
                              const QString& filter) {
    if (!hooks().fileNames.isEmpty()) return hooks().fileNames.dequeue();
    return QFileDialog::getOpenFileName(parent, title, dir, filter);
}

QString Dialogs::saveFileName(QWidget* parent, const QString& title, const QString& path,
                              const QString& filter) {
    if (!hooks().fileNames.isEmpty()) return hooks().fileNames.dequeue();
    return QFileDialog::getSaveFileName(parent, title, path, filter);
}

QStringList Dialogs::openFileNames(QWidget* parent, const QString& title, const QString& dir,
                                   const QString& filter) {
    if (!hooks().fileLists.isEmpty()) return hooks().fileLists.dequeue();
    return QFileDialog::getOpenFileNames(parent, title, dir, filter);
}

QString Dialogs::existingFolder(QWidget* parent, const QString& title, const QString& dir) {
    if (!hooks().fileNames.isEmpty()) return hooks().fileNames.dequeue();
    return QFileDialog::getExistingDirectory(parent, title, dir);
}

void Dialogs::setNextAnswer(QMessageBox::StandardButton answer) {
    hooks().answers.enqueue(answer);
}

void Dialogs::setNextFileName(const QString& fileName) {
    hooks().fileNames.enqueue(fileName);
}

void Dialogs::setNextFileNames(const QStringList& fileNames) {
    hooks().fileLists.enqueue(fileNames);
}

QStringList Dialogs::takeShownMessages() {
    QStringList shown = hooks().shown;
    hooks().shown.clear();
    return shown;
}

void Dialogs::resetHooks() {
    hooks() = Hooks();
}

}  // namespace normativ
