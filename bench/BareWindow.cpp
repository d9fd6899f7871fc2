// The yardstick of bench/startup: a Qt program that shows one empty 610 by 510
// window and reports once it is painted, as the start-up probe does for the editor's
// main window. With --caption the window shows one line of text, so that the
// program also loads and draws a font, as every window with a caption does.

#include <cstring>

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include "ShownReport.h"

int main(int argc, char** argv) {
    const bool caption = argc > 1 && std::strcmp(argv[1], "--caption") == 0;
    QApplication app(argc, argv);
    QWidget window;
    window.resize(610, 510);
    if (caption) (new QLabel(QStringLiteral("Monster Stats"), &window))->move(10, 10);
    ReportAfterFirstPaint report;
    window.installEventFilter(&report);
    window.show();
    return QApplication::exec();
}
