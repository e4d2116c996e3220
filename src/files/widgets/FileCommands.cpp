#include "files/widgets/FileCommands.h"

#include "board/widgets/MainWindow.h"
#include "files/Export.h"
#include "files/widgets/BoardChooserDialog.h"
#include "files/widgets/ExportKindDialog.h"
#include "files/widgets/SaveDialog.h"

namespace slatewick {

void InstallBoardFileCommands(MainWindow& window) {
  Board& board = window.Core();
  auto* chooser = new BoardChooserDialog(board, &window);
  board.Commands().load = [chooser] { ShowLoadChooser(chooser->Form()); };
  board.Commands().store = [chooser] { ShowStoreChooser(chooser->Form()); };
}

void InstallExportCommands(MainWindow& window) {
  Board& board = window.Core();
  auto* exportKind = new ExportKindDialog(&window);
  auto* saveFile = new SaveDialog(&window);
  board.Commands().exportPicture = [&board, exportKind, saveFile] {
    saveFile->Dialog().Filter = board.ExportFilter();
    ExportPicture(board, saveFile->Dialog(), exportKind->Form());
  };
  board.Commands().screenShot = [&board] { TakeScreenShot(board); };
}

}  // namespace slatewick
