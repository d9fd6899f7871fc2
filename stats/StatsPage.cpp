#include "LazyIcon.h"
#include "StatsPage.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <tuple>

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>
#include <QTreeView>

#include "ByteText.h"
#include "EditorDocument.h"
#include "ErrorReport.h"
#include "MessageBoxes.h"
#include "EventHook.h"
#include "GridDelegate.h"
#include "HistoryMarks.h"
#include "ListFilter.h"
#include "ReportList.h"
#include "ReviewButton.h"
#include "SaveQuestion.h"
#include "SpinField.h"
#include "TabChain.h"
#include "TextFile.h"

namespace {

// The control that shows each field of kMonsterFields, and its caption.
struct FieldWidget {
    const char* objectName;
    const char* caption;
};
constexpr std::array<FieldWidget, kEditableColumns> kFieldWidgets = {{
    {"Vlvl", "LVL"},
    {"VHP", "HP"},
    {"VMP", "MP"},
    {"VDMGMIN", "DmgMin"},
    {"VDMGmax", "DmgMax"},
    {"VDEF", "p.Def"},
    {"VDEFM", "m.Def"},
    {"VATTCKRATE", "AttackRate"},
    {"VDEFRATE", "DefRate"},
    {"combomvrag", "MoveRange"},
    {"Vspeed", "moveSpeed"},
    {"Vatackspeed", "AtackSpeed 2000/"},
    {"VRegeneration", "RespawnTime(sec)"},
    {"VPoisonRezist", "Poison Rezist"},
    {"VIceRezist", "Ice Rezist"},
    {"VLightRezist", "Lightning rezist"},
    {"VFireRezist", "Fire Rezist"},
}};

// Where each field of kMonsterFields sits on the panel.
struct FieldPlace {
    int group;   // 0, 1, 2: the three framed groups
    int row;
    int column;  // 0 left, 1 right
};
// The first group holds two fields a row; the second and third one. A resist needs
// room for eleven characters, so the second group cannot hold two in a row as well.
constexpr std::array<FieldPlace, kEditableColumns> kPlaces = {{
    {0, 0, 0}, {0, 1, 0}, {0, 1, 1}, {1, 0, 0}, {1, 1, 0}, {0, 2, 0}, {0, 2, 1}, {1, 2, 0}, {0, 3, 0},
    {2, 1, 0},  // the move range
    {2, 0, 0}, {1, 3, 0}, {2, 2, 0}, {0, 5, 1}, {0, 5, 0}, {0, 4, 0}, {0, 4, 1},
}};

// Geometry of the panel, in pixels.
constexpr int kListWidth = 266;
constexpr int kFilterHeight = 22;
constexpr int kStripWidth = 30;
constexpr int kRowHeight = 38;
constexpr int kFieldHeight = 20;
constexpr int kGap = 6;  // between the fields of a group and around them
constexpr int kMoveRangeWidth = 150;
constexpr QSize kButtonSize(75, 25);

QString decoded(std::string_view bytes) { return textFromBytes(bytes); }

}  // namespace

// monsterList_'s rows: every monster's name and number, read from the table when shown.
// The numbers and names do not change after loading.
class StatsPage::MonsterNames final : public ReportModel {
public:
    explicit MonsterNames(QObject* parent) : ReportModel({{"MonsterName", 200}, {"Id", 0}}, parent) {}

    void fill(const MonsterTable* table) {
        beginResetModel();
        table_ = table;
        count_ = table ? std::max(table->monstercount, 0) : 0;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : count_; }
    QString text(int row, int column) const override {
        const MonsterDataRecord& monster = table_->monsters[static_cast<std::size_t>(row)];
        return column == 0 ? decoded(monster.name) : QString::number(monster.id);
    }

private:
    const MonsterTable* table_ = nullptr;
    int count_ = 0;
};

