#include "board/widgets/MainWindow.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QWheelEvent>
#include <optional>
#include <utility>

#include "board/PictureImport.h"
#include "platform/AppError.h"
#include "platform/MessageBoxes.h"
#include "platform/PictureTransfer.h"
#include "platform/widgets/PopupPlacement.h"

namespace slatewick {

namespace {

// The board's key for a Qt key, if the board handles it.
std::optional<Key> BoardKey(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return Key::Enter;
    case Qt::Key_Escape:
      return Key::Escape;
    case Qt::Key_Left:
      return Key::LeftArrow;
    case Qt::Key_Right:
      return Key::RightArrow;
    default:
      return std::nullopt;
  }
}

}  // namespace

MainWindow::MainWindow(Environment& env)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      surface_(new SurfaceWidget(this)),
      keys_(new InputStateTracker(env.keys, this)),
      board_(std::make_unique<Board>(env, this)) {
  setFixedSize(FrameSurface::SurfaceWidth, FrameSurface::SurfaceHeight);
  surface_->setGeometry(0, 0, FrameSurface::SurfaceWidth, FrameSurface::SurfaceHeight);
  surface_->installEventFilter(this);
  setFocusPolicy(Qt::StrongFocus);
  setAcceptDrops(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  board_->Surface().SetHost(surface_);
  board_->SetMessagePump([] { QCoreApplication::processEvents(); });
  driver_ = std::make_unique<FrameTimerDriver>(board_->Timer());
  driver_->FollowScreenOf(this);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    connect(app, &QGuiApplication::commitDataRequest, this, [this] { board_->KeepBoard(); });
    connect(app, &QCoreApplication::aboutToQuit, this, [this] { board_->KeepBoard(); });
  }
}

MainWindow::~MainWindow() {
  board_->Timer().SetEnabled(false);
}

void MainWindow::Create() {
  try {
    board_->Start();
  } catch (const AppError& error) {
    ShowErrorBox(error.Message());
  }
  setWindowTitle(board_->Caption());
}

void MainWindow::AfterFirstPaint(std::function<void()> rest, int longest) {
  afterFirstPaint_ = std::move(rest);
  QTimer::singleShot(longest, this, [this] { RunAfterFirstPaint(); });
}

void MainWindow::RunAfterFirstPaint() {
  if (afterFirstPaint_) std::exchange(afterFirstPaint_, {})();
}

QSize MainWindow::ClientSize() const {
  if (surface_->FullScreen()) return {FrameSurface::SurfaceWidth, FrameSurface::SurfaceHeight};
  return size();
}

void MainWindow::Close() {
  close();
}

int MainWindow::PopupMenu(const QStringList& captions) {
  QMenu menu(this);
  std::vector<QAction*> actions;
  for (const QString& caption : captions)
    actions.push_back(caption == QStringLiteral("-") ? menu.addSeparator()
                                                     : menu.addAction(caption));
  const QPoint at = QCursor::pos();
  const QAction* chosen = menu.exec(PlacePopup(at, menu.sizeHint(), PopupArea(window())));
  for (std::size_t i = 0; i < actions.size(); ++i)
    if (actions[i] == chosen) return int(i);
  return -1;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched != surface_) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::Paint:  // the rest of start-up once this paint is on screen
      if (afterFirstPaint_) QTimer::singleShot(0, this, [this] { RunAfterFirstPaint(); });
      return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
      MouseEvent(static_cast<QMouseEvent*>(event));
      return true;
    default:
      return QWidget::eventFilter(watched, event);
  }
}

