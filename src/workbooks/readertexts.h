#pragma once

#include <QString>

namespace normativ {

/// The Russian reasons the workbook readers give for refusing a file. Texts with %1 take
/// one argument (a reason, a name, a number). "Damaged" texts wrap the other ones.
struct ReaderTexts {
    // Any workbook.
    QString emptyFile;
    QString fileTooLarge;
    QString notWorkbook;
    QString cellOutsideSheet;
    QString badNumber;
    QString tooManyCells;
    QString tooManySheets;
    QString tooManyStrings;
    QString missingString;
    QString textTooLong;  // %1 the length limit

    // The .xls compound file.
    QString xlsDamaged;  // %1 the reason
    QString notXls;
    QString badHeader;
    QString fileCutShort;
    QString badFatSectorCount;
    QString badDifatChain;
    QString fatSectorOutsideFile;
    QString emptyDirectory;
    QString noRootStorage;
    QString badDirectory;
    QString badMiniStreamSize;
    QString badSectorChain;
    QString sectorOutsideFile;
    QString streamOverFile;
    QString noStream;  // %1 the stream's name

    // The .xls records.
    QString xlsPasswordProtected;
    QString xlsOldFormat;
    QString noWorkbookStream;
    QString noWorkbookStart;
    QString recordCutShort;
    QString recordOverStream;
    QString stringCutShort;
    QString shortSheetRecord;
    QString badSheetName;
    QString shortStringTable;
    QString shortCellRecord;
    QString sheetOutsideStream;  // %1 the sheet's name
    QString noSheetStart;        // %1 the sheet's name
    QString sheetCutShort;       // %1 the sheet's name

    // The .xlsx package.
    QString xlsxDamaged;  // %1 the reason
    QString notXlsx;
    QString xlsxEncrypted;
    QString archiveUnreadable;
    QString tooManyParts;
    QString badPartName;  // %1 the part's name
    QString duplicatePart;
    QString missingPart;         // %1 the part's name
    QString partUnreadable;      // %1 the part's name
    QString partTooLarge;        // %1 the part's name
    QString partOverCompressed;  // %1 the part's name
    QString inflatedTooLarge;
    QString tooManyRelationships;
    QString noWorkbookPart;
    QString sheetWithoutRelationship;
    QString namedSheetWithoutRelationship;  // %1 the sheet's name
    QString unknownSheetKind;               // %1 the sheet's name
    QString relationshipLeavesPackage;
    QString badRowNumber;
    QString rowOutsideSheet;
    QString badCellAddress;  // %1 the address
    QString badBoolean;
    QString unknownCellType;

    // The XML of .xlsx parts.
    QString xmlNotUtf8;
    QString xmlBadCharacterReference;
    QString xmlUnknownEntity;
    QString xmlUnclosedTag;
    QString xmlMismatchedTags;
    QString xmlSecondRoot;
    QString xmlBadTag;
    QString xmlBadAttribute;
    QString xmlUnclosedAttribute;
    QString xmlTooManyAttributes;
    QString xmlTooDeep;
    QString xmlTextOutsideRoot;
    QString xmlUnclosedCdata;
    QString xmlUnclosedComment;
    QString xmlUnclosedInstruction;
    QString xmlDoctype;
    QString xmlCutShort;
    QString xmlNoElements;
};

/// The one table of the readers' texts.
const ReaderTexts& readerTexts();

}  // namespace normativ
