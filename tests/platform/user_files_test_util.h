#pragma once
// The user's two files side by side, for tests that treat them alike: each
// case writes one of two versions of its file through the program's own
// procedure and reads the file back the same way.

#include <sys/stat.h>
#ifdef _WIN32
#include <windows.h>
#undef ReplaceFile  // a macro for ReplaceFileA there
#endif

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>

#include "accounting/passbook.h"
#include "accounting/passbook_test_util.h"
#include "startup/settings.h"

namespace zb::test {

struct UserFileCase {
    const char* name;
    const char* file;
    // The passbook reports a failed write as failure 70; the settings ignore it.
    bool reportsFailure;
    // Sets the state to version v (0 or 1) and writes the file.
    void (*write)(AppState& s, int v);
    // The version read back from the file, or -1 when it is neither.
    int (*readBack)(AppState& s);
};

inline void WriteBookVersion(AppState& s, int v) {
    // Enough days that a write takes a while and can be cut in the middle.
    s.Passbook.assign(11, Empty());
    for (int i = 0; i < 3000; ++i) {
        const std::string d = NthDate(i);
        s.Passbook.push_back(Entry(std::u16string(d.begin(), d.end()), i, i, 0));
    }
    s.Passbook.push_back(Empty());
    s.Passbook[0] = Entry(u"20010504", 100 + v, 0, -100 - v);
    s.PassbookCount = static_cast<int32_t>(s.Passbook.size()) - 1;
    WritePassbook(s);
}

inline int ReadBookVersion(AppState& s) {
    ReadPassbook(s);
    if (s.PassbookReadFailed || s.Passbook.size() != 3013u) return -1;
    int v = s.Passbook[0].stake - 100;
    return v == 0 || v == 1 ? v : -1;
}

inline void WriteSettingsVersion(AppState& s, int v) {
    s.settings = Settings{};
    s.settings.Border = 1;  // as loading leaves them
    s.settings.Bold = 1;
    s.settings.Top(0) = 1000 + v;
    s.settings.Left(3) = -v;
    SaveSettings(s);
}

inline int ReadSettingsVersion(AppState& s) {
    LoadSettings(s);
    int v = s.settings.Top(0) - 1000;
    return (v == 0 || v == 1) && s.settings.Left(3) == -v ? v : -1;
}

inline const UserFileCase kUserFiles[] = {
    {"Passbook", "Korvane.txt", true, WriteBookVersion, ReadBookVersion},
    {"Settings", "Zubrica98.ini", false, WriteSettingsVersion, ReadSettingsVersion},
};

// Stable test names: the case's name, not its bytes.
inline void PrintTo(const UserFileCase& c, std::ostream* os) {
    *os << c.name;
}

inline std::string UserFileName(const ::testing::TestParamInfo<UserFileCase>& info) {
    return info.param.name;
}

// A replacement brings a new inode; a file left alone keeps its own.
// The file's identity: a replaced file is a new one.
inline unsigned long long Inode(const std::string& p) {
#ifdef _WIN32
    // No inode numbers in stat: the file index is the same thing.
    HANDLE h = ::CreateFileA(p.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 0;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = ::GetFileInformationByHandle(h, &info) != 0;
    ::CloseHandle(h);
    return ok ? (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow
              : 0;
#else
    struct stat st;
    return ::stat(p.c_str(), &st) == 0 ? st.st_ino : 0;
#endif
}

// A folder holding both files, with the state pointing at it.
struct UserFolder : BookFolder {
    UserFolder() { s.AppFolder = tmp.path() + "\\"; }
    std::string file(const UserFileCase& c) const { return tmp.path() + "/" + c.file; }
    // Files in the folder other than the user's two: temporaries left behind.
    int litter() const {
        int n = 0;
        for (const auto& e : std::filesystem::directory_iterator(tmp.path())) {
            std::string f = e.path().filename().string();
            n += f != "Korvane.txt" && f != "Zubrica98.ini";
        }
        return n;
    }
};

}  // namespace zb::test
