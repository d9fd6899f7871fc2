#include "Unit4.h"

#include <cmath>
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
#include <QToolButton>

#include "Colours.h"
#include "ErrorReport.h"
#include "FormFont.h"
#include "Forms.h"
#include "JpegImage.h"
#include "MapSurface.h"
#include "SpawnPage.h"
#include "TabChain.h"
#include "TableError.h"
#include "WindowDrag.h"
#include "Workspace.h"

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

QPoint pixelOf(const QMouseEvent* event) {
    const QPointF pos = event->position();
    return {static_cast<int>(std::floor(pos.x())), static_cast<int>(std::floor(pos.y()))};
}

QImage toImage(const RgbImage& picture) {
    const auto expected = static_cast<std::size_t>(picture.width) * picture.height * 3;
    if (picture.width <= 0 || picture.height <= 0 || picture.rgb.size() != expected)
        throw TableError("The map picture has no usable pixels");
    const QImage view(picture.rgb.data(), picture.width, picture.height, picture.width * 3,
                      QImage::Format_RGB888);
    return view.convertToFormat(QImage::Format_RGB32);  // a deep copy, fast to stretch
}

}  // namespace

struct TForm4::Impl {
    Forms& forms;
    int zoom = 1;
    QFrame* body = nullptr;      // Panel4
    QFrame* strip = nullptr;     // Panel3
    QLabel* caption = nullptr;
    QToolButton* closeButton = nullptr;     // SpeedButton4
    QToolButton* minimiseButton = nullptr;  // SpeedButton1
    QGroupBox* zoomGroup = nullptr;         // RadioGroup1
    QButtonGroup* zoomItems = nullptr;
    QLabel* xyLabel = nullptr;              // Label1
    QLabel* coords = nullptr;               // Label2
    QFrame* mapFrame = nullptr;             // Panel1
    QFrame* mapPanel = nullptr;             // Panel2
    QLabel* noMap = nullptr;
    MapPicture* picture = nullptr;          // Image1
    PaintSurface* surface = nullptr;        // PaintBox1
    bool collapsed = false;

    explicit Impl(Forms& f) : forms(f) {}
};

