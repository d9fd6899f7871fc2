// A save asks before it replaces a file that another program made, changed or removed
// since the editor read or last wrote it. The spawn file is read below the working
// folder and saved below the program's folder: what counts is the file the save replaces.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "SpawnTable.h"
#include "TableFixtures.h"
#include "TempFolder.h"
#include "TextFile.h"

namespace {

namespace fs = std::filesystem;

const std::string kQuestion =
    spawnFileLabel() + " was changed by another program since the editor read it. Overwrite those changes?";

struct ChangeCase {
    const char* name;
    const char* atStart;  // the save target at start-up; nullptr: missing
    std::function<void(const fs::path& target)> change;
    bool asks;
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
    {"missing and still missing", nullptr, [](const fs::path&) {}, false},
    {"missing, then made", nullptr, [](const fs::path& t) { writeBytes(t, ""); }, true},
    {"unchanged", "abc\r\n", [](const fs::path&) {}, false},
    {"removed", "abc\r\n", [](const fs::path& t) { fs::remove(t); }, true},
    {"one line more", "abc\r\n", [](const fs::path& t) { writeBytes(t, "abc\r\n\n"); }, true},
    {"same size and time, other bytes", "abc\r\n", [](const fs::path& t) { rewriteKeepingTime(t, "abd\r\n"); },
     true},
    {"a folder now", "abc\r\n", [](const fs::path& t) { fs::remove(t); fs::create_directory(t); }, true},
};

TEST(ChangedFile, TheSaveTargetIsComparedWithWhatTheEditorLastSawOfIt) {
    const MonsterTable monsters = monstersWithIds({17});
    for (const auto& c : kChangeCases) {
        TempFolder work;
        TempFolder program;
        work.write("data/Quarnel.txt", "0\r\n17 0 30 1 2 3\r\nend\r\n");
        fs::create_directories(program.path() / "data");
        const fs::path target = program.path() / "data" / "Quarnel.txt";
        if (c.atStart) program.write("data/Quarnel.txt", c.atStart);

        SpawnTable table;
        table.loadmonsterslocation(work.path(), monsters, {});
        table.rememberSaveTarget(program.path());
        work.write("data/Quarnel.txt", "changed where it was read, which the save does not replace");
        c.change(target);
        EXPECT_EQ(table.checkSave(program.path()), c.asks ? kQuestion : "") << c.name;

        if (fs::is_directory(target)) continue;
        // After a save the editor knows the file it wrote.
        table.save(program.path());
        EXPECT_EQ(table.checkSave(program.path()), "") << c.name;
        program.write("data/Quarnel.txt", program.read("data/Quarnel.txt") + "\r\n");
        EXPECT_EQ(table.checkSave(program.path()), kQuestion) << c.name;
    }
}

}  // namespace
