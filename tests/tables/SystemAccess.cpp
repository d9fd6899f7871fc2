#include "SystemAccess.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <unistd.h>

#include <grp.h>

#include <cstdio>
#include <sys/wait.h>
#endif

#include <system_error>

#include "TempFolder.h"

bool makeSymlink(const std::filesystem::path& link, const std::filesystem::path& target, std::string& why) {
#ifdef _WIN32
    // Unprivileged links need developer mode on Windows 10 and later.
    if (!::CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE)) {
        why = std::system_category().message(static_cast<int>(::GetLastError()));
        return false;
    }
    // Wine 8 answers success and makes nothing.
    const DWORD attributes = ::GetFileAttributesW(link.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
    why = "CreateSymbolicLinkW reported success, but no link was made";
    return false;
#else
    std::error_code error;
    std::filesystem::create_symlink(target, link, error);
    if (!error) return true;
    why = error.message();
    return false;
#endif
}

bool unprivilegedHere() {
#ifdef _WIN32
    return true;
#else
    if (::geteuid() != 0) return true;
    if (std::system("command -v setpriv >/dev/null 2>&1") != 0) {
        ADD_FAILURE() << "running as root, this test needs setpriv (util-linux) to run as the user nobody";
        return false;
    }
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string(test->test_suite_name()) + "." + test->name();
    // A copy of this program where nobody may run it: the build tree may be closed to others.
    TempFolder place;
    namespace fs = std::filesystem;
    fs::permissions(place.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                      fs::perms::others_read | fs::perms::others_exec);
    const fs::path program = place.path() / "tables_test";
    fs::copy_file("/proc/self/exe", program);
    const std::string command = "cd / && TMPDIR=/tmp setpriv --reuid=nobody --regid=nogroup --clear-groups '" + program.string() +
                                "' '--gtest_filter=" + name + "' 2>&1";
    FILE* child = ::popen(command.c_str(), "r");
    if (!child) {
        ADD_FAILURE() << "cannot start " << command;
        return false;
    }
    std::string output;
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, child)) output.append(buffer, n);
    const int status = ::pclose(child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "as nobody:\n" << output;
    // A filter that matched nothing would pass as well.
    EXPECT_NE(output.find("[       OK ] " + name), std::string::npos) << "as nobody:\n" << output;
    return false;
#endif
}

#ifndef _WIN32
std::string asNobody(const std::function<std::string()>& work) {
    int channel[2];
    if (::pipe(channel) != 0) {
        ADD_FAILURE() << "no pipe";
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        constexpr uid_t kNobody = 65534;
        std::string told = "cannot become the user nobody";
        if (::setgroups(0, nullptr) == 0 && ::setresgid(kNobody, kNobody, kNobody) == 0 &&
            ::setresuid(kNobody, kNobody, kNobody) == 0)
            told = work();
        for (std::size_t at = 0; at < told.size();) {
            const ssize_t n = ::write(channel[1], told.data() + at, told.size() - at);
            if (n <= 0) break;
            at += static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string told;
    char buffer[4096];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) told.append(buffer, static_cast<std::size_t>(n));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return told;
}
#endif

void expectReason(const TableError& error, const std::filesystem::path& file, const std::string& posixWords) {
    const std::string prefix = file.string() + ": ";
#ifdef _WIN32
    (void)posixWords;
    EXPECT_EQ(error.reason().rfind(prefix, 0), 0u) << error.reason();
    EXPECT_GT(error.reason().size(), prefix.size()) << error.reason();
#else
    EXPECT_EQ(error.reason(), prefix + posixWords);
#endif
}
