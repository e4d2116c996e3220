#include "settings/widgets/SettingsDialog.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <algorithm>

namespace slatewick {

namespace {

constexpr int ClientWidth = 301, ClientHeight = 332;  // pixels

QFont DialogFont() {
  QFont font;
  font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                    QStringLiteral("Noto Sans CJK JP")});
  font.setPixelSize(12);
  return font;
}

// Narrows the font of a caption that does not fit its control (the Japanese fonts at hand
// are wider than the dialog's own proportional one).
void FitCaption(QWidget& control, const QString& text, int available) {
  QFont font = control.parentWidget()->font();
  const int needed = QFontMetrics(font).horizontalAdvance(text);
  if (needed > available && available > 0) font.setStretch(std::max(50, 100 * available / needed));
  control.setFont(font);
}

}  // namespace

SettingsDialog::SettingsDialog(Settings& settings, const QImage& chalkSamples, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      form_(settings, chalkSamples) {
  setFont(DialogFont());
  setFixedSize(ClientWidth, ClientHeight);

  // Created in tab order: the boxes, then OK and Cancel.
  const auto boxes = form_.CheckBoxes();
  for (std::size_t i = 0; i < checks_.size(); ++i) {
    QCheckBox* check = new QCheckBox(this);
    check->setGeometry(16, 16 + 24 * int(i), 281, 17);
    CheckBox* state = boxes[i];
    connect(check, &QCheckBox::toggled, this, [state](bool on) { state->Checked = on; });
    checks_[i] = check;
  }

  panel_ = new QFrame(this);
  panel_->setFrameStyle(QFrame::Box | QFrame::Plain);
  panel_->setLineWidth(1);
  panel_->setGeometry(16, 184, 271, 77);
  picture_ = new QLabel(panel_);
  picture_->setGeometry(2, 2, form_.ChalkSamples.width(), form_.ChalkSamples.height());
  picture_->setPixmap(QPixmap::fromImage(form_.ChalkSamples));

  constexpr std::array<int, 3> labelLeft = {16, 120, 216};
  for (std::size_t i = 0; i < labels_.size(); ++i) {
    labels_[i] = new QLabel(this);
    labels_[i]->move(labelLeft[i], 272);
  }

  okButton_ = new QPushButton(this);
  okButton_->setGeometry(112, 296, 81, 25);
  okButton_->setDefault(true);
  connect(okButton_, &QPushButton::clicked, this, [this] { Accept(); });
  cancelButton_ = new QPushButton(this);
  cancelButton_->setGeometry(208, 296, 75, 25);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

void SettingsDialog::ApplyTexts() {
  form_.ApplyTexts();
  setWindowTitle(form_.Caption);
  const auto boxes = form_.CheckBoxes();
  for (std::size_t i = 0; i < checks_.size(); ++i) {
    QCheckBox& check = *checks_[i];
    check.setText(boxes[i]->Caption);
    const int indicator =
        check.sizeHint().width() - check.fontMetrics().horizontalAdvance(check.text());
    FitCaption(check, boxes[i]->Caption, check.width() - indicator);
  }
  const std::array<const Label*, 3> labels = {&form_.NormalChalkLabel, &form_.ChalkCornerLabel,
                                              &form_.LaidChalkLabel};
  for (std::size_t i = 0; i < labels_.size(); ++i) {
    labels_[i]->setText(labels[i]->Caption);
    FitCaption(*labels_[i], labels[i]->Caption, ClientWidth - labels_[i]->x());
    labels_[i]->adjustSize();
  }
  okButton_->setText(form_.OkButton.Caption);
  cancelButton_->setText(form_.CancelButton.Caption);
}

void SettingsDialog::ShowModal() {
  exec();
}

void SettingsDialog::showEvent(QShowEvent* event) {
  form_.OnShow();
  const auto boxes = form_.CheckBoxes();
  for (std::size_t i = 0; i < checks_.size(); ++i) checks_[i]->setChecked(boxes[i]->Checked);
  QDialog::showEvent(event);
}

void SettingsDialog::Accept() {
  if (form_.Accept()) accept();
}

}  // namespace slatewick
