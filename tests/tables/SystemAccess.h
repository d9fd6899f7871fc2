#pragma once
// What the save tests need of the system beyond std::filesystem: symbolic links (which
// the standard library of mingw-w64 cannot make) and an unprivileged user, without
// whom permission checks do not bite.

#include <filesystem>
#include <functional>
#include <string>

#include "TableError.h"

// Makes `link` a symbolic link to `target` (relative targets stay relative). False,
// with the system's reason, where the system cannot make one.
bool makeSymlink(const std::filesystem::path& link, const std::filesystem::path& target, std::string& why);

// Whether the running test should go on here, as a user whom permissions bind. As
// root every permission check passes, so the test is run again, alone, in a child
// process as the user nobody (setpriv), whose outcome becomes this test's; the caller
// then returns at once:
//     if (!unprivilegedHere()) return;
// Gives true at once when the process is no root (Windows included).
bool unprivilegedHere();

// For a test run as root that needs one step of another user's among its own (a start
// of the editor by a colleague): runs `work` in a child process as the user nobody and
// gives what it returned. POSIX systems only.
std::string asNobody(const std::function<std::string()>& work);

// Checks a failure's reason: the file's full path, ": ", then why. posixWords are the
// system's words on POSIX systems; Windows words come from FormatMessage and differ
// between Windows and Wine, so there only their presence is checked.
void expectReason(const TableError& error, const std::filesystem::path& file, const std::string& posixWords);
