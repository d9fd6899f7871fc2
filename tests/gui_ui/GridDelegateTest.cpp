#include <cmath>
#include <functional>
#include <map>
#include <memory>

#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QProxyStyle>
#include <QStandardItemModel>
#include <QStyleFactory>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <gtest/gtest.h>

#include "Colours.h"
#include "DesignPalette.h"
#include "GridDelegate.h"

namespace {

// The grid as the style alone draws its cells.
class StyleDrawnGrid final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(kGridLineColour);
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->restore();
    }
};

// The delegate draws plain cells itself: every cell, plain or not, must come out as the
// style draws it, pixel for pixel.
TEST(GridDelegate, DrawsEveryCellAsTheStyleDoes) {
    QPixmap mark(16, 16);
    mark.fill(Qt::darkRed);
    QStandardItemModel model(0, 2);
    const struct {
        bool icon;
        const char* first;
        const char* second;
    } rows[] = {
        {true, "0", "Lamplighter Orrin"},                          // selected below
        {true, "12", "A name far too long to fit in its column"},  // shortened by the style
        {false, "105", "Widow Tessaly"},
        {false, "", "\xc3\x84sh H\xc3\xb6und"},
        {true, "65535", "x"},
    };
    for (const auto& row : rows) {
        auto* first = new QStandardItem(QString::fromUtf8(row.first));
        if (row.icon) first->setIcon(QIcon(mark));
        model.appendRow({first, new QStandardItem(QString::fromUtf8(row.second))});
    }
    // A cell with a ground of its own, which the style draws.
    model.item(4, 1)->setBackground(QColor(255, 236, 200));
    for (const bool enabled : {true, false}) {
        QTreeView view;
        view.setModel(&model);
        view.setRootIsDecorated(false);
        view.setSelectionBehavior(QAbstractItemView::SelectRows);
        view.setColumnWidth(0, 52);
        view.setColumnWidth(1, 110);
        view.resize(220, 160);
        view.selectionModel()->select(model.index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        view.setCurrentIndex(model.index(2, 1));
        view.setEnabled(enabled);
        view.setItemDelegate(new GridDelegate(&view));
        const QImage drawn = view.grab().toImage();
        view.setItemDelegate(new StyleDrawnGrid(&view));
        EXPECT_EQ(drawn, view.grab().toImage()) << (enabled ? "enabled" : "disabled");
    }
}

// As the Windows build's style draws a selected row of a list that is without the
// keyboard: on very light grey, whatever the palette says.
class PaleSelectionStyle final : public QProxyStyle {
public:
    PaleSelectionStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("windows"))) {}
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element == PE_PanelItemViewItem && (option->state & State_Selected) && !(option->state & State_Active)) {
            painter->fillRect(option->rect, QColor(232, 232, 232));
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
};

double luminance(QColor c) {
    const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

// The commonest colour of the area against the one that stands out most from it.
double drawnContrast(const QImage& image) {
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) ++counts[image.pixel(x, y)];
    const QColor ground = std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
                              return a.second < b.second;
                          })->first;
    double best = 1.0;
    for (const auto& [pixel, count] : counts) {
        const double a = luminance(QColor(pixel));
        const double b = luminance(ground);
        best = std::max(best, (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05));
    }
    return best;
}

// A selected row stays readable while another control has the keyboard, on every
// style: the toolkit's own two and one drawing as the Windows build's style does.
TEST(GridDelegate, ASelectedRowStaysReadableWithoutTheKeyboard) {
    QStandardItemModel model(0, 2);
    for (const char* name : {"Lamplighter Orrin", "Widow Tessaly", "Quartermaster Hobb"})
        model.appendRow({new QStandardItem(QStringLiteral("12")), new QStandardItem(QString::fromLatin1(name))});
    const struct {
        const char* name;
        std::function<QStyle*()> make;
    } styles[] = {
        {"fusion", [] { return QStyleFactory::create(QStringLiteral("fusion")); }},
        {"windows", [] { return QStyleFactory::create(QStringLiteral("windows")); }},
        {"as the Windows build's", [] { return new PaleSelectionStyle; }},
    };
    for (const auto& s : styles) {
        const std::unique_ptr<QStyle> style(s.make());
        ASSERT_NE(style, nullptr) << s.name;
        QWidget window;
        window.setPalette(designPalette());
        auto* view = new QTreeView(&window);
        auto* other = new QLineEdit(&window);
        other->move(0, 130);
        view->setStyle(style.get());
        view->setModel(&model);
        view->setRootIsDecorated(false);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->resize(220, 120);
        view->setItemDelegate(new GridDelegate(view));
        view->selectionModel()->select(model.index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        window.show();
        other->setFocus();
        ASSERT_FALSE(view->hasFocus());
        const QRect row = view->visualRect(model.index(1, 1));
        EXPECT_GE(drawnContrast(view->viewport()->grab(row).toImage()), 4.5) << s.name;
    }
}

}  // namespace
