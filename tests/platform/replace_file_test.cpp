#include "platform/replace_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "fixtures/failure_of.h"
#include "fixtures/pat98_writer.h"
#include "platform/user_files_test_util.h"
#include "startup/run_error.h"

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

// "old" replaced by "new": the backup holds the file as it stood before the
// day's first change, and only for the user's files.
TEST(ReplaceFile, BackupKeepsTheFileOfAnEarlierDay) {
    enum Backup { kNone, kOlder, kReadOnly, kFolder };
    struct Case {
        const char* name;
        int daysOld;
        Backup before;
        OldFile old;
        const char* after;  // the backup's text; nullptr: none, "/": the folder
    };
    const Case cases[] = {
        {"EarlierDay", 1, kNone, OldFile::kKeepDaysFirst, "old"},
        {"EarlierDayOverAnOlderBackup", 3, kOlder, OldFile::kKeepDaysFirst, "old"},
        {"SameDay", 0, kOlder, OldFile::kKeepDaysFirst, "older"},
        {"SameDayFirstWrite", 0, kNone, OldFile::kKeepDaysFirst, nullptr},
        {"ReadOnlyBackupStays", 1, kReadOnly, OldFile::kKeepDaysFirst, "older"},
        {"BackupNameTakenByAFolder", 1, kFolder, OldFile::kKeepDaysFirst, "/"},
        {"NotAUserFile", 1, kNone, OldFile::kDrop, nullptr},
    };
    for (const Case& c : cases) {
        TempDir t;
        fixture::Pat98Dir d(t.path());
        const std::string p = t.path() + "/out.txt", bak = BackupPath(p);
        d.writeBytes("out.txt", "old");
        if (c.before == kFolder) fs::create_directory(bak);
        if (c.before == kOlder || c.before == kReadOnly) d.writeBytes("out.txt.bak", "older");
        if (c.before == kReadOnly) fs::permissions(bak, fs::perms::all, fs::perm_options::remove);
        LastChangedDaysAgo(p, c.daysOld);
        EXPECT_EQ(FailureOf([&] { ReplaceFile(p, "new", c.old); }), 0) << c.name;
        EXPECT_EQ(ReadAll(p), "new") << c.name;
        if (!c.after)
            EXPECT_FALSE(fs::exists(bak)) << c.name;
        else if (std::string(c.after) == "/")
            EXPECT_TRUE(fs::is_directory(bak)) << c.name;
        else
            EXPECT_EQ(ReadAll(bak), c.after) << c.name;
        const auto files =
            std::distance(fs::directory_iterator(t.path()), fs::directory_iterator());
        EXPECT_EQ(files, c.after ? 2 : 1) << c.name << ": a temporary left";
        if (c.before == kReadOnly)
            fs::permissions(bak, fs::perms::owner_write, fs::perm_options::add);
    }
}

TEST(CreateNewFile, NeverReplacesAFile) {
    TempDir t;
    fixture::Pat98Dir d(t.path());
    const std::string p = t.path() + "/new.txt";
    EXPECT_TRUE(CreateNewFile(p, "first"));
    EXPECT_FALSE(CreateNewFile(p, "second"));
    EXPECT_EQ(ReadAll(p), "first");
    d.writeBytes("UPPER.TXT", "kept");
    EXPECT_FALSE(CreateNewFile(t.path() + "/upper.txt", "x"));
    EXPECT_EQ(ReadAll(t.path() + "/UPPER.TXT"), "kept");
    EXPECT_EQ(FailureOf([&] { CreateNewFile(t.path() + "/missing/x.txt", "x"); }),
              kErrPathNotFound);
}

#ifdef _WIN32
// ReplaceFileW and MoveFileExW made to fail as a network drive or a virus
// scanner makes them fail; the old file may already be under the name given
// for it when ReplaceFileW fails.
namespace swap {
DWORD replaceError = 0;        // 0: the real call
bool replaceMovesOld = false;  // the old file goes to the given name first
int movesFailing = 0;          // 1: moves of anything but the old file, 2: all
std::wstring oldName;

int Replace(const wchar_t* target, const wchar_t* replacement, const wchar_t* backup) {
    oldName = backup;
    if (replaceError == 0) return platform::RealSwapCalls().replace(target, replacement, backup);
    if (replaceMovesOld) ::MoveFileExW(target, backup, 0);
    ::SetLastError(replaceError);
    return 0;
}

int Move(const wchar_t* from, const wchar_t* to, unsigned long flags) {
    if (movesFailing == 2 || (movesFailing == 1 && oldName != from)) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    return platform::RealSwapCalls().move(from, to, flags);
}
}  // namespace swap

