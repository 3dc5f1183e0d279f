#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace normativ {

/// Every message box and file dialog of the program goes through here, so that flows
/// which ask the user can be driven by tests: a test queues the next answers, and a
/// queued answer is used instead of showing the dialog.
class Dialogs {
  public:
    static QMessageBox::StandardButton information(QWidget* parent, const QString& title,
                                                   const QString& text);
    static QMessageBox::StandardButton warning(QWidget* parent, const QString& title,
                                               const QString& text);
    static QMessageBox::StandardButton question(QWidget* parent, const QString& title,
                                                const QString& text);
    /// An empty string when the user cancels.
    static QString openFileName(QWidget* parent, const QString& title, const QString& dir,
                                const QString& filter);
    static QString saveFileName(QWidget* parent, const QString& title, const QString& path,
                                const QString& filter);
    /// Several files at once; empty when the user cancels.
    static QStringList openFileNames(QWidget* parent, const QString& title, const QString& dir,
                                     const QString& filter);
    /// An empty string when the user cancels.
    static QString existingFolder(QWidget* parent, const QString& title, const QString& dir);

    // Test hooks.
    static void setNextAnswer(QMessageBox::StandardButton answer);
    /// The answer of the next file or folder dialog that picks one path.
    static void setNextFileName(const QString& fileName);
    /// The answer of the next dialog that picks several files.
    static void setNextFileNames(const QStringList& fileNames);
    /// The texts of the message boxes shown (or answered by a hook) since the last call.
    static QStringList takeShownMessages();
    /// Drops every queued answer and recorded message.
    static void resetHooks();
};

}  // namespace normativ
