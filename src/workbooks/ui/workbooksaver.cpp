#include "workbooksaver.h"

#include "dialogs.h"
#include "savexlsx.h"
#include "workbooktexts.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace normativ {

namespace {

bool openOnDesktop(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

WorkbookSaver::Opener& opener() {
    static WorkbookSaver::Opener current = openOnDesktop;
    return current;
}

QString withSuffix(const QString& path) {
    const QString& suffix = workbookWindowTexts().workbookSuffix;
    if (path.endsWith(suffix, Qt::CaseInsensitive)) return path;
    return path + suffix;
}

}  // namespace

QString WorkbookSaver::documentsFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return folder.isEmpty() || !QDir(folder).exists() ? QDir::homePath() : folder;
}

QString WorkbookSaver::proposedPath(const QString& defaultFileName) {
    return QDir(documentsFolder()).filePath(defaultFileName);
}

bool WorkbookSaver::save(QWidget* parent, const Workbook& workbook, const QString& dialogTitle,
                         const QString& defaultFileName) {
    const WorkbookWindowTexts& texts = workbookWindowTexts();
    const QString chosen = Dialogs::saveFileName(parent, dialogTitle, proposedPath(defaultFileName),
                                                 texts.workbookFilter);
    if (chosen.isEmpty()) return false;
    const QString path = withSuffix(chosen);
    if (path != chosen && QFileInfo::exists(path) &&
        Dialogs::question(parent, dialogTitle,
                          texts.replaceExisting.arg(QDir::toNativeSeparators(path))) !=
            QMessageBox::Yes) {
        return false;
    }

    const Status saved = saveWorkbook(workbook, path);
    if (!saved) {
        Dialogs::warning(parent, texts.notSavedTitle,
                         saved.error() + QLatin1Char(' ') + texts.tryAgain);
        return false;
    }
    if (!opener()(path)) {
        // No spreadsheet program on this desktop: the file is there all the same.
        Dialogs::information(parent, texts.savedTitle,
                             texts.savedNotOpened.arg(QDir::toNativeSeparators(path)));
    }
    return true;
}

void WorkbookSaver::setOpener(Opener newOpener) {
    opener() = newOpener ? std::move(newOpener) : Opener(openOnDesktop);
}

}  // namespace normativ
