#include "KeyboardReturn.h"

#include <QApplication>
#include <QHash>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {

// The window that asked, for each window shown and not yet closed.
QHash<const QWidget*, QPointer<QWidget>>& askers() {
    static QHash<const QWidget*, QPointer<QWidget>> table;
    return table;
}

constexpr int kSecondLook = 150;  // ms

// Count the windows shown and the operator's keys and clicks, so that a second look
// knows whether a window came up since, or the operator went on.
int shownCount = 0;
int inputCount = 0;

bool isOwnWindow(const QWidget* window) {
    if (!window->isWindow()) return false;
    switch (window->windowType()) {
    case Qt::Popup:  // menus and drop-down lists hand the keyboard back themselves
    case Qt::ToolTip:
    case Qt::SplashScreen:
    case Qt::Desktop: return false;
    default: return true;
    }
}

bool mayTakeKeyboard(const QWidget* window) {
    return window && window->isVisible() && !window->isMinimized() && window->isEnabled();
}

void giveBack(QWidget* closing) {
    const QPointer<QWidget> asker = askers().take(closing);
    if (QCoreApplication::closingDown() || !mayTakeKeyboard(asker)) return;
    // Only the keyboard the closing window had: a window the operator went to meanwhile keeps it.
    const QWidget* active = QApplication::activeWindow();
    if (active && active != closing) return;
    asker->activateWindow();
    // A window manager may hand the keyboard to a window of its own choosing as the closed
    // window goes, after the request above, and a loaded machine may tell us late: it is
    // asked again once the event loop has turned and a moment later, unless another
    // window came up meanwhile or the operator went on (a key may bring up a window
    // that is open already).
    for (const int after : {0, kSecondLook}) {
        QTimer::singleShot(after, asker, [asker, shown = shownCount, input = inputCount] {
            if (shown == shownCount && input == inputCount && mayTakeKeyboard(asker) &&
                QApplication::activeWindow() != asker)
                asker->activateWindow();
        });
    }
}

class KeyboardReturn final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type == QEvent::KeyPress || type == QEvent::MouseButtonPress) ++inputCount;
        if ((type != QEvent::Show && type != QEvent::Hide) || event->spontaneous() || !watched->isWidgetType())
            return false;
        auto* window = static_cast<QWidget*>(watched);
        if (!isOwnWindow(window)) return false;
        if (type == QEvent::Show) {
            ++shownCount;
            askers().insert(window, askingWindow(window));
        }
        else {
            giveBack(window);
        }
        return false;
    }
};

}  // namespace

QWidget* askingWindow(const QWidget* window) {
    if (QWidget* parent = window->parentWidget()) return parent->window();
    QWidget* active = QApplication::activeWindow();
    return active == window ? nullptr : active;
}

void giveKeyboardBackOnClose() {
    static QPointer<KeyboardReturn> installed;
    if (installed) return;
    installed = new KeyboardReturn(qApp);
    qApp->installEventFilter(installed);
}
