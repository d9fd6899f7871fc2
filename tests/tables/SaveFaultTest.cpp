#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "MonsterTable.h"
#include "RollbackCopy.h"
#include "SpawnTable.h"
#include "StartUpRepair.h"
#include "TableError.h"
#include "TableFixtures.h"
#include "TempFolder.h"
#include "TextFile.h"
#include "TextFilePlatform.h"

namespace {

struct Fault {
    const char* name;
    WriteFaults faults;
};

const std::vector<Fault> kFaults = {
    {"after0", {0, false, false}},   {"after1", {1, false, false}},   {"after7", {7, false, false}},
    {"after50", {50, false, false}}, {"flush", {-1, true, false}}, {"rename", {-1, false, true}},
    // In place, for want of a temporary file:
    {"inPlaceAfter7", {.failAfterBytes = 7, .failTemporary = true}},
    {"inPlaceReadBack", {.failTemporary = true, .failReadBack = true}},
};

class FailingTableSave : public testing::TestWithParam<Fault> {
protected:
    void TearDown() override { setWriteFaultsForTesting({}); }
};

TEST_P(FailingTableSave, MonsterTableLeavesOldFileAndTableThenSavesLater) {
    TempFolder folder;
    const std::string old = crlf({monsterLine("1", "Old  Wolf", "3"), monsterLine("2", "Rat", "4"), "end"}) + "x";
    folder.write("data/monster.txt", old);
    MonsterTable table;
    table.loadmonsterdata(folder.path());
    std::array<std::int32_t, kEditableColumns> values{};
    values.fill(9);
    table.monsterlines[1] = rebuildmonsterline(table.monsterlines[1], values);
    const auto linesBefore = table.monsterlines;
    const auto monstersBefore = table.monsters;

    setWriteFaultsForTesting(GetParam().faults);
    try {
        table.savemonsterdata(folder.path());
        ADD_FAILURE() << "reported success";
    } catch (const TableError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file " + monsterFileLabel());
    }
    EXPECT_EQ(folder.read("data/monster.txt"), old);
    EXPECT_EQ(namesIn(folder.path() / "data"), std::vector<std::string>{"monster.txt"});
    EXPECT_EQ(table.monsterlines, linesBefore);
    EXPECT_EQ(table.monsters, monstersBefore);

    setWriteFaultsForTesting({});
    table.savemonsterdata(folder.path());
    EXPECT_EQ(folder.read("data/monster.txt"), table.fileBytes());
}

TEST_P(FailingTableSave, SpawnFileLeavesOldFileAndTableThenSavesLater) {
    TempFolder folder;
    const MonsterTable monsters = monstersWithIds({17});
    const std::string old = "0\r\n17 0 30 1 2 3 // old\r\nend\r\n";
    folder.write("data/Quarnel.txt", old);
    SpawnTable table;
    table.loadmonsterslocation(folder.path(), monsters, {});
    SpawnEntry added;
    added.ispoint = true;
    added.monsterid = 17;
    table.append(added);
    const auto entriesBefore = table.entries;

    setWriteFaultsForTesting(GetParam().faults);
    try {
        table.save(folder.path());
        ADD_FAILURE() << "reported success";
    } catch (const TableError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot create file " + (folder.path() / "data" / "Quarnel.txt").string());
    }
    EXPECT_EQ(folder.read("data/Quarnel.txt"), old);
    EXPECT_EQ(namesIn(folder.path() / "data"), std::vector<std::string>{"Quarnel.txt"});
    EXPECT_EQ(table.count, 2);
    EXPECT_EQ(table.entries, entriesBefore);
    EXPECT_TRUE(table.saveRefusal().empty());

    setWriteFaultsForTesting({});
    table.save(folder.path());
    EXPECT_EQ(folder.read("data/Quarnel.txt"), table.fileBytes());
}

INSTANTIATE_TEST_SUITE_P(Faults, FailingTableSave, testing::ValuesIn(kFaults),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FailingTableSave, TargetThatIsAFolder) {
    TempFolder folder;
    folder.write("data/monster.txt/keep", "k");
    folder.write("data/Quarnel.txt/keep", "k");
    MonsterTable monsters;
    monsters.loadFromText(crlf({monsterLine("1", "A", "1"), "end"}), monsterFileLabel());
    SpawnTable spawns;
    spawns.loadFromText("", spawnFileLabel(), monsters, {});
    EXPECT_THROW(monsters.savemonsterdata(folder.path()), TableError);
    EXPECT_THROW(spawns.save(folder.path()), TableError);
    EXPECT_EQ(folder.read("data/monster.txt/keep"), "k");
    EXPECT_EQ(folder.read("data/Quarnel.txt/keep"), "k");
    EXPECT_EQ(namesIn(folder.path() / "data"), (std::vector<std::string>{"Quarnel.txt", "monster.txt"}));
}

TEST(FailingTableSave, MissingDataFolder) {
    TempFolder folder;
    MonsterTable monsters;
    monsters.loadFromText(crlf({monsterLine("1", "A", "1")}), monsterFileLabel());
    SpawnTable spawns;
    spawns.loadFromText("", spawnFileLabel(), monsters, {});
    EXPECT_THROW(monsters.savemonsterdata(folder.path()), TableError);
    EXPECT_THROW(spawns.save(folder.path()), TableError);
    EXPECT_TRUE(namesIn(folder.path()).empty());
}

// After a rewrite in place fails, the message says what the file holds as read back,
// and the rollback copy stays exactly where it does not hold its old bytes for sure.
TEST(FailedRewrite, TheMessageSaysWhatTheFileHoldsWhenReadBack) {
    using platform::Fault;
    const std::string full = platform::reasonFor(Fault::diskFull);
    const std::string io = platform::reasonFor(Fault::ioError);
    const std::string again = "the editor looks at it again when it next starts, with the rollback copy ";
    const struct {
        const char* name;
        WriteFaults faults;
        std::string told;  // how the reason goes on after the file's path; empty: saved
        bool holdsOld;     // else the new bytes
    } cases[] = {
        {"saved in place", {.failTemporary = true}, "", false},
        {"the new bytes read back differ; the old ones written back",
         {.failTemporary = true, .failReadBack = true},
         "the bytes read back differ from those written; its old content is back", true},
        {"nothing written, nothing written back", {.failAfterBytes = 0, .failTemporary = true, .failRestore = true},
         full + "; it holds its old content, though writing it back failed (" + io + "): " + again, true},
        {"not flushed, nothing written back", {.failFlush = true, .failTemporary = true, .failRestore = true},
         io + "; its old content could not be written back (" + io +
             "), and it holds the new content, which may not all be on the disk: " + again,
         false},
        {"cannot be read back", {.failTemporary = true, .failReading = true},
         io + "; its old content was written back, but the file cannot be read to check it (" + io + "): " + again,
         true},
    };
    const std::string old = crlf({monsterLine("1", "Old", "3"), "end", "kept"});
    const std::string bytes = crlf({monsterLine("1", "New", "5"), "end"});
    for (const auto& c : cases) {
        TempFolder folder;
        TempFolder appData;
        const std::filesystem::path before = appDataFolder();
        setAppDataFolderForTesting(appData.path());
        folder.write("data/monster.txt", old);
        const auto file = folder.path() / "data" / "monster.txt";
        setWriteFaultsForTesting(c.faults);
        std::string told;
        try {
            writeFileAtomically(file, bytes, monsterFileLabel());
        } catch (const TableError& error) {
            told = error.reason();
        }
        setWriteFaultsForTesting({});
        const auto copies = std::filesystem::exists(rollbackFolder()) ? namesIn(rollbackFolder()) : std::vector<std::string>{};
        const bool kept = c.told.ends_with(again);
        EXPECT_EQ(copies.size(), kept ? 1u : 0u) << c.name;
        EXPECT_EQ(told, c.told.empty() ? "" : file.string() + ": " + c.told + (kept ? (rollbackFolder() / copies.at(0)).string() : ""))
            << c.name;
        EXPECT_EQ(folder.read("data/monster.txt"), c.holdsOld ? old : bytes) << c.name;
        // The next start finds the file whole and has nothing to say.
        EXPECT_EQ(repairInterruptedSaves({file}), std::vector<std::string>{}) << c.name;
        EXPECT_FALSE(std::filesystem::exists(rollbackFolder()) && !namesIn(rollbackFolder()).empty()) << c.name;
        setAppDataFolderForTesting(before);
    }
}

// Each file a save writes is on the disk before anything counts on it, so a power cut
// leaves the old file or the whole new one: the new file before it takes the old one's
// place, the backup before that, the rollback copy before the file is rewritten in
// place.
TEST(AtomicSave, EachFileIsFlushedBeforeAnythingCountsOnIt) {
    const struct {
        const char* name;
        WriteFaults faults;
        const char* flushed;  // the file, below the test's folders; "" for the one renamed
        bool beforeRename;    // else before the save stopped where the faults say
    } cases[] = {
        {"the new file, before it is renamed over the old one", {}, "", true},
        {"the backup, before the new file is renamed over the old one", {}, "data/monster.txt.~1~", true},
        {"the rollback copy, before the file is rewritten in place",
         {.failTemporary = true, .dieAt = WriteFaults::Step::rollbackWritten}, "rollback", false},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        TempFolder appData;
        const std::filesystem::path before = appDataFolder();
        setAppDataFolderForTesting(appData.path());
        folder.write("data/monster.txt", "old\r\n");
        std::vector<std::pair<std::string, platform::FileIdentity>> events;
        platform::observeSyncForTesting([&events](std::string_view event, const platform::FileIdentity& file) {
            events.emplace_back(std::string(event), file);
        });
        setWriteFaultsForTesting(c.faults);
        try {
            writeFileAtomically(folder.path() / "data" / "monster.txt", "new\r\n", monsterFileLabel());
        } catch (const SimulatedCrash&) {
        }
        setWriteFaultsForTesting({});
        platform::observeSyncForTesting({});
        const auto renamed = std::find_if(events.begin(), events.end(), [](const auto& e) { return e.first == "rename"; });
        ASSERT_EQ(renamed != events.end(), c.beforeRename) << c.name;
        const auto until = c.beforeRename ? renamed : events.end();
        platform::FileInfo file;
        if (std::string(c.flushed).empty()) {
            file.identity = renamed->second;
        } else {
            const auto path = std::string(c.flushed) == "rollback" ? rollbackFolder() / namesIn(rollbackFolder()).at(0)
                                                                   : folder.path() / c.flushed;
            ASSERT_TRUE(platform::statPath(path, file)) << c.name;
        }
        EXPECT_NE(std::find(events.begin(), until, std::pair{std::string("flush"), file.identity}), until) << c.name;
        setAppDataFolderForTesting(before);
    }
}

TEST(StoppedMonsterLoad, LaterSaveWritesEveryLineOfTheFile) {
    TempFolder folder;
    const std::vector<std::string> lines = {monsterLine("1", "A", "1"), monsterLine("2", "B", "300"),
                                            monsterLine("3", "C", "1"), "end", "after"};
    folder.write("data/monster.txt", crlf(lines));
    MonsterTable table;
    EXPECT_THROW(table.loadmonsterdata(folder.path()), TableError);
    EXPECT_EQ(table.monstercount, 1);
    table.savemonsterdata(folder.path());
    EXPECT_EQ(folder.read("data/monster.txt"), crlf(lines));
}

}  // namespace
