#include "EditorStart.h"

#include <QApplication>

#include "FontWarmUp.h"
#include "ProgramIdentity.h"
#include "Unit3.h"

int runEditor(int& argc, char** argv, const std::function<void(TForm3&)>& beforeLoop) {
    FontWarmUp fonts;
    QApplication app(argc, argv);
    fonts.finish();
    setProgramIdentity();
    TForm3 splash;
    splash.show();
    if (beforeLoop) beforeLoop(splash);
    return QApplication::exec();
}
