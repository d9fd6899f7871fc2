// Saves on the set-ups of real servers: table files that are symbolic links into
// other folders, folders the operator may not write to, write-protected files.

#include <gtest/gtest.h>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "MonsterTable.h"
#include "SpawnTable.h"
#include "SystemAccess.h"
#include "TableError.h"
#include "TableFixtures.h"
#include "TempFolder.h"
#include "TextFile.h"

namespace {

namespace fs = std::filesystem;

bool isSymlink(const fs::path& path) {
#ifdef _WIN32
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
#else
    return fs::is_symlink(path);
#endif
}

// "@" at the start of a link's text stands for the test's folder: an absolute link.
struct Link {
    const char* at;
    const char* to;
};

struct LinkCase {
    const char* name;
    std::vector<Link> links;  // the first is data/monster.txt
    const char* target;       // the real file
};

const LinkCase kLinkCases[] = {
    {"absolute link into another folder", {{"data/monster.txt", "@/real/monster.txt"}}, "real/monster.txt"},
    {"relative link into another folder", {{"data/monster.txt", "../real/monster.txt"}}, "real/monster.txt"},
    {"relative link beside it", {{"data/monster.txt", "monster.real"}}, "data/monster.real"},
    {"chain of a relative and an absolute link",
     {{"data/monster.txt", "../hop/link"}, {"hop/link", "@/real/m.txt"}},
     "real/m.txt"},
    {"link to a link beside it", {{"data/monster.txt", "monster.hop"}, {"data/monster.hop", "../real/x"}}, "real/x"},
    // Each relative link is taken from its own folder, not from the first link's.
    {"relative chain through deeper and shallower folders",
     {{"data/monster.txt", "../a/b/one"}, {"a/b/one", "../../c/two"}, {"c/two", "../real/deep/m.txt"}},
     "real/deep/m.txt"},
};

// Writes the links of a case; false with the system's reason where it cannot.
bool makeLinks(const TempFolder& folder, const std::vector<Link>& links, std::string& why) {
    for (const auto& link : links) {
        std::string text = link.to;
        if (text.front() == '@') text = folder.path().string() + text.substr(1);
        fs::create_directories((folder.path() / link.at).parent_path());
        if (!makeSymlink(folder.path() / link.at, fs::path(text).make_preferred(), why)) return false;
    }
    return true;
}

std::vector<std::string> foldersOf(const LinkCase& c) {
    std::vector<std::string> folders;
    for (const auto& link : c.links) folders.push_back(fs::path(link.at).parent_path().string());
    folders.push_back(fs::path(c.target).parent_path().string());
    return folders;
}

// The backup goes beside the file at the end of the chain.
TEST(SymlinkedSave, ReplacesTheFinalTargetAndEveryLinkStaysALink) {
    const std::string old = crlf({monsterLine("1", "Old", "3"), "end"});
    for (const auto& c : kLinkCases) {
        TempFolder folder;
        folder.write(c.target, old);
        std::string why;
        if (!makeLinks(folder, c.links, why)) GTEST_SKIP() << "the system makes no symbolic links here: " << why;
        // What each folder is to hold after the save: what it held, and the backup.
        std::vector<std::vector<std::string>> namesBefore;
        const fs::path targetFolder = fs::path(c.target).parent_path();
        for (const auto& f : foldersOf(c)) {
            namesBefore.push_back(namesIn(folder.path() / f));
            if (fs::path(f) != targetFolder) continue;
            namesBefore.back().push_back(fs::path(c.target).filename().string() + ".~1~");
            std::sort(namesBefore.back().begin(), namesBefore.back().end());
        }

        MonsterTable table;
        table.loadmonsterdata(folder.path());
        std::array<std::int32_t, kEditableColumns> values{};
        values.fill(7);
        table.monsterlines[0] = rebuildmonsterline(table.monsterlines[0], values);
        table.savemonsterdata(folder.path());

        EXPECT_EQ(folder.read(c.target), table.fileBytes()) << c.name;
        EXPECT_EQ(folder.read(c.target + std::string(".~1~")), old) << c.name;
        EXPECT_NE(table.fileBytes(), old);
        for (const auto& link : c.links) EXPECT_TRUE(isSymlink(folder.path() / link.at)) << c.name << ": " << link.at;
        std::vector<std::vector<std::string>> namesAfter;
        for (const auto& f : foldersOf(c)) namesAfter.push_back(namesIn(folder.path() / f));
        EXPECT_EQ(namesAfter, namesBefore) << c.name << ": a temporary file was left, a link replaced, or no backup made";
        EXPECT_EQ(table.checkSave(folder.path()), "") << c.name;
    }
}

// The changed-file question looks at the file at the end of the link, as the save does.
TEST(SymlinkedSave, ChangedFileCheckLooksAtTheFinalTarget) {
    const std::string question = changedFileQuestion(monsterFileLabel());
    const struct {
        const char* name;
        std::function<void(const TempFolder&)> change;
        bool asks;
    } cases[] = {
        {"nothing changed", [](const TempFolder&) {}, false},
        {"the target edited", [](const TempFolder& f) { f.write("real/monster.txt", f.read("real/monster.txt") + "x"); },
         true},
        {"the link turned to a copy with the same bytes and time",
         [](const TempFolder& f) {
             fs::copy_file(f.path() / "real/monster.txt", f.path() / "real/copy.txt");
             fs::last_write_time(f.path() / "real/copy.txt", fs::last_write_time(f.path() / "real/monster.txt"));
             fs::remove(f.path() / "data/monster.txt");
             std::string why;
             ASSERT_TRUE(makeSymlink(f.path() / "data/monster.txt", fs::path("../real/copy.txt").make_preferred(), why))
                 << why;
         },
         true},
    };
    for (const auto& c : cases) {
        for (const bool saved : {false, true}) {
            TempFolder folder;
            folder.write("real/monster.txt", crlf({monsterLine("1", "A", "3"), "end"}));
            std::string why;
            if (!makeLinks(folder, {{"data/monster.txt", "../real/monster.txt"}}, why))
                GTEST_SKIP() << "the system makes no symbolic links here: " << why;
            MonsterTable table;
            table.loadmonsterdata(folder.path());
            if (saved) table.savemonsterdata(folder.path());
            c.change(folder);
            EXPECT_EQ(table.checkSave(folder.path()), c.asks ? question : "") << c.name << (saved ? ", after a save" : "");
        }
    }
}

TEST(SymlinkedSave, ALoopOfLinksIsCannotCreateWithTheReason) {
    TempFolder folder;
    std::string why;
    fs::create_directories(folder.path() / "data");
    if (!makeLinks(folder, {{"data/monster.txt", "monster.b"}, {"data/monster.b", "monster.txt"}}, why))
        GTEST_SKIP() << "the system makes no symbolic links here: " << why;
    const auto before = namesIn(folder.path() / "data");
    try {
        writeFileAtomically(folder.path() / "data/monster.txt", "new", monsterFileLabel());
        ADD_FAILURE() << "reported success";
    } catch (const TableError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file " + monsterFileLabel());
        expectReason(error, folder.path() / "data" / "monster.txt", "Too many levels of symbolic links");
    }
    EXPECT_EQ(namesIn(folder.path() / "data"), before);
    EXPECT_TRUE(isSymlink(folder.path() / "data/monster.txt"));
}

// A file whose own mode gives its owner no write permission is never saved over,
// whoever runs the editor: run as root here, whom the system lets write anything. The
// refusal names the file and says why, and the file keeps every byte.
TEST(WriteProtection, AWriteProtectedTableFileIsNeverSavedOverEvenByRoot) {
    const struct {
        const char* name;
        bool spawnFile;
        bool folderWritable;  // the rename would replace the file; the check alone stops it
    } cases[] = {
        {"monster table, writable folder", false, true},
        {"spawn file, writable folder", true, true},
#ifndef _WIN32  // a Windows folder's read-only attribute does not stop new files
        {"monster table, read-only folder", false, false},
        {"spawn file, read-only folder", true, false},
#endif
    };
    for (const auto& c : cases) {
        TempFolder folder;
        const std::string name = c.spawnFile ? "Quarnel.txt" : "monster.txt";
        const std::string old = c.spawnFile ? "0\r\n17\t0\t30\t1\t2\t3 // kept\r\nend\r\n"
                                            : crlf({monsterLine("17", "Old  Wolf", "3"), "end"}) + "x";
        folder.write("data/monster.txt", c.spawnFile ? crlf({monsterLine("17", "W", "1"), "end"}) : old);
        if (c.spawnFile) folder.write("program/data/Quarnel.txt", old);
        const fs::path data = c.spawnFile ? folder.path() / "program" / "data" : folder.path() / "data";
        const fs::path file = data / name;
        fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        if (!c.folderWritable) fs::permissions(data, fs::perms::owner_read | fs::perms::owner_exec);

        MonsterTable monsters;
        SpawnTable spawns;
        std::string label = monsterFileLabel();
        try {
            monsters.loadmonsterdata(folder.path());
            if (c.spawnFile) {
                spawns.loadmonsterslocation(folder.path() / "program", monsters, {});
                label = file.string();
                spawns.save(folder.path() / "program");
            } else {
                monsters.savemonsterdata(folder.path());
            }
            ADD_FAILURE() << c.name << ": saved over a write-protected file";
        } catch (const TableError& error) {
            EXPECT_EQ(std::string(error.what()), "Cannot create file " + label) << c.name;
            expectReason(error, file, "the file is write-protected (mode 0444)");
        }
        fs::permissions(data, fs::perms::owner_all);  // the folder may go again
        EXPECT_EQ(namesIn(data), std::vector<std::string>{name}) << c.name;
        EXPECT_EQ(folder.read(file.lexically_relative(folder.path())), old) << c.name;
        fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    }
}

#ifndef _WIN32
ino_t inodeOf(const fs::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}
#endif

// A writable file in a folder the user may not write to is rewritten in its place,
// without a backup, which only the operator may allow; where the folder is writable,
// the file is replaced as usual.
TEST(ReadOnlyFolder, AWritableFileIsRewrittenInPlaceOnlyWhereNoTemporaryFileCanBeMade) {
#ifdef _WIN32
    GTEST_SKIP() << "folder permissions here are POSIX mode bits; on Windows the in-place rewrite is "
                    "checked through the fault seam";
#else
    if (!unprivilegedHere()) return;
    const struct {
        const char* name;
        fs::perms folder;
        bool inPlace;
    } cases[] = {
        {"read-only folder", fs::perms::owner_read | fs::perms::owner_exec, true},
        {"folder that may not be listed", fs::perms::owner_write | fs::perms::owner_exec, false},
        {"writable folder", fs::perms::owner_all, false},
    };
    for (const auto& c : cases) {
        for (const std::string& old : {std::string("a longer old file\r\nof two lines\r\n"), std::string("x")}) {
            TempFolder folder;
            folder.write("data/monster.txt", old);
            const fs::path file = folder.path() / "data/monster.txt";
            const ino_t inode = inodeOf(file);
            fs::permissions(folder.path() / "data", c.folder);
            const std::string bytes = crlf({monsterLine("1", "New", "5"), "end"});
            int asked = 0;
            const FileStamp stamp = writeFileAtomically(file, bytes, monsterFileLabel(), [&asked](const std::string&) {
                ++asked;
                return true;
            });
            EXPECT_EQ(inodeOf(file) == inode, c.inPlace) << c.name;
            EXPECT_EQ(asked, c.inPlace ? 1 : 0) << c.name;
            fs::permissions(folder.path() / "data", fs::perms::owner_all);
            EXPECT_EQ(folder.read("data/monster.txt"), bytes) << c.name;
            EXPECT_EQ(stamp, stampFile(file)) << c.name;
            EXPECT_EQ(namesButBackups(folder.path() / "data"), std::vector<std::string>{"monster.txt"}) << c.name;
        }
    }
#endif
}

}  // namespace
