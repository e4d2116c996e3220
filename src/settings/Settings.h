#pragma once

namespace slatewick {

// The seven on/off options; the settings file stores them under the keys that SettingsFile.cpp
// names (section Opt).
struct Settings {
  bool LeaveSmudge = true;          // wiping leaves a faint smudge
  bool LimitStrokeLength = true;    // distance limit of the normal chalk
  bool DateAtStart = true;          // write the date at start-up
  bool DateAfterClear = false;      // write the date after clearing
  bool ShowDust = true;             // chalk dust falls from strokes
  bool CornerOnlyWithCtrl = false;  // only Ctrl selects the chalk's corner
  bool ShowDebug = false;           // debug overlay
  bool operator==(const Settings&) const = default;
};

}  // namespace slatewick
