#include "files/widgets/BoardChooserDialog.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTimer>
#include <algorithm>

#include "board/BoardAccess.h"

namespace slatewick {

namespace {

constexpr int ItemHeight = 19;
// The thumbnail's column right of the list: its frame and the gap before it.
constexpr int ThumbnailColumn = BoardChooserDialog::ThumbnailSize.width() + 10;

// List entries 19 pixels high.
class FixedHeightDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width(), ItemHeight};
  }
};

}  // namespace

BoardChooserDialog::BoardChooserDialog(BoardAccess& board, QWidget* parent)
    : QDialog(parent),
      form_(board),
      thumbnails_(board.BoardPicture().size(), ThumbnailSize),
      prompt_(new QLabel(this)),
      titleEdit_(new QLineEdit(this)),
      titleList_(new QListWidget(this)),
      okButton_(new QPushButton(this)),
      cancelButton_(new QPushButton(this)),
      thumbnail_(new QLabel(this)) {
  QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
  font.setPixelSize(19);
  setFont(font);
  setSizeGripEnabled(true);
  resize(DesignWidth, DesignHeight);
  setMinimumSize(DesignWidth, DesignHeight);
  move(85, 219);  // centred where the chooser was before it showed thumbnails

  thumbnail_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  thumbnail_->setAlignment(Qt::AlignCenter);

  titleList_->setSelectionMode(QAbstractItemView::SingleSelection);
  titleList_->setItemDelegate(new FixedHeightDelegate(titleList_));
  okButton_->setDefault(true);
  setTabOrder(titleEdit_, titleList_);
  setTabOrder(titleList_, okButton_);
  setTabOrder(okButton_, cancelButton_);
  PlaceControls();

  connect(titleEdit_, &QLineEdit::textEdited, this,
          [this](const QString& text) { form_.TitleEdit.Text = text; });
  connect(titleList_, &QListWidget::itemSelectionChanged, this, [this] {
    if (showing_) return;
    const QList<QListWidgetItem*> selected = titleList_->selectedItems();
    form_.TitleList.ItemIndex = selected.isEmpty() ? -1 : titleList_->row(selected.first());
    form_.SelectionChanged();
    ShowFields();
  });
  connect(titleList_, &QListWidget::itemDoubleClicked, this, [this] {
    form_.DoubleClicked();
    // The double click's second press is still down. Closing now would leave its release to
    // a hidden window, and Qt would go on sending the pointer's moves there: the dialog closes
    // once the release has reached the list.
    closeOnRelease_ =
        form_.Result != DialogResult::None && QGuiApplication::mouseButtons() != Qt::NoButton;
    if (!closeOnRelease_) AfterHandler();
  });
  titleList_->viewport()->installEventFilter(this);
  connect(okButton_, &QPushButton::clicked, this, [this] {
    form_.Accept();
    AfterHandler();
  });
  connect(cancelButton_, &QPushButton::clicked, this, &BoardChooserDialog::reject);
  connect(&thumbnails_, &BoardThumbnails::Made, this, [this](const QString& path) {
    if (path == thumbnailPath_) ShowThumbnail();
  });

  form_.RunModal = [this] { Run(); };
  form_.ApplyTexts();
  ShowFields();
}

void BoardChooserDialog::ShowFields() {
  showing_ = true;
  setWindowTitle(form_.Caption);
  prompt_->setText(form_.Prompt.Caption);
  prompt_->adjustSize();
  okButton_->setText(form_.OkButton.Caption);
  cancelButton_->setText(form_.CancelButton.Caption);
  PlaceControls();  // the buttons as wide as their texts need
  if (titleEdit_->text() != form_.TitleEdit.Text) titleEdit_->setText(form_.TitleEdit.Text);
  QStringList shown;
  for (int i = 0; i < titleList_->count(); ++i) shown.append(titleList_->item(i)->text());
  if (shown != form_.TitleList.Items) {
    titleList_->clear();
    titleList_->addItems(form_.TitleList.Items);
  }
  if (form_.TitleList.ItemIndex >= 0 && form_.TitleList.ItemIndex < titleList_->count())
    titleList_->setCurrentRow(form_.TitleList.ItemIndex);
  else
    titleList_->clearSelection();
  showing_ = false;
  ShowThumbnail();
}

void BoardChooserDialog::ShowThumbnail() {
  const int row = form_.TitleList.ItemIndex;
  const bool selected = row >= 0 && row < form_.TitleList.Items.size();
  thumbnailPath_ = selected ? BoardFilePath(form_.TitleList.Items[row]) : QString();
  const std::optional<QImage> thumbnail =
      thumbnailPath_.isEmpty() ? std::nullopt : thumbnails_.Thumbnail(thumbnailPath_);
  if (thumbnail && !thumbnail->isNull())
    thumbnail_->setPixmap(QPixmap::fromImage(*thumbnail));
  else
    thumbnail_->clear();
}

void BoardChooserDialog::Run() {
  ShowFields();
  QWidget* focus = form_.ActiveControl == BoardChooser::ChooserControl::TitleList
                       ? static_cast<QWidget*>(titleList_)
                       : static_cast<QWidget*>(titleEdit_);
  focus->setFocus();
  exec();
}

void BoardChooserDialog::AfterHandler() {
  ShowFields();
  if (form_.Result != DialogResult::None)
    done(form_.Result == DialogResult::OK ? Accepted : Rejected);
}

bool BoardChooserDialog::eventFilter(QObject* watched, QEvent* event) {
  if (closeOnRelease_ && watched == titleList_->viewport() &&
      event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton) {
    closeOnRelease_ = false;
    QTimer::singleShot(0, this, [this] { AfterHandler(); });
  }
  return QDialog::eventFilter(watched, event);
}

void BoardChooserDialog::reject() {
  if (form_.Result == DialogResult::None) form_.Cancel();
  QDialog::reject();
}

void BoardChooserDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  PlaceControls();
}

// Left/top anchored controls stay put, right/bottom anchored ones keep their distance to the
// right and bottom sides, and those anchored to both grow with the window.
void BoardChooserDialog::PlaceControls() {
  const int dw = width() - DesignWidth, dh = height() - DesignHeight;
  prompt_->move(8, 8);
  titleEdit_->setGeometry(8, 32, 385 + dw, 27);
  titleList_->setGeometry(8, 72, 385 + dw, 289 + dh);
  thumbnail_->setGeometry(QRect(QPoint(401 + dw, 72), ThumbnailSize.grownBy({1, 1, 1, 1})));
  // The buttons keep their right edges and their gap, and grow leftwards for a longer text.
  const int cancelWidth = std::max(91, cancelButton_->sizeHint().width());
  const int okWidth = std::max(97, okButton_->sizeHint().width());
  const int cancelLeft = 387 + ThumbnailColumn + dw - cancelWidth;
  cancelButton_->setGeometry(cancelLeft, 377 + dh, cancelWidth, 32);
  okButton_->setGeometry(cancelLeft - 7 - okWidth, 376 + dh, okWidth, 33);
}

}  // namespace slatewick
