#pragma once
// Private-profile INI files: "[section]" lines and "key=value" lines, section
// and key names without regard to case. Lines the program does not know, keys
// added by hand included, are kept as they are.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zb {

// A settings file is read up to this many bytes (the old 64 KB limit of the
// profile functions); a longer one is read up to its last whole line within
// the bound and never written, so nothing beyond it is lost.
constexpr std::size_t kIniMaxBytes = 64 * 1024;

class IniDocument {
  public:
    // An absent file is an empty document; one that exists but cannot be read
    // is failure 75, so that nobody writes over what could not be read.
    static IniDocument Load(const std::string& path);
    static IniDocument Parse(std::string_view content);
    // A file's bytes as Load takes them: beyond the bound, whole lines only.
    static IniDocument OfFile(std::string_view data);

    // The value under section/key, blanks around it and one pair of enclosing
    // quotes removed; nullopt when the section or key is missing.
    std::optional<std::string> get(std::string_view section, std::string_view key) const;
    // Replaces the key's line, or adds it at the end of its section, or adds
    // the section at the end of the document.
    void put(std::string_view section, std::string_view key, std::string_view value);
    // Lines joined with CR LF.
    std::string text() const;
    // False when the file was longer than kIniMaxBytes: writing text() back
    // would cut it.
    bool whole() const { return whole_; }

  private:
    std::vector<std::string> lines_;
    bool whole_ = true;
};

// The value under section/key as the profile functions give it: "" when
// missing, cut to 254 characters.
std::string ProfileValue(const IniDocument& doc, std::string_view section, std::string_view key);

// The value stored under the key, or "" when the file, section or key is
// missing; cut to 254 characters as the profile buffer of 255 cuts it.
std::string IniGet(const std::string& path, std::string_view section, std::string_view key);
// Stores the value, creating file, section and key as needed. The file is
// replaced atomically; false when it could not be written.
bool IniPut(const std::string& path, std::string_view section, std::string_view key,
            std::string_view value);

}  // namespace zb
