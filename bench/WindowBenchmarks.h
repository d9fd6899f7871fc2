#pragma once
// What the benchmarks of windows share: message boxes written to standard error
// instead of shown (a question is answered No, the close question Cancel), and a run of every benchmark under
// one QApplication (offscreen unless QT_QPA_PLATFORM says otherwise) that prints the
// ratios after them.

#include <cstdio>
#include <vector>

#include <QApplication>
#include <benchmark/benchmark.h>

#include "MessageBoxes.h"
#include "Ratios.h"

class StderrBoxes final : public MessageBoxes {
public:
    void error(QWidget*, const QString& text) override { fprintf(stderr, "error: %s\n", qPrintable(text)); }
    void notice(QWidget*, const QString& caption, const QString& text) override {
        fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
    }
    bool question(QWidget*, const QString& text) override {
        fprintf(stderr, "question (answered No): %s\n", qPrintable(text));
        return false;
    }
    CloseAnswer askBeforeClosing(QWidget*, const QString& text) override {
        fprintf(stderr, "question (answered Cancel): %s\n", qPrintable(text));
        return CloseAnswer::Cancel;
    }
    TypedValuesAnswer askAboutTypedValues(QWidget*, const QString& text) override {
        fprintf(stderr, "question (answered Cancel): %s\n", qPrintable(text));
        return TypedValuesAnswer::Cancel;
    }
};

inline int runWindowBenchmarks(int argc, char** argv, const std::vector<Ratio>& ratios) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    StderrBoxes boxes;
    installMessageBoxes(&boxes);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios(ratios);
    benchmark::Shutdown();
    installMessageBoxes(nullptr);
    return 0;
}
