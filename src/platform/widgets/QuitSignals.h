#pragma once
#include <functional>

namespace slatewick {

// SIGTERM, SIGINT and SIGHUP end the program as its quit command does, from any state: in
// whichever loop runs at that moment, the open popup menus and modal dialogs are closed as by
// Escape, then `quit` runs on the user-interface thread. The handlers only wake that thread.
void QuitOnSignals(std::function<void()> quit);

// Closes every open popup menu and modal dialog, innermost first, as Escape would.
void CloseMenusAndDialogs();

}  // namespace slatewick
