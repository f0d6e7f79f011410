#include "platform/folder_index.h"

#include <functional>
#include <utility>

#include "platform/file_lookup.h"

namespace zb {

namespace {

// One folder's names, looked up by their folded key in an open-addressed
// table of indexes (built once, never grown).
struct Listing {
    std::string folder;  // as the paths spell it, separator included
    bool listed = false;
    std::vector<platform::ListedName> names;
    std::vector<std::string> keys;
    std::vector<uint8_t> several;  // of the first name of a key: others differ in case only
    std::vector<uint32_t> slots;   // index + 1 of a key's first name; 0 free

    explicit Listing(std::string f) : folder(std::move(f)) {
        listed = platform::ListFolder(folder.empty() ? std::string(".") : folder, names);
        if (!listed) return;
        keys.reserve(names.size());
        several.assign(names.size(), 0);
        std::size_t cap = 16;
        while (cap < 2 * names.size()) cap <<= 1;
        slots.assign(cap, 0);
        for (uint32_t i = 0; i < names.size(); ++i) {
            keys.push_back(platform::FoldName(names[i].name));
            uint32_t& slot = slots[probe(keys.back())];
            if (slot == 0)
                slot = i + 1;
            else
                several[slot - 1] = 1;
        }
    }

    // The slot of key: where it is, or the free one where it would go.
    std::size_t probe(std::string_view key) const {
        const std::size_t mask = slots.size() - 1;
        std::size_t at = std::hash<std::string_view>{}(key)&mask;
        while (slots[at] != 0 && keys[slots[at] - 1] != key) at = (at + 1) & mask;
        return at;
    }

    // The entry for name: its exact spelling first, else the first in order
    // that matches without regard to case, as a walk through the folder finds it.
    platform::ListedName* find(std::string_view name) {
        const uint32_t slot = slots[probe(platform::FoldName(name))];
        if (slot == 0) return nullptr;
        platform::ListedName* first = &names[slot - 1];
        if (first->name == name || !several[slot - 1]) return first;
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

std::string ReadFileBytesOncePerPass(const std::string& path, std::size_t maxBytes) {
    if (pass.depth == 0) return ReadFilePrefix(path, maxBytes);
    for (const auto& [p, bytes] : pass.filesRead)
        if (p == path) return bytes.substr(0, maxBytes);
    std::string bytes = ReadFilePrefix(path, maxBytes);
    pass.filesRead.emplace_back(path, bytes);
    return bytes;
}

}  // namespace zb
