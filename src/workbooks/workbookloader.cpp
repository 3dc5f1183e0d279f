#include "workbookloader.h"

#include "celladdress.h"
#include "cellinput.h"
#include "loadedworkbook.h"
#include "loadertexts.h"
#include "numbers.h"
#include "openworkbook.h"
#include "savedreport.h"

#include <QFile>
#include <QFileInfo>

#include <array>
#include <cmath>
#include <optional>

namespace normativ {

namespace {

constexpr int kStatisticalSheets = 6;
constexpr int kSavedReportSheets = 2;

/// The columns of a statistical form's record rows (sheet 2, record i at row i + 6).
constexpr int kFormFirstRecordRow = 7;
constexpr int kFormAgeColumn = 2;           // B
constexpr int kFormStayColumn = 28;         // AB
constexpr int kFormOrientationColumn = 58;  // BF
constexpr int kFormPupilsColumn = 99;       // CU

QString where(int sheet, int row, int column) {
    return loaderTexts().cell.arg(sheet).arg(cellAddress(row, column));
}

bool isBlankText(const CellValue& cell) {
    return cell.isText() && cell.toText().trimmed().isEmpty();
}

/// Reads one workbook into copies of the record and the distribution.
class Reader {
  public:
    Reader(const LoadedWorkbook& book, const Store& store)
        : book_(book),
          locale_(store.locale),
          record_(store.record),
          distribution_(store.distribution) {}

    [[nodiscard]] Status readStatisticalForm() {
        if (Status s = requireSheets(kStatisticalSheets); !s) return s;
        readFormChoices();
        record_.institutionName = fieldFromCell(cell(1, u"L17"));
        record_.planningYear = fieldFromCell(cell(1, u"BI9"));
        for (const AnswerDescriptor& info : answerTable()) {
            const auto ref = parseCellRef(std::string_view(info.formCell.address));
            if (Status s = readAnswer(info, info.formCell.sheet, ref->row, ref->column); !s)
                return s;
        }
        const Result<int> count = recordCount(2, 4, 1);  // A4
        if (!count) return Status::failure(count.error());
        for (int r = 1; r <= count.value(); ++r) {
            const int row = kFormFirstRecordRow + r - 1;
            readFormKind(r, Kind::AgeClass, row, kFormAgeColumn);
            readFormKind(r, Kind::StayMode, row, kFormStayColumn);
            readFormKind(r, Kind::Orientation, row, kFormOrientationColumn);
            if (Status s = readPupils(r, 2, row, kFormPupilsColumn); !s) return s;
        }
        distribution_.recordCount = FieldValue::integer(count.value());
        return Status::success();
    }

    [[nodiscard]] Status readSavedReport() {
        using namespace savedreport;
        if (Status s = requireSheets(kSavedReportSheets); !s) return s;
        for (const ChoiceDescriptor& choice : choiceTable()) {
            const CellValue value = cell(1, choice.reportRow, 2);
            readChoice(choice, [&](const FlagDescriptor& flag) {
                return value == CellValue::text(flag.reportText.toString());
            });
        }
        record_.institutionName = fieldFromCell(cell(1, kNameRow, 2));
        record_.planningYear = fieldFromCell(cell(1, kYearRow, 2));
        for (const AnswerDescriptor& info : answerTable()) {
            if (Status s = readAnswer(info, 1, info.reportRow, 2); !s) return s;
        }
        const Result<int> count = recordCount(1, kRecordCountRow, kMarkerColumn);
        if (!count) return Status::failure(count.error());
        for (int r = 1; r <= count.value(); ++r) {
            const int row = kFirstRecordRow + r - 1;
            int column = 2;
            for (Kind k : {Kind::AgeClass, Kind::StayMode, Kind::Orientation}) {
                // A saved report holds the item texts only.
                const CellValue value = cell(2, row, column++);
                if (value.isText()) distribution_.storeKindText(r, k, value.toText());
            }
            if (Status s = readPupils(r, 2, row, column); !s) return s;
        }
        distribution_.recordCount = FieldValue::integer(count.value());
        return Status::success();
    }

    void commit(Store& store) {
        store.record = record_;
        store.distribution = distribution_;
        store.record.wizardStep = Step::kPupils;
    }

  private:
    CellValue cell(int sheet, int row, int column) const { return book_.cell(sheet, row, column); }
    CellValue cell(int sheet, QStringView address) const { return book_.cell(sheet, address); }

    [[nodiscard]] Status requireSheets(int count) const {
        if (book_.sheetCount() >= count) return Status::success();
        return Status::failure(loaderTexts().tooFewSheets.arg(book_.sheetCount()).arg(count));
    }

    // A cell matches a choice by its text or by its number.
    bool matches(const CellValue& value, const QString& text, double number) const {
        if (value.isText() && value.toText() == text) return true;
        const auto n = cellNumber(value, locale_);
        return n && *n == number;
    }

    // A form's choice cell matches a flag by its saved-report text or by its code.
    void readFormChoices() {
        for (const ChoiceDescriptor& choice : choiceTable()) {
            const CellValue value =
                cell(choice.formCell.sheet, QString::fromLatin1(choice.formCell.address));
            readChoice(choice, [&](const FlagDescriptor& flag) {
                return matches(value, flag.reportText.toString(), flag.formCode);
            });
        }
    }

