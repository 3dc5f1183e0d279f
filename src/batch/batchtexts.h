#pragma once

#include <QString>
#include <QStringList>

namespace normativ {

/// Every text of normativ-calc and its batch: the errors of an input, the answers
/// document's faults, the summary workbook's captions, the usage and its messages.
struct BatchTexts {
    // One input.
    QString computed;  ///< the status of a computed input
    QString modesWithDocument;
    QString documentError;     ///< before what is wrong with an answers document
    QString documentTooLarge;  ///< %1: the cap in MiB
    QString folder;
    QString cannotOpen;
    QString notFound;
    QString cannotRead;
    QString cannotListFolder;
    QString cannotProcess;
    // The answers document's faults, after the field's path.
    QString unknownField;  ///< %1: the field
    QString missingField;  ///< %1: the field
    QString expectedObject;
    QString expectedValue;
    QString expectedWholeNumber;  ///< %1 to %2, %3: orNull or nothing
    QString orNull;
    QString outOfRange;  ///< %1: the value, %2: what is expected
    QString expectedLocale;
    QString expectedYear;   ///< %1: the only year
    QString expectedYears;  ///< %1: the years but the last, %2: the last
    QString expectedNameText;
    QString numberTooLarge;
    QString expectedArray;
    QString tooManyRecords;  ///< %1: records given, %2: the most allowed
    QString notJson;         ///< %1: where the fault lies
    QString notAnObject;
    // The summary workbook.
    QString summarySheet;
    QStringList summaryHeader;  ///< one caption per column
    QString totals;
    QString computedOf;  ///< %1: computed, %2: how many, %3: of how many
    // The command line.
    QString usage;
    QString optionTwice;        ///< %1: the option
    QString optionWithoutFile;  ///< %1: the option
    QString unknownOption;      ///< %1: the option
};
const BatchTexts& batchTexts();

}  // namespace normativ
