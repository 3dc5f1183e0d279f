#include "distributiontable.h"

#include "numbers.h"

#include <cmath>

namespace normativ {

const QStringList& kindItemTexts(Kind kind) {
    static const QStringList age{
        QStringLiteral("от 2-х месяцев до 1-го года"),
        QStringLiteral("от 1-го года до 3-х лет"),
        QStringLiteral("старше 3-х лет"),
    };
    static const QStringList stay{
        QStringLiteral("краткосрочные группы (до 3-х часов)"),
        QStringLiteral("краткосрочные группы (до 4-х часов)"),
        QStringLiteral("краткосрочные группы (до 5-ти часов)"),
        QStringLiteral("краткосрочные группы (до 6-ти часов)"),
        QStringLiteral("группы с 8-ми часовым режимом пребывания"),
        QStringLiteral("группы с 10-ю часовым режимом пребывания"),
        QStringLiteral("группы с 12-ю часовым режимом пребывания"),
        QStringLiteral("группы с 14-ю часовым режимом пребывания"),
        QStringLiteral("группы круглосуточного пребывания"),
    };
    static const QStringList orientation{
        QStringLiteral("общеразвивающие группы"),
        QStringLiteral("группы с оздоровительной направленностью, в том числе для детей с "
                       "туберкулезной интоксикацией"),
        QStringLiteral("группы для детей с нарушением речи, зрения (кроме слепых), задержками "
                       "психического развития, умственной отсталостью легкой степени"),
        QStringLiteral("группы для детей с нарушением слуха (слабослышащих), опорно \u2013 "
                       "двигательного аппарата, с умственной отсталостью средней и тяжелой "
                       "степени"),
        QStringLiteral("группы для слепых, глухих детей"),
        QStringLiteral("группы для детей со сложным дефектом (2 и более дефекта), аутизмом"),
    };
    static const QStringList none;
    switch (kind) {
        case Kind::AgeClass:
            return age;
        case Kind::StayMode:
            return stay;
        case Kind::Orientation:
            return orientation;
        case Kind::GroupPupilCount:
            return none;
    }
    return none;
}

int usedItemCount(Kind kind) {
    return kind == Kind::GroupPupilCount ? 1 : static_cast<int>(kindItemTexts(kind).size());
}

int DistributionTable::index(int record, Kind kind, int item) {
    Q_ASSERT(record >= 1 && record <= kMaxDistributionRecords);
    Q_ASSERT(item >= 1 && item <= kItemCount);
    return ((record - 1) * kKindCount + (static_cast<int>(kind) - 1)) * kItemCount + (item - 1);
}

Currency DistributionTable::cell(int record, Kind kind, int item) const {
    return cells_[index(record, kind, item)];
}

void DistributionTable::setCell(int record, Kind kind, int item, Currency value) {
    cells_[index(record, kind, item)] = value;
}

Currency DistributionTable::notEnteredPupils() {
    return Currency::fromWhole(79265830346LL);
}

bool DistributionTable::storeKindText(int record, Kind kind, const QString& text) {
    const QStringList& items = kindItemTexts(kind);
    const auto found = items.indexOf(text);
    if (found < 0) return false;
    for (int i = 1; i <= items.size(); ++i) {
        setCell(record, kind, i, Currency::fromWhole(i == found + 1 ? 1 : 0));
    }
    return true;
}

void DistributionTable::storePupilText(int record, const QString& text, const QLocale& locale) {
    const auto number = parseNumber(text, locale);
    const auto value = number ? Currency::fromTypedNumber(*number) : std::nullopt;
    setCell(record, Kind::GroupPupilCount, 1, value.value_or(notEnteredPupils()));
}

bool DistributionTable::pupilsNotEntered(int record) const {
    return pupils(record) == notEnteredPupils();
}

bool DistributionTable::isComplete(int record) const {
    std::int64_t sum = 0;
    for (Kind kind : {Kind::AgeClass, Kind::StayMode, Kind::Orientation}) {
        for (int i = 1; i <= kItemCount; ++i) sum += cell(record, kind, i).raw();
    }
    return sum == 3 * Currency::kScale && !pupilsNotEntered(record);
}

std::optional<QString> DistributionTable::kindText(int record, Kind kind) const {
    std::optional<QString> text;
    const QStringList& items = kindItemTexts(kind);
    for (int i = 1; i <= items.size(); ++i) {
        if (cell(record, kind, i) == Currency::fromWhole(1)) text = items[i - 1];
    }
    return text;
}

QString DistributionTable::pupilText(int record, const QLocale& locale) const {
    return pupils(record).toText(locale);
}

void DistributionTable::clearRecord(int record) {
    for (Kind kind : {Kind::AgeClass, Kind::StayMode, Kind::Orientation, Kind::GroupPupilCount}) {
        for (int i = 1; i <= usedItemCount(kind); ++i) setCell(record, kind, i, Currency());
    }
}

int DistributionTable::usedRecords() const {
    const double n = recordCount.toDouble(QLocale::c());
    if (!(n >= 1)) return 0;
    return n >= kMaxDistributionRecords ? kMaxDistributionRecords : static_cast<int>(n);
}

std::optional<Currency> DistributionTable::distributedPupilTotal() const {
    Currency total;
    for (int r = 1; r <= usedRecords(); ++r) {
        const auto next = total.plus(pupils(r));
        if (!next) return std::nullopt;
        total = *next;
    }
    return total;
}

}  // namespace normativ
