#include "MapOverviewWindow.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <system_error>

#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSizeGrip>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "ByteText.h"
#include "DesignPalette.h"
#include "DialogParts.h"
#include "EditorDocument.h"
#include "ErrorReport.h"
#include "EventHook.h"
#include "FormFont.h"
#include "MapPicture.h"
#include "OverviewMonsters.h"
#include "OverviewSurface.h"
#include "ProgramKeys.h"
#include "SpinField.h"
#include "SpotTypeNames.h"
#include "TabChain.h"
#include "TitleStrip.h"

namespace {

constexpr QSize kFirstSize(1000, 720);
constexpr int kSideWidth = 300;
constexpr int kTitleHeight = 26;
// A tooltip over a crowd of spots names this many and counts the rest.
constexpr int kMostTooltipLines = 20;

QLabel* caption(const QString& text, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

}  // namespace

MapOverviewWindow::MapOverviewWindow(EditorDocument& document, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), document_(document) {
    setObjectName(QStringLiteral("OverviewWindow"));
    setFont(formFont());
    setPalette(designPalette());
    setAutoFillBackground(true);
    buildTitleStrip();
    buildControls();

    QSize size = kFirstSize;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(size);

    surface_->onHover = [this](QPoint pixel) { showCell(pixel); };
    surface_->tooltipAt = [this](QPoint pixel) {
        QString text;
        reportErrors(this, [&] { text = hoverText(pixel); });
        return text;
    };
    surface_->onChosen = [this](std::int32_t spotid) { emit spotChosen(spotid); };
    surface_->onDoubleClicked = [this](std::int32_t spotid) { emit editSpotRequested(spotid); };
    surface_->onDropped = [this](const SpawnEntry& after, Grab grab) {
        changeSpot(after, resizes(grab) ? QStringLiteral("resize") : QStringLiteral("move"));
    };
    surface_->onGroupDropped = [this](int dx, int dy) { moveSelected(dx, dy); };
    surface_->onArrow = [this](int dx, int dy) { moveSelected(dx, dy); };
    surface_->onSelectionChanged = [this] { showSelectionSize(); };
    monsterRows_->shownChanged = [this] { monstersTicked(); };

    connect(mapField_, &SpinField::changed, this, [this] { setMap(mapField_->value()); });
    connect(zoomBox_, &QComboBox::activated, this, &MapOverviewWindow::chooseZoom);
    connect(filterField_, &QLineEdit::textChanged, this, [this] { reportErrors(this, [&] { applyFilter(true); }); });
    // Closing keys for where no window manager gives them.
    connect(makeShortcut(this, KeyAction::CloseWindow), &QShortcut::activated, this, [this] {
        closeOverview();
        emit leftByKeyboard();
    });
    connect(&document_, &EditorDocument::spotAdded, this, [this](const SpawnEntry& e) { spotsChanged({e}); });
    connect(&document_, &EditorDocument::spotDeleted, this, [this](const SpawnEntry& e) { spotsChanged({e}); });
    connect(&document_, &EditorDocument::spotChanged, this,
            [this](const SpawnEntry& before, const SpawnEntry& after) { spotsChanged({before, after}); });
    connect(&document_, &EditorDocument::spotsChanged, this, &MapOverviewWindow::manySpotsChanged);
    // The keys of the selection. A text field keeps its own Ctrl+A, Ctrl+C, Ctrl+V and Del.
    const std::pair<KeyAction, void (MapOverviewWindow::*)()> keys[] = {
        {KeyAction::SelectAllSpots, &MapOverviewWindow::selectAllShown},
        {KeyAction::DeleteSpots, &MapOverviewWindow::deleteSelected},
        {KeyAction::CopySpots, &MapOverviewWindow::copySelected},
        {KeyAction::PasteSpots, &MapOverviewWindow::pasteAtPointer},
        {KeyAction::PasteSpotsForMonster, &MapOverviewWindow::pasteForMonsterAtPointer},
    };
    for (const auto& [action, run] : keys) connect(makeShortcut(this, action), &QShortcut::activated, this, run);
    // The wheel zooms, with Ctrl or without (the scroll bars, and Shift or Alt with the
    // wheel, scroll the map).
    new EventHook(mapArea_->viewport(), [this](QEvent* event) {
        if (event->type() != QEvent::Wheel) return false;
        const auto* wheel = static_cast<QWheelEvent*>(event);
        if ((wheel->modifiers() & ~Qt::ControlModifier) != Qt::NoModifier) return false;
        if (const int steps = wheel_.take(*wheel)) zoomBy(steps, wheel->position().toPoint());
        return true;
    });
    connect(&document_, &EditorDocument::monsterStored, this, [this] {
        reportErrors(this, [&] {
            monsterTexts_.clear();
            refreshMonsterRows();
        });
    });

    setMap(0);
}

MapOverviewWindow::~MapOverviewWindow() = default;

// The title strip names the map and moves the window; its button closes it.
void MapOverviewWindow::buildTitleStrip() {
    titleStrip_ = makeTitleStrip(this, "OverviewTitle", QString());
    titleStrip_->setFixedHeight(kTitleHeight);
    titleStrip_->setIndent(10);
    auto* close = makeGlyphButton(titleStrip_, "OverviewClose", QStyle::SP_TitleBarCloseButton, "Close Map Overview",
                                  "Close map overview", {0, 2});
    close->setFocusPolicy(Qt::NoFocus);  // as a system title bar's: the mouse's alone
    auto* stripRow = new QHBoxLayout(titleStrip_);
    stripRow->setContentsMargins(0, 2, 3, 2);
    stripRow->addStretch(1);
    stripRow->addWidget(close);
    connect(close, &QToolButton::clicked, this, &MapOverviewWindow::closeOverview);
}

void MapOverviewWindow::buildControls() {
    auto* bar = new QHBoxLayout;
    mapField_ = new SpinField(this);
    mapField_->setObjectName(QStringLiteral("OverviewMapNumber"));
    mapField_->setAccessibleName(QStringLiteral("Map"));
    mapField_->setBounds(0, 255);
    zoomBox_ = new QComboBox(this);
    zoomBox_->setObjectName(QStringLiteral("OverviewZoom"));
    zoomBox_->setAccessibleName(QStringLiteral("Zoom"));
    zoomBox_->addItems({QStringLiteral("1X"), QStringLiteral("2X"), QStringLiteral("3X"), QStringLiteral("4X"),
                        QStringLiteral("5X"), QStringLiteral("Fit")});
    zoomBox_->setCurrentIndex(kFitItem);
    cellLabel_ = caption(QString(), "OverviewCell", this);
    cellLabel_->setToolTip(QStringLiteral("Coords"));
    cellLabel_->setMinimumWidth(cellLabel_->fontMetrics().horizontalAdvance(QStringLiteral("255,255 ")));
    // Filled, so that the pointer's every move repaints this label alone.
    cellLabel_->setAutoFillBackground(true);
    bar->addWidget(caption(QStringLiteral("Map"), "OverviewMapCaption", this));
    bar->addWidget(mapField_);
    bar->addSpacing(12);
    bar->addWidget(caption(QStringLiteral("Zoom"), "OverviewZoomCaption", this));
    bar->addWidget(zoomBox_);
    bar->addSpacing(12);
    bar->addWidget(caption(QStringLiteral("X,Y"), "OverviewCellCaption", this));
    bar->addWidget(cellLabel_);
    bar->addSpacing(12);
    selectionLabel_ = caption(QString(), "OverviewSelection", this);
    selectionLabel_->setAccessibleName(QStringLiteral("Selected spots"));
    bar->addWidget(selectionLabel_);
    bar->addStretch(1);

    mapArea_ = new QScrollArea(this);
    mapArea_->setObjectName(QStringLiteral("OverviewMap"));
    mapArea_->setAlignment(Qt::AlignCenter);
    mapArea_->setWidgetResizable(false);
    surface_ = new OverviewSurface(mapArea_);
    mapArea_->setWidget(surface_);
    // A click on the grey margin around the map gives the keyboard to the map, as a click
    // on it does: the scroll area would take it and scroll by the arrow keys instead.
    mapArea_->setFocusProxy(surface_);
    // "Fit" follows the window's size.
    new EventHook(mapArea_, [this](QEvent* event) {
        if (event->type() == QEvent::Resize && zoomBox_->currentIndex() == kFitItem)
            reportErrors(this, [&] { applyZoom(); });
        return false;
    });

    filterField_ = new QLineEdit(this);
    filterField_->setObjectName(QStringLiteral("OverviewFilter"));
    filterField_->setAccessibleName(QStringLiteral("Filter monsters"));
    filterField_->setPlaceholderText(QStringLiteral("Name or number"));
    // Escape empties the field; in an empty one it closes the window.
    new EventHook(filterField_, [this](QEvent* event) {
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape ||
            filterField_->text().isEmpty())
            return false;
        filterField_->clear();
        return true;
    });
    monsterRows_ = new OverviewMonsters;
    monsterList_ = makeReportList(this, "OverviewMonsters", monsterRows_);
    monsterList_->setAccessibleName(QStringLiteral("Monsters on this map"));

