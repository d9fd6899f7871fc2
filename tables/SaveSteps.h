#pragma once
// The steps a save shares with the numbered backups, the rollback copies and the
// start-up repair, over the file layer (TextFilePlatform.h). Internal to tables/.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "TextFile.h"
#include "TextFilePlatform.h"

namespace savesteps {

using platform::Path;
using Step = WriteFaults::Step;

// An injected fault: false, with the reason the system would give.
bool injected(platform::Fault fault);

// Where a test makes the process die.
inline void dieIfAt(const WriteFaults& faults, Step step) {
    if (faults.dieAt == step) throw SimulatedCrash{};
}

// Writes head then body into a new temporary file in `folder` (named after `base`),
// with the access rights of accessFrom when given, flushed; then gives it the first
// free name of nameFor(0), nameFor(1), ... and makes that name last. Gives the name;
// nothing, with "<path>: <the system's words>" in platform::lastReason(), when it
// cannot, having removed what it made.
std::optional<Path> writeFlushedAs(const Path& folder, const std::string& base, std::string_view head,
                                   std::string_view body, const std::function<Path(unsigned)>& nameFor,
                                   const Path* accessFrom, Step dieBeforeNaming, const WriteFaults& faults);

// Writes the old bytes back over what a failed rewrite left, with the mode the file
// had before (File::modeNow), flushed and read back.
bool putBack(const platform::File& file, std::string_view old, std::uint32_t mode, const WriteFaults& faults);

}  // namespace savesteps
