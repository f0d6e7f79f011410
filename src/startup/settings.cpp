#include "startup/settings.h"

#include "platform/replace_file.h"
#include "readers/pat98_file.h"
#include "startup/ini.h"

namespace zb {

namespace {

constexpr const char* kOption = "OPTION";
constexpr const char* kWindow = "WINDOW";

std::string Key(const char* stem, int i) {
    return stem + std::to_string(i);
}

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
    auto value = [&](const char* section, const std::string& key) {
        return ProfileValue(doc, section, key);
    };
    Settings& st = s.settings;

    std::string v = value(kOption, "BackClor");
    st.BackClor = v.empty() ? 16777215 : LenientI32(v);
    // Not read: no command changes them, so the file's values would only mislead.
    st.Border = 1;
    st.Border3D = 0;
    st.Bold = 1;
    v = value(kOption, "Pos");
    st.Pos = v.empty() ? int16_t{0} : LenientI16(v);
    v = value(kOption, "Bar");
    st.Bar = v.empty() ? true : LenientI32(v) != 0;
    for (int i = 0; i <= 16; ++i) {
        v = value(kOption, Key("ForeClor", i));
        st.ForeClor(i) = v.empty() ? 0 : LenientI32(v);
    }
    for (int i = 0; i < kWindowSlots; ++i) {
        v = value(kWindow, Key("Top", i));
        st.Top(i) = v.empty() ? 0 : LenientI32(v);
        v = value(kWindow, Key("Left", i));
        st.Left(i) = v.empty() ? 0 : LenientI32(v);
    }
    v = value(kOption, "Debug");
    st.Debug = v.empty() ? int16_t{0} : LenientI16(v);
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
        put(kOption, "BackClor", st.BackClor);
        put(kOption, "Border", st.Border);
        put(kOption, "3D", st.Border3D);
        put(kOption, "Bold", st.Bold);
        put(kOption, "Pos", st.Pos);
        put(kOption, "Bar", st.Bar ? 1 : 0);
        for (int i = 0; i <= 16; ++i) put(kOption, Key("ForeClor", i), st.ForeClor(i));
        for (int i = 0; i < kWindowSlots; ++i) {
            put(kWindow, Key("Top", i), st.Top(i));
            put(kWindow, Key("Left", i), st.Left(i));
        }
        ReplaceFile(path, doc.text());
    } catch (const RunError&) {
        // A read-only file or folder: the next start uses the old values.
    }
}

}  // namespace zb
