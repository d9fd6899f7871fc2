#include "SpawnPage.h"

#include <array>
#include <system_error>

#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "EditorDocument.h"
#include "ErrorReport.h"
#include "EventHook.h"
#include "GridDelegate.h"
#include "HistoryMarks.h"
#include "ListFilter.h"
#include "MapPicture.h"
#include "ReportList.h"
#include "ReviewButton.h"
#include "SaveQuestion.h"
#include "SpawnRows.h"
#include "SpotIcons.h"
#include "TabChain.h"

namespace {

constexpr int kFilterHeight = 22;

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

SpawnPage::SpawnPage(EditorDocument& document, QWidget* parent)
    : QWidget(parent), document_(document), savedIcon_(saveGlyph()), unsavedIcon_(unsavedIcon(savedIcon_)) {
    setObjectName(QStringLiteral("TabSheet2Page"));
    monsterRows_ = new MonsterRows;
    monsterList_ = makeReportList(this, "allmonsterlist", monsterRows_);
    filter_ = makeListFilter(this, "PositionMonsterFilter", monsterList_, 0);
    monsterList_->setAccessibleName(QStringLiteral("Monsters"));
    QFont bold = monsterList_->font();
    bold.setBold(true);
    monsterList_->setFont(bold);
    QPalette listPalette = monsterList_->palette();
    listPalette.setColor(QPalette::Text, QColor(73, 44, 47));
    monsterList_->setPalette(listPalette);

    strip_ = new QFrame(this);
    strip_->setObjectName(QStringLiteral("Panel5"));
    saveButton_ = new QToolButton(strip_);
    saveButton_->setObjectName(QStringLiteral("SpeedButton1"));
    saveButton_->setAccessibleName(QStringLiteral("Save data/Quarnel.txt"));
    saveButton_->setIcon(savedIcon_);
    saveButton_->setAutoRaise(true);
    saveButton_->setGeometry(2, 2, 24, 24);
    QToolButton* review = makeReviewButton(strip_, "ReviewSpawnSave");
    review->setGeometry(2, 30, 24, 24);
    connect(review, &QToolButton::clicked, this, &SpawnPage::reviewRequested);

    mapBox_ = new QFrame(this);
    mapBox_->setObjectName(QStringLiteral("GroupBox2"));
    mapBox_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    mapBox_->setGeometry(297, 1, 183, 55);
    mapLabel_ = new QLabel(QStringLiteral("MapNumber"), mapBox_);
    mapLabel_->setObjectName(QStringLiteral("Label11"));
    mapLabel_->move(302 - 297, 8 - 1);
    mapLabel_->adjustSize();
    mapLabel_->setEnabled(false);
    mapCombo_ = new QComboBox(mapBox_);
    mapCombo_->setObjectName(QStringLiteral("MapList"));
    mapCombo_->setAccessibleName(mapLabel_->text());
    mapCombo_->setEditable(false);
    mapCombo_->setGeometry(305 - 297, 24 - 1, 141, 22);
    mapCombo_->setItemDelegate(new FixedRowDelegate(mapCombo_));
    previewButton_ = new QToolButton(mapBox_);
    previewButton_->setObjectName(QStringLiteral("SpeedButton9"));
    previewButton_->setToolTip(QStringLiteral("Show Map Preview and all spots on this map"));
    previewButton_->setAccessibleName(QStringLiteral("Show map preview"));
    previewButton_->setIcon(previewGlyph());
    previewButton_->setGeometry(448 - 297, 24 - 1, 23, 23);
    overviewButton_ = new QToolButton(this);
    overviewButton_->setObjectName(QStringLiteral("OverviewButton"));
    overviewButton_->setToolTip(QStringLiteral("Map overview: every monster's spots on this map (Ctrl+M)"));
    overviewButton_->setAccessibleName(QStringLiteral("Show map overview"));
    overviewButton_->setIcon(overviewGlyph());
    overviewButton_->setGeometry(484, 24, 23, 23);

    spotPages_ = new QTabWidget(this);
    spotPages_->setObjectName(QStringLiteral("PageControl2"));
    spotPages_->setDocumentMode(true);
    spotPages_->setGeometry(298, 58, 436, 452);
    pointRows_ = new SpotRows(SpotRows::Kind::Points);
    rangeRows_ = new SpotRows(SpotRows::Kind::Ranges);
    pointPage_ = makeSpotPage(spotPages_, "TabSheet3", pointSpotList_, pointRows_, "Button4", deletePointButton_, "Button6",
                               addButtons_[0], "SpeedButton6", loadButtons_[0]);
    rangePage_ = makeSpotPage(spotPages_, "TabSheet4", rangeSpotList_, rangeRows_, "Button5", deleteRangeButton_, "Button7",
                               addButtons_[1], "SpeedButton7", loadButtons_[1]);
    for (QTreeView* list : {pointSpotList_, rangeSpotList_}) {
        list->setIconSize(QSize(48, 16));
        list->setItemDelegate(new GridDelegate(list));
    }
    spotPages_->addTab(pointPage_, QStringLiteral("Monster Point spot's"));
    spotPages_->addTab(rangePage_, QStringLiteral("Monster Range Spot's"));
    for (int i = 0; i < spotPages_->count(); ++i)
        spotPages_->widget(i)->findChild<QTreeView*>()->setAccessibleName(spotPages_->tabText(i));
    setTabChain(tabChain());

    installControlHooks();

    // Every change of the chosen monster, by any key or click, shows that monster, once;
    // a choice the page makes itself shows it as the page's step says.
    connect(monsterList_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        enableMonsterButtons();
        if (!selectingMonster_) showSelectedMonster();
    });
    connect(mapCombo_, &QComboBox::activated, this, &SpawnPage::showSelectedMap);
    connect(pointSpotList_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &SpawnPage::pointSelectionChanged);
    connect(rangeSpotList_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &SpawnPage::rangeSelectionChanged);
    connect(deletePointButton_, &QPushButton::clicked, this, &SpawnPage::deletePointSpot);
    connect(deleteRangeButton_, &QPushButton::clicked, this, &SpawnPage::deleteRangeSpot);
    for (QPushButton* add : addButtons_) connect(add, &QPushButton::clicked, this, &SpawnPage::openAddSpotDialog);
    for (QPushButton* load : loadButtons_)
        connect(load, &QPushButton::clicked, this, &SpawnPage::loadMonsterIntoDialog);
    connect(previewButton_, &QToolButton::clicked, this, &SpawnPage::showPreview);
    connect(overviewButton_, &QToolButton::clicked, this, &SpawnPage::requestOverview);
    connect(saveButton_, &QToolButton::clicked, this, &SpawnPage::saveSpawnFile);
    connect(&document_, &EditorDocument::historyChanged, this, [this](TableFile file) {
        if (file == TableFile::Spawns)
            showHistoryOn(saveButton_, savedIcon_, unsavedIcon_, document_.history(TableFile::Spawns));
    });
    connect(&document_, &EditorDocument::spotAdded, this, &SpawnPage::spotAdded);
    connect(&document_, &EditorDocument::spotCreated, this, &SpawnPage::spotCreated);
    connect(&document_, &EditorDocument::spotDeleted, this, &SpawnPage::spotDeleted);
    connect(&document_, &EditorDocument::spotChanged, this, &SpawnPage::spotChanged);
    connect(&document_, &EditorDocument::spotsChanged, this, &SpawnPage::spotsChanged);
    // A double click on a spot opens it in the add-location dialog, to change it.
    for (QTreeView* list : {pointSpotList_, rangeSpotList_})
        connect(list, &QTreeView::doubleClicked, this, [this, list](const QModelIndex& row) {
            if (row.isValid()) emit editSpotRequested(static_cast<SpotRows*>(list->model())->entry(row.row()).spotid);
        });

