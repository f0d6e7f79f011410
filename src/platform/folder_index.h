#pragma once
// A reading pass asks for a few hundred names in the PAT98 folder, most of
// them missing on a race morning. While a ReadingPass lives, each folder is
// listed once, at its first lookup, and every name is answered from that
// listing without regard to case; outside a pass lookups ask the file
// system each time. folder_listing_posix.cpp and folder_listing_windows.cpp
// hold the listing itself.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zb {

// Opens a pass, or joins the one already open; the outermost one drops the
// listings when it ends.
class ReadingPass {
  public:
    ReadingPass();
    ~ReadingPass();
    ReadingPass(const ReadingPass&) = delete;
    ReadingPass& operator=(const ReadingPass&) = delete;
};

bool InReadingPass();

// Drops the listings of the open pass: the program has written a file, so
// they are out of date. They are taken again at the next lookup.
void ForgetFolderListings();

// The pass's answer for a path: its real spelling, or an empty optional when
// there is no such regular file. nullopt when no pass is open or the pass
// cannot tell (the folder cannot be listed as spelled): ask the file system.
std::optional<std::optional<std::string>> FindInPass(const std::string& path);

// The file's first maxBytes bytes, read at most once per pass: a second call
// in the same pass gives the bytes of the first. Outside a pass,
// ReadFilePrefix.
std::string ReadFileBytesOncePerPass(const std::string& path,
                                     std::size_t maxBytes = std::string::npos);

namespace platform {

enum class NameKind : uint8_t { kRegular, kFolder, kOther, kUnknown };

struct ListedName {
    std::string name;  // UTF-8
    NameKind kind;     // kUnknown: the listing does not say (a link, some file systems)
};

// The names in a folder in the file system's order, "." and ".." left out.
// False when the folder cannot be listed.
bool ListFolder(const std::string& folder, std::vector<ListedName>& out);
// What the path is, links followed.
NameKind KindOf(const std::string& path);
// The key two names share when the file system takes them for one.
std::string FoldName(std::string_view name);
// Where a path's last name starts: after its last separator, 0 when none.
std::size_t NameStart(std::string_view path);

}  // namespace platform

}  // namespace zb
