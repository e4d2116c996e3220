#pragma once
#include <QObject>

namespace slatewick {

// Keeps the key state (CurrentKeys) true to every input event the application handles, whichever
// window or loop handles it (a popup menu's or a modal dialog's own loop included), so that each
// handler and the frame step read the state of the last event. When a menu or a dialog closes and
// when the application's windows lose or gain activation, the state is read from the system.
// Lives as a filter on the application object.
class InputStateTracker : public QObject {
 public:
  explicit InputStateTracker(QObject* parent = nullptr);
  ~InputStateTracker() override;

  // Takes the buttons and modifier keys from the system's own state.
  static void ReadSystemState();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace slatewick
