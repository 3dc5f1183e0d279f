#include "answersdocument.h"

#include "payrollestimate.h"
#include "servicesestimate.h"

#include "batchtexts.h"
#include "distributiontable.h"
#include "institutionrecord.h"
#include "planningyears.h"
#include "result.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <vector>

namespace normativ {

namespace {

/// What is wrong with a field: its path (empty for the document itself) and the problem.
Status failure(const QString& path, const QString& problem) {
    return Status::failure(path.isEmpty() ? problem : path + QStringLiteral(": ") + problem);
}

Status unknownField(const QString& name) {
    return failure(QString(), batchTexts().unknownField.arg(name));
}

Status missingField(const QString& name) {
    return failure(QString(), batchTexts().missingField.arg(name));
}

Status checkKeys(const QJsonObject& object, const QStringList& allowed, const QString& path) {
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!allowed.contains(it.key())) {
            return unknownField(path.isEmpty() ? it.key() : path + '.' + it.key());
        }
    }
    return Status::success();
}

/// A whole number from `first` to `last` (callers handle null where it is allowed).
Result<int> itemNumber(const QJsonValue& v, int first, int last, const QString& path,
                       bool nullAllowed) {
    const QString expected = batchTexts().expectedWholeNumber.arg(first).arg(last).arg(
        nullAllowed ? batchTexts().orNull : QString());
    if (!v.isDouble()) return Result<int>::failure(failure(path, expected).error());
    const double d = v.toDouble();
    if (d != std::floor(d) || d < first || d > last) {
        return Result<int>::failure(
            failure(path, batchTexts().outOfRange.arg(d).arg(expected)).error());
    }
    return Result<int>::success(static_cast<int>(d));
}

Result<int> modeValue(const QJsonObject& top, const QString& name) {
    if (!top.contains(name)) return Result<int>::failure(missingField(name).error());
    return itemNumber(top.value(name), 0, 1, name, false);
}

Result<QLocale> documentLocale(const QJsonObject& top, const QLocale& defaultLocale) {
    if (!top.contains(QLatin1String("locale"))) return Result<QLocale>::success(defaultLocale);
    const QJsonValue v = top.value(QLatin1String("locale"));
    if (v == QJsonValue(QStringLiteral("ru")))
        return Result<QLocale>::success(QLocale(QLocale::Russian, QLocale::Russia));
    if (v == QJsonValue(QStringLiteral("en")))
        return Result<QLocale>::success(QLocale(QLocale::English, QLocale::UnitedStates));
    return Result<QLocale>::failure(
        failure(QStringLiteral("locale"), batchTexts().expectedLocale).error());
}

Status readIdentification(const QJsonObject& top, Store& store) {
    const QString yearField = QStringLiteral("PlanningYear");
    if (!top.contains(yearField)) return missingField(yearField);
    const QJsonValue year = top.value(yearField);
    const QStringList years = planningYearTexts(*store.methodology);
    if (!year.isString() || !years.contains(year.toString())) {
        const QString last = QStringLiteral("\"%1\"").arg(years.last());
        const QString others = QStringLiteral("\"%1\"").arg(
            years.mid(0, years.size() - 1).join(QStringLiteral("\", \"")));
        return failure(yearField, years.size() == 1 ? batchTexts().expectedYear.arg(last)
                                                    : batchTexts().expectedYears.arg(others, last));
    }
    store.record.planningYear = FieldValue::text(year.toString());

    const QJsonValue name = top.value(QLatin1String("InstitutionName"));
    if (name.isString()) {
        store.record.institutionName = FieldValue::text(name.toString());
    } else if (!name.isNull() && !name.isUndefined()) {
        return failure(QStringLiteral("InstitutionName"), batchTexts().expectedNameText);
    }
    return Status::success();
}

