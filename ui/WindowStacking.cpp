#include "WindowStacking.h"

#include <memory>

#include <QEvent>
#include <QList>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include "EventHook.h"

namespace {

// The windows that stay above the others, the one brought up last at the end.
QList<QPointer<QWidget>>& aboveOrder() {
    static QList<QPointer<QWidget>> order;
    return order;
}

void bringUp(QWidget* window) {
    QList<QPointer<QWidget>>& order = aboveOrder();
    order.removeAll(nullptr);
    order.removeAll(window);
    order.append(window);
    window->raise();
}

void raiseUnderTheOthers(QWidget* window) {
    window->raise();
    for (const QPointer<QWidget>& above : aboveOrder())
        if (above && above != window && above->isVisible()) above->raise();
}

// The click is seen on the native window, whichever control of the window takes it; the
// native window exists once the window has been shown. The window comes up at the
// button's release: at the press a title strip may be asking a window manager for a
// move, which must not wait for anything else.
void onRelease(QWidget* window, std::function<void()> raise) {
    auto watched = std::make_shared<QPointer<QWindow>>();
    const auto watch = [window, raise = std::move(raise), watched] {
        QWindow* native = window->windowHandle();
        if (!native || *watched == native) return;
        *watched = native;
        new EventHook(native, [raise](QEvent* e) {
            if (e->type() == QEvent::MouseButtonRelease) raise();
            return false;
        });
    };
    watch();
    new EventHook(window, [watch](QEvent* event) {
        if (event->type() == QEvent::Show) watch();
        return false;
    });
}

}  // namespace

void keepAbove(QWidget* window) {
    window->setWindowFlag(Qt::WindowStaysOnTopHint);
    onRelease(window, [window] { bringUp(window); });
    new EventHook(window, [window](QEvent* event) {
        if (event->type() == QEvent::Show && !event->spontaneous()) bringUp(window);
        return false;
    });
}

void raiseOnPress(QWidget* window) {
    onRelease(window, [window] { raiseUnderTheOthers(window); });
}
