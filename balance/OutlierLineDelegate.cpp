#include "OutlierLineDelegate.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>

namespace {

// A list of a hundred lines, each said anew a few times at most between clears.
constexpr qsizetype kMostTextsKept = 1000;

}  // namespace

void OutlierLineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    // The one highlighted line the style paints itself: light text on the highlight is
    // drawn by it with a blending of its own.
    if (option.state & QStyle::State_Selected) return QStyledItemDelegate::paint(painter, option, index);
    QStyleOptionViewItem line = option;
    initStyleOption(&line, index);
    const QWidget* widget = line.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    const QString text = line.text;
    // The background, the selection and the focus as the style draws them; the text
    // where and in the colour the style puts it.
    line.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &line, painter, widget);
    if (text.isEmpty()) return;
    const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &line, widget);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect textArea = area.adjusted(margin, 0, -margin, 0);
    const QStaticText& laid = laidOut(text, line.font);
    const int height = static_cast<int>(QFontMetricsF(line.font).height());
    const QRect placed = QStyle::alignedRect(line.direction, Qt::AlignVCenter | Qt::AlignLeft,
                                             QSize(textArea.width(), height), textArea);
    QPalette::ColorGroup group = (line.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(line.state & QStyle::State_Active)) group = QPalette::Inactive;
    painter->save();
    painter->setFont(line.font);
    painter->setPen(line.palette.color(group, QPalette::Text));
    painter->drawStaticText(QPointF(textArea.left(), placed.top()), laid);
    painter->restore();
}

const QStaticText& OutlierLineDelegate::laidOut(const QString& text, const QFont& font) const {
    if (font != font_ || texts_.size() >= kMostTextsKept) {
        texts_.clear();
        font_ = font;
    }
    auto found = texts_.find(text);
    if (found == texts_.end()) {
        QStaticText laid(text);
        laid.setTextFormat(Qt::PlainText);
        laid.prepare(QTransform(), font);
        found = texts_.insert(text, laid);
    }
    return *found;
}
