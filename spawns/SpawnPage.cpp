#include "SpawnPage.h"

#include <array>
#include <stdexcept>
#include <system_error>

#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "ErrorReport.h"
#include "EventHook.h"
#include "Forms.h"
#include "GridDelegate.h"
#include "ReportList.h"
#include "SaveQuestion.h"
#include "SpawnRows.h"
#include "SpotIcons.h"
#include "TabChain.h"
#include "Unit2.h"
#include "Unit4.h"
#include "Workspace.h"

namespace {

constexpr int kHoverDelayMs = 2000;

// MapList shows its map numbers in rows of a fixed height.
class FixedRowDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), 16};
    }
};

bool fileExists(const std::filesystem::path& path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(path, ignored);
}

}  // namespace

struct SpawnPage::Impl {
    Forms& forms;
    QTreeView* monsters = nullptr;  // allmonsterlist
    MonsterRows* monsterRows = nullptr;
    QFrame* strip = nullptr;
    QToolButton* save = nullptr;      // SpeedButton1
    QFrame* mapBox = nullptr;
    QLabel* mapLabel = nullptr;       // Label11
    QComboBox* maps = nullptr;        // MapList
    QToolButton* preview = nullptr;   // SpeedButton9
    QTabWidget* pages = nullptr;      // PageControl2
    QWidget* pointPage = nullptr;     // TabSheet3
    QWidget* rangePage = nullptr;     // TabSheet4
    QTreeView* points = nullptr;
    QTreeView* ranges = nullptr;
    SpotRows* pointRows = nullptr;
    SpotRows* rangeRows = nullptr;
    QPushButton* deletePoint = nullptr;  // Button4
    QPushButton* deleteRange = nullptr;  // Button5
    std::array<QPushButton*, 2> addButtons{};   // Button6, Button7
    std::array<QPushButton*, 2> loadButtons{};  // SpeedButton6, SpeedButton7

    explicit Impl(Forms& f) : forms(f) {}

    Workspace& tables() const {
        if (!forms.tables) throw std::logic_error("The tables are not loaded");
        return *forms.tables;
    }
};

namespace {

QWidget* makeSpotPage(QWidget* parent, const char* name, QTreeView*& list, SpotRows* rows,
                      const char* deleteName, QPushButton*& deleteButton, const char* addName,
                      QPushButton*& addButton, const char* loadName, QPushButton*& loadButton) {
    auto* page = new QWidget(parent);
    page->setObjectName(QString::fromLatin1(name));
    list = makeReportList(page, name[8] == '3' ? "pointlist" : "rangelist", rows);
    auto* bar = new QWidget(page);
    bar->setObjectName(QString::fromLatin1(name) + QStringLiteral("Buttons"));
    bar->setFixedHeight(28);
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(list);
    column->addWidget(bar);
    auto button = [bar](const char* objectName, const char* text, int x, int width) {
        auto* b = new QPushButton(QString::fromLatin1(text), bar);
        b->setObjectName(QString::fromLatin1(objectName));
        b->setGeometry(x, 3, width, 22);
        return b;
    };
    deleteButton = button(deleteName, "Delete Spot", 2, 100);
    addButton = button(addName, "AddSpot window", 104, 100);
    loadButton = button(loadName, "Load current monster data to AddDialog", 206, 213);
    deleteButton->setEnabled(false);
    loadButton->setEnabled(false);
    return page;
}

}  // namespace

