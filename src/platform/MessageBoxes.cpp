#include "platform/MessageBoxes.h"

namespace slatewick {

namespace {
MessageBoxHandler& Handler() {
  static MessageBoxHandler handler;
  return handler;
}
QString& Title() {
  static QString title = QStringLiteral("Slatewick");
  return title;
}
}  // namespace

BoxAnswer ShowMessageBox(const MessageBoxRequest& request) {
  if (Handler()) return Handler()(request);
  return request.YesNo ? BoxAnswer::No : BoxAnswer::Ok;
}

void SetMessageBoxHandler(MessageBoxHandler handler) {
  Handler() = std::move(handler);
}

void ShowMessage(const QString& text) {
  ShowMessageBox({text, ApplicationTitle()});
}

void ShowErrorBox(const QString& text) {
  ShowMessageBox({text, ApplicationTitle(), BoxIcon::Stop});
}

const QString& ApplicationTitle() {
  return Title();
}
void SetApplicationTitle(const QString& title) {
  Title() = title;
}

}  // namespace slatewick
