#include "board/widgets/MainWindow.h"
#include "files/widgets/Install.h"
#include "platform/MessageBoxes.h"
#include "platform/widgets/Application.h"
#include "platform/widgets/QtMessageBoxes.h"
#include "settings/widgets/Install.h"

// The main block: the application object, the main window (whose start-up runs as it is
// created), then the three dialogs in their order, then the message loop until the main
// window closes.
int main(int argc, char** argv) {
  Application app(argc, argv);
  QGuiApplication::setDesktopFileName(QStringLiteral(SLATEWICK_APP_ID));
  SetApplicationTitle(QStringLiteral("Slatewick"));
  InstallQtMessageBoxes();

  MainWindow frmMain;
  frmMain.Create();
  InstallFilesDialog(frmMain);
  InstallOptionDialog(frmMain);
  InstallExport(frmMain);
  InstallAboutBox(frmMain);
  frmMain.show();
  return app.exec();
}
