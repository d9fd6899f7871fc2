#include "GridView.h"

#include <algorithm>

#include <QComboBox>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QLineEdit>

#include "GridColumns.h"
#include "SpinField.h"

namespace {

constexpr const char* kTyped = "typedText";
constexpr int kCellMargin = 4;

}  // namespace

MeasuredHeader::MeasuredHeader(Qt::Orientation orientation, QWidget* parent) : QHeaderView(orientation, parent) {
    // As the view's own headers: a click on a row's header selects the row; a click on a
    // column's header is the window's to handle.
    setSectionsClickable(true);
    setHighlightSections(true);
}

QSize MeasuredHeader::sizeHint() const {
    QStyleOptionHeader option;
    initStyleOption(&option);
    if (orientation() == Qt::Vertical) {
        option.text = QString(QString::number(std::max({count(), largestNumber_, 1})).size(), QLatin1Char('0'));
        const QSize section = style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), this);
        return {section.width(), defaultSectionSize()};
    }
    option.text = QStringLiteral("Mg");  // one line of a caption
    option.sortIndicator = QStyleOptionHeader::SortDown;
    const QSize section = style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), this);
    return {length(), section.height()};
}

void MeasuredHeader::setLargestNumber(int largest) { largestNumber_ = largest; }

GridView::GridView(QWidget* parent) : QTableView(parent) {
    setHorizontalHeader(new MeasuredHeader(Qt::Horizontal, this));
    setVerticalHeader(new MeasuredHeader(Qt::Vertical, this));
}

// Return stores the cell and goes on to the cell below, as in a spreadsheet.
void GridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTableView::closeEditor(editor, hint);
    if (hint != QAbstractItemDelegate::SubmitModelCache) return;
    const QModelIndex current = currentIndex();
    const QModelIndex below = current.sibling(current.row() + 1, current.column());
    if (below.isValid()) setCurrentIndex(below);
}

FieldCellDelegate::FieldCellDelegate(Store store, QObject* parent)
    : QStyledItemDelegate(parent), store_(std::move(store)) {}

// A cell is a short line of text on its background: drawn straight, with the grid's
// lines left to the view, which draws them once a paint. (The report lists' GridDelegate
// asks the style to lay out every cell; a grid shows many more cells at once.)
void FieldCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const bool selected = option.state & QStyle::State_Selected;
    QPalette::ColorGroup group = option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(option.state & QStyle::State_Active)) group = QPalette::Inactive;
    if (selected) {
        painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
    } else if (const QVariant background = index.data(Qt::BackgroundRole); background.isValid()) {
        painter->fillRect(option.rect, qvariant_cast<QColor>(background));
    }
    QString text = index.data(Qt::DisplayRole).toString();
    const QRect room = option.rect.adjusted(kCellMargin, 0, -kCellMargin, 0);
    if (!text.isEmpty()) {
        const auto alignment = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
        // A name too long for its column ends in an ellipsis; numbers are given room.
        if (alignment & Qt::AlignLeft) text = option.fontMetrics.elidedText(text, Qt::ElideRight, room.width());
        const QVariant foreground = index.data(Qt::ForegroundRole);
        painter->setPen(selected             ? option.palette.color(group, QPalette::HighlightedText)
                        : foreground.isValid() ? qvariant_cast<QColor>(foreground)
                                               : option.palette.color(group, QPalette::Text));
        painter->drawText(room, int(alignment | Qt::TextSingleLine), text);
    }
    // The current cell is framed, as a spreadsheet frames it.
    if (option.state & QStyle::State_HasFocus) {
        painter->save();
        painter->setPen(QPen(option.palette.color(group, QPalette::Highlight).darker(150), 2));
        painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
        painter->restore();
    }
}

QWidget* FieldCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const {
    const MonsterField* field = gridColumn(index.column()).monsterField();
    if (!field) return nullptr;
    if (gridColumn(index.column()).field == kMoveRangeField) {
        auto* box = new QComboBox(parent);
        box->setObjectName(QStringLiteral("MoveRangeCell"));
        for (const char* item : kMoveRangeNames) box->addItem(QString::fromLatin1(item));
        return box;
    }
    auto* spin = new SpinField(parent);
    spin->setObjectName(QStringLiteral("FieldCell"));
    spin->setFrame(false);
    spin->setBounds(field->lower, field->upper);
    spin->setAccessibleName(QString::fromLatin1(field->columnName));
    // What the operator typed last, before the field pulls it into its bounds (it does
    // so itself at Return), so that the window can say it did.
    connect(spin->lineEdit(), &QLineEdit::textEdited, spin, [spin](const QString& text) { spin->setProperty(kTyped, text); });
    return spin;
}

void FieldCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const QVariant value = index.data(Qt::EditRole);
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        const int entry = value.toInt();
        box->setCurrentIndex(moveRangeListed(entry) ? entry : -1);
    } else if (auto* spin = qobject_cast<SpinField*>(editor)) {
        spin->lineEdit()->setText(value.toString());
        // A key that starts the edit replaces the value, as in a spreadsheet.
        spin->selectAll();
    }
}

void FieldCellDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const {
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        if (box->currentIndex() >= 0) store_(index, QString::number(box->currentIndex()));
    } else if (auto* spin = qobject_cast<SpinField*>(editor)) {
        // What was typed, not yet pulled into the bounds, unless the arrows changed the
        // value since: the window says when a value is pulled in.
        const QString typed = spin->property(kTyped).toString();
        const auto typedValue = SpinField::parseWhole(typed.trimmed());
        const bool pulledIn = typedValue && spin->value() == clampToBounds(*typedValue, spin->minValue(), spin->maxValue());
        store_(index, pulledIn ? typed : spin->lineEdit()->text());
    }
}