    auto* tickAll = new QPushButton(QStringLiteral("All"), this);
    tickAll->setObjectName(QStringLiteral("OverviewTickAll"));
    tickAll->setToolTip(QStringLiteral("Tick every monster listed: their spots are drawn"));
    auto* tickNone = new QPushButton(QStringLiteral("None"), this);
    tickNone->setObjectName(QStringLiteral("OverviewTickNone"));
    tickNone->setToolTip(QStringLiteral("Untick every monster listed: their spots are not drawn"));
    connect(tickAll, &QPushButton::clicked, this, [this] { tickListed(true); });
    connect(tickNone, &QPushButton::clicked, this, [this] { tickListed(false); });
    auto* ticks = new QHBoxLayout;
    ticks->addWidget(tickAll);
    ticks->addWidget(tickNone);
    ticks->addStretch(1);
    // Without a window manager's frame, the grip is how the window is resized.
    ticks->addWidget(new QSizeGrip(this), 0, Qt::AlignBottom | Qt::AlignRight);

    auto* side = new QVBoxLayout;
    side->addWidget(filterField_);
    side->addWidget(monsterList_, 1);
    side->addLayout(ticks);
    auto* sideBox = new QWidget(this);
    sideBox->setObjectName(QStringLiteral("OverviewSide"));
    sideBox->setFixedWidth(kSideWidth);
    sideBox->setLayout(side);
    side->setContentsMargins(0, 0, 0, 0);

