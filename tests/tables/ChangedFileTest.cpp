// A save asks before it replaces a file that another program made, changed or removed
// since the editor read or last wrote it. The spawn file is read below the working
// folder and saved below the program's folder: what counts is the file the save
// replaces, which may be another file than the one read.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "SpawnTable.h"
#include "SystemAccess.h"
#include "TableError.h"
#include "TableFixtures.h"
#include "TempFolder.h"
#include "TextFile.h"

namespace {

namespace fs = std::filesystem;

const std::string kQuestion =
    spawnFileLabel() + " was changed by another program since the editor read it. Overwrite those changes?";
const std::string kRead = "0\r\n17 0 30 1 2 3\r\nend\r\n";

enum class Ask { nothing, changed, otherFile };

struct ChangeCase {
    const char* name;
    const char* atStart;  // the save target at start-up; nullptr: missing
    std::function<void(const fs::path& target)> change;
    Ask asks;
};

void writeBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

void rewriteKeepingTime(const fs::path& target, const std::string& bytes) {
    const auto time = fs::last_write_time(target);
    writeBytes(target, bytes);
    fs::last_write_time(target, time);
}

const ChangeCase kChangeCases[] = {
    {"missing and still missing", nullptr, [](const fs::path&) {}, Ask::nothing},
    // Never read, so whatever it holds once it exists would be lost unseen.
    {"missing, then made", nullptr, [](const fs::path& t) { writeBytes(t, ""); }, Ask::otherFile},
    {"the bytes read, unchanged", kRead.c_str(), [](const fs::path&) {}, Ask::nothing},
    {"the bytes read, then removed", kRead.c_str(), [](const fs::path& t) { fs::remove(t); }, Ask::changed},
    {"the bytes read, then one line more", kRead.c_str(), [](const fs::path& t) { writeBytes(t, kRead + "\n"); },
     Ask::changed},
    {"the bytes read, then others of the same size and time", kRead.c_str(),
     [](const fs::path& t) { rewriteKeepingTime(t, "1" + kRead.substr(1)); }, Ask::changed},
    {"other bytes, unchanged", "abc\r\n", [](const fs::path&) {}, Ask::otherFile},
    {"other bytes, then removed", "abc\r\n", [](const fs::path& t) { fs::remove(t); }, Ask::nothing},
    {"other bytes, then the bytes read", "abc\r\n", [](const fs::path& t) { writeBytes(t, kRead); }, Ask::nothing},
};

TEST(ChangedFile, TheSaveTargetIsComparedWithWhatTheEditorLastSawOfIt) {
    const MonsterTable monsters = monstersWithIds({17});
    for (const auto& c : kChangeCases) {
        TempFolder work;
        TempFolder program;
        work.write("data/Quarnel.txt", kRead);
        fs::create_directories(program.path() / "data");
        const fs::path target = program.path() / "data" / "Quarnel.txt";
        if (c.atStart) program.write("data/Quarnel.txt", c.atStart);

        SpawnTable table;
        table.loadmonsterslocation(work.path(), monsters, {});
        table.rememberSaveTarget(program.path());
        work.write("data/Quarnel.txt", "changed where it was read, which the save does not replace");
        c.change(target);
        const std::string otherFile = "The save would replace " + target.string() + ", but the editor read " +
                                      (work.path() / "data" / "Quarnel.txt").string() +
                                      " at start-up, and the two files differ. Replace " + target.string() + "?";
        EXPECT_EQ(table.checkSave(program.path()),
                  c.asks == Ask::changed ? kQuestion : c.asks == Ask::otherFile ? otherFile : "")
            << c.name;

        // After a save the editor knows the file it wrote.
        table.save(program.path());
        EXPECT_EQ(table.checkSave(program.path()), "") << c.name;
        program.write("data/Quarnel.txt", program.read("data/Quarnel.txt") + "\r\n");
        EXPECT_EQ(table.checkSave(program.path()), kQuestion) << c.name;
    }
}

// A table that was never read from a file has nothing to compare a file with.
TEST(ChangedFile, AFileTheEditorNeverReadCountsAsChangedOnceItExists) {
    for (const bool made : {false, true}) {
        TempFolder program;
        fs::create_directories(program.path() / "data");
        SpawnTable table;
        table.loadFromText(kRead, spawnFileLabel(), monstersWithIds({17}), {});
        if (made) program.write("data/Quarnel.txt", kRead);
        EXPECT_EQ(table.checkSave(program.path()), made ? kQuestion : "") << made;
    }
}

// Nothing is asked about a file that cannot be compared: the reason is told, and the
// window saves nothing.
TEST(ChangedFile, ATargetThatCannotBeReadAgainIsNamedWithTheSystemsReason) {
    if (!unprivilegedHere()) return;
    const struct {
        const char* name;
        std::function<void(const fs::path&)> make;
        const char* reason;
    } cases[] = {
        {"a folder now", [](const fs::path& t) { fs::remove(t); fs::create_directory(t); }, "not a regular file"},
#ifndef _WIN32  // mode bits
        {"no longer readable", [](const fs::path& t) { fs::permissions(t, fs::perms::owner_write); },
         "Permission denied"},
#endif
    };
    for (const auto& c : cases) {
        TempFolder folder;
        folder.write("data/Quarnel.txt", kRead);
        SpawnTable table;
        table.loadmonsterslocation(folder.path(), monstersWithIds({17}), {});
        const fs::path target = folder.path() / "data" / "Quarnel.txt";
        c.make(target);
        try {
            table.checkSave(folder.path());
            ADD_FAILURE() << c.name << ": nothing said";
        } catch (const TableError& error) {
            EXPECT_STREQ(error.what(), ("Cannot open file " + spawnFileLabel()).c_str()) << c.name;
            expectReason(error, target, c.reason);
        }
    }
}

TEST(ChangedFile, TheStartSaysOnceThatTheSpawnFileIsSavedInAnotherFolder) {
    TempFolder work;
    TempFolder program;
    work.write("data/Quarnel.txt", kRead);
    program.write("data/Quarnel.txt", kRead);
    EXPECT_EQ(spawnFoldersNotice(work.path(), work.path()), "");
    EXPECT_EQ(spawnFoldersNotice(work.path(), program.path()),
              "The spawn file is read from " + (work.path() / "data" / "Quarnel.txt").string() + " but saved to " +
                  (program.path() / "data" / "Quarnel.txt").string() +
                  ": the working folder and the program's folder differ.");
    // The same file by another name is one file.
    fs::remove(program.path() / "data" / "Quarnel.txt");
    std::string why;
    if (!makeSymlink(program.path() / "data" / "Quarnel.txt", work.path() / "data" / "Quarnel.txt", why))
        GTEST_SKIP() << "the system makes no symbolic links here: " << why;
    EXPECT_EQ(spawnFoldersNotice(work.path(), program.path()), "");
}

}  // namespace
