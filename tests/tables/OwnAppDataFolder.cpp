// An in-place rewrite keeps its rollback copy in the editor's data folder, and the
// start-up repair looks there: for the table tests that is a folder of the test
// program's own, never the user's.

#include <gtest/gtest.h>

#include <memory>

#include "RollbackCopy.h"
#include "TempFolder.h"

namespace {

class OwnAppDataFolder : public testing::Environment {
public:
    void SetUp() override {
        folder_ = std::make_unique<TempFolder>();
        setAppDataFolderForTesting(folder_->path() / "varnex");
    }
    void TearDown() override {
        setAppDataFolderForTesting({});
        folder_.reset();
    }

private:
    std::unique_ptr<TempFolder> folder_;
};

[[maybe_unused]] testing::Environment* const kOwnAppDataFolder =
    testing::AddGlobalTestEnvironment(new OwnAppDataFolder);

}  // namespace
