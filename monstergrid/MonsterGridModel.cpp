#include "MonsterGridModel.h"

#include <algorithm>
#include <numeric>

#include <QColor>

#include "ByteText.h"
#include "EditorDocument.h"
#include "ErrorReport.h"
#include "LineFormat.h"
#include "ListFilter.h"
#include "TextFile.h"

namespace {

const QColor kNotedCell(255, 222, 150);     // a value pulled into its bounds
const QColor kUnreadCell(255, 214, 214);    // beyond where a damaged line could be read
const QColor kReadOnlyCell(236, 234, 230);  // a column no field edits
const QColor kReadOnlyText(80, 80, 80);

long long noteKey(int monster, int field) { return static_cast<long long>(monster) * kEditableColumns + field; }

// What a column is sorted by: numbers, then texts, then cells with nothing, whichever way.
struct SortKey {
    enum Rank : std::uint8_t { Number, Text, Nothing };
    Rank rank = Nothing;
    long long number = 0;
    QString text;
};

SortKey keyOfText(const QString& text) {
    if (text.isEmpty()) return {};
    bool isNumber = false;
    const long long number = text.toLongLong(&isNumber);
    if (isNumber) return {SortKey::Number, number, {}};
    return {SortKey::Text, 0, text.toCaseFolded()};
}

}  // namespace

struct MonsterGridModel::Row {
    int read = 0;  // fields read: the line is read in full at kEditableColumns
    std::array<std::int32_t, kEditableColumns> stored{};
    std::array<std::int32_t, kEditableColumns> shown{};
    QString problem;
};

MonsterGridModel::MonsterGridModel(const EditorDocument& document, QObject* parent)
    : QAbstractTableModel(parent), document_(document) {
    const MonsterTable& table = document_.monsters();
    const int count = std::max(0, std::min(table.monstercount, static_cast<int>(table.monsterlines.size())));
    order_.resize(static_cast<std::size_t>(count));
    std::iota(order_.begin(), order_.end(), 0);
    shown_ = order_;
    rowOf_ = order_;
    rows_.resize(order_.size());
    complete_.assign(order_.size(), -1);
    connect(&document_, &EditorDocument::monsterStored, this, &MonsterGridModel::monsterStored);
}

MonsterGridModel::~MonsterGridModel() = default;

int MonsterGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int MonsterGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kGridColumnCount; }

int MonsterGridModel::rowOf(int monster) const {
    if (monster < 0 || monster >= static_cast<int>(rowOf_.size())) return -1;
    return rowOf_[static_cast<std::size_t>(monster)];
}

const MonsterGridModel::Row& MonsterGridModel::row(int monster) const {
    std::unique_ptr<Row>& cached = rows_[static_cast<std::size_t>(monster)];
    if (cached) return *cached;
    cached = std::make_unique<Row>();
    const std::string& line = document_.monsters().monsterlines[static_cast<std::size_t>(monster)];
    static const std::string label = monsterFileLabel();
    const MonsterLineFields fields = readMonsterLine(line, label, monster + 1);
    cached->read = fields.read;
    cached->stored = fields.values;
    cached->shown = shownValues(fields);
    if (fields.error) cached->problem = errorText(*fields.error);
    return *cached;
}

// A row not yet read is not read whole for one of its values: a sort or a change of a
// whole column reads that column alone.
std::optional<std::int32_t> MonsterGridModel::fieldValue(int monster, int field) const {
    if (const std::unique_ptr<Row>& cached = rows_[static_cast<std::size_t>(monster)]) {
        if (field >= cached->read) return std::nullopt;
        return cached->shown[static_cast<std::size_t>(field)];
    }
    const auto value =
        readMonsterField(document_.monsters().monsterlines[static_cast<std::size_t>(monster)], field);
    if (!value || field == kMoveRangeField) return value;
    return clampToField(kMonsterFields[static_cast<std::size_t>(field)], *value);
}

// Asked for every cell a selection holds: known from the row when it was read whole,
// else from reading the line's last field, which reads as far as every field does.
bool MonsterGridModel::editable(int monster) const {
    const auto i = static_cast<std::size_t>(monster);
    if (rows_[i]) return rows_[i]->read == kEditableColumns;
    if (complete_[i] < 0)
        complete_[i] = readMonsterField(document_.monsters().monsterlines[i], kEditableColumns - 1) ? 1 : 0;
    return complete_[i] == 1;
}

QString MonsterGridModel::problem(int monster) const { return row(monster).problem; }

// A column no field edits, as the column reader gives it; the last column is the rest
// of the line.
QString MonsterGridModel::otherText(int monster, int lineColumn) const {
    TokenReader reader(document_.monsters().monsterlines[static_cast<std::size_t>(monster)]);
    std::string_view span;
    for (int column = 1; column <= lineColumn && column < kMonsterLineColumns; ++column) span = reader.nextSpan();
    if (lineColumn == kMonsterLineColumns) span = reader.rest();
    return textFromBytes(TokenReader::columnText(span));
}

