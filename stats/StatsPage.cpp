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
#include "ErrorReport.h"
#include "GridDelegate.h"
#include "ReportList.h"
#include "SaveQuestion.h"
#include "SpinField.h"
#include "TabChain.h"
#include "TextFile.h"

namespace {

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
constexpr int kStripWidth = 30;
constexpr int kRowHeight = 38;
constexpr int kFieldHeight = 20;
constexpr int kGap = 6;  // between the fields of a group and around them
constexpr int kMoveRangeWidth = 150;
constexpr QSize kButtonSize(75, 25);

QString decoded(std::string_view bytes) { return textFromBytes(bytes); }

}  // namespace

// ListView1's rows: every monster's name and number, read from the table when shown.
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

StatsPage::StatsPage(MonsterTable& table, std::filesystem::path workFolder, QWidget* parent)
    : QWidget(parent), table_(table), workFolder_(std::move(workFolder)) {
    ListView1 = new QTreeView(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setAccessibleName(QStringLiteral("Monsters"));
    names_ = new MonsterNames(ListView1);
    ListView1->setModel(names_);
    setColumnWidths(ListView1);
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
    SpeedButton8->setAccessibleName(QStringLiteral("Save data/monster.txt"));
    SpeedButton8->setIcon(lazyStandardIcon(QStyle::SP_DialogSaveButton));
    SpeedButton8->setAutoRaise(true);
    SpeedButton8->setGeometry(3, 2, 24, 24);
    Button1 = new QToolButton(strip_);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setToolTip(QStringLiteral(">Edit Selected"));
    Button1->setAccessibleName(QStringLiteral("Edit selected monster"));
    Button1->setIcon(lazyStandardIcon(QStyle::SP_ArrowRight));
    Button1->setAutoRaise(true);
    Button1->setGeometry(3, 30, 24, 24);

    buildPanel();
    setTabChain(tabChain());

    connect(ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this, &StatsPage::ListView1SelectItem);
    connect(Button1, &QToolButton::clicked, this, &StatsPage::Button1Click);
    connect(SpeedButton8, &QToolButton::clicked, this, &StatsPage::SpeedButton8Click);
    connect(Button3, &QPushButton::clicked, this, &StatsPage::Button3Click);
    connect(Button2, &QPushButton::clicked, this, &StatsPage::Button2Click);
    for (SpinField* field : fields_)
        if (field) connect(field, &SpinField::changed, this, &StatsPage::VlvlChange);
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

    idRow_ = new QGroupBox(Panel1);
    auto* idCaption = new QLabel(QStringLiteral("ID:"), idRow_);
    idCaption->setGeometry(8, 10, 18, 16);
    ViD = new QLabel(idRow_);
    ViD->setObjectName(QStringLiteral("ViD"));
    ViD->setGeometry(28, 10, 56, 16);
    auto* nameCaption = new QLabel(QStringLiteral("name"), idRow_);
    nameCaption->setGeometry(88, 10, 34, 16);
    Vname = new QLabel(idRow_);
    Vname->setObjectName(QStringLiteral("Vname"));

    for (QGroupBox*& group : groups_) group = new QGroupBox(Panel1);
    combomvrag = new QComboBox(Panel1);
    combomvrag->setObjectName(QStringLiteral("combomvrag"));
    combomvrag->setAccessibleName(QString::fromLatin1(kMonsterFields[kMoveRangeField].caption));
    combomvrag->setEditable(false);
    for (const char* item : kMoveRangeNames) combomvrag->addItem(QString::fromLatin1(item));
    combomvrag->setCurrentIndex(-1);
    for (std::size_t i = 0; i < kMonsterFields.size(); ++i) {
        const MonsterField& design = kMonsterFields[i];
        const FieldPlace& place = kPlaces[i];
        captions_[i] = new QLabel(QString::fromLatin1(design.caption), groups_[place.group]);
        if (i == kMoveRangeField) {
            combomvrag->setParent(groups_[place.group]);
            continue;
        }
        auto* field = new SpinField(groups_[place.group]);
        field->setObjectName(QString::fromLatin1(design.name));
        field->setAccessibleName(QString::fromLatin1(design.caption));
        field->setBounds(design.lower, design.upper);
        field->setValue(design.lower);
        fields_[i] = field;
    }
    fields_[0]->setTypingAllowed(false);  // the level changes only by its arrows

    Button3 = new QPushButton(QStringLiteral("OK"), Panel1);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setEnabled(false);
    Button2 = new QPushButton(QStringLiteral("Cancel"), Panel1);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setEnabled(false);
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
    Vname->setGeometry(124, 10, idRow_->width() - 128, 16);

    for (std::size_t i = 0; i < kMonsterFields.size(); ++i) {
        const FieldPlace& place = kPlaces[i];
        const auto& widths = columnWidths[place.group];
        const int x = kGap + (place.column == 0 ? 0 : widths[0] + kGap);
        const int y = kGap + place.row * kRowHeight;
        captions_[i]->setGeometry(x, y, widths[place.column], 14);
        if (i == kMoveRangeField)
            combomvrag->setGeometry(x, y + 14, kMoveRangeWidth, kFieldHeight);
        else
            fields_[i]->setGeometry(x, y + 14, spinWidths[place.group][place.column], kFieldHeight);
    }

    // "OK" and "Cancel" stand beside the third group.
    const QRect third = groups_[2]->geometry();
    const int buttonsX = third.right() + 1 + (groups_[1]->geometry().right() - third.right() - kButtonSize.width()) / 2;
    Button3->setGeometry(QRect(QPoint(buttonsX, third.top() + 18), kButtonSize));
    Button2->setGeometry(QRect(QPoint(buttonsX, third.top() + 54), kButtonSize));
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
    return index == kMoveRangeField ? static_cast<QWidget*>(combomvrag) : fields_[index];
}

QList<QWidget*> StatsPage::tabChain() const {
    QList<QWidget*> chain{ListView1, SpeedButton8, Button1};
    for (std::size_t i : fieldsInScreenOrder()) chain << fieldWidget(i);
    chain << Button3 << Button2;
    return chain;
}

void StatsPage::focusStart() {
    QWidget* start = editing_ ? fieldWidget(fieldsInScreenOrder().front()) : ListView1;
    start->setFocus(Qt::OtherFocusReason);
}

void StatsPage::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (!editing_ || !plain) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (Button2->hasFocus())
            Button2Click();
        else if (Button3->isEnabled())
            Button3Click();
        break;
    case Qt::Key_Escape:
        Button2Click();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void StatsPage::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) placeFields();
}

void StatsPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ListView1->setGeometry(0, 0, kListWidth, height());
    strip_->setGeometry(kListWidth, 0, kStripWidth, height());
    Panel1->setGeometry(kListWidth + kStripWidth, 0, width() - kListWidth - kStripWidth, height());
}

void StatsPage::fillList() {
    {
        const QSignalBlocker quiet(ListView1->selectionModel());
        ListView1->selectionModel()->clear();
        names_->fill(&table_);
    }
    selectIndex(0);
}

int StatsPage::selectedIndex() const { return selectedRow(ListView1); }

void StatsPage::selectIndex(int index) {
    if (selectRow(ListView1, index)) ListView1->scrollTo(names_->index(index, 0));
}

void StatsPage::ListView1SelectItem() {
    reportErrors(this, [&] {
        const int index = selectedIndex();
        if (const auto fields = storedFields(index)) showFields(*fields);
    });
}

std::optional<MonsterLineFields> StatsPage::storedFields(int index) const {
    if (index < 0 || index >= table_.monstercount || index >= static_cast<int>(table_.monsterlines.size()))
        return std::nullopt;
    return readMonsterLine(table_.monsterlines[static_cast<std::size_t>(index)], monsterFileLabel(), index + 1);
}

// Fields the reading did not reach are emptied and locked, so no value of the monster
// shown before can pass for this one's; the error then says where the reading stopped.
void StatsPage::showFields(const MonsterLineFields& fields) {
    ViD->setText(decoded(fields.id));
    Vname->setText(decoded(fields.name));
    for (std::size_t i = 0; i < kMonsterFields.size(); ++i) {
        const bool reached = static_cast<int>(i) < fields.read;
        const std::int32_t value = fields.values[i];
        if (i == kMoveRangeField) {
            combomvrag->setEnabled(reached);
            const bool listed = value >= 0 && value < static_cast<int>(kMoveRangeNames.size());
            combomvrag->setCurrentIndex(reached && listed ? value : -1);
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

void StatsPage::Button1Click() {
    reportErrors(this, [&] {
        const auto fields = storedFields(selectedIndex());
        if (!fields) return;
        // A monster that cannot be shown in full is never edited: OK could only store
        // values it does not have.
        if (!fields->complete()) {
            showFields(*fields);  // reports where the reading stopped
            return;
        }
        Button1->setEnabled(false);
        editing_ = true;
        emit editStateChanged(true);
        Button2->setEnabled(true);
        Button3->setEnabled(false);
        ListView1->setEnabled(false);
        Panel1->setEnabled(true);
        focusStart();
        showFields(*fields);
    });
}

void StatsPage::VlvlChange() {
    reportErrors(this, [&] {
        if (Panel1->isEnabled()) Button3->setEnabled(true);
    });
}

void StatsPage::storeMonster(int index) {
    const auto stored = storedFields(index);
    if (!stored) return;
    if (!stored->complete()) throw *stored->error;
    std::array<std::int32_t, kEditableColumns> values{};
    for (std::size_t i = 0; i < values.size(); ++i)
        if (i != kMoveRangeField) values[i] = fields_[i]->value();
    // With no entry chosen (a stored move range outside 0..5) the stored value stays.
    const int move = combomvrag->currentIndex();
    values[kMoveRangeField] = move >= 0 ? move : stored->values[kMoveRangeField];

    auto& line = table_.monsterlines.at(static_cast<std::size_t>(index));
    line = rebuildmonsterline(line, values);
    if (move >= 0) table_.monsters.at(static_cast<std::size_t>(index)).canmove = move != 0;
}

void StatsPage::Button3Click() {
    reportErrors(this, [&] {
        Button3->setEnabled(false);
        const int index = selectedIndex();
        if (index >= 0) storeMonster(index);
        Button2Click();
        // What the fields show is what was stored: a typed value beyond a bound, or an
        // emptied field, shows the value written for it.
        if (const auto stored = storedFields(index)) showFields(*stored);
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
        focusStart();
    });
}

void StatsPage::SpeedButton8Click() {
    reportErrors(this, [&] {
        if (mayOverwrite(this, table_.checkSave(workFolder_))) table_.savemonsterdata(workFolder_);
    });
}
