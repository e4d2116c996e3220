#pragma once
// A board started the way the program starts it: pictures, tap sound and settings from a
// folder that stands beside the executable, message boxes answered and recorded.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <vector>

#include "board/Unit_Main.h"
#include "platform/MessageBoxes.h"
#include "platform/Places.h"

// The folder of the program with every data file copied from the assets; tests remove or
// replace files in it before start-up.
class ProgramFolder {
 public:
  ProgramFolder() {
    for (const QString& name : QDir(QStringLiteral(ASSET_DIR)).entryList(QDir::Files))
      QFile::copy(QStringLiteral(ASSET_DIR "/") + name, Path(name));
    SetExeDir(dir_.path());
    previousCwd_ = QDir::currentPath();
    QDir::setCurrent(dir_.path());
    SetMessageBoxHandler([this](const MessageBoxRequest& r) {
      messages.push_back(r.Text);
      return r.YesNo ? BoxAnswer::No : BoxAnswer::Ok;
    });
  }
  ~ProgramFolder() {
    SetMessageBoxHandler({});
    QDir::setCurrent(previousCwd_);
    SetExeDir(QString());
  }
  QString Path(const QString& name) const { return dir_.filePath(name); }
  void Remove(const QString& name) const { QFile::remove(Path(name)); }
  void Write(const QString& name, const QByteArray& bytes) const {
    QFile f(Path(name));
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
  }

  std::vector<QString> messages;

 private:
  QTemporaryDir dir_;
  QString previousCwd_;
};