TForm4::TForm4(Forms& forms, int screenHeight, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      d_(std::make_unique<Impl>(forms)) {
    setObjectName(QStringLiteral("Form4"));
    const QFont base = formFont();
    setFont(base);
    QFont bold = base;
    bold.setBold(true);

    auto& d = *d_;
    d.body = new QFrame(this);
    d.body->setObjectName(QStringLiteral("Panel4"));
    d.body->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    d.body->setLineWidth(1);
    d.body->setAutoFillBackground(true);
    QPalette bodyPalette = d.body->palette();
    bodyPalette.setColor(QPalette::Window, kFormColour);
    d.body->setPalette(bodyPalette);

    d.strip = new QFrame(d.body);
    d.strip->setObjectName(QStringLiteral("Panel3"));
    d.strip->setGeometry(2, 2, 309, 23);
    d.strip->setAutoFillBackground(true);
    QPalette stripPalette = d.strip->palette();
    stripPalette.setColor(QPalette::Window, kStripColour);
    d.strip->setPalette(stripPalette);
    d.caption = new QLabel(kInitialTitle, d.strip);
    d.caption->setObjectName(QStringLiteral("Panel3Caption"));
    d.caption->setFont(bold);
    d.caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    d.caption->setGeometry(50, 0, 309 - 50, 23);
    d.caption->setAttribute(Qt::WA_TransparentForMouseEvents);

    d.closeButton = new QToolButton(d.strip);
    d.closeButton->setObjectName(QStringLiteral("SpeedButton4"));
    d.closeButton->setToolTip(QStringLiteral("Close Map Preview"));
    d.closeButton->setText(QStringLiteral("x"));
    d.closeButton->setGeometry(2, 0, 23, 22);
    d.minimiseButton = new QToolButton(d.strip);
    d.minimiseButton->setObjectName(QStringLiteral("SpeedButton1"));
    d.minimiseButton->setToolTip(QStringLiteral("minimise"));
    d.minimiseButton->setText(QStringLiteral("_"));
    d.minimiseButton->setGeometry(25, 0, 23, 22);
    d.closeButton->setAccessibleName(QStringLiteral("Close map preview"));
    d.minimiseButton->setAccessibleName(QStringLiteral("Minimise"));
    // As a system title bar's buttons: the mouse's alone.
    for (QToolButton* button : {d.closeButton, d.minimiseButton}) button->setFocusPolicy(Qt::NoFocus);

    // FormCreate: the zoom items follow the screen's height, each test by itself.
    QStringList items{QStringLiteral("1X"), QStringLiteral("2X")};
    if (screenHeight >= 768) items << QStringLiteral("3X");
    if (screenHeight >= 1024) items << QStringLiteral("4X");
    if (screenHeight >= 1280) items << QStringLiteral("5X");
    d.zoomGroup = new QGroupBox(QStringLiteral("Zoom"), d.body);
    d.zoomGroup->setObjectName(QStringLiteral("RadioGroup1"));
    d.zoomGroup->setToolTip(QStringLiteral("Zoom"));
    const int groupHeight = kItemHeight * static_cast<int>(items.size());
    d.zoomGroup->setGeometry(2, 27, 50, groupHeight);
    d.zoomItems = new QButtonGroup(d.zoomGroup);
    const int top = 14;
    const int step = (groupHeight - top - 2) / static_cast<int>(items.size());
    for (int i = 0; i < items.size(); ++i) {
        auto* item = new QRadioButton(items[i], d.zoomGroup);
        item->setGeometry(4, top + i * step, 44, std::max(step, 12));
        d.zoomItems->addButton(item, i);
    }
    d.zoomItems->button(0)->setChecked(true);
    tabToCheckedButton(d.zoomItems);

    d.xyLabel = new QLabel(QStringLiteral("X,Y"), d.body);
    d.xyLabel->setObjectName(QStringLiteral("Label1"));
    d.xyLabel->move(16, 134);
    d.xyLabel->adjustSize();
    d.coords = new QLabel(QStringLiteral("127,127"), d.body);
    d.coords->setObjectName(QStringLiteral("Label2"));
    d.coords->setToolTip(QStringLiteral("Coords"));
    d.coords->setGeometry(6, 150, 46, 14);
    // Filled with the body's colour, so that the pointer's every move repaints this
    // label alone, not the body under it.
    d.coords->setAutoFillBackground(true);

    d.mapFrame = new QFrame(d.body);
    d.mapFrame->setObjectName(QStringLiteral("Panel1"));
    d.mapFrame->setFrameStyle(QFrame::Box | QFrame::Plain);
    d.mapFrame->setLineWidth(1);
    d.mapFrame->move(52, 30);
    d.mapPanel = new QFrame(d.mapFrame);
    d.mapPanel->setObjectName(QStringLiteral("Panel2"));
    d.mapPanel->setFrameStyle(QFrame::Box | QFrame::Plain);
    d.mapPanel->setLineWidth(1);
    d.mapPanel->move(1, 1);
    d.noMap = new QLabel(QStringLiteral("NO MAP or monster spot"), d.mapPanel);
    d.noMap->setObjectName(QStringLiteral("Panel2Caption"));
    QFont captionFont = bold;
    captionFont.setPixelSize(13);
    d.noMap->setFont(captionFont);
    d.noMap->setAlignment(Qt::AlignCenter);
    d.picture = new MapPicture(d.mapPanel);
    d.picture->move(1, 1);
    d.surface = new PaintSurface(d.mapPanel, d.picture);
    d.surface->move(1, 1);

    d.surface->outlines = [this](std::vector<SpotRect>& out) {
        reportErrors(this, [&] { outlinesInto(out); });
    };
    d.surface->onMove = [this](QMouseEvent* e) { PaintBox1MouseMove(pixelOf(e)); };
    d.surface->onPress = [this](QMouseEvent* e) { PaintBox1MouseDown(e->button(), pixelOf(e)); };
    d.surface->onRelease = [this](QMouseEvent* e) { PaintBox1MouseUp(e->button(), pixelOf(e)); };

    connect(d.closeButton, &QToolButton::clicked, this, &TForm4::SpeedButton4Click);
    connect(d.minimiseButton, &QToolButton::clicked, this, &TForm4::SpeedButton1Click);
    connect(d.zoomItems, &QButtonGroup::idClicked, this, &TForm4::RadioGroup1Click);
    d.strip->installEventFilter(new DoubleClickFilter(d.strip, [this] { SpeedButton1Click(); }));
    installWindowDrag(d.strip);
    installWindowDrag(d.body);

    relayout();
}

TForm4::~TForm4() = default;

void TForm4::relayout() {
    auto& d = *d_;
    const int side = kMapCells * d.zoom;
    d.picture->setZoom(d.zoom);
    d.surface->resize(side, side);
    d.noMap->setGeometry(1, 1, side, side);
    d.mapPanel->resize(side + 2, side + 2);
    d.mapFrame->resize(side + 4, side + 4);

    // The body and the window size themselves to what is visible.
    QRect content = d.strip->geometry();
    for (QWidget* w : {static_cast<QWidget*>(d.zoomGroup), static_cast<QWidget*>(d.xyLabel),
                       static_cast<QWidget*>(d.coords), static_cast<QWidget*>(d.mapFrame)})
        if (!w->isHidden()) content = content.united(w->geometry());
    const QSize size(content.right() + 1 + 2, content.bottom() + 1 + 2);
    d.body->setGeometry(0, 0, size.width(), size.height());
    setFixedSize(size);
}

void TForm4::loadMapPicture(const std::filesystem::path& file) {
    QImage image = toImage(readJpegFile(file));
    d_->picture->setPicture(std::move(image));
    d_->surface->pictureChanged();
}

void TForm4::setPictureVisible(bool visible) {
    d_->picture->setVisible(visible);
    d_->surface->pictureChanged();
}
bool TForm4::pictureVisible() const { return !d_->picture->isHidden(); }
void TForm4::setTitle(const QString& title) { d_->caption->setText(title); }
QString TForm4::title() const { return d_->caption->text(); }
int TForm4::zoom() const { return d_->zoom; }
int TForm4::zoomItemCount() const { return static_cast<int>(d_->zoomItems->buttons().size()); }
QString TForm4::coordinates() const { return d_->coords->text(); }
bool TForm4::collapsed() const { return d_->collapsed; }

void TForm4::setZoom(int factor) {
    QAbstractButton* item = d_->zoomItems->button(factor - 1);
    if (!item) return;
    item->setChecked(true);
    RadioGroup1Click();
}

void TForm4::redraw() { d_->surface->repaint(); }

std::vector<SpotRect> TForm4::rectangles() const {
    std::vector<SpotRect> rects;
    outlinesInto(rects);
    return rects;
}

void TForm4::outlinesInto(std::vector<SpotRect>& out) const {
    const int z = d_->zoom;
    if (showselection) {
        out.push_back(pointselection ? pointSpotRect(selx0, sely0, z) : rangeSelectionRect(selx0, sely0, selx1, sely1, z));
        return;
    }
    const Forms& forms = d_->forms;
    if (!forms.tables || !forms.spawnPage || !forms.spawnPage->mapSelectedForPreview()) return;
    const WorkList& work = forms.tables->work;
    appendSpotRectangles(work.entries, work.count, z, out);
}

void TForm4::RadioGroup1Click() {
    reportErrors(this, [&] {
        const int index = d_->zoomItems->checkedId();
        d_->zoom = index < 0 ? 1 : index + 1;
        relayout();
        update();
    });
}

void TForm4::SpeedButton1Click() {
    reportErrors(this, [&] {
        auto& d = *d_;
        d.collapsed = !d.collapsed;
        for (QWidget* w : {static_cast<QWidget*>(d.mapFrame), static_cast<QWidget*>(d.zoomGroup),
                           static_cast<QWidget*>(d.xyLabel), static_cast<QWidget*>(d.coords)})
            w->setVisible(!d.collapsed);
        relayout();
    });
}

void TForm4::SpeedButton4Click() {
    reportErrors(this, [&] { hide(); });
}

void TForm4::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape || event->modifiers() != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    SpeedButton4Click();
    if (SpawnPage* page = d_->forms.spawnPage) page->window()->activateWindow();
}

void TForm4::PaintBox1MouseMove(QPoint pixel) {
    reportErrors(this, [&] {
        const QPoint cell = labelCell(pixel, d_->zoom);
        d_->coords->setText(QString::number(cell.x()) + QLatin1Char(',') + QString::number(cell.y()));
    });
}

void TForm4::PaintBox1MouseDown(Qt::MouseButton button, QPoint pixel) {
    reportErrors(this, [&] {
        if (button != Qt::LeftButton || !showselection) return;
        const QPoint cell = selectionCell(pixel, d_->zoom);
        selx0 = selx1 = cell.x();
        sely0 = sely1 = cell.y();
        redraw();
    });
}

void TForm4::PaintBox1MouseUp(Qt::MouseButton button, QPoint pixel) {
    reportErrors(this, [&] {
        if (button != Qt::LeftButton || !showselection) return;
        const QPoint cell = selectionCell(pixel, d_->zoom);
        selx1 = cell.x();
        sely1 = cell.y();
        if (pointselection) {
            selx0 = selx1;
            sely0 = sely1;
        }
        redraw();
    });
}
