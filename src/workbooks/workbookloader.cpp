#include "workbookloader.h"

#include "celladdress.h"
#include "cellinput.h"
#include "loadedworkbook.h"
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

/// Where a statistical form keeps a field: sheet and cell.
struct FormCell {
    int sheet;
    const char* address;
    Answer answer;
};

// clang-format off
constexpr std::array<FormCell, 36> kStatisticalAnswers{{
    {1, "F23", Answer::PupilCount},
    {1, "Y23", Answer::GroupCount},
    {1, "CS23", Answer::MonthsOfOperation},
    {3, "AZ13", Answer::MinTeacherSalary},
    {3, "BS7", Answer::TeacherPayrollFund},
    {3, "BS8", Answer::TeacherCompensationFund},
    {3, "BS9", Answer::TeacherIncentiveFund},
    {3, "BS10", Answer::ServiceStaffPayrollFund},
    {4, "BS7", Answer::ColdWaterVolume},
    {4, "BS8", Answer::SewageVolume},
    {4, "BS9", Answer::HotWaterVolume},
    {4, "BS10", Answer::HeatedWaterVolume},
    {4, "BS11", Answer::HeatEnergyVolume},
    {4, "BS12", Answer::ElectricityVolume},
    {4, "BS13", Answer::SecurityAlarmCosts},
    {4, "BS14", Answer::FireSafetyCosts},
    {4, "BS15", Answer::TerritoryCosts},
    {4, "BS16", Answer::MovablePropertyCosts},
    {4, "BS17", Answer::InsuranceCosts},
    {4, "BS18", Answer::FoodAndServicesCosts},
    {5, "BS7", Answer::BuildingArea},
    {5, "BS8", Answer::PropertyValueJan1},
    {5, "BS9", Answer::PropertyValueDec1},
    {5, "BS10", Answer::LandCadastralValue},
    {5, "BS19", Answer::OtherCosts},
    {6, "BS17", Answer::PriceGrowthPercent},
    {6, "BS7", Answer::ColdWaterTariff},
    {6, "BS8", Answer::SewageTariff},
    {6, "BS9", Answer::HotWaterTariff},
    {6, "BS10", Answer::WaterHeatingTariff},
    {6, "BS11", Answer::HeatTariff},
    {6, "BS12", Answer::ElectricityTariff},
    {6, "BS13", Answer::RepairCostPerM2},
    {6, "BS14", Answer::PropertyTaxRate},
    {6, "BS15", Answer::LandTaxRate},
    {6, "BS16", Answer::ParentFeePerMonth},
}};
// clang-format on

/// The columns of a statistical form's record rows (sheet 2, record i at row i + 6).
constexpr int kFormFirstRecordRow = 7;
constexpr int kFormAgeColumn = 2;           // B
constexpr int kFormStayColumn = 28;         // AB
constexpr int kFormOrientationColumn = 58;  // BF
constexpr int kFormPupilsColumn = 99;       // CU

/// Thrown inside the reading only; it ends as the refusal's reason.
struct Refusal {
    QString reason;
};

[[noreturn]] void refuse(const QString& reason) {
    throw Refusal{reason};
}

