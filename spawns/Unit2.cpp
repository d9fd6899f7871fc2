#include "LazyIcon.h"
#include "Unit2.h"

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
#include <QRadioButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>

#include "ByteText.h"
#include "Colours.h"
#include "ErrorReport.h"
#include "FormFont.h"
#include "Forms.h"
#include "Numbers.h"
#include "SpawnPage.h"
#include "SpinField.h"
#include "TabChain.h"
#include "Unit4.h"
#include "WindowDrag.h"
#include "Workspace.h"

namespace {

constexpr int kWidth = 305;
constexpr int kStripHeight = 30;
constexpr int kBodyHeight = 310;

// Item index = spot type code.
constexpr std::array<const char*, 5> kSpotTypeItems = {
    "Npc (point Spot)",       "Monsters (Range Spot)", "Monsters (Point Spot)",
    "Dragoin Invasion (Range Spot)", "Blood Castle",
};

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

struct TForm2::Impl {
    explicit Impl(Forms& f) : forms(f) {}

    Forms& forms;
    QLabel* panel3 = nullptr;
    QFrame* panel2 = nullptr;
    QComboBox* combo = nullptr;
    SpinField* spinEdit2 = nullptr;
    SpinField* spinEdit1 = nullptr;
    QLabel* nameLabel = nullptr;
    QLabel* levelLabel = nullptr;
    QButtonGroup* spotTypes = nullptr;
    QButtonGroup* keypad = nullptr;
    QTabWidget* pages = nullptr;
    QWidget* tabSheet1 = nullptr;
    QWidget* tabSheet2 = nullptr;
    SpinField* spinEditX = nullptr;
    SpinField* spinEditY = nullptr;
    SpinField* spinX0 = nullptr;
    SpinField* spinY0 = nullptr;
    SpinField* spinX1 = nullptr;
    SpinField* spinY1 = nullptr;
    SpinField* spincount = nullptr;

