#pragma once
#include <QString>
#include <QStringList>

#include "settings/Language.h"

namespace slatewick {

// Popup-menu items of the main window, in their order in the menu.
enum class MenuItem {
  ClearAll,
  WriteDate,
  Separator1,
  Load,
  Store,
  Export,
  Replay,
  Video,
  Separator2,
  Settings,
  About,
  Quit
};
constexpr int MenuItemCount = 12;

// The main window's texts, looked up in the language file once at start-up.
struct MainWindowTexts {
  QString caption;           // the application title and the window's caption
  QStringList menuCaptions;  // indexed by MenuItem; separators are "-"
  QString clearQuestion;     // asked before the board is cleared
  QString exportFilter;      // of the export's save dialog (ExportFilter)
};

MainWindowTexts ReadMainWindowTexts(const LanguageFile& language);

}  // namespace slatewick
