#pragma once
// A context menu as the tests read and use it.

#include <functional>

#include <QApplication>
#include <QMenu>
#include <QStringList>
#include <QTest>
#include <QTimer>

// Opens a context menu one way, reads it, and chooses the item that starts
// with `choose` (nothing: Escape).
struct MenuRun {
    QStringList items;  // "text\tkey", "-" for a separator, a disabled item in brackets
    QString title;
};

inline MenuRun runMenu(const std::function<void()>& open, const QString& choose) {
    MenuRun run;
    // On a real display the menu is on view a little after it is opened.
    QTimer watch;
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu || !menu->isVisible()) return;
        watch.stop();
        run.title = menu->objectName();
        QAction* chosen = nullptr;
        for (QAction* action : menu->actions()) {
            const QString text = action->isSeparator() ? QStringLiteral("-") : action->text();
            run.items << (action->isEnabled() ? text : QLatin1Char('[') + text + QLatin1Char(']'));
            if (!choose.isEmpty() && !chosen && action->text().startsWith(choose)) chosen = action;
        }
        if (chosen) {
            menu->setActiveAction(chosen);
            QTest::keyClick(menu, Qt::Key_Return);
        } else {
            QTest::keyClick(menu, Qt::Key_Escape);
        }
    });
    watch.start();
    open();
    return run;
}
