#include "platform/widgets/Application.h"

#include "platform/AppError.h"
#include "platform/MessageBoxes.h"

namespace slatewick {

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const AppError& error) {
    ShowErrorBox(error.Message());
  } catch (const std::exception& error) {
    ShowErrorBox(QString::fromLocal8Bit(error.what()));
  }
  return false;
}

}  // namespace slatewick
