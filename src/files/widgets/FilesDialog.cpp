#include "files/widgets/FilesDialog.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTimer>

namespace slatewick {

namespace {

constexpr int ItemHeight = 19;

// List entries 19 pixels high.
class FixedHeightDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width(), ItemHeight};
  }
};

}  // namespace

FilesDialog::FilesDialog(BoardAccess& board, QWidget* parent)
    : QDialog(parent),
      form_(board),
      lbl_(new QLabel(this)),
      edtFileName_(new QLineEdit(this)),
      lstFiles_(new QListWidget(this)),
      btnOK_(new QPushButton(this)),
      btnCancel_(new QPushButton(this)) {
  QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
  font.setPixelSize(19);
  setFont(font);
  setSizeGripEnabled(true);
  resize(DesignWidth, DesignHeight);
  setMinimumSize(DesignWidth, DesignHeight);
  move(210, 219);

  lstFiles_->setSelectionMode(QAbstractItemView::SingleSelection);
  lstFiles_->setItemDelegate(new FixedHeightDelegate(lstFiles_));
  btnOK_->setDefault(true);
  setTabOrder(edtFileName_, lstFiles_);
  setTabOrder(lstFiles_, btnOK_);
  setTabOrder(btnOK_, btnCancel_);
  PlaceControls();

  connect(edtFileName_, &QLineEdit::textEdited, this,
          [this](const QString& text) { form_.edtFileName.Text = text; });
  connect(lstFiles_, &QListWidget::itemSelectionChanged, this, [this] {
    if (showing_) return;
    const QList<QListWidgetItem*> selected = lstFiles_->selectedItems();
    form_.lstFiles.ItemIndex = selected.isEmpty() ? -1 : lstFiles_->row(selected.first());
    form_.lstFilesClick();
    ShowFields();
  });
  connect(lstFiles_, &QListWidget::itemDoubleClicked, this, [this] {
    form_.lstFilesDblClick();
    // The double click's second press is still down. Closing now would leave its release to
    // a hidden window, and Qt would go on sending the pointer's moves there: the dialog closes
    // once the release has reached the list.
    closeOnRelease_ =
        form_.ModalResult != TModalResult::None && QGuiApplication::mouseButtons() != Qt::NoButton;
    if (!closeOnRelease_) AfterHandler();
  });
  lstFiles_->viewport()->installEventFilter(this);
  connect(btnOK_, &QPushButton::clicked, this, [this] {
    form_.btnOKClick();
    AfterHandler();
  });
  connect(btnCancel_, &QPushButton::clicked, this, &FilesDialog::reject);

  form_.RunModal = [this] { Run(); };
  form_.FormCreate();
  ShowFields();
}

void FilesDialog::ShowFields() {
  showing_ = true;
  setWindowTitle(form_.Caption);
  lbl_->setText(form_.lbl.Caption);
  lbl_->adjustSize();
  btnOK_->setText(form_.btnOK.Caption);
  btnCancel_->setText(form_.btnCancel.Caption);
  if (edtFileName_->text() != form_.edtFileName.Text) edtFileName_->setText(form_.edtFileName.Text);
  QStringList shown;
  for (int i = 0; i < lstFiles_->count(); ++i) shown.append(lstFiles_->item(i)->text());
  if (shown != form_.lstFiles.Items) {
    lstFiles_->clear();
    lstFiles_->addItems(form_.lstFiles.Items);
  }
  if (form_.lstFiles.ItemIndex >= 0 && form_.lstFiles.ItemIndex < lstFiles_->count())
    lstFiles_->setCurrentRow(form_.lstFiles.ItemIndex);
  else
    lstFiles_->clearSelection();
  showing_ = false;
}

void FilesDialog::Run() {
  ShowFields();
  QWidget* focus = form_.ActiveControl == TfrmFiles::TFocus::lstFiles
                       ? static_cast<QWidget*>(lstFiles_)
                       : static_cast<QWidget*>(edtFileName_);
  focus->setFocus();
  exec();
}

void FilesDialog::AfterHandler() {
  ShowFields();
  if (form_.ModalResult != TModalResult::None)
    done(form_.ModalResult == TModalResult::OK ? Accepted : Rejected);
}

bool FilesDialog::eventFilter(QObject* watched, QEvent* event) {
  if (closeOnRelease_ && watched == lstFiles_->viewport() &&
      event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton) {
    closeOnRelease_ = false;
    QTimer::singleShot(0, this, [this] { AfterHandler(); });
  }
  return QDialog::eventFilter(watched, event);
}

void FilesDialog::reject() {
  if (form_.ModalResult == TModalResult::None) form_.btnCancelClick();
  QDialog::reject();
}

void FilesDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  PlaceControls();
}

// Left/top anchored controls stay put, right/bottom anchored ones keep their distance to the
// right and bottom sides, and those anchored to both grow with the window.
void FilesDialog::PlaceControls() {
  const int dw = width() - DesignWidth, dh = height() - DesignHeight;
  lbl_->move(8, 8);
  edtFileName_->setGeometry(8, 32, 385 + dw, 27);
  lstFiles_->setGeometry(8, 72, 385 + dw, 289 + dh);
  btnOK_->setGeometry(192 + dw, 376 + dh, 97, 33);
  btnCancel_->setGeometry(296 + dw, 377 + dh, 91, 32);
}

}  // namespace slatewick
