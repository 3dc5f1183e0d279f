#pragma once

#include "currency.h"
#include "fieldvalue.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace normativ {

/// The kinds of a distribution record, numbered as the table addresses them.
enum class Kind { AgeClass = 1, StayMode = 2, Orientation = 3, GroupPupilCount = 4 };

inline constexpr int kMaxDistributionRecords = 42;
inline constexpr int kKindCount = 4;
inline constexpr int kItemCount = 9;

/// The item texts of a choice kind, in item order (3, 9 or 6 texts). These exact texts
/// are the editor's list items and what the saved report holds.
const QStringList& kindItemTexts(Kind kind);
/// How many items of a kind are used (3, 9, 6, or 1 for the pupil count).
int usedItemCount(Kind kind);

/// The pupil distribution: 42 records × 4 kinds × 9 items of currency cells, all
/// 1-based, with the number of records in use and the record the editor shows.
class DistributionTable {
  public:
    Currency cell(int record, Kind kind, int item) const;
    void setCell(int record, Kind kind, int item, Currency value);

    /// Sets the item whose text equals `text` to 1 and the other used items of the kind
    /// to 0; a text that equals no item changes nothing. Returns whether it matched.
    bool storeKindText(int record, Kind kind, const QString& text);
    /// Stores the pupil count typed: the number as currency when the text is numeric
    /// (and in range), otherwise the not-entered marker.
    void storePupilText(int record, const QString& text, const QLocale& locale);
    /// One item of each choice kind chosen and a pupil count that is not the marker.
    bool isComplete(int record) const;
    /// The text of the chosen item (the last one set if several are), or nothing.
    std::optional<QString> kindText(int record, Kind kind) const;
    /// The pupil count as its shortest decimal text in the locale.
    QString pupilText(int record, const QLocale& locale) const;
    Currency pupils(int record) const { return cell(record, Kind::GroupPupilCount, 1); }
    bool pupilsNotEntered(int record) const;
    /// Clears every used cell of the record to 0.
    void clearRecord(int record);
    /// The currency sum of the pupil counts of records 1..recordCount (nothing on overflow).
    std::optional<Currency> distributedPupilTotal() const;

    /// Records in use: empty until the first start or load.
    FieldValue recordCount;
    /// The record shown in the editor; 0 before the editor was first opened.
    qint16 currentRecord = 0;
    /// recordCount as a whole number, clamped to 0..42 for walking the records.
    int usedRecords() const;

    static Currency notEnteredPupils();

  private:
    static int index(int record, Kind kind, int item);
    std::array<Currency, kMaxDistributionRecords * kKindCount * kItemCount> cells_{};
};

}  // namespace normativ
