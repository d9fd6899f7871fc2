#include "LazyIcon.h"
#include "AddSpotDialog.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QRadioButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>

#include "ByteText.h"
#include "Colours.h"
#include "DesignPalette.h"
#include "ErrorReport.h"
#include "FormFont.h"
#include "MessageBoxes.h"
#include "PopupRows.h"
#include "HistoryMarks.h"
#include "EditorDocument.h"
#include "Numbers.h"
#include "SpinField.h"
#include "SpotTypeNames.h"
#include "TabChain.h"
#include "MapPicture.h"
#include "MapPreviewWindow.h"
#include "WindowDrag.h"

namespace {

constexpr int kWidth = 305;
constexpr int kStripHeight = 30;
constexpr int kBodyHeight = 310;

// Direction of RadioButton1..9, row by row from the top left, as on a keypad.
constexpr std::array<int, 9> kKeypadDirections = {7, 8, 9, 4, -1, 6, 1, 2, 3};
// The keypad's buttons have no captions; their accessible names say where each lies.
constexpr std::array<const char*, 9> kKeypadPlaces = {
    "up left", "up", "up right", "left", "centre", "right", "down left", "down", "down right",
};

QLabel* makeLabel(QWidget* parent, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

QLabel* makeRowLabel(QWidget* parent, const QString& text, int x, int y) {
    QLabel* label = makeLabel(parent, text, x, y);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->resize(label->width(), 21);
    return label;
}

void useFieldColour(QWidget* field) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, kStripColour);
    palette.setColor(QPalette::Button, kStripColour);
    field->setPalette(palette);
}

// The accessible name is the field's caption.
SpinField* makeSpin(QWidget* parent, const char* name, const QLabel* caption, int minValue, int maxValue,
                    int initial, QRect geometry) {
    auto* spin = new SpinField(parent);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setAccessibleName(caption->text().remove(QLatin1Char(':')));
    spin->setBounds(minValue, maxValue);
    spin->setValue(initial);
    spin->setGeometry(geometry);
    useFieldColour(spin);
    return spin;
}

// A button that shows only a picture; the accessible name says what it does.
QToolButton* makeGlyphButton(QWidget* parent, const char* name, QStyle::StandardPixmap glyph,
                             const char* hint, const char* accessibleName, QPoint at) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(QString::fromLatin1(accessibleName));
    button->setIcon(lazyStandardIcon(glyph));
    button->setToolTip(QString::fromLatin1(hint));
    button->setAutoRaise(true);
    button->setGeometry(QRect(at, QSize(23, 22)));
    return button;
}

std::int32_t comboNumber(const QComboBox* combo) {
    return toInteger(combo->currentText().toStdString(), false);
}

}  // namespace


