#pragma once

#include <QString>

namespace normativ {

/// Every text of the summary window; the mode check boxes take the start screen's
/// captions and the table the summary workbook's column captions.
struct Form11Texts {
    QString caption;
    QString addFilesButton;
    QString addFolderButton;
    QString clearButton;
    QString calculateButton;
    QString stopButton;
    QString saveButton;
    QString closeButton;
    QString addFilesTitle;
    QString addFolderTitle;
    QString workbookFilter;
    /// %1: the folder.
    QString noWorkbooksInFolder;
    /// %1 computed, %2 inputs, %3 the subsidies' total.
    QString resultLine;
    /// The progress bar's text: %v done of %m.
    QString progressFormat;
    QString saveTitle;
    QString summaryFileName;
};

const Form11Texts& form11Texts();

}  // namespace normativ
