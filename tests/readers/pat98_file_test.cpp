#include "readers/pat98_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "fixtures/failure_of.h"
#include "fixtures/pat98_writer.h"
#include "platform/run_error.h"

namespace zb {
namespace {

using fixture::Pat98Dir;
using fixture::TempDir;

using test::FailureOf;

TEST(SeqReader, CharsCountDoubleByteCharactersAsOne) {
    // "投票" is four bytes, two characters.
    SeqReader r(
        std::string("\x93\x8A\x95\x5B"
                    "AB"));
    EXPECT_EQ(r.chars(3), u"投票A");
    EXPECT_EQ(r.remaining(), 1u);
    EXPECT_EQ(r.chars(1), u"B");
    EXPECT_EQ(FailureOf([&] { r.chars(1); }), kErrPastEnd);
}

TEST(SeqReader, ReadingIntoAHalfCharacterIsPastTheEnd) {
    SeqReader r(std::string("A\x93"));
    EXPECT_EQ(FailureOf([&] { r.chars(2); }), kErrPastEnd);
    // A failed read consumes nothing.
    EXPECT_EQ(r.chars(1), u"A");
}

TEST(SeqReader, BytesAndBlocks) {
    SeqReader r(
        std::string("\x93\x8A"
                    "xyz"));
    EXPECT_EQ(r.bytes(1), "\x93");
    EXPECT_EQ(FailureOf([&] { r.bytes(5); }), kErrPastEnd);
    EXPECT_EQ(r.block(100),
              "\x8A"
              "xyz");
    EXPECT_EQ(r.block(10), "");
    EXPECT_EQ(FailureOf([&] { r.chars(-1); }), kErrInvalidCall);
}

TEST(FileLookup, NamesMatchWithoutRegardToCase) {
    TempDir t;
    Pat98Dir d(t.path());
    d.writeBytes("uy-a.jra", "x");
    std::filesystem::create_directory(t.path() + "/Sub");
    Pat98Dir(t.path() + "/Sub").writeBytes("Korvane.TXT", "y");
    EXPECT_TRUE(FileExists(JoinPath(t.path(), "\\UY-A.JRA")));
    EXPECT_EQ(ReadFileBytes(JoinPath(t.path(), "\\UY-A.JRA")), "x");
    EXPECT_TRUE(FileExists(JoinPath(t.path(), "\\sub\\korvane.txt")));
    EXPECT_FALSE(FileExists(JoinPath(t.path(), "\\UY-B.JRA")));
    EXPECT_FALSE(FileExists(JoinPath(t.path(), "\\Sub")));  // a folder is not a file
    EXPECT_EQ(FailureOf([&] { ReadFileBytes(JoinPath(t.path(), "\\none")); }), kErrFileNotFound);
}

TEST(FileLookup, DoubledSeparatorIsAccepted) {
    TempDir t;
    Pat98Dir(t.path()).writeBytes("pat98.exe", "MZ");
    EXPECT_TRUE(FileExists(JoinPath(t.path() + "\\", "\\pat98.exe")));
}

}  // namespace
}  // namespace zb
