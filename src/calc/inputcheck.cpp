#include "inputcheck.h"

#include "weightsets.h"

namespace normativ {

namespace {

const QString kNotEntered = QStringLiteral("не введено");
const QString kZero = QStringLiteral("0");
const QString kOutOfRange = QStringLiteral("результат вне допустимого диапазона");

class Checker {
  public:
    explicit Checker(const Store& store) : store_(store) {}

    const FieldValue& field(Answer a) const { return store_.record[a]; }
    double value(Answer a) const { return field(a).toDouble(store_.locale); }
    double flag(Flag f) const { return store_.record[f].toDouble(store_.locale); }
    bool marker(Answer a) const { return field(a).isNotEnteredMarker(store_.locale); }

    /// The answer must be given and not 0.
    void required(Answer a) {
        if (marker(a) || field(a).isNotEntered(store_.locale))
            add(a, kNotEntered);
        else if (field(a).isZero(store_.locale))
            add(a, kZero);
    }
    /// The answer enters a formula: the not-entered marker must not.
    void noMarker(Answer a) {
        if (marker(a)) add(a, kNotEntered);
    }
    void add(Answer a, const QString& why) { add(answerShortName(a), why); }
    void add(const QString& what, const QString& why) {
        for (const InputProblem& p : problems_) {
            if (p.what == what) return;
        }
        problems_.push_back({what, why});
    }

    /// What both stages need.
    void common() {
        required(Answer::PupilCount);
        required(Answer::GroupCount);
        if (flag(Flag::SettlementIsVillage) + flag(Flag::SettlementIsCity) == 0)
            add(QStringLiteral("тип населенного пункта"), QStringLiteral("не выбран"));
        if (flag(Flag::KindPreschoolSenior) + flag(Flag::KindDevelopmentCentre) +
                flag(Flag::KindOther) ==
            0)
            add(QStringLiteral("вид учреждения"), QStringLiteral("не выбран"));
        required(Answer::MinTeacherSalary);
        required(Answer::TeacherPayrollFund);
        noMarker(Answer::TeacherCompensationFund);
        noMarker(Answer::TeacherIncentiveFund);
        noMarker(Answer::MonthsOfOperation);
        const double base =
            (value(Answer::TeacherPayrollFund) - value(Answer::TeacherCompensationFund)) -
            value(Answer::TeacherIncentiveFund);
        if (base == 0 && !field(Answer::TeacherPayrollFund).isZero(store_.locale))
            add(Answer::TeacherPayrollFund,
                QStringLiteral("равен сумме компенсационных и стимулирующих выплат"));
        for (int r = 1; r <= store_.distribution.usedRecords(); ++r) {
            if (store_.distribution.pupilsNotEntered(r)) {
                add(QStringLiteral("количество воспитанников в записи %1").arg(r), kNotEntered);
            }
        }
    }

    std::vector<InputProblem> take() { return std::move(problems_); }

