#include "board/widgets/MainWindow.h"
#include "platform/MessageBoxes.h"
#include "platform/widgets/Application.h"
#include "platform/widgets/QtMessageBoxes.h"

// The main block: the application object, the main window (whose start-up runs as it is
// created), the dialogs, then the message loop until the main window closes.
int main(int argc, char** argv) {
  Application app(argc, argv);
  SetApplicationTitle(QStringLiteral("Slatewick"));
  InstallQtMessageBoxes();

  MainWindow frmMain;
  frmMain.Create();
  frmMain.show();
  return app.exec();
}
