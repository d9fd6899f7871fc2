// Every save keeps the bytes it replaces as a numbered backup beside the file, and
// a backup that cannot be written stops the save unless the operator goes on.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "MonsterTable.h"
#include "StartUpRepair.h"
#include "TableError.h"
#include "TableFixtures.h"
#include "TempFolder.h"
#include "TextFile.h"

namespace {

namespace fs = std::filesystem;

class Backups : public testing::Test {
protected:
    void TearDown() override { setWriteFaultsForTesting({}); }
    TempFolder folder;
};

TEST_F(Backups, TenSavesLeaveTenAndTheEleventhRemovesTheOldest) {
    const fs::path file = folder.path() / "data" / "Quarnel.txt";
    const auto version = [](int n) { return "version " + std::to_string(n) + "\r\n"; };
    folder.write("data/Quarnel.txt", version(0));
    for (int save = 1; save <= 11; ++save) {
        writeFileAtomically(file, version(save), "Q");
        std::vector<std::string> expected{"Quarnel.txt"};
        for (int n = std::max(1, save - 9); n <= save; ++n) expected.push_back("Quarnel.txt.~" + std::to_string(n) + "~");
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(namesIn(folder.path() / "data"), expected) << "save " << save;
        // Backup n holds what save n replaced.
        EXPECT_EQ(folder.read("data/Quarnel.txt.~" + std::to_string(save) + "~"), version(save - 1)) << save;
    }
    // Nothing new to keep: the same bytes again, and bytes the newest backup holds.
    const auto before = namesIn(folder.path() / "data");
    writeFileAtomically(file, version(11), "Q");
    EXPECT_EQ(namesIn(folder.path() / "data"), before);
    folder.write("data/Quarnel.txt", version(10));
    writeFileAtomically(file, version(12), "Q");
    EXPECT_EQ(namesIn(folder.path() / "data"), before);
}

TEST_F(Backups, ABackupThatCannotBeWrittenStopsTheSaveUnlessConfirmed) {
    const std::string old = crlf({monsterLine("1", "Old", "3"), "end"});
    const fs::path file = folder.path() / "data" / "monster.txt";
    const struct {
        const char* name;
        std::optional<bool> answer;  // none: nobody to ask
        bool saved;
    } cases[] = {
        {"nobody to ask", std::nullopt, false},
        {"answered No", false, false},
        {"answered Yes", true, true},
    };
    for (const auto& c : cases) {
        folder.write("data/monster.txt", old);
        MonsterTable table;
        table.loadmonsterdata(folder.path());
        table.monsterlines[0] += "\t";
        std::vector<std::string> questions;
        GoOnWithoutBackup ask;
        if (c.answer) ask = [&](const std::string& question) {
            questions.push_back(question);
            return *c.answer;
        };
        setWriteFaultsForTesting({.failBackup = true});
        try {
            EXPECT_EQ(table.savemonsterdata(folder.path(), ask), c.saved) << c.name;
            EXPECT_TRUE(c.answer) << c.name << ": went on without asking";
        } catch (const TableError& error) {
            EXPECT_FALSE(c.answer) << c.name;
            EXPECT_STREQ(error.what(), ("Cannot create file " + monsterFileLabel()).c_str());
            EXPECT_NE(error.reason().find(file.string() + ": no backup of it can be written beside it ("), std::string::npos)
                << error.reason();
        }
        EXPECT_EQ(folder.read("data/monster.txt"), c.saved ? table.fileBytes() : old) << c.name;
        EXPECT_EQ(namesIn(folder.path() / "data"), std::vector<std::string>{"monster.txt"}) << c.name;
        if (!c.answer) continue;
        ASSERT_EQ(questions.size(), 1u) << c.name;
        // It names the file and why, in the system's words, and defaults to nothing.
        EXPECT_EQ(questions[0].rfind("No backup of " + file.string() + " can be written beside it (" +
                                         (folder.path() / "data").string() + ": ",
                                     0),
                  0u)
            << questions[0];
        EXPECT_TRUE(questions[0].ends_with("). Save without a backup?")) << questions[0];
    }
}

// The next backup takes the number after the highest, whatever numbers are missing
// below it: a backup is never written over another.
TEST_F(Backups, TheNextNumberIsAfterTheHighestEvenWithGapsBelow) {
    for (const char* name : {"Quarnel.txt", "Quarnel.txt.~1~", "Quarnel.txt.~2~", "Quarnel.txt.~4~"})
        folder.write(std::string("data/") + name, name);
    writeFileAtomically(folder.path() / "data" / "Quarnel.txt", "new\r\n", "Q");
    EXPECT_EQ(folder.read("data/Quarnel.txt.~5~"), "Quarnel.txt");
    for (const char* name : {"Quarnel.txt.~1~", "Quarnel.txt.~2~", "Quarnel.txt.~4~"})
        EXPECT_EQ(folder.read(std::string("data/") + name), name);
    EXPECT_FALSE(folder.exists("data/Quarnel.txt.~3~"));
}

// A backup that is written counts as written, even when its temporary name cannot be
// removed after: nobody is asked to go on without one. The next start removes the name
// (where the system gave the file a second name at all: Windows renames it).
TEST_F(Backups, ABackupThatKeepsItsTemporaryNameIsWrittenAllTheSame) {
    const fs::path file = folder.path() / "data" / "monster.txt";
    folder.write("data/monster.txt", "old\r\n");
    setWriteFaultsForTesting({.failUnnaming = true});
    int asked = 0;
    writeFileAtomically(file, "new\r\n", monsterFileLabel(), [&asked](const std::string&) { return ++asked, false; });
    setWriteFaultsForTesting({});
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(folder.read("data/monster.txt"), "new\r\n");
    EXPECT_EQ(folder.read("data/monster.txt.~1~"), "old\r\n");
    repairInterruptedSaves({file});
    EXPECT_EQ(namesIn(folder.path() / "data"), (std::vector<std::string>{"monster.txt", "monster.txt.~1~"}));
    EXPECT_EQ(folder.read("data/monster.txt.~1~"), "old\r\n");
}

}  // namespace
