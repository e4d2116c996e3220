#pragma once
#include <QWidget>
#include <functional>
#include <memory>

#include "board/Board.h"
#include "platform/widgets/FrameTimerDriver.h"
#include "platform/widgets/InputStateTracker.h"
#include "platform/widgets/SurfaceWidget.h"

namespace slatewick {

// The main window: a fixed 800 x 480 client area filled by the drawing surface. It turns Qt's
// input into the board's handlers (the key state follows every input event of the application)
// and hosts the board. Ctrl+C copies the board picture to the clipboard; Ctrl+V and a picture file
// dropped on the window make a picture the board (PictureImport). Its closing (however asked for),
// the end of the session and the end of the message loop each keep the board (Board::KeepBoard).
class MainWindow : public QWidget, public BoardHost {
 public:
  explicit MainWindow(Environment& env);
  ~MainWindow() override;

  Board& Core() { return *board_; }
  SurfaceWidget& Surface() { return *surface_; }
  FrameTimerDriver& TimerDriver() { return *driver_; }

  // Runs start-up; a failure is shown in the error box and leaves the board idle.
  void Create();
  // Runs `rest` once, right after the first frame is painted in the window, or after
  // `longest` ms if none is painted by then (a window shown minimised).
  void AfterFirstPaint(std::function<void()> rest, int longest);

  QSize ClientSize() const override;
  void Close() override;
  int PopupMenu(const QStringList& captions) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void MouseEvent(QMouseEvent* event);
  void Paste();
  void RunAfterFirstPaint();  // once

  SurfaceWidget* surface_;
  InputStateTracker* keys_;
  std::unique_ptr<Board> board_;
  std::unique_ptr<FrameTimerDriver> driver_;
  int wheelDelta_ = 0;
  int replayEndingKey_ = 0;  // the key that ended a replay, until released
  Qt::MouseButton replayEndingButton_ = Qt::NoButton;  // the button that ended one, likewise
  std::function<void()> afterFirstPaint_;
};

}  // namespace slatewick
