#pragma once
// The user's options and window positions in "Zubrica98.ini" beside the program.

#include <string>

#include "startup/app_state.h"
#include "startup/ini.h"

namespace zb {

std::string SettingsPath(const AppState& s);
// Fills every field of the settings. A value that is not a whole number
// within its key's range (colours 0 to 16777215) gives the key's default;
// one message through Messages names every such key.
void LoadSettings(AppState& s);
// The same from the file's bytes, or from the file already parsed.
void ParseSettings(AppState& s, std::string_view bytes);
void ApplySettings(AppState& s, const IniDocument& doc);
// Writes every key in one atomic replacement of the file; a failed write is
// ignored and leaves the old file. Writes nothing in read-only mode.
void SaveSettings(AppState& s);

}  // namespace zb