Result<QJsonObject> optionalObject(const QJsonObject& top, const QString& name) {
    const QJsonValue v = top.value(name);
    if (v.isUndefined()) return Result<QJsonObject>::success(QJsonObject());
    if (!v.isObject())
        return Result<QJsonObject>::failure(failure(name, batchTexts().expectedObject).error());
    return Result<QJsonObject>::success(v.toObject());
}

Status readAnswer(const QString& path, const QJsonValue& v, Store& store) {
    const auto answer = answerByName(path.section(QLatin1Char('.'), 1));
    if (!answer) return unknownField(path);
    if (v.isString()) {
        store.record.storeAnswer(*answer, v.toString(), store.locale);
    } else if (v.isDouble()) {
        store.record[*answer] = FieldValue::number(v.toDouble());
    } else if (v.isNull()) {
        store.record[*answer] = FieldValue();
    } else {
        return failure(path, batchTexts().expectedValue);
    }
    return Status::success();
}

Status readFlag(const QString& path, const QJsonValue& v, Store& store) {
    const auto flag = flagByName(path.section(QLatin1Char('.'), 1));
    if (!flag) return unknownField(path);
    if (v.isNull()) {
        store.record[*flag] = FieldValue();
        return Status::success();
    }
    const Result<int> value = itemNumber(v, 0, 1, path, true);
    if (!value) return Status::failure(value.error());
    store.record[*flag] = FieldValue::integer(value.value());
    return Status::success();
}

/// Reads every member of the optional object `name` with `readMember`.
template <typename ReadMember>
Status readMembers(const QJsonObject& top, const QString& name, Store& store,
                   ReadMember readMember) {
    const Result<QJsonObject> object = optionalObject(top, name);
    if (!object) return Status::failure(object.error());
    for (auto it = object->begin(); it != object->end(); ++it) {
        const Status read = readMember(name + QLatin1Char('.') + it.key(), it.value(), store);
        if (!read) return read;
    }
    return Status::success();
}

Status readRecord(const QJsonValue& value, int r, Store& store) {
    const QString path = QStringLiteral("records[%1]").arg(r - 1);
    if (!value.isObject()) return failure(path, batchTexts().expectedObject);
    const QJsonObject record = value.toObject();
    const Status keys = checkKeys(record,
                                  {QStringLiteral("age"), QStringLiteral("stay"),
                                   QStringLiteral("orientation"), QStringLiteral("pupils")},
                                  path);
    if (!keys) return keys;
    DistributionTable& table = store.distribution;
    table.clearRecord(r);
    const std::pair<const char*, Kind> kinds[] = {
        {"age", Kind::AgeClass}, {"stay", Kind::StayMode}, {"orientation", Kind::Orientation}};
    for (const auto& [name, kind] : kinds) {
        const QJsonValue v = record.value(QLatin1String(name));
        if (v.isNull() || v.isUndefined()) continue;
        const Result<int> item = itemNumber(v, 1, usedItemCount(kind),
                                            path + QLatin1Char('.') + QLatin1String(name), true);
        if (!item) return Status::failure(item.error());
        table.storeKindText(r, kind, kindItemTexts(kind)[item.value() - 1]);
    }
    const QJsonValue pupils = record.value(QLatin1String("pupils"));
    const QString pupilsPath = path + QStringLiteral(".pupils");
    if (pupils.isString()) {
        table.storePupilText(r, pupils.toString(), store.locale);
    } else if (pupils.isDouble()) {
        const auto amount = Currency::fromDouble(pupils.toDouble());
        if (!amount) return failure(pupilsPath, batchTexts().numberTooLarge);
        table.setCell(r, Kind::GroupPupilCount, 1, *amount);
    } else if (!pupils.isNull() && !pupils.isUndefined()) {
        return failure(pupilsPath, batchTexts().expectedValue);
    }
    return Status::success();
}

