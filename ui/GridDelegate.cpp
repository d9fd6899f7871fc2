#include "GridDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QRegion>
#include <QStyle>
#include <QTextLayout>
#include <QTextOption>

#include "Colours.h"

namespace {

QStyle* styleOf(const QStyleOptionViewItem& cell) {
    return cell.widget ? cell.widget->style() : QApplication::style();
}

}  // namespace

// The keyboard's current row, where it is not selected, is drawn with a dotted grey
// frame of its own: the style's frame looks like a selection, which it is not.
void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    QStyleOptionViewItem shown = option;
    const bool currentOnly = (option.state & QStyle::State_HasFocus) && !(option.state & QStyle::State_Selected);
    if (currentOnly) shown.state &= ~QStyle::State_HasFocus;
    QStyleOptionViewItem cell = shown;
    initStyleOption(&cell, index);
    if (!paintPlainCell(painter, cell, index.column())) QStyledItemDelegate::paint(painter, shown, index);
    painter->save();
    painter->setPen(kGridLineColour);
    const QRect rect = option.rect;
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    if (currentOnly) {
        painter->setPen(QPen(QColor(96, 96, 96), 1, Qt::DotLine));
        painter->drawLine(rect.topLeft(), rect.topRight());
        painter->drawLine(rect.bottomLeft() - QPoint(0, 1), rect.bottomRight() - QPoint(0, 1));
        if (index.column() == 0) painter->drawLine(rect.topLeft(), rect.bottomLeft());
        if (index.column() == index.model()->columnCount() - 1)
            painter->drawLine(rect.topRight() - QPoint(1, 0), rect.bottomRight() - QPoint(1, 0));
    }
    painter->restore();
}

// The style's drawing of a view item, step by step, for the cells it draws the same
// way every time; false, having drawn nothing, for any other.
bool GridDelegate::paintPlainCell(QPainter* painter, const QStyleOptionViewItem& cell, int column) const {
    if (cell.features & (QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::WrapText)) return false;
    if (cell.state & (QStyle::State_HasFocus | QStyle::State_Editing)) return false;
    if (cell.text.isEmpty() || !cell.showDecorationSelected || cell.direction != Qt::LeftToRight ||
        cell.decorationPosition != QStyleOptionViewItem::Left)
        return false;
    const QWidget* widget = cell.widget;
    QStyle* style = styleOf(cell);
    const Places& places = placesFor(cell, column);
    const QRect iconRect = places.icon.translated(cell.rect.topLeft());
    const QRect textRect = places.text.translated(cell.rect.topLeft());

    // The text laid out as the style lays it out to find where it goes and whether it
    // must be shortened; a text that must be is left to the style.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect inner = textRect.adjusted(margin, 0, -margin, 0);
    QTextOption textOption;
    textOption.setWrapMode(QTextOption::ManualWrap);
    textOption.setTextDirection(cell.direction);
    textOption.setAlignment(QStyle::visualAlignment(cell.direction, cell.displayAlignment));
    QTextLayout layout(cell.text, cell.font);
    layout.setTextOption(textOption);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid()) {
        line.setLineWidth(inner.width());
        line.setPosition(QPointF(0, 0));
    }
    const bool oneLine = line.isValid() && !layout.createLine().isValid();
    layout.endLayout();
    if (!oneLine || line.naturalTextWidth() > inner.width()) return false;
    const QRect placed = QStyle::alignedRect(Qt::LayoutDirectionAuto, cell.displayAlignment,
                                             layout.boundingRect().size().toSize(), inner);
    if (placed.top() + line.height() <= inner.top()) return false;

    painter->save();
    painter->setClipRegion(painter->hasClipping() ? painter->clipRegion() & cell.rect : QRegion(cell.rect));
    QPalette::ColorGroup group = cell.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(cell.state & QStyle::State_Active)) group = QPalette::Inactive;
    // A selected cell's ground is the palette's, as its text is: a style may draw its own
    // (the Windows style of the Windows build: very light grey while the list is without
    // the keyboard), under which the palette's white text could not be read.
    if (cell.state & QStyle::State_Selected)
        painter->fillRect(cell.rect, cell.palette.brush(group, QPalette::Highlight));
    else
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &cell, painter, widget);
    QIcon::Mode mode = QIcon::Normal;
    if (!(cell.state & QStyle::State_Enabled))
        mode = QIcon::Disabled;
    else if (cell.state & QStyle::State_Selected)
        mode = QIcon::Selected;
    cell.icon.paint(painter, iconRect, cell.decorationAlignment, mode,
                    cell.state & QStyle::State_Open ? QIcon::On : QIcon::Off);
    painter->setPen(cell.palette.color(
        group, cell.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    layout.draw(painter, QPointF(inner.x(), placed.top()));
    painter->restore();
    return true;
}

const GridDelegate::Places& GridDelegate::placesFor(const QStyleOptionViewItem& cell, int column) const {
    if (places_.size() <= column) places_.resize(column + 1);
    Places& places = places_[column];
    const bool hasIcon = !cell.icon.isNull();
    if (places.cell.isEmpty() || places.cell != cell.rect.size() || places.decorationSize != cell.decorationSize ||
        places.features != cell.features || places.decorationAlignment != cell.decorationAlignment ||
        places.hasIcon != hasIcon) {
        QStyle* style = styleOf(cell);
        const QPoint origin = -cell.rect.topLeft();
        places = {cell.rect.size(),
                  cell.decorationSize,
                  cell.features,
                  cell.decorationAlignment,
                  hasIcon,
                  style->subElementRect(QStyle::SE_ItemViewItemDecoration, &cell, cell.widget).translated(origin),
                  style->subElementRect(QStyle::SE_ItemViewItemText, &cell, cell.widget).translated(origin)};
    }
    return places;
}
