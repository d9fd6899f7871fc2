#include "StatsPage.h"

#include <string>

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>

#include "ByteText.h"
#include "ErrorReport.h"
#include "GridDelegate.h"
#include "LineFormat.h"
#include "Numbers.h"
#include "SaveQuestion.h"
#include "SpinField.h"
#include "TableError.h"
#include "TextFile.h"

namespace {

struct FieldDesign {
    const char* name;
    const char* caption;
    int min;
    int max;
    int group;  // 0, 1, 2: the three framed groups
    int row;
    int column;  // 0 left, 1 right
};

// Column order of the line: 4..12, 17..19, 25..28. The move range (column 13) is
// the drop-down list between the first nine and the rest.
constexpr int kMillion = 1000000;
constexpr FieldDesign kFields[16] = {
    {"Vlvl", "LVL", 1, 255, 0, 0, 0},
    {"VHP", "HP", 1, kMillion, 0, 1, 0},
    {"VMP", "MP", 0, kMillion, 0, 1, 1},
    {"VDMGMIN", "DmgMin", 1, kMillion, 1, 0, 0},
    {"VDMGmax", "DmgMax", 1, kMillion, 1, 0, 1},
    {"VDEF", "p.Def", 1, kMillion, 0, 2, 0},
    {"VDEFM", "m.Def", 0, kMillion, 0, 2, 1},
    {"VATTCKRATE", "AttackRate", 1, kMillion, 1, 1, 0},
    {"VDEFRATE", "DefRate", 1, kMillion, 0, 3, 0},
    {"Vspeed", "moveSpeed", 1, kMillion, 2, 0, 0},
    {"Vatackspeed", "AtackSpeed 2000/", 1, 2000, 1, 2, 0},
    {"VRegeneration", "RespawnTime(sec)", 1, kMillion, 2, 2, 0},
    {"VPoisonRezist", "Poison Rezist", 0, 0, 0, 5, 1},
    {"VIceRezist", "Ice Rezist", 0, 0, 0, 5, 0},
    {"VLightRezist", "Lightning rezist", 0, 0, 0, 4, 0},
    {"VFireRezist", "Fire Rezist", 0, 0, 0, 4, 1},
};
constexpr int kFieldsBeforeMoveRange = 9;
constexpr int kMoveRangeColumnIndex = 13;

const char* const kMoveRanges[] = {"Cant Move", "very low", "low", "normal", "High", "Great!"};

// Geometry of the panel, in pixels.
constexpr int kListWidth = 266;
constexpr int kStripWidth = 30;
constexpr int kRowHeight = 38;
constexpr int kFieldHeight = 20;

QString decoded(std::string_view bytes) { return textFromBytes(bytes); }

// Column 13 of a stored line, as a number.
std::int32_t storedMoveRange(const std::string& line) {
    TokenReader reader(line);
    for (int column = 1; column < kMoveRangeColumnIndex; ++column) reader.next();
    return toInteger(reader.next(), true);
}

}  // namespace

StatsPage::StatsPage(MonsterTable& table, std::filesystem::path workFolder, QWidget* parent)
    : QWidget(parent), table_(table), workFolder_(std::move(workFolder)) {
    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setColumnCount(2);
    ListView1->setHeaderLabels({QStringLiteral("MonsterName"), QStringLiteral("Id")});
    ListView1->setColumnWidth(0, 200);
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setSortingEnabled(false);
    ListView1->header()->setSectionsClickable(false);
    ListView1->header()->setSectionsMovable(false);
    ListView1->header()->setMinimumSectionSize(16);
    ListView1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setItemDelegate(new GridDelegate(ListView1));
    QFont bold;  // only the weight: the family and size come from the window
    bold.setBold(true);
    ListView1->setFont(bold);
    QPalette listColours = ListView1->palette();  // the selection stays visible without focus
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        listColours.setColor(QPalette::Inactive, role, listColours.color(QPalette::Active, role));
    ListView1->setPalette(listColours);

    strip_ = new QFrame(this);
    SpeedButton8 = new QToolButton(strip_);
    SpeedButton8->setObjectName(QStringLiteral("SpeedButton8"));
    SpeedButton8->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    SpeedButton8->setAutoRaise(true);
    SpeedButton8->setGeometry(3, 2, 24, 24);
    Button1 = new QToolButton(strip_);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setToolTip(QStringLiteral(">Edit Selected"));
    Button1->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    Button1->setAutoRaise(true);
    Button1->setGeometry(3, 30, 24, 24);

    buildPanel();

    connect(ListView1, &QTreeWidget::itemSelectionChanged, this, &StatsPage::ListView1SelectItem);
    connect(Button1, &QToolButton::clicked, this, &StatsPage::Button1Click);
    connect(SpeedButton8, &QToolButton::clicked, this, &StatsPage::SpeedButton8Click);
    connect(Button3, &QPushButton::clicked, this, &StatsPage::Button3Click);
    connect(Button2, &QPushButton::clicked, this, &StatsPage::Button2Click);
    for (SpinField* field : fields_) connect(field, &SpinField::changed, this, &StatsPage::VlvlChange);
    // Only the operator's choice counts as a change; the program's reset does not.
    connect(combomvrag, &QComboBox::activated, this, &StatsPage::VlvlChange);
}

