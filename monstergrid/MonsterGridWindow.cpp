#include "MonsterGridWindow.h"

#include <algorithm>
#include <set>

#include <QAction>
#include <QClipboard>
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

#include "ByteText.h"
#include "ChangeCellsDialog.h"
#include "Colours.h"
#include "DesignPalette.h"
#include "EditorDocument.h"
#include "ErrorReport.h"
#include "EventHook.h"
#include "FormFont.h"
#include "GridClipboard.h"
#include "GridColumns.h"
#include "GridView.h"
#include "HistoryMarks.h"
#include "LazyIcon.h"
#include "MessageBoxes.h"
#include "MonsterGridModel.h"
#include "ProgramKeys.h"
#include "ReviewButton.h"
#include "SaveQuestion.h"
#include "SpinField.h"
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

QString plural(qsizetype count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(QString::fromLatin1(count == 1 ? one : many));
}

QString percentText(long long hundredths) {
    QString percent = QString::number(std::abs(hundredths) / 100);
    if (const long long rest = std::abs(hundredths) % 100; rest != 0)
        percent += QStringLiteral(".%1").arg(rest, 2, 10, QLatin1Char('0'));
    return hundredths < 0 ? QLatin1Char('-') + percent : percent;
}

// How a change of cells reads: "multiply 14 cells of HP by 120 %" as a step of the
// history, "Multiplied 14 cells of HP by 120 %" once done.
QString changeText(const ValueChange& change, const QString& cells, bool done) {
    switch (change.kind) {
    case ValueChangeKind::Set:
        return (done ? QStringLiteral("Set %1 to %2") : QStringLiteral("set %1 to %2")).arg(cells).arg(change.amount);
    case ValueChangeKind::Add:
        return (done ? QStringLiteral("Added %1 to %2") : QStringLiteral("add %1 to %2")).arg(change.amount).arg(cells);
    case ValueChangeKind::Multiply:
        break;
    }
    return (done ? QStringLiteral("Multiplied %1 by %2 %") : QStringLiteral("multiply %1 by %2 %"))
        .arg(cells, percentText(change.amount));
}

