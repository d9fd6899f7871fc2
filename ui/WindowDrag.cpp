#include "WindowDrag.h"

#include <QCursor>
#include <QEnterEvent>
#include <QEvent>
#include <QMouseEvent>
#include <QObject>
#include <QWidget>
#include <QWindow>

namespace {

const char* const kKeeperName = "windowPlaceKeeper";

// The window's top left corner on the screen from a pointer event over it. Both of the
// event's positions come from the server with the event, so they hold even where the
// toolkit's own idea of the window's place does not.
QPoint truePlace(const QSinglePointEvent* event, QPoint inWindow) {
    return event->globalPosition().toPoint() - inWindow;
}

// A frameless window's place is its frame's place: move() to where it already is
// changes nothing on the screen, and from then on the toolkit knows the place.
void putPlaceRight(QWidget* window, QPoint place) {
    if (window->pos() != place) window->move(place);
}

class PlaceKeeper final : public QObject {
public:
    explicit PlaceKeeper(QWidget* window) : QObject(window), window_(window) {
        setObjectName(QString::fromLatin1(kKeeperName));
        window->installEventFilter(this);
        watchNativeWindow();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_) {
            // The native window exists once the window is shown for the first time.
            if (event->type() == QEvent::Show) watchNativeWindow();
            return false;
        }
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* press = static_cast<QMouseEvent*>(event);
            // A press while another button is held may belong to a move under way.
            if (press->buttons() == press->button()) check(press);
            return false;
        }
        case QEvent::Enter: {
            auto* enter = static_cast<QEnterEvent*>(event);
            if (enter->buttons() == Qt::NoButton) check(enter);
            return false;
        }
        default:
            return false;
        }
    }

private:
    void watchNativeWindow() {
        QWindow* native = window_->windowHandle();
        if (!native || native == watched_) return;
        native->installEventFilter(this);
        watched_ = native;
    }
    // The native window's events are in the window's own coordinates.
    void check(const QSinglePointEvent* event) {
        putPlaceRight(window_, truePlace(event, event->position().toPoint()));
    }

    QWidget* window_;
    QWindow* watched_ = nullptr;
};

class WindowDragFilter final : public QObject {
public:
    explicit WindowDragFilter(QWidget* handle) : QObject(handle), handle_(handle) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != handle_) return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            QWidget* window = handle_->window();
            grabOffset_ = handle_->mapTo(window, mouse->position().toPoint());
            putPlaceRight(window, truePlace(mouse, grabOffset_));
            // The system move starts from the pointer position the toolkit saw last.
            // That is the press only while the pointer has not moved since: else the
            // window would trail the pointer by the distance, and the move by hand,
            // which follows the events themselves, is exact.
            QWindow* native = window->windowHandle();
            const bool stillAtPress = QCursor::pos() == mouse->globalPosition().toPoint();
            if (stillAtPress && native && native->startSystemMove()) return false;
            dragging_ = true;
            return false;
        }
        case QEvent::MouseMove:
            if (dragging_) {
                auto* mouse = static_cast<QMouseEvent*>(event);
                handle_->window()->move(mouse->globalPosition().toPoint() - grabOffset_);
            }
            return false;
        case QEvent::MouseButtonRelease:
            dragging_ = false;
            return false;
        default:
            return false;
        }
    }

private:
    QWidget* handle_;
    bool dragging_ = false;
    QPoint grabOffset_;  // the pressed point in the window
};

}  // namespace

void keepWindowPlaceKnown(QWidget* window) {
    if (window->findChild<QObject*>(QString::fromLatin1(kKeeperName), Qt::FindDirectChildrenOnly)) return;
    new PlaceKeeper(window);
}

void installWindowDrag(QWidget* handle) {
    handle->installEventFilter(new WindowDragFilter(handle));
    keepWindowPlaceKnown(handle->window());
}