SpawnPage::SpawnPage(Forms& forms, QWidget* parent) : QWidget(parent), d_(std::make_unique<Impl>(forms)) {
    auto& d = *d_;
    setObjectName(QStringLiteral("TabSheet2Page"));
    d.monsterRows = new MonsterRows;
    d.monsters = makeReportList(this, "allmonsterlist", d.monsterRows);
    d.monsters->setAccessibleName(QStringLiteral("Monsters"));
    QFont bold = d.monsters->font();
    bold.setBold(true);
    d.monsters->setFont(bold);
    QPalette listPalette = d.monsters->palette();
    listPalette.setColor(QPalette::Text, QColor(73, 44, 47));
    d.monsters->setPalette(listPalette);

    d.strip = new QFrame(this);
    d.strip->setObjectName(QStringLiteral("Panel5"));
    d.save = new QToolButton(d.strip);
    d.save->setObjectName(QStringLiteral("SpeedButton1"));
    d.save->setAccessibleName(QStringLiteral("Save data/Quarnel.txt"));
    d.save->setIcon(saveGlyph());
    d.save->setAutoRaise(true);
    d.save->setGeometry(2, 2, 24, 24);

    d.mapBox = new QFrame(this);
    d.mapBox->setObjectName(QStringLiteral("GroupBox2"));
    d.mapBox->setFrameStyle(QFrame::Box | QFrame::Sunken);
    d.mapBox->setGeometry(297, 1, 183, 55);
    d.mapLabel = new QLabel(QStringLiteral("MapNumber"), d.mapBox);
    d.mapLabel->setObjectName(QStringLiteral("Label11"));
    d.mapLabel->move(302 - 297, 8 - 1);
    d.mapLabel->adjustSize();
    d.mapLabel->setEnabled(false);
    d.maps = new QComboBox(d.mapBox);
    d.maps->setObjectName(QStringLiteral("MapList"));
    d.maps->setAccessibleName(d.mapLabel->text());
    d.maps->setEditable(false);
    d.maps->setGeometry(305 - 297, 24 - 1, 141, 22);
    d.maps->setItemDelegate(new FixedRowDelegate(d.maps));
    d.preview = new QToolButton(d.mapBox);
    d.preview->setObjectName(QStringLiteral("SpeedButton9"));
    d.preview->setToolTip(QStringLiteral("Show Map Preview and all spots on this map"));
    d.preview->setAccessibleName(QStringLiteral("Show map preview"));
    d.preview->setIcon(previewGlyph());
    d.preview->setGeometry(448 - 297, 24 - 1, 23, 23);

    d.pages = new QTabWidget(this);
    d.pages->setObjectName(QStringLiteral("PageControl2"));
    d.pages->setDocumentMode(true);
    d.pages->setGeometry(298, 58, 436, 452);
    d.pointRows = new SpotRows(SpotRows::Kind::Points);
    d.rangeRows = new SpotRows(SpotRows::Kind::Ranges);
    d.pointPage = makeSpotPage(d.pages, "TabSheet3", d.points, d.pointRows, "Button4", d.deletePoint, "Button6",
                               d.addButtons[0], "SpeedButton6", d.loadButtons[0]);
    d.rangePage = makeSpotPage(d.pages, "TabSheet4", d.ranges, d.rangeRows, "Button5", d.deleteRange, "Button7",
                               d.addButtons[1], "SpeedButton7", d.loadButtons[1]);
    for (QTreeView* list : {d.points, d.ranges}) {
        list->setIconSize(QSize(48, 16));
        list->setItemDelegate(new GridDelegate(list));
    }
    d.pages->addTab(d.pointPage, QStringLiteral("Monster Point spot's"));
    d.pages->addTab(d.rangePage, QStringLiteral("Monster Range Spot's"));
    for (int i = 0; i < d.pages->count(); ++i)
        d.pages->widget(i)->findChild<QTreeView*>()->setAccessibleName(d.pages->tabText(i));
    setTabChain(tabChain());

    // MapListKeyDown: only the arrow keys (and the mouse) change the map. Tab still
    // moves the focus on, as it does before any control sees the key.
    new EventHook(d.maps, [](QEvent* e) {
        if (e->type() != QEvent::KeyPress) return false;
        const int key = static_cast<QKeyEvent*>(e)->key();
        return key != Qt::Key_Up && key != Qt::Key_Down && key != Qt::Key_Tab && key != Qt::Key_Backtab;
    });
    // The open drop-down list would jump to a typed map number; there only the arrows
    // move, and Enter or Escape close it.
    new EventHook(d.maps->view(), [](QEvent* e) {
        if (e->type() != QEvent::KeyPress) return false;
        switch (static_cast<QKeyEvent*>(e)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            return false;
        default:
            return true;
        }
    });
    new EventHook(d.monsters, [this](QEvent* e) {
        if (e->type() == QEvent::KeyRelease && !static_cast<QKeyEvent*>(e)->isAutoRepeat())
            allmonsterlistKeyUp(static_cast<QKeyEvent*>(e)->key());
        return false;
    });
    for (QTreeView* list : {d.monsters, d.points, d.ranges}) {
        QTimer* hover = nullptr;
        if (list != d.monsters) {
            hover = new QTimer(list);
            hover->setObjectName(list->objectName() + QStringLiteral("Hover"));
            hover->setSingleShot(true);
            hover->setInterval(kHoverDelayMs);
        }
        auto rest = std::make_shared<QPoint>();
        new EventHook(list->viewport(), [list, hover, rest](QEvent* e) {
            if (e->type() == QEvent::MouseMove) {
                const QPoint pos = static_cast<QMouseEvent*>(e)->position().toPoint();
                list->viewport()->setCursor(list->indexAt(pos).isValid() ? Qt::PointingHandCursor
                                                                         : Qt::ArrowCursor);
                if (hover) {
                    *rest = pos;
                    hover->start();
                }
            } else if (e->type() == QEvent::Leave && hover) {
                hover->stop();
            }
            return false;
        });
        if (hover)
            connect(hover, &QTimer::timeout, list, [this, list, rest] {
                reportErrors(this, [&] {
                    if (const QModelIndex row = list->indexAt(*rest); row.isValid()) selectRow(list, row.row());
                });
            });
    }

    connect(d.monsters, &QTreeView::clicked, this, &SpawnPage::allmonsterlistClick);
    connect(d.maps, &QComboBox::activated, this, &SpawnPage::MapListChange);
    connect(d.points->selectionModel(), &QItemSelectionModel::selectionChanged, this, &SpawnPage::pointlistSelectItem);
    connect(d.ranges->selectionModel(), &QItemSelectionModel::selectionChanged, this, &SpawnPage::rangelistSelectItem);
    connect(d.deletePoint, &QPushButton::clicked, this, &SpawnPage::Button4Click);
    connect(d.deleteRange, &QPushButton::clicked, this, &SpawnPage::Button5Click);
    for (QPushButton* add : d.addButtons) connect(add, &QPushButton::clicked, this, &SpawnPage::Button6Click);
    for (QPushButton* load : d.loadButtons)
        connect(load, &QPushButton::clicked, this, &SpawnPage::SpeedButton6Click);
    connect(d.preview, &QToolButton::clicked, this, &SpawnPage::SpeedButton9Click);
    connect(d.save, &QToolButton::clicked, this, &SpawnPage::SpeedButton1Click);

    resize(734, 512);
}

