#include <gtest/gtest.h>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <string>
#include <vector>

#include "SystemAccess.h"
#include "TableError.h"
#include "TableFixtures.h"
#include "TempFolder.h"
#include "TextFile.h"

namespace {

struct SplitCase {
    std::string bytes;
    std::vector<std::string> lines;
    int nulLine = 0;  // the line that holds the first NUL
};

const std::vector<SplitCase> kSplitCases = {
    {"", {}},
    {"a", {"a"}},
    {"a\r\n", {"a"}},
    {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
    {"\n", {""}},
    {"\r\n\r\n", {"", ""}},
    {"\n\r", {"", ""}},  // LF then CR: two breaks
    {"a\r\r\nb", {"a", "", "b"}},
    {"a\r\n\nb\r", {"a", "", "b"}},
    {std::string("ab\0cd\r\nef", 9), {"ab"}, 1},
    {std::string("\0abc", 4), {}, 1},
    {std::string("x\r\n\0", 4), {"x"}, 2},
    {std::string("x\r\0\n", 4), {"x"}, 2},
    {std::string("a\nb\r\nc\0\r\nd\0", 11), {"a", "b", "c"}, 3},
    {"\t \xff\x80\r\n", {"\t \xff\x80"}},
};

class Split : public testing::TestWithParam<SplitCase> {};

TEST_P(Split, LinesEndAtCrLfOrCrLfAndNulEndsTheText) {
    EXPECT_EQ(splitLines(GetParam().bytes), GetParam().lines);
    EXPECT_EQ(lineOfFirstNul(GetParam().bytes), GetParam().nulLine);
}

INSTANTIATE_TEST_SUITE_P(Bytes, Split, testing::ValuesIn(kSplitCases));

TEST(Join, EveryLineTheLastIncludedEndsWithCrLf) {
    EXPECT_EQ(joinLinesCrLf({}), "");
    EXPECT_EQ(joinLinesCrLf({""}), "\r\n");
    EXPECT_EQ(joinLinesCrLf({"a", "", "b\tc"}), "a\r\n\r\nb\tc\r\n");
}

TEST(ReadWholeFile, GivesTheBytesUnchanged) {
    TempFolder folder;
    const std::string bytes("a\r\n\xff\0b", 6);
    folder.write("f.txt", bytes);
    EXPECT_EQ(readWholeFile(folder.path() / "f.txt", "f.txt"), bytes);
}

// Only a regular file of at most 256 MB is read: a named pipe would block the editor
// and a device could fill its memory. Its stamp is taken without blocking as well.
TEST(ReadWholeFile, AnythingButARegularFileUpTo256MbIsCannotOpenWithTheReason) {
    TempFolder folder;
    folder.write("dir/x", "x");
    const auto path = [&](const char* name) { return folder.path() / name; };
    folder.write("big", "");
    std::filesystem::resize_file(path("big"), kMaxTableFileBytes + 1);  // sparse: costs nothing
    struct Case {
        const char* name;
        const char* reason;
    };
    std::vector<Case> cases = {
        {"nothing.txt", "No such file or directory"},
        {"dir", "not a regular file"},
        {"big", "larger than 256 MB"},
    };
#ifndef _WIN32  // pipes and devices have no names in a Windows folder
    ASSERT_EQ(::mkfifo(path("pipe").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", path("zero"));
    cases.push_back({"pipe", "not a regular file"});
    cases.push_back({"zero", "not a regular file"});
#endif
    for (const auto& c : cases) {
        try {
            readWholeFile(path(c.name), "data/monster.txt");
            ADD_FAILURE() << c.name << " was read";
        } catch (const TableError& error) {
            EXPECT_STREQ(error.what(), "Cannot open file data/monster.txt");
            expectReason(error, path(c.name), c.reason);
        }
        EXPECT_EQ(stampFile(path(c.name)).hash, 0u) << c.name;
    }
}

TEST(Labels, UseThePlatformSeparator) {
    const auto sep = std::string(1, static_cast<char>(std::filesystem::path::preferred_separator));
    EXPECT_EQ(monsterFileLabel(), "data" + sep + "monster.txt");
    EXPECT_EQ(spawnFileLabel(), "data" + sep + "Quarnel.txt");
}

class AtomicWrite : public testing::Test {
protected:
    void TearDown() override { setWriteFaultsForTesting({}); }
    TempFolder folder;
};

TEST_F(AtomicWrite, ReplacesTheFileAndLeavesNothingElseButItsBackup) {
    folder.write("data/t.txt", "old contents\r\n");
    writeFileAtomically(folder.path() / "data/t.txt", "new\r\n", "t");
    EXPECT_EQ(folder.read("data/t.txt"), "new\r\n");
    EXPECT_EQ(folder.read("data/t.txt.~1~"), "old contents\r\n");
    EXPECT_EQ(namesIn(folder.path() / "data"), (std::vector<std::string>{"t.txt", "t.txt.~1~"}));
}

TEST_F(AtomicWrite, CreatesAMissingFileAndWritesEmptyContent) {
    std::filesystem::create_directories(folder.path() / "data");
    writeFileAtomically(folder.path() / "data/n.txt", "", "n");
    EXPECT_TRUE(folder.exists("data/n.txt"));
    EXPECT_EQ(folder.read("data/n.txt"), "");
}

TEST_F(AtomicWrite, KeepsThePermissionsOwnerAndGroupOfTheOldFile) {
#ifdef _WIN32
    // Windows has no mode bits; what an operator sets there are attributes.
    folder.write("data/t.txt", "old");
    const auto file = folder.path() / "data/t.txt";
    ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN));
    writeFileAtomically(file, "new", "t");
    EXPECT_EQ(folder.read("data/t.txt"), "new");
    EXPECT_EQ(::GetFileAttributesW(file.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY),
              DWORD{FILE_ATTRIBUTE_HIDDEN});
#else
    namespace fs = std::filesystem;
    folder.write("data/t.txt", "old");
    const auto file = folder.path() / "data/t.txt";
    const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(file, perms);
    // Only root may give a file away; any other user saves a file that is its own.
    const bool root = ::geteuid() == 0;
    const uid_t owner = root ? 65534 : ::geteuid();
    const gid_t group = root ? 65534 : ::getegid();
    ASSERT_EQ(::chown(file.c_str(), owner, group), 0);
    writeFileAtomically(file, "new", "t");
    EXPECT_EQ(folder.read("data/t.txt"), "new");
    EXPECT_EQ(fs::status(file).permissions(), perms);
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, owner);
    EXPECT_EQ(info.st_gid, group);
#endif
}

struct FaultCase {
    const char* name;
    WriteFaults faults;
    std::string reason;  // the system's words on POSIX systems
};

const std::string kNewBytes(5000, 'n');

const std::string kDiskFull = "No space left on device";
const std::string kIoError = "Input/output error";
const std::string kBack = "; its old content is back";

// Without a temporary file (failTemporary) the file is rewritten in place, and each
// fault strikes inside that rewrite. (A cut that fails strikes the undoing too: see
// InterruptedSaveTest.)
const std::vector<FaultCase> kFaultCases = {
    {"after0", {.failAfterBytes = 0}, kDiskFull},
    {"after1", {.failAfterBytes = 1}, kDiskFull},
    {"after4095", {.failAfterBytes = 4095}, kDiskFull},
    {"after4999", {.failAfterBytes = 4999}, kDiskFull},
    {"flush", {.failFlush = true}, kIoError},
    {"rename", {.failRename = true}, "Permission denied"},
    {"inPlaceAfter0", {.failAfterBytes = 0, .failTemporary = true}, kDiskFull + kBack},
    {"inPlaceAfter7", {.failAfterBytes = 7, .failTemporary = true}, kDiskFull + kBack},
    {"inPlaceAfter4999", {.failAfterBytes = 4999, .failTemporary = true}, kDiskFull + kBack},
    {"inPlaceFlush", {.failFlush = true, .failTemporary = true}, kIoError + kBack},
    {"inPlaceReadBack", {.failTemporary = true, .failReadBack = true},
     "the bytes read back differ from those written" + kBack},
};

class FailingWrite : public AtomicWrite, public testing::WithParamInterface<FaultCase> {};

TEST_P(FailingWrite, LeavesTheOldFileAndNoTemporaryAndThrowsWithWhereAndWhy) {
    const std::string old("old\r\nbytes\0\xff\r\n", 14);
    folder.write("data/t.txt", old);
    setWriteFaultsForTesting(GetParam().faults);
    try {
        writeFileAtomically(folder.path() / "data/t.txt", kNewBytes, "/x/data/t.txt");
        ADD_FAILURE() << "reported success";
    } catch (const TableError& error) {
        EXPECT_STREQ(error.what(), "Cannot create file /x/data/t.txt");
        expectReason(error, folder.path() / "data/t.txt", GetParam().reason);
    }
    EXPECT_EQ(folder.read("data/t.txt"), old);
    EXPECT_EQ(namesIn(folder.path() / "data"), std::vector<std::string>{"t.txt"});

    setWriteFaultsForTesting({});
    writeFileAtomically(folder.path() / "data/t.txt", kNewBytes, "t");
    EXPECT_EQ(folder.read("data/t.txt"), kNewBytes);
}

INSTANTIATE_TEST_SUITE_P(Faults, FailingWrite, testing::ValuesIn(kFaultCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AtomicWrite, FailAfterMoreBytesThanWrittenDoesNotFail) {
    folder.write("data/t.txt", "old");
    setWriteFaultsForTesting({.failAfterBytes = static_cast<long long>(kNewBytes.size())});
    writeFileAtomically(folder.path() / "data/t.txt", kNewBytes, "t");
    EXPECT_EQ(folder.read("data/t.txt"), kNewBytes);
}

TEST_F(AtomicWrite, InPlaceRewriteLeavesExactlyTheNewBytesWhateverTheirLength) {
    const struct {
        const char* old;
        std::string bytes;
    } cases[] = {
        {"a longer old file\r\nof two lines\r\n", "short\r\n"},
        {"old", kNewBytes},
        {"old\r\n", ""},
        {"", "new\r\n"},
    };
    setWriteFaultsForTesting({.failTemporary = true});
    for (const auto& c : cases) {
        folder.write("data/t.txt", c.old);
        const FileStamp stamp = writeFileAtomically(folder.path() / "data/t.txt", c.bytes, "t");
        EXPECT_EQ(folder.read("data/t.txt"), c.bytes) << c.old;
        EXPECT_EQ(stamp, stampFile(folder.path() / "data/t.txt")) << c.old;
        EXPECT_EQ(namesButBackups(folder.path() / "data"), std::vector<std::string>{"t.txt"});
    }
}

// Nothing to rewrite in place: a missing file is made, or the save fails.
TEST_F(AtomicWrite, MissingFileOrFolderWithoutATemporaryIsCannotCreateWithTheReason) {
    const struct {
        const char* name;
        bool folder;
        const char* reason;
    } cases[] = {
        {"missing folder", false, "No such file or directory"},
        {"missing file, no temporary", true, "Permission denied"},
    };
    for (const auto& c : cases) {
        TempFolder place;
        if (c.folder) {
            std::filesystem::create_directories(place.path() / "data");
            setWriteFaultsForTesting({.failTemporary = true});
        }
        try {
            writeFileAtomically(place.path() / "data/t.txt", "x", "L");
            ADD_FAILURE() << c.name << ": reported success";
        } catch (const TableError& error) {
            EXPECT_STREQ(error.what(), "Cannot create file L");
            expectReason(error, place.path() / "data/t.txt", c.reason);
        }
        EXPECT_FALSE(place.exists("data/t.txt")) << c.name;
        EXPECT_EQ(place.exists("data"), c.folder);
        setWriteFaultsForTesting({});
    }
}

TEST_F(AtomicWrite, TargetThatIsAFolderStaysAndNoTemporaryIsLeft) {
    folder.write("data/t.txt/inside", "keep");
    try {
        writeFileAtomically(folder.path() / "data/t.txt", "x", "L");
        ADD_FAILURE() << "reported success";
    } catch (const TableError& error) {
        EXPECT_EQ(error.reason(), (folder.path() / "data/t.txt").string() + ": not a regular file");
    }
    EXPECT_EQ(folder.read("data/t.txt/inside"), "keep");
    EXPECT_EQ(namesIn(folder.path() / "data"), std::vector<std::string>{"t.txt"});
}

}  // namespace
