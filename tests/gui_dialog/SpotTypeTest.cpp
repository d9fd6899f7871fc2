// The spot type follows the monster and the page in use, and every showing of a
// page puts the preview into selection mode.

#include <string>
#include <vector>

#include "DialogFixture.h"

// Everything here is local to this file (it may share a unity batch with others).
namespace {

enum class Op { Monster, Type, Page };
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
};

void PrintTo(const SpotTypeCase& c, std::ostream* os) { *os << c.name; }

class SpotTypeTest : public DialogTest, public ::testing::WithParamInterface<SpotTypeCase> {};

TEST_P(SpotTypeTest, FollowsMonsterAndPage) {
    const SpotTypeCase& c = GetParam();
    showDialog();
    for (const Step& step : c.steps) {
        switch (step.op) {
        case Op::Monster: chooseMonster(step.value); break;
        case Op::Type: form2->setSpotType(step.value); break;
        case Op::Page: step.value == 0 ? form2->showPointPage() : form2->showRangePage(); break;
        }
    }
    EXPECT_EQ(form2->spotType(), c.type);
    EXPECT_EQ(pageIndex(), c.page);
    EXPECT_TRUE(form4->showselection);
    EXPECT_EQ(form4->pointselection, c.page == 0);
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
        EXPECT_EQ(form2->currentmonster, tables.monsters.monsters[c.index]);
    }
}

TEST_F(DialogTest, NoMonsterChosenIsAConversionErrorAndChangesNothing) {
    EXPECT_EQ(labelText("MonsterNameLabel"), QStringLiteral("NAME"));
    showDialog();
    form2->setSpotType(1);
    ASSERT_EQ(pageIndex(), 1);
    form2->monsterIdCombo()->setCurrentIndex(-1);

    form2->MonsterIDcomboChange();
    form2->setSpotType(0);  // Npc looks the monster up again

    ASSERT_EQ(recorder().errors(),
              QStringList({"'' is not a valid integer value", "'' is not a valid integer value"}));
    EXPECT_EQ(labelText("MonsterNameLabel"), QStringLiteral("NAME"));
    EXPECT_EQ(labelText("monsterlvllabel"), QStringLiteral("LVL"));
    EXPECT_EQ(form2->spotType(), 0);
    EXPECT_EQ(pageIndex(), 1);  // not switched
}

TEST_F(DialogTest, EveryShowingPutsThePreviewIntoSelectionMode) {
    chooseMonster(0);  // range page, while hidden
    EXPECT_FALSE(form4->showselection) << "a hidden dialog's pages are not shown";

    showDialog();
    EXPECT_TRUE(form4->showselection);
    EXPECT_FALSE(form4->pointselection);

    form2->hide();
    form4->showselection = false;
    form2->show();
    EXPECT_TRUE(form4->showselection);

    // Folded to the title strip the page is not on view; unfolding shows it again.
    auto* minimise = form2->findChild<QWidget*>(QStringLiteral("SpeedButton1"));
    ASSERT_NE(minimise, nullptr);
    form2->SpeedButton1Click();
    form4->showselection = false;
    form2->hide();
    form2->show();
    EXPECT_FALSE(form4->showselection);
    form2->showBody();
    EXPECT_TRUE(form4->showselection);
}

}  // namespace
