#include "settings/widgets/Install.h"

#include "settings/VersionBox.h"
#include "settings/widgets/OptionDialog.h"

namespace slatewick {

std::function<void()> InstallOptionDialog(QWidget& window, Settings& settings,
                                          const QImage& chalkSamples) {
  auto* frmOption = new OptionDialog(settings, chalkSamples, &window);
  frmOption->FormCreate();
  // mnuOptionClick: the dialog, modally; its result is of no further use.
  return [frmOption] { frmOption->ShowModal(); };
}

std::function<void()> InstallAboutBox() {
  return [] { ShowVersionBox(); };
}

}  // namespace slatewick