void MainWindow::MouseEvent(QMouseEvent* event) {
  const QPoint p = surface_->ToBoard(event->position());
  const auto button = [&]() -> std::optional<MouseButton> {
    switch (event->button()) {
      case Qt::LeftButton:
        return MouseButton::Left;
      case Qt::RightButton:
        return MouseButton::Right;
      case Qt::MiddleButton:
        return MouseButton::Middle;
      default:
        return std::nullopt;
    }
  }();
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      if (board_->Replaying()) {  // a click ends a replay, and neither it nor its release does more
        board_->StopReplay();
        replayEndingButton_ = event->button();
      } else if (button) {
        board_->Press(*button, p.x(), p.y());
      }
      break;
    case QEvent::MouseButtonRelease:
      if (std::exchange(replayEndingButton_, Qt::NoButton) == event->button()) break;
      if (button) board_->Release(*button, p.x(), p.y());
      break;
    default:
      board_->Move(p.x(), p.y());
      break;
  }
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  if (board_->Replaying()) {  // any key ends a replay, and neither it nor its release does more
    board_->StopReplay();
    replayEndingKey_ = event->key();
    return;
  }
  if (event->modifiers() & Qt::ControlModifier) {  // undo: Ctrl+Z; redo: Ctrl+Y, Ctrl+Shift+Z
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    if (event->key() == Qt::Key_Z && !shift) board_->Undo();
    if (event->key() == Qt::Key_Y || (event->key() == Qt::Key_Z && shift)) board_->Redo();
    if (event->key() == Qt::Key_R && !shift) board_->StartReplay();  // replay: Ctrl+R
  }
  if (!event->isAutoRepeat() && event->matches(QKeySequence::Copy))  // Ctrl+C and the like
    CopyPictureToClipboard(board_->Picture());
  if (!event->isAutoRepeat() && event->matches(QKeySequence::Paste)) Paste();  // Ctrl+V, ...
  if (event->key() == Qt::Key_F12) {  // the screenshot's shortcut is F12 alone
    constexpr auto chords =
        Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier;
    const auto& screenShot = board_->Commands().screenShot;
    if (!event->isAutoRepeat() && !(event->modifiers() & chords) && screenShot) screenShot();
    return;
  }
  if (const auto key = BoardKey(event->key()))
    board_->KeyDown(*key, event->modifiers() & Qt::AltModifier);
}

void MainWindow::keyReleaseEvent(QKeyEvent* event) {
  if (event->isAutoRepeat()) return;
  if (std::exchange(replayEndingKey_, 0) == event->key()) return;
  if (const auto key = BoardKey(event->key())) board_->KeyUp(*key);
}

void MainWindow::wheelEvent(QWheelEvent* event) {
  // X11 reports the wheel turned with Alt held as horizontal: either axis is the wheel.
  const QPoint delta = event->angleDelta();
  wheelDelta_ += delta.y() != 0 ? delta.y() : delta.x();
  while (wheelDelta_ >= 120) {
    wheelDelta_ -= 120;
    board_->WheelAwayFromUser();
  }
  while (wheelDelta_ <= -120) {
    wheelDelta_ += 120;
    board_->WheelTowardsUser();
  }
  event->accept();
}

void MainWindow::Paste() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data || !OffersPicture(*data)) return;
  LoadPictureFromElsewhere(
      *board_, [data] { return ReadOfferedPicture(*data, QStringLiteral("clipboard")); });
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (OfferedPictureFile(*event->mimeData()).isEmpty())
    event->ignore();  // the drag shows at once that nothing else is taken
  else
    event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QString path = OfferedPictureFile(*event->mimeData());
  if (path.isEmpty()) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  // Read once the drop has ended, so that an error box does not hold up the program it came from.
  QMetaObject::invokeMethod(
      this,
      [this, path] {
        if (board_->Replaying()) board_->StopReplay();
        LoadPictureFromElsewhere(*board_, [&path] { return ReadForeignPictureFile(path); });
      },
      Qt::QueuedConnection);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  surface_->setGeometry(rect());
  QWidget::resizeEvent(event);
}

void MainWindow::paintEvent(QPaintEvent*) {}

void MainWindow::closeEvent(QCloseEvent* event) {
  board_->KeepBoard();
  QWidget::closeEvent(event);
}

}  // namespace slatewick
