#pragma once

namespace slatewick {

// The seven on/off options, named after their keys in section Opt of the settings file.
struct Settings {
  bool Yogore = true;         // wiping leaves a faint smudge
  bool KyoriSeigen = true;    // distance limit of the normal chalk
  bool RunWithDay = true;     // write the date at start-up
  bool NewWithDay = false;    // write the date after clearing
  bool ShowKona = true;       // chalk dust falls from strokes
  bool KadoOnlyCtrl = false;  // only Ctrl selects the chalk's corner
  bool ShowDebug = false;     // debug overlay
  bool operator==(const Settings&) const = default;
};

}  // namespace slatewick
