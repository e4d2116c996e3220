#include "files/widgets/ExportKindDialog.h"

#include <QPushButton>
#include <QRadioButton>

namespace slatewick {

ExportKindDialog::ExportKindDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      boardOnlyButton_(new QRadioButton(this)),
      wholeWindowButton_(new QRadioButton(this)),
      okButton_(new QPushButton(this)),
      cancelButton_(new QPushButton(this)) {
  setFixedSize(ClientWidth, ClientHeight);
  boardOnlyButton_->setGeometry(8, 8, 305, 17);
  wholeWindowButton_->setGeometry(8, 32, 305, 17);
  okButton_->setGeometry(152, 56, 75, 25);
  cancelButton_->setGeometry(232, 56, 75, 25);
  okButton_->setDefault(true);

  // The choice stays in the form even when the dialog is cancelled, as it stays in the window.
  connect(boardOnlyButton_, &QRadioButton::toggled, this,
          [this](bool on) { form_.BoardOnlyButton.Checked = on; });
  connect(wholeWindowButton_, &QRadioButton::toggled, this,
          [this](bool on) { form_.WholeWindowButton.Checked = on; });
  connect(okButton_, &QPushButton::clicked, this, [this] {
    form_.Accept();
    done(Accepted);
  });
  connect(cancelButton_, &QPushButton::clicked, this, &ExportKindDialog::reject);

  form_.RunModal = [this] {
    ShowFields();
    okButton_->setFocus();
    exec();
  };
  form_.ApplyTexts();
  ShowFields();
}

void ExportKindDialog::ShowFields() {
  setWindowTitle(form_.Caption);
  boardOnlyButton_->setText(form_.BoardOnlyButton.Caption);
  wholeWindowButton_->setText(form_.WholeWindowButton.Caption);
  okButton_->setText(form_.OkButton.Caption);
  cancelButton_->setText(form_.CancelButton.Caption);
  if (form_.BoardOnlyButton.Checked) boardOnlyButton_->setChecked(true);
  if (form_.WholeWindowButton.Checked) wholeWindowButton_->setChecked(true);
}

void ExportKindDialog::reject() {
  if (form_.Result == DialogResult::None) form_.Cancel();
  QDialog::reject();
}

}  // namespace slatewick
