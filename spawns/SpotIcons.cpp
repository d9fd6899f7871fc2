#include "LazyIcon.h"
#include "SpotIcons.h"

#include <array>

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace {

QPixmap greyIcon() {
    QPixmap pix(16, 16);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(110, 110, 110), 1));
    p.setBrush(QColor(180, 180, 180));
    p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
    p.setPen(QPen(QColor(140, 140, 140), 1.5));
    p.drawLine(QPointF(5.5, 8), QPointF(10.5, 8));
    return pix;
}

QPixmap ladybird() {
    QPixmap pix(16, 16);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(QRectF(5, 0.5, 6, 5));  // head
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(220, 20, 30));
    p.drawEllipse(QRectF(1.5, 3.5, 13, 12));  // wing cases
    p.drawLine(QPointF(8, 4), QPointF(8, 15.5));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    for (const QPointF c : {QPointF(5, 7), QPointF(11, 7), QPointF(4.5, 11.5), QPointF(11.5, 11.5)})
        p.drawEllipse(c, 1.4, 1.4);
    return pix;
}

}  // namespace

QIcon monsterIcon(bool hasSpots) { return QIcon(hasSpots ? ladybird() : greyIcon()); }

QPixmap spotTypePixmap(int spottype) {
    static const std::array<const char*, kSpotTypeCount> texts = {"NPC", "M.R.S", "M.P.S", "Golden",
                                                                  "MP.BC."};
    if (spottype < 0 || spottype >= kSpotTypeCount) return {};
    QPixmap pix(48, 16);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(11);
    font.setBold(true);
    font.setStretch(QFont::AnyStretch);  // not the condensed design font's, the default
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRect(0, 0, 48, 16), Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(texts[spottype]));
    return pix;
}

QIcon spotTypeIcon(int spottype) {
    const QPixmap pix = spotTypePixmap(spottype);
    return pix.isNull() ? QIcon() : QIcon(pix);
}

namespace {

QIcon drawSaveGlyph() {
    QPixmap pix(16, 16);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setPen(QColor(20, 20, 60));
    p.setBrush(QColor(40, 70, 150));
    p.drawRect(1, 1, 13, 13);  // disk
    p.setBrush(QColor(235, 235, 235));
    p.drawRect(4, 1, 7, 5);  // shutter
    p.setBrush(Qt::white);
    p.drawRect(3, 9, 9, 5);  // label
    return QIcon(pix);
}

// A map sheet, under the marks of the map glyphs.
QPixmap mapSheet() {
    QPixmap pix(16, 16);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setPen(QColor(40, 60, 30));
    p.setBrush(QColor(120, 170, 90));
    p.drawRect(1, 2, 13, 11);
    return pix;
}

QIcon drawPreviewGlyph() {
    QPixmap pix = mapSheet();
    QPainter p(&pix);
    p.setPen(Qt::white);
    p.drawRect(4, 5, 3, 3);
    p.drawRect(9, 8, 3, 2);
    return QIcon(pix);
}

// Marks of several colours: every monster at once.
QIcon drawOverviewGlyph() {
    QPixmap pix = mapSheet();
    QPainter p(&pix);
    p.setPen(QColor(20, 20, 20));
    const QColor marks[] = {QColor(250, 80, 80), QColor(250, 230, 60), QColor(90, 200, 250), QColor(250, 250, 250)};
    const QPoint places[] = {{3, 4}, {9, 4}, {5, 9}, {10, 9}};
    for (int i = 0; i < 4; ++i) {
        p.setBrush(marks[i]);
        p.drawRect(QRect(places[i], QSize(2, 2)));
    }
    return QIcon(pix);
}

}  // namespace

QIcon saveGlyph() { return lazyIcon(drawSaveGlyph); }
QIcon previewGlyph() { return lazyIcon(drawPreviewGlyph); }
QIcon overviewGlyph() { return lazyIcon(drawOverviewGlyph); }
