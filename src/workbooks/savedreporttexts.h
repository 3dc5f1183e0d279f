#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace normativ {

/// Every text of the saved report besides the answers' and choices' own rows.
struct SavedReportTexts {
    struct Row {
        QString label;
        QString unit;  ///< empty: no unit
    };
    QString parametersSheet;
    QString groupsSheet;
    /// The title of both sheets' tables.
    QString enteredData;
    Row institutionName;
    Row planningYear;
    QString resultsTitle;
    /// The normatives and the derived amounts, rows 48 to 53.
    QList<Row> results;
    /// The groups table's header, columns A to E.
    QStringList groupsHeader;
    /// The default file name before the institution and the year.
    QString fileStem;
};
const SavedReportTexts& savedReportTexts();

}  // namespace normativ