    auto* body = new QHBoxLayout;
    body->addWidget(mapArea_, 1);
    body->addWidget(sideBox);
    auto* column = new QVBoxLayout;
    column->setContentsMargins(6, 6, 2, 2);
    column->addLayout(bar);
    column->addLayout(body, 1);
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(1, 1, 1, 1);
    window->setSpacing(0);
    window->addWidget(titleStrip_);
    window->addLayout(column, 1);

    setTabChain({mapField_, zoomBox_, surface_, filterField_, monsterList_, tickAll, tickNone});
}

void MapOverviewWindow::openOnMap(int map) {
    reportErrors(this, [&] {
        setMap(map);
        show();
        raise();
        activateWindow();
        // The keys go to the map: arrows move the selected spot, Ctrl+Z takes it back.
        surface_->setFocus(Qt::OtherFocusReason);
    });
}

void MapOverviewWindow::setMap(int map) {
    reportErrors(this, [&] {
        map = std::clamp(map, 0, 255);
        if (mapField_->value() != map) {
            const QSignalBlocker quiet(mapField_);
            mapField_->setValue(map);
        }
        if (map == map_) return;
        map_ = map;
        showMap();
    });
}

void MapOverviewWindow::closeOverview() {
    reportErrors(this, [&] { hide(); });
}

void MapOverviewWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape || event->modifiers() != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    closeOverview();
    emit leftByKeyboard();
}

void MapOverviewWindow::showMap() {
    setWindowTitle(QStringLiteral("Map Overview - map %1").arg(map_));
    titleStrip_->setText(windowTitle());
    loadPicture();
    refreshMonsterRows();
    surface_->selectSpot(-1);
    surface_->setSpots(drawnSpots());
    showSelectionSize();
    applyZoom();
}