QString MonsterGridModel::copyText(int monster, int column) const {
    const GridColumn& shown = gridColumn(column);
    const MonsterDataRecord& record = document_.monsters().monsters[static_cast<std::size_t>(monster)];
    switch (shown.kind) {
    case GridColumn::Kind::Number:
        return QString::number(record.id);
    case GridColumn::Kind::Name:
        return textFromBytes(record.name);
    case GridColumn::Kind::Field:
        if (const auto value = fieldValue(monster, shown.field)) return QString::number(*value);
        return {};
    case GridColumn::Kind::Other:
        break;
    }
    return otherText(monster, shown.lineColumn);
}

QVariant MonsterGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= kGridColumnCount) return {};
    const int monster = monsterAt(index.row());
    const GridColumn& column = gridColumn(index.column());
    const int field = column.field;
    switch (role) {
    case Qt::DisplayRole:
        if (column.kind == GridColumn::Kind::Field && field == kMoveRangeField) {
            const auto value = fieldValue(monster, field);
            if (value && moveRangeListed(*value))
                return QString::fromLatin1(kMoveRangeNames[static_cast<std::size_t>(*value)]);
        }
        return copyText(monster, index.column());
    case Qt::EditRole:
        if (const auto value = column.kind == GridColumn::Kind::Field ? fieldValue(monster, field) : std::nullopt)
            return *value;
        return copyText(monster, index.column());
    case Qt::TextAlignmentRole:
        return int((column.kind == GridColumn::Kind::Name ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
    case Qt::ToolTipRole: {
        if (column.kind != GridColumn::Kind::Field) return {};
        if (QString noted = note(monster, field); !noted.isEmpty()) return noted;
        const Row& cells = row(monster);
        if (field >= cells.read) return cells.problem;
        const std::int32_t stored = cells.stored[static_cast<std::size_t>(field)];
        const std::int32_t value = cells.shown[static_cast<std::size_t>(field)];
        if (field == kMoveRangeField && !moveRangeListed(value))
            return QStringLiteral("The line holds %1, which is none of the entries; it is kept when the "
                                  "monster is stored.")
                .arg(value);
        if (stored != value)
            return QStringLiteral("The line holds %1; it shows, and is stored, as %2.").arg(stored).arg(value);
        return {};
    }
    case Qt::BackgroundRole:
        if (column.kind == GridColumn::Kind::Other) return kReadOnlyCell;
        if (column.kind != GridColumn::Kind::Field) return {};
        if (notes_.contains(noteKey(monster, field))) return kNotedCell;
        if (field >= row(monster).read) return kUnreadCell;
        return {};
    case Qt::ForegroundRole:
        if (column.kind == GridColumn::Kind::Other) return kReadOnlyText;
        return {};
    default:
        return {};
    }
}

QVariant MonsterGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        if (section < 0 || section >= rowCount()) return {};
        const int line = monsterAt(section) + 1;
        if (role == Qt::DisplayRole) return line;
        if (role == Qt::ToolTipRole) return QStringLiteral("Line %1 of data/monster.txt").arg(line);
        return {};
    }
    if (section < 0 || section >= kGridColumnCount) return {};
    const GridColumn& column = gridColumn(section);
    switch (role) {
    case Qt::DisplayRole:
        return column.caption();
    case Qt::ToolTipRole: {
        QString tip = QStringLiteral("Column %1 of the line").arg(column.lineColumn);
        if (const MonsterField* field = column.monsterField()) {
            if (column.field == kMoveRangeField)
                tip += QStringLiteral("; 0 to 5, the move range's entries");
            else if (hasBounds(*field))
                tip += QStringLiteral("; %1 to %2").arg(field->lower).arg(field->upper);
            else
                tip += QStringLiteral("; any value");
        } else if (column.kind == GridColumn::Kind::Other) {
            tip += QStringLiteral("; not edited here");
        }
        return tip + QStringLiteral(".\nClick to sort: up, down, then file order.");
    }
    default:
        return {};
    }
}

Qt::ItemFlags MonsterGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (gridColumn(index.column()).editable() && editable(monsterAt(index.row()))) flags |= Qt::ItemIsEditable;
    return flags;
}

void MonsterGridModel::sortRows(int column, Qt::SortOrder order) {
    if (column < 0 || column >= kGridColumnCount) return showFileOrder();
    const MonsterTable& table = document_.monsters();
    const GridColumn& sorted = gridColumn(column);
    std::vector<SortKey> keys(order_.size());
    for (std::size_t monster = 0; monster < keys.size(); ++monster) {
        SortKey& key = keys[monster];
        const int m = static_cast<int>(monster);
        switch (sorted.kind) {
        case GridColumn::Kind::Number:
            key = {SortKey::Number, table.monsters[monster].id, {}};
            break;
        case GridColumn::Kind::Name:
            key = {SortKey::Text, 0, textFromBytes(table.monsters[monster].name).toCaseFolded()};
            break;
        case GridColumn::Kind::Field:
            if (const auto value = fieldValue(m, sorted.field)) key = {SortKey::Number, *value, {}};
            break;
        case GridColumn::Kind::Other:
            key = keyOfText(otherText(m, sorted.lineColumn));
            break;
        }
    }
    const bool up = order == Qt::AscendingOrder;
    std::vector<int> rows(order_.size());
    std::iota(rows.begin(), rows.end(), 0);
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
        const SortKey& p = keys[static_cast<std::size_t>(a)];
        const SortKey& q = keys[static_cast<std::size_t>(b)];
        if (p.rank != q.rank) return p.rank < q.rank;
        if (p.rank == SortKey::Number) return up ? p.number < q.number : q.number < p.number;
        if (p.rank == SortKey::Text) return up ? p.text < q.text : q.text < p.text;
        return false;
    });
    sortColumn_ = column;
    sortOrder_ = order;
    arrangeRows(rows);
}

