// GoogleTest main for window tests: one QApplication for the whole program, and a
// message recorder in place of real (blocking) message boxes.

#include <QApplication>
#include <gtest/gtest.h>

#include "MessageRecorder.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    MessageRecorder recorder;
    installMessageBoxes(&recorder);
    const int result = RUN_ALL_TESTS();
    installMessageBoxes(nullptr);
    return result;
}
