#include "files/Forms.h"

namespace slatewick {

TModalResult TModalForm::ShowModal() {
  ModalResult = TModalResult::None;
  FormShow();
  if (RunModal) RunModal();
  if (ModalResult == TModalResult::None) ModalResult = TModalResult::Cancel;
  return ModalResult;
}

}  // namespace slatewick
