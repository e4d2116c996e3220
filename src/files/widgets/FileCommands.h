#pragma once

namespace slatewick {

class MainWindow;

// The board-file chooser and the export's dialogs, created once as children of the main window
// (so they live until it closes) with their texts applied. Call after MainWindow::Create().
// InstallBoardFileCommands wires the popup menu's load and store items (Commands().load, store).
void InstallBoardFileCommands(MainWindow& window);
// InstallExportCommands wires the export item (Commands().exportPicture) and F12
// (Commands().screenShot).
void InstallExportCommands(MainWindow& window);

}  // namespace slatewick
