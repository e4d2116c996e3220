#pragma once
#include <QObject>

#include "platform/KeyState.h"

class QKeyEvent;

namespace slatewick {

// Keeps a key state true to every input event the application handles, whichever
// window or loop handles it (a popup menu's or a modal dialog's own loop included), so that each
// handler and the frame step read the state of the last event. When a menu or a dialog closes and
// when the application's windows lose or gain activation, the state is read from the system.
// Lives as a filter on the application object.
class InputStateTracker : public QObject {
 public:
  explicit InputStateTracker(KeyState& keys, QObject* parent = nullptr);
  ~InputStateTracker() override;

  // Takes the buttons and modifier keys from the system's own state.
  void ReadSystemState();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SetButtons(Qt::MouseButtons buttons);
  void SetModifiers(Qt::KeyboardModifiers modifiers);
  void FollowKey(const QKeyEvent& event);

  KeyState& keys_;
};

}  // namespace slatewick