    TForm4* preview() const { return forms.form4; }
    void redrawPreviewIfShown() const {
        if (preview() && preview()->isVisible()) preview()->redraw();
    }
};

TForm2::TForm2(Forms& forms, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      d_(std::make_unique<Impl>(forms)) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Add Monster Location"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kFormColour);
    setPalette(palette);
    setAutoFillBackground(true);
    setFont(formFont());

    // Title strip with the minimise and close buttons at its right end.
    d_->panel3 = new QLabel(QStringLiteral("             Add Monster Location"), this);
    d_->panel3->setObjectName(QStringLiteral("Panel3"));
    d_->panel3->setGeometry(0, 0, kWidth, kStripHeight);
    d_->panel3->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    d_->panel3->setFrameShape(QFrame::Panel);
    d_->panel3->setFrameShadow(QFrame::Raised);
    QFont stripFont = d_->panel3->font();
    stripFont.setBold(true);
    stripFont.setPixelSize(13);
    d_->panel3->setFont(stripFont);
    QPalette stripPalette = d_->panel3->palette();
    stripPalette.setColor(QPalette::Window, kStripColour);
    d_->panel3->setPalette(stripPalette);
    d_->panel3->setAutoFillBackground(true);
    installWindowDrag(d_->panel3);
    auto* minimise = makeGlyphButton(d_->panel3, "SpeedButton1", QStyle::SP_TitleBarMinButton,
                                     "Minimise Window", "Minimise window", {kWidth - 52, 4});
    auto* close = makeGlyphButton(d_->panel3, "SpeedButton4", QStyle::SP_TitleBarCloseButton,
                                  "Close Add Location Window", "Close add location window", {kWidth - 27, 4});
    // As a system title bar's buttons: the mouse's alone.
    for (QToolButton* button : {minimise, close}) button->setFocusPolicy(Qt::NoFocus);

    // Body panel: every other control.
    d_->panel2 = new QFrame(this);
    d_->panel2->setObjectName(QStringLiteral("Panel2"));
    d_->panel2->setGeometry(0, kStripHeight, kWidth, kBodyHeight);
    d_->panel2->setFrameShape(QFrame::Panel);
    d_->panel2->setFrameShadow(QFrame::Raised);
    QWidget* body = d_->panel2;

    // The first row's captions span the row's height, centred beside their fields.
    const QLabel* idCaption = makeRowLabel(body, QStringLiteral("Monster ID:"), 8, 8);
    d_->combo = new QComboBox(body);
    d_->combo->setObjectName(QStringLiteral("MonsterIDcombo"));
    d_->combo->setAccessibleName(idCaption->text().remove(QLatin1Char(':')));
    d_->combo->setEditable(false);
    d_->combo->setMaxVisibleItems(10);
    d_->combo->setGeometry(72, 8, 105, 21);
    useFieldColour(d_->combo);
    const QLabel* mapCaption = makeRowLabel(body, QStringLiteral("Map:"), 195, 8);
    d_->spinEdit2 = makeSpin(body, "SpinEdit2", mapCaption, 0, 250, 0, {225, 8, 74, 21});

    // Each value label follows its caption, whatever the width of the face in use.
    const QLabel* nameCaption = makeLabel(body, QStringLiteral("Monster Name:"), 8, 38);
    d_->nameLabel = makeLabel(body, QStringLiteral("NAME"), nameCaption->geometry().right() + 4, 38);
    d_->nameLabel->setObjectName(QStringLiteral("MonsterNameLabel"));
    const QLabel* levelCaption = makeLabel(body, QStringLiteral("Monster lvl      :"), 190, 38);
    d_->levelLabel = makeLabel(body, QStringLiteral("LVL"), levelCaption->geometry().right() + 4, 38);
    d_->levelLabel->setObjectName(QStringLiteral("monsterlvllabel"));
    for (QLabel* label : {d_->nameLabel, d_->levelLabel}) {
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        const int right = label == d_->nameLabel ? 186 : kWidth - 2;
        label->resize(std::max(right - label->x(), 20), label->height());
    }

    auto* radioGroup1 = new QGroupBox(QStringLiteral("Spot Type (respawn type)"), body);
    radioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    radioGroup1->setGeometry(9, 56, 192, 96);
    d_->spotTypes = new QButtonGroup(this);
    for (int type = 0; type < static_cast<int>(kSpotTypeItems.size()); ++type) {
        auto* item = new QRadioButton(
            QString::fromLatin1(kSpotTypeItems[type]).leftJustified(32, QLatin1Char(' ')),
            radioGroup1);
        item->setGeometry(8, 17 + type * 15, 180, 15);
        d_->spotTypes->addButton(item, type);
    }
    d_->spotTypes->button(0)->setChecked(true);

    auto* faceDir = new QGroupBox(QStringLiteral(" Face Dir  "), body);
    faceDir->setObjectName(QStringLiteral("GroupBox1"));
    faceDir->setGeometry(217, 56, 79, 95);
    d_->keypad = new QButtonGroup(this);
    for (int i = 0; i < 9; ++i) {
        auto* key = new QRadioButton(faceDir);
        key->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
        key->setAccessibleName(QStringLiteral("Face Dir %1, %2")
                                   .arg(kKeypadDirections[i])
                                   .arg(QString::fromLatin1(kKeypadPlaces[i])));
        key->setGeometry(10 + (i % 3) * 22, 20 + (i / 3) * 23, 17, 17);
        d_->keypad->addButton(key, i + 1);
    }
    d_->keypad->button(5)->setChecked(true);

    d_->pages = new QTabWidget(body);
    d_->pages->setObjectName(QStringLiteral("PageControl1"));
    d_->pages->setDocumentMode(true);
    d_->pages->setGeometry(6, 157, 225, 109);
    // Made inside the dialog, so that their captions are measured in its font.
    d_->tabSheet1 = new QWidget(d_->pages);
    d_->tabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    const QLabel* centerX = makeLabel(d_->tabSheet1, QStringLiteral("Center X"), 4, 7);
    d_->spinEditX = makeSpin(d_->tabSheet1, "SpinEditX", centerX, 2, 250, 127, {58, 4, 60, 21});
    const QLabel* centerY = makeLabel(d_->tabSheet1, QStringLiteral("Center Y"), 4, 31);
    d_->spinEditY = makeSpin(d_->tabSheet1, "SpinEditY", centerY, 2, 250, 127, {58, 28, 60, 21});
    auto* showPoint = makeGlyphButton(d_->tabSheet1, "SpeedButton9", QStyle::SP_FileDialogContentsView,
                                      "Show Map and this location", "Show map and this location", {4, 56});
    auto* readPoint = makeGlyphButton(d_->tabSheet1, "SpeedButton5", QStyle::SP_ArrowDown,
                                      "Read X,Y from Map Window", "Read X,Y from map window", {30, 56});
    d_->pages->addTab(d_->tabSheet1, QStringLiteral("Point Spot"));

    d_->tabSheet2 = new QWidget(d_->pages);
    d_->tabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    const QLabel* x0 = makeLabel(d_->tabSheet2, QStringLiteral("X0"), 4, 7);
    d_->spinX0 = makeSpin(d_->tabSheet2, "SpinX0", x0, 2, 250, 127, {22, 4, 52, 21});
    const QLabel* x1 = makeLabel(d_->tabSheet2, QStringLiteral("X1"), 80, 7);
    d_->spinX1 = makeSpin(d_->tabSheet2, "SpinX1", x1, 2, 250, 128, {98, 4, 52, 21});
    const QLabel* y0 = makeLabel(d_->tabSheet2, QStringLiteral("Y0"), 4, 31);
    d_->spinY0 = makeSpin(d_->tabSheet2, "SpinY0", y0, 2, 250, 127, {22, 28, 52, 21});
    const QLabel* y1 = makeLabel(d_->tabSheet2, QStringLiteral("Y1"), 80, 31);
    d_->spinY1 = makeSpin(d_->tabSheet2, "SpinY1", y1, 2, 250, 128, {98, 28, 52, 21});
    const QLabel* countCaption = makeLabel(d_->tabSheet2, QStringLiteral("MonsterCount"), 60, 60);
    d_->spincount = makeSpin(d_->tabSheet2, "spincount", countCaption, 1, 255, 5,
                             {countCaption->geometry().right() + 4, 56, 56, 21});
    auto* showRange = makeGlyphButton(d_->tabSheet2, "SpeedButton2", QStyle::SP_FileDialogContentsView,
                                      "Show Map and this location", "Show map and this location", {4, 56});
    auto* readRange = makeGlyphButton(d_->tabSheet2, "SpeedButton3", QStyle::SP_ArrowDown,
                                      "Read X0,Y0,X1,Y1 from Map Window", "Read X0,Y0,X1,Y1 from map window",
                                      {30, 56});
    d_->pages->addTab(d_->tabSheet2, QStringLiteral("Range Spot"));
    d_->pages->setCurrentIndex(0);

    const QLabel* distance = makeLabel(body, QStringLiteral("Distance"), 243, 171);
    d_->spinEdit1 = makeSpin(body, "SpinEdit1", distance, 0, 255, 5, {243, 188, 56, 21});

    auto* create = new QPushButton(QStringLiteral("Create"), body);
    create->setObjectName(QStringLiteral("Button1"));
    create->setGeometry(223, 277, 75, 25);
    // Enter in a field must not append a spot: "Create" is pressed on purpose only.
    create->setAutoDefault(false);
    create->setDefault(false);

    // Tab follows the screen: the first row, the two groups (Tab stops at the chosen
    // button of each; the arrows move within it), the page with its fields row by
    // row, "Distance" beside it, and "Create".
    QList<QWidget*> chain{d_->combo, d_->spinEdit2};
    for (QButtonGroup* group : {d_->spotTypes, d_->keypad}) {
        tabToCheckedButton(group);
        for (QAbstractButton* button : group->buttons()) chain << button;
    }
    chain << d_->pages->tabBar() << d_->spinEditX << d_->spinEditY << showPoint << readPoint << d_->spinX0
          << d_->spinX1 << d_->spinY0 << d_->spinY1 << showRange << readRange << d_->spincount << d_->spinEdit1
          << create;
    setTabChain(chain);
    d_->combo->setFocus();  // where the keyboard starts when the dialog is shown

    setFixedSize(kWidth, kStripHeight + kBodyHeight);
    move(337, 111);

    // Connected last, so that setting up the controls runs no handler.
    connect(d_->combo, &QComboBox::activated, this, &TForm2::MonsterIDcomboChange);
    connect(d_->spotTypes, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) RadioGroup1Click();
    });
    connect(d_->keypad, &QButtonGroup::idToggled, this, [this](int number, bool checked) {
        if (checked) RadioButtonClick(number);
    });
    connect(d_->pages, &QTabWidget::currentChanged, this, &TForm2::runVisiblePageShow);
    for (SpinField* field : {d_->spinEditX, d_->spinEditY})
        connect(field, &SpinField::changed, this, &TForm2::SpinEditXChange);
    for (SpinField* field : {d_->spinX0, d_->spinY0, d_->spinX1, d_->spinY1})
        connect(field, &SpinField::changed, this, &TForm2::SpinX0Change);
    connect(d_->spinEdit2, &SpinField::changed, this, &TForm2::SpinEdit2Change);
    for (QToolButton* button : {showPoint, showRange})
        connect(button, &QToolButton::clicked, this, &TForm2::SpeedButton9Click);
    connect(readPoint, &QToolButton::clicked, this, &TForm2::SpeedButton5Click);
    connect(readRange, &QToolButton::clicked, this, &TForm2::SpeedButton3Click);
    connect(create, &QPushButton::clicked, this, &TForm2::Button1Click);
    connect(minimise, &QToolButton::clicked, this, &TForm2::SpeedButton1Click);
    connect(close, &QToolButton::clicked, this, &TForm2::SpeedButton4Click);
}

