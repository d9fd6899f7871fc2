// What another user controls cannot steer a save: a file swapped in while the save
// runs, or a link planted in a folder of that user's where root saves, reaches no
// file that user could not change alone, and gives nothing a set-id bit.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <grp.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "SystemAccess.h"
#include "TableError.h"
#include "TableFixtures.h"
#include "TempFolder.h"
#include "TextFile.h"
#include "TextFilePlatform.h"

namespace {

namespace fs = std::filesystem;
using Step = WriteFaults::Step;

const char* const kReplaced = "it was replaced or moved by another program while it was being saved, so nothing was saved";

class OtherUser : public testing::Test {
protected:
    void TearDown() override { setWriteFaultsForTesting({}); }
};

// Another program puts a file of its own, or a link to a program, in the table's place
// after the save has read the table: the save stops, and touches neither that file
// nor what the link leads to.
TEST_F(OtherUser, ASaveStopsWhenItsFileWasSwappedForAnotherWhileItRan) {
    const struct {
        const char* name;
        Step at;
        bool inPlace;
        bool link;  // else a regular file renamed over the table
        bool existed = true;  // else the save makes the table
    } cases[] = {
        {"a file made under its name while a new table is written", Step::temporaryWritten, false, false, false},
        {"a file renamed over it once its backup is written", Step::backupUnnamed, false, false},
        {"a file renamed over it before the new file takes its place", Step::temporaryWritten, false, false},
        {"a file renamed over it before it is rewritten in place", Step::backupUnnamed, true, false},
        {"a link to a program once its backup is written", Step::backupUnnamed, false, true},
        {"a link to a program before the new file takes its place", Step::temporaryWritten, false, true},
        {"a link to a program before it is rewritten in place", Step::backupUnnamed, true, true},
    };
    const std::string program = "\x7f" "ELF someone's program";
    const std::string planted = "someone's own table";
    for (const auto& c : cases) {
#ifdef _WIN32
        if (c.existed) continue;  // Windows lets no other program replace a file the save holds open
#endif
        TempFolder folder;
        fs::create_directories(folder.path() / "data");
        if (c.existed) folder.write("data/monster.txt", crlf({monsterLine("1", "Old", "3"), "end"}));
        folder.write("bin/program", program);
        const fs::path file = folder.path() / "data" / "monster.txt";
        const fs::path target = folder.path() / "bin" / "program";
#ifndef _WIN32
        ASSERT_EQ(::chmod(target.c_str(), 04755), 0);
#endif
        bool swapped = false;
        std::string why;
        const auto swap = [&](Step step) {
            if (step != c.at || swapped) return;
            swapped = true;
            if (c.link) {
                fs::remove(file);
                if (!makeSymlink(file, target, why)) folder.write("data/monster.txt", planted);
            } else {
                folder.write("data/planted", planted);
                fs::rename(folder.path() / "data" / "planted", file);
            }
        };
        setWriteFaultsForTesting({.failTemporary = c.inPlace, .meanwhile = swap});
        try {
            writeFileAtomically(file, "new\r\n", monsterFileLabel());
            ADD_FAILURE() << c.name << ": saved";
        } catch (const TableError& error) {
            expectReason(error, file,
                         c.existed ? kReplaced
                                   : "another program made a file of that name while it was being saved, so nothing "
                                     "was saved");
        }
        setWriteFaultsForTesting({});
        EXPECT_TRUE(swapped) << c.name;
        if (c.link && !why.empty()) continue;  // no links here: the case is the one above
        EXPECT_EQ(folder.read("bin/program"), program) << c.name;
        EXPECT_EQ(folder.read("data/monster.txt"), c.link ? program : planted) << c.name;
        EXPECT_EQ(fs::is_symlink(file), c.link) << c.name;
        // No backup of the file read stays for a save that did not happen, and no
        // temporary file.
        EXPECT_EQ(namesIn(folder.path() / "data"), std::vector<std::string>{"monster.txt"}) << c.name;
#ifndef _WIN32
        struct stat info {};
        ASSERT_EQ(::stat(target.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 04755u) << c.name;
#endif
    }
}

// Whether a process of a number runs, whoever's it is: a number in a file's name is
// named to the operator only while it does. Run as a user who may signal none but its
// own processes.
TEST_F(OtherUser, AProcessOfAnotherUserRunsAndANumberNoProcessHasDoesNot) {
    if (!unprivilegedHere()) return;
    const struct {
        const char* name;
        unsigned long process;
        bool runs;
    } cases[] = {
        {"this one", platform::currentProcess(), true},
#ifndef _WIN32
        {"the first process, root's", 1, true},
#endif
        {"a number no system gives", 99999999, false},
        {"none", 0, false},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::processExists(c.process), c.runs) << c.name;
}

#ifndef _WIN32
constexpr uid_t kNobody = 65534;

std::vector<gid_t> groupsNow() {
    std::vector<gid_t> groups(static_cast<std::size_t>(::getgroups(0, nullptr)));
    groups.resize(static_cast<std::size_t>(::getgroups(static_cast<int>(groups.size()), groups.data())));
    return groups;
}

struct stat lstatOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info;
}

// Root saving in a folder that belongs to another user works there with that user's
// rights: what it makes is the user's, and a link the user planted reaches only what
// the user could reach alone, whatever root may.
TEST_F(OtherUser, RootSavesInAnotherUsersFolderWithThatUsersRights) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root's rights reach further than the folder owner's";
    const std::string old = crlf({monsterLine("1", "Old", "3"), "end"});
    const struct {
        const char* name;
        // Sets the case up in the test's folder; data/ is the other user's.
        std::function<void(const TempFolder&)> plant;
        const char* told;  // the start of the reason after the path; nullptr: saved
    } cases[] = {
        {"the user's own table",
         [](const TempFolder& f) { ASSERT_EQ(::chown((f.path() / "data/monster.txt").c_str(), kNobody, kNobody), 0); },
         nullptr},
        // Nothing to take: root saves as root, and keeps its groups.
        {"a folder of root's own",
         [](const TempFolder& f) {
             const gid_t rootGroup = 0;
             ASSERT_EQ(::setgroups(1, &rootGroup), 0);
             ASSERT_EQ(::chown((f.path() / "data").c_str(), 0, 0), 0);
         },
         nullptr},
        {"a table of root's in the user's folder", [](const TempFolder&) {}, "Permission denied"},
        // The user may move root's folder away and put one of the user's in its place.
        {"a folder of root's in a folder of the user's",
         [](const TempFolder& f) {
             ASSERT_EQ(::chown(f.path().c_str(), kNobody, kNobody), 0);
             ASSERT_EQ(::chown((f.path() / "data").c_str(), 0, 0), 0);
             ASSERT_EQ(::chown((f.path() / "data/monster.txt").c_str(), kNobody, kNobody), 0);
         },
         "no backup of it can be written beside it"},
        {"a link to a file only root may read",
         [](const TempFolder& f) {
             fs::remove(f.path() / "data/monster.txt");
             fs::create_symlink(f.path() / "root/secret", f.path() / "data/monster.txt");
         },
         "Permission denied"},
        {"a link to a file in a folder only root may write to",
         [](const TempFolder& f) {
             fs::remove(f.path() / "data/monster.txt");
             fs::create_symlink(f.path() / "bin/program", f.path() / "data/monster.txt");
         },
         "Permission denied"},
        // Root's own groups are none of the user's (here root is in its group).
        {"a link to a file that root's group may write, in a folder it may write to",
         [](const TempFolder& f) {
             const gid_t rootGroup = 0;
             ASSERT_EQ(::setgroups(1, &rootGroup), 0);
             f.write("shared/table", "root's group's");
             ASSERT_EQ(::chmod((f.path() / "shared").c_str(), 0775), 0);
             ASSERT_EQ(::chmod((f.path() / "shared/table").c_str(), 0664), 0);
             fs::remove(f.path() / "data/monster.txt");
             fs::create_symlink(f.path() / "shared/table", f.path() / "data/monster.txt");
         },
         "Permission denied"},
        {"a link to a set-id program swapped in once its backup is written",
         [](const TempFolder& f) {
             ASSERT_EQ(::chown((f.path() / "data/monster.txt").c_str(), kNobody, kNobody), 0);
             setWriteFaultsForTesting({.meanwhile = [&f](Step step) {
                 if (step != Step::backupUnnamed || fs::is_symlink(f.path() / "data/monster.txt")) return;
                 fs::remove(f.path() / "data/monster.txt");
                 fs::create_symlink(f.path() / "bin/program", f.path() / "data/monster.txt");
             }});
         },
         kReplaced},
    };
    const std::vector<gid_t> groups = groupsNow();
    for (const auto& c : cases) {
        TempFolder folder;
        ASSERT_EQ(::chmod(folder.path().c_str(), 0755), 0);
        folder.write("data/monster.txt", old);
        folder.write("root/secret", "root's alone");
        folder.write("bin/program", "a program of root's");
        const fs::path data = folder.path() / "data";
        ASSERT_EQ(::chmod((folder.path() / "root").c_str(), 0700), 0);
        ASSERT_EQ(::chmod((folder.path() / "root/secret").c_str(), 0600), 0);
        ASSERT_EQ(::chmod((folder.path() / "bin/program").c_str(), 04755), 0);
        ASSERT_EQ(::chown(data.c_str(), kNobody, kNobody), 0);
        c.plant(folder);
        const std::vector<std::string> before = namesIn(data);
        const std::vector<gid_t> groupsBefore = groupsNow();
        try {
            writeFileAtomically(data / "monster.txt", "new\r\n", monsterFileLabel());
            EXPECT_EQ(c.told, nullptr) << c.name << ": saved";
        } catch (const TableError& error) {
            ASSERT_NE(c.told, nullptr) << c.name << ": " << error.reason();
            const std::string shown = (fs::is_symlink(data / "monster.txt") && c.told != kReplaced
                                           ? fs::read_symlink(data / "monster.txt")
                                           : data / "monster.txt")
                                          .string();
            EXPECT_EQ(error.reason().rfind(shown + ": " + c.told, 0), 0u) << c.name << ": " << error.reason();
            // Whose rights the save had is said: those of the nearest folder's owner on the way.
            const fs::path owned = lstatOf(data).st_uid == kNobody ? data : folder.path();
            EXPECT_TRUE(error.reason().ends_with(" (the editor works there with the rights of user nobody, who owns " +
                                                 owned.string() + ")"))
                << error.reason();
        }
        setWriteFaultsForTesting({});
        // Root's rights are root's again, whatever the save took.
        EXPECT_EQ(::setfsuid(static_cast<uid_t>(-1)), 0) << c.name;
        EXPECT_EQ(::setfsgid(static_cast<gid_t>(-1)), 0) << c.name;
        EXPECT_EQ(groupsNow(), groupsBefore) << c.name;
        ASSERT_EQ(::setgroups(groups.size(), groups.data()), 0);
        EXPECT_EQ(folder.read("root/secret"), "root's alone") << c.name;
        if (folder.exists("shared")) {
            EXPECT_EQ(folder.read("shared/table"), "root's group's") << c.name;
            EXPECT_EQ(namesIn(folder.path() / "shared"), std::vector<std::string>{"table"}) << c.name;
        }
        EXPECT_EQ(folder.read("bin/program"), "a program of root's") << c.name;
        EXPECT_EQ(lstatOf(folder.path() / "bin/program").st_mode & 07777, 04755u) << c.name;
        EXPECT_EQ(namesIn(folder.path() / "bin"), std::vector<std::string>{"program"}) << c.name;
        if (c.told) {
            EXPECT_EQ(namesIn(data), before) << c.name;
            continue;
        }
        // Saved: the table and its backup are the folder owner's, as if that user had saved.
        EXPECT_EQ(folder.read("data/monster.txt"), "new\r\n") << c.name;
        EXPECT_EQ(folder.read("data/monster.txt.~1~"), old) << c.name;
        const uid_t owner = lstatOf(data).st_uid;
        for (const char* name : {"data/monster.txt", "data/monster.txt.~1~"}) {
            const struct stat info = lstatOf(folder.path() / name);
            EXPECT_EQ(info.st_uid, owner) << c.name << ": " << name;
            EXPECT_EQ(info.st_gid, owner) << c.name << ": " << name;
        }
    }
}
#endif

}  // namespace
