#include "program.h"

#include "defaultmethodology.h"
#include "distributionwindows.h"
#include "estimatewindows.h"
#include "form0.h"
#include "form11.h"
#include "form3.h"
#include "infowindows.h"
#include "workbookexports.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace normativ {

Program::Program(const QLocale& locale) : store_(locale) {
    const DefaultMethodology deployed = loadDefaultMethodology();
    store_.methodology = deployed.methodology;
    form0_ = std::make_unique<Form0>(store_, navigator_);
    if (!deployed.error.isEmpty()) form0_->showMethodologyError(deployed.error);
    navigator_.main = form0_.get();
    form8_ = std::make_unique<Form8>(form0_.get());
    distribution_ = std::make_unique<DistributionWindows>(store_, navigator_);
    navigator_.distribution = distribution_.get();
    estimates_ = std::make_unique<EstimateWindows>(store_, form0_.get());
    navigator_.estimates = estimates_.get();
    form3_ = std::make_unique<Form3>(store_, navigator_);
    navigator_.loader = form3_.get();
    workbooks_ = std::make_unique<WorkbookExports>(store_, navigator_);
    navigator_.report = workbooks_.get();
    navigator_.methodology = workbooks_.get();
    form11_ = std::make_unique<Form11>(store_, navigator_);
    navigator_.summary = form11_.get();
    estimates_->setExportAction([this](QWidget* parent) {
        if (!workbooks_->exportEstimates(parent)) estimates_->form7().offerExportAgain();
    });
}

Program::~Program() = default;

void Program::start() {
    form8_->show();
}

void installTranslations() {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

}  // namespace normativ
