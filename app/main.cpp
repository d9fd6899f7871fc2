// Starts the editor: only the splash window is created here; it brings up the rest.

#include <QApplication>

#include "Unit3.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Varnex"));
    QApplication::setApplicationDisplayName(QStringLiteral("Varnex v1.4.8"));
    TForm3 splash;
    splash.show();
    return QApplication::exec();
}
