#pragma once
#include <QApplication>

// The application object: a failure that escapes an event handler is shown in the standard
// error box, and the program goes on.
class Application : public QApplication {
 public:
  Application(int& argc, char** argv) : QApplication(argc, argv) {}
  bool notify(QObject* receiver, QEvent* event) override;
};
