#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace normativ {

class Workbook;

/// Saves a workbook the program created where the user chooses and shows it in the
/// desktop's spreadsheet program. Nothing here ends the program: a failure is told to
/// the user, who may try again.
class WorkbookSaver {
  public:
    /// Opens a saved file in the desktop's spreadsheet program; false when it couldn't.
    using Opener = std::function<bool(const QString& path)>;

    /// Asks for the file (the save dialog starts in the documents folder with
    /// `defaultFileName`), adds ".xlsx" when the name has no such ending (asking before
    /// replacing a file the dialog did not ask about), writes the file whole or not at
    /// all, then opens it. When it can't be opened the user is told where
    /// the file is. False when nothing was written: the user cancelled, or the write
    /// failed and a message named the file and the reason.
    static bool save(QWidget* parent, const Workbook& workbook, const QString& dialogTitle,
                     const QString& defaultFileName);

    /// The path the save dialog proposes: the documents folder (the home folder when
    /// there is none) and the file name.
    static QString proposedPath(const QString& defaultFileName);
    /// The folder where the program proposes to save: the documents folder, or the home
    /// folder when there is none.
    static QString documentsFolder();

    /// Test hook: replaces the opener; an empty function restores the desktop's.
    static void setOpener(Opener opener);
};

}  // namespace normativ
