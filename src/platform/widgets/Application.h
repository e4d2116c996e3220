#pragma once
#include <QApplication>

namespace slatewick {

// The application object: a failure that escapes an event handler is shown in the standard
// error box, and the program goes on.
class Application : public QApplication {
 public:
  Application(int& argc, char** argv) : QApplication(argc, argv) {}
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace slatewick
