#pragma once
#include <QString>
#include <stdexcept>

namespace slatewick {

// A failure of the framework (a missing picture, an unwritable file). The application shows
// its message in the standard error box where the event that raised it was dispatched.
class AppError : public std::runtime_error {
 public:
  explicit AppError(const QString& message)
      : std::runtime_error(message.toStdString()), message_(message) {}
  const QString& Message() const { return message_; }

 private:
  QString message_;
};

}  // namespace slatewick
