// The splash window's artwork as the program draws it. This runs when the program is
// built (RenderSplashArt.cpp), not when it starts: the program carries the finished
// pixels.

#include "SplashArtDrawing.h"

#include <array>

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

// A fixed coastline, so the picture is the same on every start.
constexpr std::array<QPointF, 14> kCoast = {{
    {40, 250}, {62, 190}, {48, 140}, {90, 96}, {150, 84}, {205, 52}, {268, 70},
    {330, 58}, {392, 98}, {430, 150}, {415, 214}, {360, 262}, {250, 276}, {130, 282},
}};

constexpr std::array<QPoint, 9> kPointSpots = {{
    {120, 150}, {150, 232}, {201, 118}, {232, 236}, {298, 128},
    {352, 184}, {385, 140}, {170, 250}, {318, 232},
}};

void drawLand(QPainter& p) {
    QPainterPath land;
    land.moveTo(kCoast.front());
    for (std::size_t i = 1; i < kCoast.size(); ++i) {
        const QPointF from = kCoast[i - 1];
        const QPointF to = kCoast[i];
        const QPointF bend((from.x() + to.x()) / 2 + (i % 2 ? 9 : -9), (from.y() + to.y()) / 2);
        land.quadTo(bend, to);
    }
    land.closeSubpath();
    QRadialGradient ground(240, 170, 230);
    ground.setColorAt(0, QColor(196, 178, 128));
    ground.setColorAt(1, QColor(150, 136, 92));
    p.setPen(QPen(QColor(92, 70, 44), 2));
    p.setBrush(ground);
    p.drawPath(land);

    // Map cells, clipped to the land.
    p.save();
    p.setClipPath(land);
    p.setPen(QPen(QColor(120, 100, 64, 90), 1));
    for (int x = 0; x < kSplashArtWidth; x += 16) p.drawLine(x, 0, x, kSplashArtHeight);
    for (int y = 0; y < kSplashArtHeight; y += 16) p.drawLine(0, y, kSplashArtWidth, y);
    p.restore();
}

void drawSpots(QPainter& p) {
    p.setPen(QPen(QColor(150, 24, 24), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(292, 218, 56, 34);
    p.drawRect(96, 212, 44, 30);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(170, 20, 20));
    for (const QPoint& spot : kPointSpots) p.drawRect(spot.x() - 2, spot.y() - 2, 5, 5);
}

void drawCompass(QPainter& p, QPointF centre) {
    p.save();
    p.translate(centre);
    p.setPen(QPen(QColor(70, 52, 34), 1));
    for (int i = 0; i < 4; ++i) {
        QPainterPath ray;
        ray.moveTo(0, -26);
        ray.lineTo(5, 0);
        ray.lineTo(-5, 0);
        ray.closeSubpath();
        p.setBrush(i % 2 ? QColor(230, 218, 188) : QColor(90, 64, 40));
        p.drawPath(ray);
        p.rotate(90);
    }
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 0), 17, 17);
    p.restore();
    QFont north(QStringLiteral("Serif"), 9, QFont::Bold);
    p.setFont(north);
    p.setPen(QColor(70, 52, 34));
    p.drawText(QRectF(centre.x() - 8, centre.y() - 44, 16, 14), Qt::AlignCenter, QStringLiteral("N"));
}

void drawLettering(QPainter& p) {
    QFont title(QStringLiteral("Serif"), 44, QFont::Bold);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    p.setFont(title);
    const QRect band(0, 112, kSplashArtWidth, 80);
    p.setPen(QColor(40, 28, 16, 150));
    p.drawText(band.translated(3, 3), Qt::AlignCenter, QStringLiteral("Varnex"));
    p.setPen(QColor(250, 236, 196));
    p.drawText(band, Qt::AlignCenter, QStringLiteral("Varnex"));

    QFont subtitle(QStringLiteral("Serif"), 11, QFont::Normal, true);
    p.setFont(subtitle);
    p.setPen(QColor(52, 36, 22));
    p.drawText(QRect(0, 186, kSplashArtWidth, 22), Qt::AlignCenter,
               QStringLiteral("monster stats & spawn places"));
}

}  // namespace

QImage drawSplashArt() {
    QImage art(kSplashArtWidth, kSplashArtHeight, QImage::Format_RGB32);
    QPainter p(&art);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sea(0, 0, 0, kSplashArtHeight);
    sea.setColorAt(0, QColor(58, 96, 122));
    sea.setColorAt(1, QColor(28, 54, 78));
    p.fillRect(art.rect(), sea);
    p.setPen(QPen(QColor(255, 255, 255, 28), 1));
    for (int y = 10; y < kSplashArtHeight; y += 12)
        for (int x = (y / 12) % 2 * 14; x < kSplashArtWidth; x += 28) p.drawArc(x, y, 12, 6, 0, 180 * 16);
    drawLand(p);
    drawSpots(p);
    drawCompass(p, {438, 276});
    drawLettering(p);
    p.setPen(QPen(QColor(40, 28, 16), 3));
    p.setBrush(Qt::NoBrush);
    p.drawRect(art.rect().adjusted(1, 1, -2, -2));
    return art;
}
