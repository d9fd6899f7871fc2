#include "MapPicture.h"
#include "MapPreviewWindow.h"

#include <algorithm>
#include <string>

#include <QButtonGroup>
#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>
#include <QWheelEvent>

#include "Colours.h"
#include "DesignPalette.h"
#include "ErrorReport.h"
#include "EventHook.h"
#include "FirstPlace.h"
#include "FormFont.h"
#include "MapSurface.h"
#include "TabChain.h"
#include "WindowDrag.h"

QString previewTitle(const QString& name, int map) {
    return QStringLiteral("Map  Preview  ( ") + name + QStringLiteral(", ") + QString::number(map) +
           QStringLiteral(" )  ");
}

namespace {

constexpr int kItemHeight = 23;  // per zoom item
const QString kInitialTitle = QStringLiteral("Map  Preview    ");

// Double clicks on the title strip fold the window like its minimise button.
class DoubleClickFilter final : public QObject {
public:
    DoubleClickFilter(QObject* parent, std::function<void()> action)
        : QObject(parent), action_(std::move(action)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonDblClick) {
            action_();
            return true;
        }
        return false;
    }

private:
    std::function<void()> action_;
};

}  // namespace


MapPreviewWindow::MapPreviewWindow(int screenHeight, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("Form4"));
    setPalette(designPalette());
    const QFont base = formFont();
    setFont(base);
    QFont bold = base;
    bold.setBold(true);

    body_ = new QFrame(this);
    body_->setObjectName(QStringLiteral("Panel4"));
    body_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    body_->setLineWidth(1);
    body_->setAutoFillBackground(true);
    QPalette bodyPalette = body_->palette();
    bodyPalette.setColor(QPalette::Window, kFormColour);
    body_->setPalette(bodyPalette);

    titleStrip_ = new QFrame(body_);
    titleStrip_->setObjectName(QStringLiteral("Panel3"));
    titleStrip_->setGeometry(2, 2, 309, 23);
    titleStrip_->setAutoFillBackground(true);
    QPalette stripPalette = titleStrip_->palette();
    stripPalette.setColor(QPalette::Window, kStripColour);
    titleStrip_->setPalette(stripPalette);
    caption_ = new QLabel(kInitialTitle, titleStrip_);
    caption_->setObjectName(QStringLiteral("Panel3Caption"));
    caption_->setFont(bold);
    caption_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    caption_->setGeometry(50, 0, 309 - 50, 23);
    caption_->setAttribute(Qt::WA_TransparentForMouseEvents);

    closeButton_ = new QToolButton(titleStrip_);
    closeButton_->setObjectName(QStringLiteral("SpeedButton4"));
    closeButton_->setToolTip(QStringLiteral("Close Map Preview"));
    closeButton_->setText(QStringLiteral("x"));
    closeButton_->setGeometry(2, 0, 23, 22);
    foldButton_ = new QToolButton(titleStrip_);
    foldButton_->setObjectName(QStringLiteral("SpeedButton1"));
    foldButton_->setToolTip(QStringLiteral("minimise"));
    foldButton_->setText(QStringLiteral("_"));
    foldButton_->setGeometry(25, 0, 23, 22);
    closeButton_->setAccessibleName(QStringLiteral("Close map preview"));
    foldButton_->setAccessibleName(QStringLiteral("Minimise"));
    // As a system title bar's buttons: the mouse's alone.
    for (QToolButton* button : {closeButton_, foldButton_}) button->setFocusPolicy(Qt::NoFocus);

    // showLoadedTables: the zoom items follow the screen's height, each test by itself.
    QStringList items{QStringLiteral("1X"), QStringLiteral("2X")};
    if (screenHeight >= 768) items << QStringLiteral("3X");
    if (screenHeight >= 1024) items << QStringLiteral("4X");
    if (screenHeight >= 1280) items << QStringLiteral("5X");
    zoomGroup_ = new QGroupBox(QStringLiteral("Zoom"), body_);
    zoomGroup_->setObjectName(QStringLiteral("RadioGroup1"));
    zoomGroup_->setToolTip(QStringLiteral("Zoom"));
    const int groupHeight = kItemHeight * static_cast<int>(items.size());
    zoomGroup_->setGeometry(2, 27, 50, groupHeight);
    zoomItems_ = new QButtonGroup(zoomGroup_);
    const int top = 14;
    const int step = (groupHeight - top - 2) / static_cast<int>(items.size());
    for (int i = 0; i < items.size(); ++i) {
        auto* item = new QRadioButton(items[i], zoomGroup_);
        item->setPalette(indicatorPalette());
        item->setGeometry(4, top + i * step, 44, std::max(step, 12));
        zoomItems_->addButton(item, i);
    }
    zoomItems_->button(0)->setChecked(true);
    tabToCheckedButton(zoomItems_);

    cellCaption_ = new QLabel(QStringLiteral("X,Y"), body_);
    cellCaption_->setObjectName(QStringLiteral("Label1"));
    cellCaption_->move(16, 134);
    cellCaption_->adjustSize();
    cellLabel_ = new QLabel(QStringLiteral("127,127"), body_);
    cellLabel_->setObjectName(QStringLiteral("Label2"));
    cellLabel_->setToolTip(QStringLiteral("Coords"));
    cellLabel_->setGeometry(6, 150, 46, 14);
    // Filled with the body's colour, so that the pointer's every move repaints this
    // label alone, not the body under it.
    cellLabel_->setAutoFillBackground(true);

    mapFrame_ = new QFrame(body_);
    mapFrame_->setObjectName(QStringLiteral("Panel1"));
    mapFrame_->setFrameStyle(QFrame::Box | QFrame::Plain);
    mapFrame_->setLineWidth(1);
    mapFrame_->move(52, 30);
    mapView_ = new QWidget(mapFrame_);
    mapView_->setObjectName(QStringLiteral("Panel1View"));
    mapView_->move(1, 1);
    mapPanel_ = new QFrame(mapView_);
    mapPanel_->setObjectName(QStringLiteral("Panel2"));
    mapPanel_->setFrameStyle(QFrame::Box | QFrame::Plain);
    mapPanel_->setLineWidth(1);
    noMapCaption_ = new QLabel(QStringLiteral("NO MAP or monster spot"), mapPanel_);
    noMapCaption_->setObjectName(QStringLiteral("Panel2Caption"));
    QFont captionFont = bold;
    captionFont.setPixelSize(13);
    noMapCaption_->setFont(captionFont);
    noMapCaption_->setAlignment(Qt::AlignCenter);
    picture_ = new MapPicture(mapPanel_);
    picture_->move(1, 1);
    surface_ = new PaintSurface(mapPanel_, picture_);
    surface_->move(1, 1);

    surface_->outlines = [this](std::vector<SpotRect>& out) {
        reportErrors(this, [&] { outlinesInto(out); });
    };
    surface_->onMove = [this](QMouseEvent* e) { pointerMoved(mousePixel(e)); };
    surface_->onPress = [this](QMouseEvent* e) { mapPressed(e->button(), mousePixel(e)); };
    surface_->onRelease = [this](QMouseEvent* e) { mapReleased(e->button(), mousePixel(e)); };
    // Ctrl+wheel zooms; the wheel alone is left to the window, which does not scroll.
    new EventHook(surface_, [this](QEvent* event) {
        if (event->type() != QEvent::Wheel) return false;
        const auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() != Qt::ControlModifier) return false;
        if (const int steps = wheel_.take(*wheel)) zoomBy(steps, wheel->position().toPoint());
        return true;
    });

    connect(closeButton_, &QToolButton::clicked, this, &MapPreviewWindow::closePreview);
    connect(foldButton_, &QToolButton::clicked, this, &MapPreviewWindow::toggleFolded);
    connect(zoomItems_, &QButtonGroup::idClicked, this, &MapPreviewWindow::applyZoom);
    titleStrip_->installEventFilter(new DoubleClickFilter(titleStrip_, [this] { toggleFolded(); }));
    installWindowDrag(titleStrip_);
    installWindowDrag(body_);

    relayout();
}

