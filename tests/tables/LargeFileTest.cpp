// A file far beyond a table's bound is refused by its size alone: a sparse file of a
// terabyte takes no room on disk, and reserving room for its bytes would exhaust the
// editor's memory (or, where the system promises memory it does not have, read a
// terabyte of zeros).

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <new>
#include <string>
#include <system_error>

#include "MonsterTable.h"
#include "SystemAccess.h"
#include "TableError.h"
#include "TableFixtures.h"
#include "TempFolder.h"
#include "TextFile.h"

namespace {

// The largest single request for memory while this is on, seen through this test
// program's own operator new.
std::atomic<bool> gWatching{false};
std::atomic<std::size_t> gLargest{0};

std::size_t largestAllocationDuring(const std::function<void()>& work) {
    gLargest = 0;
    gWatching = true;
    work();
    gWatching = false;
    return gLargest;
}

}  // namespace

// Replaces the program's operator new and delete, over malloc and free; the compiler
// sees free() take what a new-expression gave and cannot know they match here.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void* operator new(std::size_t size) {
    if (gWatching && size > gLargest) gLargest = size;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
// The library's temporary buffers (std::stable_sort) take theirs without throwing, and
// give them back through the delete above.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (gWatching && size > gLargest) gLargest = size;
    return std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

namespace {

namespace fs = std::filesystem;

TEST(LargeFile, ASparseTerabyteIsRefusedAsLargerThan256MbWithoutReservingRoom) {
    TempFolder folder;
    folder.write("data/monster.txt", crlf({monsterLine("1", "A", "1"), "end"}));
    MonsterTable table;
    table.loadmonsterdata(folder.path());
    const fs::path file = folder.path() / "data" / "monster.txt";
    std::error_code error;
    fs::resize_file(file, 1ull << 40, error);
    if (error) GTEST_SKIP() << "no sparse file of a terabyte here: " << error.message();

    const struct {
        const char* name;
        const char* message;
        std::function<void()> reading;
    } cases[] = {
        {"read at start-up", "Cannot open file ", [&] { MonsterTable().loadmonsterdata(folder.path()); }},
        {"read again before a save", "Cannot open file ", [&] { table.checkSave(folder.path()); }},
        {"read for its backup by the save", "Cannot open file ", [&] { table.savemonsterdata(folder.path()); }},
    };
    for (const auto& c : cases) {
        std::size_t largest = 0;
        try {
            largest = largestAllocationDuring(c.reading);
            ADD_FAILURE() << c.name << ": taken";
        } catch (const TableError& refused) {
            gWatching = false;
            largest = gLargest;
            EXPECT_EQ(std::string(refused.what()), c.message + monsterFileLabel()) << c.name;
            expectReason(refused, file, "larger than 256 MB");
        }
        EXPECT_LT(largest, std::size_t{1} << 20) << c.name;
    }
    EXPECT_EQ(fs::file_size(file), 1ull << 40);
}

}  // namespace
