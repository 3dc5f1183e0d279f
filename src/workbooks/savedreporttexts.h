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

    /// A line of the calculation trail: its name and how its value was obtained.
    struct TrailRow {
        QString name;
        QString how;
    };
    /// Texts of the sheet "Расчет", the calculation trail. In a "how" text %N stands for a
    /// number the line names (a constant of the methodology, an answer).
    struct Trail {
        QString sheet;
        QString title;
        QString methodology;  ///< %1: the methodology's name
        QString precision;    ///< why a value may show more digits than the methodology
        QStringList header;   ///< name, value, how obtained
        QString educationSection;
        QString maintenanceSection;
        QString resultsSection;
        /// A stage that refused: "неверный ввод" and the causes (%1, joined).
        TrailRow refused;
        QString causesSeparator;
        TrailRow resultsRefused;

        // Shared by both stages.
        TrailRow yearIndex;      ///< %1: the year
        QString yearNotListed;   ///< %1: the year, %2: the last year of the methodology
        QString ownPayroll;      ///< how of the institution's own payroll figures
        QString payrollDefault;  ///< how of the payroll defaults
        QString input;           ///< how of another answer
        TrailRow accrualFactor;
        TrailRow longYear;    ///< how: %1 the months, %2 the methodology's limit
        QString notLongYear;  ///< %1 the months, %2 the limit
        QString recordsSection;
        QString recordPupils;  ///< %1: the record's number
        QString noKind;        ///< a kind not chosen in a record
        QString kindsSeparator;
        QString groupWeight;  ///< %1: the record's number
        /// %1, %2, %3: the weights of the record's age, stay and orientation.
        QString groupWeightWithStay;
        QString groupWeightNoStay;  ///< %1, %2: the weights of age and orientation
        /// In place of a weight when a record's cells are not one chosen item.
        QStringList kindWeights;  ///< age, stay, orientation
        /// The load factors of the passes E1, E2, M1, M2, M3.
        QStringList loadFactors;
        QString loadFactorHow;

        // The education normative.
        TrailRow teacherCost;  ///< %1 salary factor, %2 addend, %3 monthly share
        TrailRow village;      ///< how: in a village
        QString notVillage;
        TrailRow villageSupport;
        TrailRow kind;  ///< how: the kind coefficient applies
        QString kindOther;
        QString kindOwnPayroll;
        TrailRow sixDayWeek;  ///< how: not a five-day week
        QString fiveDayWeek;
        QString educationNorm;  ///< %1: the support share

        // The maintenance normative.
        TrailRow groupCount;  ///< how: %1 the groups
        QString manyGroups;   ///< %1 the groups, %2 the last line of the table
        TrailRow staffWeek;
        TrailRow payrollPartB;  ///< %1 share B, %2 salary factor
        TrailRow payrollPartA;  ///< %1 share A, %2 salary factor
        QString serviceItem;    ///< %1: the item's standard amount
        TrailRow parentPayment;
        QString standardMaintenanceNorm;
        TrailRow staffCostIndex;
        TrailRow utilities;  ///< %1 heat share, %2 electricity share, %3 repaired area share
        TrailRow indexedCosts;
        TrailRow taxes;              ///< %1 heat share, %2 electricity tax share
        QString ownMaintenanceNorm;  ///< %1: the tax term factor

        // The results.
        QString totalNorm;
        QString educationSubsidy;
        QString maintenanceSubsidy;
        QString totalSubsidy;
    };
    Trail trail;
};
const SavedReportTexts& savedReportTexts();

}  // namespace normativ
