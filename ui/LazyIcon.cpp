#include "LazyIcon.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>

#include "GlyphPixels.h"
#include "PixelPicture.h"

namespace {

class LazyIconEngine final : public QIconEngine {
public:
    explicit LazyIconEngine(std::function<QIcon()> make) : make_(std::move(make)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, 1.0, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        return icon().pixmap(size / scale, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }
    void addPixmap(const QPixmap& pixmap, QIcon::Mode mode, QIcon::State state) override {
        icon().addPixmap(pixmap, mode, state);
    }
    void addFile(const QString& file, const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        icon().addFile(file, size, mode, state);
    }
    QString iconName() override { return icon().name(); }
    // Asked when a window is made: an icon still to be made is not null.
    bool isNull() override { return made_ && icon_.isNull(); }
    QString key() const override { return QStringLiteral("LazyIconEngine"); }
    QIconEngine* clone() const override {
        auto* copy = new LazyIconEngine(make_);
        copy->icon_ = icon_;
        copy->made_ = made_;
        return copy;
    }

private:
    QIcon& icon() {
        if (!made_) {
            icon_ = make_();
            made_ = true;
        }
        return icon_;
    }

    std::function<QIcon()> make_;
    QIcon icon_;
    bool made_ = false;
};

// The style's picture of the glyph as built in (GlyphPixels.h); null when the
// toolkit the program was built with did not carry it.
QIcon builtInGlyph(QStyle::StandardPixmap which) {
    QIcon icon;
    for (std::size_t i = 0; i < kGlyphPictureCount; ++i) {
        const GlyphPicture& picture = kGlyphPictures[i];
        if (picture.which != static_cast<int>(which)) continue;
        icon.addPixmap(pixmapOverPixels(picture.pixels, picture.width, picture.height,
                                        QImage::Format_ARGB32_Premultiplied));
    }
    return icon;
}

}  // namespace

QIcon lazyIcon(std::function<QIcon()> make) { return QIcon(new LazyIconEngine(std::move(make))); }

QIcon lazyStandardIcon(QStyle::StandardPixmap which) {
    return lazyIcon([which] {
        QIcon icon = builtInGlyph(which);
        return icon.isNull() ? QApplication::style()->standardIcon(which) : icon;
    });
}