MapPreviewWindow::~MapPreviewWindow() = default;

void MapPreviewWindow::relayout() {
    const int side = kMapCells * zoom_;
    picture_->setZoom(zoom_);
    surface_->resize(side, side);
    noMapCaption_->setGeometry(1, 1, side, side);
    mapPanel_->resize(side + 2, side + 2);
    // The frame shows the whole picture where the screen has room for it.
    const QSize room = roomForMap();
    mapView_->resize(std::min(side + 2, room.width()), std::min(side + 2, room.height()));
    mapFrame_->resize(mapView_->size() + QSize(2, 2));
    placePicture(offset_, false);

    // The body and the window size themselves to what is visible.
    QRect content = titleStrip_->geometry();
    for (QWidget* w : {static_cast<QWidget*>(zoomGroup_), static_cast<QWidget*>(cellCaption_),
                       static_cast<QWidget*>(cellLabel_), static_cast<QWidget*>(mapFrame_)})
        if (!w->isHidden()) content = content.united(w->geometry());
    const QSize size(content.right() + 1 + 2, content.bottom() + 1 + 2);
    body_->setGeometry(0, 0, size.width(), size.height());
    setFixedSize(size);
}

QSize MapPreviewWindow::roomForMap() const {
    const QScreen* shownOn = screen();
    const QRect area = shownOn ? shownOn->availableGeometry() : QRect();
    if (area.isEmpty()) return {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    // The window ends 2 pixels past the frame, whose border is 1 pixel wide.
    const QPoint at = mapFrame_->pos();
    return {std::max(kMapCells, area.width() - at.x() - 4), std::max(kMapCells, area.height() - at.y() - 4)};
}

void MapPreviewWindow::placePicture(QPoint offset, bool anywhere) {
    const QSize picture = mapPanel_->size();
    const QSize view = mapView_->size();
    const auto bounded = [anywhere](int value, int pictureSide, int viewSide) {
        if (anywhere) return std::clamp(value, 1 - pictureSide, viewSide - 1);
        return std::clamp(value, std::min(0, viewSide - pictureSide), 0);
    };
    offset_ = {bounded(offset.x(), picture.width(), view.width()), bounded(offset.y(), picture.height(), view.height())};
    mapPanel_->move(offset_);
}

void MapPreviewWindow::loadMapPicture(const std::filesystem::path& file) {
    picture_->setPicture(readMapPicture(file));
    surface_->pictureChanged();
}

void MapPreviewWindow::setPictureVisible(bool visible) {
    picture_->setVisible(visible);
    surface_->pictureChanged();
}
bool MapPreviewWindow::pictureVisible() const { return !picture_->isHidden(); }
void MapPreviewWindow::setTitle(const QString& title) { caption_->setText(title); }
QString MapPreviewWindow::title() const { return caption_->text(); }
int MapPreviewWindow::zoomItemCount() const { return static_cast<int>(zoomItems_->buttons().size()); }
QString MapPreviewWindow::coordinates() const { return cellLabel_->text(); }

void MapPreviewWindow::setZoom(int factor) {
    QAbstractButton* item = zoomItems_->button(factor - 1);
    if (!item) return;
    item->setChecked(true);
    applyZoom();
}

void MapPreviewWindow::zoomBy(int steps, QPoint pixel) {
    reportErrors(this, [&] {
        const int before = zoom_;
        const int after = std::clamp(zoom_ + steps, 1, zoomItemCount());
        if (after == before) return;
        const QPoint pointer = surface_->mapToGlobal(pixel);
        setZoom(after);
        // The window grows or shrinks around the pointer, as far as the screen lets it;
        // the picture moves in its frame for the rest.
        const QPoint scaled(pixel.x() * after / before, pixel.y() * after / before);
        const QPoint inWindow = surface_->mapTo(this, scaled) - offset_;
        const QPoint wanted = pointer - inWindow;  // the window's place with the picture unmoved
        const QScreen* shownOn = screen();
        const QRect area = shownOn ? shownOn->availableGeometry() : QRect();
        const QPoint placed = area.isEmpty() ? wanted : onScreen(QRect(wanted, size()), area).topLeft();
        placePicture(wanted - placed, true);
        move(placed);
    });
}

void MapPreviewWindow::redraw() { surface_->repaint(); }

void MapPreviewWindow::pickSelection(bool point) {
    selection_.showselection = true;
    selection_.pointselection = point;
}

void MapPreviewWindow::setSelectedCells(int x0, int y0, int x1, int y1) {
    selection_.selx0 = x0;
    selection_.sely0 = y0;
    selection_.selx1 = x1;
    selection_.sely1 = y1;
}

// A point selection keeps the rectangle's second corner where it was.
void MapPreviewWindow::setSelectedCell(int x, int y) {
    selection_.selx0 = x;
    selection_.sely0 = y;
}

std::vector<SpotRect> MapPreviewWindow::rectangles() const {
    std::vector<SpotRect> rects;
    outlinesInto(rects);
    return rects;
}

void MapPreviewWindow::outlinesInto(std::vector<SpotRect>& out) const {
    const int z = zoom_;
    const MapSelection& s = selection_;
    if (s.showselection) {
        out.push_back(s.pointselection ? pointSpotRect(s.selx0, s.sely0, z)
                                       : rangeSelectionRect(s.selx0, s.sely0, s.selx1, s.sely1, z));
        return;
    }
    if (!shownSpots_ || !shownSpots_->mapChosen()) return;
    const std::span<const SpawnEntry> spots = shownSpots_->spots();
    appendSpotRectangles(spots, static_cast<int>(spots.size()), z, out);
}

void MapPreviewWindow::applyZoom() {
    reportErrors(this, [&] {
        const int index = zoomItems_->checkedId();
        zoom_ = index < 0 ? 1 : index + 1;
        relayout();
        update();
    });
}

void MapPreviewWindow::toggleFolded() {
    reportErrors(this, [&] {
        collapsed_ = !collapsed_;
        for (QWidget* w : {static_cast<QWidget*>(mapFrame_), static_cast<QWidget*>(zoomGroup_),
                           static_cast<QWidget*>(cellCaption_), static_cast<QWidget*>(cellLabel_)})
            w->setVisible(!collapsed_);
        relayout();
    });
}

void MapPreviewWindow::closePreview() {
    reportErrors(this, [&] { hide(); });
}

void MapPreviewWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape || event->modifiers() != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    closePreview();
    emit leftByKeyboard();
}

void MapPreviewWindow::pointerMoved(QPoint pixel) {
    reportErrors(this, [&] {
        const QPoint cell = labelCell(pixel, zoom_);
        cellLabel_->setText(QString::number(cell.x()) + QLatin1Char(',') + QString::number(cell.y()));
    });
}

void MapPreviewWindow::mapPressed(Qt::MouseButton button, QPoint pixel) {
    reportErrors(this, [&] {
        if (button != Qt::LeftButton || !selection_.showselection) return;
        const QPoint cell = selectionCell(pixel, zoom_);
        setSelectedCells(cell.x(), cell.y(), cell.x(), cell.y());
        redraw();
    });
}

void MapPreviewWindow::mapReleased(Qt::MouseButton button, QPoint pixel) {
    reportErrors(this, [&] {
        if (button != Qt::LeftButton || !selection_.showselection) return;
        const QPoint cell = selectionCell(pixel, zoom_);
        // A point takes the released cell for both corners.
        if (selection_.pointselection)
            setSelectedCells(cell.x(), cell.y(), cell.x(), cell.y());
        else
            setSelectedCells(selection_.selx0, selection_.sely0, cell.x(), cell.y());
        redraw();
    });
}
