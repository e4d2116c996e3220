#include "files/widgets/Install.h"

#include "board/widgets/MainWindow.h"
#include "files/Export.h"
#include "files/widgets/FilesDialog.h"
#include "files/widgets/HowToExportDialog.h"
#include "files/widgets/SaveDialog.h"

namespace slatewick {

void InstallFilesDialog(MainWindow& window) {
  TfrmMain& board = window.Board();
  auto* frmFiles = new FilesDialog(board, &window);
  board.onLoad = [frmFiles] { mnuLoadClick(frmFiles->Form()); };
  board.onSave = [frmFiles] { mnuSaveClick(frmFiles->Form()); };
}

void InstallExport(MainWindow& window) {
  TfrmMain& board = window.Board();
  auto* frmHowToExport = new HowToExportDialog(&window);
  auto* dlgSave = new SaveDialog(&window);
  board.onToBMP = [&board, frmHowToExport, dlgSave] {
    dlgSave->Dialog().Filter = board.dlgSaveFilter;
    mnuToBMPClick(board, dlgSave->Dialog(), frmHowToExport->Form());
  };
  board.onScreenShot = [&board] { actScreenShotExecute(board); };
}

}  // namespace slatewick
