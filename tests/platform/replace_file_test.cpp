#include "platform/replace_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <chrono>
#include <filesystem>
#include <set>

#include "fixtures/failure_of.h"
#include "fixtures/pat98_writer.h"
#include "platform/run_error.h"
#include "platform/user_files_test_util.h"

namespace zb {
namespace {

namespace fs = std::filesystem;
using fixture::ReadAll;
using fixture::TempDir;
using test::FailureOf;
using test::Inode;
using test::kUserFiles;
using test::UserFileCase;
using test::UserFileName;
using test::UserFolder;

TEST(ReplaceFile, WritesAndReplacesWholeFiles) {
    TempDir t;
    std::string p = t.path() + "/out.txt";
    ReplaceFile(p, "first");
    ReplaceFile(p, "second");
    EXPECT_EQ(ReadAll(p), "second");
    // No temporary file is left behind.
    int n = 0;
    for (auto& e : fs::directory_iterator(t.path())) n += e.is_regular_file();
    EXPECT_EQ(n, 1);
}

TEST(ReplaceFile, FailureLeavesTheOldFile) {
    TempDir t;
    std::string p = t.path() + "/out.txt";
    ReplaceFile(p, "old");
    // A folder where the file should go cannot be replaced by a rename.
    fs::create_directory(t.path() + "/dir.txt");
    EXPECT_EQ(FailureOf([&] { ReplaceFile(t.path() + "/dir.txt", "new"); }), kErrPermission);
    EXPECT_EQ(FailureOf([&] { ReplaceFile(t.path() + "/missing/out.txt", "new"); }),
              kErrPathNotFound);
    EXPECT_EQ(ReadAll(p), "old");
}

TEST(ReplaceFile, SameTextIsNotWrittenAgain) {
    TempDir t;
    std::string p = t.path() + "/out.txt";
    ReplaceFile(p, "text");
    const auto before = Inode(p);
    ReplaceFile(p, "text");
    EXPECT_EQ(Inode(p), before);  // a replacement would bring a new inode
    ReplaceFile(p, "texT");
    EXPECT_NE(Inode(p), before);
}

// Only names of our own making go: the file's name, ".~zubrica98-", six
// letters or digits. Names a person might choose stay, and so does the backup.
TEST(ReplaceFile, StaleTemporariesOfThatFileAreRemoved) {
    TempDir t;
    fixture::Pat98Dir d(t.path());
    d.writeBytes("out.txt", "old");
    const char* ours[] = {"out.txt.~zubrica98-AbC123", "out.txt.~zubrica98-000000"};
    const char* others[] = {"out.txt.tmpAbC123",           "out.txt.tmp202612",
                            "out.txt.tmpbackup",           "out.txt.~zubrica98-",
                            "out.txt.~zubrica98-ABCDEFG",  "out.txt.~zubrica98-AB.DEF",
                            "out.tx.~zubrica98-ABCDEF",    "Out.txt.~zubrica98-ABCDEF",
                            "other.txt.~zubrica98-ABCDEF", "out.txt.bak"};
    for (const char* f : ours) d.writeBytes(f, "x");
    for (const char* f : others) d.writeBytes(f, "x");
    fs::create_directory(t.path() + "/out.txt.~zubrica98-FOLDER");
    ReplaceFile(t.path() + "/out.txt", "new");
    for (const char* f : ours) EXPECT_FALSE(fs::exists(t.path() + "/" + f)) << f;
    for (const char* f : others) EXPECT_TRUE(fs::exists(t.path() + "/" + f)) << f;
    EXPECT_TRUE(fs::is_directory(t.path() + "/out.txt.~zubrica98-FOLDER"));
}

void LastChangedDaysAgo(const std::string& p, int days) {
    fs::last_write_time(p, fs::file_time_type::clock::now() - std::chrono::hours(24 * days));
}

// What a name holds: its text, "/" for a folder, "" for nothing.
std::string Held(const std::string& p) {
    return fs::is_directory(p) ? "/" : fs::exists(p) ? ReadAll(p) : "";
}

// "old" replaced by "new": the backup keeps the file as it stood before the
// day's first change, for the user's files only.
TEST(ReplaceFile, BackupKeepsTheFileOfAnEarlierDay) {
    const struct {
        int daysOld;
        std::string before, after;
        OldFile old = OldFile::kKeepDaysFirst;
        bool readOnly = false;
    } cases[] = {{1, "", "old"},
                 {3, "older", "old"},
                 {0, "older", "older"},
                 {0, "", ""},
                 {1, "/", "/"},
                 {1, "", "", OldFile::kDrop},
                 {1, "older", "older", OldFile::kKeepDaysFirst, true}};
    for (const auto& c : cases) {
        TempDir t;
        const std::string p = t.path() + "/out.txt", bak = BackupPath(p);
        fixture::Pat98Dir(t.path()).writeBytes("out.txt", "old");
        if (c.before == "/") fs::create_directory(bak);
        if (c.before.size() > 1) fixture::Pat98Dir(t.path()).writeBytes("out.txt.bak", c.before);
        if (c.readOnly) fs::permissions(bak, fs::perms::all, fs::perm_options::remove);
        LastChangedDaysAgo(p, c.daysOld);
        ReplaceFile(p, "new", c.old);
        EXPECT_EQ(Held(p) + "|" + Held(bak), "new|" + c.after) << c.before << c.daysOld;
        EXPECT_EQ(std::distance(fs::directory_iterator(t.path()), {}), c.after.empty() ? 1 : 2);
        if (c.readOnly) fs::permissions(bak, fs::perms::owner_write, fs::perm_options::add);
    }
}

#ifdef _WIN32
// ReplaceFileW fails (ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 after moving the old
// file to the name given for it), then moves of the new file, or all, fail.
namespace swap {
DWORD replaceError;
int failingMoves;  // 1: of anything but the old file, 2: all
std::wstring oldName;
int Replace(const wchar_t* target, const wchar_t* replacement, const wchar_t* backup) {
    oldName = backup;
    if (replaceError == 0) return platform::RealSwapCalls().replace(target, replacement, backup);
    if (replaceError == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) ::MoveFileExW(target, backup, 0);
    ::SetLastError(replaceError);
    return 0;
}
int Move(const wchar_t* from, const wchar_t* to, unsigned long flags) {
    if (failingMoves == 2 || (failingMoves == 1 && oldName != from)) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    return platform::RealSwapCalls().move(from, to, flags);
}
}  // namespace swap

// The file holds the old or the new text; where neither could be put back,
// both temporaries stay and the message names them.
TEST(ReplaceFile, WindowsSwapThatFailsHalfWayLosesNoFile) {
    const struct {
        DWORD error;
        int failingMoves;
        std::string found;  // file|backup|temporaries
    } cases[] = {{0, 0, "new|old|"},
                 {ERROR_UNABLE_TO_REMOVE_REPLACED, 0, "new|old|"},
                 {ERROR_UNABLE_TO_MOVE_REPLACEMENT, 2, "old||"},
                 {ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, 0, "new|old|"},
                 {ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, 1, "old||"},
                 {ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, 2, "||newold"}};
    const auto before = platform::SetSwapCalls({swap::Replace, swap::Move});
    for (const auto& c : cases) {
        swap::replaceError = c.error;
        swap::failingMoves = c.failingMoves;
        TempDir t;
        const std::string p = t.path() + "/out.txt";
        fixture::Pat98Dir(t.path()).writeBytes("out.txt", "old");
        LastChangedDaysAgo(p, 1);
        std::string message;
        try {
            ReplaceFile(p, "new", OldFile::kKeepDaysFirst);
        } catch (const RunError& e) {
            message = e.description;
        }
        std::set<std::string> left;
        for (const auto& e : fs::directory_iterator(t.path()))
            if (e.path().filename().string().find(".~zubrica98-") != std::string::npos) {
                left.insert(ReadAll(e.path().string()));
                EXPECT_NE(message.find(e.path().filename().string()), std::string::npos) << message;
            }
        EXPECT_EQ(Held(p) + "|" + Held(p + ".bak") + "|" + (left.empty() ? "" : "newold"), c.found)
            << c.error << " " << c.failingMoves;
        EXPECT_EQ(message.empty(), Held(p) == "new") << message;
    }
    platform::SetSwapCalls(before);
}
#endif

struct UserFiles : ::testing::TestWithParam<UserFileCase>, UserFolder {
    const UserFileCase& c = GetParam();
    // What the failure of a write shows: failure 70 naming the file and why
    // for the passbook, nothing for the settings.
    std::vector<std::pair<std::string, std::string>> failureShown(std::string_view why) const {
        if (!c.reportsFailure) return {};
        return {{"MAIN  70", ErrorDescription(kErrPermission) + "\n" + PassbookPath(s) + "\n" +
                                 std::string(why)}};
    }
};

// Modes without the owner's write bit: root could write them, the program must not.
TEST_P(UserFiles, ReadOnlyFileStaysByteForByte) {
    for (mode_t mode : {0444, 0400, 0555, 0466}) {
        c.write(s, 0);
        const std::string before = ReadAll(file(c));
        LastChangedDaysAgo(file(c), 1);  // a write would make a backup: none may come
        ASSERT_EQ(::chmod(file(c).c_str(), mode), 0);
        sink.seen.clear();
        c.write(s, 1);
        EXPECT_EQ(ReadAll(file(c)), before) << std::oct << mode;
        EXPECT_EQ(sink.seen, failureShown("読み取り専用のファイルです。")) << std::oct << mode;
        EXPECT_EQ(litter(), 0);
        ASSERT_EQ(::chmod(file(c).c_str(), 0644), 0);
    }
}

TEST_P(UserFiles, LinkStaysALinkAndItsTargetGetsTheText) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links need a privilege on Windows";
#else
    fs::create_directory(tmp.path() + "/real");
    fixture::Pat98Dir(tmp.path() + "/real").writeBytes("kept.txt", "old");
    fs::create_symlink("real/kept.txt", file(c));
    c.write(s, 1);
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(file(c))));
    EXPECT_EQ(c.readBack(s), 1);
    EXPECT_NE(ReadAll(tmp.path() + "/real/kept.txt"), "old");
    EXPECT_TRUE(sink.seen.empty());
#endif
}

TEST_P(UserFiles, FullDiskLeavesTheOldFile) {
#ifdef _WIN32
    GTEST_SKIP() << "file size limits are POSIX";
#else
    c.write(s, 0);
    const std::string before = ReadAll(file(c));
    for (rlim_t limit : {rlim_t{0}, rlim_t{1}, rlim_t{100}, rlim_t{before.size() - 1}}) {
        sink.seen.clear();
        struct rlimit old;
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
        auto oldHandler = signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = old;
        small.rlim_cur = limit;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        c.write(s, 1);
        setrlimit(RLIMIT_FSIZE, &old);
        signal(SIGXFSZ, oldHandler);
        EXPECT_EQ(ReadAll(file(c)), before) << limit;
        EXPECT_EQ(sink.seen, failureShown("ディスクの空き領域が不足しています。")) << limit;
        EXPECT_EQ(litter(), 0) << limit;
    }
    EXPECT_EQ(c.readBack(s), 0);
#endif
}

INSTANTIATE_TEST_SUITE_P(Both, UserFiles, ::testing::ValuesIn(kUserFiles), UserFileName);

}  // namespace
}  // namespace zb