// A picture that does not decode is said once; the map then shows no picture.
void MapOverviewWindow::loadPicture() {
    const std::filesystem::path file = mapPicturePath(document_.programFolder(), map_);
    std::error_code ignored;
    QImage picture;
    if (std::filesystem::is_regular_file(file, ignored)) {
        try {
            picture = readMapPicture(file);
        } catch (const std::exception& error) {
            if (unreadablePictures_.insert(map_).second) showError(this, error);
        }
    }
    surface_->setPicture(std::move(picture));
}

// Ranges first, then points, each in the order of the table; a point is never hidden
// under an outline.
std::vector<SpawnEntry> MapOverviewWindow::drawnSpots() const {
    const SpawnTable& spawns = document_.spawns();
    std::vector<SpawnEntry> ranges;
    std::vector<SpawnEntry> points;
    for (int i = 0; i < spawns.count; ++i) {
        const SpawnEntry& spot = spawns.entries[static_cast<std::size_t>(i)];
        if (spot.spotid == -1 || spot.mapnumber != map_ || !monsterRows_->shown(spot.monsterid) ||
            filteredAway_.contains(spot.monsterid))
            continue;
        (spot.ispoint ? points : ranges).push_back(spot);
    }
    ranges.insert(ranges.end(), points.begin(), points.end());
    return ranges;
}

void MapOverviewWindow::spotsChanged(std::initializer_list<SpawnEntry> changed) {
    reportErrors(this, [&] {
        if (std::none_of(changed.begin(), changed.end(), [&](const SpawnEntry& e) { return e.mapnumber == map_; }))
            return;
        refreshMonsterRows();  // first: a monster new on the map may be one the filter hides
        surface_->setSpots(drawnSpots(), changed);
        showSelectionSize();
    });
}

void MapOverviewWindow::monstersTicked() {
    reportErrors(this, [&] {
        surface_->setSpots(drawnSpots());
        showSelectionSize();
    });
}

void MapOverviewWindow::refreshMonsterRows() {
    monsterRows_->setRows(monstersOnMap(document_.spawns(), document_.monsters(), map_));
    applyFilter(false);
}

void MapOverviewWindow::applyFilter(bool redraw) {
    const QString filter = filterField_->text();
    std::set<std::int32_t> away;
    for (int row = 0; row < monsterRows_->rowCount(); ++row) {
        const bool matches = monsterMatches(monsterRows_->row(row), filter);
        monsterList_->setRowHidden(row, {}, !matches);
        if (!matches) away.insert(monsterRows_->row(row).number);
    }
    if (away == filteredAway_) return;
    filteredAway_ = std::move(away);
    if (!redraw) return;
    surface_->setSpots(drawnSpots());
    showSelectionSize();
}

void MapOverviewWindow::tickListed(bool shown) {
    reportErrors(this, [&] {
        std::vector<std::int32_t> listed;
        for (int row = 0; row < monsterRows_->rowCount(); ++row)
            if (!monsterList_->isRowHidden(row, {})) listed.push_back(monsterRows_->row(row).number);
        monsterRows_->setShown(listed, shown);
    });
}

void MapOverviewWindow::chooseZoom(int item) {
    reportErrors(this, [&] {
        if (item < 0 || item >= zoomBox_->count()) return;
        zoomBox_->setCurrentIndex(item);
        applyZoom();
    });
}

int MapOverviewWindow::zoom() const { return surface_->zoom(); }

void MapOverviewWindow::applyZoom(std::optional<QPoint> keep) {
    const int item = zoomBox_->currentIndex();
    const int before = surface_->zoom();
    const int after = item == kFitItem ? fitZoom() : item + 1;
    if (after == before) return;
    const QSize view = mapArea_->viewport()->size();
    const QPoint at = keep.value_or(QPoint(view.width() / 2, view.height() / 2));
    const QPointF kept = QPointF(surface_->mapFrom(mapArea_->viewport(), at)) / before;
    surface_->setZoom(after);
    const QPointF now = kept * after;
    mapArea_->horizontalScrollBar()->setValue(static_cast<int>(std::lround(now.x() - at.x())));
    mapArea_->verticalScrollBar()->setValue(static_cast<int>(std::lround(now.y() - at.y())));
}