SpawnPage::~SpawnPage() = default;

void SpawnPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    auto& d = *d_;
    d.monsters->setGeometry(0, 0, 266, height());
    d.strip->setGeometry(266, 0, 28, height());
}

QList<QWidget*> SpawnPage::tabChain() const {
    const auto& d = *d_;
    return {d.monsters, d.save, d.maps, d.preview, d.pages->tabBar(),
            d.points, d.deletePoint, d.addButtons[0], d.loadButtons[0],
            d.ranges, d.deleteRange, d.addButtons[1], d.loadButtons[1]};
}

void SpawnPage::focusStart() { d_->monsters->setFocus(Qt::OtherFocusReason); }

QTreeView* SpawnPage::allmonsterlist() const { return d_->monsters; }
QComboBox* SpawnPage::mapList() const { return d_->maps; }
QTabWidget* SpawnPage::pageControl2() const { return d_->pages; }
QTreeView* SpawnPage::pointlist() const { return d_->points; }
QTreeView* SpawnPage::rangelist() const { return d_->ranges; }

int SpawnPage::selectedMonsterIndex() const { return selectedRow(d_->monsters); }

void SpawnPage::selectMonsterIndex(int index) {
    if (!selectRow(d_->monsters, index)) {
        d_->monsters->clearSelection();
        return;
    }
    d_->monsters->scrollTo(d_->monsterRows->index(index, 0));
}

int SpawnPage::monsterIndexOf(std::int32_t number) const {
    for (int row = 0; row < d_->monsterRows->rowCount(); ++row)
        if (d_->monsterRows->number(row) == number) return row;
    return -1;
}

void SpawnPage::setMonsterIcon(int index, bool hasSpots) { d_->monsterRows->setHasSpots(index, hasSpots); }

void SpawnPage::selectMapText(const QString& text) { d_->maps->setCurrentIndex(d_->maps->findText(text)); }
void SpawnPage::showPointListPage() { d_->pages->setCurrentWidget(d_->pointPage); }
void SpawnPage::showRangeListPage() { d_->pages->setCurrentWidget(d_->rangePage); }