    // The first flag of the group that the cell matches is chosen; the last flag when none
    // of the others does.
    template <typename Matches>
    void readChoice(const ChoiceDescriptor& choice, Matches matchesFlag) {
        const auto flags = flagsOfStep(choice.step);
        for (const FlagDescriptor& flag : flags.first(flags.size() - 1)) {
            if (matchesFlag(flag)) {
                record_.setChoice(flag.flag);
                return;
            }
        }
        record_.setChoice(flags.back().flag);
    }

    void readFormKind(int record, Kind kind, int row, int column) {
        const CellValue value = cell(2, row, column);
        const QStringList& items = kindItemTexts(kind);
        for (int k = 1; k <= items.size(); ++k) {
            if (matches(value, items[k - 1], k)) {
                distribution_.storeKindText(record, kind, items[k - 1]);
                return;
            }
        }
    }

    [[nodiscard]] Status readAnswer(const AnswerDescriptor& info, int sheet, int row, int column) {
        const CellValue value = cell(sheet, row, column);
        if (info.mustBeNumber && !value.isEmpty() && !isBlankText(value) &&
            !cellNumber(value, locale_)) {
            return Status::failure(loaderTexts().notANumber.arg(
                where(sheet, row, column), info.shortName.toString(), shown(value)));
        }
        record_[info.answer] = fieldFromCell(value);
        return Status::success();
    }

    [[nodiscard]] Result<int> recordCount(int sheet, int row, int column) const {
        const CellValue value = cell(sheet, row, column);
        const auto n = cellNumber(value, locale_);
        if (!n || *n != std::floor(*n) || *n < 1 || *n > kMaxDistributionRecords) {
            return Result<int>::failure(
                loaderTexts()
                    .recordCount.arg(where(sheet, row, column), shown(value))
                    .arg(kMaxDistributionRecords));
        }
        return Result<int>::success(static_cast<int>(*n));
    }

    [[nodiscard]] Status readPupils(int record, int sheet, int row, int column) {
        const CellValue value = cell(sheet, row, column);
        Currency pupils;
        if (!value.isEmpty() && !isBlankText(value)) {
            const auto n = cellNumber(value, locale_);
            if (!n) {
                return Status::failure(
                    loaderTexts().recordPupils.arg(where(sheet, row, column), shown(value)));
            }
            const auto amount = Currency::fromDouble(*n);
            if (!amount) {
                return Status::failure(
                    loaderTexts().pupilsTooLarge.arg(where(sheet, row, column), shown(value)));
            }
            pupils = *amount;
        }
        distribution_.setCell(record, Kind::GroupPupilCount, 1, pupils);
        return Status::success();
    }

    QString shown(const CellValue& value) const {
        switch (value.kind()) {
            case CellValue::Kind::Empty:
                return QString();
            case CellValue::Kind::Number:
                return plainText(value.toNumber(), locale_);
            case CellValue::Kind::Text:
                return value.toText().left(40);
            case CellValue::Kind::Bool:
                return value.toBool() ? loaderTexts().trueValue : loaderTexts().falseValue;
        }
        return QString();
    }

    const LoadedWorkbook& book_;
    QLocale locale_;
    InstitutionRecord record_;
    DistributionTable distribution_;
};

WorkbookLoadResult refused(const QString& reason) {
    WorkbookLoadResult result;
    result.message = loaderTexts().wrongFile;
    result.reason = reason;
    return result;
}

}  // namespace

WorkbookLoadResult loadWorkbookIntoStore(const QByteArray& fileBytes, Store& store) {
    Result<LoadedWorkbook> opened = openWorkbook(fileBytes);
    if (!opened) return refused(opened.error());
    const LoadedWorkbook& book = opened.value();

    const auto marker = [&](QStringView address) {
        return cellNumber(book.cell(1, address), store.locale);
    };
    WorkbookLoadResult result;
    Reader reader(book, store);
    Status read = Status::success();
    if (marker(u"EH17") == kStatisticalFormMarker) {
        result.kind = LoadedWorkbookKind::StatisticalForm;
        read = reader.readStatisticalForm();
    } else if (marker(u"H124") == static_cast<double>(savedreport::kMarker)) {
        result.kind = LoadedWorkbookKind::SavedReport;
        read = reader.readSavedReport();
    } else {
        return refused(loaderTexts().noMarker);
    }
    if (!read) return refused(read.error());
    reader.commit(store);
    result.ok = true;
    return result;
}

WorkbookLoadResult loadWorkbookFileIntoStore(const QString& path, Store& store) {
    const QFileInfo info(path);
    if (info.isDir()) return refused(loaderTexts().folder);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return refused(loaderTexts().cannotOpen.arg(file.errorString()));
    }
    if (file.size() > readlimits::kMaxFileSize) {
        return refused(loaderTexts().tooLarge);
    }
    // The size may grow while reading (a device, a file being written): read one byte
    // past the cap and let the reader refuse.
    const QByteArray bytes = file.read(readlimits::kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        return refused(loaderTexts().cannotRead.arg(file.errorString()));
    }
    return loadWorkbookIntoStore(bytes, store);
}

}  // namespace normativ
