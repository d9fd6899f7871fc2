#pragma once
// The lines of the outlier list, painted as the style paints a list's line but with the
// text laid out once per line: the style lays out a line's text three times at every
// paint (for its size, its eliding and its drawing), and after an edit moves the trend
// most of the lines shown say a new percentage and are painted again.

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QStyledItemDelegate>

class OutlierLineDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const QStaticText& laidOut(const QString& text, const QFont& font) const;
    mutable QHash<QString, QStaticText> texts_;  // for this font
    mutable QFont font_;
};
