// The yardstick of bench/startup: a Qt program that shows one empty 610 by 510
// window and reports once it is painted, as the start-up probe does for the editor's
// main window.

#include <QApplication>
#include <QWidget>

#include "ShownReport.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(610, 510);
    ReportAfterFirstPaint report;
    window.installEventFilter(&report);
    window.show();
    return QApplication::exec();
}