StatsPage::StatsPage(EditorDocument& document, QWidget* parent)
    : QWidget(parent),
      document_(document),
      savedIcon_(lazyStandardIcon(QStyle::SP_DialogSaveButton)),
      unsavedIcon_(unsavedIcon(savedIcon_)) {
    monsterList_ = new QTreeView(this);
    monsterList_->setObjectName(QStringLiteral("ListView1"));
    monsterList_->setAccessibleName(QStringLiteral("Monsters"));
    names_ = new MonsterNames(monsterList_);
    monsterList_->setModel(names_);
    setColumnWidths(monsterList_);
    monsterList_->setRootIsDecorated(false);
    monsterList_->setUniformRowHeights(true);
    monsterList_->setSortingEnabled(false);
    monsterList_->header()->setSectionsClickable(false);
    monsterList_->header()->setSectionsMovable(false);
    monsterList_->header()->setMinimumSectionSize(16);
    monsterList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    monsterList_->setSelectionMode(QAbstractItemView::SingleSelection);
    monsterList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    monsterList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    monsterList_->setItemDelegate(new GridDelegate(monsterList_));
    QFont bold;  // only the weight: the family and size come from the window
    bold.setBold(true);
    monsterList_->setFont(bold);
    QPalette listColours = monsterList_->palette();  // the selection stays visible without focus
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        listColours.setColor(QPalette::Inactive, role, listColours.color(QPalette::Active, role));
    monsterList_->setPalette(listColours);
    filter_ = makeListFilter(this, "StatsMonsterFilter", monsterList_, 1);

    strip_ = new QFrame(this);
    saveButton_ = new QToolButton(strip_);
    saveButton_->setObjectName(QStringLiteral("SpeedButton8"));
    saveButton_->setAccessibleName(QStringLiteral("Save data/monster.txt"));
    saveButton_->setIcon(savedIcon_);
    saveButton_->setAutoRaise(true);
    saveButton_->setGeometry(3, 2, 24, 24);
    editButton_ = new QToolButton(strip_);
    editButton_->setObjectName(QStringLiteral("Button1"));
    editButton_->setToolTip(QStringLiteral(">Edit Selected"));
    editButton_->setAccessibleName(QStringLiteral("Edit selected monster"));
    editButton_->setIcon(lazyStandardIcon(QStyle::SP_ArrowRight));
    editButton_->setAutoRaise(true);
    editButton_->setGeometry(3, 30, 24, 24);
    tableButton_ = new QToolButton(strip_);
    tableButton_->setObjectName(QStringLiteral("MonsterTableButton"));
    tableButton_->setToolTip(QStringLiteral("Monster table: every monster in one grid"));
    tableButton_->setAccessibleName(QStringLiteral("Open the monster table"));
    tableButton_->setIcon(lazyStandardIcon(QStyle::SP_FileDialogDetailedView));
    tableButton_->setAutoRaise(true);
    tableButton_->setGeometry(3, 58, 24, 24);
    QToolButton* review = makeReviewButton(strip_, "ReviewMonsterSave");
    review->setGeometry(3, 86, 24, 24);
    connect(review, &QToolButton::clicked, this, &StatsPage::reviewRequested);

    buildPanel();
    setTabChain(tabChain());

    connect(monsterList_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &StatsPage::showSelectedMonster);
    connect(editButton_, &QToolButton::clicked, this, &StatsPage::startEditing);
    connect(saveButton_, &QToolButton::clicked, this, &StatsPage::saveMonsterFile);
    connect(tableButton_, &QToolButton::clicked, this, &StatsPage::monsterTableRequested);
    connect(okButton_, &QPushButton::clicked, this, &StatsPage::storeEdits);
    connect(cancelButton_, &QPushButton::clicked, this, &StatsPage::cancelEditing);
    for (SpinField* field : fields_)
        if (field) connect(field, &SpinField::changed, this, &StatsPage::fieldChanged);
    // Only the operator's choice counts as a change; the program's reset does not.
    connect(moveRangeBox_, &QComboBox::activated, this, &StatsPage::fieldChanged);
    connect(&document_, &EditorDocument::monsterStored, this, &StatsPage::monsterStored);
    connect(&document_, &EditorDocument::historyChanged, this, [this](TableFile file) {
        if (file == TableFile::Monsters)
            showHistoryOn(saveButton_, savedIcon_, unsavedIcon_, document_.history(TableFile::Monsters));
    });
}