TEST(ReplaceFile, WindowsSwapThatFailsHalfWayLosesNoFile) {
    struct Case {
        const char* name;
        DWORD replaceError;
        bool movesOld;
        int movesFailing;
        const char* target;  // the text under the target's name; nullptr: none
        int failure;
        std::vector<std::string> left;  // texts of the temporaries left, sorted
        const char* backup;
    };
    const Case cases[] = {
        {"Works", 0, false, 0, "new", 0, {}, "old"},
        {"OldNotMovedThenPlainMove",
         ERROR_UNABLE_TO_REMOVE_REPLACED,
         false,
         0,
         "new",
         0,
         {},
         "old"},
        {"OldMovedThenNewMoved", ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, true, 0, "new", 0, {}, "old"},
        {"OldMovedAndPutBack", ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, true, 1, "old", 70, {}, nullptr},
        {"OldMovedNothingMoves",
         ERROR_UNABLE_TO_MOVE_REPLACEMENT_2,
         true,
         2,
         nullptr,
         70,
         {"new", "old"},
         nullptr},
        {"OldNotMovedNothingMoves",
         ERROR_UNABLE_TO_MOVE_REPLACEMENT,
         false,
         2,
         "old",
         70,
         {},
         nullptr},
    };
    const auto before = platform::SetSwapCalls({swap::Replace, swap::Move});
    for (const Case& c : cases) {
        swap::replaceError = c.replaceError;
        swap::replaceMovesOld = c.movesOld;
        swap::movesFailing = c.movesFailing;
        TempDir t;
        fixture::Pat98Dir(t.path()).writeBytes("out.txt", "old");
        const std::string p = t.path() + "/out.txt";
        LastChangedDaysAgo(p, 1);
        std::string message;
        int failure = 0;
        try {
            ReplaceFile(p, "new", OldFile::kKeepDaysFirst);
        } catch (const RunError& e) {
            failure = e.number;
            message = e.description;
        }
        EXPECT_EQ(failure, c.failure) << c.name;
        if (c.target)
            EXPECT_EQ(ReadAll(p), c.target) << c.name;
        else
            EXPECT_FALSE(fs::exists(p)) << c.name;
        if (c.backup)
            EXPECT_EQ(ReadAll(p + ".bak"), c.backup) << c.name;
        else
            EXPECT_FALSE(fs::exists(p + ".bak")) << c.name;
        std::vector<std::string> left;
        for (const auto& e : fs::directory_iterator(t.path())) {
            const std::string name = e.path().filename().string();
            if (name.find(".~zubrica98-") == std::string::npos) continue;
            left.push_back(ReadAll(e.path().string()));
            // Kept only where the message tells the user where to look.
            EXPECT_NE(message.find(name), std::string::npos) << c.name << ": " << message;
        }
        std::sort(left.begin(), left.end());
        EXPECT_EQ(left, c.left) << c.name;
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

// A second write on the same day leaves the backup of the earlier day.
TEST_P(UserFiles, BackupIsTheFileOfTheDayBefore) {
    c.write(s, 0);
    const std::string dayBefore = ReadAll(file(c));
    LastChangedDaysAgo(file(c), 1);
    for (int v : {1, 0}) {
        c.write(s, v);
        EXPECT_EQ(c.readBack(s), v);
        EXPECT_EQ(ReadAll(file(c) + ".bak"), dayBefore) << v;
    }
    EXPECT_TRUE(sink.seen.empty());
}

INSTANTIATE_TEST_SUITE_P(Both, UserFiles, ::testing::ValuesIn(kUserFiles), UserFileName);

}  // namespace
}  // namespace zb
