#pragma once

#include <QString>

namespace normativ {

/// Every text of building and saving a workbook: why a workbook can't be made or written.
struct WriterTexts {
    // Saving.
    QString notSaved;  ///< %1: the file, %2: the reason
    QString noFolder;
    QString fileInPath;
    QString noPermission;
    QString readOnlyDisk;
    QString diskFull;
    QString nameTooLong;
    QString folderAtPath;
    QString writeError;  ///< %1: the system's error number
    QString noSheets;
    QString twoSheetsNamed;  ///< %1: the name
    QString numberFormatFailed;
    QString outOfMemory;
    QString bookWriteError;  ///< %1: the writer's error number
    QString numbersWriteError;
    // Building.
    QString onSheet;           ///< %1: the sheet, %2: what is wrong
    QString cellOutsideSheet;  ///< %1: row, %2: column
    QString badRange;
    QString numberDoesNotFit;  ///< %1: the cell
    QString textTooLong;       ///< %1: the cell, %2: the most characters
    QString badAddress;        ///< %1: the address
    QString tooManyRowsToFormat;
    QString rangeTooLargeToFormat;
    QString badNamedRange;  ///< %1: the range
    QString rangeTooLargeForBorders;
    QString badColumnWidth;
    QString badRowHeight;
    QString badPageSetup;
    // Printing.
    QString pageNumbers;       ///< the footer's page numbers, in the spreadsheet's codes
    QString defaultSheetName;  ///< %1: the sheet's number
    QString badSheetName;      ///< %1: the name
};
const WriterTexts& writerTexts();

}  // namespace normativ
