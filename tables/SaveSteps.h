#pragma once
// The steps a save shares with the numbered backups, the rollback copies and the
// start-up repair, over the file layer (TextFilePlatform.h). Internal to tables/.

#include <cstdint>
#include <functional>
#include <initializer_list>
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
    if (faults.meanwhile) faults.meanwhile(step);
    if (faults.dieAt == step) throw SimulatedCrash{};
}

// A file written by writeFlushedAs under its name, still open: its lock lasts as
// long as this does.
struct Written {
    Path name;  // in the folder written to
    platform::File file;
};

// Writes the parts, one after the other, into a new temporary file in the folder
// (named after `base`) that only its user may read, gives it the access rights of the
// open file accessFrom when given (never set-id bits), flushes it, and then gives it
// the first free name of nameFor(0), nameFor(1), ... made to last. Nothing, with
// "<folder>: <the system's words>" in platform::lastReason(), when it cannot, having
// removed what it made.
std::optional<Written> writeFlushedAs(const platform::Folder& folder, const std::string& base,
                                      std::initializer_list<std::string_view> parts,
                                      const std::function<Path(unsigned)>& nameFor, const platform::File* accessFrom,
                                      Step dieBeforeNaming, const WriteFaults& faults);

// What a file holds once its old bytes were to be written back over a rewrite that
// failed, as read back from it.
struct PutBack {
    enum class Holds { oldBytes, newBytes, other, unknown } holds = Holds::unknown;
    bool written = false;  // the old bytes were written, cut to length and flushed
    std::string whyNotWritten;
    std::string whyNotRead;  // when unknown
    // Whether the file has the mode it was to be given; the bytes go back and to the
    // disk whether or not it has.
    bool modeSet = false;
    std::string whyModeNotSet;
};

// Writes the old bytes back over what a failed rewrite left, gives the file the mode
// it had before (File::modeNow), flushes it, and reads it back.
PutBack putBack(const platform::File& file, std::string_view old, std::string_view neu, std::uint32_t mode,
                const WriteFaults& faults);

// The whole file as read back through the open file (the `failReading` fault strikes here).
bool readBack(const platform::File& file, std::string& bytes, const WriteFaults& faults);

}  // namespace savesteps
