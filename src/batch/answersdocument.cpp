#include "answersdocument.h"

#include "payrollestimate.h"
#include "servicesestimate.h"

#include "distributiontable.h"
#include "institutionrecord.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QStringList>
#include <cmath>

namespace normativ {

namespace {

/// Thrown inside the reader only; loadAnswersDocument turns it into the error texts.
struct DocumentError {
    QString message;
    QString russian;
};

/// `problem` in English for the command line's message, `russianProblem` for a batch's
/// item, both after the field's path.
[[noreturn]] void fail(const QString& path, const QString& problem, const QString& russianProblem) {
    const auto at = [&](const QString& text) {
        return path.isEmpty() ? text : path + QStringLiteral(": ") + text;
    };
    throw DocumentError{at(problem), at(russianProblem)};
}

[[noreturn]] void failUnknownField(const QString& name) {
    fail(QString(), QStringLiteral("unknown field \"%1\"").arg(name),
         QStringLiteral("неизвестное поле «%1»").arg(name));
}

[[noreturn]] void failMissingField(const QString& name) {
    fail(QString(), QStringLiteral("missing field \"%1\"").arg(name),
         QStringLiteral("нет поля «%1»").arg(name));
}

const QString kExpectedObject = QStringLiteral("expected an object");
const QString kExpectedObjectRu = QStringLiteral("ожидается объект");
const QString kExpectedValue = QStringLiteral("expected a string, a number or null");
const QString kExpectedValueRu = QStringLiteral("ожидается строка, число или null");

void checkKeys(const QJsonObject& object, const QStringList& allowed, const QString& path) {
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!allowed.contains(it.key())) {
            failUnknownField(path.isEmpty() ? it.key() : path + '.' + it.key());
        }
    }
}

/// A whole number from `first` to `last` (callers handle null where it is allowed).
int itemNumber(const QJsonValue& v, int first, int last, const QString& path, bool nullAllowed) {
    const QString expected = QStringLiteral("expected a whole number from %1 to %2%3")
                                 .arg(first)
                                 .arg(last)
                                 .arg(nullAllowed ? QStringLiteral(" or null") : QString());
    const QString russian = QStringLiteral("ожидается целое число от %1 до %2%3")
                                .arg(first)
                                .arg(last)
                                .arg(nullAllowed ? QStringLiteral(" или null") : QString());
    if (!v.isDouble()) fail(path, expected, russian);
    const double d = v.toDouble();
    if (d != std::floor(d) || d < first || d > last) {
        fail(path, QStringLiteral("%1 is out of range; %2").arg(v.toDouble()).arg(expected),
             QStringLiteral("%1 вне допустимых значений; %2").arg(v.toDouble()).arg(russian));
    }
    return static_cast<int>(d);
}

int modeValue(const QJsonObject& top, const QString& name) {
    if (!top.contains(name)) failMissingField(name);
    return itemNumber(top.value(name), 0, 1, name, false);
}

QLocale documentLocale(const QJsonObject& top, const QLocale& defaultLocale) {
    if (!top.contains(QLatin1String("locale"))) return defaultLocale;
    const QJsonValue v = top.value(QLatin1String("locale"));
    if (v == QJsonValue(QStringLiteral("ru"))) return QLocale(QLocale::Russian, QLocale::Russia);
    if (v == QJsonValue(QStringLiteral("en"))) {
        return QLocale(QLocale::English, QLocale::UnitedStates);
    }
    fail(QStringLiteral("locale"), QStringLiteral("expected \"ru\" or \"en\""),
         QStringLiteral("ожидается \"ru\" или \"en\""));
}

void readIdentification(const QJsonObject& top, Store& store) {
    const QString yearField = QStringLiteral("PlanningYear");
    if (!top.contains(yearField)) failMissingField(yearField);
    const QJsonValue year = top.value(yearField);
    const QStringList years{QStringLiteral("2010"), QStringLiteral("2011"), QStringLiteral("2012")};
    if (!year.isString() || !years.contains(year.toString())) {
        fail(yearField, QStringLiteral("expected \"2010\", \"2011\" or \"2012\""),
             QStringLiteral("ожидается \"2010\", \"2011\" или \"2012\""));
    }
    store.record.planningYear = FieldValue::text(year.toString());

    const QJsonValue name = top.value(QLatin1String("InstitutionName"));
    if (name.isString()) {
        store.record.institutionName = FieldValue::text(name.toString());
    } else if (!name.isNull() && !name.isUndefined()) {
        fail(QStringLiteral("InstitutionName"), QStringLiteral("expected a string or null"),
             QStringLiteral("ожидается строка или null"));
    }
}