void StatsPage::buildPanel() {
    statsPanel_ = new QFrame(this);
    statsPanel_->setObjectName(QStringLiteral("Panel1"));
    statsPanel_->setFrameShape(QFrame::Panel);
    statsPanel_->setFrameShadow(QFrame::Raised);
    statsPanel_->setEnabled(false);
    QPalette locked = statsPanel_->palette();  // the locked panel still shows the monster
    locked.setColor(QPalette::Disabled, QPalette::WindowText, QColor(96, 96, 96));
    locked.setColor(QPalette::Disabled, QPalette::Text, QColor(80, 80, 80));
    locked.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(128, 128, 128));
    statsPanel_->setPalette(locked);

    idRow_ = new QGroupBox(statsPanel_);
    auto* idCaption = new QLabel(QStringLiteral("ID:"), idRow_);
    idCaption->setGeometry(8, 10, 18, 16);
    idLabel_ = new QLabel(idRow_);
    idLabel_->setObjectName(QStringLiteral("ViD"));
    idLabel_->setGeometry(28, 10, 56, 16);
    auto* nameCaption = new QLabel(QStringLiteral("name"), idRow_);
    nameCaption->setGeometry(88, 10, 34, 16);
    nameLabel_ = new QLabel(idRow_);
    nameLabel_->setObjectName(QStringLiteral("Vname"));

    for (QGroupBox*& group : groups_) group = new QGroupBox(statsPanel_);
    moveRangeBox_ = new QComboBox(statsPanel_);
    moveRangeBox_->setObjectName(QString::fromLatin1(kFieldWidgets[kMoveRangeField].objectName));
    moveRangeBox_->setAccessibleName(QString::fromLatin1(kFieldWidgets[kMoveRangeField].caption));
    moveRangeBox_->setEditable(false);
    for (const char* item : kMoveRangeNames) moveRangeBox_->addItem(QString::fromLatin1(item));
    moveRangeBox_->setCurrentIndex(-1);
    for (std::size_t i = 0; i < kMonsterFields.size(); ++i) {
        const MonsterField& design = kMonsterFields[i];
        const FieldPlace& place = kPlaces[i];
        const FieldWidget& widget = kFieldWidgets[i];
        captions_[i] = new QLabel(QString::fromLatin1(widget.caption), groups_[place.group]);
        if (i == kMoveRangeField) {
            moveRangeBox_->setParent(groups_[place.group]);
            continue;
        }
        auto* field = new SpinField(groups_[place.group]);
        field->setObjectName(QString::fromLatin1(widget.objectName));
        field->setAccessibleName(QString::fromLatin1(widget.caption));
        field->setBounds(design.lower, design.upper);
        field->setValue(design.lower);
        fields_[i] = field;
    }
    fields_[0]->setTypingAllowed(false);  // the level changes only by its arrows
    // A group box takes the keys that press a button on the desktop (Enter among them
    // on a GTK desktop) for itself, so Enter passed on by a field would stop there.
    for (QGroupBox* group : {idRow_, groups_[0], groups_[1], groups_[2]}) {
        new EventHook(group, [this](QEvent* event) {
            return event->type() == QEvent::KeyPress && editKey(static_cast<QKeyEvent*>(event));
        });
    }

    okButton_ = new QPushButton(QStringLiteral("OK"), statsPanel_);
    okButton_->setObjectName(QStringLiteral("Button3"));
    okButton_->setEnabled(false);
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), statsPanel_);
    cancelButton_->setObjectName(QStringLiteral("Button2"));
    cancelButton_->setEnabled(false);
    placeFields();
}

