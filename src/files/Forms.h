#pragma once
#include <QString>
#include <QStringList>
#include <functional>

namespace slatewick {

// The state of a dialog's controls, kept by the dialog's logic so that it runs without a window;
// the dialog window mirrors these fields to its real controls and calls the handlers.

enum class TModalResult { None, OK, Cancel };

struct TLabel {
  QString Caption;
};
struct TButton {
  QString Caption;
};
struct TEdit {
  QString Text;
};
struct TListBox {
  QStringList Items;
  int ItemIndex = -1;  // the selected entry, -1 for none
};
struct TRadioButton {
  QString Caption;
  bool Checked = false;
};

// A dialog shown modally: ShowModal prepares it (FormShow), runs RunModal until a handler sets
// ModalResult or the user closes the window, and returns the result (Cancel when closed).
// The window sets RunModal to its own modal loop; tests set it to a script of user actions.
class TModalForm {
 public:
  virtual ~TModalForm() = default;

  QString Caption;
  TModalResult ModalResult = TModalResult::None;
  std::function<void()> RunModal;

  TModalResult ShowModal();

 protected:
  virtual void FormShow() {}
};

}  // namespace slatewick
