// The application's settings store: the keys Quillex declares, with their defaults and
// in their order, over quillex.ini. Creating it reads nothing; the owner calls Load.
#pragma once

#include <string>

#include "platform/UMessages.h"
#include "settings/UToxRegVal.h"

namespace qx {

// The store over SettingsDir() + "quillex.ini".
ToxRegVal CreateAppSettings(TMessageHost& messages);

// The store over `settingsDir` + "quillex.ini" (a trailing '/' is optional).
ToxRegVal CreateAppSettings(TMessageHost& messages, const std::string& settingsDir);

}  // namespace qx