void StatsPage::buildPanel() {
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);
    Panel1->setEnabled(false);
    QPalette locked = Panel1->palette();  // the locked panel still shows the monster
    locked.setColor(QPalette::Disabled, QPalette::WindowText, QColor(96, 96, 96));
    locked.setColor(QPalette::Disabled, QPalette::Text, QColor(80, 80, 80));
    locked.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(128, 128, 128));
    Panel1->setPalette(locked);

    auto* idRow = new QGroupBox(Panel1);
    idRow->setGeometry(4, 2, 300, 34);
    auto* idCaption = new QLabel(QStringLiteral("ID:"), idRow);
    idCaption->setGeometry(8, 10, 18, 16);
    ViD = new QLabel(idRow);
    ViD->setObjectName(QStringLiteral("ViD"));
    ViD->setGeometry(28, 10, 56, 16);
    auto* nameCaption = new QLabel(QStringLiteral("name"), idRow);
    nameCaption->setGeometry(88, 10, 34, 16);
    Vname = new QLabel(idRow);
    Vname->setObjectName(QStringLiteral("Vname"));
    Vname->setGeometry(124, 10, 172, 16);

    // Per group: frame, and the width of one cell (caption over field) of its two columns.
    const QRect groupRects[3] = {{4, 40, 166, 238}, {174, 40, 130, 124}, {4, 282, 166, 124}};
    const int cellWidths[3] = {80, 62, 80};
    QGroupBox* groups[3];
    for (int g = 0; g < 3; ++g) {
        groups[g] = new QGroupBox(Panel1);
        groups[g]->setGeometry(groupRects[g]);
    }
    const auto placeCell = [&](QWidget* field, const char* caption, int group, int row, int column,
                               int fieldWidth) {
        const int cell = cellWidths[group];
        const int x = 6 + column * cell;
        const int y = 6 + row * kRowHeight;
        auto* label = new QLabel(QString::fromLatin1(caption), groups[group]);
        label->setGeometry(x, y, column == 0 ? 2 * cell - 8 : cell - 4, 14);
        field->setParent(groups[group]);
        field->setGeometry(x, y + 14, fieldWidth, kFieldHeight);
    };
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const FieldDesign& design = kFields[i];
        auto* field = new SpinField(Panel1);
        field->setObjectName(QString::fromLatin1(design.name));
        field->setBounds(design.min, design.max);
        field->setValue(design.min);
        placeCell(field, design.caption, design.group, design.row, design.column,
                  cellWidths[design.group] - 8);
        fields_[i] = field;
    }
    fields_[0]->setTypingAllowed(false);  // the level changes only by its arrows

    combomvrag = new QComboBox(Panel1);
    combomvrag->setObjectName(QStringLiteral("combomvrag"));
    combomvrag->setEditable(false);
    for (const char* item : kMoveRanges) combomvrag->addItem(QString::fromLatin1(item));
    combomvrag->setCurrentIndex(-1);
    placeCell(combomvrag, "MoveRange", 2, 1, 0, 150);

    Button3 = new QPushButton(QStringLiteral("OK"), Panel1);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setGeometry(196, 300, 75, 25);
    Button3->setEnabled(false);
    Button2 = new QPushButton(QStringLiteral("Cancel"), Panel1);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(196, 336, 75, 25);
    Button2->setEnabled(false);
}

void StatsPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ListView1->setGeometry(0, 0, kListWidth, height());
    strip_->setGeometry(kListWidth, 0, kStripWidth, height());
    Panel1->setGeometry(kListWidth + kStripWidth, 0, width() - kListWidth - kStripWidth, height());
}

void StatsPage::fillList() {
    {
        const QSignalBlocker quiet(ListView1);
        ListView1->clear();
        for (int i = 0; i < table_.monstercount; ++i) {
            const MonsterDataRecord& monster = table_.monsters[static_cast<std::size_t>(i)];
            auto* item = new QTreeWidgetItem(ListView1);
            item->setText(0, decoded(monster.name));
            item->setText(1, QString::number(monster.id));
        }
    }
    selectIndex(0);
}

