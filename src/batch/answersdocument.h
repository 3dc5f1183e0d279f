#pragma once

#include "jsonsink.h"
#include "normativecalculation.h"
#include "result.h"
#include "store.h"

#include <QByteArray>
#include <QJsonObject>
#include <QLocale>
#include <QString>
#include <optional>

namespace normativ {

/// Reads an answers document from memory:
///   {"locale": "ru"|"en" (optional), "PlanningYear": "2010"|"2011"|"2012",
///    "InstitutionName": string|null (optional), "UseOwnPayrollData": 0|1,
///    "UseOwnServicesData": 0|1, "answers": {name: string|number|null} (optional),
///    "flags": {name: 0|1|null} (optional),
///    "records": [{"age": 1-3|null, "stay": 1-9|null, "orientation": 1-6|null,
///                 "pupils": string|number|null}] (optional, at most 42)}.
/// A string answer is typed text and is stored by the answer-box rule (empty or not a
/// number: the not-entered marker); a number is a stored number; null (or a missing
/// name) is Empty. Without own payroll data the payroll defaults replace the four payroll
/// answers. A record's item numbers choose one item of their kind; its pupils are read
/// as the editor reads them (a string not a number: the marker; null: 0). Numbers in
/// strings are read by the document's locale, `defaultLocale` when it names none. Any
/// unknown field, wrong type or value out of range refuses the whole document.
/// The refusal names the field and what is wrong, in Russian ("records[2].age: ...").
/// The store computes by `methodology`, whose planning years the document's must be.
[[nodiscard]] Result<Store> loadAnswersDocument(
    const QByteArray& json, const QLocale& defaultLocale,
    const std::shared_ptr<const Methodology>& methodology = Methodology::example());

/// The calculation's outcome as a JSON document:
///   {"education": {"refused": bool, "norm": number|null}, "maintenance": {...},
///    "results": {"Text1": string|null, ... "Text6"}, "buttons": bool,
///    "derived": {"TotalNorm", "EducationSubsidy", "MaintenanceSubsidy", "TotalSubsidy"}|null}.
/// Numbers are written so that they read back exactly; a box the calculation leaves as
/// it was is null.
QByteArray resultDocument(const ResultTexts& result, const Store& store);
/// The same document as an object, for a batch's item.
QJsonObject resultObject(const ResultTexts& result, const Store& store);

/// What a document holds beside the calculation's outcome.
struct DocumentExtras {
    /// "error" when not empty.
    QString error;
    /// "file", a batch item's path.
    std::optional<QString> file;
    /// "methodology": the name and fingerprint of the methodology computed by.
    struct Methodology {
        QString name;
        QString fingerprint;
    };
    std::optional<Methodology> methodology;
};

/// Writes the document resultObject makes, with `extras`, piece by piece.
void writeResult(JsonSink& out, const ResultTexts& result, const Store& store,
                 const DocumentExtras& extras);

/// The outcome when the distribution editor refused to finish, so that the result step
/// was never reached: both stages refused, every result box left as it was (null), and
/// the editor's message in "error". Its exit status is that of refused stages.
QByteArray editorRefusalDocument(const Store& store, const QString& message);
QJsonObject editorRefusalObject(const Store& store, const QString& message);

/// 0 when both stages computed, 1 otherwise.
int resultExitStatus(const ResultTexts& result);

}  // namespace normativ