    enableMonsterButtons();
    resize(734, 512);
}


SpawnPage::~SpawnPage() {
    if (preview_) preview_->setShownSpots(nullptr);
}

void SpawnPage::setPreview(MapPreviewWindow* preview) {
    if (preview_) preview_->setShownSpots(nullptr);
    preview_ = preview;
    if (!preview_) return;
    preview_->setShownSpots(this);
    if (previewReady_) preview_->setPreviewReady();
}

void SpawnPage::markPreviewReady() {
    previewReady_ = true;
    if (preview_) preview_->setPreviewReady();
}

void SpawnPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    filter_->setGeometry(0, 0, 266, kFilterHeight);
    monsterList_->setGeometry(0, kFilterHeight, 266, height() - kFilterHeight);
    strip_->setGeometry(266, 0, 28, height());
}

QList<QWidget*> SpawnPage::tabChain() const {
    return {filter_, monsterList_, saveButton_, mapCombo_, previewButton_, overviewButton_, spotPages_->tabBar(),
            pointSpotList_, deletePointButton_, addButtons_[0], loadButtons_[0],
            rangeSpotList_, deleteRangeButton_, addButtons_[1], loadButtons_[1]};
}

void SpawnPage::focusStart() { monsterList_->setFocus(Qt::OtherFocusReason); }

