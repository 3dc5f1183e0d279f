#pragma once

#include "distributiontable.h"
#include "estimatecopies.h"
#include "institutionrecord.h"
#include "keptcoefficients.h"
#include "methodology.h"

#include <QLocale>

namespace normativ {

/// Everything one run keeps: the record, the distribution, the kept coefficients, and
/// the locale by which typed numbers are read and shown. Owned by main and handed to
/// every window; tests make a fresh one each.
struct Store {
    explicit Store(const QLocale& numberLocale = QLocale::system()) : locale(numberLocale) {}

    QLocale locale;
    /// What the calculation and the estimates compute with; shared, never changed.
    std::shared_ptr<const Methodology> methodology = Methodology::example();
    InstitutionRecord record;
    DistributionTable distribution;
    KeptCoefficients coefficients;
    /// The estimate texts kept for the estimate workbook.
    EstimateCopies estimateCopies;
};

}  // namespace normativ
