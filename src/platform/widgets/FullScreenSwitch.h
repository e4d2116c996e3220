#pragma once
#include <QObject>
#include <QRect>
#include <QTimer>
#include <optional>

class QWidget;

namespace slatewick {

// Takes a top-level window into full screen and back through the window manager, one change at
// a time: a change wished while the window manager has not answered the previous one waits for
// that answer (half a second at most: without a window manager none comes), so the window
// manager's state and the wish never part. Back in a window, the client area saved before is
// put back exactly.
class FullScreenSwitch : public QObject {
 public:
  explicit FullScreenSwitch(QWidget* window);

  void Request(bool fullScreen);
  bool Requested() const { return wanted_; }
  // The client area (screen coordinates) the window has while it is windowed and settled.
  QRect WindowedGeometry() const;
  // Puts this client area back once the window is windowed again.
  void RestoreGeometry(const QRect& clientArea);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Apply();
  void Answered(bool fullScreen);
  bool Settled() const { return !asking_ && !wanted_ && !shown_ && !restore_; }

  QWidget* window_;
  bool watching_ = false;  // the native window's state changes are watched
  bool wanted_ = false;
  bool shown_ = false;   // the window manager's state, as it last told
  bool asking_ = false;  // a change is on its way to the window manager
  bool asked_ = false;   // the state asked for
  std::optional<QRect> restore_;
  QRect windowed_;
  QTimer noAnswer_;
};

}  // namespace slatewick
