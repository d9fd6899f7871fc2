#include "FirstPlace.h"

#include <algorithm>
#include <utility>

#include <QEvent>
#include <QWidget>

#include "EventHook.h"

namespace {

constexpr int kGap = 8;

QRect inside(QRect rect, QRect screen) {
    rect.moveLeft(std::clamp(rect.left(), screen.left(), std::max(screen.left(), screen.right() + 1 - rect.width())));
    rect.moveTop(std::clamp(rect.top(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - rect.height())));
    return rect;
}

long long covered(QRect rect, const QList<QRect>& keepClear) {
    long long area = 0;
    for (const QRect& clear : keepClear) {
        const QRect both = rect.intersected(clear);
        if (!both.isEmpty()) area += static_cast<long long>(both.width()) * both.height();
    }
    return area;
}

}  // namespace

QPoint firstPlace(QSize size, QPoint wanted, QRect screen, QRect mainWindow, const QList<QRect>& keepClear) {
    const QRect asMeant(wanted, size);
    if (covered(asMeant, keepClear) == 0) return wanted;
    // Beside the main window: right, left, below, above; then clamped to the screen.
    const QRect m = mainWindow;
    const QList<QPoint> beside{{m.right() + 1 + kGap, m.top()}, {m.left() - kGap - size.width(), m.top()},
                               {m.left(), m.bottom() + 1 + kGap}, {m.left(), m.top() - kGap - size.height()}};
    for (const QPoint& at : beside) {
        const QRect rect(at, size);
        if (screen.contains(rect) && covered(rect, keepClear) == 0) return at;
    }
    QList<QRect> tries{inside(asMeant, screen)};
    for (const QPoint& at : beside) tries << inside(QRect(at, size), screen);
    for (const QPoint& corner : {screen.topLeft(), screen.topRight() - QPoint(size.width() - 1, 0),
                                 screen.bottomLeft() - QPoint(0, size.height() - 1),
                                 screen.bottomRight() - QPoint(size.width() - 1, size.height() - 1)})
        tries << inside(QRect(corner, size), screen);
    return std::min_element(tries.begin(), tries.end(), [&](const QRect& a, const QRect& b) {
               return covered(a, keepClear) < covered(b, keepClear);
           })->topLeft();
}

void placeOnFirstShow(QWidget* window, std::function<QPoint()> place) {
    new EventHook(window, [window, place = std::move(place), done = false](QEvent* event) mutable {
        if (event->type() != QEvent::Show || std::exchange(done, true)) return false;
        window->move(place());
        // A place of ours, even the one it had: the window manager's own placing is what
        // may put it over the buttons.
        window->setAttribute(Qt::WA_Moved);
        return false;
    });
}
