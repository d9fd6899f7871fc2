#include "ListMenu.h"

#include <memory>

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

#include "ErrorReport.h"
#include "EventHook.h"

QMenu* makeMenu(QWidget* parent, const QList<MenuItem>& items) {
    auto* menu = new QMenu(parent);
    for (qsizetype i = 0; i < items.size(); ++i) {
        const MenuItem& item = items[i];
        if (item.text.isEmpty()) {
            menu->addSeparator();
            continue;
        }
        // Shown beside the text as a menu shows a shortcut; the shortcut itself belongs to
        // the window, so the key does what it says with the menu closed too.
        const QList<QKeySequence> keys = keysOf(item.key);
        const QString key = keys.isEmpty() ? item.keys : keys.front().toString(QKeySequence::NativeText);
        QAction* action = menu->addAction(key.isEmpty() ? item.text : item.text + QLatin1Char('\t') + key);
        action->setEnabled(item.enabled);
        action->setData(static_cast<int>(i));
    }
    return menu;
}

namespace {

void openMenu(QWidget* list, const std::function<QList<MenuItem>()>& items, QPoint globalPos) {
    reportErrors(list, [&] {
        const QList<MenuItem> shown = items();
        const std::unique_ptr<QMenu> menu(makeMenu(list, shown));
        menu->setObjectName(list->objectName() + QStringLiteral("Menu"));
        const QAction* chosen = menu->exec(globalPos);
        const int index = chosen ? chosen->data().toInt() : -1;
        if (index >= 0 && shown[index].run) shown[index].run();
    });
}

// From the keyboard the menu opens below the current row, where the eye is.
QPoint keyboardPlace(QAbstractItemView* list) {
    const QRect row = list->visualRect(list->currentIndex());
    const QPoint at = row.isValid() ? row.bottomLeft() + QPoint(row.height(), 0) : QPoint(0, 0);
    return list->viewport()->mapToGlobal(at);
}

}  // namespace

void installListMenu(QAbstractItemView* list, std::function<QList<MenuItem>()> items) {
    list->setContextMenuPolicy(Qt::DefaultContextMenu);
    // A click's menu reaches the list's viewport; the keyboard's reaches the list.
    new EventHook(list->viewport(), [list, items](QEvent* event) {
        if (event->type() != QEvent::ContextMenu) return false;
        const auto* request = static_cast<QContextMenuEvent*>(event);
        openMenu(list, items, request->reason() == QContextMenuEvent::Mouse ? request->globalPos() : keyboardPlace(list));
        return true;
    });
    new EventHook(list, [list, items](QEvent* event) {
        bool wanted = event->type() == QEvent::ContextMenu;
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            wanted = key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier;
        }
        if (wanted) openMenu(list, items, keyboardPlace(list));
        return wanted;
    });
}

void installMenu(QWidget* widget, std::function<QList<MenuItem>(QPoint at, bool byMouse)> items,
                 std::function<QPoint()> keyboardPlace) {
    widget->setContextMenuPolicy(Qt::DefaultContextMenu);
    new EventHook(widget, [widget, items, keyboardPlace](QEvent* event) {
        QPoint at;
        bool byMouse = false;
        if (event->type() == QEvent::ContextMenu) {
            const auto* request = static_cast<QContextMenuEvent*>(event);
            byMouse = request->reason() == QContextMenuEvent::Mouse;
            at = byMouse ? request->pos() : keyboardPlace();
        } else if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() != Qt::Key_F10 || key->modifiers() != Qt::ShiftModifier) return false;
            at = keyboardPlace();
        } else {
            return false;
        }
        openMenu(widget, [&] { return items(at, byMouse); }, widget->mapToGlobal(at));
        return true;
    });
}
