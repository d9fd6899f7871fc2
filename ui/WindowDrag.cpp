#include "WindowDrag.h"

#include <QEvent>
#include <QMouseEvent>
#include <QObject>
#include <QWidget>
#include <QWindow>

namespace {

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
            QWindow* native = window->windowHandle();
            if (native && native->startSystemMove()) return false;
            dragging_ = true;
            grabOffset_ = mouse->globalPosition().toPoint() - window->frameGeometry().topLeft();
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
    QPoint grabOffset_;
};

}  // namespace

void installWindowDrag(QWidget* handle) { handle->installEventFilter(new WindowDragFilter(handle)); }
