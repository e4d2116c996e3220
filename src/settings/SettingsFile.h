#pragma once
#include <QString>

#include "settings/Settings.h"

namespace slatewick {

// VezozazOption.ini: beside the executable, or in the user's config folder when installed
// (Places).
QString SettingsFilePath();
// Reads the seven keys of section Opt; a missing file, section or key keeps the default.
Settings ReadSettings();
// Writes all seven keys in order, then copies them into memory. On the first key that cannot
// be written it shows the write error, stops and leaves memory as it was; returns false.
bool WriteSettings(const Settings& values, Settings& memory);

}  // namespace slatewick
