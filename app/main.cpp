// Starts the editor: only the splash window is created here; it brings up the rest.

#include <QApplication>

#include "FontWarmUp.h"
#include "ProgramIdentity.h"
#include "Unit3.h"

int main(int argc, char** argv) {
    FontWarmUp fonts;
    QApplication app(argc, argv);
    fonts.finish();
    setProgramIdentity();
    TForm3 splash;
    splash.show();
    return QApplication::exec();
}
