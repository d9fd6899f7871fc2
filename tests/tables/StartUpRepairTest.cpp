// What the start may put back after a save died in the middle of rewriting a table
// file in place: only old bytes from a rollback copy of the user's own, only into a
// table file of this run that is still the file the save was rewriting, and only over
// bytes that the cut-short rewrite explains. Anything else is left as it is and said.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "RollbackCopy.h"
#include "StartUpRepair.h"
#include "SystemAccess.h"
#include "TableFixtures.h"
#include "TempFolder.h"
#include "TextFile.h"
#include "TextFilePlatform.h"

namespace {

namespace fs = std::filesystem;

// A save of newBytes over oldBytes in place that died half way, with a data folder of
// its own while it lasts.
class Crashed {
public:
    Crashed() : before_(appDataFolder()) {
        setAppDataFolderForTesting(appData.path());
        work.write("data/monster.txt", oldBytes);
        setWriteFaultsForTesting({.failTemporary = true, .dieAt = WriteFaults::Step::halfRewritten});
        EXPECT_THROW(writeFileAtomically(file, newBytes, monsterFileLabel()), SimulatedCrash);
        setWriteFaultsForTesting({});
        mixed = work.read("data/monster.txt");
        EXPECT_EQ(namesIn(rollbackFolder()).size(), 1u);
        copy = rollbackFolder() / namesIn(rollbackFolder()).at(0);
    }
    ~Crashed() { setAppDataFolderForTesting(before_); }
    Crashed(const Crashed&) = delete;
    Crashed& operator=(const Crashed&) = delete;

    // The copy's record, changed and written back.
    void rewriteCopy(const std::function<void(RollbackRecord&)>& change) const {
        auto record = parseRollback(appData.read(copy.lexically_relative(appData.path())));
        ASSERT_TRUE(record);
        change(*record);
        appData.write(copy.lexically_relative(appData.path()), rollbackBytes(*record));
    }

    const fs::path before_;
    TempFolder appData;
    TempFolder work;
    const fs::path file = work.path() / "data" / "monster.txt";
    const std::string oldBytes = crlf({monsterLine("1", "Old", "3"), monsterLine("2", "Rat", "4"), "end", "kept"});
    const std::string newBytes = crlf({monsterLine("1", "New", "5"), "end"});
    std::string mixed;
    fs::path copy;
};

TEST(RewriteExplains, OnlyTheNewBytesOverTheOldAtTheirPlacesOrAShorterFileOfThem) {
    const struct {
        const char* present;
        bool explained;
    } cases[] = {
        {"abcdefgh", true},  // the old bytes
        {"ABCD", true},      // the new bytes
        {"ABcdefgh", true},  // new bytes begun over the old
        {"ABCDefgh", true},  // all new bytes, not yet cut
        {"ABCDef", true},    // a shorter file of them
        {"", true},
        {"abCDefgh", true},  // old bytes written back over the start
        {"abcd", true},      // the old bytes cut short
        {"ABxDefgh", false},  // a byte neither wrote
        {"abcdefghi", false},  // one more at the end
        {"ABcdXfgh", false},
        {"XBCDefgh", false},
    };
    for (const auto& c : cases) EXPECT_EQ(rewriteExplains(c.present, "abcdefgh", "ABCD"), c.explained) << c.present;
    EXPECT_TRUE(rewriteExplains("ABCDEF", "ab", "ABCDEFGH")) << "a longer new file, part written";
    EXPECT_FALSE(rewriteExplains("ABCDEx", "ab", "ABCDEFGH"));
}

#if !defined(_WIN32) && !defined(__APPLE__)
// Only an absolute XDG_DATA_HOME names the data folder; a relative one would make it
// depend on the folder the editor starts in, and is ignored.
TEST(UserDataFolder, IsAnAbsoluteXdgDataHomeOrElseBelowHome) {
    const char* home = std::getenv("HOME");
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const std::string homeBefore = home ? home : "";
    const std::string xdgBefore = xdg ? xdg : "";
    ::setenv("HOME", "/home/operator", 1);
    const std::pair<const char*, const char*> cases[] = {
        {"/srv/data", "/srv/data"},
        {"relative/data", "/home/operator/.local/share"},
        {"./data", "/home/operator/.local/share"},
        {"", "/home/operator/.local/share"},
    };
    for (const auto& [value, folder] : cases) {
        ::setenv("XDG_DATA_HOME", value, 1);
        EXPECT_EQ(platform::userDataFolder(), fs::path(folder)) << value;
    }
    home ? ::setenv("HOME", homeBefore.c_str(), 1) : ::unsetenv("HOME");
    xdg ? ::setenv("XDG_DATA_HOME", xdgBefore.c_str(), 1) : ::unsetenv("XDG_DATA_HOME");
}
#endif

#ifndef _WIN32
constexpr uid_t kNobody = 65534;

// The path a notice names after `words`, up to the notice's last character.
fs::path namedAfter(const std::string& notice, const std::string& words) {
    const auto at = notice.rfind(words);
    return at == std::string::npos ? fs::path() : fs::path(notice.substr(at + words.size(), notice.size() - at - words.size() - 1));
}

// The line a start adds once it has kept something in the rollback folder; taken off
// the notices when it is their last. Whether it was.
bool tookKeptLine(std::vector<std::string>& notices) {
    const std::string line = "What this start kept is in " + rollbackFolder().string() +
                             ", where the newest 10 kept copies and backups of each table file's name stay.";
    if (notices.empty() || notices.back() != line) return false;
    notices.pop_back();
    return true;
}

bool holdsKeptCopy(const fs::path& folder) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (it->path().extension() == ".kept") return true;
    return false;
}