QJsonObject optionalObject(const QJsonObject& top, const QString& name) {
    const QJsonValue v = top.value(name);
    if (v.isUndefined()) return QJsonObject();
    if (!v.isObject()) fail(name, kExpectedObject, kExpectedObjectRu);
    return v.toObject();
}

void readAnswers(const QJsonObject& top, Store& store) {
    const QJsonObject answers = optionalObject(top, QStringLiteral("answers"));
    for (auto it = answers.begin(); it != answers.end(); ++it) {
        const QString path = QStringLiteral("answers.") + it.key();
        const auto answer = answerByName(it.key());
        if (!answer) failUnknownField(path);
        const QJsonValue v = it.value();
        if (v.isString()) {
            store.record.storeAnswer(*answer, v.toString(), store.locale);
        } else if (v.isDouble()) {
            store.record[*answer] = FieldValue::number(v.toDouble());
        } else if (v.isNull()) {
            store.record[*answer] = FieldValue();
        } else {
            fail(path, kExpectedValue, kExpectedValueRu);
        }
    }
}

void readFlags(const QJsonObject& top, Store& store) {
    const QJsonObject flags = optionalObject(top, QStringLiteral("flags"));
    for (auto it = flags.begin(); it != flags.end(); ++it) {
        const QString path = QStringLiteral("flags.") + it.key();
        const auto flag = flagByName(it.key());
        if (!flag) failUnknownField(path);
        if (it.value().isNull()) {
            store.record[*flag] = FieldValue();
        } else {
            store.record[*flag] = FieldValue::integer(itemNumber(it.value(), 0, 1, path, true));
        }
    }
}

void readRecord(const QJsonValue& value, int r, Store& store) {
    const QString path = QStringLiteral("records[%1]").arg(r - 1);
    if (!value.isObject()) fail(path, kExpectedObject, kExpectedObjectRu);
    const QJsonObject record = value.toObject();
    checkKeys(record,
              {QStringLiteral("age"), QStringLiteral("stay"), QStringLiteral("orientation"),
               QStringLiteral("pupils")},
              path);
    DistributionTable& table = store.distribution;
    table.clearRecord(r);
    const std::pair<const char*, Kind> kinds[] = {
        {"age", Kind::AgeClass}, {"stay", Kind::StayMode}, {"orientation", Kind::Orientation}};
    for (const auto& [name, kind] : kinds) {
        const QJsonValue v = record.value(QLatin1String(name));
        if (v.isNull() || v.isUndefined()) continue;
        const int item = itemNumber(v, 1, usedItemCount(kind),
                                    path + QLatin1Char('.') + QLatin1String(name), true);
        table.storeKindText(r, kind, kindItemTexts(kind)[item - 1]);
    }
    const QJsonValue pupils = record.value(QLatin1String("pupils"));
    const QString pupilsPath = path + QStringLiteral(".pupils");
    if (pupils.isString()) {
        table.storePupilText(r, pupils.toString(), store.locale);
    } else if (pupils.isDouble()) {
        const auto amount = Currency::fromDouble(pupils.toDouble());
        if (!amount) {
            fail(pupilsPath, QStringLiteral("the number is too large"),
                 QStringLiteral("слишком большое число"));
        }
        table.setCell(r, Kind::GroupPupilCount, 1, *amount);
    } else if (!pupils.isNull() && !pupils.isUndefined()) {
        fail(pupilsPath, kExpectedValue, kExpectedValueRu);
    }
}

void readRecords(const QJsonObject& top, Store& store) {
    const QJsonValue v = top.value(QLatin1String("records"));
    QJsonArray records;
    if (!v.isUndefined()) {
        if (!v.isArray()) {
            fail(QStringLiteral("records"), QStringLiteral("expected an array"),
                 QStringLiteral("ожидается массив"));
        }
        records = v.toArray();
    }
    if (records.size() > kMaxDistributionRecords) {
        fail(QStringLiteral("records"),
             QStringLiteral("%1 records, at most %2 are allowed")
                 .arg(records.size())
                 .arg(kMaxDistributionRecords),
             QStringLiteral("записей: %1, допускается не более %2")
                 .arg(records.size())
                 .arg(kMaxDistributionRecords));
    }
    for (int r = 1; r <= records.size(); ++r) readRecord(records.at(r - 1), r, store);
    store.distribution.recordCount = FieldValue::integer(records.size());
}

