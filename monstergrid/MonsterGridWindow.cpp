// The monster table window's layout: its title strip, the grid with its headers and
// filter, the buttons and status line, and folding to the strip. What it does with
// the cells is in MonsterGridActions.cpp.

#include "MonsterGridWindow.h"

#include <algorithm>

#include <QAction>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QShortcut>
#include <QSizeGrip>
#include <QToolButton>
#include <QVBoxLayout>

#include "Colours.h"
#include "DesignPalette.h"
#include "EditorDocument.h"
#include "ErrorReport.h"
#include "EventHook.h"
#include "FormFont.h"
#include "GridColumns.h"
#include "GridView.h"
#include "HistoryMarks.h"
#include "LazyIcon.h"
#include "MonsterGridModel.h"
#include "ProgramKeys.h"
#include "ReviewButton.h"
#include "TabChain.h"
#include "WindowDrag.h"

namespace {

constexpr QSize kFirstSize(1100, 640);
constexpr QSize kLeastSize(560, 300);
constexpr int kStripHeight = 30;
constexpr QSize kTitleButton(23, 22);
constexpr int kNameWidth = 200;
constexpr QAbstractItemView::EditTriggers kEditTriggers =
    QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed;
const QString kLockedText = QStringLiteral("Monster Stats is editing a monster: OK or Cancel there first.");
// Room for the widest value of a column without bounds, or one no field edits: larger
// values are shortened until the column is widened.
const QString kWideValue = QStringLiteral("-0000000");

QToolButton* titleButton(QWidget* strip, const char* name, QStyle::StandardPixmap glyph, const char* hint,
                         const char* accessibleName) {
    auto* button = new QToolButton(strip);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(lazyStandardIcon(glyph));
    button->setToolTip(QString::fromLatin1(hint));
    button->setAccessibleName(QString::fromLatin1(accessibleName));
    button->setAutoRaise(true);
    button->setFixedSize(kTitleButton);
    // As a system title bar's buttons: the mouse's alone.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// The widest text a column shows.
QString widestValue(const GridColumn& column) {
    if (column.kind == GridColumn::Kind::Number) return QStringLiteral("000000");
    const MonsterField* field = column.monsterField();
    if (!field || !hasBounds(*field)) return kWideValue;
    if (column.field == kMoveRangeField) return QStringLiteral("Cant Move");
    const QString lower = QString::number(field->lower);
    const QString upper = QString::number(field->upper);
    return lower.size() > upper.size() ? lower : upper;
}

}  // namespace

MonsterGridWindow::MonsterGridWindow(EditorDocument& document, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint),
      document_(document),
      savedIcon_(lazyStandardIcon(QStyle::SP_DialogSaveButton)),
      unsavedIcon_(unsavedIcon(savedIcon_)) {
    setObjectName(QStringLiteral("MonsterTableWindow"));
    setWindowTitle(QStringLiteral("Monster Table"));
    setPalette(designPalette());
    setAutoFillBackground(true);
    setFont(formFont());

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    buildStrip();
    buildBody();
    column->addWidget(strip_);
    column->addWidget(body_, 1);

    // It first opens as large as it may be up to this, where it covers none of the main
    // window's buttons, and never smaller than the least size.
    setMinimumSize(kLeastSize);
    QSize size = kFirstSize;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10).expandedTo(kLeastSize);
    resize(size);

    connect(&document_, &EditorDocument::historyChanged, this, [this](TableFile file) {
        if (file == TableFile::Monsters)
            showHistoryOn(saveButton_, savedIcon_, unsavedIcon_, document_.history(TableFile::Monsters));
    });
    showCount();
}

// The grid's selection changes while its children go; nobody is told of it then.
MonsterGridWindow::~MonsterGridWindow() { QObject::disconnect(grid_->selectionModel(), nullptr, this, nullptr); }

