#include "startup/settings.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/file_lookup.h"
#include "platform/replace_file.h"
#include "platform/sjis.h"
#include "startup/ini.h"
#include "startup/messages.h"

namespace zb {

namespace {

constexpr const char* kOption = "OPTION";
constexpr const char* kWindow = "WINDOW";
constexpr long long kWhite = 16777215;

std::string Key(const char* stem, int i) {
    return stem + std::to_string(i);
}

// The whole value as a number, blanks around it allowed; nothing when it is
// some other text or beyond 32 bits.
std::optional<int32_t> WholeNumber(const std::string& v) {
    try {
        return StrictI32(Ascii(v));
    } catch (const RunError&) {
        return std::nullopt;
    }
}

// Reads keys as numbers within their range. A value that is not one gives
// the key's default and is noted, so that one message can name them all.
struct KeyReader {
    const IniDocument& doc;
    std::vector<std::string> bad;

    long long number(const char* section, const std::string& key, long long fallback, long long lo,
                     long long hi) {
        const std::string v = ProfileValue(doc, section, key);
        if (v.empty()) return fallback;
        const std::optional<int32_t> n = WholeNumber(v);
        if (n && *n >= lo && *n <= hi) return *n;
        bad.push_back(key + "=" + U16ToUtf8(DecodeSjis(v)));
        return fallback;
    }
    int16_t small(const char* section, const std::string& key) {
        return static_cast<int16_t>(number(section, key, 0, INT16_MIN, INT16_MAX));
    }
    int32_t colour(const std::string& key, long long fallback) {
        return static_cast<int32_t>(number(kOption, key, fallback, 0, kWhite));
    }
    int32_t position(const std::string& key) {
        return static_cast<int32_t>(number(kWindow, key, 0, INT32_MIN, INT32_MAX));
    }
};

}  // namespace

std::string SettingsPath(const AppState& s) {
    return JoinPath(s.AppFolder, "Zubrica98.ini");
}

void LoadSettings(AppState& s) {
    IniDocument doc;
    try {
        doc = IniDocument::Load(SettingsPath(s));
    } catch (const RunError&) {
        // An unreadable file gives the defaults, like a missing one.
    }
    ApplySettings(s, doc);
}

void ParseSettings(AppState& s, std::string_view bytes) {
    ApplySettings(s, IniDocument::OfFile(bytes));
}

void ApplySettings(AppState& s, const IniDocument& doc) {
    KeyReader keys{doc, {}};
    Settings& st = s.settings;

    st.BackClor = keys.colour("BackClor", kWhite);
    // Not read: no command changes them, so the file's values would only mislead.
    st.Border = 1;
    st.Border3D = 0;
    st.Bold = 1;
    st.Pos = keys.small(kOption, "Pos");
    st.Bar = keys.number(kOption, "Bar", 1, INT32_MIN, INT32_MAX) != 0;
    st.AutoRefresh = keys.number(kOption, "AutoRefresh", 0, 0, 1) != 0;
    st.HitNotice = keys.number(kOption, "HitNotice", 0, 0, 1) != 0;
    for (int i = 0; i <= 16; ++i) st.ForeClor(i) = keys.colour(Key("ForeClor", i), 0);
    for (int i = 0; i < kWindowSlots; ++i) {
        st.Top(i) = keys.position(Key("Top", i));
        st.Left(i) = keys.position(Key("Left", i));
    }
    st.Debug = keys.small(kOption, "Debug");

    // Once per start: the save at close writes sane values in their place.
    if (keys.bad.empty() || !s.Messages) return;
    std::string text = "設定ファイルの次の値は使えないため、初期値にしました。\n" + SettingsPath(s);
    for (const std::string& k : keys.bad) text += "\n" + k;
    s.Messages->critical(kProductName, text);
}

void SaveSettings(AppState& s) {
    if (s.ReadOnly) return;
    const Settings& st = s.settings;
    const std::string path = SettingsPath(s);
    try {
        IniDocument doc = IniDocument::Load(path);
        if (!doc.whole()) return;
        auto put = [&](const char* section, const std::string& key, long long n) {
            doc.put(section, key, std::to_string(n));
        };
        // "Debug" is the user's own key and stays as written, unless it is
        // a value that would be reported again at every start.
        KeyReader debug{doc, {}};
        debug.small(kOption, "Debug");
        if (!debug.bad.empty()) put(kOption, "Debug", 0);
        put(kOption, "BackClor", st.BackClor);
        put(kOption, "Border", st.Border);
        put(kOption, "3D", st.Border3D);
        put(kOption, "Bold", st.Bold);
        put(kOption, "Pos", st.Pos);
        put(kOption, "Bar", st.Bar ? 1 : 0);
        // Written once the option has been used: a file without it stays as before.
        if (st.AutoRefresh || doc.get(kOption, "AutoRefresh"))
            put(kOption, "AutoRefresh", st.AutoRefresh);
        if (st.HitNotice || doc.get(kOption, "HitNotice")) put(kOption, "HitNotice", st.HitNotice);
        for (int i = 0; i <= 16; ++i) put(kOption, Key("ForeClor", i), st.ForeClor(i));
        for (int i = 0; i < kWindowSlots; ++i) {
            put(kWindow, Key("Top", i), st.Top(i));
            put(kWindow, Key("Left", i), st.Left(i));
        }
        ReplaceFile(path, doc.text(), OldFile::kKeepDaysFirst);
    } catch (const RunError&) {
        // A read-only file or folder: the next start uses the old values.
    }
}

}  // namespace zb
