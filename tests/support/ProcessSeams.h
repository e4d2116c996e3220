#pragma once
// The process-wide seams of the program, set for one test and put back afterwards: the
// executable's folder, the message boxes, the clock, the random numbers and the key state (and,
// for the settings layer and above, the locale and the language file: LanguageSeams).
#include <QString>
#include <functional>
#include <utility>
#include <vector>

#include "platform/Clock.h"
#include "platform/KeyState.h"
#include "platform/MessageBoxes.h"
#include "platform/Places.h"
#include "platform/Random.h"

namespace slatewick {

// While it lives, message boxes are recorded in `boxes` (their texts also in `messages`) and
// answered by `answer`; the executable's folder is the one given; the keys start released.
// Its end puts back the real boxes, the executable's own folder, the real clock and generator,
// released keys and the application title.
class ProcessSeams {
 public:
  explicit ProcessSeams(const QString& exeDir = QString()) {
    if (!exeDir.isEmpty()) SetExeDir(exeDir);
    CurrentKeys() = {};
    SetMessageBoxHandler([this](const MessageBoxRequest& request) {
      boxes.push_back(request);
      messages.push_back(request.Text);
      return answer(request);
    });
  }
  ~ProcessSeams() {
    SetMessageBoxHandler(nullptr);
    SetExeDir(QString());
    PinLocalTime(std::nullopt);
    SetRandomSource({});
    CurrentKeys() = {};
    SetApplicationTitle(savedTitle_);
  }
  ProcessSeams(const ProcessSeams&) = delete;
  ProcessSeams& operator=(const ProcessSeams&) = delete;

  std::vector<MessageBoxRequest> boxes;
  std::vector<QString> messages;
  // Yes/No questions are answered No, every other box OK, unless a test says otherwise.
  std::function<BoxAnswer(const MessageBoxRequest&)> answer = [](const MessageBoxRequest& r) {
    return r.YesNo ? BoxAnswer::No : BoxAnswer::Ok;
  };

 private:
  const QString savedTitle_ = ApplicationTitle();
};

}  // namespace slatewick
