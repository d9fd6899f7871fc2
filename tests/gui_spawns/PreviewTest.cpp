// The map preview window: drawing, zoom, mouse, folding, pictures.

#include <map>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScreen>
#include <QTest>

#include "Colours.h"
#include "MapPicture.h"
#include "MessageRecorder.h"
#include "SpawnFixture.h"
#include "TableError.h"

namespace {

class PreviewTest : public SpawnFixture {
protected:
    void SetUp() override {
        makeWindows();
        preview->loadMapPicture(folder.path() / "VarnexMaps" / "3.jpg");  // black
        preview->setPictureVisible(true);
    }

    void mouse(QEvent::Type type, QPoint pixel, Qt::MouseButton button = Qt::LeftButton) {
        QWidget* surface = child(preview, "PaintBox1");
        const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
        QMouseEvent event(type, QPointF(pixel), surface->mapToGlobal(QPointF(pixel)),
                          type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
        QApplication::sendEvent(surface, &event);
    }

    // Spot mode on spots of our own.
    struct Spots final : ShownSpots {
        bool chosen = true;
        std::vector<SpawnEntry> list;
        bool mapChosen() const override { return chosen; }
        std::span<const SpawnEntry> spots() const override { return list; }
    };
    void setWork(std::initializer_list<SpawnEntry> entries) {
        spots.list = entries;
        preview->setShownSpots(&spots);
        preview->showSpots();
    }
    void TearDown() override { preview->setShownSpots(page); }

    Spots spots;

    void expectDrawnAsComputed(const std::vector<SpotRect>& expected) {
        EXPECT_EQ(preview->rectangles(), expected);
        const int side = 256 * preview->zoom();
        EXPECT_EQ(whitePixels(*preview), outlinePixels(expected, side));
    }
};

const SpawnEntry kPoint{.ispoint = true, .x0 = 127, .y0 = 127, .spotid = 1};
const SpawnEntry kRange{.ispoint = false, .x0 = 10, .y0 = 20, .x1 = 30, .y1 = 40, .spotid = 2};
const SpawnEntry kDeleted{.ispoint = true, .x0 = 60, .y0 = 60, .spotid = -1};

TEST_F(PreviewTest, StartsHiddenInSpotModeWithItsFields) {
    MapPreviewWindow fresh(800);
    EXPECT_FALSE(fresh.isVisible());
    const MapSelection& s = fresh.selection();
    EXPECT_FALSE(s.showselection);
    EXPECT_FALSE(s.pointselection);
    EXPECT_EQ((std::array{s.selx0, s.sely0, s.selx1, s.sely1}), (std::array{127, 127, 128, 128}));
    EXPECT_EQ(fresh.zoom(), 1);
    EXPECT_EQ(fresh.coordinates(), "127,127");
    EXPECT_EQ(fresh.title(), "Map  Preview    ");
    EXPECT_TRUE(fresh.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(fresh.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(fresh.windowType(), Qt::Tool);
    EXPECT_EQ(child(&fresh, "Panel3")->geometry(), QRect(2, 2, 309, 23));
    EXPECT_EQ(child(&fresh, "SpeedButton4")->geometry(), QRect(2, 0, 23, 22));
    EXPECT_EQ(child(&fresh, "SpeedButton1")->geometry(), QRect(25, 0, 23, 22));
    EXPECT_EQ(child(&fresh, "SpeedButton4")->toolTip(), "Close Map Preview");
    EXPECT_EQ(child(&fresh, "SpeedButton1")->toolTip(), "minimise");
    EXPECT_EQ(child(&fresh, "Label2")->toolTip(), "Coords");
    EXPECT_EQ(child(&fresh, "Panel1")->pos(), QPoint(52, 30));
    EXPECT_EQ(child(&fresh, "Label1")->pos(), QPoint(16, 134));
    EXPECT_EQ(static_cast<QLabel*>(child(&fresh, "Label1"))->text(), "X,Y");
    EXPECT_EQ(child(&fresh, "Label2")->pos(), QPoint(6, 150));
    EXPECT_EQ(static_cast<QLabel*>(child(&fresh, "Panel2Caption"))->text(), "NO MAP or monster spot");
}

TEST_F(PreviewTest, PicturePathAndTitle) {
    EXPECT_EQ(mapPicturePath("/prog", 7), std::filesystem::path("/prog/VarnexMaps/7.jpg"));
    EXPECT_EQ(mapPicturePath("/prog/", 0), std::filesystem::path("/prog/VarnexMaps/0.jpg"));
    EXPECT_EQ(previewTitle("Ash Hound", 12), "Map  Preview  ( Ash Hound, 12 )  ");
}

TEST_F(PreviewTest, SpotModeDrawsPointsAndRangesAt1XAnd2X) {
    setWork({kPoint, kDeleted, kRange});
    expectDrawnAsComputed({{126, 127, 128, 129}, {9, 234, 29, 216}});
    preview->setZoom(2);
    expectDrawnAsComputed({{253, 256, 255, 258}, {19, 470, 59, 432}});
}

TEST_F(PreviewTest, SpotModeDrawsNothingWithoutSelectedMap) {
    setWork({kPoint, kRange});
    spots.chosen = false;
    expectDrawnAsComputed({});
    preview->setShownSpots(nullptr);
    EXPECT_TRUE(preview->rectangles().empty());
    // The page counts a map as chosen while its map list is enabled with a selected item.
    ASSERT_TRUE(page->mapChosen());
    page->mapCombo()->setCurrentIndex(-1);
    EXPECT_FALSE(page->mapChosen());
    page->mapCombo()->setCurrentIndex(0);
    page->mapCombo()->setEnabled(false);
    EXPECT_FALSE(page->mapChosen());
}

TEST_F(PreviewTest, SelectionModeDrawsOnlyTheSelection) {
    setWork({kPoint});
    preview->pickSelection(true);
    expectDrawnAsComputed({{126, 127, 128, 129}});
    preview->pickSelection(false);
    preview->setSelectedCells(10, 20, 30, 40);
    expectDrawnAsComputed({{9, 234, 31, 216}});
    preview->setZoom(2);
    expectDrawnAsComputed({{19, 470, 61, 432}});
    preview->setSelectedCells(200, 50, 100, 150);  // dragged backwards
    expectDrawnAsComputed({{399, 410, 201, 212}});
}

TEST_F(PreviewTest, OutlinesAlsoDrawOverTheNoMapCaption) {
    setWork({kRange});
    preview->setPictureVisible(false);
    const auto white = whitePixels(*preview);
    for (const auto& pixel : outlinePixels({{9, 234, 29, 216}}, 256)) EXPECT_TRUE(white.count(pixel));
}

// Changing to a map without a picture never leaves the spots of the new map over the
// picture and title of the one before.
TEST_F(PreviewTest, MapChangeToAMapWithoutPictureDrawsItsSpotsOnTheNoMapBackground) {
    // The first fill chose Ash Hound on map 3, whose picture is black.
    chooseMap("3");
    ASSERT_TRUE(preview->pictureVisible());
    preview->pickSelection(preview->selection().pointselection);  // as the add-location dialog leaves it
    chooseMap("0");
    EXPECT_FALSE(preview->pictureVisible());
    EXPECT_FALSE(preview->selection().showselection);
    EXPECT_EQ(preview->title(), "Map  Preview  ( Ash Hound, 0 )  ");
    EXPECT_EQ(preview->rectangles(), (std::vector<SpotRect>{pointSpotRect(50, 60, 1)}));

    const QImage image = child(preview, "Panel2")->grab().toImage();
    std::set<std::pair<int, int>> white;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            if (image.pixelColor(x + 1, y + 1) == Qt::white) white.insert({x, y});
    EXPECT_EQ(white, outlinePixels(preview->rectangles(), 256));
    EXPECT_EQ(image.pixelColor(1 + 5, 1 + 5), kFormColour) << "the preview's own background, not the picture";
}

TEST_F(PreviewTest, ZoomItemsFollowTheScreenHeight) {
    const struct {
        int screenHeight;
        QStringList items;
    } cases[] = {{600, {"1X", "2X"}},
                 {767, {"1X", "2X"}},
                 {768, {"1X", "2X", "3X"}},
                 {1024, {"1X", "2X", "3X", "4X"}},
                 {1280, {"1X", "2X", "3X", "4X", "5X"}}};
    for (const auto& c : cases) {
        MapPreviewWindow preview(c.screenHeight);
        auto* group = static_cast<QGroupBox*>(child(&preview, "RadioGroup1"));
        QStringList items;
        for (auto* item : group->findChildren<QRadioButton*>()) items << item->text();
        EXPECT_EQ(items, c.items) << c.screenHeight;
        EXPECT_EQ(preview.zoomItemCount(), c.items.size());
        EXPECT_EQ(group->geometry(), QRect(2, 27, 50, 23 * static_cast<int>(c.items.size()))) << c.screenHeight;
        EXPECT_EQ(group->title(), "Zoom");
        EXPECT_TRUE(group->findChildren<QRadioButton*>().front()->isChecked());
    }
}

// The window grows with the picture as far as the screen has room; beyond that its map
// frame shows part of the picture.
TEST_F(PreviewTest, ZoomResizesSurfacePictureAndWindow) {
    MapPreviewWindow tall(1280);
    const QRect area = tall.screen()->availableGeometry();
    for (int z = 1; z <= 5; ++z) {
        tall.setZoom(z);
        EXPECT_EQ(tall.zoom(), z);
        EXPECT_EQ(child(&tall, "PaintBox1")->size(), QSize(256 * z, 256 * z));
        EXPECT_EQ(child(&tall, "Image1")->size(), QSize(256 * z, 256 * z));
        const QSize frame(std::min(256 * z + 4, area.width() - 52 - 2), std::min(256 * z + 4, area.height() - 30 - 2));
        EXPECT_EQ(child(&tall, "Panel1")->size(), frame) << z;
        EXPECT_EQ(tall.size(), frame + QSize(52 + 2, 30 + 2)) << z;
        EXPECT_LE(tall.width(), area.width()) << z;
        EXPECT_LE(tall.height(), area.height()) << z;
    }
    static_cast<QAbstractButton*>(child(&tall, "RadioGroup1")->findChildren<QRadioButton*>()[1])->click();
    EXPECT_EQ(tall.zoom(), 2);
    preview->setZoom(5);  // not offered below 1280 pixels
    EXPECT_EQ(preview->zoom(), 1);
}

// A Ctrl+wheel zoom keeps the cell under the pointer: the window moves around it while
// it stays wholly on the screen, and the picture moves in its frame for the rest.
TEST_F(PreviewTest, AZoomKeepsTheCellUnderThePointerAndTheWindowOnTheScreen) {
    MapPreviewWindow window(1280);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QRect area = window.screen()->availableGeometry();
    QWidget* surface = child(&window, "PaintBox1");
    struct Case {
        const char* name;
        QPoint place;  // the window's, before the zoom
        QPoint pixel;  // under the pointer, at 1X
        int steps;
        bool pictureMoves;
    };
    const Case cases[] = {
        {"room to grow around the pointer", area.topLeft() + QPoint(200, 180), {128, 128}, 1, false},
        {"at the screen's top left corner", area.topLeft(), {200, 220}, 1, true},
        {"at the screen's bottom right corner", area.bottomRight() - QPoint(313, 289), {20, 30}, 1, true},
        {"to the largest zoom, past the screen's size", area.topLeft(), {250, 250}, 4, true},
    };
    for (const Case& c : cases) {
        window.setZoom(1);
        window.move(c.place);
        ASSERT_EQ(window.pictureOffset(), QPoint(0, 0)) << c.name;
        const QPoint pointer = surface->mapToGlobal(c.pixel);
        window.zoomBy(c.steps, c.pixel);
        const int z = window.zoom();
        EXPECT_EQ(z, 1 + c.steps) << c.name;
        EXPECT_EQ(surface->mapToGlobal(c.pixel * z), pointer) << c.name << ": the cell stays under the pointer";
        EXPECT_TRUE(area.contains(QRect(window.pos(), window.size()))) << c.name;
        EXPECT_EQ(window.pictureOffset() != QPoint(0, 0), c.pictureMoves) << c.name;
        // Back to 1X the picture fills its frame again.
        window.zoomBy(-c.steps, surface->mapFromGlobal(pointer));
        EXPECT_EQ(window.zoom(), 1) << c.name;
        EXPECT_TRUE(area.contains(QRect(window.pos(), window.size()))) << c.name;
        window.setZoom(1);
        EXPECT_EQ(window.pictureOffset(), QPoint(0, 0)) << c.name;
    }
}

TEST_F(PreviewTest, PointerMovementShowsTheLabelCell) {
    const struct {
        int zoom;
        QPoint pixel;
        const char* text;
    } cases[] = {{1, {0, 0}, "0,255"}, {1, {255, 255}, "255,0"}, {1, {12, 55}, "12,200"},
                 {2, {5, 0}, "2,256"}, {2, {7, 511}, "4,0"}, {2, {6, 509}, "3,1"}};
    for (const auto& c : cases) {
        preview->setZoom(c.zoom);
        mouse(QEvent::MouseMove, c.pixel);
        EXPECT_EQ(preview->coordinates(), c.text);
    }
    preview->setZoom(1);
    preview->pickSelection(preview->selection().pointselection);
    mouse(QEvent::MouseMove, {0, 0});
    EXPECT_EQ(preview->coordinates(), "0,255");
    EXPECT_EQ(preview->selection().selx0, 127);  // moving selects nothing
}

// Counts the paints of named controls.
class PaintCount : public QObject {
public:
    explicit PaintCount(QWidget* window) {
        for (QWidget* w : window->findChildren<QWidget*>()) w->installEventFilter(this);
    }
    std::map<QString, int> paints;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints[watched->objectName().isEmpty() ? QString::fromLatin1(watched->metaObject()->className())
                                                     : watched->objectName()];
        return false;
    }
};

TEST_F(PreviewTest, PointerMovementRepaintsOnlyTheCoordinateLabel) {
    setWork({kPoint, kRange});
    preview->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(preview));
    QApplication::processEvents();
    PaintCount count(preview);
    for (const QPoint pixel : {QPoint(10, 10), QPoint(120, 200), QPoint(250, 3)}) {
        mouse(QEvent::MouseMove, pixel);
        QApplication::processEvents();
    }
    EXPECT_EQ(preview->coordinates(), "250,252");
    EXPECT_GT(count.paints["Label2"], 0);
    count.paints.erase("Label2");
    QStringList others;
    for (const auto& [name, times] : count.paints) others << name;
    EXPECT_EQ(others.join(' ').toStdString(), "");
}

TEST_F(PreviewTest, PointSelectionIsPickedWhereTheButtonIsReleased) {
    preview->pickSelection(true);
    mouse(QEvent::MouseButtonPress, {10, 10});
    EXPECT_EQ((std::array{preview->selection().selx0, preview->selection().sely0, preview->selection().selx1, preview->selection().sely1}), (std::array{10, 246, 10, 246}));
    mouse(QEvent::MouseButtonRelease, {0, 0});
    EXPECT_EQ((std::array{preview->selection().selx0, preview->selection().sely0, preview->selection().selx1, preview->selection().sely1}), (std::array{0, 256, 0, 256}));
    mouse(QEvent::MouseButtonPress, {255, 255});
    mouse(QEvent::MouseButtonRelease, {255, 255});
    EXPECT_EQ((std::array{preview->selection().selx0, preview->selection().sely0}), (std::array{255, 1}));
    expectDrawnAsComputed({pointSpotRect(255, 1, 1)});
}

TEST_F(PreviewTest, RangeSelectionKeepsTheDragOrder) {
    preview->pickSelection(false);
    preview->setZoom(2);
    mouse(QEvent::MouseButtonPress, {400, 412});   // cell (200, 50)
    mouse(QEvent::MouseButtonRelease, {200, 212}); // cell (100, 150)
    EXPECT_EQ((std::array{preview->selection().selx0, preview->selection().sely0, preview->selection().selx1, preview->selection().sely1}), (std::array{200, 50, 100, 150}));
    expectDrawnAsComputed({{399, 410, 201, 212}});

    mouse(QEvent::MouseButtonPress, {5, 500});
    mouse(QEvent::MouseButtonRelease, {600, -20});  // outside while the button is held
    EXPECT_EQ((std::array{preview->selection().selx0, preview->selection().sely0, preview->selection().selx1, preview->selection().sely1}), (std::array{2, 6, 300, 266}));
}

TEST_F(PreviewTest, OtherButtonsAndSpotModeSelectNothing) {
    preview->pickSelection(preview->selection().pointselection);
    mouse(QEvent::MouseButtonPress, {10, 10}, Qt::RightButton);
    mouse(QEvent::MouseButtonRelease, {10, 10}, Qt::RightButton);
    preview->showSpots();
    mouse(QEvent::MouseButtonPress, {20, 20});
    mouse(QEvent::MouseButtonRelease, {30, 30});
    EXPECT_EQ((std::array{preview->selection().selx0, preview->selection().sely0, preview->selection().selx1, preview->selection().sely1}), (std::array{127, 127, 128, 128}));
}

TEST_F(PreviewTest, FoldingTwiceRestoresTheWindow) {
    preview->setZoom(2);
    const QSize open = preview->size();
    const char* folded[] = {"Panel1", "RadioGroup1", "Label1", "Label2"};
    static_cast<QAbstractButton*>(child(preview, "SpeedButton1"))->click();
    EXPECT_TRUE(preview->collapsed());
    for (const char* name : folded) EXPECT_TRUE(child(preview, name)->isHidden()) << name;
    EXPECT_EQ(preview->size(), QSize(2 + 309 + 2, 2 + 23 + 2));
    preview->toggleFolded();
    EXPECT_EQ(preview->size(), open);
    for (const char* name : folded) EXPECT_FALSE(child(preview, name)->isHidden()) << name;

    QWidget* strip = child(preview, "Panel3");
    QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(150, 10), strip->mapToGlobal(QPointF(150, 10)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(strip, &twice);
    EXPECT_TRUE(preview->collapsed());
    QApplication::sendEvent(strip, &twice);
    EXPECT_FALSE(preview->collapsed());
    EXPECT_EQ(preview->size(), open);
}

TEST_F(PreviewTest, CloseButtonHides) {
    preview->show();
    static_cast<QAbstractButton*>(child(preview, "SpeedButton4"))->click();
    EXPECT_FALSE(preview->isVisible());
}

TEST_F(PreviewTest, BrokenPictureThrowsAndKeepsTheOldOne) {
    folder.write("VarnexMaps/9.jpg", std::string("\xFF\xD8\xFF\xE0 broken", 11));
    EXPECT_THROW(preview->loadMapPicture(folder.path() / "VarnexMaps" / "9.jpg"), TableError);
    // Still the black picture: nothing but the outlines is white.
    setWork({kPoint});
    expectDrawnAsComputed({{126, 127, 128, 129}});
}

TEST_F(PreviewTest, PictureIsStretchedToTheSurface) {
    folder.write("VarnexMaps/8.jpg", jpegBytes(QColor(0, 0, 255), 40, 30));
    preview->loadMapPicture(folder.path() / "VarnexMaps" / "8.jpg");
    preview->setZoom(2);
    const QImage image = child(preview, "Panel2")->grab().toImage();
    for (const QPoint p : {QPoint(1, 1), QPoint(512, 512), QPoint(300, 20)}) {
        const QColor c = image.pixelColor(p);
        EXPECT_LT(c.red(), 40);
        EXPECT_GT(c.blue(), 200) << p.x() << ',' << p.y();
    }
}


// A new picture at the same zoom, with nothing outlined, replaces the old one as drawn.
TEST_F(PreviewTest, ANewPictureAtTheSameZoomReplacesTheOld) {
    preview->setShownSpots(nullptr);  // no outlines
    preview->showSpots();
    preview->show();
    const auto centre = [&] { return child(preview, "Panel2")->grab().toImage().pixelColor(128, 128); };
    EXPECT_LT(centre().lightness(), 40);  // the black picture of map 3
    folder.write("VarnexMaps/9.jpg", jpegBytes(Qt::white));
    preview->loadMapPicture(folder.path() / "VarnexMaps" / "9.jpg");
    EXPECT_GT(centre().lightness(), 215);
}

}  // namespace