void MapOverviewWindow::zoomBy(int steps, QPoint at) {
    reportErrors(this, [&] {
        const int zoom = std::clamp(surface_->zoom() + steps, 1, kMaxZoom);
        zoomBox_->setCurrentIndex(zoom - 1);  // the box follows: a step from "Fit" is a zoom of its own
        applyZoom(at);
    });
}

int MapOverviewWindow::fitZoom() const {
    const QSize room = mapArea_->maximumViewportSize();
    return std::clamp(std::min(room.width(), room.height()) / kMapCells, 1, kMaxZoom);
}

void MapOverviewWindow::showCell(QPoint pixel) {
    reportErrors(this, [&] {
        const QPoint cell = shownCell(pixel, surface_->zoom());
        cellLabel_->setText(QStringLiteral("%1,%2").arg(cell.x()).arg(cell.y()));
    });
}

std::int32_t MapOverviewWindow::selectedSpot() const { return surface_->selectedSpot(); }

void MapOverviewWindow::highlightSpot(std::int32_t spotid) {
    reportErrors(this, [&] {
        surface_->makeCurrent(spotid);
        showSelectionSize();
        // Never under a pressed button: the spot would jump by the scroll.
        if (surface_->draggedSpot()) return;
        if (const std::optional<QRect> area = surface_->selectedArea()) {
            const QPoint centre = area->center();
            mapArea_->ensureVisible(centre.x(), centre.y(), area->width() / 2 + 20, area->height() / 2 + 20);
        }
    });
}

void MapOverviewWindow::changeSpot(const SpawnEntry& after, const QString& verb) {
    reportErrors(this, [&] { document_.changeSpot(after.spotid, after, verb); });
}

QString MapOverviewWindow::hoverText(QPoint pixel) const {
    const std::vector<SpawnEntry> under = surface_->spotsAt(pixel);
    QStringList lines;
    for (const SpawnEntry& spot : under) {
        if (lines.size() == kMostTooltipLines) {
            lines << QStringLiteral("... and %1 more").arg(under.size() - kMostTooltipLines);
            break;
        }
        lines << spotLine(spot);
    }
    return lines.join(QLatin1Char('\n'));
}

const QString& MapOverviewWindow::monsterText(std::int32_t monsterid) const {
    auto found = monsterTexts_.find(monsterid);
    if (found == monsterTexts_.end()) {
        const MonsterDataRecord monster = document_.monsters().getmonsterbyid(monsterid);
        const QString text = QString::number(monsterid) + QLatin1Char(' ') + textFromBytes(monster.name) +
                             QStringLiteral(", level ") + QString::number(monster.level);
        found = monsterTexts_.emplace(monsterid, text).first;
    }
    return found->second;
}

// "10 Ash Hound, level 20: spot 5, Monsters (Range Spot), cells 10,20 to 30,40,
// distance 9, direction 6, count 7"
QString MapOverviewWindow::spotLine(const SpawnEntry& spot) const {
    static const std::array<QString, kSpotTypeItems.size()> types = [] {
        std::array<QString, kSpotTypeItems.size()> names;
        for (std::size_t i = 0; i < names.size(); ++i) names[i] = QString::fromLatin1(kSpotTypeItems[i]);
        return names;
    }();
    const auto cell = [](int x, int y) { return QString::number(x) + QLatin1Char(',') + QString::number(y); };
    QString line = monsterText(spot.monsterid);
    line.reserve(line.size() + 100);
    line += QStringLiteral(": spot ") + QString::number(spot.spotid) + QStringLiteral(", ");
    line += spot.spottype < types.size() ? types[spot.spottype] : QStringLiteral("type ") + QString::number(spot.spottype);
    if (spot.ispoint)
        line += QStringLiteral(", cell ") + cell(spot.x0, spot.y0);
    else
        line += QStringLiteral(", cells ") + cell(spot.x0, spot.y0) + QStringLiteral(" to ") + cell(spot.x1, spot.y1);
    line += QStringLiteral(", distance ") + QString::number(spot.distance) + QStringLiteral(", direction ") +
            QString::number(spot.dir);
    if (!spot.ispoint) line += QStringLiteral(", count ") + QString::number(spot.count);
    return line;
}
