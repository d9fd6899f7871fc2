#pragma once
// Whole-file reading and writing of the table files. Bytes are bytes: no code-page
// conversion. Reading: a line ends at CR, LF or CR LF; a NUL byte ends the text.
// Writing: every line, the last one included, is followed by CR LF.
//
// Saving goes through one function, `writeFileAtomically` (tables/TextFileSave.cpp): it follows a
// symbolic link (chain) to the file at its end, opens that file once in its folder held open
// (`Folder::openToRead`: no link, a regular file), and works on what it opened from then on, never
// on the name looked up again: refuses it when write-protected (by the file's own mode, so root is
// refused too; `Folder::mayReplace`), reads the old bytes (refused, with the reason, when it
// cannot) and keeps them as the file's next numbered backup beside it (tables/Backups.h:
// `<name>.~<n>~` as `cp --backup=numbered` names them, the number after the highest; written to a
// temporary file, flushed, then given its name without replacing anything; the newest
// `kBackupsKept` stay). When no backup can be written, the caller's `GoOnWithoutBackup` is asked;
// without one, or on "No" (`SaveDeclined`, which the tables' save methods turn into `false`),
// nothing is written. Then it writes a temporary file beside the file, gives it the permissions,
// owner and group of the file opened (`File::copyAccessFrom(File)`, from its descriptor, never a
// set-user-ID or set-group-ID bit, the backup too; checked afterwards), flushes it and renames it
// over the old file, only while the name still leads to the file it read (`Folder::holds`: device
// and inode); else it stops and says that another program replaced or moved the file meanwhile (a
// new file takes a name only while it is free, `nameIfFree`). Where root saves in or below a folder
// of another user's, `platform::FolderOwnerRights` (tables/OwnerRightsPosix.cpp) gives the saving
// thread that user's file-system user, group and groups for the save (`setfsuid`, `setfsgid`, the
// raw `setgroups` call, all of one thread), as sudoedit works, so that a link or a file that user
// placed reaches only what the user could alone; its `Paused` gives the process its own rights back
// for the rollback folder and for the question to the operator, and every message says whose rights
// the save had. Every file a save makes comes from `platform::Folder::createLocked`: made 0600 (on
// Windows with an access list for its user alone) and locked before anyone else can lock it, and
// only once written given the access rights of the file it belongs with; the save holds it open,
// and with it the lock, until it has its place. A `Folder` is a folder held open: names are looked
// up through its descriptor (`openat`, `linkat`, `renameat`, `unlinkat`), never followed as links.
// Where no temporary file can be made (a folder the user may not write to), or the new file cannot
// get the old owner, group and mode, it rewrites the file in place, which keeps them: old bytes
// read, a rollback copy written and flushed into the editor's data folder (tables/RollbackCopy.h:
// the file's path and identity, device and inode, its mode less set-id bits, the old and the new
// bytes with their sizes and hashes; the folder is Qt's AppLocalDataLocation worked out in plain
// C++, made 0700, and used only as a `Folder::Trust::own` folder: owned by the effective user,
// writable by no one else, no link, and so is every copy in it), new bytes written, cut to length,
// mode less set-id bits given back, flushed, read back and compared; then the rollback copy goes.
// The save holds the copy locked (`File::tryLock`: `flock`; `LockFileEx` and a share mode that lets
// only deletion in on Windows) the whole time. On a failure the old bytes are written back
// (`savesteps::putBack`), the file is read back, and the reason says what it holds: its old
// content, the new one, a mix, or that it cannot be read; the copy stays unless the old bytes are
// back and on the disk. A failed save removes the backup it made and leaves no temporary file; its
// reason is "<full path>: <the system's words>". The `WriteFaults` seam injects each fault with the
// reason the system would give, and `dieAt` makes the save stop dead at each step
// (`SimulatedCrash`, which nothing catches; the destructors close what it held, as the system would
// for a dead process) so tests can start again after it; `platform::observeSyncForTesting` tells
// tests what was flushed and renamed in which order. tables/StartUpRepair.h is that next start: it
// opens the rollback folder as an own folder (one that is not is named in a notice with the copies
// in it, and never used) and takes each copy it can lock (what a running save holds is left alone:
// a process number says nothing after a reboot). A copy is used only when it parses whole (hashes
// match), is of a table file of this run (`loadTables` passes the three table paths), and that file
// is still the same file (identity, checked on the opened file); a file holding its old or new
// bytes just loses the copy; a file holding bytes the rewrite explains (`rewriteExplains`: the new
// bytes at their places over the old ones, or a shorter file of them) has what it holds kept as a
// numbered backup beside it or in the rollback folder, and only then gets its old bytes, with its
// mode now less any bit the copy's mode lacks and less set-id bits; anything else is kept as it is
// and the copy renamed `<name>.kept`. Each such outcome is one line for the operator; where only
// the mode could not be set (`PutBack::modeSet`), the line says the old bytes are back. What a
// start keeps is bounded as backups are: the newest `kBackupsKept` kept copies of each table file's
// name (`pruneKeptCopies`, by time and the number in the name) and backups in the rollback folder,
// and the newest backups beside each table file; a last line says where they are. Temporary files
// of saves (`.<name>.tmp-<process>-<n>-<attempt>`) beside the table files and in the rollback
// folder go when they can be locked; one beside a table file that stays is named with why.
// `loadTables` runs it before reading; varnex-check warns of the same temporary files
// (`leftTemporaries`, `running` when a save holds one locked, naming the process only while one of
// that number runs: `platform::processExists`). A table that was not read completely (a line it
// could not read, a NUL byte, an empty monster table in front of the spawn file) refuses to be
// saved over, with `saveRefusal()` saying why. Each table remembers a `FileStamp` (size,
// modification time, 64-bit hash of the bytes) of the file it read, and after each save of the file
// it wrote; `checkSave()` reads the file the save would replace again (a failure is an error with
// the system's reason, not a question) and gives the question to ask when it differs from what was
// seen, or, for the spawn file saved below the program's folder, when that is another file than the
// one read and holds other bytes (naming both; `rememberSaveTarget` makes it the file seen only
// when it holds the bytes read). Both save buttons put the question through `mayOverwrite`
// (ui/SaveQuestion.h).
//
// Reading takes only regular files of at most 256 MB (`readWholeFile`): a named pipe or a device is
// refused before it is read, with the reason as the report's second line. Every platform call lives
// in the file layer behind tables/TextFilePlatform.h: TextFilePosix.cpp and FolderPosix.cpp,
// TextFileWindows.cpp and FolderWindows.cpp (on Windows: wide paths, `CreateFileW`,
// `FlushFileBuffers`, `MoveFileExW` with replace and write-through, `GetFinalPathNameByHandleW` for
// links, the read-only attribute as write protection, `FormatMessageW` reasons as UTF-8). The steps
// of reading and saving, and the injected faults, are shared above it, so both platforms run the
// same sequence; `scripts/windows-check` runs the table tests under Wine.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "TableError.h"
#include "TableFileLimit.h"

