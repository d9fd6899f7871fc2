// A save that dies part way (killed, a power cut) is put right by the next start:
// whatever the moment, the file then holds exactly its old or exactly its new bytes,
// and nothing of the save is left behind.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "RollbackCopy.h"
#include "StartUpRepair.h"
#include "SystemAccess.h"
#include "TableError.h"
#include "TableFixtures.h"
#include "TempFolder.h"
#include "TextFile.h"
#include "TextFilePlatform.h"

namespace {

namespace fs = std::filesystem;
using Step = WriteFaults::Step;

// No system gives a process this number (Linux stops at 2^22, Windows uses multiples of 4).
constexpr unsigned long kNoProcess = 99999999;

// Each case with rollback copies of its own.
class Interrupted : public testing::Test {
protected:
    void SetUp() override {
        before_ = appDataFolder();
        setAppDataFolderForTesting(appData.path());
    }
    void TearDown() override {
        setWriteFaultsForTesting({});
        setAppDataFolderForTesting(before_);
    }
    std::vector<std::string> rollbackFiles() const {
        return fs::exists(rollbackFolder()) ? namesIn(rollbackFolder()) : std::vector<std::string>{};
    }

    TempFolder appData;

private:
    fs::path before_;
};

enum class Said { nothing, putBack, temporaryRemoved };

struct Crash {
    const char* name;
    WriteFaults faults;  // the save dies (or fails) where these say
    bool endsNew;        // after the next start the file holds the new bytes, else the old
    Said told;           // what the next start says
    const char* failure = nullptr;  // the end of the failed save's reason; nullptr: it dies
};

const Crash kCrashes[] = {
    {"backup written, not yet named", {.dieAt = Step::backupUnnamed}, false, Said::temporaryRemoved},
    {"new file written beside it", {.dieAt = Step::temporaryWritten}, false, Said::temporaryRemoved},
    {"renamed over it", {.dieAt = Step::replaced}, true, Said::nothing},
    {"in place: rollback copy not yet named", {.failTemporary = true, .dieAt = Step::rollbackUnnamed}, false,
     Said::nothing},
    {"in place: rollback copy written", {.failTemporary = true, .dieAt = Step::rollbackWritten}, false, Said::nothing},
    {"in place: half the new bytes written", {.failTemporary = true, .dieAt = Step::halfRewritten}, false,
     Said::putBack},
    {"in place: new bytes written, not cut", {.failTemporary = true, .dieAt = Step::rewritten}, false, Said::putBack},
    {"in place: cut to length", {.failTemporary = true, .dieAt = Step::cutToLength}, true, Said::nothing},
    {"in place: cutting failed, half the old bytes written back",
     {.failTemporary = true, .failTruncate = true, .dieAt = Step::halfRestored}, false, Said::putBack},
    // The process lives on and says what it left.
    {"in place: every cut fails", {.failTemporary = true, .failTruncate = true}, false, Said::nothing,
     "; its old content is back"},
    {"in place: cutting failed, writing back failed too",
     {.failTemporary = true, .failTruncate = true, .failRestore = true}, false, Said::putBack,
     "; its old content could not be written back ("},
};

TEST_F(Interrupted, TheNextStartLeavesExactlyTheOldOrTheNewBytesAndNothingElse) {
    // The old file is the longer one, so a cut that did not happen shows as old lines after
    // the new ones; with a longer new file only "old or new" is certain.
    const std::string old = crlf({monsterLine("1", "Old", "3"), monsterLine("2", "Rat", "4"), "end", "kept"});
    const std::string shorter = crlf({monsterLine("1", "New", "5"), monsterLine("2", "Cat", "6"), "end"});
    const std::string longer = shorter + crlf({"after", "the", "end", "line", "and", "more", "of", "them"}) + old;
    for (const auto& c : kCrashes) {
        for (const std::string& bytes : {shorter, longer}) {
            const std::string name = std::string(c.name) + (bytes == longer ? ", longer new file" : "");
            TempFolder folder;
            folder.write("data/monster.txt", old);
            const fs::path file = folder.path() / "data" / "monster.txt";
            setWriteFaultsForTesting(c.faults);
            try {
                writeFileAtomically(file, bytes, monsterFileLabel(), [](const std::string&) { return true; });
                ADD_FAILURE() << name << ": the save went through";
            } catch (const SimulatedCrash&) {
                EXPECT_NE(c.faults.dieAt, Step::none) << name;
            } catch (const TableError& error) {
                ASSERT_TRUE(c.failure) << name << ": " << error.reason();
                // Where the old bytes are not back, the copy the next start looks at.
                if (!error.reason().ends_with("; its old content is back")) {
                    EXPECT_NE(error.reason().find(rollbackFolder().string()), std::string::npos) << error.reason();
                }
                if (bytes == shorter) {
                    EXPECT_NE(error.reason().find(c.failure), std::string::npos) << error.reason();
                }
            }
            setWriteFaultsForTesting({});

            const std::vector<std::string> told = repairInterruptedSaves({file});
            const std::string now = folder.read("data/monster.txt");
            EXPECT_TRUE(now == old || now == bytes) << name << ": a mix of " << now.size() << " bytes";
            EXPECT_EQ(namesButBackups(folder.path() / "data"), std::vector<std::string>{"monster.txt"}) << name;
            EXPECT_EQ(rollbackFiles(), std::vector<std::string>{}) << name;
            EXPECT_EQ(repairInterruptedSaves({file}), std::vector<std::string>{}) << name << ": a second start";
            if (bytes == longer) continue;

            EXPECT_EQ(now, c.endsNew ? bytes : old) << name;
            ASSERT_EQ(told.size(), c.told == Said::nothing ? 0u : 1u) << name;
            if (c.told == Said::putBack) {
                const std::string start = file.string() +
                                          " was left part-written by a save that did not finish; its content from "
                                          "before that save is back (what it held is kept as ";
                EXPECT_EQ(told[0].rfind(start, 0), 0u) << told[0];
                // What the save left is in the backup the message names.
                const fs::path aside = told[0].substr(start.size(), told[0].size() - start.size() - 2);
                EXPECT_EQ(aside.parent_path(), file.parent_path()) << told[0];
                EXPECT_NE(folder.read(aside.lexically_relative(folder.path())), old) << told[0];
            }
            if (c.told == Said::temporaryRemoved) {
                const std::string start = "Removed a temporary file left by a save that did not finish: " +
                                          (folder.path() / "data" / ".monster.txt.tmp-").string();
                EXPECT_EQ(told[0].rfind(start, 0), 0u) << told[0];
            }
        }
    }
}

// Whether a save runs is known by the lock it holds on its rollback copy and its
// temporary files, never by the process number in their names: that number may
// belong to any process by now (a reboot), or to one of another user.
TEST_F(Interrupted, OnlyWhatARunningSaveHoldsLockedIsLeftAlone) {
    const struct {
        const char* name;
        unsigned long process;  // the number the copy's and the temporary file's names carry
        bool locked;            // a save holds them
    } cases[] = {
        {"a save that runs", kNoProcess, true},
        {"a dead save's number, now another process's", 1, false},
        {"a dead save's number, now nobody's", kNoProcess, false},
        {"this process's number", platform::currentProcess(), false},
    };
    const std::string old = crlf({monsterLine("1", "Old", "3"), "end", "kept lines", "after the end"});
    for (const auto& c : cases) {
        TempFolder folder;
        TempFolder ownData;
        setAppDataFolderForTesting(ownData.path());
        folder.write("data/monster.txt", old);
        const fs::path file = folder.path() / "data" / "monster.txt";
        setWriteFaultsForTesting({.failTemporary = true, .dieAt = Step::rewritten});
        EXPECT_THROW(writeFileAtomically(file, "new\r\n", monsterFileLabel()), SimulatedCrash);
        setWriteFaultsForTesting({});
        const std::string mixed = folder.read("data/monster.txt");
        ASSERT_EQ(rollbackFiles().size(), 1u);
        // The copy and a temporary file, under names that carry the case's number.
        std::string name = rollbackFiles()[0];
        name.replace(name.find('.') + 5, name.find('-') - name.find('.') - 5, std::to_string(c.process));
        fs::rename(rollbackFolder() / rollbackFiles()[0], rollbackFolder() / name);
        const std::string temporary = ".monster.txt.tmp-" + std::to_string(c.process) + "-0-0";
        folder.write("data/" + temporary, "x");
        // A rollback copy another save is still writing, not yet named.
        const std::string unnamed = ".monster.txt.tmp-" + std::to_string(c.process) + "-1-0";
        ownData.write("rollback/" + unnamed, "half a copy");
        const platform::Folder rollbacks = platform::Folder::open(rollbackFolder(), platform::Folder::Trust::own);
        const platform::Folder data = platform::Folder::open(file.parent_path(), platform::Folder::Trust::any);
        const platform::File copyHeld = c.locked ? rollbacks.openFile(name) : platform::File();
        const platform::File unnamedHeld = c.locked ? rollbacks.openFile(unnamed) : platform::File();
        const platform::File temporaryHeld = c.locked ? data.openFile(temporary) : platform::File();
        ASSERT_EQ(c.locked, copyHeld.valid() && copyHeld.tryLock() && unnamedHeld.valid() && unnamedHeld.tryLock() &&
                                temporaryHeld.valid() && temporaryHeld.tryLock())
            << c.name;

        const auto told = repairInterruptedSaves({file});
        // A temporary file that a running save holds is named, with why it stays.
        const std::vector<std::string> leftTold = {"Left a temporary file of a save where it is: " +
                                                   (file.parent_path() / temporary).string() +
                                                   " (in use by a save that is running)."};
        if (c.locked) {
            EXPECT_EQ(told, leftTold) << c.name;
        } else {
            EXPECT_EQ(told.size(), 2u) << c.name;
        }
        EXPECT_EQ(folder.read("data/monster.txt"), c.locked ? mixed : old) << c.name;
        std::vector<std::string> copies = {name, unnamed};
        std::sort(copies.begin(), copies.end());
        EXPECT_EQ(rollbackFiles(), c.locked ? copies : std::vector<std::string>{}) << c.name;
        EXPECT_EQ(folder.exists("data/" + temporary), c.locked) << c.name;
    }
}

TEST_F(Interrupted, TemporaryFilesAreRemovedAtStartOnlyWhenTheyAreOfThisFileAndNoSaveHoldsThem) {
    TempFolder folder;
    folder.write("data/monster.txt", "m");
    const std::string dead = ".monster.txt.tmp-" + std::to_string(kNoProcess) + "-0-0";
    const std::string ours = ".monster.txt.tmp-" + std::to_string(platform::currentProcess()) + "-7-1";  // a run before ours
    const std::string held = ".monster.txt.tmp-" + std::to_string(kNoProcess) + "-1-0";  // a save in progress
    std::vector<std::string> kept = {
        "monster.txt",
        "monster.txt.~1~",
        ".monster.txt.tmp-x-0-0",
        ".monster.txt.tmp-" + std::to_string(kNoProcess) + "-0",
        ".other.txt.tmp-" + std::to_string(kNoProcess) + "-0-0",
        "monster.txt.tmp-" + std::to_string(kNoProcess) + "-0-0",
        held,
    };
    for (const auto& name : kept) folder.write("data/" + name, "x");
    folder.write("data/" + dead, "x");
    folder.write("data/" + ours, "x");
    const fs::path data = folder.path() / "data";
    const platform::Folder opened = platform::Folder::open(data, platform::Folder::Trust::any);
    const platform::File holder = opened.openFile(held);
    ASSERT_TRUE(holder.valid() && holder.tryLock());

    std::vector<std::string> removed = {(data / dead).string(), (data / ours).string()};
    std::sort(removed.begin(), removed.end());
    EXPECT_EQ(repairInterruptedSaves({data / "monster.txt"}),
              (std::vector<std::string>{
                  "Removed 2 temporary files left by saves that did not finish: " + removed[0] + ", " + removed[1],
                  "Left a temporary file of a save where it is: " + (data / held).string() +
                      " (in use by a save that is running)."}));
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(namesIn(data), kept);
}

// What the starts keep of saves that died is bounded as backups are: thirty saves of
// one table file that died part way, each put right by the next start, leave no more
// than the newest ten kept copies and backups of it in any one place. Run where folder
// permissions bite, so that a folder the user may not write to sends the backups into
// the rollback folder.
TEST_F(Interrupted, ThirtyRepairedSavesLeaveTheNewestTenOfWhatTheStartsKept) {
    if (!unprivilegedHere()) return;
    const struct {
        const char* name;
        bool dataWritable;
        bool editedSince;  // another program changed the file after the crash
        const char* kept;  // the folder that holds what the starts kept: "data" or "rollback"
    } cases[] = {
        {"part-written, kept beside it", true, false, "data"},
        {"part-written, kept in the rollback folder", false, false, "rollback"},
        {"changed by another program since", true, true, "rollback"},
    };
    constexpr int kSaves = 30;
    for (const auto& c : cases) {
#ifdef _WIN32
        if (!c.dataWritable) continue;  // a folder's read-only attribute stops no new file there
#endif
        TempFolder folder;
        TempFolder ownData;
        setAppDataFolderForTesting(ownData.path());
        const fs::path file = folder.path() / "data" / "monster.txt";
        const auto version = [](int n) { return crlf({monsterLine("1", "Save" + std::to_string(n), "3"), "end"}); };
        folder.write("data/monster.txt", version(0) + "kept lines\r\n");
        // The operator's own files that only look like kept copies, older than all.
        const std::vector<std::string> operators = {"monster.txt.my-copy.kept", "monster.txt.-3.kept"};
        for (const std::string& name : operators) {
            ownData.write("rollback/" + name, "the operator's");
            fs::last_write_time(rollbackFolder() / name, fs::file_time_type::clock::now() - std::chrono::hours(24));
        }
        fs::permissions(rollbackFolder(), fs::perms::owner_all);
        if (!c.dataWritable) fs::permissions(file.parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
        for (int n = 1; n <= kSaves; ++n) {
            setWriteFaultsForTesting({.failTemporary = true, .dieAt = Step::halfRewritten});
            EXPECT_THROW(writeFileAtomically(file, version(n), monsterFileLabel(), [](const std::string&) { return true; }),
                         SimulatedCrash);
            setWriteFaultsForTesting({});
            if (c.editedSince) {
                std::ofstream(file, std::ios::binary | std::ios::trunc) << "edit " << n << "\r\n";
            }
            EXPECT_FALSE(repairInterruptedSaves({file}).empty()) << c.name << ", save " << n;
        }
        fs::permissions(file.parent_path(), fs::perms::owner_all);
        const fs::path keptIn = std::string(c.kept) == "data" ? file.parent_path() : rollbackFolder();
        std::vector<std::string> leftovers;
        for (const std::string& name : namesIn(keptIn))
            if (name != "monster.txt" && std::find(operators.begin(), operators.end(), name) == operators.end())
                leftovers.push_back(name);
        EXPECT_EQ(leftovers.size(), 10u) << c.name << ": " << testing::PrintToString(leftovers);
        EXPECT_LE(namesIn(file.parent_path()).size(), 11u) << c.name;
        EXPECT_LE(namesIn(rollbackFolder()).size(), 10u + operators.size()) << c.name;
        for (const std::string& name : operators) EXPECT_TRUE(fs::exists(rollbackFolder() / name)) << c.name << ": " << name;
        // The newest stay: what the last start kept is among them, and nothing of the
        // save that died ten saves before it.
        const auto anyHolds = [&](const std::string& text) {
            return std::any_of(leftovers.begin(), leftovers.end(), [&](const std::string& name) {
                std::ifstream in(keptIn / name, std::ios::binary);
                return std::string(std::istreambuf_iterator<char>(in), {}).find(text) != std::string::npos;
            });
        };
        EXPECT_TRUE(anyHolds("\"Save30\"")) << c.name;
        EXPECT_FALSE(anyHolds("\"Save20\"")) << c.name;
    }
}

}  // namespace
