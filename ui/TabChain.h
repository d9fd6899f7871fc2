#pragma once
// The order in which Tab visits the controls of a window, as they stand on the
// screen: each widget of the list follows the one before it.
//
// A page control (QTabWidget) in the list is given by its tab bar; the page control
// itself is taken out of the order, or Tab would stop at it for its tab bar (and
// setTabOrder would move its pages along with it).

#include <QAbstractButton>
#include <QButtonGroup>
#include <QList>
#include <QTabBar>
#include <QTabWidget>
#include <QWidget>

inline void setTabChain(const QList<QWidget*>& chain) {
    for (QWidget* widget : chain) {
        auto* pages = qobject_cast<QTabWidget*>(widget->parentWidget());
        if (!pages || pages->tabBar() != widget) continue;
        // Tab would stop at the page control for its tab bar, its focus proxy.
        pages->setFocusProxy(nullptr);
        pages->setFocusPolicy(Qt::NoFocus);
    }
    for (qsizetype i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

// Tab stops at the chosen button of a group of radio buttons (the arrows move within
// the group), wherever that is.
inline void tabToCheckedButton(QButtonGroup* group) {
    const auto follow = [group] {
        for (QAbstractButton* button : group->buttons())
            button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    };
    follow();
    QObject::connect(group, &QButtonGroup::buttonToggled, group, follow);
}