QString where(int sheet, int row, int column) {
    return QStringLiteral("лист %1, ячейка %2").arg(sheet).arg(cellAddress(row, column));
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

    void readStatisticalForm() {
        requireSheets(kStatisticalSheets);
        readFormChoices();
        record_.institutionName = fieldFromCell(cell(1, u"L17"));
        record_.planningYear = fieldFromCell(cell(1, u"BI9"));
        for (const FormCell& f : kStatisticalAnswers) {
            const auto ref = parseCellRef(std::string_view(f.address));
            readAnswer(f.answer, f.sheet, ref->row, ref->column);
        }
        const int count = recordCount(2, 4, 1);  // A4
        for (int r = 1; r <= count; ++r) {
            const int row = kFormFirstRecordRow + r - 1;
            readFormKind(r, Kind::AgeClass, row, kFormAgeColumn);
            readFormKind(r, Kind::StayMode, row, kFormStayColumn);
            readFormKind(r, Kind::Orientation, row, kFormOrientationColumn);
            readPupils(r, 2, row, kFormPupilsColumn);
        }
        distribution_.recordCount = FieldValue::integer(count);
    }

    void readSavedReport() {
        using namespace savedreport;
        requireSheets(kSavedReportSheets);
        record_.setChoice(cell(1, kSettlementRow, 2) == CellValue::text(kVillage)
                              ? Flag::SettlementIsVillage
                              : Flag::SettlementIsCity);
        const CellValue kind = cell(1, kKindRow, 2);
        record_.setChoice(kind == CellValue::text(kPreschoolSenior) ? Flag::KindPreschoolSenior
                          : kind == CellValue::text(kDevelopmentCentre)
                              ? Flag::KindDevelopmentCentre
                              : Flag::KindOther);
        record_.setChoice(cell(1, kWeekRow, 2) == CellValue::text(kFiveDays) ? Flag::FiveDayWeek
                                                                             : Flag::SixDayWeek);
        record_.institutionName = fieldFromCell(cell(1, kNameRow, 2));
        record_.planningYear = fieldFromCell(cell(1, kYearRow, 2));
        for (const AnswerInfo& info : answerTable()) readAnswer(info.answer, 1, info.reportRow, 2);
        const int count = recordCount(1, kRecordCountRow, kMarkerColumn);
        for (int r = 1; r <= count; ++r) {
            const int row = kFirstRecordRow + r - 1;
            int column = 2;
            for (Kind k : {Kind::AgeClass, Kind::StayMode, Kind::Orientation}) {
                // A saved report holds the item texts only.
                const CellValue value = cell(2, row, column++);
                if (value.isText()) distribution_.storeKindText(r, k, value.toText());
            }
            readPupils(r, 2, row, column);
        }
        distribution_.recordCount = FieldValue::integer(count);
    }

    void commit(Store& store) {
        store.record = record_;
        store.distribution = distribution_;
        store.record.wizardStep = kFirstStep;
    }

  private:
    CellValue cell(int sheet, int row, int column) const { return book_.cell(sheet, row, column); }
    CellValue cell(int sheet, QStringView address) const { return book_.cell(sheet, address); }

    void requireSheets(int count) const {
        if (book_.sheetCount() < count) {
            refuse(QStringLiteral("в книге %1 лист(а), нужно не меньше %2")
                       .arg(book_.sheetCount())
                       .arg(count));
        }
    }

    // A cell matches a choice by its text or by its number.
    bool matches(const CellValue& value, const QString& text, double number) const {
        if (value.isText() && value.toText() == text) return true;
        const auto n = cellNumber(value, locale_);
        return n && *n == number;
    }

    void readFormChoices() {
        record_.setChoice(matches(cell(1, u"CC23"), savedreport::kVillage, 3)
                              ? Flag::SettlementIsVillage
                              : Flag::SettlementIsCity);
        const CellValue kind = cell(1, u"BJ23");
        record_.setChoice(
            matches(kind, savedreport::kPreschoolSenior, 3)     ? Flag::KindPreschoolSenior
            : matches(kind, savedreport::kDevelopmentCentre, 8) ? Flag::KindDevelopmentCentre
                                                                : Flag::KindOther);
        record_.setChoice(matches(cell(1, u"AR23"), savedreport::kFiveDays, 1) ? Flag::FiveDayWeek
                                                                               : Flag::SixDayWeek);
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

    void readAnswer(Answer answer, int sheet, int row, int column) {
        const CellValue value = cell(sheet, row, column);
        if (answer == Answer::PupilCount && !value.isEmpty() && !isBlankText(value) &&
            !cellNumber(value, locale_)) {
            refuse(QStringLiteral("%1: количество воспитанников «%2» не является числом")
                       .arg(where(sheet, row, column), shown(value)));
        }
        record_[answer] = fieldFromCell(value);
    }

    int recordCount(int sheet, int row, int column) const {
        const CellValue value = cell(sheet, row, column);
        const auto n = cellNumber(value, locale_);
        if (!n || *n != std::floor(*n) || *n < 1 || *n > kMaxDistributionRecords) {
            refuse(QStringLiteral("%1: количество записей «%2» не является целым числом от 1 до %3")
                       .arg(where(sheet, row, column), shown(value))
                       .arg(kMaxDistributionRecords));
        }
        return static_cast<int>(*n);
    }

    void readPupils(int record, int sheet, int row, int column) {
        const CellValue value = cell(sheet, row, column);
        Currency pupils;
        if (!value.isEmpty() && !isBlankText(value)) {
            const auto n = cellNumber(value, locale_);
            if (!n) {
                refuse(QStringLiteral("%1: количество воспитанников «%2» не является числом")
                           .arg(where(sheet, row, column), shown(value)));
            }
            const auto amount = Currency::fromDouble(*n);
            if (!amount) {
                refuse(QStringLiteral("%1: количество воспитанников %2 слишком велико")
                           .arg(where(sheet, row, column), shown(value)));
            }
            pupils = *amount;
        }
        distribution_.setCell(record, Kind::GroupPupilCount, 1, pupils);
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
                return value.toBool() ? QStringLiteral("ИСТИНА") : QStringLiteral("ЛОЖЬ");
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
    result.message = kWrongFileMessage;
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
    try {
        Reader reader(book, store);
        if (marker(u"EH17") == kStatisticalFormMarker) {
            result.kind = LoadedWorkbookKind::StatisticalForm;
            reader.readStatisticalForm();
        } else if (marker(u"H124") == static_cast<double>(savedreport::kMarker)) {
            result.kind = LoadedWorkbookKind::SavedReport;
            reader.readSavedReport();
        } else {
            return refused(QStringLiteral(
                "это не статистическая форма и не сохраненный отчет: на первом листе нет "
                "отметки ни в ячейке EH17, ни в ячейке H124"));
        }
        reader.commit(store);
    } catch (const Refusal& r) {
        return refused(r.reason);
    }
    result.ok = true;
    return result;
}

WorkbookLoadResult loadWorkbookFileIntoStore(const QString& path, Store& store) {
    const QFileInfo info(path);
    if (info.isDir()) return refused(QStringLiteral("это папка, а не файл"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return refused(QStringLiteral("файл не удается открыть: %1").arg(file.errorString()));
    }
    if (file.size() > readlimits::kMaxFileSize) {
        return refused(QStringLiteral("файл больше 20 МБ"));
    }
    // The size may grow while reading (a device, a file being written): read one byte
    // past the cap and let the reader refuse.
    const QByteArray bytes = file.read(readlimits::kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        return refused(QStringLiteral("файл не удается прочитать: %1").arg(file.errorString()));
    }
    return loadWorkbookIntoStore(bytes, store);
}

}  // namespace normativ
