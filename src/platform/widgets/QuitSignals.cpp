#include "platform/widgets/QuitSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>

namespace slatewick {

namespace {

std::array<int, 2> wakePipe = {-1, -1};  // the handlers write, the user-interface thread reads

extern "C" void WakeOnSignal(int signal) {
  const int saved = errno;
  const char byte = char(signal);
  [[maybe_unused]] const ssize_t written = write(wakePipe[1], &byte, 1);
  errno = saved;
}

// Reads the wake-ups on the user-interface thread and quits.
class SignalListener : public QObject {
 public:
  explicit SignalListener(QObject* parent)
      : QObject(parent), notifier_(wakePipe[0], QSocketNotifier::Read, this) {
    connect(&notifier_, &QSocketNotifier::activated, this, [this] { Wake(); });
  }
  std::function<void()> quit;

 private:
  void Wake() {
    char bytes[16];
    while (read(wakePipe[0], bytes, sizeof bytes) > 0) {
    }
    CloseMenusAndDialogs();
    if (quit) quit();
  }
  QSocketNotifier notifier_;
};

}  // namespace

void QuitOnSignals(std::function<void()> quit) {
  static SignalListener* listener = nullptr;
  if (!listener) {
    if (pipe2(wakePipe.data(), O_CLOEXEC | O_NONBLOCK) != 0) return;
    listener = new SignalListener(QCoreApplication::instance());
    struct sigaction action {};
    action.sa_handler = WakeOnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
  }
  listener->quit = std::move(quit);
}

void CloseMenusAndDialogs() {
  while (QWidget* popup = QApplication::activePopupWidget()) {
    popup->close();
    if (QApplication::activePopupWidget() == popup) break;
  }
  while (QWidget* modal = QApplication::activeModalWidget()) {
    if (auto* dialog = qobject_cast<QDialog*>(modal))
      dialog->reject();
    else
      modal->close();
    if (QApplication::activeModalWidget() == modal) break;
  }
}

}  // namespace slatewick
