#pragma once

namespace slatewick {

class MainWindow;

// The popup menu's video command (Commands().video): asks for a WebM file, then writes the
// board's story as a video on a thread of its own while a progress dialog shows how far it is; its
// Cancel stops the export and leaves no file. A failure shows the error box. Call after
// MainWindow::Create().
void InstallVideoCommand(MainWindow& window);

}  // namespace slatewick
