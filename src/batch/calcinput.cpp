#include "calcinput.h"

#include "answersdocument.h"
#include "batchtexts.h"
#include "inputcheck.h"
#include "loadedworkbook.h"
#include "methodologyfingerprint.h"
#include "normativecalculation.h"
#include "openworkbook.h"
#include "workbookwalk.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

namespace normativ {

namespace {

// An answers document is a few kilobytes; anything this large is not one.
constexpr qint64 kMaxDocumentBytes = 16 * 1024 * 1024;

// Inputs are a few kilobytes; a thread keeps a read buffer up to this size.
constexpr qsizetype kKeptReadBuffer = 1024 * 1024;

struct FileCloser {
    int fd;
    ~FileCloser() { ::close(fd); }
};

InputOutcome unusable(const QString& path, const QString& error) {
    InputOutcome out;
    out.file = path;
    out.status = InputStatus::Unusable;
    out.error = error;
    out.row.fileName = QFileInfo(path).fileName();
    out.row.status = error;
    return out;
}

// A name that promises a workbook: its content is never taken for an answers document.
bool hasWorkbookName(const QString& path) {
    return path.endsWith(QLatin1String(".xls"), Qt::CaseInsensitive) ||
           path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive);
}

// Whether a file that is not a workbook was meant as an answers document: its first
// character (after blanks and a byte order mark) opens a JSON object.
bool looksLikeJson(const QByteArray& bytes) {
    QByteArrayView rest(bytes);
    if (rest.startsWith("\xEF\xBB\xBF")) rest = rest.sliced(3);
    for (char c : rest) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
        return c == '{';
    }
    return false;
}

void appendCauses(QStringList& causes, const std::vector<InputProblem>& problems,
                  const InputProblem& otherwise) {
    const auto add = [&](const QString& text) {
        if (!causes.contains(text)) causes << text;
    };
    for (const InputProblem& p : problems) add(p.text());
    if (problems.empty()) add(otherwise.text());
}

// Why the calculation refused: the input problems of each refused stage, in order and
// without repeats.
QStringList refusalCauses(const Store& store, const ResultTexts& result) {
    QStringList causes;
    if (result.education == StageOutcome::Refused) {
        appendCauses(causes, educationInputProblems(store), educationResultProblem());
    }
    if (result.maintenance == StageOutcome::Refused) {
        appendCauses(causes, maintenanceInputProblems(store), maintenanceResultProblem());
    } else if (result.maintenance == StageOutcome::NotRun) {
        appendCauses(causes, {}, maintenanceWayProblem());
    }
    return causes;
}

// The methodology a document was computed with: its name and fingerprint. A run
// computes every input by one methodology, so its fingerprint is worked out once.
DocumentExtras::Methodology methodologyOf(const std::shared_ptr<const Methodology>& methodology) {
    static std::mutex mutex;
    static std::shared_ptr<const Methodology> last;
    static QString lastFingerprint;
    QString fingerprint;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (last != methodology) {
            last = methodology;
            lastFingerprint = methodologyFingerprint(*methodology);
        }
        fingerprint = lastFingerprint;
    }
    return {methodology->name, fingerprint};
}

QJsonObject methodologyObject(const std::shared_ptr<const Methodology>& methodology) {
    const DocumentExtras::Methodology m = methodologyOf(methodology);
    return QJsonObject{{QStringLiteral("name"), m.name},
                       {QStringLiteral("fingerprint"), m.fingerprint}};
}

// The batch item printed as batchDocument prints it inside the array, one level deep.
QByteArray printedItem(const ResultTexts& result, const Store& store, const QString& file,
                       const QString& error) {
    const DocumentExtras extras{error, file, methodologyOf(store.methodology)};
    QByteArray item;
    item.reserve(8 * 1024);
    item.append("    ");
    JsonText text(item, 1);
    writeResult(text, result, store, extras);
    return item;
}

SummaryRow identifiedRow(const QString& path, const Store& store) {
    SummaryRow row;
    row.fileName = QFileInfo(path).fileName();
    row.institution = store.record.institutionName.displayText(store.locale);
    row.year = store.record.planningYear.displayText(store.locale);
    return row;
}

// The calculation of the result step on a store that has reached it.
InputOutcome calculateStore(const QString& path, Store& store, bool printed) {
    InputOutcome out;
    out.file = path;
    out.row = identifiedRow(path, store);
    const ResultTexts result = runNormativeCalculation(store);
    if (resultExitStatus(result) == 0 && result.derived) {
        out.status = InputStatus::Computed;
        const QLocale& locale = store.locale;
        SummaryRow::Figures f;
        f.pupils = store.record[Answer::PupilCount].toDouble(locale);
        f.groups = store.record[Answer::GroupCount].toDouble(locale);
        f.educationNorm = store.record.educationNorm.toDouble(locale);
        f.maintenanceNorm = store.record.maintenanceNorm.toDouble(locale);
        f.totalNorm = result.derived->totalNorm;
        f.educationSubsidy = result.derived->educationSubsidy;
        f.maintenanceSubsidy = result.derived->maintenanceSubsidy;
        f.totalSubsidy = result.derived->totalSubsidy;
        out.row.figures = f;
        out.row.status = batchTexts().computed;
    } else {
        out.status = InputStatus::Refused;
        out.error = invalidInputError(refusalCauses(store, result));
        out.row.status = out.error;
    }
    if (printed) {
        out.item = printedItem(result, store, path, out.error);
    } else {
        out.document = resultObject(result, store);
        out.document.insert(QStringLiteral("methodology"), methodologyObject(store.methodology));
    }
    return out;
}

