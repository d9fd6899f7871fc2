#include "FirstPlace.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include <QElapsedTimer>
#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include "EventHook.h"

namespace {

constexpr int kGap = 8;
// Places tried across the screen, this many pixels apart.
constexpr int kScanStep = 8;
// A window that does not fit shrinks by this share of its size at each try.
constexpr int kShrinkPercent = 5;

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

long long distance(QPoint a, QPoint b) {
    const long long dx = a.x() - b.x();
    const long long dy = a.y() - b.y();
    return dx * dx + dy * dy;
}

// From first to last in steps, the last one flush with the screen's edge; none when the
// window is larger than the screen.
std::vector<int> steps(int first, int last) {
    std::vector<int> at;
    for (int p = first; p < last; p += kScanStep) at.push_back(p);
    if (last >= first) at.push_back(last);
    return at;
}

bool fits(QRect rect, QRect screen, const QList<QRect>& keepClear) {
    return screen.contains(rect) && covered(rect, keepClear) == 0;
}

// The clear place on the screen for the size nearest to wanted, if there is one.
std::optional<QPoint> clearPlace(QSize size, QPoint wanted, QRect screen, QRect m, const QList<QRect>& keepClear) {
    if (fits(QRect(wanted, size), screen, keepClear)) return wanted;
    // Pushed onto the screen from where it reached off it.
    const QRect onScreen = inside(QRect(wanted, size), screen);
    if (fits(onScreen, screen, keepClear)) return onScreen.topLeft();
    // Beside the main window: right, left, below, above.
    for (const QPoint& at : {QPoint(m.right() + 1 + kGap, m.top()), QPoint(m.left() - kGap - size.width(), m.top()),
                             QPoint(m.left(), m.bottom() + 1 + kGap), QPoint(m.left(), m.top() - kGap - size.height())})
        if (fits(QRect(at, size), screen, keepClear)) return at;
    std::optional<QPoint> nearest;
    for (const int y : steps(screen.top(), screen.bottom() + 1 - size.height())) {
        for (const int x : steps(screen.left(), screen.right() + 1 - size.width())) {
            const QPoint at(x, y);
            if (covered(QRect(at, size), keepClear) != 0) continue;
            if (!nearest || distance(at, wanted) < distance(*nearest, wanted)) nearest = at;
        }
    }
    return nearest;
}

QPoint leastCovering(QSize size, QPoint wanted, QRect screen, QRect m, const QList<QRect>& keepClear) {
    QList<QRect> tries{inside(QRect(wanted, size), screen)};
    for (const QPoint& at : {QPoint(m.right() + 1 + kGap, m.top()), QPoint(m.left() - kGap - size.width(), m.top()),
                             QPoint(m.left(), m.bottom() + 1 + kGap), QPoint(m.left(), m.top() - kGap - size.height())})
        tries << inside(QRect(at, size), screen);
    for (const QPoint& corner : {screen.topLeft(), screen.topRight() - QPoint(size.width() - 1, 0),
                                 screen.bottomLeft() - QPoint(0, size.height() - 1),
                                 screen.bottomRight() - QPoint(size.width() - 1, size.height() - 1)})
        tries << inside(QRect(corner, size), screen);
    return std::min_element(tries.begin(), tries.end(), [&](const QRect& a, const QRect& b) {
               return covered(a, keepClear) < covered(b, keepClear);
           })->topLeft();
}

}  // namespace

QPoint firstPlace(QSize size, QPoint wanted, QRect screen, QRect mainWindow, const QList<QRect>& keepClear) {
    if (const auto place = clearPlace(size, wanted, screen, mainWindow, keepClear)) return *place;
    return leastCovering(size, wanted, screen, mainWindow, keepClear);
}

