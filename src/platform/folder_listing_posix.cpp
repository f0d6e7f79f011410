#ifndef _WIN32

#include <dirent.h>
#include <sys/stat.h>

#include "platform/folder_index.h"

namespace zb::platform {

bool ListFolder(const std::string& folder, std::vector<ListedName>& out) {
    DIR* d = ::opendir(folder.c_str());
    if (!d) return false;
    while (const dirent* e = ::readdir(d)) {
        const std::string_view name = e->d_name;
        if (name == "." || name == "..") continue;
        NameKind kind = NameKind::kUnknown;
        if (e->d_type == DT_REG)
            kind = NameKind::kRegular;
        else if (e->d_type == DT_DIR)
            kind = NameKind::kFolder;
        else if (e->d_type != DT_UNKNOWN && e->d_type != DT_LNK)
            kind = NameKind::kOther;
        out.push_back({std::string(name), kind});
    }
    ::closedir(d);
    return true;
}

NameKind KindOf(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return NameKind::kOther;
    if (S_ISREG(st.st_mode)) return NameKind::kRegular;
    return S_ISDIR(st.st_mode) ? NameKind::kFolder : NameKind::kOther;
}

// ASCII letters fold as Windows folds them; other bytes (UTF-8) must match.
std::string FoldName(std::string_view name) {
    std::string key(name);
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return key;
}

std::size_t NameStart(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? 0 : slash + 1;
}

}  // namespace zb::platform

#endif
