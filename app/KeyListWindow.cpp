#include "KeyListWindow.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ProgramKeys.h"

KeyListWindow::KeyListWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("KeyListWindow"));
    setWindowTitle(QStringLiteral("Keys"));
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("KeyList"));
    list_->setAccessibleName(QStringLiteral("Keys"));
    list_->setHeaderLabels({QStringLiteral("Key"), QStringLiteral("Does")});
    list_->setRootIsDecorated(false);
    list_->setItemsExpandable(false);
    list_->setSelectionMode(QAbstractItemView::NoSelection);
    list_->setWordWrap(true);

    QTreeWidgetItem* group = nullptr;
    KeyPlace place{};
    for (const ProgramKey& key : programKeys()) {
        if (!group || key.place != place) {
            place = key.place;
            group = new QTreeWidgetItem(list_, {placeName(place)});
            group->setFirstColumnSpanned(true);
            QFont bold = group->font(0);
            bold.setBold(true);
            group->setFont(0, bold);
        }
        new QTreeWidgetItem(group, {keyText(key), QString::fromLatin1(key.does)});
    }
    list_->expandAll();
    list_->resizeColumnToContents(0);
    list_->header()->setStretchLastSection(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    resize(640, 560);
}

void KeyListWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