QRect firstFrame(QSize preferred, QSize least, QPoint wanted, QRect screen, QRect mainWindow,
                 const QList<QRect>& keepClear) {
    least = least.boundedTo(preferred);
    for (QSize size = preferred;; size = (size * (100 - kShrinkPercent) / 100).expandedTo(least)) {
        if (const auto place = clearPlace(size, wanted, screen, mainWindow, keepClear)) return {*place, size};
        if (size == least) break;
    }
    return {leastCovering(least, wanted, screen, mainWindow, keepClear), least};
}

QRect onScreen(QRect frame, QRect screen) { return inside(frame, screen); }

// Before a window manager first frames a window its frame is not known, and the place
// given is the frame's: room is kept for a title bar and borders (openbox's are 20 and
// 5 pixels high).
QRect roomForFrame(const QWidget* window, QRect screen) {
    if (window->windowFlags() & Qt::FramelessWindowHint) return screen;
    return screen.adjusted(0, 0, -16, -40);
}

void placeOnFirstShow(QWidget* window, std::function<QRect()> frame) {
    new EventHook(window, [window, frame = std::move(frame), done = false](QEvent* event) mutable {
        if (event->type() != QEvent::Show || std::exchange(done, true)) return false;
        const QRect place = frame();
        if (place.size() != window->size()) window->resize(place.size());
        window->move(place.topLeft());
        // A place of ours, even the one it had: the window manager's own placing is what
        // may put it over the buttons.
        window->setAttribute(Qt::WA_Moved);
        return false;
    });
}

void placeOnShow(QWidget* window, std::function<QRect()> screen, std::function<QRect()> mainWindow,
                 std::function<QList<QRect>()> keepClear) {
    new EventHook(window, [=, shown = false](QEvent* event) mutable {
        if (event->type() != QEvent::Show || event->spontaneous()) return false;
        if (!std::exchange(shown, true)) return false;  // the first showing has its own place
        const QRect frame = window->frameGeometry();
        const QList<QRect> clear = keepClear();
        const QRect area = screen();
        if (fits(frame, area, clear)) return false;
        const QPoint place = firstPlace(frame.size(), frame.topLeft(), area, mainWindow(), clear);
        window->move(place);
        return false;
    });
}

namespace {

QRect availableArea(const QWidget* window) {
    const QScreen* screen = window->screen();
    return screen ? screen->availableGeometry() : QRect();
}

void moveOnScreen(QWidget* window) {
    const QRect area = availableArea(window);
    if (area.isEmpty() || !window->isVisible()) return;
    const QRect frame = window->frameGeometry();
    const QRect fitted = onScreen(frame, area);
    if (fitted.topLeft() != frame.topLeft()) window->move(fitted.topLeft());
}

}  // namespace

void keepOnScreen(QWidget* window) {
    // The frame's size shows once the window manager has framed the window, and the toolkit
    // learns where the manager put it a little later, by the moves it reports: for a short
    // while after each showing of a framed window, every report is looked at. The
    // operator's own moves are left alone.
    constexpr qint64 kSettling = 1500;  // ms
    auto shownAt = std::make_shared<QElapsedTimer>();
    auto hooked = std::make_shared<QPointer<QWindow>>();
    const auto settling = [shownAt] { return shownAt->isValid() && shownAt->elapsed() < kSettling; };
    new EventHook(window, [window, shownAt, hooked, settling](QEvent* event) {
        switch (event->type()) {
        case QEvent::Show:
            // A frameless window's frame is its own: only a framed one has to settle.
            if (!(window->windowFlags() & Qt::FramelessWindowHint)) shownAt->start();
            if (QWindow* native = window->windowHandle(); native && *hooked != native) {
                *hooked = native;
                new EventHook(native, [window, settling](QEvent* e) {
                    if (e->type() == QEvent::Expose && settling()) moveOnScreen(window);
                    return false;
                });
            }
            moveOnScreen(window);
            break;
        case QEvent::Move:
            if (settling()) moveOnScreen(window);
            break;
        case QEvent::Resize: moveOnScreen(window); break;
        default: break;
        }
        return false;
    });
}