TForm2::~TForm2() = default;

QComboBox* TForm2::monsterIdCombo() const { return d_->combo; }

int TForm2::spotType() const { return d_->spotTypes->checkedId(); }

void TForm2::setSpotType(int type) {
    QAbstractButton* item = d_->spotTypes->button(type);
    if (item && !item->isChecked()) item->setChecked(true);  // runs RadioGroup1Click
}

void TForm2::MonsterIDcomboChange() {
    reportErrors(this, [&] {
        const std::int32_t id = comboNumber(d_->combo);
        currentmonster = d_->forms.tables->monsters.getmonsterbyid(id);
        d_->nameLabel->setText(textFromBytes(currentmonster.name));
        d_->levelLabel->setText(QString::number(currentmonster.level));
        if (currentmonster.canmove && spotType() == 0)
            setSpotType(1);
        else if (!currentmonster.canmove && spotType() != 0)
            setSpotType(0);
    });
}

void TForm2::RadioGroup1Click() {
    reportErrors(this, [&] {
        if (spotType() == 0) {
            const std::int32_t id = comboNumber(d_->combo);
            if (d_->forms.tables->monsters.getmonsterbyid(id).canmove) setSpotType(2);
        }
        const int wanted = isPointType(spotType()) ? 0 : 1;
        if (d_->pages->currentIndex() != wanted) d_->pages->setCurrentIndex(wanted);
    });
}