void MonsterGridWindow::buildStrip() {
    strip_ = new QFrame(this);
    strip_->setObjectName(QStringLiteral("MonsterTableStrip"));
    strip_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    strip_->setFixedHeight(kStripHeight);
    strip_->setAutoFillBackground(true);
    QPalette stripPalette = strip_->palette();
    stripPalette.setColor(QPalette::Window, kStripColour);
    strip_->setPalette(stripPalette);
    caption_ = new QLabel(windowTitle(), strip_);
    QFont captionFont = caption_->font();
    captionFont.setBold(true);
    captionFont.setPixelSize(13);
    caption_->setFont(captionFont);
    caption_->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* fold = titleButton(strip_, "MonsterTableFold", QStyle::SP_TitleBarMinButton, "minimise", "Minimise");
    auto* close = titleButton(strip_, "MonsterTableClose", QStyle::SP_TitleBarCloseButton, "Close Monster Table",
                              "Close monster table");
    auto* row = new QHBoxLayout(strip_);
    row->setContentsMargins(12, 0, 3, 0);
    row->addWidget(caption_);
    row->addStretch(1);
    row->addWidget(fold);
    row->addWidget(close);
    installWindowDrag(strip_);
    new EventHook(strip_, [this](QEvent* event) {
        if (event->type() != QEvent::MouseButtonDblClick) return false;
        toggleFolded();
        return true;
    });
    connect(fold, &QToolButton::clicked, this, &MonsterGridWindow::toggleFolded);
    connect(close, &QToolButton::clicked, this, [this] { reportErrors(this, [&] { hide(); }); });
}