// Each column of a group is as wide as its widest field or caption, so every field
// shows the longest value its bounds allow in the font it is drawn with.
void StatsPage::placeFields() {
    // Per group and column: the widest caption or control, and the widest spin field.
    std::array<std::array<int, 2>, 3> columnWidths{};
    std::array<std::array<int, 2>, 3> spinWidths{};
    std::array<int, 3> rows{};
    for (std::size_t i = 0; i < kMonsterFields.size(); ++i) {
        const FieldPlace& place = kPlaces[i];
        const int fieldWidth = i == kMoveRangeField ? kMoveRangeWidth : fields_[i]->sizeHint().width();
        if (i != kMoveRangeField) {
            int& spin = spinWidths[place.group][place.column];
            spin = std::max(spin, fieldWidth);
        }
        int& width = columnWidths[place.group][place.column];
        width = std::max({width, fieldWidth, captions_[i]->sizeHint().width()});
        rows[place.group] = std::max(rows[place.group], place.row + 1);
    }
    std::array<QSize, 3> sizes{};
    for (std::size_t g = 0; g < sizes.size(); ++g) {
        const auto& widths = columnWidths[g];
        const int inner = widths[0] + (widths[1] > 0 ? kGap + widths[1] : 0);
        sizes[g] = QSize(kGap + inner + kGap, kGap + rows[g] * kRowHeight + 4);
    }
    sizes[2].setWidth(std::max(sizes[2].width(), sizes[0].width()));  // the two left groups align
    const QRect left(kGap - 2, 40, sizes[0].width(), sizes[0].height());
    groups_[0]->setGeometry(left);
    groups_[1]->setGeometry(QRect(QPoint(left.right() + 1 + 4, left.top()), sizes[1]));
    groups_[2]->setGeometry(QRect(QPoint(left.left(), left.bottom() + 1 + 4), sizes[2]));
    idRow_->setGeometry(left.left(), 2, groups_[1]->geometry().right() + 1 - left.left(), 34);
    nameLabel_->setGeometry(124, 10, idRow_->width() - 128, 16);

    for (std::size_t i = 0; i < kMonsterFields.size(); ++i) {
        const FieldPlace& place = kPlaces[i];
        const auto& widths = columnWidths[place.group];
        const int x = kGap + (place.column == 0 ? 0 : widths[0] + kGap);
        const int y = kGap + place.row * kRowHeight;
        captions_[i]->setGeometry(x, y, widths[place.column], 14);
        if (i == kMoveRangeField)
            moveRangeBox_->setGeometry(x, y + 14, kMoveRangeWidth, kFieldHeight);
        else
            fields_[i]->setGeometry(x, y + 14, spinWidths[place.group][place.column], kFieldHeight);
    }

    // "OK" and "Cancel" stand beside the third group.
    const QRect third = groups_[2]->geometry();
    const int buttonsX = third.right() + 1 + (groups_[1]->geometry().right() - third.right() - kButtonSize.width()) / 2;
    okButton_->setGeometry(QRect(QPoint(buttonsX, third.top() + 18), kButtonSize));
    cancelButton_->setGeometry(QRect(QPoint(buttonsX, third.top() + 54), kButtonSize));
}

namespace {

// The fields as they stand on the screen: group by group, row by row, left to right.
std::array<std::size_t, kEditableColumns> fieldsInScreenOrder() {
    std::array<std::size_t, kEditableColumns> order{};
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [](std::size_t a, std::size_t b) {
        const FieldPlace& p = kPlaces[a];
        const FieldPlace& q = kPlaces[b];
        return std::tie(p.group, p.row, p.column) < std::tie(q.group, q.row, q.column);
    });
    return order;
}

}  // namespace

