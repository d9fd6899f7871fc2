// The spot type follows the monster and the page in use, and every showing of a
// page puts the preview into selection mode.

#include <string>
#include <vector>

#include <QTabBar>
#include <QTest>

#include "DialogFixture.h"

// Everything here is local to this file (it may share a unity batch with others).
namespace {

// Monster: the operator chooses the item at this index; Combo: the item is selected
// without the change step (as the stats page may leave it); Tab: a click on the tab.
enum class Op { Monster, Combo, Type, Page, Tab, Hide, Show };
struct Step {
    Op op;
    int value;
};
struct SpotTypeCase {
    const char* name;
    std::vector<Step> steps;
    int type;  // expected afterwards
    int page;  // 0 point, 1 range
};

const SpotTypeCase kSpotTypeCases[] = {
    {"moving monster leaves Npc for range", {{Op::Monster, 0}}, 1, 1},
    {"Npc again for a moving monster gives point monsters", {{Op::Monster, 0}, {Op::Type, 0}}, 2, 0},
    {"standing monster resets any type to Npc", {{Op::Monster, 0}, {Op::Type, 3}, {Op::Monster, 1}}, 0, 0},
    {"range page after a standing monster", {{Op::Monster, 1}, {Op::Page, 1}}, 1, 1},
    {"point page while Dragoin Invasion", {{Op::Monster, 0}, {Op::Type, 3}, {Op::Page, 0}}, 2, 0},
    {"range page while Blood Castle", {{Op::Monster, 0}, {Op::Type, 4}, {Op::Page, 1}}, 1, 1},
    {"moving monster keeps Blood Castle", {{Op::Monster, 0}, {Op::Type, 4}, {Op::Monster, 2}}, 4, 0},
    {"standing monster may be Blood Castle", {{Op::Monster, 1}, {Op::Type, 4}}, 4, 0},
    {"standing monster may be Npc", {{Op::Monster, 1}, {Op::Type, 2}, {Op::Type, 0}}, 0, 0},
    {"range type chosen shows the range page", {{Op::Monster, 2}, {Op::Type, 2}, {Op::Type, 3}}, 3, 1},
    {"range tab clicked after a standing monster", {{Op::Monster, 1}, {Op::Tab, 1}}, 1, 1},
    {"point tab clicked while Monsters (Range Spot)", {{Op::Monster, 0}, {Op::Tab, 0}}, 2, 0},
    {"Npc for a standing choice while the current monster moves",
     {{Op::Monster, 0}, {Op::Combo, 1}, {Op::Type, 0}}, 2, 0},
    {"showing runs the range page's step",
     {{Op::Hide, 0}, {Op::Monster, 1}, {Op::Type, 4}, {Op::Page, 1}, {Op::Show, 0}}, 1, 1},
    {"showing runs the point page's step",
     {{Op::Hide, 0}, {Op::Monster, 0}, {Op::Type, 3}, {Op::Page, 0}, {Op::Show, 0}}, 2, 0},
    // Choosing the type already chosen is no change: the hidden range page stays.
    {"the same type again runs nothing",
     {{Op::Hide, 0}, {Op::Monster, 1}, {Op::Page, 1}, {Op::Type, 0}, {Op::Show, 0}}, 1, 1},
};

void PrintTo(const SpotTypeCase& c, std::ostream* os) { *os << c.name; }

class SpotTypeTest : public DialogTest, public ::testing::WithParamInterface<SpotTypeCase> {
protected:
    void clickTab(int index) {
        auto* pages = dialog->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
        QTabBar* bar = pages->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
        ASSERT_EQ(pages->currentIndex(), index);
    }
};

TEST_P(SpotTypeTest, FollowsMonsterAndPage) {
    const SpotTypeCase& c = GetParam();
    showDialog();
    for (const Step& step : c.steps) {
        switch (step.op) {
        case Op::Monster: chooseMonster(step.value); break;
        case Op::Type: dialog->setSpotType(step.value); break;
        case Op::Combo: dialog->monsterCombo()->setCurrentIndex(step.value); break;
        case Op::Page: step.value == 0 ? dialog->showPointPage() : dialog->showRangePage(); break;
        case Op::Tab: clickTab(step.value); break;
        case Op::Hide: dialog->hide(); break;
        case Op::Show: showDialog(); break;
        }
    }
    EXPECT_EQ(dialog->spotType(), c.type);
    EXPECT_EQ(pageIndex(), c.page);
    EXPECT_TRUE(preview->selection().showselection);
    EXPECT_EQ(preview->selection().pointselection, c.page == 0);
    EXPECT_TRUE(recorder().messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, SpotTypeTest, ::testing::ValuesIn(kSpotTypeCases),
                         [](const auto& info) { return std::to_string(info.index); });

TEST_F(DialogTest, ChosenMonsterShowsNameAndLevel) {
    const struct {
        int index;
        const char* name;
        const char* level;
    } cases[] = {{0, "Walker", "12"}, {1, "Statue", "3"}, {2, "Runner", "40"}};
    for (const auto& c : cases) {
        chooseMonster(c.index);
        EXPECT_EQ(labelText("MonsterNameLabel"), QString::fromLatin1(c.name));
        EXPECT_EQ(labelText("monsterlvllabel"), QString::fromLatin1(c.level));
        EXPECT_EQ(dialog->currentMonster(), document().monsters().monsters[c.index]);
    }
}

TEST_F(DialogTest, NoMonsterChosenIsAConversionErrorAndChangesNothing) {
    EXPECT_EQ(labelText("MonsterNameLabel"), QStringLiteral("NAME"));
    showDialog();
    dialog->setSpotType(1);
    ASSERT_EQ(pageIndex(), 1);
    dialog->monsterCombo()->setCurrentIndex(-1);

    dialog->showChosenMonster();
    dialog->setSpotType(0);  // Npc looks the monster up again

    ASSERT_EQ(recorder().errors(),
              QStringList({"'' is not a valid integer value", "'' is not a valid integer value"}));
    EXPECT_EQ(labelText("MonsterNameLabel"), QStringLiteral("NAME"));
    EXPECT_EQ(labelText("monsterlvllabel"), QStringLiteral("LVL"));
    EXPECT_EQ(dialog->spotType(), 0);
    EXPECT_EQ(pageIndex(), 1);  // not switched
}

TEST_F(DialogTest, HiddenDialogRunsNoPageStep) {
    chooseMonster(1);
    dialog->setSpotType(4);
    dialog->showRangePage();
    EXPECT_EQ(dialog->spotType(), 4) << "the range page is not on view";
    EXPECT_FALSE(preview->selection().showselection);
    dialog->setSpotType(0);
    EXPECT_EQ(pageIndex(), 0);
    dialog->showRangePage();
    dialog->setSpotType(0);  // unchanged: no step runs, the range page stays
    EXPECT_EQ(pageIndex(), 1);
    EXPECT_EQ(dialog->spotType(), 0);
}

TEST_F(DialogTest, OperatorsChoiceInTheMonsterListRunsTheChangeStep) {
    showDialog();
    QComboBox* combo = dialog->monsterCombo();
    combo->setCurrentIndex(1);
    dialog->showChosenMonster();  // Statue: Npc on the point page
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Up);  // to Walker
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(labelText("MonsterNameLabel"), QStringLiteral("Walker"));
    EXPECT_EQ(labelText("monsterlvllabel"), QStringLiteral("12"));
    EXPECT_EQ(dialog->spotType(), 1);
    EXPECT_EQ(pageIndex(), 1);
    EXPECT_FALSE(preview->selection().pointselection);
}

TEST_F(DialogTest, EveryShowingPutsThePreviewIntoSelectionMode) {
    chooseMonster(0);  // range page, while hidden
    EXPECT_FALSE(preview->selection().showselection) << "a hidden dialog's pages are not shown";

    showDialog();
    EXPECT_TRUE(preview->selection().showselection);
    EXPECT_FALSE(preview->selection().pointselection);

    dialog->hide();
    preview->showSpots();
    dialog->show();
    EXPECT_TRUE(preview->selection().showselection);

    // Folded to the title strip the page is not on view; unfolding shows it again.
    auto* minimise = dialog->findChild<QWidget*>(QStringLiteral("SpeedButton1"));
    ASSERT_NE(minimise, nullptr);
    dialog->toggleFolded();
    preview->showSpots();
    dialog->hide();
    dialog->show();
    EXPECT_FALSE(preview->selection().showselection);
    dialog->unfold();
    EXPECT_TRUE(preview->selection().showselection);
}

}  // namespace