AddSpotDialog::AddSpotDialog(EditorDocument& document, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), document_(document) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Add Monster Location"));
    setPalette(designPalette());
    setAutoFillBackground(true);
    setFont(formFont());

    // Title strip with the minimise and close buttons at its right end.
    titleStrip_ = new QLabel(QStringLiteral("             Add Monster Location"), this);
    titleStrip_->setObjectName(QStringLiteral("Panel3"));
    titleStrip_->setGeometry(0, 0, kWidth, kStripHeight);
    titleStrip_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    titleStrip_->setFrameShape(QFrame::Panel);
    titleStrip_->setFrameShadow(QFrame::Raised);
    QFont stripFont = titleStrip_->font();
    stripFont.setBold(true);
    stripFont.setPixelSize(13);
    titleStrip_->setFont(stripFont);
    QPalette stripPalette = titleStrip_->palette();
    stripPalette.setColor(QPalette::Window, kStripColour);
    titleStrip_->setPalette(stripPalette);
    titleStrip_->setAutoFillBackground(true);
    installWindowDrag(titleStrip_);
    auto* minimise = makeGlyphButton(titleStrip_, "SpeedButton1", QStyle::SP_TitleBarMinButton,
                                     "Minimise Window", "Minimise window", {kWidth - 52, 4});
    auto* close = makeGlyphButton(titleStrip_, "SpeedButton4", QStyle::SP_TitleBarCloseButton,
                                  "Close Add Location Window", "Close add location window", {kWidth - 27, 4});
    // As a system title bar's buttons: the mouse's alone.
    for (QToolButton* button : {minimise, close}) button->setFocusPolicy(Qt::NoFocus);

    // Body panel: every other control.
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
            QString::fromLatin1(kSpotTypeItems[type]).leftJustified(32, QLatin1Char(' ')),
            spotTypeBox);
        item->setGeometry(8, 17 + type * 15, 180, 15);
        spotTypeGroup_->addButton(item, type);
    }
    spotTypeGroup_->button(0)->setChecked(true);

    auto* faceDir = new QGroupBox(QStringLiteral(" Face Dir  "), body);
    faceDir->setObjectName(QStringLiteral("GroupBox1"));
    faceDir->setGeometry(217, 56, 79, 95);
    directionGroup_ = new QButtonGroup(this);
    for (int i = 0; i < 9; ++i) {
        auto* key = new QRadioButton(faceDir);
        key->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
        key->setAccessibleName(QStringLiteral("Face Dir %1, %2")
                                   .arg(kKeypadDirections[i])
                                   .arg(QString::fromLatin1(kKeypadPlaces[i])));
        key->setGeometry(10 + (i % 3) * 22, 20 + (i / 3) * 23, 17, 17);
        directionGroup_->addButton(key, i + 1);
    }
    directionGroup_->button(5)->setChecked(true);

    placePages_ = new QTabWidget(body);
    placePages_->setObjectName(QStringLiteral("PageControl1"));
    placePages_->setDocumentMode(true);
    placePages_->setGeometry(6, 157, 225, 109);
    // Made inside the dialog, so that their captions are measured in its font.
    pointPage_ = new QWidget(placePages_);
    pointPage_->setObjectName(QStringLiteral("TabSheet1"));
    const QLabel* centerX = makeLabel(pointPage_, QStringLiteral("Center X"), 4, 7);
    centerXField_ = makeSpin(pointPage_, "SpinEditX", centerX, 2, 250, 127, {58, 4, 60, 21});
    const QLabel* centerY = makeLabel(pointPage_, QStringLiteral("Center Y"), 4, 31);
    centerYField_ = makeSpin(pointPage_, "SpinEditY", centerY, 2, 250, 127, {58, 28, 60, 21});
    auto* showPoint = makeGlyphButton(pointPage_, "SpeedButton9", QStyle::SP_FileDialogContentsView,
                                      "Show Map and this location", "Show map and this location", {4, 56});
    auto* readPoint = makeGlyphButton(pointPage_, "SpeedButton5", QStyle::SP_ArrowDown,
                                      "Read X,Y from Map Window", "Read X,Y from map window", {30, 56});
    placePages_->addTab(pointPage_, QStringLiteral("Point Spot"));

    rangePage_ = new QWidget(placePages_);
    rangePage_->setObjectName(QStringLiteral("TabSheet2"));
    const QLabel* x0 = makeLabel(rangePage_, QStringLiteral("X0"), 4, 7);
    x0Field_ = makeSpin(rangePage_, "SpinX0", x0, 2, 250, 127, {22, 4, 52, 21});
    const QLabel* x1 = makeLabel(rangePage_, QStringLiteral("X1"), 80, 7);
    x1Field_ = makeSpin(rangePage_, "SpinX1", x1, 2, 250, 128, {98, 4, 52, 21});
    const QLabel* y0 = makeLabel(rangePage_, QStringLiteral("Y0"), 4, 31);
    y0Field_ = makeSpin(rangePage_, "SpinY0", y0, 2, 250, 127, {22, 28, 52, 21});
    const QLabel* y1 = makeLabel(rangePage_, QStringLiteral("Y1"), 80, 31);
    y1Field_ = makeSpin(rangePage_, "SpinY1", y1, 2, 250, 128, {98, 28, 52, 21});
    const QLabel* countCaption = makeLabel(rangePage_, QStringLiteral("MonsterCount"), 60, 60);
    countField_ = makeSpin(rangePage_, "spincount", countCaption, 1, 255, 5,
                             {countCaption->geometry().right() + 4, 56, 56, 21});
    auto* showRange = makeGlyphButton(rangePage_, "SpeedButton2", QStyle::SP_FileDialogContentsView,
                                      "Show Map and this location", "Show map and this location", {4, 56});
    auto* readRange = makeGlyphButton(rangePage_, "SpeedButton3", QStyle::SP_ArrowDown,
                                      "Read X0,Y0,X1,Y1 from Map Window", "Read X0,Y0,X1,Y1 from map window",
                                      {30, 56});
    placePages_->addTab(rangePage_, QStringLiteral("Range Spot"));
    placePages_->setCurrentIndex(0);

    const QLabel* distance = makeLabel(body, QStringLiteral("Distance"), 243, 171);
    distanceField_ = makeSpin(body, "SpinEdit1", distance, 0, 255, 5, {243, 188, 56, 21});

    auto* create = new QPushButton(QStringLiteral("Create"), body);
    create->setObjectName(QStringLiteral("Button1"));
    create->setGeometry(223, 277, 75, 25);
    // "Apply" gives the spot the dialog was opened on these values, in its place.
    applyButton_ = new QPushButton(QStringLiteral("Apply"), body);
    applyButton_->setObjectName(QStringLiteral("ApplyButton"));
    applyButton_->setGeometry(144, 277, 75, 25);
    applyButton_->setEnabled(false);
    // Enter in a field must not append or change a spot: they are pressed on purpose only.
    for (QPushButton* button : {create, applyButton_}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    // Tab follows the screen: the first row, the two groups (Tab stops at the chosen
    // button of each; the arrows move within it), the page with its fields row by
    // row, "Distance" beside it, and "Create".
    QList<QWidget*> chain{monsterCombo_, mapField_};
    for (QButtonGroup* group : {spotTypeGroup_, directionGroup_}) {
        tabToCheckedButton(group);
        for (QAbstractButton* button : group->buttons()) chain << button;
    }
    chain << placePages_->tabBar() << centerXField_ << centerYField_ << showPoint << readPoint << x0Field_
          << x1Field_ << y0Field_ << y1Field_ << showRange << readRange << countField_ << distanceField_
          << applyButton_ << create;
    setTabChain(chain);
    monsterCombo_->setFocus();  // where the keyboard starts when the dialog is shown

    setFixedSize(kWidth, kStripHeight + kBodyHeight);
    move(337, 111);

    // Connected last, so that setting up the controls runs no handler.
    connect(monsterCombo_, &QComboBox::activated, this, &AddSpotDialog::showChosenMonster);
    connect(spotTypeGroup_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) applySpotType();
    });
    connect(directionGroup_, &QButtonGroup::idToggled, this, [this](int number, bool checked) {
        if (checked) chooseDirection(number);
    });
    connect(placePages_, &QTabWidget::currentChanged, this, &AddSpotDialog::runShownPageStep);
    for (SpinField* field : {centerXField_, centerYField_})
        connect(field, &SpinField::changed, this, &AddSpotDialog::pointFieldsChanged);
    for (SpinField* field : {x0Field_, y0Field_, x1Field_, y1Field_})
        connect(field, &SpinField::changed, this, &AddSpotDialog::rangeFieldsChanged);
    connect(mapField_, &SpinField::changed, this, &AddSpotDialog::mapNumberChanged);
    for (QToolButton* button : {showPoint, showRange})
        connect(button, &QToolButton::clicked, this, &AddSpotDialog::showMapAndLocation);
    connect(readPoint, &QToolButton::clicked, this, &AddSpotDialog::readPointFromMap);
    connect(readRange, &QToolButton::clicked, this, &AddSpotDialog::readRangeFromMap);
    connect(create, &QPushButton::clicked, this, &AddSpotDialog::createSpot);
    connect(applyButton_, &QPushButton::clicked, this, &AddSpotDialog::applyToSpot);
    connect(&document_, &EditorDocument::spotDeleted, this, [this](const SpawnEntry& gone) {
        if (gone.spotid == editedSpot_) editSpotOnly(-1);
    });
    connect(minimise, &QToolButton::clicked, this, &AddSpotDialog::toggleFolded);
    connect(close, &QToolButton::clicked, this, &AddSpotDialog::closeDialog);
    connect(&document_, &EditorDocument::monsterStored, this, &AddSpotDialog::monsterStored);
    installHistoryKeys(this, [this] { return &document_.history(TableFile::Spawns); });
}