QWidget* StatsPage::fieldWidget(std::size_t index) const {
    return index == kMoveRangeField ? static_cast<QWidget*>(moveRangeBox_) : fields_[index];
}

QList<QWidget*> StatsPage::tabChain() const {
    QList<QWidget*> chain{filter_, monsterList_, saveButton_, editButton_, tableButton_};
    for (std::size_t i : fieldsInScreenOrder()) chain << fieldWidget(i);
    chain << okButton_ << cancelButton_;
    return chain;
}

void StatsPage::focusStart() {
    QWidget* start = editing_ ? fieldWidget(fieldsInScreenOrder().front()) : monsterList_;
    start->setFocus(Qt::OtherFocusReason);
}

void StatsPage::keyPressEvent(QKeyEvent* event) {
    if (!editKey(event)) QWidget::keyPressEvent(event);
}

bool StatsPage::editKey(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (!editing_ || !plain) return false;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (cancelButton_->hasFocus())
            cancelEditing();
        else if (okButton_->isEnabled())
            storeEdits();
        break;
    case Qt::Key_Escape:
        cancelEditing();
        break;
    default:
        return false;
    }
    event->accept();
    return true;
}

void StatsPage::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) placeFields();
}

void StatsPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    filter_->setGeometry(0, 0, kListWidth, kFilterHeight);
    monsterList_->setGeometry(0, kFilterHeight, kListWidth, height() - kFilterHeight);
    strip_->setGeometry(kListWidth, 0, kStripWidth, height());
    statsPanel_->setGeometry(kListWidth + kStripWidth, 0, width() - kListWidth - kStripWidth, height());
}

void StatsPage::fillList() {
    {
        const QSignalBlocker quiet(monsterList_->selectionModel());
        monsterList_->selectionModel()->clear();
        names_->fill(&document_.monsters());
    }
    selectIndex(0);
}

int StatsPage::selectedIndex() const { return selectedRow(monsterList_); }

void StatsPage::selectIndex(int index) {
    revealRow(filter_, monsterList_, index);
    if (selectRow(monsterList_, index)) monsterList_->scrollTo(names_->index(index, 0));
}

// With no monster chosen (a filter left none) the panel is empty and cannot be edited.
void StatsPage::showSelectedMonster() {
    reportErrors(this, [&] {
        const int index = selectedIndex();
        editButton_->setEnabled(!editing_ && index >= 0);
        if (const auto fields = storedFields(index))
            showFields(*fields);
        else if (index < 0)
            showNoMonster();
    });
}

void StatsPage::showNoMonster() {
    idLabel_->clear();
    nameLabel_->clear();
    for (SpinField* field : fields_)
        if (field) field->lineEdit()->clear();
    moveRangeBox_->setCurrentIndex(-1);
}

std::optional<MonsterLineFields> StatsPage::storedFields(int index) const {
    const MonsterTable& table = document_.monsters();
    if (index < 0 || index >= table.monstercount || index >= static_cast<int>(table.monsterlines.size()))
        return std::nullopt;
    return readMonsterLine(table.monsterlines[static_cast<std::size_t>(index)], monsterFileLabel(), index + 1);
}

// Fields the reading did not reach are emptied and locked, so no value of the monster
// shown before can pass for this one's; the error then says where the reading stopped.
void StatsPage::showFields(const MonsterLineFields& fields) {
    idLabel_->setText(decoded(fields.id));
    nameLabel_->setText(decoded(fields.name));
    for (std::size_t i = 0; i < kMonsterFields.size(); ++i) {
        const bool reached = static_cast<int>(i) < fields.read;
        const std::int32_t value = fields.values[i];
        if (i == kMoveRangeField) {
            moveRangeBox_->setEnabled(reached);
            const bool listed = value >= 0 && value < static_cast<int>(kMoveRangeNames.size());
            moveRangeBox_->setCurrentIndex(reached && listed ? value : -1);
            continue;
        }
        fields_[i]->setEnabled(reached);
        if (reached)
            fields_[i]->setValue(value);
        else
            fields_[i]->lineEdit()->clear();
    }
    if (fields.error) throw *fields.error;
}

