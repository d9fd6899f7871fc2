// The spawn page's keys and pointer on its controls: the map box takes only the arrow
// keys, the monster list shows the monster afresh on Enter, a row under a resting
// pointer is selected after a while, and "Delete Spot" takes one spot per double click.

#include "SpawnPage.h"

#include <memory>

#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

#include "ErrorReport.h"
#include "EventHook.h"
#include "ReportList.h"

namespace {

constexpr int kHoverDelayMs = 2000;

}  // namespace

void SpawnPage::installControlHooks() {
    // MapListKeyDown: only the arrow keys (and the mouse) change the map. Tab still
    // moves the focus on, as it does before any control sees the key.
    new EventHook(mapCombo_, [](QEvent* e) {
        if (e->type() != QEvent::KeyPress) return false;
        const int key = static_cast<QKeyEvent*>(e)->key();
        return key != Qt::Key_Up && key != Qt::Key_Down && key != Qt::Key_Tab && key != Qt::Key_Backtab;
    });
    // The open drop-down list would jump to a typed map number; there only the arrows
    // move, and Enter or Escape close it.
    new EventHook(mapCombo_->view(), [](QEvent* e) {
        if (e->type() != QEvent::KeyPress) return false;
        switch (static_cast<QKeyEvent*>(e)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            return false;
        default:
            return true;
        }
    });
    new EventHook(monsterList_, [this](QEvent* e) {
        if (e->type() == QEvent::KeyRelease && !static_cast<QKeyEvent*>(e)->isAutoRepeat())
            monsterListKeyReleased(static_cast<QKeyEvent*>(e)->key());
        return false;
    });
    for (QTreeView* list : {monsterList_, pointSpotList_, rangeSpotList_}) {
        QTimer* hover = nullptr;
        if (list != monsterList_) {
            hover = new QTimer(list);
            hover->setObjectName(list->objectName() + QStringLiteral("Hover"));
            hover->setSingleShot(true);
            hover->setInterval(kHoverDelayMs);
        }
        auto rest = std::make_shared<QPoint>();
        new EventHook(list->viewport(), [list, hover, rest](QEvent* e) {
            if (e->type() == QEvent::MouseMove) {
                const QPoint pos = static_cast<QMouseEvent*>(e)->position().toPoint();
                list->viewport()->setCursor(list->indexAt(pos).isValid() ? Qt::PointingHandCursor
                                                                         : Qt::ArrowCursor);
                if (hover) {
                    *rest = pos;
                    hover->start();
                }
            } else if (e->type() == QEvent::Leave && hover) {
                hover->stop();
            }
            return false;
        });
        if (hover)
            connect(hover, &QTimer::timeout, list, [this, list, rest] {
                reportErrors(this, [&] {
                    if (const QModelIndex row = list->indexAt(*rest); row.isValid()) selectRow(list, row.row());
                });
            });
    }

    // The second click of a double click (within the desktop's double-click time and
    // distance) would delete the row selected after the first one: it is not a click.
    for (QPushButton* button : {deletePointButton_, deleteRangeButton_})
        new EventHook(button, [](QEvent* e) { return e->type() == QEvent::MouseButtonDblClick; });
}
