#include "settings/widgets/Install.h"

#include "board/widgets/MainWindow.h"
#include "settings/VersionBox.h"
#include "settings/widgets/OptionDialog.h"

void InstallOptionDialog(MainWindow& window) {
  auto* frmOption = new OptionDialog(window.Board().st, &window);
  frmOption->FormCreate();
  // mnuOptionClick: the dialog, modally; its result is of no further use.
  window.Board().onOption = [frmOption] { frmOption->ShowModal(); };
}

void InstallAboutBox(MainWindow& window) {
  window.Board().onAbout = [] { ShowVersionBox(); };
}
