#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

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
    ASSERT_EQ(::mkfifo(path("pipe").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", path("zero"));
    folder.write("big", "");
    std::filesystem::resize_file(path("big"), kMaxTableFileBytes + 1);  // sparse: costs nothing
    const struct {
        const char* name;
        const char* reason;
    } cases[] = {
        {"nothing.txt", "No such file or directory"}, {"dir", "not a regular file"},
        {"pipe", "not a regular file"},               {"zero", "not a regular file"},
        {"big", "larger than 256 MB"},
    };
    for (const auto& c : cases) {
        try {
            readWholeFile(path(c.name), "data/monster.txt");
            ADD_FAILURE() << c.name << " was read";
        } catch (const TableError& error) {
            EXPECT_STREQ(error.what(), "Cannot open file data/monster.txt");
            EXPECT_EQ(error.reason(), path(c.name).string() + ": " + c.reason);
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

TEST_F(AtomicWrite, ReplacesTheFileAndLeavesNothingElse) {
    folder.write("data/t.txt", "old contents\r\n");
    writeFileAtomically(folder.path() / "data/t.txt", "new\r\n", "t");
    EXPECT_EQ(folder.read("data/t.txt"), "new\r\n");
    EXPECT_EQ(namesIn(folder.path() / "data"), std::vector<std::string>{"t.txt"});
}

TEST_F(AtomicWrite, CreatesAMissingFileAndWritesEmptyContent) {
    std::filesystem::create_directories(folder.path() / "data");
    writeFileAtomically(folder.path() / "data/n.txt", "", "n");
    EXPECT_TRUE(folder.exists("data/n.txt"));
    EXPECT_EQ(folder.read("data/n.txt"), "");
}

TEST_F(AtomicWrite, KeepsThePermissionsOfTheOldFile) {
    folder.write("data/t.txt", "old");
    const auto file = folder.path() / "data/t.txt";
    std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_read);
    writeFileAtomically(file, "new", "t");
    EXPECT_EQ(std::filesystem::status(file).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
}

struct FaultCase {
    const char* name;
    WriteFaults faults;
};

const std::string kNewBytes(5000, 'n');

const std::vector<FaultCase> kFaultCases = {
    {"after0", {0, false, false}},
    {"after1", {1, false, false}},
    {"after4095", {4095, false, false}},
    {"after4999", {4999, false, false}},
    {"flush", {-1, true, false}},
    {"rename", {-1, false, true}},
};

class FailingWrite : public AtomicWrite, public testing::WithParamInterface<FaultCase> {};

TEST_P(FailingWrite, LeavesTheOldFileAndNoTemporaryAndThrows) {
    const std::string old("old\r\nbytes\0\xff\r\n", 14);
    folder.write("data/t.txt", old);
    setWriteFaultsForTesting(GetParam().faults);
    try {
        writeFileAtomically(folder.path() / "data/t.txt", kNewBytes, "/x/data/t.txt");
        ADD_FAILURE() << "reported success";
    } catch (const TableError& error) {
        EXPECT_STREQ(error.what(), "Cannot create file /x/data/t.txt");
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
    setWriteFaultsForTesting({static_cast<long long>(kNewBytes.size()), false, false});
    writeFileAtomically(folder.path() / "data/t.txt", kNewBytes, "t");
    EXPECT_EQ(folder.read("data/t.txt"), kNewBytes);
}

TEST_F(AtomicWrite, MissingFolderIsCannotCreate) {
    try {
        writeFileAtomically(folder.path() / "data/t.txt", "x", "L");
        ADD_FAILURE() << "reported success";
    } catch (const TableError& error) {
        EXPECT_STREQ(error.what(), "Cannot create file L");
    }
    EXPECT_FALSE(folder.exists("data"));
}

TEST_F(AtomicWrite, TargetThatIsAFolderStaysAndNoTemporaryIsLeft) {
    folder.write("data/t.txt/inside", "keep");
    EXPECT_THROW(writeFileAtomically(folder.path() / "data/t.txt", "x", "L"), TableError);
    EXPECT_EQ(folder.read("data/t.txt/inside"), "keep");
    EXPECT_EQ(namesIn(folder.path() / "data"), std::vector<std::string>{"t.txt"});
}

}  // namespace
