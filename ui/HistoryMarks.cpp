#include "HistoryMarks.h"

#include <algorithm>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QKeySequence>
#include <QPainter>
#include <QShortcut>
#include <QUndoStack>

#include "LazyIcon.h"
#include "ProgramKeys.h"

namespace {

// A text field (a number field's too) keeps the undo and redo keys while it has typing
// of its own to take back or bring again; else they reach its window, for the file.
class FieldKeysPass final : public QObject {
public:
    explicit FieldKeysPass(QObject* parent) : QObject(parent) { setObjectName(QStringLiteral("fieldKeysPass")); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride) return false;
        const QKeyCombination keys = static_cast<QKeyEvent*>(event)->keyCombination();
        const bool undo = keys == QKeyCombination(Qt::CTRL | Qt::Key_Z);
        const bool redo = keys == QKeyCombination(Qt::CTRL | Qt::SHIFT | Qt::Key_Z) ||
                          keys == QKeyCombination(Qt::CTRL | Qt::Key_Y);
        if (!undo && !redo) return false;
        auto* field = qobject_cast<QLineEdit*>(watched);
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(watched))
            field = spin->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
        if (!field || field->isReadOnly()) return false;
        if (undo ? field->isUndoAvailable() : field->isRedoAvailable()) return false;
        event->ignore();
        return true;
    }
};

}  // namespace

void installHistoryKeys(QWidget* window, std::function<QUndoStack*()> historyFor) {
    if (qApp && !qApp->findChild<QObject*>(QStringLiteral("fieldKeysPass"), Qt::FindDirectChildrenOnly))
        qApp->installEventFilter(new FieldKeysPass(qApp));
    QShortcut* undo = makeShortcut(window, KeyAction::Undo);
    QShortcut* redo = makeShortcut(window, KeyAction::Redo);
    QObject::connect(undo, &QShortcut::activated, window, [historyFor] {
        if (QUndoStack* history = historyFor()) history->undo();
    });
    QObject::connect(redo, &QShortcut::activated, window, [historyFor] {
        if (QUndoStack* history = historyFor()) history->redo();
    });
}

void installSaveKey(QWidget* window, std::function<void()> save) {
    QObject::connect(makeShortcut(window, KeyAction::Save), &QShortcut::activated, window, std::move(save));
}

// A filled dot in the lower right corner, as editors mark a document that is not saved.
QIcon unsavedIcon(const QIcon& saved) {
    return lazyIcon([saved] {
        QIcon marked;
        QList<QSize> sizes = saved.availableSizes();
        if (sizes.isEmpty()) sizes = {QSize(16, 16), QSize(24, 24), QSize(32, 32)};
        for (const QSize& size : sizes) {
            QPixmap picture = saved.pixmap(size);
            if (picture.isNull()) continue;
            // The picture may come smaller than asked: the mark goes on what it is.
            const qreal side = std::min(picture.deviceIndependentSize().width(), picture.deviceIndependentSize().height());
            QPainter painter(&picture);
            painter.setRenderHint(QPainter::Antialiasing);
            const qreal dot = side * 0.45;
            const QRectF place(side - dot, side - dot, dot - 0.5, dot - 0.5);
            painter.setPen(QPen(Qt::white, side / 16.0));
            painter.setBrush(QColor(214, 74, 20));
            painter.drawEllipse(place);
            painter.end();
            marked.addPixmap(picture);
        }
        return marked;
    });
}

void showHistoryOn(QAbstractButton* saveButton, const QIcon& saved, const QIcon& unsaved,
                   const QUndoStack& history) {
    saveButton->setIcon(history.isClean() ? saved : unsaved);
    QStringList tip{withKeys(saveButton->accessibleName(), KeyAction::Save)};
    if (!history.isClean()) tip << QStringLiteral("Unsaved changes");
    if (history.canUndo()) tip << QStringLiteral("Undo: ") + history.undoText();
    if (history.canRedo()) tip << QStringLiteral("Redo: ") + history.redoText();
    saveButton->setToolTip(tip.join(QLatin1Char('\n')));
}
