#pragma once
// The application state as one JSON object, members under their state names.
// This is the report command's scripting interface: keep its output stable.

#include <string>

#include "startup/app_state.h"

namespace zb {

std::string StateJson(const AppState& s);

}  // namespace zb
