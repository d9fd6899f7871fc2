#include "LazyIcon.h"
#include "ProgramIdentity.h"

#include <QApplication>
#include <QString>

QIcon programIcon() {
    // The resource lives in a static library: without this the linker may leave it out.
    static const bool registered = [] {
        Q_INIT_RESOURCE(varnex_icon);
        return true;
    }();
    (void)registered;
    return lazyIcon([] { return QIcon(QStringLiteral(":/icons/varnex.png")); });
}

void setProgramIdentity() {
    QApplication::setApplicationName(QStringLiteral("Varnex"));
    QApplication::setApplicationDisplayName(QStringLiteral("Varnex v1.4.8"));
    QApplication::setWindowIcon(programIcon());
}