  private:
    const Store& store_;
    std::vector<InputProblem> problems_;
};

}  // namespace

QString answerShortName(Answer answer) {
    switch (answer) {
        case Answer::PupilCount:
            return QStringLiteral("количество воспитанников");
        case Answer::GroupCount:
            return QStringLiteral("количество групп");
        case Answer::MinTeacherSalary:
            return QStringLiteral("должностной оклад педагогических работников");
        case Answer::TeacherPayrollFund:
            return QStringLiteral("фонд оплаты труда педагогических работников");
        case Answer::TeacherCompensationFund:
            return QStringLiteral("фонд компенсационных выплат");
        case Answer::TeacherIncentiveFund:
            return QStringLiteral("фонд стимулирующих выплат");
        case Answer::MonthsOfOperation:
            return QStringLiteral("количество месяцев работы");
        case Answer::ServiceStaffPayrollFund:
            return QStringLiteral("фонд оплаты труда обслуживающего персонала");
        case Answer::ColdWaterVolume:
            return QStringLiteral("объем холодной воды");
        case Answer::SewageVolume:
            return QStringLiteral("объем стоков");
        case Answer::HotWaterVolume:
            return QStringLiteral("объем горячей воды");
        case Answer::HeatedWaterVolume:
            return QStringLiteral("объем нагретой воды");
        case Answer::HeatEnergyVolume:
            return QStringLiteral("объем тепловой энергии");
        case Answer::PriceGrowthPercent:
            return QStringLiteral("индекс-дефлятор");
        case Answer::ElectricityVolume:
            return QStringLiteral("объем электрической энергии");
        case Answer::SecurityAlarmCosts:
            return QStringLiteral("расходы на охранную сигнализацию");
        case Answer::FireSafetyCosts:
            return QStringLiteral("расходы на пожарную безопасность");
        case Answer::BuildingArea:
            return QStringLiteral("площадь зданий");
        case Answer::TerritoryCosts:
            return QStringLiteral("расходы на содержание территории");
        case Answer::MovablePropertyCosts:
            return QStringLiteral("расходы на содержание движимого имущества");
        case Answer::InsuranceCosts:
            return QStringLiteral("расходы на страхование");
        case Answer::PropertyValueJan1:
            return QStringLiteral("стоимость имущества на 1 января");
        case Answer::PropertyValueDec1:
            return QStringLiteral("стоимость имущества на 1 декабря");
        case Answer::LandCadastralValue:
            return QStringLiteral("кадастровая стоимость земельного участка");
        case Answer::FoodAndServicesCosts:
            return QStringLiteral("расходы на питание и услуги");
        case Answer::OtherCosts:
            return QStringLiteral("прочие затраты");
        case Answer::ColdWaterTariff:
            return QStringLiteral("тариф на холодную воду");
        case Answer::SewageTariff:
            return QStringLiteral("тариф на водоотведение");
        case Answer::HotWaterTariff:
            return QStringLiteral("тариф на горячую воду");
        case Answer::WaterHeatingTariff:
            return QStringLiteral("тариф на нагрев воды");
        case Answer::HeatTariff:
            return QStringLiteral("тариф на тепловую энергию");
        case Answer::ElectricityTariff:
            return QStringLiteral("тариф на электрическую энергию");
        case Answer::RepairCostPerM2:
            return QStringLiteral("стоимость текущего ремонта");
        case Answer::PropertyTaxRate:
            return QStringLiteral("ставка налога на имущество");
        case Answer::LandTaxRate:
            return QStringLiteral("ставка земельного налога");
        case Answer::ParentFeePerMonth:
            return QStringLiteral("родительская плата");
    }
    return QString();
}

InputProblem educationResultProblem() {
    return {QStringLiteral("норматив по обучению"), kOutOfRange};
}

InputProblem maintenanceResultProblem() {
    return {QStringLiteral("норматив по содержанию"), kOutOfRange};
}

InputProblem maintenanceWayProblem() {
    return {QStringLiteral("способ расчета норматива по содержанию"), QStringLiteral("не выбран")};
}

std::vector<InputProblem> educationInputProblems(const Store& store) {
    Checker check(store);
    check.common();
    return check.take();
}

std::vector<InputProblem> maintenanceInputProblems(const Store& store) {
    Checker check(store);
    check.common();
    const FieldValue& groups = store.record[Answer::GroupCount];
    if (!groups.isNotEntered(store.locale) && !groups.isZero(store.locale) &&
        !groupCountCoefficient(groups.toDouble(store.locale)))
        check.add(Answer::GroupCount, QStringLiteral("не целое число от 1"));
    check.noMarker(Answer::ParentFeePerMonth);
    if (store.record.useOwnServicesData.toDouble(store.locale) == 1) {
        // Every cost, volume, tariff and rate enters the normative.
        for (const AnswerInfo& info : answerTable()) {
            if (info.step >= 26 && info.step <= 53) check.noMarker(info.answer);
        }
    }
    return check.take();
}

}  // namespace normativ