bool SpawnPage::mapSelectedForPreview() const { return d_->maps->isEnabled() && d_->maps->currentIndex() >= 0; }

int SpawnPage::selectedMonsterNumber() const { return d_->monsterRows->number(selectedMonsterIndex()); }

QString SpawnPage::selectedMonsterName() const { return d_->monsterRows->name(selectedMonsterIndex()); }

// The maps in the order of the monster's first spot on each, as the work list holds them.
void SpawnPage::listMonsterMaps() {
    auto& d = *d_;
    const WorkList& work = d.tables().work;
    d.maps->clear();
    std::array<bool, 256> listed{};
    QStringList texts;
    for (int i = 0; i < work.count; ++i) {
        const int map = work.entries[i].mapnumber;
        if (listed[map]) continue;
        listed[map] = true;
        texts << QString::number(map);
    }
    if (texts.isEmpty()) return;
    d.maps->addItems(texts);
    d.mapLabel->setEnabled(true);
}

// As a list's clear: the selection goes first, and its change is told.
void SpawnPage::clearSpotLists() {
    for (QTreeView* list : {d_->ranges, d_->points}) list->selectionModel()->clear();
    d_->rangeRows->clear();
    d_->pointRows->clear();
}

void SpawnPage::fillSpotLists() {
    auto& d = *d_;
    const WorkList& work = d.tables().work;
    // A map change run from the pending events of this one has filled the lists
    // already, from the same work list; start afresh rather than list every spot twice.
    clearSpotLists();
    std::vector<SpawnEntry> points;
    std::vector<SpawnEntry> ranges;
    for (int i = 0; i < work.count; ++i) {
        const SpawnEntry& e = work.entries[static_cast<std::size_t>(i)];
        if (e.spotid == -1) continue;
        (e.ispoint ? points : ranges).push_back(e);
    }
    d.pointRows->setRows(std::move(points));
    d.rangeRows->setRows(std::move(ranges));
}

void SpawnPage::FormShow() {
    reportErrors(this, [&] {
        auto& d = *d_;
        if (d.forms.previewReady) return;
        Workspace& t = d.tables();
        d.monsters->selectionModel()->clear();
        d.monsterRows->fill(t.monsters, haveposOfEach(t.spawns, t.monsters));
        if (d.monsterRows->rowCount() == 0) return;
        selectMonsterIndex(0);
        t.work.getWorkLocations(t.spawns, selectedMonsterNumber(), -1);
        listMonsterMaps();
        if (d.maps->count() > 0) {
            d.maps->setCurrentIndex(0);
            MapListChange();
        }
    });
}

void SpawnPage::allmonsterlistClick() {
    reportErrors(this, [&] {
        auto& d = *d_;
        if (selectedMonsterIndex() < 0) return;
        Workspace& t = d.tables();
        t.work.getWorkLocations(t.spawns, selectedMonsterNumber(), -1);
        d.mapLabel->setEnabled(false);
        listMonsterMaps();
        if (d.maps->count() == 0) {
            if (d.forms.form4) d.forms.form4->setPictureVisible(false);
            clearSpotLists();
            return;
        }
        d.maps->setCurrentIndex(0);
        MapListChange();
    });
}

void SpawnPage::allmonsterlistKeyUp(int key) {
    reportErrors(this, [&] {
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Return || key == Qt::Key_Enter)
            allmonsterlistClick();
    });
}

void SpawnPage::MapListChange() {
    reportErrors(this, [&] {
        auto& d = *d_;
        if (d.maps->currentIndex() < 0 || selectedMonsterIndex() < 0) return;
        Workspace& t = d.tables();
        clearSpotLists();
        t.work.count = 0;
        const int map = d.maps->currentText().toInt();
        t.work.getWorkLocations(t.spawns, selectedMonsterNumber(), map);
        TForm4* preview = d.forms.form4;
        if (d.forms.previewReady && preview) {
            const std::filesystem::path file = mapPicturePath(d.forms.programFolder, map);
            preview->showselection = false;
            // An unreadable picture is reported and counts as no picture: the map's spots
            // go on the preview's own background under this map's title, never over the
            // previous map's picture, and are listed all the same.
            const bool loaded =
                fileExists(file) && reportErrors(this, [&] { preview->loadMapPicture(file); });
            preview->setTitle(previewTitle(selectedMonsterName(), map));
            if (loaded) {
                QCoreApplication::processEvents();
                preview->setPictureVisible(true);
            } else {
                preview->setPictureVisible(false);
            }
            preview->update();  // it draws the work list, which has just changed
        }
        d.forms.previewReady = true;
        fillSpotLists();
    });
}

