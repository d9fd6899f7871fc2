// The dialog opened on a spot follows that spot as the document changes it, whoever
// changes it: "Apply" then writes what the operator changed over the spot as it is now.

#include <functional>
#include <string>

#include <QAbstractButton>
#include <QUndoStack>

#include "DialogFixture.h"

namespace {

class EditSpotTest : public DialogTest {
protected:
    EditorDocument& editable() { return windows->document(); }
    QAbstractButton* applyButton() const { return dialog->findChild<QAbstractButton*>(QStringLiteral("ApplyButton")); }
    std::string lineOf(int spot) const {
        const SpawnEntry& e = document().spawns().entries[static_cast<std::size_t>(spot)];
        std::string line = std::to_string(e.monsterid) + ' ' + std::to_string(e.mapnumber) + ' ' +
                           std::to_string(e.distance) + ' ' + std::to_string(e.x0) + ' ' + std::to_string(e.y0);
        if (!e.ispoint) line += ' ' + std::to_string(e.x1) + ' ' + std::to_string(e.y1);
        line += ' ' + std::to_string(e.dir);
        if (!e.ispoint) line += ' ' + std::to_string(e.count);
        return line;
    }
    // Another window gives the spot new values (as a drag on the overview or another
    // dialog's Apply would).
    void changeElsewhere(int spot, const std::function<void(SpawnEntry&)>& how, const char* verb = "move") {
        SpawnEntry values = document().spawns().entries[static_cast<std::size_t>(spot)];
        how(values);
        editable().changeSpot(spot, values, QString::fromLatin1(verb));
    }
};

// Spot 1: Walker's range on map 0, (10, 20) to (30, 40), distance 10, count 3.
// Spot 0: Walker's point on map 3 at (50, 60).
TEST_F(EditSpotTest, TheFieldsFollowTheSpotAndApplyWritesOnlyWhatTheOperatorChanged) {
    struct Case {
        const char* name;
        int spot;
        std::function<void()> operatorEdits;  // in the dialog, before the change elsewhere
        std::function<void()> elsewhere;
        std::string shown;    // the spot as the dialog's fields show it afterwards (X0 or X, and Y0 or Y)
        std::string applied;  // the spot's line after Apply
    };
    const Case cases[] = {
        {"moved on the map while the count was changed here", 1, [this] { field("spincount")->setValue(4); },
         [this] { changeElsewhere(1, [](SpawnEntry& e) { e.x0 = 15, e.y0 = 25, e.x1 = 35, e.y1 = 45; }); }, "15 25",
         "10 0 10 15 25 35 45 -1 4"},
        {"moved, then the move undone", 1, [] {},
         [this] {
             changeElsewhere(1, [](SpawnEntry& e) { e.x0 = 15, e.x1 = 35; });
             editable().history(TableFile::Spawns).undo();
         },
         "10 20", "10 0 10 10 20 30 40 -1 3"},
        {"another Apply changed its distance and map; X0 changed here stays", 1,
         [this] { field("SpinX0")->setValue(12); },
         [this] { changeElsewhere(1, [](SpawnEntry& e) { e.distance = 44, e.mapnumber = 6; }, "change"); }, "12 20",
         "10 6 44 12 20 30 40 -1 3"},
        {"a point moved; its direction changed here stays", 0,
         [this] { dialog->findChild<QAbstractButton*>(QStringLiteral("RadioButton6"))->click(); },
         [this] { changeElsewhere(0, [](SpawnEntry& e) { e.x0 = 70, e.y0 = 80, e.dir = 2; }); }, "70 80",
         "10 3 10 70 80 6"},
        {"made a range by an undo of an Apply that made it a point", 1, [] {},
         [this] {
             changeElsewhere(1, [](SpawnEntry& e) { e.ispoint = true, e.spottype = 2; }, "change");
             editable().history(TableFile::Spawns).undo();
         },
         "10 20", "10 0 10 10 20 30 40 -1 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        makeWindows(standardTables());
        dialog->editSpot(c.spot);
        c.operatorEdits();
        c.elsewhere();
        const SpawnEntry& now = document().spawns().entries[static_cast<std::size_t>(c.spot)];
        const bool point = now.ispoint;
        EXPECT_EQ(dialog->spotType(), now.spottype);
        EXPECT_EQ(pageIndex(), point ? 0 : 1);
        EXPECT_EQ(preview->selection().pointselection, point) << "the preview picks the place the spot's way";
        const std::string shown = std::to_string(field(point ? "SpinEditX" : "SpinX0")->value()) + ' ' +
                                  std::to_string(field(point ? "SpinEditY" : "SpinY0")->value());
        EXPECT_EQ(shown, c.shown);
        applyButton()->click();
        EXPECT_EQ(lineOf(c.spot), c.applied);
        EXPECT_TRUE(recorder().messages.empty());
    }
}

// The preview shows the map of the spot being edited, whichever change takes the spot to
// another map: an Apply elsewhere, its undo and redo, a change of many spots at once.
TEST_F(EditSpotTest, ThePreviewFollowsTheEditedSpotToAnotherMap) {
    QUndoStack& history = editable().history(TableFile::Spawns);
    const auto toMap = [this](int map) {
        SpawnEntry values = document().spawns().entries[1];
        values.mapnumber = static_cast<std::uint8_t>(map);
        return values;
    };
    struct Case {
        const char* name;
        std::function<void()> change;
        int map;  // the map the preview shows afterwards
    };
    const Case cases[] = {
        {"another Apply moves it to map 6", [&] { editable().changeSpot(1, toMap(6), QStringLiteral("change")); }, 6},
        {"an undo takes it back to map 0", [&] { history.undo(); }, 0},
        {"a redo to map 6 again", [&] { history.redo(); }, 6},
        {"a change of many spots to map 4", [&] { editable().changeSpots({toMap(4)}, QStringLiteral("move")); }, 4},
        {"its undo", [&] { history.undo(); }, 6},
    };
    ASSERT_TRUE(preview->previewReady());
    dialog->editSpot(1);
    QApplication::processEvents();
    for (const Case& c : cases) {
        c.change();
        QApplication::processEvents();  // the picture is loaded once the change is done
        EXPECT_EQ(document().spawns().entries[1].mapnumber, c.map) << c.name;
        EXPECT_EQ(field("SpinEdit2")->value(), c.map) << c.name;
        EXPECT_TRUE(preview->title().contains(QStringLiteral(", %1 )").arg(c.map))) << c.name << ": "
                                                                                    << preview->title().toStdString();
    }
}

// While its spot is deleted, "Apply" is off and the dialog says why; an undo brings
// both back.
TEST_F(EditSpotTest, ASpotDeletedMeanwhileTurnsApplyOffWithAReason) {
    auto* state = dialog->findChild<QLabel*>(QStringLiteral("EditedSpotState"));
    ASSERT_NE(state, nullptr);
    EXPECT_FALSE(applyButton()->isEnabled());
    EXPECT_EQ(state->text(), "");
    dialog->editSpot(1);
    EXPECT_TRUE(applyButton()->isEnabled());
    EXPECT_EQ(state->text(), "Apply changes spot 1");

    editable().deleteSpot(1);
    EXPECT_FALSE(applyButton()->isEnabled());
    EXPECT_EQ(state->text(), "Spot 1 was deleted: nothing to apply to");
    EXPECT_EQ(applyButton()->toolTip(), state->text());
    const std::string deleted = document().spawns().fileBytes();
    dialog->applyToSpot();
    EXPECT_EQ(document().spawns().fileBytes(), deleted);

    editable().history(TableFile::Spawns).undo();
    EXPECT_TRUE(applyButton()->isEnabled());
    EXPECT_EQ(state->text(), "Apply changes spot 1");
    dialog->openFor(0, true);  // composing a new spot: nothing to apply to
    EXPECT_FALSE(applyButton()->isEnabled());
    EXPECT_EQ(state->text(), "");
}

// A point has no count: opening one leaves the count field as the operator left it, and
// "Apply" leaves the point's stored count as it was.
TEST_F(EditSpotTest, ApplyOnAPointKeepsTheCountFieldAndThePointsCount) {
    field("spincount")->setValue(9);
    dialog->editSpot(0);
    EXPECT_EQ(field("spincount")->value(), 9);
    field("SpinEditX")->setValue(99);
    applyButton()->click();
    EXPECT_EQ(document().spawns().entries[0].x0, 99);
    EXPECT_EQ(document().spawns().entries[0].count, 3);
    EXPECT_EQ(field("spincount")->value(), 9);
}

}  // namespace