QString boundsText(const MonsterField& field) {
    return QStringLiteral("%1..%2").arg(field.lower).arg(field.upper);
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

void MonsterGridWindow::showStatus(const QString& text) { status_->setText(text); }

void MonsterGridWindow::showCount() {
    const int all = model_->monsterCount();
    const int shown = model_->rowCount();
    count_->setText(shown == all ? plural(all, "monster", "monsters")
                                 : QStringLiteral("%1 of %2").arg(shown).arg(plural(all, "monster", "monsters")));
}

namespace {

QString monsterText(const MonsterTable& table, int monster) {
    const MonsterDataRecord& record = table.monsters[static_cast<std::size_t>(monster)];
    return QStringLiteral("%1 (%2)").arg(textFromBytes(record.name)).arg(record.id);
}

}  // namespace

void MonsterGridWindow::storeTypedCell(const QModelIndex& cell, const QString& typed) {
    reportErrors(this, [&] {
        const GridColumn& column = gridColumn(cell.column());
        const MonsterField* field = column.monsterField();
        if (!field || !cell.isValid() || refusedWhileLocked()) return;
        const int monster = model_->monsterAt(cell.row());
        const QString who = monsterText(document_.monsters(), monster);
        const QString caption = column.caption();
        const QString text = typed.trimmed();
        const auto value = SpinField::parseWhole(text);
        if (!value) {
            showStatus(QStringLiteral("%1 of %2 stays as it was: the cell was left without a number.").arg(caption, who));
            return;
        }
        const FieldEdit edit{monster, column.field, *value};
        const EditPlan plan = planEdits(document_.monsters(), {&edit, 1});
        const std::int32_t stored = clampToField(*field, *value);
        QString done = plan.stores.empty() ? QStringLiteral("%1 of %2 is %3 already.")
                                           : QStringLiteral("%1 of %2 set to %3.");
        done = done.arg(caption, who).arg(stored);
        if (!plan.clamped.empty())
            done = QStringLiteral("%1 of %2: %3 is beyond %4, so %5 is stored.")
                       .arg(caption, who, text, boundsText(*field))
                       .arg(stored);
        storePlan(plan, QStringLiteral("set %1 of %2 to %3").arg(caption, who).arg(stored), done);
        if (!plan.clamped.empty())
            model_->setNote(monster, column.field,
                            QStringLiteral("You typed %1; the field takes %2, so %3 was stored.")
                                .arg(text, boundsText(*field))
                                .arg(stored));
    });
}

void MonsterGridWindow::storePlan(const EditPlan& plan, const QString& what, const QString& done) {
    document_.storeMonsters(plan.stores, what);
    // After the store, which clears the notes of the monsters it stores.
    const auto mark = [this](const std::vector<FieldEdit>& values, const char* note) {
        for (const FieldEdit& value : values) {
            const MonsterField& field = kMonsterFields[static_cast<std::size_t>(value.field)];
            model_->setNote(value.monster, value.field,
                            QString::fromLatin1(note).arg(value.value).arg(boundsText(field)).arg(clampToField(field, value.value)));
        }
    };
    mark(plan.clamped, "%1 was asked for; the field takes %2, so %3 was stored.");
    mark(plan.rewritten, "The file held %1, beyond the field's %2; the line was written anew with %3.");
    if (plan.rewritten.empty()) {
        showStatus(done);
        return;
    }
    showStatus(done + QStringLiteral(" Their lines were written anew with every value in its bounds, so %1 changed too: %2.")
                          .arg(plural(plan.rewritten.size(), "more value", "more values"), rewrittenValuesText(plan)));
}

std::vector<FieldEdit> MonsterGridWindow::selectedEdits(const ValueChange& change) const {
    std::vector<FieldEdit> edits;
    for (const QItemSelectionRange& range : grid_->selectionModel()->selection()) {
        for (int c = range.left(); c <= range.right(); ++c) {
            const GridColumn& column = gridColumn(c);
            if (!column.editable()) continue;
            for (int row = range.top(); row <= range.bottom(); ++row) {
                const int monster = model_->monsterAt(row);
                const auto value = model_->fieldValue(monster, column.field);
                edits.push_back({monster, column.field, value ? changedValue(change, *value) : 0});
            }
        }
    }
    // A cell selected twice (ranges may overlap) is one cell.
    std::sort(edits.begin(), edits.end(), [](const FieldEdit& a, const FieldEdit& b) {
        return std::pair(a.monster, a.field) < std::pair(b.monster, b.field);
    });
    edits.erase(std::unique(edits.begin(), edits.end(),
                            [](const FieldEdit& a, const FieldEdit& b) {
                                return a.monster == b.monster && a.field == b.field;
                            }),
                edits.end());
    return edits;
}

std::vector<int> MonsterGridWindow::selectedRows() const {
    std::set<int> rows;
    for (const QItemSelectionRange& range : grid_->selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row) rows.insert(row);
    if (rows.empty() && grid_->currentIndex().isValid()) rows.insert(grid_->currentIndex().row());
    return {rows.begin(), rows.end()};
}

std::vector<int> MonsterGridWindow::selectedColumns() const {
    std::set<int> columns;
    for (const QItemSelectionRange& range : grid_->selectionModel()->selection())
        for (int c = range.left(); c <= range.right(); ++c) columns.insert(c);
    if (columns.empty() && grid_->currentIndex().isValid()) columns.insert(grid_->currentIndex().column());
    return {columns.begin(), columns.end()};
}

// "HP" or "HP, MP": the edited columns of the selection.
QString MonsterGridWindow::selectedFieldNames() const {
    QStringList names;
    for (const int c : selectedColumns())
        if (gridColumn(c).editable()) names << gridColumn(c).caption();
    return names.join(QStringLiteral(", "));
}

std::vector<int> MonsterGridWindow::selectedMonsters() const {
    std::set<int> monsters;
    for (const QItemSelectionRange& range : grid_->selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row) monsters.insert(model_->monsterAt(row));
    return {monsters.begin(), monsters.end()};
}

void MonsterGridWindow::selectMonsters(const std::vector<int>& monsters, int field) {
    reportErrors(this, [&] {
        std::vector<int> rows;
        for (const int monster : monsters)
            if (const int row = model_->rowOf(monster); row >= 0) rows.push_back(row);
        std::sort(rows.begin(), rows.end());
        const int column = gridColumnOfField(field);
        QItemSelection cells;  // one range for each run of rows
        for (std::size_t first = 0; first < rows.size();) {
            std::size_t last = first;
            while (last + 1 < rows.size() && rows[last + 1] <= rows[last] + 1) ++last;
            cells.select(model_->index(rows[first], column), model_->index(rows[last], column));
            first = last + 1;
        }
        QItemSelectionModel* selection = grid_->selectionModel();
        selection->select(cells, QItemSelectionModel::ClearAndSelect);
        if (rows.empty()) return;
        selection->setCurrentIndex(model_->index(rows.front(), column), QItemSelectionModel::NoUpdate);
        grid_->scrollTo(model_->index(rows.front(), column));
    });
}

void MonsterGridWindow::openChangeDialog() {
    reportErrors(this, [&] {
        if (refusedWhileLocked()) return;
        const std::size_t cells = selectedEdits({}).size();
        if (cells == 0) {
            showStatus(QStringLiteral("Select cells of the columns from LVL to Fire Rezist first: only they change."));
            return;
        }
        const QString what = QStringLiteral("%1 of %2").arg(plural(cells, "cell", "cells"), selectedFieldNames());
        auto* dialog = new ChangeCellsDialog(
            what, [this](const ValueChange& change) { return planEdits(document_.monsters(), selectedEdits(change)); },
            this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        changeDialog_ = dialog;
        connect(dialog, &QDialog::accepted, this, [this, dialog] {
            if (const auto change = dialog->change()) changeSelectedCells(*change);
        });
        dialog->open();
    });
}

void MonsterGridWindow::changeSelectedCells(const ValueChange& change) {
    reportErrors(this, [&] {
        if (refusedWhileLocked()) return;
        const std::vector<FieldEdit> edits = selectedEdits(change);
        if (edits.empty()) return;
        const EditPlan plan = planEdits(document_.monsters(), edits);
        const QString cells = QStringLiteral("%1 of %2").arg(plural(edits.size(), "cell", "cells"), selectedFieldNames());
        QString done = QStringLiteral("%1: %2 changed").arg(changeText(change, cells, true)).arg(plan.changed);
        if (!plan.clamped.empty()) done += QStringLiteral(", %1 pulled into the field's bounds").arg(plan.clamped.size());
        if (!plan.unreadable.empty())
            done += QStringLiteral(", %1 of lines that cannot be read in full left as they are").arg(plan.unreadable.size());
        storePlan(plan, changeText(change, cells, false), done + QLatin1Char('.'));
    });
}

void MonsterGridWindow::copySelection() {
    reportErrors(this, [&] {
        const std::vector<int> rows = selectedRows();
        const std::vector<int> columns = selectedColumns();
        if (rows.empty() || columns.empty()) return;
        QGuiApplication::clipboard()->setText(copiedCells(*model_, rows, columns));
        showStatus(QStringLiteral("Copied %1 of %2, with a header row.")
                       .arg(plural(rows.size(), "row", "rows"), plural(columns.size(), "column", "columns")));
    });
}

void MonsterGridWindow::pasteText(const QString& text) {
    reportErrors(this, [&] {
        if (refusedWhileLocked()) return;
        const PastedBlock block = readPastedBlock(*model_, text, {selectedRows(), selectedColumns()});
        if (!block.error.isEmpty()) {
            showStatus(block.error);
            messageBoxes().error(this, block.error);
            return;
        }
        const EditPlan plan = planEdits(document_.monsters(), block.edits);
        QString done = QStringLiteral("Pasted %1 in %2: %3 changed")
                           .arg(plural(block.cells, "value", "values"), plural(block.rows, "row", "rows"))
                           .arg(plan.changed);
        if (!plan.clamped.empty()) done += QStringLiteral(", %1 pulled into the field's bounds").arg(plan.clamped.size());
        storePlan(plan, QStringLiteral("paste %1").arg(plural(block.cells, "value", "values")), done + QLatin1Char('.'));
    });
}

void MonsterGridWindow::pasteClipboard() {
    reportErrors(this, [&] { pasteText(QGuiApplication::clipboard()->text()); });
}

void MonsterGridWindow::selectCurrentColumn() {
    reportErrors(this, [&] {
        if (grid_->currentIndex().isValid()) grid_->selectColumn(grid_->currentIndex().column());
    });
}

void MonsterGridWindow::saveMonsterFile() {
    reportErrors(this, [&] {
        if (refusedWhileLocked(QStringLiteral("saving data/monster.txt"))) return;
        if (document_.save(TableFile::Monsters, askBeforeOverwrite(this)))
            showStatus(QStringLiteral("Saved data/monster.txt."));
    });
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
