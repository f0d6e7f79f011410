#include "platform/folder_index.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fixtures/failure_of.h"
#include "fixtures/pat98_writer.h"
#include "platform/file_lookup.h"
#include "platform/run_error.h"

namespace zb {
namespace {

using fixture::Pat98Dir;
using fixture::TempDir;

TEST(ReadingPass, NamesAreLookedUpInOneListingWithoutRegardToCase) {
    TempDir t;
    Pat98Dir d(t.path());
    d.writeBytes("ks-5952a.jra", "x");
    d.writeBytes("LG-FILE.JRA", "log");
    std::filesystem::create_directory(t.path() + "/TH-5952.JRA");
    const ReadingPass pass;
    EXPECT_EQ(FindFile(JoinPath(t.path(), "\\KS-5952A.JRA")), JoinPath(t.path(), "\\ks-5952a.jra"));
    EXPECT_EQ(ReadFileBytes(JoinPath(t.path(), "\\Ks-5952a.JRA")), "x");
    EXPECT_EQ(ReadFileBytesOncePerPass(JoinPath(t.path(), "\\LG-FILE.JRA")), "log");
    EXPECT_FALSE(FileExists(JoinPath(t.path(), "\\th-5952.jra")));  // a folder
    EXPECT_FALSE(FileExists(JoinPath(t.path(), "\\KS-5952B.JRA")));
    EXPECT_EQ(test::FailureOf([&] { ReadFileBytes(JoinPath(t.path(), "\\none")); }),
              kErrFileNotFound);
}

TEST(ReadingPass, ExactSpellingWinsOverAnotherCase) {
#ifdef _WIN32
    GTEST_SKIP() << "two names differing only in case cannot both exist on Windows";
#endif
    TempDir t;
    Pat98Dir d(t.path());
    d.writeBytes("uy-a.jra", "lower");
    d.writeBytes("UY-A.JRA", "upper");
    const ReadingPass pass;
    EXPECT_EQ(ReadFileBytes(JoinPath(t.path(), "\\UY-A.JRA")), "upper");
    EXPECT_EQ(ReadFileBytes(JoinPath(t.path(), "\\uy-a.jra")), "lower");
}

// The listing is taken once: a file that appears during the pass is seen by
// the next pass, or once the program's own write drops the listing.
TEST(ReadingPass, ListingLastsThePassOnly) {
    TempDir t;
    Pat98Dir d(t.path());
    d.writeBytes("LG-FILE.JRA", "first");
    const std::string late = JoinPath(t.path(), "\\KS-5952A.JRA");
    {
        const ReadingPass pass;
        EXPECT_EQ(ReadFileBytesOncePerPass(JoinPath(t.path(), "\\LG-FILE.JRA")), "first");
        d.writeBytes("ks-5952a.jra", "x");
        d.writeBytes("LG-FILE.JRA", "second");
        EXPECT_FALSE(FileExists(late));
        EXPECT_EQ(ReadFileBytesOncePerPass(JoinPath(t.path(), "\\LG-FILE.JRA")), "first");
        {
            const ReadingPass inner;  // joins the pass
            EXPECT_FALSE(FileExists(late));
        }
        EXPECT_FALSE(FileExists(late));
        ForgetFolderListings();
        EXPECT_TRUE(FileExists(late));
    }
    EXPECT_FALSE(InReadingPass());
    EXPECT_TRUE(FileExists(late));
    const ReadingPass next;
    EXPECT_EQ(ReadFileBytesOncePerPass(JoinPath(t.path(), "\\LG-FILE.JRA")), "second");
}

// A folder spelled in another case cannot be listed as spelled: the lookup
// walks the path as outside a pass.
TEST(ReadingPass, FolderInAnotherCaseIsStillFound) {
    TempDir t;
    std::filesystem::create_directory(t.path() + "/Pat98");
    Pat98Dir(t.path() + "/Pat98").writeBytes("UY-A.JRA", "y");
    const ReadingPass pass;
    EXPECT_EQ(ReadFileBytes(JoinPath(t.path(), "\\PAT98\\uy-a.jra")), "y");
}

}  // namespace
}  // namespace zb
