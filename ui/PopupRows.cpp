#include "PopupRows.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QScreen>

#include <algorithm>

#include "EventHook.h"

void keepPopupToMaxRows(QComboBox* combo) {
    QWidget* popup = combo->view()->window();
    new EventHook(popup, [combo, popup](QEvent* event) {
        if (event->type() != QEvent::Show) return false;
        QAbstractItemView* view = combo->view();
        const int rows = std::min(combo->count(), combo->maxVisibleItems());
        if (rows <= 0) return false;
        const int rowHeight = view->sizeHintForRow(0);
        const int frame = popup->height() - view->viewport()->height();
        const int wanted = rows * rowHeight + frame;
        if (popup->height() <= wanted) return false;
        // Below the box where it fits, else above it.
        const QPoint below = combo->mapToGlobal(QPoint(0, combo->height()));
        QRect placed(QPoint(popup->x(), below.y()), QSize(popup->width(), wanted));
        if (const QScreen* screen = combo->screen(); screen && placed.bottom() > screen->availableGeometry().bottom())
            placed.moveBottom(combo->mapToGlobal(QPoint(0, 0)).y() - 1);
        popup->setGeometry(placed);
        view->scrollTo(view->currentIndex(), QAbstractItemView::PositionAtCenter);
        return false;
    });
}
