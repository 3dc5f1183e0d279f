#pragma once

#include <QString>
#include <QStringList>

namespace normativ {

/// Every text of the payroll and services estimates: their two windows (Form6, Form7)
/// and the estimate workbook. Where the workbook words a caption as the windows do, it
/// shows the windows' text; elsewhere it keeps its own wording.
struct EstimateTexts {
    /// The payroll estimate window.
    QString payrollCaption;
    QString closeButton;
    QString servicesButton;
    /// Grid rows 1 to 25.
    QStringList payrollRowCaptions;
    /// Grid columns 1 to 5; the services estimate's two columns are columns 4 and 5.
    QStringList payrollColumnCaptions;

    /// The services estimate window.
    QString servicesCaption;
    QString payrollButton;
    QString exportButton;
    /// Lines 1 to 7.
    QStringList servicesLineCaptions;
    /// Both amounts of a line that is part of "other expenses" (own-data way).
    QString seeOtherExpenses;

    /// The estimate workbook.
    QString workbookTitle;
    /// B4:F4.
    QStringList workbookColumnCaptions;
    /// Column A of rows 5 to 37: the payroll rows, the services lines, the institution's
    /// total.
    QStringList workbookRowCaptions;
    /// A cell of the services rows that has no figure.
    QString workbookNoFigure;
    /// The proposed file name: this, the institution and the year.
    QString workbookFileName;
};
const EstimateTexts& estimateTexts();

}  // namespace normativ
