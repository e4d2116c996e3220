#pragma once
// The process-wide seams of the program, set for one test and put back afterwards: the
// executable's folder or the installed layout, the message boxes, the environment variables, the
// current folder and the user folders Qt reports (and, for the settings layer and above, the
// locale and the language file: LanguageSeams). The board's own services (random numbers, keys,
// clock, sound) come in its Environment: TestEnvironment.
#include <QByteArray>
#include <QDir>
#include <QStandardPaths>
#include <QString>
#include <algorithm>
#include <functional>
#include <optional>
#include <ranges>
#include <string>
#include <utility>
#include <vector>

#include "platform/MessageBoxes.h"
#include "platform/Places.h"

namespace slatewick {

// While it lives, message boxes are recorded in `boxes` (their texts also in `messages`) and
// answered by `answer`; the executable's folder is the one given. Its end puts back the real
// boxes, the layout decided at start-up, the application title and whatever the setters below
// changed.
class ProcessSeams {
 public:
  explicit ProcessSeams(const QString& exeDir = QString()) {
    if (!exeDir.isEmpty()) SetExeDir(exeDir);
    SetMessageBoxHandler([this](const MessageBoxRequest& request) {
      boxes.push_back(request);
      messages.push_back(request.Text);
      return answer(request);
    });
  }
  ~ProcessSeams() {
    for (const auto& [name, value] : std::views::reverse(savedEnv_))
      value ? qputenv(name.c_str(), *value) : qunsetenv(name.c_str());
    if (savedCwd_) QDir::setCurrent(*savedCwd_);
    if (savedTestMode_) QStandardPaths::setTestModeEnabled(*savedTestMode_);
    SetMessageBoxHandler(nullptr);
    SetExeDir(QString());
    SetInstalledShareDir(QString());
    SetApplicationTitle(savedTitle_);
  }
  ProcessSeams(const ProcessSeams&) = delete;
  ProcessSeams& operator=(const ProcessSeams&) = delete;

  // The environment variable name holds value until the end; a null value unsets it.
  void SetEnv(const char* name, const QByteArray& value) {
    if (std::ranges::find(savedEnv_, name, &SavedVariable::first) == savedEnv_.end())
      savedEnv_.emplace_back(
          name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
    value.isNull() ? qunsetenv(name) : qputenv(name, value);
  }
  // The process works in folder until the end.
  void SetCurrentFolder(const QString& folder) {
    if (!savedCwd_) savedCwd_ = QDir::currentPath();
    QDir::setCurrent(folder);
  }
  // Qt reports the user's real folders (from HOME and the XDG variables) instead of the test
  // ones until the end.
  void UseRealUserFolders() {
    if (!savedTestMode_) savedTestMode_ = QStandardPaths::isTestModeEnabled();
    QStandardPaths::setTestModeEnabled(false);
  }

  std::vector<MessageBoxRequest> boxes;
  std::vector<QString> messages;
  // Yes/No questions are answered No, every other box OK, unless a test says otherwise.
  std::function<BoxAnswer(const MessageBoxRequest&)> answer = [](const MessageBoxRequest& r) {
    return r.YesNo ? BoxAnswer::No : BoxAnswer::Ok;
  };

 private:
  using SavedVariable = std::pair<std::string, std::optional<QByteArray>>;
  const QString savedTitle_ = ApplicationTitle();
  std::vector<SavedVariable> savedEnv_;
  std::optional<QString> savedCwd_;
  std::optional<bool> savedTestMode_;
};

}  // namespace slatewick
