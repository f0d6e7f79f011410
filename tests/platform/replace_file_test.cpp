#include "platform/replace_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

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