int StatsPage::selectedIndex() const {
    const auto selected = ListView1->selectedItems();
    return selected.isEmpty() ? -1 : ListView1->indexOfTopLevelItem(selected.first());
}

void StatsPage::selectIndex(int index) {
    QTreeWidgetItem* item = ListView1->topLevelItem(index);
    if (!item) return;
    ListView1->setCurrentItem(item);
    item->setSelected(true);
    ListView1->scrollToItem(item);
}

void StatsPage::ListView1SelectItem() {
    reportErrors(this, [&] {
        const int index = selectedIndex();
        if (index >= 0) showMonster(index);
    });
}

void StatsPage::showMonster(int index) {
    if (index >= table_.monstercount || index >= static_cast<int>(table_.monsterlines.size())) return;
    const std::string& line = table_.monsterlines[static_cast<std::size_t>(index)];
    TokenReader reader(line);
    const auto number = [&] { return toInteger(reader.next(), true); };
    try {
        ViD->setText(decoded(reader.next()));
        reader.next();
        Vname->setText(decoded(reader.next()));
        for (int i = 0; i < kFieldsBeforeMoveRange; ++i) fields_[static_cast<std::size_t>(i)]->setValue(number());
        const std::int32_t move = number();
        combomvrag->setCurrentIndex(move >= 0 && move <= 5 ? move : -1);
        for (int skip = 0; skip < 3; ++skip) reader.next();
        for (int i = 9; i < 12; ++i) fields_[static_cast<std::size_t>(i)]->setValue(number());
        for (int skip = 0; skip < 5; ++skip) reader.next();
        for (int i = 12; i < 15; ++i) fields_[static_cast<std::size_t>(i)]->setValue(number());
        fields_[15]->setValue(toInteger(reader.rest(), true));
    } catch (const TableError& error) {
        if (error.line() != 0) throw;
        throw error.at(monsterFileLabel(), index + 1);
    }
}

void StatsPage::Button1Click() {
    reportErrors(this, [&] {
        const int index = selectedIndex();
        if (index < 0) return;
        Button1->setEnabled(false);
        editing_ = true;
        emit editStateChanged(true);
        Button2->setEnabled(true);
        Button3->setEnabled(false);
        ListView1->setEnabled(false);
        Panel1->setEnabled(true);
        showMonster(index);
    });
}

void StatsPage::VlvlChange() {
    reportErrors(this, [&] {
        if (Panel1->isEnabled()) Button3->setEnabled(true);
    });
}

void StatsPage::storeMonster(int index) {
    auto& line = table_.monsterlines.at(static_cast<std::size_t>(index));
    std::array<std::int32_t, kEditableColumns> values{};
    for (int i = 0; i < kFieldsBeforeMoveRange; ++i) values[static_cast<std::size_t>(i)] = fields_[static_cast<std::size_t>(i)]->value();
    // With no entry chosen (a stored move range outside 0..5) the stored value stays.
    const int move = combomvrag->currentIndex();
    std::int32_t moveValue = move;
    if (move < 0) {
        try {
            moveValue = storedMoveRange(line);
        } catch (const TableError& error) {
            throw error.at(monsterFileLabel(), index + 1);
        }
    }
    values[kFieldsBeforeMoveRange] = moveValue;
    for (std::size_t i = kFieldsBeforeMoveRange; i < fields_.size(); ++i) values[i + 1] = fields_[i]->value();

    std::string rebuilt = rebuildmonsterline(line, values);
    if (move >= 0) table_.monsters.at(static_cast<std::size_t>(index)).canmove = move != 0;
    line = std::move(rebuilt);
}

void StatsPage::Button3Click() {
    reportErrors(this, [&] {
        Button3->setEnabled(false);
        const int index = selectedIndex();
        if (index >= 0) storeMonster(index);
        Button2Click();
        if (index >= 0) emit monsterStored(index);
    });
}

void StatsPage::Button2Click() {
    reportErrors(this, [&] {
        ListView1->setEnabled(true);
        Panel1->setEnabled(false);
        Button3->setEnabled(false);
        Button2->setEnabled(false);
        Button1->setEnabled(true);
        editing_ = false;
        emit editStateChanged(false);
    });
}

void StatsPage::SpeedButton8Click() {
    reportErrors(this, [&] {
        if (mayOverwrite(this, table_.checkSave(workFolder_))) table_.savemonsterdata(workFolder_);
    });
}
