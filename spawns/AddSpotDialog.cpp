#include "AddSpotDialog.h"

#include <algorithm>
#include <filesystem>

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QToolButton>

#include "ByteText.h"
#include "DesignPalette.h"
#include "DialogParts.h"
#include "DirectionKeypad.h"
#include "EditorDocument.h"
#include "ErrorReport.h"
#include "FormFont.h"
#include "HistoryMarks.h"
#include "MapPicture.h"
#include "MapPreviewWindow.h"
#include "Numbers.h"
#include "PlacePages.h"
#include "PopupRows.h"
#include "SpinField.h"
#include "SpotTypeNames.h"
#include "TabChain.h"
#include "TitleStrip.h"

namespace {

constexpr int kWidth = 305;
constexpr int kStripHeight = 30;
constexpr int kBodyHeight = 310;

std::int32_t comboNumber(const QComboBox* combo) { return toInteger(combo->currentText().toStdString(), false); }

}  // namespace

AddSpotDialog::AddSpotDialog(EditorDocument& document, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), document_(document) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Add Monster Location"));
    setPalette(designPalette());
    setAutoFillBackground(true);
    setFont(formFont());
    buildTitleStrip();
    buildBody();
    setDialogTabChain();
    monsterCombo_->setFocus();  // where the keyboard starts when the dialog is shown

    setFixedSize(kWidth, kStripHeight + kBodyHeight);
    move(337, 111);

    // Connected last, so that setting up the controls runs no handler.
    connect(monsterCombo_, &QComboBox::activated, this, &AddSpotDialog::showChosenMonster);
    connect(spotTypeGroup_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) applySpotType();
    });
    connect(places_, &QTabWidget::currentChanged, this, &AddSpotDialog::runShownPageStep);
    connect(places_, &PlacePages::pointChanged, this, &AddSpotDialog::pointFieldsChanged);
    connect(places_, &PlacePages::rangeChanged, this, &AddSpotDialog::rangeFieldsChanged);
    connect(places_, &PlacePages::showMapClicked, this, &AddSpotDialog::showMapAndLocation);
    connect(places_, &PlacePages::readPointClicked, this, &AddSpotDialog::readPointFromMap);
    connect(places_, &PlacePages::readRangeClicked, this, &AddSpotDialog::readRangeFromMap);
    connect(mapField_, &SpinField::changed, this, &AddSpotDialog::mapNumberChanged);
    connect(createButton_, &QPushButton::clicked, this, &AddSpotDialog::createSpot);
    connect(applyButton_, &QPushButton::clicked, this, &AddSpotDialog::applyToSpot);
    connect(&document_, &EditorDocument::monsterStored, this, &AddSpotDialog::monsterStored);
    // The spot being edited, as the document changes it.
    connect(&document_, &EditorDocument::spotChanged, this, [this](const SpawnEntry&, const SpawnEntry& after) {
        if (after.spotid == editedSpot_) editedSpotChanged(after);
    });
    connect(&document_, &EditorDocument::spotAdded, this, [this](const SpawnEntry& back) {
        if (back.spotid == editedSpot_) editedSpotChanged(back);
    });
    connect(&document_, &EditorDocument::spotDeleted, this, [this](const SpawnEntry& gone) {
        if (gone.spotid == editedSpot_) editedSpotGone();
    });
    connect(&document_, &EditorDocument::spotsChanged, this, [this](const std::vector<SpotChange>& changes) {
        if (editedSpot_ < 0) return;
        for (const SpotChange& change : changes) {
            if (change.spotid() != editedSpot_) continue;
            if (change.after.spotid == -1)
                editedSpotGone();
            else
                editedSpotChanged(change.after);
        }
    });
    installHistoryKeys(this, [this] { return &document_.history(TableFile::Spawns); });
}

AddSpotDialog::~AddSpotDialog() = default;

// The title strip with the minimise and close buttons at its right end.
void AddSpotDialog::buildTitleStrip() {
    titleStrip_ = makeTitleStrip(this, "Panel3", QStringLiteral("             Add Monster Location"));
    titleStrip_->setGeometry(0, 0, kWidth, kStripHeight);
    auto* minimise = makeGlyphButton(titleStrip_, "SpeedButton1", QStyle::SP_TitleBarMinButton, "Minimise Window",
                                     "Minimise window", {kWidth - 52, 4});
    auto* close = makeGlyphButton(titleStrip_, "SpeedButton4", QStyle::SP_TitleBarCloseButton,
                                  "Close Add Location Window", "Close add location window", {kWidth - 27, 4});
    // As a system title bar's buttons: the mouse's alone.
    for (QToolButton* button : {minimise, close}) button->setFocusPolicy(Qt::NoFocus);
    connect(minimise, &QToolButton::clicked, this, &AddSpotDialog::toggleFolded);
    connect(close, &QToolButton::clicked, this, &AddSpotDialog::closeDialog);
}

