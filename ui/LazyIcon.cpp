#include "LazyIcon.h"

#include <initializer_list>

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QIconEngine>
#include <QPainter>

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

// The pictures the toolkit's own style shows for these glyphs when the desktop's icon
// theme has none, read straight from the toolkit's resources. Asking the style for
// them first searches the icon theme, which cost a fifth of all the work of start-up.
struct BuiltInGlyph {
    QStyle::StandardPixmap which;
    std::initializer_list<const char*> files;
};

const BuiltInGlyph kBuiltInGlyphs[] = {
    {QStyle::SP_DialogSaveButton, {"standardbutton-save-16", "standardbutton-save-32"}},
    {QStyle::SP_BrowserReload, {"refresh-24", "refresh-32"}},
    {QStyle::SP_ArrowRight, {"right-16", "right-32"}},
};

// Null when the toolkit does not carry the pictures (then the style is asked).
QIcon builtInGlyph(QStyle::StandardPixmap which) {
    for (const BuiltInGlyph& glyph : kBuiltInGlyphs) {
        if (glyph.which != which) continue;
        QIcon icon;
        for (const char* file : glyph.files) {
            QImage picture;
            // The format named, so that no image plugin is loaded to guess it.
            if (!picture.load(QStringLiteral(":/qt-project.org/styles/commonstyle/images/%1.png")
                                  .arg(QLatin1String(file)),
                              "PNG"))
                return {};
            icon.addPixmap(QPixmap::fromImage(std::move(picture)));
        }
        return icon;
    }
    return {};
}

}  // namespace

QIcon lazyIcon(std::function<QIcon()> make) { return QIcon(new LazyIconEngine(std::move(make))); }

QIcon lazyStandardIcon(QStyle::StandardPixmap which) {
    return lazyIcon([which] {
        QIcon icon = builtInGlyph(which);
        return icon.isNull() ? QApplication::style()->standardIcon(which) : icon;
    });
}
