#include "platform/FormModel.h"

namespace slatewick {

DialogResult ModalForm::ShowModal() {
  Result = DialogResult::None;
  OnShow();
  if (RunModal) RunModal();
  if (Result == DialogResult::None) Result = DialogResult::Cancel;
  return Result;
}

}  // namespace slatewick
