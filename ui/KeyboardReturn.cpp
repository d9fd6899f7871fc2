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

// Counts the windows shown, so that a second look knows whether a window came up since.
int shownCount = 0;

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
    // window goes, after the request above: it is asked again once that is done, unless
    // another window came up meanwhile.
    QTimer::singleShot(0, asker, [asker, shown = shownCount] {
        if (shown == shownCount && mayTakeKeyboard(asker) && QApplication::activeWindow() != asker)
            asker->activateWindow();
    });
}

class KeyboardReturn final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
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