InputOutcome calculateWorkbook(const QString& path, const QByteArray& bytes, const CalcModes& modes,
                               const QLocale& locale) {
    WorkbookRun run = readWorkbookForCalculation(bytes, modes.ownPayroll, modes.ownServices, locale,
                                                 modes.methodology);
    if (!run.store) return unusable(path, run.refusal);
    if (!run.editorMessage.isEmpty()) {
        InputOutcome out;
        out.file = path;
        out.status = InputStatus::Refused;
        if (modes.printedItems) {
            out.item = printedItem(ResultTexts{}, *run.store, path, run.editorMessage);
        } else {
            out.document = editorRefusalObject(*run.store, run.editorMessage);
            out.document.insert(QStringLiteral("methodology"),
                                methodologyObject(run.store->methodology));
        }
        out.error = run.editorMessage;
        out.row = identifiedRow(path, *run.store);
        out.row.status = out.error;
        return out;
    }
    return calculateStore(path, *run.store, modes.printedItems);
}

InputOutcome calculateDocument(const QString& path, const QByteArray& bytes, const CalcModes& modes,
                               const QLocale& locale) {
    if (hasWorkbookName(path) || !looksLikeJson(bytes)) {
        // Neither a workbook nor meant as a document: the loader says what is wrong.
        return calculateWorkbook(path, bytes, modes, locale);
    }
    if (modes.given) {
        InputOutcome out = unusable(path, batchTexts().modesWithDocument);
        out.usageError = true;
        return out;
    }
    if (bytes.size() > kMaxDocumentBytes) {
        return unusable(path, batchTexts().documentError + batchTexts().documentTooLarge.arg(
                                                               kMaxDocumentBytes / (1024 * 1024)));
    }
    Result<Store> document = loadAnswersDocument(bytes, locale, modes.methodology);
    if (!document) return unusable(path, batchTexts().documentError + document.error());
    return calculateStore(path, document.value(), modes.printedItems);
}

}  // namespace

QJsonObject InputOutcome::batchItem() const {
    QJsonObject item = document;
    item.insert(QStringLiteral("file"), file);
    if (!error.isEmpty()) item.insert(QStringLiteral("error"), error);
    return item;
}

QString invalidInputError(const QStringList& causes) {
    return calcTexts().invalidInput + QStringLiteral(": ") + causes.join(QStringLiteral(", "));
}

InputOutcome unusableInput(const QString& path, const QString& error) {
    return unusable(path, error);
}

QLocale userNumberLocale() {
    const QLocale system = QLocale::system();
    // The variables in the order the C library reads them for numbers.
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const QString name = qEnvironmentVariable(variable);
        if (name.isEmpty()) continue;
        const QLocale plain(name);
        // Only what reading and showing numbers uses must agree.
        const bool same = plain.decimalPoint() == system.decimalPoint() &&
                          plain.groupSeparator() == system.groupSeparator() &&
                          plain.negativeSign() == system.negativeSign() &&
                          plain.positiveSign() == system.positiveSign() &&
                          plain.zeroDigit() == system.zeroDigit() &&
                          plain.exponential() == system.exponential();
        return same ? plain : system;
    }
    return system;
}

InputOutcome calculateInputBytes(const QString& path, const QByteArray& bytes,
                                 const CalcModes& modes, const QLocale& locale) {
    if (detectWorkbookFormat(bytes) != WorkbookFormat::Unknown) {
        return calculateWorkbook(path, bytes, modes, locale);
    }
    return calculateDocument(path, bytes, modes, locale);
}

InputOutcome calculateInput(const QString& path, const CalcModes& modes, const QLocale& locale) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const QFileInfo info(path);
        if (info.isDir()) return unusable(path, batchTexts().folder);
        return unusable(path, info.exists() ? batchTexts().cannotOpen : batchTexts().notFound);
    }
    const FileCloser closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        return unusable(path, batchTexts().folder);
    }
    // Read one byte past the larger cap, so that an oversized input is seen as such. The
    // buffer is the thread's own, sized by the file and kept for the next input.
    const qint64 cap = std::max<qint64>(kMaxDocumentBytes, readlimits::kMaxFileSize) + 1;
    thread_local QByteArray bytes;
    qint64 size = 0;
    qint64 room = std::min<qint64>(S_ISREG(st.st_mode) ? st.st_size + 1 : 64 * 1024, cap);
    for (;;) {
        bytes.resize(room);
        const ssize_t n = ::read(fd, bytes.data() + size, static_cast<std::size_t>(room - size));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            bytes.clear();
            return unusable(path, batchTexts().cannotRead);
        }
        size += n;
        if (n == 0 || size == cap) break;
        if (size == room) room = std::min(room * 2, cap);
    }
    bytes.resize(size);
    InputOutcome outcome = calculateInputBytes(path, bytes, modes, locale);
    // A large input's buffer is not kept.
    if (bytes.capacity() > kKeptReadBuffer) bytes = QByteArray();
    return outcome;
}

}  // namespace normativ
