#include "platform/widgets/QtMessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/MessageBoxes.h"

namespace slatewick {

namespace {

QMessageBox::Icon ToQt(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::Information:
      return QMessageBox::Information;
    case BoxIcon::Question:
      return QMessageBox::Question;
    case BoxIcon::Warning:
      return QMessageBox::Warning;
    case BoxIcon::Stop:
      return QMessageBox::Critical;
    case BoxIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

BoxAnswer Show(const MessageBoxRequest& request) {
  QMessageBox box(ToQt(request.Icon), request.Caption, request.Text, QMessageBox::NoButton,
                  QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  if (request.YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
  } else if (request.OkCancel) {
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Cancel);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  switch (box.exec()) {
    case QMessageBox::Yes:
      return BoxAnswer::Yes;
    case QMessageBox::No:
      return BoxAnswer::No;
    case QMessageBox::Cancel:
      return BoxAnswer::Cancel;
    case QMessageBox::Ok:
      return BoxAnswer::Ok;
    default:
      return BoxAnswer::Closed;
  }
}

}  // namespace

void InstallQtMessageBoxes() {
  SetMessageBoxHandler(Show);
}

}  // namespace slatewick
