#pragma once

#include "methodology.h"

#include <QByteArray>
#include <QJsonObject>
#include <QLocale>
#include <QString>
#include <memory>
#include <optional>

namespace normativ {

/// How a run computes: the start screen's two check boxes, which a workbook doesn't
/// hold, given on the command line (an answers document carries its own), and the
/// methodology of every input.
struct CalcModes {
    bool ownPayroll = false;
    bool ownServices = false;
    /// Either option was given (an answers document then refuses them).
    bool given = false;
    std::shared_ptr<const Methodology> methodology = Methodology::example();
    /// Each outcome carries its batch item printed (InputOutcome::item) instead of its
    /// document: a run that only prints its items needs nothing else.
    bool printedItems = false;
};

/// How one input ended; the numbers are the exit statuses of a run on that one input.
enum class InputStatus {
    Computed = 0,  ///< read, and both stages computed
    Refused = 1,   ///< read, but a stage refused its inputs or the editor refused to finish
    Unusable = 2,  ///< the file can't be read or used
};

/// One line of the summary workbook. The figures are there exactly when both stages
/// computed; the normatives and amounts are the unrounded ones of the saved report.
struct SummaryRow {
    QString fileName;
    QString institution;
    /// The planning year as the record holds it (normally "2010" to "2012").
    QString year;
    struct Figures {
        double pupils = 0;
        double groups = 0;
        double educationNorm = 0;
        double maintenanceNorm = 0;
        double totalNorm = 0;
        double educationSubsidy = 0;
        double maintenanceSubsidy = 0;
        double totalSubsidy = 0;
    };
    std::optional<Figures> figures;
    /// "рассчитано", or the input's error text.
    QString status;
};

/// Everything a run makes of one input.
struct InputOutcome {
    /// The path as given.
    QString file;
    InputStatus status = InputStatus::Unusable;
    /// The document printed for a single input (as normativ-calc FILE prints it); empty
    /// when the input is unusable.
    QJsonObject document;
    /// What is wrong, in Russian (the wrong-file message and its reason, the editor's
    /// message, or "неверный ввод: " and the causes); empty when both stages computed.
    QString error;
    /// The message is about the options: a single input then also prints the usage.
    bool usageError = false;
    /// With CalcModes::printedItems, when the input was read: batchItem() printed as
    /// batchDocument prints it inside the array (one level deep, without the comma); the
    /// document is then empty.
    QByteArray item;
    SummaryRow row;

    /// The message on standard error for a single unusable input (after the program's
    /// name): the path and the error.
    QString message() const { return file + QStringLiteral(": ") + error; }

    /// The item of a batch's array: the document with "file" and, unless both stages
    /// computed, "error".
    QJsonObject batchItem() const;
};

/// The user's locale for numbers (QLocale::system()) as a plain locale of the same
/// symbols, when the environment names one; otherwise the system locale itself. The
/// system locale asks the system, under a lock, for every separator it uses; a plain
/// one reads its own tables, so that inputs computed in parallel don't wait on each
/// other. Call from the main thread.
QLocale userNumberLocale();

/// Reads one input - an answers document (JSON), a statistical form or a saved report,
/// recognised by content - and computes it as the program does: the same loading, the
/// walk through the wizard, the calculation and the estimates. Works on its own store
/// in `locale` and touches nothing shared, so that inputs can be computed in parallel;
/// never throws for a bad file.
InputOutcome calculateInput(const QString& path, const CalcModes& modes, const QLocale& locale);

/// The same for a file already read (`bytes`, at most the cap plus one byte).
InputOutcome calculateInputBytes(const QString& path, const QByteArray& bytes,
                                 const CalcModes& modes, const QLocale& locale);

/// An input that could not be read at all (a folder that can't be listed, say).
InputOutcome unusableInput(const QString& path, const QString& error);

/// "неверный ввод: " and the causes of the refused stages.
QString invalidInputError(const QStringList& causes);

}  // namespace normativ
