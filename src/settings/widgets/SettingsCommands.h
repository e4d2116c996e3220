#pragma once
#include <QImage>
#include <functional>

#include "settings/Settings.h"

class QWidget;

namespace slatewick {

// Creates the settings dialog as a child of window (it lives as long as the window), showing and
// changing settings with chalkSamples as its picture, and applies its texts once. Returns the
// popup menu's settings command, which shows the dialog modally. Call after the main window's
// start-up, before the message loop.
std::function<void()> SettingsCommand(QWidget& window, Settings& settings,
                                      const QImage& chalkSamples);
// The popup menu's version command: shows the version box.
std::function<void()> AboutCommand();

}  // namespace slatewick