std::vector<std::string> splitLines(std::string_view bytes);

// The lines splitLines gives, one at a time and without copying them.
class LineCursor {
public:
    explicit LineCursor(std::string_view bytes);  // the text ends at a NUL byte
    // The next line without its line end; false after the last one.
    bool next(std::string_view& line);
    // At least as many lines as are left (for reserving room).
    std::size_t linesLeftAtMost() const;

private:
    const char* p_;
    const char* end_;
    // Where the next CR and the next LF are (end_ when none is left), found with memchr
    // and looked for again only once passed.
    const char* cr_ = nullptr;
    const char* lf_ = nullptr;
};
std::string joinLinesCrLf(const std::vector<std::string>& lines);

// The 1-based number of the line that holds the first NUL byte (the line splitLines
// would give next, or its last line when the NUL cuts that one short); 0 without a NUL.
int lineOfFirstNul(std::string_view bytes);

// What the editor knows of a file as it last read or wrote it. Two stamps of the same
// file differ when another program has changed, made or removed it in between, or
// has turned its symbolic link to another file.
struct FileStamp {
    bool exists = false;
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // modification time, nanoseconds since the epoch
    std::uint64_t hash = 0;     // of the bytes; 0 when they could not be read
    // The file itself, after every symbolic link on the way: the file a save replaces.
    std::filesystem::path file;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file as it is now; never throws. A missing file gives {}.
FileStamp stampFile(const std::filesystem::path& path);
std::uint64_t hashBytes(std::string_view bytes);

// Whether two names lead to one file, after symbolic links.
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// A file and the stamp the editor remembers of it.
struct SeenFile {
    std::filesystem::path path;
    FileStamp stamp;
    // The question to put before a save replaces the file at `target` (label names it
    // in the question), or "" when nothing would be lost. When `target` is the file
    // seen: asked when it differs from what was seen. When it is another file (the
    // spawn file is read in one folder and saved in another): asked when it exists
    // with other bytes than those seen; a file never seen by the editor counts as
    // changed once it exists. Throws TableError(cannotOpenMessage(label)) with the
    // full path and the system's reason when the target exists but cannot be read.
    std::string questionBeforeSave(const std::filesystem::path& target, const std::string& label) const;
    // The file `target` a save will replace becomes the file seen, with its stamp as it
    // is now, only when it holds exactly the bytes seen.
    void retarget(const std::filesystem::path& target);
};

// The question put before a save replaces such a file: "<label> was changed by another
// program since the editor read it. Overwrite those changes?"
std::string changedFileQuestion(std::string_view label);
// The question put before a save replaces a file other than the one read, which holds
// other bytes; it names both by their full paths.
std::string otherFileQuestion(const std::filesystem::path& target, const std::filesystem::path& read);

// Throws TableError(cannotOpenMessage(label)) when the file cannot be read, with the
// full path and the system's reason (or "not a regular file", "larger than 256 MB")
// as its reason. When stamp is given, it receives the file's stamp
// as of the start of the read.
std::string readWholeFile(const std::filesystem::path& path, const std::string& label,
                          FileStamp* stamp = nullptr);

// Asked when no backup of a file can be written before a save replaces it; the
// question says why. True goes on without one.
using GoOnWithoutBackup = std::function<bool(const std::string& question)>;

// Thrown by a save when the operator chose not to go on without a backup: nothing
// was written.
class SaveDeclined : public TableError {
public:
    explicit SaveDeclined(const TableError& error) : TableError(error) {}
};

// Replaces the file. First the bytes it replaces are kept beside it as its next
// numbered backup ("<name>.~<n>~", flushed, with its access rights; the newest
// kBackupsKept are kept), unless the newest backup holds them already or the new
// bytes are the same. When no backup can be written, withoutBackup is asked whether
// to go on; nothing is written when it says no (SaveDeclined) or when there is none
// to ask (TableError saying why).
// Then it writes a temporary file beside it, flushes it to disk and renames it over
// the file, which keeps its permissions, owner and group, but never a set-user-ID or
// set-group-ID bit. All of it comes from the file as the save opened and read it,
// never from its name looked up again: when the name leads to another file by the
// time the new one is to take it, nothing is saved (TableError saying so). Where root
// saves in a folder of another user's, the save works with that user's rights
// (platform::FolderOwnerRights). A symbolic link stays a link: what is replaced, and
// backed up, is the file at the end of its chain. When no file can be made in that
// folder, or the new file cannot be given the old owner, group and mode, the file is
// rewritten in its place instead, once a flushed rollback copy of its old and new
// bytes is in rollbackFolder() (held locked while the rewrite lasts, removed again
// when done, put back at the next start should the process die part way:
// StartUpRepair.h); should the rewrite fail, its old bytes are written back, and the
// reason says what the file holds as read back then.
// Temporary files, backups and rollback copies are made so that only their user may
// read them, and get the file's access rights only once written: the bytes are never
// more open to others than the file. Whatever the save has made and not yet named is
// held locked, so that no start takes it for a left-over.
// Either way the save succeeds only when the file holds exactly the new bytes. A
// write-protected file (its mode gives its owner no write permission, whoever saves:
// root too), one that cannot be read, or one larger than a table file may be, is
// never replaced.
// On failure throws TableError(cannotCreateMessage(label)), or cannotOpenMessage when
// the old file cannot be read, with the file's full path and the system's reason as
// its reason, having left the old file as it was and no temporary file behind.
// Gives the stamp of the new file.
FileStamp writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                              const std::string& label, const GoOnWithoutBackup& withoutBackup = {});

