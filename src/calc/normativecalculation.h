#pragma once

#include "calctexts.h"
#include "store.h"

#include <QString>
#include <array>
#include <cstddef>
#include <optional>

namespace normativ {

/// How a stage of the calculation ended.
enum class StageOutcome {
    Computed,  ///< its normative and coefficients were written into the store
    Refused,   ///< its inputs were refused; nothing of the stage was written
    NotRun,    ///< the maintenance way is neither 0 nor 1: the stage does nothing
};

/// The education-service normative: checks its inputs, and when they are usable writes
/// the education coefficients, the group weights of its last pass and
/// record.educationNorm (roubles per pupil per year, unrounded). Refuses - writing
/// nothing - when an input it needs is missing, zero or the not-entered marker, when
/// a distribution record's pupil count is the marker, or when a result is not finite
/// or a currency value overflows.
StageOutcome runEducationStage(Store& store);

/// The maintenance-service normative, by the institution's own cost answers
/// (UseOwnServicesData 1) or by the standard service items (0); refuses like the
/// education stage, and also when the number of groups is not a whole number of at
/// least 1 or (own answers) a cost, volume, tariff or rate is the marker. Writes the
/// maintenance coefficients and record.maintenanceNorm only when it computes.
StageOutcome runMaintenanceStage(Store& store);

/// The long-year coefficient both stages use: the methodology's when the institution works
/// more months than its limit, else the Integer 1.
FieldValue longYearCoefficient(const Methodology& m, double monthsOfOperation);

/// The totals derived from the two normatives and the pupil count (unrounded): what the
/// saved report writes and the estimates read.
struct DerivedAmounts {
    double totalNorm = 0;           ///< EducationNorm + MaintenanceNorm
    double educationSubsidy = 0;    ///< PupilCount × EducationNorm
    double maintenanceSubsidy = 0;  ///< PupilCount × MaintenanceNorm
    double totalSubsidy = 0;        ///< PupilCount × (EducationNorm + MaintenanceNorm)
};

/// The derived amounts of the normatives stored in the record (an Empty normative counts
/// as 0).
DerivedAmounts derivedAmounts(const Store& store);

/// What the result step shows.
struct ResultTexts {
    /// Texts for Text1..Text6 at index 0..5; nothing means "leave the box as it is".
    std::array<std::optional<QString>, 6> texts;
    /// "создать отчет" and "Сформировать смету" become visible (both stages computed).
    bool buttonsVisible = false;
    StageOutcome education = StageOutcome::Refused;
    StageOutcome maintenance = StageOutcome::Refused;
    /// Present exactly when both stages computed.
    std::optional<DerivedAmounts> derived;

    /// The text for box TextN, n = 1..6.
    const std::optional<QString>& text(int n) const {
        return texts.at(static_cast<std::size_t>(n - 1));
    }
};

/// The result boxes for the given stage outcomes and the normatives now in the store,
/// every figure shown with the pattern "0". Text5, Text3 and Text6 take the maintenance
/// normative as Text2 shows it (rounded, read back by the store's locale); Text3 and Text6
/// need a computed education normative and show "неверный ввод" otherwise.
ResultTexts resultTexts(const Store& store, StageOutcome education, StageOutcome maintenance);

/// The whole calculation of the result step: the education stage, then the maintenance
/// stage (whatever the first one gave), then the result texts.
ResultTexts runNormativeCalculation(Store& store);

}  // namespace normativ