// The body panel: every other control, at the design's places.
void AddSpotDialog::buildBody() {
    body_ = new QFrame(this);
    body_->setObjectName(QStringLiteral("Panel2"));
    body_->setGeometry(0, kStripHeight, kWidth, kBodyHeight);
    body_->setFrameShape(QFrame::Panel);
    body_->setFrameShadow(QFrame::Raised);
    QWidget* body = body_;

    // The first row's captions span the row's height, centred beside their fields.
    const QLabel* idCaption = makeRowLabel(body, QStringLiteral("Monster ID:"), 8, 8);
    monsterCombo_ = new QComboBox(body);
    monsterCombo_->setObjectName(QStringLiteral("MonsterIDcombo"));
    monsterCombo_->setAccessibleName(idCaption->text().remove(QLatin1Char(':')));
    monsterCombo_->setEditable(false);
    monsterCombo_->setMaxVisibleItems(10);
    keepPopupToMaxRows(monsterCombo_);
    monsterCombo_->setGeometry(72, 8, 105, 21);
    useFieldColour(monsterCombo_);
    const QLabel* mapCaption = makeRowLabel(body, QStringLiteral("Map:"), 195, 8);
    mapField_ = makeSpin(body, "SpinEdit2", mapCaption, 0, 250, 0, {225, 8, 74, 21});

    // Each value label follows its caption, whatever the width of the face in use.
    const QLabel* nameCaption = makeLabel(body, QStringLiteral("Monster Name:"), 8, 38);
    nameLabel_ = makeLabel(body, QStringLiteral("NAME"), nameCaption->geometry().right() + 4, 38);
    nameLabel_->setObjectName(QStringLiteral("MonsterNameLabel"));
    const QLabel* levelCaption = makeLabel(body, QStringLiteral("Monster lvl      :"), 190, 38);
    levelLabel_ = makeLabel(body, QStringLiteral("LVL"), levelCaption->geometry().right() + 4, 38);
    levelLabel_->setObjectName(QStringLiteral("monsterlvllabel"));
    for (QLabel* label : {nameLabel_, levelLabel_}) {
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        const int right = label == nameLabel_ ? 186 : kWidth - 2;
        label->resize(std::max(right - label->x(), 20), label->height());
    }

    auto* spotTypeBox = new QGroupBox(QStringLiteral("Spot Type (respawn type)"), body);
    spotTypeBox->setObjectName(QStringLiteral("RadioGroup1"));
    spotTypeBox->setGeometry(9, 56, 192, 96);
    spotTypeGroup_ = new QButtonGroup(this);
    for (int type = 0; type < static_cast<int>(kSpotTypeItems.size()); ++type) {
        auto* item = new QRadioButton(
            QString::fromLatin1(kSpotTypeItems[static_cast<std::size_t>(type)]).leftJustified(32, QLatin1Char(' ')),
            spotTypeBox);
        item->setGeometry(8, 17 + type * 15, 180, 15);
        item->setPalette(indicatorPalette());
        spotTypeGroup_->addButton(item, type);
    }
    spotTypeGroup_->button(0)->setChecked(true);

    keypad_ = new DirectionKeypad(body);
    keypad_->setGeometry(217, 56, 79, 95);

    places_ = new PlacePages(body);
    places_->setGeometry(6, 157, 225, 109);

    const QLabel* distance = makeLabel(body, QStringLiteral("Distance"), 243, 171);
    distanceField_ = makeSpin(body, "SpinEdit1", distance, 0, 255, 5, {243, 188, 56, 21});

    createButton_ = new QPushButton(QStringLiteral("Create"), body);
    createButton_->setObjectName(QStringLiteral("Button1"));
    createButton_->setGeometry(223, 277, 75, 25);
    // "Apply" gives the spot the dialog was opened on these values, in its place; the
    // line beside it names that spot, or says why "Apply" is off.
    applyButton_ = new QPushButton(QStringLiteral("Apply"), body);
    applyButton_->setObjectName(QStringLiteral("ApplyButton"));
    applyButton_->setGeometry(144, 277, 75, 25);
    applyButton_->setEnabled(false);
    editState_ = new QLabel(body);
    editState_->setObjectName(QStringLiteral("EditedSpotState"));
    editState_->setGeometry(8, 272, 132, 34);
    editState_->setWordWrap(true);
    editState_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Enter in a field must not append or change a spot: they are pressed on purpose only.
    for (QPushButton* button : {createButton_, applyButton_}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}

// Tab follows the screen: the first row, the two groups (Tab stops at the chosen button
// of each; the arrows move within it), the page with its fields row by row, "Distance"
// beside it, "Apply" and "Create".
void AddSpotDialog::setDialogTabChain() {
    QList<QWidget*> chain{monsterCombo_, mapField_};
    for (QButtonGroup* group : {spotTypeGroup_, keypad_->buttons()}) {
        tabToCheckedButton(group);
        for (QAbstractButton* button : group->buttons()) chain << button;
    }
    chain << places_->tabChain() << distanceField_ << applyButton_ << createButton_;
    setTabChain(chain);
}

void AddSpotDialog::setPreview(MapPreviewWindow* preview) { preview_ = preview; }

int AddSpotDialog::faceDirection() const { return keypad_->direction(); }

int AddSpotDialog::spotType() const { return spotTypeGroup_->checkedId(); }

void AddSpotDialog::setSpotType(int type) {
    QAbstractButton* item = spotTypeGroup_->button(type);
    if (item && !item->isChecked()) item->setChecked(true);  // runs applySpotType
}

void AddSpotDialog::fillMonsterCombo() {
    const MonsterTable& table = document_.monsters();
    QStringList numbers;
    for (int i = 0; i < table.monstercount; ++i) numbers << QString::number(table.monsters[static_cast<std::size_t>(i)].id);
    monsterCombo_->clear();
    monsterCombo_->addItems(numbers);
}

void AddSpotDialog::openFor(int monsterIndex, bool pointPage) {
    reportErrors(this, [&] {
        stopEditing();
        if (!isVisible()) fillMonsterCombo();
        monsterCombo_->setCurrentIndex(monsterIndex);
        takeChosenMonster();
        if (pointPage)
            showPointPage();
        else
            showRangePage();
        show();
        unfold();
        activateWindow();  // the keyboard goes where the work goes on
    });
}

void AddSpotDialog::showMonsterRecord() {
    const std::int32_t id = comboNumber(monsterCombo_);
    currentmonster_ = document_.monsters().getmonsterbyid(id);
    nameLabel_->setText(textFromBytes(currentmonster_.name));
    levelLabel_->setText(QString::number(currentmonster_.level));
}

void AddSpotDialog::takeChosenMonster() {
    showMonsterRecord();
    if (currentmonster_.canmove && spotType() == 0)
        setSpotType(1);
    else if (!currentmonster_.canmove && spotType() != 0)
        setSpotType(0);
}

void AddSpotDialog::showChosenMonster() {
    reportErrors(this, [&] { takeChosenMonster(); });
}

// A monster that moves is never an "Npc (point Spot)"; the page follows the type.
void AddSpotDialog::keepSpotTypeFitting() {
    if (keepSpotAsIs_) return;
    if (spotType() == 0) {
        const std::int32_t id = comboNumber(monsterCombo_);
        if (document_.monsters().getmonsterbyid(id).canmove) setSpotType(2);
    }
    const int wanted = isPointType(spotType()) ? 0 : 1;
    if (places_->currentIndex() != wanted) places_->setCurrentIndex(wanted);
}

void AddSpotDialog::applySpotType() {
    reportErrors(this, [&] { keepSpotTypeFitting(); });
}

// The name, level and spot type follow a monster whose values were just stored.
void AddSpotDialog::monsterStored() {
    reportErrors(this, [&] {
        if (monsterCombo_->currentText().isEmpty()) return;
        takeChosenMonster();
        keepSpotTypeFitting();
    });
}

void AddSpotDialog::showPointPage() { places_->setCurrentIndex(0); }
void AddSpotDialog::showRangePage() { places_->setCurrentIndex(1); }

void AddSpotDialog::unfold() {
    if (body_->isHidden()) toggleFolded();
}

void AddSpotDialog::runShownPageStep() {
    QWidget* page = places_->currentWidget();
    if (!page || !page->isVisible()) return;
    if (page == places_->pointPage())
        pointPageShown();
    else
        rangePageShown();
}

void AddSpotDialog::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) runShownPageStep();
}

void AddSpotDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape || event->modifiers() != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    closeDialog();
    emit leftByKeyboard();
}

void AddSpotDialog::pointPageStep() {
    if (preview_) preview_->pickSelection(true);
    if (keepSpotAsIs_) return;
    if (currentmonster_.canmove && spotType() == 0) setSpotType(2);
    if (spotType() == 1 || spotType() == 3) setSpotType(2);
}

void AddSpotDialog::rangePageStep() {
    if (preview_) preview_->pickSelection(false);
    if (keepSpotAsIs_) return;
    if (isPointType(spotType())) setSpotType(1);
}

void AddSpotDialog::pointPageShown() {
    reportErrors(this, [&] { pointPageStep(); });
}

void AddSpotDialog::rangePageShown() {
    reportErrors(this, [&] { rangePageStep(); });
}

void AddSpotDialog::chooseDirection(int button) {
    reportErrors(this, [&] { keypad_->choose(button); });
}

void AddSpotDialog::pointFieldsChanged() {
    reportErrors(this, [&] {
        if (!preview_) return;
        preview_->setSelectedCell(places_->centerX()->value(), places_->centerY()->value());
        if (preview_->isVisible()) preview_->redraw();
    });
}

// The preview shows the corners as the fields hold them, in the order they stand while
// a number is typed; the pages keep them in order when a number is committed.
void AddSpotDialog::rangeFieldsChanged() {
    reportErrors(this, [&] {
        if (!preview_) return;
        const PlacePages& p = *places_;
        preview_->setSelectedCells(p.x0()->value(), p.y0()->value(), p.x1()->value(), p.y1()->value());
        if (preview_->isVisible()) preview_->redraw();
    });
}