Status readRecords(const QJsonObject& top, Store& store) {
    const QJsonValue v = top.value(QLatin1String("records"));
    QJsonArray records;
    if (!v.isUndefined()) {
        if (!v.isArray()) return failure(QStringLiteral("records"), batchTexts().expectedArray);
        records = v.toArray();
    }
    if (records.size() > kMaxDistributionRecords) {
        return failure(
            QStringLiteral("records"),
            batchTexts().tooManyRecords.arg(records.size()).arg(kMaxDistributionRecords));
    }
    for (int r = 1; r <= records.size(); ++r) {
        if (const Status read = readRecord(records.at(r - 1), r, store); !read) return read;
    }
    store.distribution.recordCount = FieldValue::integer(records.size());
    return Status::success();
}

Result<Store> readDocument(const QByteArray& json, const QLocale& defaultLocale,
                           const std::shared_ptr<const Methodology>& methodology) {
    const auto refused = [](const Status& status) {
        return Result<Store>::failure(status.error());
    };
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        return refused(failure(QString(), batchTexts().notJson.arg(parseError.offset)));
    }
    if (!document.isObject()) return refused(failure(QString(), batchTexts().notAnObject));
    const QJsonObject top = document.object();
    const Status keys =
        checkKeys(top,
                  {QStringLiteral("locale"), QStringLiteral("PlanningYear"),
                   QStringLiteral("InstitutionName"), QStringLiteral("UseOwnPayrollData"),
                   QStringLiteral("UseOwnServicesData"), QStringLiteral("answers"),
                   QStringLiteral("flags"), QStringLiteral("records")},
                  QString());
    if (!keys) return refused(keys);

    const Result<QLocale> locale = documentLocale(top, defaultLocale);
    if (!locale) return refused(Status::failure(locale.error()));
    Store store(locale.value());
    store.methodology = methodology;
    if (const Status read = readIdentification(top, store); !read) return refused(read);
    const Result<int> ownPayroll = modeValue(top, QStringLiteral("UseOwnPayrollData"));
    if (!ownPayroll) return refused(Status::failure(ownPayroll.error()));
    const Result<int> ownServices = modeValue(top, QStringLiteral("UseOwnServicesData"));
    if (!ownServices) return refused(Status::failure(ownServices.error()));
    store.record.useOwnPayrollData = FieldValue::integer(ownPayroll.value());
    store.record.useOwnServicesData = FieldValue::integer(ownServices.value());
    if (const Status read = readMembers(top, QStringLiteral("answers"), store, readAnswer); !read)
        return refused(read);
    // The wizard writes the defaults over whatever the payroll answers held.
    if (ownPayroll.value() == 0)
        store.record.writePayrollDefaults(store.methodology->payrollDefaults);
    if (const Status read = readMembers(top, QStringLiteral("flags"), store, readFlag); !read)
        return refused(read);
    if (const Status read = readRecords(top, store); !read) return refused(read);
    store.record.wizardStep = Step::kResult;
    return Result<Store>::success(std::move(store));
}

void writeStage(JsonSink& out, StageOutcome outcome, const FieldValue& norm,
                const QLocale& locale) {
    out.beginObject();
    out.key(QLatin1StringView("norm"));
    if (outcome == StageOutcome::Computed) {
        out.number(norm.toDouble(locale));
    } else {
        out.null();
    }
    out.key(QLatin1StringView("refused"));
    out.boolean(outcome == StageOutcome::Refused);
    out.endObject();
}

// An object of texts keyed "Text<n>", its members in the order of their keys.
template <typename TextOf>
void writeTexts(JsonSink& out, int first, int count, TextOf textOf) {
    std::vector<std::pair<QByteArray, int>> keys;
    for (int n = first; n < first + count; ++n)
        keys.emplace_back("Text" + QByteArray::number(n), n);
    std::sort(keys.begin(), keys.end());
    out.beginObject();
    for (const auto& [key, n] : keys) {
        out.key(QLatin1StringView(key));
        textOf(n);
    }
    out.endObject();
}

}  // namespace

