#pragma once
#include <QString>
#include <functional>

namespace slatewick {

// The program's message boxes, behind one replaceable set of functions: the shell shows real
// boxes, tests answer them. Every box is modal and centred.
enum class BoxAnswer { Ok, Yes, No, Cancel, Closed };
enum class BoxIcon { None, Information, Question, Warning, Stop };

struct MessageBoxRequest {
  QString Text;
  QString Caption;
  BoxIcon Icon = BoxIcon::None;
  bool YesNo = false;     // Yes and No buttons (Yes the default, Esc = No); else OK only
  bool OkCancel = false;  // OK and Cancel buttons
};

using MessageBoxHandler = std::function<BoxAnswer(const MessageBoxRequest&)>;

// Shows a box and returns the answer. Without a handler nothing is shown and the answer is
// Ok, or No for a question.
BoxAnswer ShowMessageBox(const MessageBoxRequest& request);
void SetMessageBoxHandler(MessageBoxHandler handler);

// Plain text with OK, the application title as caption.
void ShowMessage(const QString& text);
// The standard error box for a failure of the framework (stop icon, OK).
void ShowErrorBox(const QString& text);

// The application's title (caption of the plain and error boxes).
const QString& ApplicationTitle();
void SetApplicationTitle(const QString& title);

}  // namespace slatewick
