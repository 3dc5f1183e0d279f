#pragma once

#include <QString>

namespace normativ {

/// Every text the workbook windows and messages show: saving a created workbook and
/// the loading window (Form3).
struct WorkbookWindowTexts {
    // Saving a created workbook.
    QString reportDialogTitle;
    QString estimateDialogTitle;
    QString methodologySaveTitle;
    QString methodologyLoadTitle;
    /// The name the save dialog proposes for the methodology.
    QString methodologyFileName;
    QString workbookFilter;
    QString workbookSuffix;
    /// %1: the full path of a file that is there already. Asked when the ending was added
    /// to the name the user gave, since the dialog asked about the name without it.
    QString replaceExisting;
    QString notSavedTitle;
    /// Follows the writer's message, which names the file and the reason.
    QString tryAgain;
    QString notPreparedTitle;
    /// %1: what went wrong.
    QString notPrepared;
    /// What went wrong when building a workbook ran out of memory.
    QString outOfMemory;
    QString savedTitle;
    /// %1: the full path of the saved file.
    QString savedNotOpened;

    // The loading window.
    QString loaderCaption;
    /// Label1, Label2 and Label3.
    QString locationPrompt;
    QString pathCaption;
    QString notAWorkbookMessage;
    QString startButton;
    /// The file list shows workbooks of either format.
    QString filePattern;
    /// What a screen reader calls the drive, folder and file lists.
    QString driveListName;
    QString folderListName;
    QString fileListName;
    /// Entries of the drive list besides the volumes.
    QString homeDrive;
    /// %1: the medium's name.
    QString removableDrive;
};
const WorkbookWindowTexts& workbookWindowTexts();

}  // namespace normativ
