#include "platform/widgets/InputStateTracker.h"

#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QWidget>

namespace slatewick {

namespace {

// A menu or modal dialog (their loops end when they hide).
bool ClosesALoop(const QObject* watched) {
  const auto* widget = qobject_cast<const QWidget*>(watched);
  return widget && widget->isWindow() && (widget->windowType() == Qt::Popup || widget->isModal());
}

}  // namespace

void InputStateTracker::SetButtons(Qt::MouseButtons buttons) {
  keys_.Left = buttons & Qt::LeftButton;
  keys_.Right = buttons & Qt::RightButton;
  keys_.Middle = buttons & Qt::MiddleButton;
}

void InputStateTracker::SetModifiers(Qt::KeyboardModifiers modifiers) {
  keys_.Ctrl = modifiers & Qt::ControlModifier;
  keys_.Shift = modifiers & Qt::ShiftModifier;
}

// A key event's modifiers; a modifier key itself counts as down from its press to its release,
// whatever the platform reports for that event.
void InputStateTracker::FollowKey(const QKeyEvent& event) {
  SetModifiers(event.modifiers());
  const bool down = event.type() == QEvent::KeyPress;
  if (event.key() == Qt::Key_Control) keys_.Ctrl = down;
  if (event.key() == Qt::Key_Shift) keys_.Shift = down;
}

InputStateTracker::InputStateTracker(KeyState& keys, QObject* parent)
    : QObject(parent), keys_(keys) {
  QCoreApplication::instance()->installEventFilter(this);
}

InputStateTracker::~InputStateTracker() {
  if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

void InputStateTracker::ReadSystemState() {
  SetButtons(QGuiApplication::mouseButtons());
  SetModifiers(QGuiApplication::queryKeyboardModifiers());
}

bool InputStateTracker::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::NonClientAreaMouseMove:
    case QEvent::Wheel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease: {  // mouse, wheel and tablet events carry both states alike
      const auto* pointer = static_cast<QSinglePointEvent*>(event);
      SetButtons(pointer->buttons());
      SetModifiers(pointer->modifiers());
      break;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      FollowKey(*static_cast<QKeyEvent*>(event));
      break;
    case QEvent::Hide:
      if (ClosesALoop(watched)) ReadSystemState();
      break;
    case QEvent::ApplicationStateChange:
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
      ReadSystemState();
      break;
    default:
      break;
  }
  return false;
}

}  // namespace slatewick