void TForm2::showPointPage() { d_->pages->setCurrentIndex(0); }
void TForm2::showRangePage() { d_->pages->setCurrentIndex(1); }

void TForm2::showBody() {
    if (d_->panel2->isHidden()) SpeedButton1Click();
}

void TForm2::runVisiblePageShow() {
    QWidget* page = d_->pages->currentWidget();
    if (!page || !page->isVisible()) return;
    if (page == d_->tabSheet1)
        TabSheet1Show();
    else
        TabSheet2Show();
}

void TForm2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) runVisiblePageShow();
}

void TForm2::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape || event->modifiers() != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    SpeedButton4Click();
    if (SpawnPage* page = d_->forms.spawnPage) page->window()->activateWindow();
}

void TForm2::TabSheet1Show() {
    reportErrors(this, [&] {
        if (TForm4* preview = d_->preview()) {
            preview->showselection = true;
            preview->pointselection = true;
        }
        if (currentmonster.canmove && spotType() == 0) setSpotType(2);
        if (spotType() == 1 || spotType() == 3) setSpotType(2);
    });
}

void TForm2::TabSheet2Show() {
    reportErrors(this, [&] {
        if (TForm4* preview = d_->preview()) {
            preview->showselection = true;
            preview->pointselection = false;
        }
        if (isPointType(spotType())) setSpotType(1);
    });
}

void TForm2::RadioButtonClick(int number) {
    reportErrors(this, [&] {
        if (number >= 1 && number <= 9) facedir = kKeypadDirections[number - 1];
    });
}

void TForm2::SpinEditXChange() {
    reportErrors(this, [&] {
        TForm4* preview = d_->preview();
        if (!preview) return;
        preview->selx0 = d_->spinEditX->value();
        preview->sely0 = d_->spinEditY->value();
        d_->redrawPreviewIfShown();
    });
}

void TForm2::SpinX0Change() {
    reportErrors(this, [&] {
        // Keeps the first corner below the second, moving the field the operator is
        // not editing; at a bound the clamp may leave the two equal.
        SpinField* x0 = d_->spinX0;
        SpinField* x1 = d_->spinX1;
        SpinField* y0 = d_->spinY0;
        SpinField* y1 = d_->spinY1;
        if (x1->hasFocus() && x0->value() >= x1->value())
            x0->setValue(x1->value() - 1);
        else if (x0->hasFocus() && x0->value() >= x1->value())
            x1->setValue(x0->value() + 1);
        if (y1->hasFocus() && y0->value() >= y1->value())
            y0->setValue(y1->value() - 1);
        else if (y0->hasFocus() && y0->value() >= y1->value())
            y1->setValue(y0->value() + 1);

        TForm4* preview = d_->preview();
        if (!preview) return;
        preview->selx0 = x0->value();
        preview->sely0 = y0->value();
        preview->selx1 = x1->value();
        preview->sely1 = y1->value();
        d_->redrawPreviewIfShown();
    });
}