void StatsPage::startEditing() {
    reportErrors(this, [&] {
        const auto fields = storedFields(selectedIndex());
        if (!fields) return;
        // A monster that cannot be shown in full is never edited: OK could only store
        // values it does not have.
        if (!fields->complete()) {
            showFields(*fields);  // reports where the reading stopped
            return;
        }
        editButton_->setEnabled(false);
        editing_ = true;
        emit editStateChanged(true);
        cancelButton_->setEnabled(true);
        okButton_->setEnabled(false);
        monsterList_->setEnabled(false);
        filter_->setEnabled(false);
        statsPanel_->setEnabled(true);
        focusStart();
        showFields(*fields);
    });
}

void StatsPage::fieldChanged() {
    reportErrors(this, [&] {
        if (statsPanel_->isEnabled()) okButton_->setEnabled(true);
    });
}

// The stored line rebuilt with what the fields hold. With no move range chosen (a
// stored value outside 0..5) the stored value stays.
void StatsPage::storeMonster(int index) {
    const auto stored = storedFields(index);
    if (!stored) return;
    if (!stored->complete()) throw *stored->error;
    std::array<std::int32_t, kEditableColumns> values{};
    for (std::size_t i = 0; i < values.size(); ++i)
        if (i != kMoveRangeField) values[i] = fields_[i]->value();
    const int move = moveRangeBox_->currentIndex();
    values[kMoveRangeField] = move >= 0 ? move : stored->values[kMoveRangeField];
    document_.storeMonster(index, values, move >= 0);
    // The same values again store nothing; the fields show the line all the same.
    if (const auto now = storedFields(index)) showFields(*now);
}

void StatsPage::storeEdits() {
    reportErrors(this, [&] {
        okButton_->setEnabled(false);
        // Out of the edit state first; the fields keep their values, and the page then
        // shows what was stored.
        leaveEditState();
        if (const int index = selectedIndex(); index >= 0) storeMonster(index);
    });
}

// What the fields show is what was stored: a typed value beyond a bound, or an emptied
// field, shows the value written for it.
void StatsPage::monsterStored(int index) {
    reportErrors(this, [&] {
        if (index != selectedIndex() || editing_) return;
        if (const auto stored = storedFields(index)) showFields(*stored);
    });
}

void StatsPage::leaveEditState() {
    monsterList_->setEnabled(true);
    filter_->setEnabled(true);
    statsPanel_->setEnabled(false);
    okButton_->setEnabled(false);
    cancelButton_->setEnabled(false);
    editButton_->setEnabled(selectedIndex() >= 0);
    editing_ = false;
    emit editStateChanged(false);
    focusStart();
}

void StatsPage::cancelEditing() {
    reportErrors(this, [&] { leaveEditState(); });
}

void StatsPage::saveMonsterFile() {
    reportErrors(this, [&] {
        if (!settleTypedValues(this, QStringLiteral("saving data/monster.txt"))) return;
        document_.save(TableFile::Monsters, askBeforeOverwrite(this));
    });
}

bool StatsPage::settleTypedValues(QWidget* asker, const QString& action) {
    if (!editing_) return true;
    const QString text = QStringLiteral("Monster Stats is editing %1 (%2): the values in its fields are not stored yet.\n"
                                        "Store them before %3?")
                             .arg(nameLabel_->text(), idLabel_->text(), action);
    switch (messageBoxes().askAboutTypedValues(asker, text)) {
    case TypedValuesAnswer::Cancel: return false;
    case TypedValuesAnswer::Discard: leaveEditState(); return true;
    case TypedValuesAnswer::Store: break;
    }
    // As OK after Enter in a field: a number still being typed is taken in first.
    for (SpinField* field : fields_)
        if (field) field->commit();
    storeEdits();
    return true;
}
