#pragma once

#include <QString>
#include <QStringList>

namespace normativ {

/// Every text of the methodology workbook: its sheet names, the tables' titles, captions
/// and headers, and the reasons a methodology workbook is refused.
struct MethodologyTexts {
    // Sheets, in the order the workbook has them.
    QString titleSheet;
    QString yearsSheet;
    QString payrollDefaultsSheet;
    QString coefficientsSheet;
    QStringList weightSheets;  ///< E1, E2, M1, M2, M3
    QString groupCountSheet;
    QString servicesSheet;
    QString positionsSheet;
    QString staffSheet;
    QString administrativeSheet;
    /// The one sheet holding every table (a saved report's).
    QString stackedSheet;

    // The tables' first rows; on the stacked sheet they mark where each table starts.
    QString titleTitle;
    QString yearsTitle;
    QString payrollDefaultsTitle;
    QString coefficientsTitle;
    QStringList weightTitles;  ///< E1, E2, M1, M2, M3
    QString groupCountTitle;
    QString servicesTitle;
    QString positionsTitle;
    QString staffTitle;
    QString administrativeTitle;

    // Captions and headers.
    QString nameCaption;
    QString noteCaption;
    QStringList yearsHeader;  ///< year, index, single precision
    QString yes;
    QString no;
    QStringList valueHeader;              ///< caption, value
    QString payrollDefaultCaption;        ///< %1: the answer's short name, %2: its unit
    QStringList coefficientSections;      ///< education, maintenance, payroll estimate
    QStringList educationCoefficients;    ///< in the order of the education normative's
    QStringList maintenanceCoefficients;  ///< in the order of the maintenance normative's
    QStringList payrollEstimateCoefficients;
    QStringList weightsHeader;  ///< item, weight
    QStringList kindCaptions;   ///< age, stay, orientation
    QStringList groupCountHeader;
    QString moreThan30Groups;
    QStringList servicesHeader;
    QStringList serviceItems;     ///< items 1 to 8
    QStringList positionsHeader;  ///< position, salary, coefficient
    QString positionCaption;      ///< %1: the estimate's row, %2: its caption
    QString staffParameter;
    QString staffSet;  ///< %1: the set's number
    QString staffRow;
    QString staffPosition;
    QString staffScale;
    QString staffCurrencyOrientation;
    QString administrativeFromGroups;

    // What is wrong.
    QString atCell;          ///< %1: the sheet, %2: the cell, %3: what is wrong
    QString missingSheet;    ///< %1: the sheet
    QString notMethodology;  ///< %1: the title sheet, %2: the stacked sheet
    QString missingTable;    ///< %1: the table's title
    QString blank;
    QString textNotNumber;
    QString boolNotNumber;
    QString notFinite;
    QString tooLarge;  ///< %1: the largest value allowed
    QString positive;
    QString notNegative;
    QString share;
    QString months;
    QString wholeNotNegative;
    QString year;           ///< %1: the first year, %2: the last
    QString duplicateYear;  ///< %1: the year, %2: the cell that has it
    QString noYears;
    QString index;  ///< the index's range
    QString yesNo;  ///< %1: yes, %2: no
    QString staffRowNumber;
    QString duplicateStaffRow;  ///< %1: the row, %2: the cell that has it
    QString firstFromGroups;
    QString increasingFromGroups;  ///< %1: the line above's number
    QString expectedText;
    QString textTooLong;        ///< %1: the most characters
    QString stayOrOrientation;  ///< %1: the stay caption, %2: the orientation caption

    // The file.
    QString folder;
    QString cannotOpen;  ///< %1: the system's reason
    QString fileTooLarge;
    QString cannotRead;  ///< %1: the system's reason
    /// %1: the deployed workbook, %2: why it was refused.
    QString deployedRefused;
    /// %1: the name, %2: the fingerprint.
    QString inUse;
};
const MethodologyTexts& methodologyTexts();

}  // namespace normativ
