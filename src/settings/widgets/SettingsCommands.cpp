#include "settings/widgets/SettingsCommands.h"

#include "settings/VersionBox.h"
#include "settings/widgets/SettingsDialog.h"

namespace slatewick {

std::function<void()> SettingsCommand(QWidget& window, Settings& settings,
                                      const QImage& chalkSamples) {
  auto* settingsDialog = new SettingsDialog(settings, chalkSamples, &window);
  settingsDialog->ApplyTexts();
  // The menu's settings command: the dialog, modally; its result is of no further use.
  return [settingsDialog] { settingsDialog->ShowModal(); };
}

std::function<void()> AboutCommand() {
  return [] { ShowVersionBox(); };
}

}  // namespace slatewick