// Seam for tests: makes the next saves fail on purpose, each fault with the reason the
// system would give for it. Reset with {}.
struct WriteFaults {
    long long failAfterBytes = -1;  // the disk is full once this many new bytes are written; -1: never
    bool failFlush = false;
    bool failRename = false;
    // No temporary file can be made ("Permission denied"), so the file is rewritten in
    // place; failAfterBytes and failFlush then strike inside that rewrite.
    bool failTemporary = false;
    bool failTruncate = false;  // in place: every cut of the file to a length fails, the undoing one too
    bool failReadBack = false;  // in place: the bytes read back differ from those written
    bool failRestore = false;   // in place: writing the old bytes back fails too
    bool failOwner = false;     // the new file cannot be given the old owner and group
    bool failBackup = false;    // no numbered backup can be written ("Permission denied")
    bool failRollback = false;  // no rollback copy can be written ("Permission denied")
    // A finished backup or rollback copy keeps its temporary name beside its own.
    bool failUnnaming = false;
    bool failReading = false;  // in place: reading the file back fails (an I/O error)
    // The process dies at this step: SimulatedCrash is thrown there and nothing of
    // the save cleans up after it.
    enum class Step {
        none,
        backupUnnamed,     // the backup's bytes are in a temporary file beside the file
        temporaryWritten,  // the new bytes are flushed in the temporary file
        replaced,          // renamed over the file; older backups not yet removed
        rollbackUnnamed,   // in place: the rollback copy is a temporary file
        rollbackWritten,   // in place: the rollback copy is complete; the file untouched
        halfRewritten,     // in place: half the new bytes are written
        rewritten,         // in place: all new bytes written, the file not yet cut
        cutToLength,       // in place: the file holds the new bytes, not yet flushed
        halfRestored,      // in place, after a failure: half the old bytes written back
    } dieAt = Step::none;
    // What another program does at each of these steps, before the save would die
    // there: a file swapped in under the save's feet.
    std::function<void(Step)> meanwhile = {};
};
struct SimulatedCrash {};
void setWriteFaultsForTesting(const WriteFaults& faults);

// How many numbered backups of a file a save leaves.
inline constexpr int kBackupsKept = 10;

// "data/monster.txt" and "data/Quarnel.txt" with the platform's separator.
std::string monsterFileLabel();
std::string spawnFileLabel();