mode_t modeOf(const fs::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// A copy planted or left where the start must not trust it, or aimed at a file it must
// not write, is never used: the file keeps every byte and its mode, and the start names
// what it did not use.
TEST(Repair, ACopyIsPutBackOnlyWhenItIsTheUsersOwnAndItsFileStillTheFileItWasMadeFor) {
    const auto ownedByNobody = [](const fs::path& path) { return ::chown(path.c_str(), kNobody, kNobody) == 0; };
    const auto openTo = [](const fs::path& path, mode_t mode) { return ::chmod(path.c_str(), mode) == 0; };
    const struct {
        const char* name;
        std::function<bool(Crashed&)> change;  // false: cannot be set up as this user
        const char* told;  // the notice's start; {F}, {C}, {R}: the file, the copy, the rollback folder
        bool putBack;
    } cases[] = {
        {"a copy of the user's own", [](Crashed&) { return true; },
         "{F} was left part-written by a save that did not finish; its content from before that save is back", true},
        {"a folder of another user", [&](Crashed&) { return ownedByNobody(rollbackFolder()); },
         "The rollback folder {R} is not this user's own (it belongs to user 65534, not to this user (0)), so the "
         "rollback copies in it were not used: ",
         false},
        {"a folder others may write to", [&](Crashed&) { return openTo(rollbackFolder(), 0777); },
         "The rollback folder {R} is not this user's own (other users may write to it (mode 0777))", false},
        {"a folder its group may write to", [&](Crashed&) { return openTo(rollbackFolder(), 0770); },
         "The rollback folder {R} is not this user's own (other users may write to it (mode 0770))", false},
        {"a folder that is a link",
         [](Crashed& r) {
             fs::rename(rollbackFolder(), r.appData.path() / "elsewhere");
             fs::create_directory_symlink(r.appData.path() / "elsewhere", rollbackFolder());
             return true;
         },
         "The rollback folder {R} is not this user's own (it is a symbolic link)", false},
        {"a copy of another user", [&](Crashed& r) { return ownedByNobody(r.copy); },
         "The rollback copy {C} was not used: it belongs to user 65534, not to this user (0).", false},
        {"a copy others may write to", [&](Crashed& r) { return openTo(r.copy, 0666); },
         "The rollback copy {C} was not used: other users may write to it (mode 0666).", false},
        {"a copy its group may write to", [&](Crashed& r) { return openTo(r.copy, 0620); },
         "The rollback copy {C} was not used: other users may write to it (mode 0620).", false},
        {"a copy that is a link",
         [](Crashed& r) {
             fs::rename(r.copy, r.appData.path() / "real.rollback");
             fs::create_symlink(r.appData.path() / "real.rollback", r.copy);
             return true;
         },
         "The rollback copy {C} was not used: it is a symbolic link.", false},
        {"a copy whose old bytes do not match their checksum",
         [](Crashed& r) {
             std::string bytes = r.appData.read(r.copy.lexically_relative(r.appData.path()));
             bytes[bytes.size() - r.newBytes.size() - 3] ^= 1;
             r.appData.write(r.copy.lexically_relative(r.appData.path()), bytes);
             return true;
         },
         "The rollback copy {C} is damaged, or of another version of the editor; it was not used (kept as ", false},
        // New bytes that are not those written would make the part-written file look
        // changed by someone else, and the copy decide wrongly.
        {"a copy whose new bytes do not match their checksum",
         [](Crashed& r) {
             std::string bytes = r.appData.read(r.copy.lexically_relative(r.appData.path()));
             bytes[bytes.size() - 3] ^= 1;
             r.appData.write(r.copy.lexically_relative(r.appData.path()), bytes);
             return true;
         },
         "The rollback copy {C} is damaged, or of another version of the editor; it was not used (kept as ", false},
        {"a copy of a file this start does not read",
         [](Crashed& r) {
             r.rewriteCopy([&](RollbackRecord& record) { record.file = r.work.path() / "program" / "id"; });
             r.work.write("program/id", r.mixed);
             return true;
         },
         "The rollback copy {C} is of ", false},
        {"a file replaced by another since",
         [](Crashed& r) {
             r.work.write("data/other", r.mixed);
             fs::rename(r.work.path() / "data" / "other", r.file);
             return true;
         },
         "{F} is another file than the one a save that did not finish was rewriting; it is kept as it is", false},
    };
    for (const auto& c : cases) {
        Crashed r;
        if (!c.change(r)) {
            if (::geteuid() == 0) ADD_FAILURE() << c.name << ": cannot be set up";
            continue;
        }
        const mode_t mode = modeOf(r.file);
        std::string told = c.told;
        for (const auto& [mark, path] : {std::pair{"{F}", r.file}, {"{C}", r.copy}, {"{R}", rollbackFolder()}})
            if (const auto at = told.find(mark); at != std::string::npos) told.replace(at, 3, path.string());
        auto notices = repairInterruptedSaves({r.file, r.work.path() / "data" / "Quarnel.txt"});
        EXPECT_EQ(tookKeptLine(notices), holdsKeptCopy(rollbackFolder())) << c.name;
        ASSERT_EQ(notices.size(), 1u) << c.name;
        EXPECT_EQ(notices[0].rfind(told, 0), 0u) << c.name << "\n" << notices[0];
        EXPECT_EQ(r.work.read("data/monster.txt"), c.putBack ? r.oldBytes : r.mixed) << c.name;
        EXPECT_EQ(modeOf(r.file), mode) << c.name;
        if (r.work.exists("program/id")) {
            EXPECT_EQ(r.work.read("program/id"), r.mixed) << c.name;
        }
    }
}

// A copy never gives a file set-id bits, nor any mode bit the file does not have.
TEST(Repair, ACopyGivesNoModeBitTheFileHasNot) {
    Crashed r;
    ASSERT_EQ(::chmod(r.file.c_str(), 0640), 0);
    r.rewriteCopy([](RollbackRecord& record) { record.mode = 06775; });
    EXPECT_EQ(repairInterruptedSaves({r.file}).size(), 1u);
    EXPECT_EQ(r.work.read("data/monster.txt"), r.oldBytes);
    EXPECT_EQ(modeOf(r.file), 0640u);
}

// A colleague's start puts the old bytes of a file the crashed save left part-written
// back, and says so also where the file's mode cannot be narrowed to the one it had
// then (its owner widened it since, and only its owner may change it): what the
// notice says of the bytes is what the file holds.
TEST(Repair, TheNoticeSaysTheOldBytesAreBackWhereOnlyTheModeCouldNotBeSet) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to hand the crashed save's files to another user";
    const struct {
        const char* name;
        mode_t now;  // the file's mode when the colleague starts; it was 0664 when the save died
        const char* told;  // after "its content from before that save is back"
    } cases[] = {
        {"its mode as it was", 0664, ""},
        {"widened by its owner since", 0666,
         ", and only its mode could not be set to 0664 (Operation not permitted: only its owner, user 0, may change "
         "it), so it stays 0666"},
    };
    for (const auto& c : cases) {
        Crashed r;
        r.rewriteCopy([](RollbackRecord& record) { record.mode = 0664; });
        // Root's file, of a group the colleague is in.
        ASSERT_EQ(::chown(r.file.c_str(), 0, kNobody), 0);
        ASSERT_EQ(::chmod(r.file.c_str(), c.now), 0);
        // The colleague's own data folder holds the copy; the file stays root's, in a
        // folder the colleague may not write to.
        for (const auto& entry : fs::recursive_directory_iterator(r.appData.path()))
            ASSERT_EQ(::lchown(entry.path().c_str(), kNobody, kNobody), 0);
        ASSERT_EQ(::chown(r.appData.path().c_str(), kNobody, kNobody), 0);
        ASSERT_EQ(::chmod(r.work.path().c_str(), 0755), 0);
        const fs::path file = r.file;
        const std::string notice = asNobody([&file] {
            const auto notices = repairInterruptedSaves({file});
            return notices.empty() ? std::string("nothing said") : notices.front();
        });
        const std::string start = r.file.string() +
                                  " was left part-written by a save that did not finish; its content from before that "
                                  "save is back" +
                                  c.told + " (what it held is kept as " + rollbackFolder().string() + "/monster.txt.~1~).";
        EXPECT_EQ(notice, start) << c.name;
        EXPECT_EQ(r.work.read("data/monster.txt"), r.oldBytes) << c.name;
        EXPECT_EQ(modeOf(r.file), c.now) << c.name;
        EXPECT_FALSE(fs::exists(r.copy)) << c.name << ": the copy was done with";
    }
}