int SpawnPage::selectedMonsterIndex() const { return selectedRow(monsterList_); }

void SpawnPage::selectMonsterIndex(int index) {
    const QScopedValueRollback quiet(selectingMonster_, true);
    revealRow(filter_, monsterList_, index);  // whatever emptying the filter chooses is passed over
    if (!selectRow(monsterList_, index)) {
        monsterList_->clearSelection();
        return;
    }
    monsterList_->scrollTo(monsterRows_->index(index, 0));
}

int SpawnPage::monsterIndexOf(std::int32_t number) const {
    for (int row = 0; row < monsterRows_->rowCount(); ++row)
        if (monsterRows_->number(row) == number) return row;
    return -1;
}

void SpawnPage::selectMapText(const QString& text) { mapCombo_->setCurrentIndex(mapCombo_->findText(text)); }
void SpawnPage::showPointListPage() { spotPages_->setCurrentWidget(pointPage_); }
void SpawnPage::showRangeListPage() { spotPages_->setCurrentWidget(rangePage_); }

bool SpawnPage::mapChosen() const { return mapCombo_->isEnabled() && mapCombo_->currentIndex() >= 0; }

std::span<const SpawnEntry> SpawnPage::spots() const {
    return std::span<const SpawnEntry>(work_.entries).first(static_cast<std::size_t>(work_.count));
}

int SpawnPage::selectedMonsterNumber() const { return monsterRows_->number(selectedMonsterIndex()); }

QString SpawnPage::selectedMonsterName() const { return monsterRows_->name(selectedMonsterIndex()); }

void SpawnPage::fillFirstTime() {
    reportErrors(this, [&] {
        if (filled_) return;
        filled_ = true;
        const EditorDocument& d = document_;
        monsterList_->selectionModel()->clear();
        monsterRows_->fill(d.monsters(), haveposOfEach(d.spawns(), d.monsters()));
        if (monsterRows_->rowCount() == 0) return;
        selectMonsterIndex(0);
        listMonsterMaps(selectedMonsterNumber());
        if (mapCombo_->count() > 0) {
            mapCombo_->setCurrentIndex(0);
            mapStep();
        }
    });
}

void SpawnPage::monsterStep() {
    if (selectedMonsterIndex() < 0) {
        showNoMonster();
        return;
    }
    listMonsterMaps(selectedMonsterNumber());
    if (mapCombo_->count() == 0) {
        if (preview_) preview_->setPictureVisible(false);
        clearSpotLists();
        return;
    }
    mapCombo_->setCurrentIndex(0);
    mapStep();
}

void SpawnPage::showNoMonster() {
    mapLabel_->setEnabled(false);
    mapCombo_->clear();
    work_.count = 0;
    clearSpotLists();
    if (preview_) preview_->setPictureVisible(false);
}

// "AddSpot window" needs a monster, and "Load current monster data to AddDialog" also
// a dialog opened once.
void SpawnPage::enableMonsterButtons() {
    const bool chosen = selectedMonsterIndex() >= 0;
    for (QPushButton* add : addButtons_) add->setEnabled(chosen);
    for (QPushButton* load : loadButtons_) load->setEnabled(chosen && dialogOpened_);
}

void SpawnPage::showSelectedMonster() {
    reportErrors(this, [&] { monsterStep(); });
}