void SpawnPage::pointlistSelectItem() {
    reportErrors(this, [&] { d_->deletePoint->setEnabled(selectedRow(d_->points) >= 0); });
}

void SpawnPage::rangelistSelectItem() {
    reportErrors(this, [&] { d_->deleteRange->setEnabled(selectedRow(d_->ranges) >= 0); });
}

void SpawnPage::deleteSelectedSpot(QTreeView* list, QTreeView* other, QAbstractButton* deleteButton) {
    auto& d = *d_;
    auto* rows = static_cast<SpotRows*>(list->model());
    const int monsterRow = selectedMonsterIndex();
    const int row = selectedRow(list);
    if (monsterRow < 0 || row < 0) return;
    // The row's caption is its spot number.
    deletespot(d.tables().spawns, rows->entry(row).spotid);
    rows->removeRow(row);
    if (selectRow(list, 0)) return;
    deleteButton->setEnabled(false);
    if (other->model()->rowCount() > 0) return;  // the map keeps spots of the other kind
    if (d.maps->currentIndex() >= 0) d.maps->removeItem(d.maps->currentIndex());
    d.maps->setCurrentIndex(-1);
    if (d.maps->count() > 0) return;
    d.maps->clear();
    setMonsterIcon(monsterRow, false);
}

void SpawnPage::Button4Click() {
    reportErrors(this, [&] { deleteSelectedSpot(d_->points, d_->ranges, d_->deletePoint); });
}

void SpawnPage::Button5Click() {
    reportErrors(this, [&] { deleteSelectedSpot(d_->ranges, d_->points, d_->deleteRange); });
}

void SpawnPage::Button6Click() {
    reportErrors(this, [&] {
        auto& d = *d_;
        for (QPushButton* load : d.loadButtons) load->setEnabled(true);
        TForm2* dialog = d.forms.form2;
        if (!dialog) return;
        if (!dialog->isVisible()) {
            const MonsterTable& table = d.tables().monsters;
            QStringList numbers;
            for (int i = 0; i < table.monstercount; ++i) numbers << QString::number(table.monsters[i].id);
            dialog->monsterIdCombo()->clear();
            dialog->monsterIdCombo()->addItems(numbers);
        }
        SpeedButton6Click();
    });
}

void SpawnPage::SpeedButton6Click() {
    reportErrors(this, [&] {
        auto& d = *d_;
        TForm2* dialog = d.forms.form2;
        const int row = selectedMonsterIndex();
        if (!dialog || row < 0) return;
        dialog->monsterIdCombo()->setCurrentIndex(row);
        dialog->MonsterIDcomboChange();
        if (d.pages->currentWidget() == d.pointPage)
            dialog->showPointPage();
        else
            dialog->showRangePage();
        dialog->show();
        dialog->showBody();
        dialog->activateWindow();  // the keyboard goes where the work goes on
    });
}

void SpawnPage::SpeedButton9Click() {
    reportErrors(this, [&] {
        auto& d = *d_;
        TForm4* preview = d.forms.form4;
        if (!preview || selectedMonsterIndex() < 0) return;
        preview->showselection = false;
        const QString mapText = d.maps->currentText();
        if (mapText.isEmpty()) {
            preview->setPictureVisible(false);
        } else {
            const int map = mapText.toInt();
            const std::filesystem::path file = mapPicturePath(d.forms.programFolder, map);
            bool loaded = false;
            if (fileExists(file)) loaded = reportErrors(this, [&] { preview->loadMapPicture(file); });
            preview->setTitle(previewTitle(selectedMonsterName(), map));
            preview->setPictureVisible(loaded);
        }
        preview->show();
        preview->redraw();
    });
}

void SpawnPage::SpeedButton1Click() {
    reportErrors(this, [&] {
        SpawnTable& spawns = d_->tables().spawns;
        const auto& folder = d_->forms.programFolder;
        if (mayOverwrite(this, spawns.checkSave(folder))) spawns.save(folder);
    });
}