Store readDocument(const QByteArray& json, const QLocale& defaultLocale) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        fail(QString(),
             QStringLiteral("not a JSON document (%1 at offset %2)")
                 .arg(parseError.errorString())
                 .arg(parseError.offset),
             QStringLiteral("не документ JSON (ошибка в позиции %1)").arg(parseError.offset));
    }
    if (!document.isObject()) {
        fail(QString(), QStringLiteral("the document is not a JSON object"),
             QStringLiteral("документ JSON не является объектом"));
    }
    const QJsonObject top = document.object();
    checkKeys(top,
              {QStringLiteral("locale"), QStringLiteral("PlanningYear"),
               QStringLiteral("InstitutionName"), QStringLiteral("UseOwnPayrollData"),
               QStringLiteral("UseOwnServicesData"), QStringLiteral("answers"),
               QStringLiteral("flags"), QStringLiteral("records")},
              QString());

    Store store(documentLocale(top, defaultLocale));
    readIdentification(top, store);
    const int ownPayroll = modeValue(top, QStringLiteral("UseOwnPayrollData"));
    const int ownServices = modeValue(top, QStringLiteral("UseOwnServicesData"));
    store.record.useOwnPayrollData = FieldValue::integer(ownPayroll);
    store.record.useOwnServicesData = FieldValue::integer(ownServices);
    readAnswers(top, store);
    // The wizard writes the defaults over whatever the payroll answers held.
    if (ownPayroll == 0) store.record.writePayrollDefaults();
    readFlags(top, store);
    readRecords(top, store);
    store.record.wizardStep = Step::kResult;
    return store;
}

QJsonValue number(double v) {
    return std::isfinite(v) ? QJsonValue(v) : QJsonValue();
}

QJsonObject stageObject(StageOutcome outcome, const FieldValue& norm, const QLocale& locale) {
    QJsonObject stage;
    stage.insert(QStringLiteral("refused"), outcome == StageOutcome::Refused);
    stage.insert(QStringLiteral("norm"),
                 outcome == StageOutcome::Computed ? number(norm.toDouble(locale)) : QJsonValue());
    return stage;
}

}  // namespace

AnswersDocument loadAnswersDocument(const QByteArray& json, const QLocale& defaultLocale) {
    AnswersDocument result;
    try {
        result.store = readDocument(json, defaultLocale);
    } catch (const DocumentError& e) {
        result.error = e.message;
        result.russianError = e.russian;
    }
    return result;
}

QJsonObject resultObject(const ResultTexts& result, const Store& store) {
    QJsonObject top;
    top.insert(QStringLiteral("education"),
               stageObject(result.education, store.record.educationNorm, store.locale));
    top.insert(QStringLiteral("maintenance"),
               stageObject(result.maintenance, store.record.maintenanceNorm, store.locale));
    QJsonObject texts;
    for (int n = 1; n <= 6; ++n) {
        const auto& text = result.text(n);
        texts.insert(QStringLiteral("Text%1").arg(n), text ? QJsonValue(*text) : QJsonValue());
    }
    top.insert(QStringLiteral("results"), texts);
    top.insert(QStringLiteral("buttons"), result.buttonsVisible);
    if (result.derived) {
        QJsonObject derived;
        derived.insert(QStringLiteral("TotalNorm"), number(result.derived->totalNorm));
        derived.insert(QStringLiteral("EducationSubsidy"),
                       number(result.derived->educationSubsidy));
        derived.insert(QStringLiteral("MaintenanceSubsidy"),
                       number(result.derived->maintenanceSubsidy));
        derived.insert(QStringLiteral("TotalSubsidy"), number(result.derived->totalSubsidy));
        top.insert(QStringLiteral("derived"), derived);
        // The estimates the program offers after a successful calculation.
        const PayrollEstimate payroll = computePayrollEstimate(store);
        QJsonArray rows;
        for (const auto& row : payroll.rows) {
            QJsonArray columns;
            for (const QString& text : row) columns.append(text);
            rows.append(columns);
        }
        top.insert(QStringLiteral("payroll"), rows);
        const ServicesEstimate services =
            computeServicesEstimate(store, payroll.at(PayrollEstimate::kRows, 5));
        QJsonObject lines;
        for (int box = ServicesEstimate::kFirstBox;
             box < ServicesEstimate::kFirstBox + ServicesEstimate::kBoxes; ++box)
            lines.insert(QStringLiteral("Text%1").arg(box), services.box(box));
        top.insert(QStringLiteral("services"), lines);
    } else {
        top.insert(QStringLiteral("derived"), QJsonValue());
        top.insert(QStringLiteral("payroll"), QJsonValue());
        top.insert(QStringLiteral("services"), QJsonValue());
    }
    return top;
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