void MonsterGridModel::showFileOrder() {
    std::vector<int> rows(order_.size());
    std::iota(rows.begin(), rows.end(), 0);
    sortColumn_ = -1;
    sortOrder_ = Qt::AscendingOrder;
    arrangeRows(rows);
}

void MonsterGridModel::cycleSort(int column) {
    if (column != sortColumn_)
        sortRows(column, Qt::AscendingOrder);
    else if (sortOrder_ == Qt::AscendingOrder)
        sortRows(column, Qt::DescendingOrder);
    else
        showFileOrder();
}

// The rows in a new order: the selection and the current cell stay on their monsters.
void MonsterGridModel::arrangeRows(const std::vector<int>& order) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::pair<int, int>> cells;
    cells.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& index : before) cells.emplace_back(monsterAt(index.row()), index.column());
    order_ = order;
    showFiltered();
    QModelIndexList after;
    after.reserve(before.size());
    for (const auto& [monster, column] : cells) after << index(rowOf(monster), column);
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

bool MonsterGridModel::matchesFilter(int monster) const {
    if (filter_.trimmed().isEmpty()) return true;
    const MonsterDataRecord& record = document_.monsters().monsters[static_cast<std::size_t>(monster)];
    return monsterMatchesFilter(textFromBytes(record.name), record.id, filter_);
}

void MonsterGridModel::showFiltered() {
    shown_.clear();
    for (const int monster : order_)
        if (matchesFilter(monster)) shown_.push_back(monster);
    std::fill(rowOf_.begin(), rowOf_.end(), -1);
    for (std::size_t row = 0; row < shown_.size(); ++row)
        rowOf_[static_cast<std::size_t>(shown_[row])] = static_cast<int>(row);
}

void MonsterGridModel::setFilterText(const QString& text) {
    if (text == filter_) return;
    beginResetModel();
    filter_ = text;
    showFiltered();
    endResetModel();
}

void MonsterGridModel::setNote(int monster, int field, const QString& note) {
    notes_[noteKey(monster, field)] = note;
    if (const int shownRow = rowOf(monster); shownRow >= 0) {
        const QModelIndex cell = index(shownRow, gridColumnOfField(field));
        emit dataChanged(cell, cell);
    }
}

QString MonsterGridModel::note(int monster, int field) const {
    if (notes_.empty()) return {};
    const auto found = notes_.find(noteKey(monster, field));
    return found == notes_.end() ? QString() : found->second;
}

// The line changed: the row is read again when next shown, and its notes are done with.
// Only a row the views have shown needs showing again, and only in the cells that
// changed: a change of one column repaints that column alone.
void MonsterGridModel::monsterStored(int monster) {
    if (monster < 0 || monster >= static_cast<int>(rows_.size())) return;
    const std::unique_ptr<Row> before = std::move(rows_[static_cast<std::size_t>(monster)]);
    complete_[static_cast<std::size_t>(monster)] = -1;
    std::array<bool, kEditableColumns> changed{};
    if (!notes_.empty())
        for (int field = 0; field < kEditableColumns; ++field)
            changed[static_cast<std::size_t>(field)] = notes_.erase(noteKey(monster, field)) > 0;
    const int shownRow = rowOf(monster);
    if (shownRow < 0) return;
    if (before) {
        const Row& now = row(monster);
        for (std::size_t field = 0; field < changed.size(); ++field)
            changed[field] = changed[field] || before->read != now.read || before->stored[field] != now.stored[field];
    }
    for (int field = 0; field < kEditableColumns; ++field)
        if (changed[static_cast<std::size_t>(field)]) showChangedCell(shownRow, gridColumnOfField(field));
}

// The cells of a change of many monsters are told to the views once, as one block,
// when the change is done.
void MonsterGridModel::showChangedCell(int row, int column) {
    if (changedCells_.isNull())
        QMetaObject::invokeMethod(this, &MonsterGridModel::showChangedCells, Qt::QueuedConnection);
    changedCells_ |= QRect(column, row, 1, 1);
}

void MonsterGridModel::showChangedCells() {
    const QRect cells = std::exchange(changedCells_, QRect());
    if (cells.isNull() || cells.bottom() >= rowCount()) return;
    emit dataChanged(index(cells.top(), cells.left()), index(cells.bottom(), cells.right()));
}
