// What the POSIX and Windows lookups share: both come down to FindFile and
// ReadFoundFile.
#include "platform/file_lookup.h"

#include "platform/run_error.h"

namespace zb {

bool FileExists(const std::string& path) {
    return FindFile(path).has_value();
}

std::string ReadFileBytes(const std::string& path) {
    return ReadFilePrefix(path, std::string::npos);
}

std::string ReadFilePrefix(const std::string& path, std::size_t maxBytes) {
    const auto real = FindFile(path);
    if (!real) Fail(kErrFileNotFound);
    return ReadFoundFile(*real, maxBytes);
}

}  // namespace zb
