#include "startup/ini.h"

#include "platform/file_lookup.h"
#include "platform/replace_file.h"
#include "platform/run_error.h"

namespace zb {

namespace {

constexpr std::size_t kProfileValueMax = 254;

std::string_view Trim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

// The section name of a "[name]" line.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line[0] != '[') return std::nullopt;
    std::size_t close = line.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

// The key of a "key=value" line.
std::optional<std::string_view> KeyOf(std::string_view line) {
    std::string_view t = Trim(line);
    if (t.empty() || t[0] == ';') return std::nullopt;
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return Trim(line.substr(0, eq));
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view content) {
    IniDocument doc;
    // Editors that save UTF-8 put a byte-order mark before the first section;
    // left in, it hides that section. It is not written back.
    if (content.starts_with("\xEF\xBB\xBF")) content.remove_prefix(3);
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t nl = content.find('\n', start);
        std::size_t end = nl == std::string_view::npos ? content.size() : nl;
        std::string_view line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        doc.lines_.emplace_back(line);
        start = nl == std::string_view::npos ? content.size() : nl + 1;
    }
    return doc;
}

IniDocument IniDocument::Load(const std::string& path) {
    if (!FileExists(path)) return IniDocument{};
    return OfFile(ReadFileUpTo(path, kIniMaxBytes));
}

IniDocument IniDocument::OfFile(std::string_view data) {
    if (data.size() <= kIniMaxBytes) return Parse(data);
    std::size_t end = data.rfind('\n', kIniMaxBytes - 1);
    IniDocument doc = Parse(data.substr(0, end == std::string_view::npos ? 0 : end + 1));
    doc.whole_ = false;
    return doc;
}

std::optional<std::string> IniDocument::get(std::string_view section, std::string_view key) const {
    bool inSection = false;
    for (const std::string& line : lines_) {
        if (auto name = SectionName(line)) {
            if (inSection) return std::nullopt;  // the first section of that name decides
            inSection = EqualNoCase(*name, section);
            continue;
        }
        if (!inSection) continue;
        auto k = KeyOf(line);
        if (!k || !EqualNoCase(*k, key)) continue;
        std::string_view v = Trim(std::string_view(line).substr(line.find('=') + 1));
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
            v = v.substr(1, v.size() - 2);
        return std::string(v);
    }
    return std::nullopt;
}

void IniDocument::put(std::string_view section, std::string_view key, std::string_view value) {
    std::string newLine = std::string(key) + "=" + std::string(value);
    std::size_t i = 0;
    for (; i < lines_.size(); ++i) {
        auto name = SectionName(lines_[i]);
        if (name && EqualNoCase(*name, section)) break;
    }
    if (i == lines_.size()) {
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(newLine);
        return;
    }
    std::size_t lastContent = i;
    for (std::size_t j = i + 1; j < lines_.size(); ++j) {
        if (SectionName(lines_[j])) break;
        auto k = KeyOf(lines_[j]);
        if (k && EqualNoCase(*k, key)) {
            lines_[j] = newLine;
            return;
        }
        if (!Trim(lines_[j]).empty()) lastContent = j;
    }
    lines_.insert(lines_.begin() + static_cast<long>(lastContent) + 1, newLine);
}

std::string IniDocument::text() const {
    std::string out;
    for (const std::string& line : lines_) {
        out += line;
        out += "\r\n";
    }
    return out;
}

std::string ProfileValue(const IniDocument& doc, std::string_view section, std::string_view key) {
    std::string v = doc.get(section, key).value_or("");
    std::size_t nul = v.find('\0');
    if (nul != std::string::npos) v.resize(nul);
    if (v.size() > kProfileValueMax) v.resize(kProfileValueMax);
    return v;
}

std::string IniGet(const std::string& path, std::string_view section, std::string_view key) {
    try {
        return ProfileValue(IniDocument::Load(path), section, key);
    } catch (const RunError&) {
        return "";
    }
}

bool IniPut(const std::string& path, std::string_view section, std::string_view key,
            std::string_view value) {
    try {
        IniDocument doc = IniDocument::Load(path);
        if (!doc.whole()) return false;
        doc.put(section, key, value);
        ReplaceFile(path, doc.text());
        return true;
    } catch (const RunError&) {
        return false;
    }
}

}  // namespace zb