// Enter shows the chosen monster afresh; any other key that moves the choice shows the
// new one as the choice changes.
void SpawnPage::monsterListKeyReleased(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) showSelectedMonster();
}

void SpawnPage::mapStep() {
    if (mapCombo_->currentIndex() < 0 || selectedMonsterIndex() < 0) return;
    clearSpotLists();
    work_.count = 0;
    const int map = mapCombo_->currentText().toInt();
    work_.getWorkLocations(document_.spawns(), selectedMonsterNumber(), map);
    MapPreviewWindow* preview = preview_;
    if (previewReady_ && preview) {
        const std::filesystem::path file = mapPicturePath(document_.programFolder(), map);
        preview->showSpots();
        // An unreadable picture is reported and counts as no picture: the map's spots
        // go on the preview's own background under this map's title, never over the
        // previous map's picture, and are listed all the same.
        const bool loaded = fileExists(file) && reportErrors(this, [&] { preview->loadMapPicture(file); });
        preview->setTitle(previewTitle(selectedMonsterName(), map));
        if (loaded) {
            QCoreApplication::processEvents();
            if (preview_) preview_->setPictureVisible(true);
        } else {
            preview->setPictureVisible(false);
        }
        if (preview_) preview_->update();  // it draws the work list, which has just changed
    }
    markPreviewReady();
    fillSpotLists();
}

void SpawnPage::showSelectedMap() {
    reportErrors(this, [&] { mapStep(); });
}

void SpawnPage::pointSelectionChanged() {
    const int row = selectedRow(pointSpotList_);
    deletePointButton_->setEnabled(row >= 0);
    if (row >= 0 && !quietSpotSelection_) emit spotSelected(pointRows_->entry(row).spotid);
}

void SpawnPage::rangeSelectionChanged() {
    const int row = selectedRow(rangeSpotList_);
    deleteRangeButton_->setEnabled(row >= 0);
    if (row >= 0 && !quietSpotSelection_) emit spotSelected(rangeRows_->entry(row).spotid);
}

// The row's caption is its spot number; the document tells the page what went.
void SpawnPage::deleteSelectedSpot(QTreeView* list) {
    const int row = selectedRow(list);
    if (selectedMonsterIndex() < 0 || row < 0) return;
    document_.deleteSpot(static_cast<SpotRows*>(list->model())->entry(row).spotid);
}

void SpawnPage::deletePointSpot() {
    reportErrors(this, [&] { deleteSelectedSpot(pointSpotList_); });
}

void SpawnPage::deleteRangeSpot() {
    reportErrors(this, [&] { deleteSelectedSpot(rangeSpotList_); });
}

// A listed spot leaves its list; the first row left is selected, and a map left without

void SpawnPage::openAddSpotDialog() {
    if (selectedMonsterIndex() >= 0) dialogOpened_ = true;
    enableMonsterButtons();
    loadMonsterIntoDialog();
}

void SpawnPage::loadMonsterIntoDialog() {
    const int row = selectedMonsterIndex();
    if (row < 0) return;
    emit addSpotRequested(row, spotPages_->currentWidget() == pointPage_);
}

void SpawnPage::showPreview() {
    reportErrors(this, [&] {
        MapPreviewWindow* preview = preview_;
        if (!preview || selectedMonsterIndex() < 0) return;
        preview->showSpots();
        const QString mapText = mapCombo_->currentText();
        if (mapText.isEmpty()) {
            preview->setPictureVisible(false);
        } else {
            const int map = mapText.toInt();
            const std::filesystem::path file = mapPicturePath(document_.programFolder(), map);
            bool loaded = false;
            if (fileExists(file)) loaded = reportErrors(this, [&] { preview->loadMapPicture(file); });
            preview->setTitle(previewTitle(selectedMonsterName(), map));
            preview->setPictureVisible(loaded);
        }
        preview->show();
        preview->redraw();
    });
}

void SpawnPage::requestOverview() {
    const QString map = mapCombo_->currentText();
    emit overviewRequested(map.isEmpty() ? 0 : map.toInt());
}

void SpawnPage::saveSpawnFile() {
    reportErrors(this, [&] { document_.save(TableFile::Spawns, askBeforeOverwrite(this)); });
}
