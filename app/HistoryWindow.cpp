#include "HistoryWindow.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QStyle>
#include <QUndoStack>
#include <QUndoView>

#include "LazyIcon.h"

namespace {

QString fileLabel(TableFile file) {
    return file == TableFile::Monsters ? QStringLiteral("data/monster.txt") : QStringLiteral("data/Quarnel.txt");
}

}  // namespace

HistoryWindow::HistoryWindow(EditorDocument& document, QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(QStringLiteral("History"));
    const QIcon saved = lazyStandardIcon(QStyle::SP_DialogSaveButton);

    auto* layout = new QGridLayout(this);
    int column = 0;
    for (const TableFile file : {TableFile::Monsters, TableFile::Spawns}) {
        auto* view = new QUndoView(&document.history(file), this);
        view->setObjectName(file == TableFile::Monsters ? QStringLiteral("MonsterSteps") : QStringLiteral("SpawnSteps"));
        view->setAccessibleName(QStringLiteral("Changes of ") + fileLabel(file));
        view->setEmptyLabel(QStringLiteral("As read at start-up"));
        view->setCleanIcon(saved);
        view->setIconSize(QSize(16, 16));
        auto* caption = new QLabel(fileLabel(file), this);
        caption->setBuddy(view);
        layout->addWidget(caption, 0, column);
        layout->addWidget(view, 1, column);
        (file == TableFile::Monsters ? monsterSteps_ : spawnSteps_) = view;
        ++column;
    }
    monsterLock_ = new QLabel(QStringLiteral("Monster Stats is editing a monster: OK or Cancel first."), this);
    monsterLock_->setObjectName(QStringLiteral("MonsterStepsLocked"));
    monsterLock_->setWordWrap(true);
    monsterLock_->hide();
    layout->addWidget(monsterLock_, 2, 0);
    auto* legend = new QLabel(
        QStringLiteral("The save picture marks what the file holds on disk. Click a step to go back or forward to it."),
        this);
    legend->setWordWrap(true);
    layout->addWidget(legend, 3, 0, 1, 2);
    resize(720, 420);
}

QUndoView* HistoryWindow::steps(TableFile file) const {
    return file == TableFile::Monsters ? monsterSteps_ : spawnSteps_;
}

void HistoryWindow::setLocked(TableFile file, bool locked) {
    steps(file)->setEnabled(!locked);
    if (file == TableFile::Monsters) monsterLock_->setVisible(locked);
}

void HistoryWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
