#include "files/widgets/HowToExportDialog.h"

#include <QPushButton>
#include <QRadioButton>

namespace slatewick {

HowToExportDialog::HowToExportDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      rbOnlypic_(new QRadioButton(this)),
      rbWithall_(new QRadioButton(this)),
      btnOK_(new QPushButton(this)),
      btnCancel_(new QPushButton(this)) {
  setFixedSize(ClientWidth, ClientHeight);
  rbOnlypic_->setGeometry(8, 8, 305, 17);
  rbWithall_->setGeometry(8, 32, 305, 17);
  btnOK_->setGeometry(152, 56, 75, 25);
  btnCancel_->setGeometry(232, 56, 75, 25);
  btnOK_->setDefault(true);

  // The choice stays in the form even when the dialog is cancelled, as it stays in the window.
  connect(rbOnlypic_, &QRadioButton::toggled, this,
          [this](bool on) { form_.rbOnlypic.Checked = on; });
  connect(rbWithall_, &QRadioButton::toggled, this,
          [this](bool on) { form_.rbWithall.Checked = on; });
  connect(btnOK_, &QPushButton::clicked, this, [this] {
    form_.btnOKClick();
    done(Accepted);
  });
  connect(btnCancel_, &QPushButton::clicked, this, &HowToExportDialog::reject);

  form_.RunModal = [this] {
    ShowFields();
    btnOK_->setFocus();
    exec();
  };
  form_.FormCreate();
  ShowFields();
}

void HowToExportDialog::ShowFields() {
  setWindowTitle(form_.Caption);
  rbOnlypic_->setText(form_.rbOnlypic.Caption);
  rbWithall_->setText(form_.rbWithall.Caption);
  btnOK_->setText(form_.btnOK.Caption);
  btnCancel_->setText(form_.btnCancel.Caption);
  if (form_.rbOnlypic.Checked) rbOnlypic_->setChecked(true);
  if (form_.rbWithall.Checked) rbWithall_->setChecked(true);
}

void HowToExportDialog::reject() {
  if (form_.ModalResult == TModalResult::None) form_.btnCancelClick();
  QDialog::reject();
}

}  // namespace slatewick
