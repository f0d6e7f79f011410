#include "platform/folder_index.h"

#include <unordered_map>
#include <utility>

#include "platform/file_lookup.h"

namespace zb {

namespace {

// One folder's names, looked up by their folded key.
struct Listing {
    std::string folder;  // as the paths spell it, separator included
    bool listed = false;
    std::vector<platform::ListedName> names;
    struct Key {
        uint32_t first;  // in listing order
        bool several;    // names that differ only in case
    };
    std::unordered_map<std::string, Key> byKey;

    explicit Listing(std::string f) : folder(std::move(f)) {
        listed = platform::ListFolder(folder.empty() ? std::string(".") : folder, names);
        if (!listed) return;
        byKey.reserve(names.size());
        for (uint32_t i = 0; i < names.size(); ++i) {
            auto [it, fresh] = byKey.try_emplace(platform::FoldName(names[i].name), Key{i, false});
            if (!fresh) it->second.several = true;
        }
    }

    // The entry for name: its exact spelling first, else the first in order
    // that matches without regard to case, as a walk through the folder finds it.
    platform::ListedName* find(std::string_view name) {
        auto it = byKey.find(platform::FoldName(name));
        if (it == byKey.end()) return nullptr;
        platform::ListedName* first = &names[it->second.first];
        if (first->name == name || !it->second.several) return first;
        for (platform::ListedName& n : names)
            if (n.name == name) return &n;
        return first;
    }
};

struct PassState {
    int depth = 0;
    std::vector<Listing> listings;
    std::vector<std::pair<std::string, std::string>> filesRead;
};

thread_local PassState pass;

Listing& ListingOf(std::string_view folder) {
    for (Listing& l : pass.listings)
        if (l.folder == folder) return l;
    return pass.listings.emplace_back(std::string(folder));
}

}  // namespace

ReadingPass::ReadingPass() {
    ++pass.depth;
}

ReadingPass::~ReadingPass() {
    if (--pass.depth > 0) return;
    pass.listings.clear();
    pass.filesRead.clear();
}

bool InReadingPass() {
    return pass.depth > 0;
}

void ForgetFolderListings() {
    pass.listings.clear();
    pass.filesRead.clear();
}

std::optional<std::optional<std::string>> FindInPass(const std::string& path) {
    if (pass.depth == 0) return std::nullopt;
    const std::size_t start = platform::NameStart(path);
    const std::string_view name = std::string_view(path).substr(start);
    if (name.empty() || name == "." || name == "..") return std::nullopt;
    Listing& l = ListingOf(std::string_view(path).substr(0, start));
    if (!l.listed) return std::nullopt;
    platform::ListedName* entry = l.find(name);
    if (!entry) return std::optional<std::string>();
    std::string real = entry->name == name ? path : l.folder + entry->name;
    if (entry->kind == platform::NameKind::kUnknown) entry->kind = platform::KindOf(real);
    if (entry->kind != platform::NameKind::kRegular) return std::optional<std::string>();
    return std::optional<std::string>(std::move(real));
}

std::string ReadFileBytesOncePerPass(const std::string& path) {
    if (pass.depth == 0) return ReadFileBytes(path);
    for (const auto& [p, bytes] : pass.filesRead)
        if (p == path) return bytes;
    std::string bytes = ReadFileBytes(path);
    pass.filesRead.emplace_back(path, bytes);
    return bytes;
}

}  // namespace zb