void MonsterGridWindow::buildBody() {
    body_ = new QFrame(this);
    body_->setObjectName(QStringLiteral("MonsterTableBody"));
    body_->setFrameStyle(QFrame::Panel | QFrame::Raised);

    saveButton_ = new QToolButton(body_);
    saveButton_->setObjectName(QStringLiteral("MonsterTableSave"));
    saveButton_->setAccessibleName(QStringLiteral("Save data/monster.txt"));
    saveButton_->setIcon(savedIcon_);
    saveButton_->setAutoRaise(true);
    changeButton_ = new QToolButton(body_);
    changeButton_->setObjectName(QStringLiteral("MonsterTableChange"));
    changeButton_->setText(QStringLiteral("Change..."));
    changeButton_->setToolTip(QStringLiteral("Set, add to or multiply the selected cells"));
    balanceButton_ = new QToolButton(body_);
    balanceButton_->setObjectName(QStringLiteral("MonsterTableBalance"));
    balanceButton_->setText(QStringLiteral("Balance..."));
    balanceButton_->setToolTip(QStringLiteral("A column of the monsters shown against their level, in a chart"));
    filter_ = new QLineEdit(body_);
    filter_->setObjectName(QStringLiteral("MonsterTableFilter"));
    filter_->setPlaceholderText(QStringLiteral("Find a monster: name or number"));
    filter_->setAccessibleName(QStringLiteral("Find a monster"));
    filter_->setClearButtonEnabled(true);
    count_ = new QLabel(body_);
    count_->setObjectName(QStringLiteral("MonsterTableCount"));
    auto* tools = new QHBoxLayout;
    tools->addWidget(saveButton_);
    QToolButton* review = makeReviewButton(body_, "MonsterTableReview");
    connect(review, &QToolButton::clicked, this, &MonsterGridWindow::reviewRequested);
    tools->addWidget(review);
    tools->addWidget(changeButton_);
    tools->addWidget(balanceButton_);
    tools->addWidget(filter_, 1);
    tools->addWidget(count_);

    grid_ = new GridView(body_);
    grid_->setObjectName(QStringLiteral("MonsterTableGrid"));
    grid_->setAccessibleName(QStringLiteral("Monster table"));
    // The rows' header is set up before it has rows: each setting would go over all of them.
    QHeaderView* rows = grid_->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    rows->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    model_ = new MonsterGridModel(document_, grid_);
    grid_->setModel(model_);
    grid_->rowHeader()->setLargestNumber(model_->monsterCount());  // the last line of a monster
    grid_->setItemDelegate(new FieldCellDelegate(
        [this](const QModelIndex& cell, const QString& text) { storeTypedCell(cell, text); }, grid_));
    grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid_->setEditTriggers(kEditTriggers);
    grid_->setWordWrap(false);
    grid_->setShowGrid(true);
    grid_->setGridStyle(Qt::SolidLine);
    QPalette gridColours = grid_->palette();  // the selection stays visible without focus
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        gridColours.setColor(QPalette::Inactive, role, gridColours.color(QPalette::Active, role));
    grid_->setPalette(gridColours);

    QHeaderView* header = grid_->horizontalHeader();
    header->setSectionsClickable(true);
    header->setHighlightSections(true);
    header->setSortIndicatorShown(false);
    header->setStretchLastSection(false);
    // A click on a column's header sorts by it; the view would select the column.
    QObject::disconnect(header, SIGNAL(sectionPressed(int)), grid_, nullptr);
    QObject::disconnect(header, SIGNAL(sectionEntered(int)), grid_, nullptr);
    const QFontMetrics metrics = header->fontMetrics();
    for (int c = 0; c < kGridColumnCount; ++c) {
        const GridColumn& shown = gridColumn(c);
        const int caption = metrics.horizontalAdvance(shown.caption()) + 24;  // and the sort mark
        const int value = grid_->fontMetrics().horizontalAdvance(widestValue(shown)) + 12;
        grid_->setColumnWidth(c, shown.kind == GridColumn::Kind::Name ? kNameWidth : std::max(caption, value));
    }

    status_ = new QLabel(body_);
    status_->setObjectName(QStringLiteral("MonsterTableStatus"));
    status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(status_, 1);
    bottom->addWidget(new QSizeGrip(body_), 0, Qt::AlignBottom | Qt::AlignRight);

    auto* column = new QVBoxLayout(body_);
    column->setContentsMargins(4, 4, 2, 2);
    column->setSpacing(3);
    column->addLayout(tools);
    column->addWidget(grid_, 1);
    column->addLayout(bottom);

    // The grid's actions: on their keys, from the program's table of keys, and in its menu.
    const auto action = [this](const QString& text, KeyAction key, void (MonsterGridWindow::*run)()) {
        connect(makeShortcut(this, key), &QShortcut::activated, this, run);
        auto* item = new QAction(text + QLatin1Char('\t') + keyText(keysOf(key)), grid_);
        connect(item, &QAction::triggered, this, run);
        grid_->addAction(item);
    };
    action(QStringLiteral("Change..."), KeyAction::ChangeCells, &MonsterGridWindow::openChangeDialog);
    action(QStringLiteral("Copy"), KeyAction::CopyCells, &MonsterGridWindow::copySelection);
    action(QStringLiteral("Paste"), KeyAction::PasteCells, &MonsterGridWindow::pasteClipboard);
    action(QStringLiteral("Select column"), KeyAction::SelectColumn, &MonsterGridWindow::selectCurrentColumn);
    grid_->setContextMenuPolicy(Qt::ActionsContextMenu);

    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QHeaderView::customContextMenuRequested, this, [this, header](QPoint at) {
        const int section = header->logicalIndexAt(at);
        if (section < 0) return;
        QMenu menu(this);
        menu.addAction(QStringLiteral("Sort up"), this, [this, section] { model_->sortRows(section, Qt::AscendingOrder); });
        menu.addAction(QStringLiteral("Sort down"), this, [this, section] { model_->sortRows(section, Qt::DescendingOrder); });
        menu.addAction(QStringLiteral("File order"), this, [this] { model_->showFileOrder(); });
        menu.addSeparator();
        menu.addAction(QStringLiteral("Select column"), this, [this, section] { grid_->selectColumn(section); });
        menu.exec(header->mapToGlobal(at));
    });

    installSaveKey(this, [this] { saveMonsterFile(); });
    // Closing keys for where no window manager gives them.
    connect(makeShortcut(this, KeyAction::CloseWindow), &QShortcut::activated, this,
            [this] { reportErrors(this, [&] { hide(); }); });
    connect(makeShortcut(this, KeyAction::FindMonster), &QShortcut::activated, filter_,
            [this] { filter_->setFocus(Qt::ShortcutFocusReason); });
    connect(saveButton_, &QToolButton::clicked, this, &MonsterGridWindow::saveMonsterFile);
    connect(changeButton_, &QToolButton::clicked, this, &MonsterGridWindow::openChangeDialog);
    connect(balanceButton_, &QToolButton::clicked, this, &MonsterGridWindow::balanceRequested);
    connect(makeShortcut(this, KeyAction::OpenBalanceChart), &QShortcut::activated, this,
            &MonsterGridWindow::balanceRequested);
    connect(grid_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { emit selectedMonstersChanged(selectedMonsters()); });
    connect(header, &QHeaderView::sectionClicked, this,
            [this](int section) { reportErrors(this, [&] { model_->cycleSort(section); }); });
    connect(model_, &QAbstractItemModel::layoutChanged, this, [this, header] {
        header->setSortIndicatorShown(model_->sortColumn() >= 0);
        if (model_->sortColumn() >= 0) header->setSortIndicator(model_->sortColumn(), model_->sortOrder());
    });
    connect(filter_, &QLineEdit::textChanged, this, [this](const QString& text) {
        reportErrors(this, [&] {
            model_->setFilterText(text);
            showCount();
            emit filterChanged(text);
        });
    });
    new EventHook(filter_, [this](QEvent* event) {
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape ||
            filter_->text().isEmpty())
            return false;
        filter_->clear();
        return true;
    });
    setTabChain({saveButton_, changeButton_, balanceButton_, filter_, grid_});
}