void AddSpotDialog::showChosenMap() {
    MapPreviewWindow* preview = preview_;
    if (!preview || !preview->previewReady()) return;
    const int map = mapField_->value();
    const std::filesystem::path picture = mapPicturePath(document_.programFolder(), map);
    // A missing or unreadable picture shows the "no map" background under the title
    // of this map, never the last map's picture; an unreadable one is reported.
    const auto showNoPicture = [&] {
        preview->setPictureVisible(false);
        preview->setTitle(previewTitle(nameLabel_->text(), map));
    };
    if (!std::filesystem::exists(picture)) {
        showNoPicture();
        return;
    }
    try {
        preview->loadMapPicture(picture);
    } catch (...) {
        showNoPicture();
        throw;
    }
    preview->setTitle(previewTitle(nameLabel_->text(), map));
    QApplication::processEvents();
    if (preview_) preview_->setPictureVisible(true);
}

void AddSpotDialog::mapNumberChanged() {
    reportErrors(this, [&] { showChosenMap(); });
}

void AddSpotDialog::showMapAndLocation() {
    // A picture that does not load is reported and the preview still shown.
    mapNumberChanged();
    reportErrors(this, [&] {
        if (places_->pointPageShown())
            pointPageStep();
        else
            rangePageStep();
        if (preview_) {
            preview_->redraw();
            preview_->show();
        }
    });
}

void AddSpotDialog::readPointFromMap() {
    reportErrors(this, [&] {
        if (preview_) places_->readPoint(preview_->selection());
    });
}

void AddSpotDialog::readRangeFromMap() {
    reportErrors(this, [&] {
        if (preview_) places_->readRange(preview_->selection());
    });
}

// The spot the fields describe; the monster number is read before anything else.
SpawnEntry AddSpotDialog::composedSpot() const {
    SpawnEntry entry;
    entry.monsterid = comboNumber(monsterCombo_);
    const int type = spotType();
    entry.spottype = static_cast<std::uint8_t>(type);
    entry.ispoint = isPointType(type);
    entry.mapnumber = toByte(mapField_->value());
    const PlacePages& p = *places_;
    if (entry.ispoint) {
        entry.x0 = toByte(p.centerX()->value());
        entry.y0 = toByte(p.centerY()->value());
    } else {
        entry.x0 = toByte(p.x0()->value());
        entry.y0 = toByte(p.y0()->value());
        entry.x1 = toByte(p.x1()->value());
        entry.y1 = toByte(p.y1()->value());
    }
    entry.distance = toByte(distanceField_->value());
    entry.count = toByte(p.count()->value());
    entry.dir = keypad_->direction();
    return entry;
}

// A number still being typed counts as typed to the end, its corner rule included.
void AddSpotDialog::createSpot() {
    reportErrors(this, [&] {
        places_->commitTyping();
        document_.appendSpot(composedSpot());  // fails before anything is stored
    });
}

void AddSpotDialog::toggleFolded() {
    reportErrors(this, [&] {
        const bool unfold = body_->isHidden();
        body_->setVisible(unfold);
        setFixedSize(kWidth, unfold ? kStripHeight + kBodyHeight : kStripHeight);
        // Unfolding shows the active page again, which is a showing of that page.
        if (unfold) runShownPageStep();
    });
}

void AddSpotDialog::closeDialog() {
    reportErrors(this, [&] { hide(); });
}
