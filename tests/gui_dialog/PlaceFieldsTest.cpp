// The place fields: the corner rule of the range fields, the selection they hand
// to the preview, and reading a place picked on the preview back into them.

#include <array>
#include <functional>
#include <utility>

#include <QLineEdit>
#include <QTest>

#include "DialogFixture.h"

// Everything here is local to this file (it may share a unity batch with others).
namespace {

struct CornerCase {
    const char* name;
    int x0, x1, y0, y1;    // set while no field has the focus
    const char* focused;   // the field the operator then changes
    int newValue;
    int wantX0, wantX1, wantY0, wantY1;
};

const CornerCase kCornerCases[] = {
    {"X1 lowered below X0", 120, 128, 127, 128, "SpinX1", 100, 99, 100, 127, 128},
    {"X0 raised above X1", 127, 128, 127, 128, "SpinX0", 130, 130, 131, 127, 128},
    {"Y1 lowered below Y0", 127, 128, 120, 128, "SpinY1", 100, 127, 128, 99, 100},
    {"Y0 raised above Y1", 127, 128, 127, 128, "SpinY0", 130, 127, 128, 130, 131},
    {"X1 at the lower bound", 2, 3, 127, 128, "SpinX1", 2, 2, 2, 127, 128},
    {"X0 at the upper bound", 249, 250, 127, 128, "SpinX0", 250, 250, 250, 127, 128},
    {"Y1 at the lower bound", 127, 128, 2, 3, "SpinY1", 2, 127, 128, 2, 2},
    {"Y0 at the upper bound", 127, 128, 249, 250, "SpinY0", 250, 127, 128, 250, 250},
    {"X1 raised keeps X0", 100, 120, 127, 128, "SpinX1", 140, 100, 140, 127, 128},
    {"X0 equal to X1 moves X1", 100, 120, 127, 128, "SpinX0", 120, 120, 121, 127, 128},
};

void PrintTo(const CornerCase& c, std::ostream* os) { *os << c.name; }

class CornerTest : public DialogTest, public ::testing::WithParamInterface<CornerCase> {};

TEST_P(CornerTest, FocusedFieldIsFavoured) {
    const CornerCase& c = GetParam();
    showDialog();
    dialog->showRangePage();
    ASSERT_EQ(pageIndex(), 1);
    field("SpinEdit1")->setFocus();
    field("SpinX0")->setValue(c.x0);
    field("SpinX1")->setValue(c.x1);
    field("SpinY0")->setValue(c.y0);
    field("SpinY1")->setValue(c.y1);

    SpinField* edited = field(c.focused);
    edited->setFocus();
    ASSERT_TRUE(edited->hasFocus()) << "the dialog must be the active window";
    edited->lineEdit()->selectAll();
    QTest::keyClicks(edited, QString::number(c.newValue));
    QTest::keyClick(edited, Qt::Key_Return);  // the number is committed

    EXPECT_EQ(field("SpinX0")->value(), c.wantX0);
    EXPECT_EQ(field("SpinX1")->value(), c.wantX1);
    EXPECT_EQ(field("SpinY0")->value(), c.wantY0);
    EXPECT_EQ(field("SpinY1")->value(), c.wantY1);
    EXPECT_EQ(preview->selection().selx0, c.wantX0);
    EXPECT_EQ(preview->selection().selx1, c.wantX1);
    EXPECT_EQ(preview->selection().sely0, c.wantY0);
    EXPECT_EQ(preview->selection().sely1, c.wantY1);
}

INSTANTIATE_TEST_SUITE_P(Cases, CornerTest, ::testing::ValuesIn(kCornerCases),
                         [](const auto& info) { return std::to_string(info.index); });

// A number is put in order with the other corner when it is committed, not while it is
// typed: "60" passes through "6", which must not push X0 (30) down.
TEST_F(DialogTest, CornersAreKeptInOrderWhenANumberIsCommittedNotWhileItIsTyped) {
    const struct {
        const char* name;
        std::function<void()> commit;
        int x0;  // afterwards
    } cases[] = {
        {"leaving the field", [this] { field("SpinY1")->setFocus(); }, 30},
        {"Return", [this] { QTest::keyClick(field("SpinX1"), Qt::Key_Return); }, 30},
        {"Create", [this] { dialog->createSpot(); }, 30},
        {"an arrow step", [this] { QTest::keyClick(field("SpinX1"), Qt::Key_Down); }, 30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        makeWindows(standardTables());
        showDialog();
        chooseMonster(0);  // Walker: the range page
        ASSERT_EQ(pageIndex(), 1);
        field("SpinX0")->setValue(30);
        SpinField* x1 = field("SpinX1");
        x1->setFocus();
        ASSERT_TRUE(x1->hasFocus());
        x1->lineEdit()->selectAll();
        QTest::keyClick(x1, Qt::Key_6);
        EXPECT_EQ(field("SpinX0")->value(), 30) << "while typing";
        EXPECT_EQ(preview->selection().selx1, 6) << "the preview shows what is typed";
        QTest::keyClick(x1, Qt::Key_0);
        c.commit();
        EXPECT_EQ(field("SpinX0")->value(), c.x0);
        EXPECT_GT(field("SpinX1")->value(), field("SpinX0")->value());
        EXPECT_EQ(preview->selection().selx0, field("SpinX0")->value());
    }
    // What Create wrote: the corners as typed.
    makeWindows(standardTables());
    showDialog();
    chooseMonster(0);
    for (const auto& [name, text] : {std::pair{"SpinX0", "30"}, {"SpinY0", "40"}, {"SpinX1", "60"}, {"SpinY1", "70"}}) {
        SpinField* f = field(name);
        f->setFocus();
        f->lineEdit()->selectAll();
        QTest::keyClicks(f, QString::fromLatin1(text));
    }
    dialog->createSpot();
    const SpawnEntry& made = document().spawns().entries[3];
    EXPECT_EQ((std::array<int, 4>{made.x0, made.y0, made.x1, made.y1}), (std::array<int, 4>{30, 40, 60, 70}));
}

// The arrows step the focused field; the corner rule then moves the other one.
TEST_F(DialogTest, ArrowKeysKeepTheCornersApart) {
    showDialog();
    dialog->showRangePage();
    const struct {
        const char* focused;
        Qt::Key key;
        int x0, x1, y0, y1;
    } steps[] = {
        {"SpinX0", Qt::Key_Up, 128, 129, 127, 128},  {"SpinX0", Qt::Key_Up, 129, 130, 127, 128},
        {"SpinY1", Qt::Key_Down, 129, 130, 126, 127}, {"SpinX1", Qt::Key_Down, 128, 129, 126, 127},
        {"SpinY0", Qt::Key_Up, 128, 129, 127, 128},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.focused);
        SpinField* f = field(s.focused);
        f->setFocus();
        ASSERT_TRUE(f->hasFocus());
        QTest::keyClick(f, s.key);
        EXPECT_EQ(field("SpinX0")->value(), s.x0);
        EXPECT_EQ(field("SpinX1")->value(), s.x1);
        EXPECT_EQ(field("SpinY0")->value(), s.y0);
        EXPECT_EQ(field("SpinY1")->value(), s.y1);
        EXPECT_EQ(preview->selection().selx0, s.x0);
        EXPECT_EQ(preview->selection().selx1, s.x1);
        EXPECT_EQ(preview->selection().sely0, s.y0);
        EXPECT_EQ(preview->selection().sely1, s.y1);
    }
}

TEST_F(DialogTest, ValuesSetByCodeAreNotReordered) {
    dialog->showRangePage();
    field("SpinX0")->setValue(200);
    field("SpinY1")->setValue(40);
    EXPECT_EQ(field("SpinX0")->value(), 200);
    EXPECT_EQ(field("SpinX1")->value(), 128);
    EXPECT_EQ(field("SpinY1")->value(), 40);
    EXPECT_EQ(preview->selection().selx0, 200);
    EXPECT_EQ(preview->selection().selx1, 128);
    EXPECT_EQ(preview->selection().sely0, 127);
    EXPECT_EQ(preview->selection().sely1, 40);
}

TEST_F(DialogTest, PointFieldsSetThePreviewsPoint) {
    field("SpinEditX")->setValue(40);
    EXPECT_EQ(preview->selection().selx0, 40);
    EXPECT_EQ(preview->selection().sely0, 127);
    field("SpinEditY")->setValue(300);
    EXPECT_EQ(preview->selection().sely0, 250);
    EXPECT_EQ(preview->selection().selx1, 128) << "the point fields leave the second corner alone";
}

struct ReadCase {
    const char* name;
    int selx0, sely0, selx1, sely1;  // the preview's selection
    int x0, y0, x1, y1;              // the range fields afterwards
};

const ReadCase kRangeReads[] = {
    {"dragged up and left", 200, 50, 100, 150, 100, 50, 200, 150},
    {"dragged down and right", 10, 240, 30, 200, 10, 200, 30, 240},
    {"off the map on every side", 0, 256, 300, -5, 2, 2, 250, 250},
    {"one cell stays equal", 90, 90, 90, 90, 90, 90, 90, 90},
};

TEST_F(DialogTest, ReadsThePickedRectangleOrderedAndClamped) {
    dialog->showRangePage();
    for (const ReadCase& c : kRangeReads) {
        SCOPED_TRACE(c.name);
        preview->setSelectedCells(c.selx0, c.sely0, c.selx1, c.sely1);
        dialog->readRangeFromMap();
        EXPECT_EQ(field("SpinX0")->value(), c.x0);
        EXPECT_EQ(field("SpinY0")->value(), c.y0);
        EXPECT_EQ(field("SpinX1")->value(), c.x1);
        EXPECT_EQ(field("SpinY1")->value(), c.y1);
        // The selection is left as picked, even where a field clamped it.
        EXPECT_EQ(preview->selection().selx0, c.selx0);
        EXPECT_EQ(preview->selection().sely0, c.sely0);
        EXPECT_EQ(preview->selection().selx1, c.selx1);
        EXPECT_EQ(preview->selection().sely1, c.sely1);
    }
}

TEST_F(DialogTest, ReadsTheClickedPointClamped) {
    const struct {
        int selx, sely, x, y;
    } cases[] = {{0, 256, 2, 250}, {255, 1, 250, 2}, {120, 130, 120, 130}};
    for (const auto& c : cases) {
        preview->setSelectedCells(c.selx, c.sely, c.selx, c.sely);
        dialog->readPointFromMap();
        EXPECT_EQ(field("SpinEditX")->value(), c.x);
        EXPECT_EQ(field("SpinEditY")->value(), c.y);
        EXPECT_EQ(preview->selection().selx0, c.selx);
        EXPECT_EQ(preview->selection().sely0, c.sely);
    }
}

TEST_F(DialogTest, ReadsARectangleDraggedOnThePreview) {
    showDialog();
    dialog->showRangePage();
    preview->show();
    auto* surface = preview->findChild<QWidget*>(QStringLiteral("PaintBox1"));
    ASSERT_NE(surface, nullptr);
    // At 1X cell (x, y) is pixel (x, 256 - y).
    QTest::mousePress(surface, Qt::LeftButton, {}, QPoint(200, 206));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(100, 106));
    ASSERT_EQ(preview->selection().selx0, 200);
    ASSERT_EQ(preview->selection().sely1, 150);

    dialog->readRangeFromMap();
    EXPECT_EQ(field("SpinX0")->value(), 100);
    EXPECT_EQ(field("SpinX1")->value(), 200);
    EXPECT_EQ(field("SpinY0")->value(), 50);
    EXPECT_EQ(field("SpinY1")->value(), 150);
}

}  // namespace
