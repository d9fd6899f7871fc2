#include "GridView.h"

#include <algorithm>

#include <QComboBox>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QLineEdit>

#include "GridColumns.h"
#include "SpinField.h"

namespace {

constexpr const char* kTyped = "typedText";

}  // namespace

LineNumberHeader::LineNumberHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {
    // As the view's own header: a click selects the row.
    setSectionsClickable(true);
    setHighlightSections(true);
}

QSize LineNumberHeader::sizeHint() const {
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.text = QString(QString::number(std::max(count(), 1)).size(), QLatin1Char('0'));
    const QSize section = style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), this);
    return {section.width(), defaultSectionSize()};
}

GridView::GridView(QWidget* parent) : QTableView(parent) { setVerticalHeader(new LineNumberHeader(this)); }

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

void FieldCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    cells_.paint(painter, option, index);
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