Result<Store> loadAnswersDocument(const QByteArray& json, const QLocale& defaultLocale,
                                  const std::shared_ptr<const Methodology>& methodology) {
    return readDocument(json, defaultLocale, methodology);
}

void writeResult(JsonSink& out, const ResultTexts& result, const Store& store,
                 const DocumentExtras& extras) {
    // The members in the order of their keys.
    out.beginObject();
    out.key(QLatin1StringView("buttons"));
    out.boolean(result.buttonsVisible);
    out.key(QLatin1StringView("derived"));
    if (result.derived) {
        out.beginObject();
        const std::pair<const char*, double> amounts[] = {
            {"EducationSubsidy", result.derived->educationSubsidy},
            {"MaintenanceSubsidy", result.derived->maintenanceSubsidy},
            {"TotalNorm", result.derived->totalNorm},
            {"TotalSubsidy", result.derived->totalSubsidy}};
        for (const auto& [key, amount] : amounts) {
            out.key(QLatin1StringView(key));
            out.number(amount);
        }
        out.endObject();
    } else {
        out.null();
    }
    out.key(QLatin1StringView("education"));
    writeStage(out, result.education, store.record.educationNorm, store.locale);
    if (!extras.error.isEmpty()) {
        out.key(QLatin1StringView("error"));
        out.string(extras.error);
    }
    if (extras.file) {
        out.key(QLatin1StringView("file"));
        out.string(*extras.file);
    }
    out.key(QLatin1StringView("maintenance"));
    writeStage(out, result.maintenance, store.record.maintenanceNorm, store.locale);
    if (extras.methodology) {
        out.key(QLatin1StringView("methodology"));
        out.beginObject();
        out.key(QLatin1StringView("fingerprint"));
        out.string(extras.methodology->fingerprint);
        out.key(QLatin1StringView("name"));
        out.string(extras.methodology->name);
        out.endObject();
    }
    // The estimates the program offers after a successful calculation.
    std::optional<PayrollEstimate> payroll;
    if (result.derived) payroll = computePayrollEstimate(store);
    out.key(QLatin1StringView("payroll"));
    if (payroll) {
        out.beginArray();
        for (const auto& row : payroll->rows) {
            out.beginArray();
            for (const QString& text : row) out.string(text);
            out.endArray();
        }
        out.endArray();
    } else {
        out.null();
    }
    out.key(QLatin1StringView("results"));
    writeTexts(out, 1, 6, [&](int n) {
        if (const auto& text = result.text(n)) {
            out.string(*text);
        } else {
            out.null();
        }
    });
    out.key(QLatin1StringView("services"));
    if (payroll) {
        const ServicesEstimate services =
            computeServicesEstimate(store, payroll->at(PayrollEstimate::kRows, 5));
        writeTexts(out, ServicesEstimate::kFirstBox, ServicesEstimate::kBoxes,
                   [&](int box) { out.string(services.box(box)); });
    } else {
        out.null();
    }
    out.endObject();
}

QJsonObject resultObject(const ResultTexts& result, const Store& store) {
    JsonTree tree;
    writeResult(tree, result, store, {});
    return tree.object();
}

QByteArray resultDocument(const ResultTexts& result, const Store& store) {
    return QJsonDocument(resultObject(result, store)).toJson(QJsonDocument::Indented);
}

QJsonObject editorRefusalObject(const Store& store, const QString& message) {
    QJsonObject top = resultObject(ResultTexts{}, store);
    top.insert(QStringLiteral("error"), message);
    return top;
}

QByteArray editorRefusalDocument(const Store& store, const QString& message) {
    return QJsonDocument(editorRefusalObject(store, message)).toJson(QJsonDocument::Indented);
}

int resultExitStatus(const ResultTexts& result) {
    return result.education == StageOutcome::Computed &&
                   result.maintenance == StageOutcome::Computed
               ? 0
               : 1;
}

}  // namespace normativ