AddSpotDialog::~AddSpotDialog() = default;

void AddSpotDialog::setPreview(MapPreviewWindow* preview) { preview_ = preview; }

int AddSpotDialog::spotType() const { return spotTypeGroup_->checkedId(); }

void AddSpotDialog::setSpotType(int type) {
    QAbstractButton* item = spotTypeGroup_->button(type);
    if (item && !item->isChecked()) item->setChecked(true);  // runs applySpotType
}

void AddSpotDialog::fillMonsterCombo() {
    const MonsterTable& table = document_.monsters();
    QStringList numbers;
    for (int i = 0; i < table.monstercount; ++i) numbers << QString::number(table.monsters[i].id);
    monsterCombo_->clear();
    monsterCombo_->addItems(numbers);
}

void AddSpotDialog::openFor(int monsterIndex, bool pointPage) {
    reportErrors(this, [&] {
        editSpotOnly(-1);
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

void AddSpotDialog::takeChosenMonster() {
    const std::int32_t id = comboNumber(monsterCombo_);
    currentmonster_ = document_.monsters().getmonsterbyid(id);
    nameLabel_->setText(textFromBytes(currentmonster_.name));
    levelLabel_->setText(QString::number(currentmonster_.level));
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
    if (placePages_->currentIndex() != wanted) placePages_->setCurrentIndex(wanted);
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

void AddSpotDialog::showPointPage() { placePages_->setCurrentIndex(0); }
void AddSpotDialog::showRangePage() { placePages_->setCurrentIndex(1); }

void AddSpotDialog::unfold() {
    if (body_->isHidden()) toggleFolded();
}

void AddSpotDialog::runShownPageStep() {
    QWidget* page = placePages_->currentWidget();
    if (!page || !page->isVisible()) return;
    if (page == pointPage_)
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
    reportErrors(this, [&] {
        if (button >= 1 && button <= 9) facedir_ = kKeypadDirections[button - 1];
    });
}

void AddSpotDialog::pointFieldsChanged() {
    reportErrors(this, [&] {
        if (!preview_) return;
        preview_->setSelectedCell(centerXField_->value(), centerYField_->value());
        if (preview_->isVisible()) preview_->redraw();
    });
}

void AddSpotDialog::rangeFieldsChanged() {
    reportErrors(this, [&] {
        // Keeps the first corner below the second, moving the field the operator is
        // not editing; at a bound the clamp may leave the two equal.
        SpinField* x0 = x0Field_;
        SpinField* x1 = x1Field_;
        SpinField* y0 = y0Field_;
        SpinField* y1 = y1Field_;
        if (x1->hasFocus() && x0->value() >= x1->value())
            x0->setValue(x1->value() - 1);
        else if (x0->hasFocus() && x0->value() >= x1->value())
            x1->setValue(x0->value() + 1);
        if (y1->hasFocus() && y0->value() >= y1->value())
            y0->setValue(y1->value() - 1);
        else if (y0->hasFocus() && y0->value() >= y1->value())
            y1->setValue(y0->value() + 1);

        if (!preview_) return;
        preview_->setSelectedCells(x0->value(), y0->value(), x1->value(), y1->value());
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
        if (placePages_->currentIndex() == 0)
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
        if (!preview_) return;
        const MapSelection& s = preview_->selection();
        const QSignalBlocker blockX(centerXField_);
        const QSignalBlocker blockY(centerYField_);
        centerXField_->setValue(s.selx0);
        centerYField_->setValue(s.sely0);
    });
}

void AddSpotDialog::readRangeFromMap() {
    reportErrors(this, [&] {
        if (!preview_) return;
        const MapSelection& s = preview_->selection();
        const QSignalBlocker blockX0(x0Field_);
        const QSignalBlocker blockY0(y0Field_);
        const QSignalBlocker blockX1(x1Field_);
        const QSignalBlocker blockY1(y1Field_);
        x0Field_->setValue(std::min(s.selx0, s.selx1));
        x1Field_->setValue(std::max(s.selx0, s.selx1));
        y0Field_->setValue(std::min(s.sely0, s.sely1));
        y1Field_->setValue(std::max(s.sely0, s.sely1));
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
    if (entry.ispoint) {
        entry.x0 = toByte(centerXField_->value());
        entry.y0 = toByte(centerYField_->value());
    } else {
        entry.x0 = toByte(x0Field_->value());
        entry.y0 = toByte(y0Field_->value());
        entry.x1 = toByte(x1Field_->value());
        entry.y1 = toByte(y1Field_->value());
    }
    entry.distance = toByte(distanceField_->value());
    entry.count = toByte(countField_->value());
    entry.dir = facedir_;
    return entry;
}

void AddSpotDialog::createSpot() {
    reportErrors(this, [&] { document_.appendSpot(composedSpot()); });  // fails before anything is stored
}

void AddSpotDialog::editSpotOnly(std::int32_t spotid) {
    editedSpot_ = spotid;
    applyButton_->setEnabled(spotid >= 0);
}

// The dialog filled with a spot's values, to change them with "Apply". The spot type
// and the page follow the spot, not the rules that choosing a monster applies.
void AddSpotDialog::editSpot(std::int32_t spotid) {
    reportErrors(this, [&] {
        const SpawnEntry* live = document_.spawns().liveSpot(spotid);
        if (!live) return;
        const SpawnEntry spot = *live;
        keepSpotAsIs_ = true;
        const auto rulesBack = qScopeGuard([this] { keepSpotAsIs_ = false; });
        if (!isVisible()) fillMonsterCombo();
        {
            const QSignalBlocker quietTypes(spotTypeGroup_);
            const QSignalBlocker quietPages(placePages_);
            monsterCombo_->setCurrentIndex(document_.monsters().indexOf(spot.monsterid));
            takeChosenMonster();
            spotTypeGroup_->button(spot.spottype)->setChecked(true);
            placePages_->setCurrentWidget(spot.ispoint ? pointPage_ : rangePage_);
        }
        valuesOutOfBounds_.clear();
        const auto put = [this](SpinField* field, int value, const char* name) {
            field->setValue(value);
            if (field->value() != value)
                valuesOutOfBounds_ << QStringLiteral("%1 %2 becomes %3").arg(QLatin1String(name)).arg(value).arg(field->value());
        };
        put(mapField_, spot.mapnumber, "map");
        put(distanceField_, spot.distance, "distance");
        if (spot.ispoint) {
            put(centerXField_, spot.x0, "x");
            put(centerYField_, spot.y0, "y");
        } else {
            const QSignalBlocker quietX0(x0Field_), quietY0(y0Field_), quietX1(x1Field_), quietY1(y1Field_);
            put(x0Field_, spot.x0, "x0");
            put(y0Field_, spot.y0, "y0");
            put(x1Field_, spot.x1, "x1");
            put(y1Field_, spot.y1, "y1");
            put(countField_, spot.count, "count");
            if (preview_) preview_->setSelectedCells(x0Field_->value(), y0Field_->value(), x1Field_->value(), y1Field_->value());
        }
        showDirection(spot.dir);
        editSpotOnly(spotid);
        show();
        unfold();
        activateWindow();
    });
}

// The keypad shows the direction when it has a button for it, else no button.
void AddSpotDialog::showDirection(std::int32_t dir) {
    const QSignalBlocker quiet(directionGroup_);
    const auto at = std::find(kKeypadDirections.begin(), kKeypadDirections.end(), dir);
    directionGroup_->setExclusive(false);
    for (QAbstractButton* key : directionGroup_->buttons()) key->setChecked(false);
    if (at != kKeypadDirections.end())
        directionGroup_->button(static_cast<int>(at - kKeypadDirections.begin()) + 1)->setChecked(true);
    directionGroup_->setExclusive(true);
    facedir_ = dir;
}

void AddSpotDialog::applyToSpot() {
    reportErrors(this, [&] {
        const SpawnEntry* live = document_.spawns().liveSpot(editedSpot_);
        if (!live) return;
        const SpawnEntry& old = *live;
        SpawnEntry values = composedSpot();
        if (values.ispoint) {  // a point's second corner and count are not written: they stay
            values.x1 = old.x1;
            values.y1 = old.y1;
            values.count = old.count;
        }
        if (!valuesOutOfBounds_.isEmpty() &&
            !messageBoxes().question(this, QStringLiteral("The fields could not show every value of spot %1: %2. "
                                                          "Apply these values all the same?")
                                               .arg(editedSpot_)
                                               .arg(valuesOutOfBounds_.join(QStringLiteral(", ")))))
            return;
        valuesOutOfBounds_.clear();
        document_.changeSpot(editedSpot_, values, QStringLiteral("change"));
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
