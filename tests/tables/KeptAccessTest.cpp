// A save keeps who owns a table file and who may read it: the game server may run as
// another user than the editor. What cannot be kept stops the save with the reason.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "RollbackCopy.h"
#include "SystemAccess.h"
#include "TableError.h"
#include "TableFixtures.h"
#include "TempFolder.h"
#include "TextFile.h"

namespace {

namespace fs = std::filesystem;

class KeptAccess : public testing::Test {
protected:
    void TearDown() override { setWriteFaultsForTesting({}); }
};

#ifndef _WIN32
struct stat statOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info;
}
#endif

// A table is no program: whoever saves it, root included, its set-user-ID and
// set-group-ID bits go, from it and from its backup, while the rest of its mode stays.
// Run as root, whom the system lets keep such bits, and as a user whom it holds to its
// rules (only a group of its own may be set-group-ID there).
TEST_F(KeptAccess, ASaveKeepsTheModeButNeverASetIdBitNorGivesOneToTheBackup) {
#ifdef _WIN32
    GTEST_SKIP() << "mode bits are POSIX; Windows keeps attributes and the access list (AtomicWrite)";
#else
    const struct {
        mode_t mode;
        mode_t kept;
    } cases[] = {{0640, 0640}, {02640, 0640}, {04640, 0640}, {01640, 01640}, {06775, 0775}, {04755, 0755}};
    for (const auto& c : cases) {
        for (const bool inPlace : {false, true}) {
            TempFolder folder;
            folder.write("data/monster.txt", "old\r\n");
            const fs::path file = folder.path() / "data" / "monster.txt";
            ASSERT_EQ(::chmod(file.c_str(), c.mode), 0);
            setWriteFaultsForTesting({.failTemporary = inPlace});
            writeFileAtomically(file, "new\r\n", monsterFileLabel());
            const std::string name = (std::ostringstream() << std::oct << c.mode << (inPlace ? " in place" : "")).str();
            EXPECT_EQ(folder.read("data/monster.txt"), "new\r\n") << name;
            EXPECT_EQ(statOf(file).st_mode & 07777, c.kept) << name << " as user " << ::geteuid();
            EXPECT_EQ(statOf(folder.path() / "data" / "monster.txt.~1~").st_mode & 07777, c.kept)
                << name << ", its backup, as user " << ::geteuid();
        }
    }
    setWriteFaultsForTesting({});
    if (!unprivilegedHere()) return;
#endif
}

TEST_F(KeptAccess, WhereTheOwnerCannotBeKeptTheFileIsRewrittenInPlaceOrNotAtAll) {
    const struct {
        const char* name;
        WriteFaults faults;
        bool saved;
    } cases[] = {
        {"a rollback copy can be made", {.failOwner = true}, true},
        {"no rollback copy either", {.failOwner = true, .failRollback = true}, false},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        const std::string old = crlf({monsterLine("1", "Old", "3"), "end"});
        folder.write("data/monster.txt", old);
        const fs::path file = folder.path() / "data" / "monster.txt";
#ifndef _WIN32
        const ino_t inode = statOf(file).st_ino;
#endif
        setWriteFaultsForTesting(c.faults);
        try {
            writeFileAtomically(file, "new\r\n", monsterFileLabel());
            EXPECT_TRUE(c.saved) << c.name;
#ifndef _WIN32
            EXPECT_EQ(statOf(file).st_ino, inode) << c.name << ": replaced by a file of another owner";
#endif
        } catch (const TableError& error) {
            EXPECT_FALSE(c.saved) << c.name;
            expectReason(error, file,
                         "the new file cannot be given the old owner and group, and it cannot be rewritten in place: no "
                         "rollback copy of it can be written (" +
                             rollbackFolder().string() + ": Permission denied)");
        }
        EXPECT_EQ(folder.read("data/monster.txt"), c.saved ? "new\r\n" : old) << c.name;
        const std::vector<std::string> names =
            c.saved ? std::vector<std::string>{"monster.txt", "monster.txt.~1~"} : std::vector<std::string>{"monster.txt"};
        EXPECT_EQ(namesIn(folder.path() / "data"), names) << c.name;
    }
}

// Nothing a save makes is more open to other users than the file, at any step, nor
// set-id: seen where the process dies at each one, with a umask that would let
// anything through.
TEST_F(KeptAccess, NothingASaveMakesIsMoreOpenToOthersThanTheFile) {
#ifdef _WIN32
    GTEST_SKIP() << "mode bits are POSIX; on Windows what a save makes gets an access list for its user alone";
#else
    using Step = WriteFaults::Step;
    const struct {
        Step step;
        bool inPlace;
    } steps[] = {{Step::backupUnnamed, false},  {Step::temporaryWritten, false}, {Step::rollbackUnnamed, true},
                 {Step::rollbackWritten, true}, {Step::halfRewritten, true},     {Step::none, true}};
    const mode_t umaskBefore = ::umask(0);
    for (const mode_t mode : {0600, 0640, 06640}) {
        for (const auto& s : steps) {
            TempFolder folder;
            TempFolder appData;
            const fs::path before = appDataFolder();
            setAppDataFolderForTesting(appData.path());
            folder.write("data/monster.txt", "old\r\n");
            const fs::path file = folder.path() / "data" / "monster.txt";
            ASSERT_EQ(::chmod(file.c_str(), mode), 0);
            setWriteFaultsForTesting({.failTemporary = s.inPlace, .dieAt = s.step});
            try {
                writeFileAtomically(file, "new\r\n", monsterFileLabel());
            } catch (const SimulatedCrash&) {
            }
            setWriteFaultsForTesting({});
            for (const auto& entry : fs::recursive_directory_iterator(folder.path() / "data")) {
                EXPECT_EQ(statOf(entry.path()).st_mode & 0777 & ~mode, 0u)
                    << std::oct << mode << ", step " << static_cast<int>(s.step) << ": " << entry.path();
                if (entry.path() != file) {
                    EXPECT_EQ(statOf(entry.path()).st_mode & 06000, 0u)
                        << std::oct << mode << ", step " << static_cast<int>(s.step) << ": " << entry.path();
                }
            }
            if (fs::exists(rollbackFolder())) {
                EXPECT_EQ(statOf(rollbackFolder()).st_mode & 0777, 0700u);
                for (const auto& entry : fs::directory_iterator(rollbackFolder()))
                    EXPECT_EQ(statOf(entry.path()).st_mode & 0777, 0600u) << "step " << static_cast<int>(s.step);
            }
            setAppDataFolderForTesting(before);
        }
    }
    ::umask(umaskBefore);
#endif
}

}  // namespace