void TForm2::SpinEdit2Change() {
    reportErrors(this, [&] {
        TForm4* preview = d_->preview();
        if (!d_->forms.previewReady || !preview) return;
        const int map = d_->spinEdit2->value();
        const std::filesystem::path picture = mapPicturePath(d_->forms.programFolder, map);
        // A missing or unreadable picture shows the "no map" background under the title
        // of this map, never the last map's picture; an unreadable one is reported.
        const auto showNoPicture = [&] {
            preview->setPictureVisible(false);
            preview->setTitle(previewTitle(d_->nameLabel->text(), map));
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
        preview->setTitle(previewTitle(d_->nameLabel->text(), map));
        QApplication::processEvents();
        preview->setPictureVisible(true);
    });
}

void TForm2::SpeedButton9Click() {
    reportErrors(this, [&] {
        SpinEdit2Change();
        if (d_->pages->currentIndex() == 0)
            TabSheet1Show();
        else
            TabSheet2Show();
        if (TForm4* preview = d_->preview()) {
            preview->redraw();
            preview->show();
        }
    });
}

void TForm2::SpeedButton5Click() {
    reportErrors(this, [&] {
        TForm4* preview = d_->preview();
        if (!preview) return;
        const QSignalBlocker blockX(d_->spinEditX);
        const QSignalBlocker blockY(d_->spinEditY);
        d_->spinEditX->setValue(preview->selx0);
        d_->spinEditY->setValue(preview->sely0);
    });
}

void TForm2::SpeedButton3Click() {
    reportErrors(this, [&] {
        TForm4* preview = d_->preview();
        if (!preview) return;
        const QSignalBlocker blockX0(d_->spinX0);
        const QSignalBlocker blockY0(d_->spinY0);
        const QSignalBlocker blockX1(d_->spinX1);
        const QSignalBlocker blockY1(d_->spinY1);
        d_->spinX0->setValue(std::min(preview->selx0, preview->selx1));
        d_->spinX1->setValue(std::max(preview->selx0, preview->selx1));
        d_->spinY0->setValue(std::min(preview->sely0, preview->sely1));
        d_->spinY1->setValue(std::max(preview->sely0, preview->sely1));
    });
}

void TForm2::Button1Click() {
    reportErrors(this, [&] {
        SpawnEntry entry;
        entry.monsterid = comboNumber(d_->combo);  // fails before anything is stored
        const int type = spotType();
        entry.spottype = static_cast<std::uint8_t>(type);
        entry.ispoint = isPointType(type);
        entry.mapnumber = toByte(d_->spinEdit2->value());
        if (entry.ispoint) {
            entry.x0 = toByte(d_->spinEditX->value());
            entry.y0 = toByte(d_->spinEditY->value());
            entry.x1 = 0;
            entry.y1 = 0;
        } else {
            entry.x0 = toByte(d_->spinX0->value());
            entry.y0 = toByte(d_->spinY0->value());
            entry.x1 = toByte(d_->spinX1->value());
            entry.y1 = toByte(d_->spinY1->value());
        }
        entry.distance = toByte(d_->spinEdit1->value());
        entry.count = toByte(d_->spincount->value());
        entry.dir = facedir;
        d_->forms.tables->spawns.append(entry);

        SpawnPage* page = d_->forms.spawnPage;
        if (!page) return;
        const int monsterIndex = d_->combo->currentIndex();
        if (monsterIndex == page->selectedMonsterIndex()) page->allmonsterlistClick();
        page->setMonsterIcon(monsterIndex, true);
        page->selectMapText(QString::number(entry.mapnumber));
        page->MapListChange();
        if (entry.ispoint)
            page->showPointListPage();
        else
            page->showRangeListPage();
    });
}

void TForm2::SpeedButton1Click() {
    reportErrors(this, [&] {
        const bool unfold = d_->panel2->isHidden();
        d_->panel2->setVisible(unfold);
        setFixedSize(kWidth, unfold ? kStripHeight + kBodyHeight : kStripHeight);
        // Unfolding shows the active page again, which is a showing of that page.
        if (unfold) runVisiblePageShow();
    });
}

void TForm2::SpeedButton4Click() {
    reportErrors(this, [&] { hide(); });
}
