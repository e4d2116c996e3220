#pragma once
#include <QObject>

class QWidget;

namespace slatewick {

// Under Wayland the pointer has one cursor for all the program's windows, and Qt tells it a
// window's cursor only when that cursor changes: back from a dialog or a menu the pointer would
// keep their arrow over a widget whose cursor is blank. This tells the blank cursor again when
// the pointer enters the widget, and at the first move over it after the pointer left it or
// another window took the focus. Owned by the widget.
class BlankCursorKeeper : public QObject {
 public:
  // Keeps `widget`'s blank cursor shown under Wayland; does nothing on other platforms.
  static void Install(QWidget* widget);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  explicit BlankCursorKeeper(QWidget* widget);
  void TellBlank();

  QWidget* widget_;
  bool stale_ = true;  // the pointer may show another window's cursor
};

}  // namespace slatewick
