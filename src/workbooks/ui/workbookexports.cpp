#include "workbookexports.h"

#include "dialogs.h"
#include "estimateworkbook.h"
#include "methodologyworkbook.h"
#include "savedreport.h"
#include "store.h"
#include "workbook.h"
#include "workbooksaver.h"
#include "workbooktexts.h"

#include <QFileInfo>

#include <exception>
#include <new>
#include <optional>

namespace normativ {

namespace {

/// Builds a workbook; a failure is told to the user instead of leaving the click.
template <typename Build>
std::optional<Workbook> prepare(QWidget* parent, Build build) {
    const WorkbookWindowTexts& texts = workbookWindowTexts();
    QString reason;
    try {
        return build();
    } catch (const std::bad_alloc&) {
        reason = texts.outOfMemory;
    } catch (const std::exception& e) {
        reason = QString::fromLocal8Bit(e.what());
    }
    Dialogs::warning(parent, texts.notPreparedTitle, texts.notPrepared.arg(reason));
    return std::nullopt;
}

}  // namespace

WorkbookExports::WorkbookExports(Store& store, Navigator& navigator)
    : store_(store), navigator_(navigator) {}

bool WorkbookExports::createReport() {
    QWidget* parent = navigator_.main ? navigator_.main->widget() : nullptr;
    std::optional<Workbook> report = prepare(parent, [this] { return buildSavedReport(store_); });
    return report && WorkbookSaver::save(parent, *report, workbookWindowTexts().reportDialogTitle,
                                         defaultReportFileName(store_));
}

bool WorkbookExports::exportEstimates(QWidget* parent) {
    std::optional<Workbook> estimates =
        prepare(parent, [this] { return buildEstimateWorkbook(store_); });
    return estimates &&
           WorkbookSaver::save(parent, *estimates, workbookWindowTexts().estimateDialogTitle,
                               defaultEstimateFileName(store_));
}

QString WorkbookExports::loadMethodology() {
    QWidget* parent = navigator_.main ? navigator_.main->widget() : nullptr;
    const WorkbookWindowTexts& texts = workbookWindowTexts();
    const QString path = Dialogs::openFileName(
        parent, texts.methodologyLoadTitle,
        QFileInfo(WorkbookSaver::proposedPath(texts.methodologyFileName)).path(),
        texts.workbookFilter);
    if (path.isEmpty()) return QString();
    Result<Methodology> read = readMethodologyFile(path);
    if (!read) return read.error();
    store_.methodology = std::make_shared<const Methodology>(std::move(read.value()));
    return QString();
}

void WorkbookExports::saveMethodologySample() {
    QWidget* parent = navigator_.main ? navigator_.main->widget() : nullptr;
    std::optional<Workbook> sample =
        prepare(parent, [this] { return buildMethodologyWorkbook(*store_.methodology); });
    if (sample) {
        WorkbookSaver::save(parent, *sample, workbookWindowTexts().methodologySaveTitle,
                            workbookWindowTexts().methodologyFileName);
    }
}

}  // namespace normativ
