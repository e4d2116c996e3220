#pragma once
#include <QString>
#include <QStringList>
#include <functional>

namespace slatewick {

// The state of a dialog's controls, kept by the dialog's logic so that it runs without a window;
// the dialog window mirrors these fields to its real controls and calls the handlers.

enum class DialogResult { None, OK, Cancel };

struct Label {
  QString Caption;
};
struct Button {
  QString Caption;
};
struct TextEdit {
  QString Text;
};
struct ListBox {
  QStringList Items;
  int ItemIndex = -1;  // the selected entry, -1 for none
};
struct CheckBox {
  QString Caption;
  bool Checked = false;
};
struct RadioButton {
  QString Caption;
  bool Checked = false;
};

// A dialog shown modally: ShowModal prepares it (OnShow), runs RunModal until a handler sets
// Result or the user closes the window, and returns the result (Cancel when closed).
// The window sets RunModal to its own modal loop; tests set it to a script of user actions.
class ModalForm {
 public:
  virtual ~ModalForm() = default;

  QString Caption;
  DialogResult Result = DialogResult::None;
  std::function<void()> RunModal;

  DialogResult ShowModal();

 protected:
  virtual void OnShow() {}
};

}  // namespace slatewick