void MonsterGridWindow::showMonster(int monster, int field) {
    open();
    reportErrors(this, [&] {
        if (model_->rowOf(monster) < 0) filter_->clear();
        const int row = model_->rowOf(monster);
        if (row < 0) return;
        const int column = field >= 0 ? gridColumnOfField(field) : std::max(grid_->currentIndex().column(), 0);
        const QModelIndex cell = model_->index(row, column);
        grid_->setCurrentIndex(cell);
        grid_->scrollTo(cell);
    });
}

void MonsterGridWindow::open() {
    reportErrors(this, [&] {
        show();
        raise();
        activateWindow();
        if (!grid_->currentIndex().isValid() && model_->rowCount() > 0)
            grid_->setCurrentIndex(model_->index(0, gridColumnOfField(0)));
        grid_->setFocus(Qt::OtherFocusReason);
    });
}

void MonsterGridWindow::setLocked(bool locked) {
    locked_ = locked;
    grid_->setEditTriggers(locked ? QAbstractItemView::NoEditTriggers : kEditTriggers);
    changeButton_->setEnabled(!locked);
    showStatus(locked ? kLockedText : QString());
}

bool MonsterGridWindow::refusedWhileLocked(const QString& action) {
    if (locked_ && unlocking_ && unlocking_(this, action) && !locked_) return false;
    if (locked_) showStatus(kLockedText);
    return locked_;
}


// The minimise button folds the window to its title strip, and unfolds it again.
void MonsterGridWindow::toggleFolded() {
    reportErrors(this, [&] {
        if (body_->isVisible()) {
            unfoldedHeight_ = height();
            body_->hide();
            setFixedHeight(kStripHeight);
        } else {
            setMinimumHeight(kLeastSize.height());
            setMaximumHeight(QWIDGETSIZE_MAX);
            body_->show();
            resize(width(), std::max(unfoldedHeight_, 4 * kStripHeight));
        }
    });
}
