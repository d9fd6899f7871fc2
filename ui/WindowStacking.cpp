#include "WindowStacking.h"

#include <memory>

#include <QEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include "EventHook.h"

namespace {

void raiseAll(QWidget* window, const QList<QWidget*>& above) {
    window->raise();
    for (QWidget* tool : above)
        if (tool && tool != window && tool->isVisible()) tool->raise();
}

}  // namespace

// The click is seen on the native window, whichever control of the window takes it; the
// native window exists once the window has been shown. The window comes up at the
// button's release: at the press a title strip may be asking a window manager for a
// move, which must not wait for anything else.
void raiseOnPress(QWidget* window, std::function<QList<QWidget*>()> staysAbove) {
    auto watched = std::make_shared<QPointer<QWindow>>();
    const auto watch = [window, staysAbove = std::move(staysAbove), watched] {
        QWindow* native = window->windowHandle();
        if (!native || *watched == native) return;
        *watched = native;
        new EventHook(native, [window, staysAbove](QEvent* e) {
            if (e->type() == QEvent::MouseButtonRelease) raiseAll(window, staysAbove());
            return false;
        });
    };
    watch();
    new EventHook(window, [watch](QEvent* event) {
        if (event->type() == QEvent::Show) watch();
        return false;
    });
}
