#include "servicesestimate.h"

#include "methodology.h"

#include "estimatetexts.h"
#include "shownnumbers.h"
#include "store.h"

namespace normativ {

using estimates::readShown;
using estimates::shown;
using estimates::shownPlain;

QString shownTotalSubsidyText(const Store& store) {
    const QLocale& loc = store.locale;
    const double pupils = store.record[Answer::PupilCount].toDouble(loc);
    const QString maintenance = shown(store.record.maintenanceNorm.toDouble(loc), 0, loc);
    const QString maintenanceTotal = shown(readShown(maintenance, loc) * pupils, 0, loc);
    return shown(
        store.record.educationNorm.toDouble(loc) * pupils + readShown(maintenanceTotal, loc), 0,
        loc);
}

ServicesEstimate computeServicesEstimate(const Store& store, const QString& payrollTotalText) {
    const Methodology& m = *store.methodology;
    const QLocale& loc = store.locale;
    const InstitutionRecord& rec = store.record;
    const KeptCoefficients& kept = store.coefficients;
    auto answer = [&](Answer a) { return rec[a].toDouble(loc); };
    // The standard yearly amount of a service item per pupil with its factors.
    auto itemNorm = [&](int item) {
        const int k = item - 1;
        return double(m.serviceItemBase[k]) * kept.serviceItemMonthsFactor[k].toDouble(loc) *
               kept.serviceItemWeekFactor[k].toDouble(loc) *
               kept.serviceItemSettlementFactor[k].toDouble(loc) *
               kept.serviceItemKindFactor[k].toDouble(loc) *
               kept.serviceItemLoadFactor[k].toDouble(loc);
    };

    ServicesEstimate out;
    const double pupils = answer(Answer::PupilCount);
    auto shownTotal = [&](int line) { return readShown(out.total(line), loc); };
    // The total first; the per-pupil amount is the shown total shared by the pupils.
    auto writeLine = [&](int line, double total) {
        out.texts[SavedServicesEstimateText::totalBox(line) - ServicesEstimate::kFirstBox] =
            shown(total, 2, loc);
        out.texts[SavedServicesEstimateText::perPupilBox(line) - ServicesEstimate::kFirstBox] =
            shown(shownTotal(line) / pupils, 0, loc);
    };
    auto writeSeeOther = [&](int line) {
        const QString& seeOther = estimateTexts().seeOtherExpenses;
        out.texts[SavedServicesEstimateText::totalBox(line) - ServicesEstimate::kFirstBox] =
            seeOther;
        out.texts[SavedServicesEstimateText::perPupilBox(line) - ServicesEstimate::kFirstBox] =
            seeOther;
    };

    if (rec.useOwnServicesData.toDouble(loc) == 1.0) {
        const double costIndex = kept.serviceStaffCostIndex.toDouble(loc);
        const double heat =
            answer(Answer::HeatTariff) * (answer(Answer::HeatEnergyVolume) * m.heatShare);
        const double water = answer(Answer::ColdWaterTariff) * answer(Answer::ColdWaterVolume) +
                             answer(Answer::SewageTariff) * answer(Answer::SewageVolume) +
                             answer(Answer::HotWaterTariff) * answer(Answer::HotWaterVolume) +
                             answer(Answer::WaterHeatingTariff) * answer(Answer::HeatedWaterVolume);
        writeLine(1, water +
                         (heat + answer(Answer::ElectricityTariff) *
                                     (answer(Answer::ElectricityVolume) * m.electricityShare)) +
                         double(m.taxTermFactor) * (heat + answer(Answer::ElectricityTariff) *
                                                               (answer(Answer::ElectricityVolume) *
                                                                m.electricityTaxShare)));
        writeSeeOther(2);
        writeLine(3, pupils * (costIndex * answer(Answer::FoodAndServicesCosts)));
        writeSeeOther(4);
        const double upkeep = answer(Answer::FireSafetyCosts) + answer(Answer::SecurityAlarmCosts) +
                              answer(Answer::TerritoryCosts) +
                              answer(Answer::MovablePropertyCosts) + answer(Answer::InsuranceCosts);
        const double taxes =
            answer(Answer::PropertyTaxRate) *
                (answer(Answer::PropertyValueJan1) + answer(Answer::PropertyValueDec1)) / 200 +
            answer(Answer::LandTaxRate) * answer(Answer::LandCadastralValue) / 100;
        writeLine(5, pupils * (costIndex * upkeep) +
                         answer(Answer::RepairCostPerM2) *
                             (answer(Answer::BuildingArea) * m.repairAreaShare) +
                         double(m.taxTermFactor) * taxes);
    } else {
        writeLine(1, itemNorm(2) * pupils);
        writeLine(2, itemNorm(3) * pupils);
        writeLine(3, itemNorm(4) * pupils);
        writeLine(4, itemNorm(5) * pupils);
        writeLine(5, pupils * (itemNorm(6) + itemNorm(7)));
    }

    // Other expenses: what the subsidy and the parents' payments leave after the payroll
    // and the lines above.
    const double subsidy = readShown(shownTotalSubsidyText(store), loc);
    const double parents =
        pupils * (answer(Answer::MonthsOfOperation) * answer(Answer::ParentFeePerMonth));
    writeLine(6, ((subsidy + parents) - readShown(payrollTotalText, loc)) -
                     (shownTotal(3) + shownTotal(5) + shownTotal(1)));

    // The grand total leaves out the lines that are part of other expenses.
    const double grand = shownTotal(6) + shownTotal(5) + shownTotal(3) + shownTotal(1);
    out.texts[13] = shownPlain(grand, loc);
    out.texts[12] = shown(readShown(out.texts[13], loc) / pupils, 0, loc);
    return out;
}

SavedServicesEstimateText servicesCopy(const std::array<QString, ServicesEstimate::kBoxes>& texts,
                                       const QLocale& locale) {
    SavedServicesEstimateText copy;
    for (int i = 0; i < SavedServicesEstimateText::kTextBoxes; ++i) copy.texts[i] = texts[i];
    copy.grandTotal = Currency::fromDouble(readShown(texts[13], locale)).value_or(Currency());
    return copy;
}

}  // namespace normativ
