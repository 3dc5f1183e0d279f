#include "program.h"

#include <QApplication>
#include <QIcon>
#include <clocale>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Workbooks are written by a C library that formats numbers by LC_NUMERIC.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("normativ"));
    // No display name: the window system would add it to every window's caption.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/normativ.svg")));
    normativ::installTranslations();

    normativ::Program program;
    program.start();
    return QApplication::exec();
}