// Another program's edit made after the crash survives the start, whether or not what
// the file holds can be kept aside; a part-written file gets its old bytes back only
// once what it holds is kept somewhere. Run where folder permissions bite.
TEST(Repair, AnEditMadeAfterTheCrashIsKeptAndNothingIsWrittenWhereNothingCanBeKeptAside) {
    if (!unprivilegedHere()) return;
    const char* const kEdited = " was changed by another program after a save into it did not finish; it is kept as "
                                "it is, and its content from before that save is kept in ";
    const char* const kBack = " was left part-written by a save that did not finish; its content from before that "
                              "save is back (what it held is kept as ";
    const struct {
        bool edited;
        bool rollbackWritable;
        bool dataWritable;
        const char* told;
        bool putBack;
    } cases[] = {
        {true, true, true, kEdited, false},
        {true, false, false, kEdited, false},
        {false, true, false, kBack, true},
        {false, false, true, kBack, true},
        {false, false, false,
         " was left part-written by a save that did not finish, and what it holds cannot be kept anywhere (", false},
    };
    for (const auto& c : cases) {
        Crashed r;
        const std::string name = std::string(c.edited ? "edited" : "part-written") +
                                 (c.rollbackWritable ? ", rollback folder writable" : "") +
                                 (c.dataWritable ? ", data folder writable" : "");
        const std::string edit = r.mixed.substr(0, 20) + "a colleague's edit\r\n";
        if (c.edited) r.work.write("data/monster.txt", edit);
        ASSERT_EQ(::chmod(rollbackFolder().c_str(), c.rollbackWritable ? 0700 : 0500), 0);
        ASSERT_EQ(::chmod(r.file.parent_path().c_str(), c.dataWritable ? 0700 : 0500), 0);
        auto notices = repairInterruptedSaves({r.file});
        ::chmod(rollbackFolder().c_str(), 0700);
        ::chmod(r.file.parent_path().c_str(), 0700);
        // What could not go beside it went into the rollback folder.
        EXPECT_EQ(tookKeptLine(notices), holdsKeptCopy(rollbackFolder()) || (c.putBack && !c.dataWritable)) << name;
        ASSERT_EQ(notices.size(), 1u) << name;
        EXPECT_EQ(notices[0].rfind(r.file.string() + c.told, 0), 0u) << name << "\n" << notices[0];
        EXPECT_EQ(r.work.read("data/monster.txt"), c.putBack ? r.oldBytes : c.edited ? edit : r.mixed) << name;
        // What the notice names as kept is there, and holds what it should.
        if (c.putBack) {
            const fs::path aside = namedAfter(notices[0].substr(0, notices[0].size() - 1), "kept as ");
            std::ifstream in(aside, std::ios::binary);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), r.mixed) << name << "\n" << notices[0];
        } else {
            EXPECT_TRUE(fs::exists(namedAfter(notices[0], "kept in "))) << name << "\n" << notices[0];
        }
    }
}
#endif

}  // namespace
