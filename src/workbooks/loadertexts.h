#pragma once

#include <QString>

namespace normativ {

/// Every text of loading a saved report or a statistical form: the loading window's
/// messages and the reasons of a refusal.
struct LoaderTexts {
    /// The loading window's message for a file that is not a workbook it can load.
    QString wrongFile;
    /// The loading window's message when no file was chosen.
    QString noFileChosen;
    QString noMarker;
    QString cell;            ///< %1: sheet number, %2: cell address
    QString tooFewSheets;    ///< %1: sheets in the book, %2: sheets needed
    QString notANumber;      ///< %1: the cell, %2: the answer's short name, %3: its content
    QString recordCount;     ///< %1: the cell, %2: its content, %3: the most records
    QString recordPupils;    ///< %1: the cell, %2: its content
    QString pupilsTooLarge;  ///< %1: the cell, %2: its content
    QString trueValue;
    QString falseValue;
    QString folder;
    QString cannotOpen;  ///< %1: the system's reason
    QString tooLarge;
    QString cannotRead;  ///< %1: the system's reason
};
const LoaderTexts& loaderTexts();

}  // namespace normativ
